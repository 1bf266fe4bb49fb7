// StateHash: the lanes, the fold and the walk over a world.
#include "world/StateHash.h"

#include "world/World.h"

#include <cstring>

namespace {
constexpr uint64_t Prime = 1099511628211ull;
inline uint64_t Mix(uint64_t lane, uint64_t word) {
    return (lane ^ word) * Prime;
}
} // namespace

void TStateHash::Bytes(const void* data, size_t size) {
    const auto* b = static_cast<const uint8_t*>(data);
    Length += size;
    // The lanes are held in locals over the loop: the bytes might be this very object as far as
    // the compiler knows, so it would store and reload every lane at every step, and a state hash
    // streams some 40 MB of a large map's terrain and play field.
    uint64_t l0 = Lanes[0], l1 = Lanes[1], l2 = Lanes[2], l3 = Lanes[3];
    size_t i = 0;
    for (; i + 32 <= size; i += 32) {
        uint64_t w[4] = {0, 0, 0, 0};
        std::memcpy(w, b + i, 32);
        l0 = Mix(l0, w[0]);
        l1 = Mix(l1, w[1]);
        l2 = Mix(l2, w[2]);
        l3 = Mix(l3, w[3]);
    }
    // The tail goes byte by byte into the first lane, each byte in a place of its own.
    for (; i < size; ++i)
        l0 = Mix(l0, uint64_t(b[i]) | (uint64_t(i & 31) << 8));
    Lanes[0] = l0, Lanes[1] = l1, Lanes[2] = l2, Lanes[3] = l3;
}

uint64_t TStateHash::Value() const {
    uint64_t v = Length * Prime;
    for (const uint64_t lane : Lanes)
        v = Mix(v ^ (v >> 29), lane);
    return v ^ (v >> 32);
}

void HashNamedFile(TStateHash& hash, const std::string& winPath, const std::vector<uint8_t>& bytes) {
    hash.Bytes(winPath.data(), winPath.size());
    hash.Add(bytes.size());
    hash.Vector(bytes);
}

void HashWorld(TStateHash& h, const TWorld& m) {
    h.Vector(m.Projectiles);
    h.Add(m.ProjectileCursor);
    h.Vector(m.TerrainBitmap.Cells);
    h.Vector(m.MiddleLayer.Pixels);
    for (const TShip& s : m.Ships) {
        h.Add(s.X), h.Add(s.Y), h.Add(s.VX), h.Add(s.VY), h.Add(s.Angle), h.Add(s.Health), h.Add(s.Fuel);
        h.Add(s.OnFoot), h.Add(s.Alive), h.Add(s.Glued), h.Add(s.RespawnTimer), h.Add(s.Lives);
        h.Add(s.LifeSeconds), h.Add(s.EnemyBaseSeconds), h.Add(s.CapturesThisLife);
    }
    for (const TFlag& g : m.Flags) {
        h.Add(g.X), h.Add(g.Y), h.Add(g.VX), h.Add(g.VY), h.Add(g.WavePhase), h.Add(g.State);
    }
    h.Vector(m.Match.Bytes());
    h.Add(m.ViewX), h.Add(m.ViewY), h.Add(m.FrameCounter);
    h.Add(m.ShakeX), h.Add(m.ShakeY), h.Add(m.ShakeVelX), h.Add(m.ShakeVelY);
    h.Add(m.MatchOver), h.Add(m.MatchEnded), h.Add(m.MedalTimer), h.Add(m.FrameRate);
}
