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
    size_t i = 0;
    for (; i + 32 <= size; i += 32) {
        uint64_t w[4] = {0, 0, 0, 0};
        std::memcpy(w, b + i, 32);
        Lanes[0] = Mix(Lanes[0], w[0]);
        Lanes[1] = Mix(Lanes[1], w[1]);
        Lanes[2] = Mix(Lanes[2], w[2]);
        Lanes[3] = Mix(Lanes[3], w[3]);
    }
    // The tail goes byte by byte into the first lane, each byte in a place of its own.
    for (; i < size; ++i)
        Lanes[0] = Mix(Lanes[0], uint64_t(b[i]) | (uint64_t(i & 31) << 8));
}

uint64_t TStateHash::Value() const {
    uint64_t v = Length * Prime;
    for (const uint64_t lane : Lanes)
        v = Mix(v ^ (v >> 29), lane);
    return v ^ (v >> 32);
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
