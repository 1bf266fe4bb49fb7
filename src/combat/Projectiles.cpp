// Projectiles: the spawn operation of the pool and the motion rule of every kind of record.
#include "core/GameMath.h"
#include "media/Sound.h"
#include "world/World.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <cstdlib>

namespace {

const std::string DirtSound = "Dirt";
const std::string PistolSound = "Pistol";

// Positions far outside the world are turned into a coordinate that is just as far outside but
// still an int, so rounding never overflows and the terrain accessor sees them as outside.
inline int Coord(double v) {
    // One test keeps every ordinary position on the quick way; NaN fails it and lands low.
    if (std::fabs(v) <= 1e9) [[likely]] {
        // Within a billion, adding and taking away 1.5 x 2^52 is exactly what Round does, without
        // its test for values beyond 2^51; every cell a rule reads goes through here.
        constexpr double Shift = 6755399441055744.0;
        return int(int64_t((v + Shift) - Shift));
    }
    return v > 1e9 ? 1000000000 : -1000000000;
}

inline uint16_t NextSlot(uint16_t slot) {
    return uint16_t(size_t(slot) + 1 >= ProjectileCount ? 0 : slot + 1);
}

// The first free slot in [from, to) by the map of slots in use; `to` when there is none.
size_t FirstFree(const std::vector<uint64_t>& inUse, size_t from, size_t to) {
    for (size_t w = from / 64; w * 64 < to; ++w) {
        uint64_t free = ~inUse[w];
        if (w == from / 64) free &= ~uint64_t(0) << (from % 64);
        if (free == 0) continue;
        const size_t i = w * 64 + size_t(std::countr_zero(free));
        return std::min(i, to);
    }
    return to;
}

// The slot the walk of a spawn stops at: the first free one after `start`, wrapping round, or
// `start` itself when every other slot is taken.
uint16_t FreeSlotAfter(const std::vector<uint64_t>& inUse, uint16_t start) {
    const size_t after = FirstFree(inUse, size_t(start) + 1, ProjectileCount);
    if (after < ProjectileCount) return uint16_t(after);
    return uint16_t(FirstFree(inUse, 0, start));
}

// Steps 1 to 3 of a spawn: the next free slot after the cursor (or the previous spawn's when the
// pool is full), the position clamped into the terrain.
TProjectile& TakeSlot(TWorld& map, uint8_t kind, float x, float y, float vx, float vy) {
    const uint16_t start = map.ProjectileCursor;
    uint16_t slot = start;
    if (map.SlotsInUseTrusted) {
        slot = FreeSlotAfter(map.SlotsInUse, start);
    } else {
        slot = NextSlot(start);
        while (map.Projectiles[slot].Kind != 0 && slot != start)
            slot = NextSlot(slot);
    }
    map.ProjectileCursor = slot;
    const float maxX = float(std::max(0, map.TerrainBitmap.Width - 1));
    const float maxY = float(std::max(0, map.TerrainBitmap.Height - 1));
    // Written so that a NaN lands on 0 rather than in the record.
    if (!(x >= 0)) x = 0;
    if (x > maxX) x = maxX;
    if (!(y >= 0)) y = 0;
    if (y > maxY) y = maxY;
    TProjectile& p = map.Projectiles[slot];
    p.X = x;
    p.Y = y;
    p.VX = vx;
    p.VY = vy;
    map.SetKind(p, kind);
    p.Counter = 0;
    return p;
}

inline void Colour(TProjectile& p, int r, int g, int b) {
    p.R = uint8_t(r);
    p.G = uint8_t(g);
    p.B = uint8_t(b);
}

inline void Grey(TProjectile& p, int g) {
    Colour(p, g, g, g);
}

// The loose-snow pieces a snowflake falls apart into, around its own point.
constexpr int FlakeOffsets[10][2] = {{0, -2}, {-2, -1}, {0, -1}, {2, -1}, {-1, 0},
                                     {1, 0},  {-2, 1},  {0, 1},  {2, 1},  {0, 2}};

// Kinds that start with fixed values: a colour, and a weight or a timer where the kind has one;
// what a kind does not name keeps what the slot held.
struct TStartValues {
    bool Known = false;
    uint8_t R = 0;
    uint8_t G = 0;
    uint8_t B = 0;
    int16_t Weight = -1; // -1: kept
    bool HasTimer = false;
    float Timer = 0;
};

constexpr std::array<TStartValues, 256> StartValues = [] {
    std::array<TStartValues, 256> t{};
    auto set = [&t](int kind, int r, int g, int b, int weight, bool hasTimer, float timer) {
        t[size_t(kind)] =
            TStartValues{true, uint8_t(r), uint8_t(g), uint8_t(b), int16_t(weight), hasTimer, timer};
    };
    set(2, 1, 1, 1, 20, false, 0);          // ant
    set(4, 255, 255, 255, 0, false, 0);     // spark
    set(5, 127, 127, 127, 0, false, 0);     // smoke
    set(9, 255, 255, 255, 5, false, 0);     // bullet
    set(11, 255, 255, 0, -1, false, 0);     // laser point
    set(12, 255, 255, 255, -1, true, 5);    // homing missile
    set(13, 255, 255, 255, -1, true, 5);    // rocket
    set(14, 255, 255, 255, -1, true, 5);    // snow bomb
    set(15, 255, 64, 64, -1, true, 10);     // nano-fighter
    set(16, 0, 0, 0, -1, true, 0.4f);       // fragment
    set(17, 255, 128, 128, -1, true, 50);   // mine
    set(18, 128, 255, 128, -1, true, 3);    // grenade
    set(19, 200, 200, 200, -1, true, 20);   // sentry
    set(20, 196, 255, 196, 20, true, 0.5f); // flak
    set(21, 255, 255, 255, 15, false, 0);   // small bullet
    set(22, 255, 255, 255, 5, true, 4);     // nuke
    set(23, 64, 255, 64, 5, false, 0);      // glue
    set(24, 255, 255, 64, 10, false, 0);    // rubber bullet
    set(25, 200, 200, 255, 10, true, 1);    // bug
    return t;
}();

} // namespace

int ProjectileWeight(uint8_t kind) {
    switch (kind) {
    case 1:
    case 6:
    case 255:
        return 2;
    case 3:
    case 7:
        return 30;
    default:
        return std::max<int>(StartValues[kind].Weight, 0);
    }
}

void TWorld::Spawn(uint8_t kind, float x, float y, float vx, float vy) {
    TProjectile& p = TakeSlot(*this, kind, x, y, vx, vy);
    switch (kind) {
    case 1: {
        SetKind(p, 6);
        p.Weight = 2;
        const int g = 255 - Rng.Random(8);
        Grey(p, g);
        const float px = p.X, py = p.Y;
        for (const auto& o : FlakeOffsets) {
            TProjectile& piece = TakeSlot(*this, 6, px + float(o[0]), py + float(o[1]), vx, vy);
            piece.Weight = 2;
            const int shade = 255 - Rng.Random(16);
            Grey(piece, shade);
        }
        break;
    }
    case 3: {
        const int r = Rng.Random(90);
        Colour(p, r, r, 255);
        p.Weight = 30;
        p.Counter = 2;
        break;
    }
    case 6:
    case 255: {
        const int g = 255 - Rng.Random(8);
        Grey(p, g);
        p.Weight = 2;
        break;
    }
    case 7: {
        const int r = 100 + Rng.Random(90);
        Colour(p, r, r, 255);
        p.Weight = 30;
        p.Counter = 2;
        SetKind(p, 3);
        Spawn(3, p.X, p.Y + 1, vx, vy);
        break;
    }
    case 10: {
        const int r = BackAverage[0], g = BackAverage[1], b = BackAverage[2];
        p.R = uint8_t(Round((r + (255 - r) / 2) / 1.5));
        p.G = uint8_t(Round((g + (255 - g) / 2) / 1.5));
        p.B = uint8_t(b + (255 - b) / 2);
        break;
    }
    default: {
        const TStartValues& v = StartValues[kind];
        if (!v.Known) break;
        Colour(p, v.R, v.G, v.B);
        if (v.Weight >= 0) p.Weight = uint8_t(v.Weight);
        if (v.HasTimer) p.Timer = v.Timer;
        break;
    }
    }
}

void TWorld::TrustSlotsInUse(bool trusted) {
    SlotsInUseTrusted = false;
    if (!trusted || Projectiles.size() != ProjectileCount) return;
    // The bits past the last slot count as taken, so no search ever lands there.
    SlotsInUse.assign((ProjectileCount + 63) / 64, ~uint64_t(0));
    for (size_t i = 0; i < ProjectileCount; ++i)
        if (Projectiles[i].Kind == 0) SlotsInUse[i / 64] &= ~(uint64_t(1) << (i % 64));
    SlotsInUseTrusted = true;
}

void TWorld::SoundAtPoint(TWaveList& waves, const std::string& name, int randomSuffixMax, double x, double y,
                          int frequency, int volumePercent) {
    int d[2] = {0, 0};
    for (size_t s = 0; s < 2; ++s) {
        const double dx = x - double(Ships[s].X), dy = y - double(Ships[s].Y);
        d[s] = int(std::min(Round(std::sqrt(dx * dx + dy * dy)), int64_t(1000000000)));
    }
    PlaySoundAt(waves, name, randomSuffixMax, d[0], d[1], frequency, volumePercent);
}

namespace {

// Per-frame context of the projectile rules.
struct TRules {
    TWorld& Map;
    const int W;
    const int H;
    const double FrameRate;
    const double Scale;
    const double GravityStep; // 0.04 / FrameRate, the pull on one unit of weight in a frame
    TRandom& Rng;             // the match's generator, the world's own

    explicit TRules(TWorld& map)
        : Map(map), W(map.TerrainBitmap.Width), H(map.TerrainBitmap.Height),
          FrameRate(map.FrameRate > 0 ? double(map.FrameRate) : double(DefaultFrameRate)), Scale(map.Scale),
          GravityStep(0.04 / FrameRate), Rng(map.Rng) {}

    uint8_t Cell(double x, double y) const { return Map.TerrainBitmap.Get(Coord(x), Coord(y)); }
    uint8_t CellAt(int x, int y) const { return Map.TerrainBitmap.Get(x, y); }
    double Gravity(const TProjectile& p) const { return GravityStep * p.Weight; }
    // The next step stays on the play field, with a margin of one pixel (rounded).
    bool Inside(const TProjectile& p) const {
        const int nx = Coord(double(p.X) + double(p.VX)), ny = Coord(double(p.Y) + double(p.VY));
        return nx >= 1 && nx <= W - 1 && ny >= 1 && ny <= H - 1;
    }
    // The same test on the unrounded next step.
    bool NextInRange(const TProjectile& p) const {
        const double nx = double(p.X) + double(p.VX), ny = double(p.Y) + double(p.VY);
        return nx >= 1 && nx <= W - 1 && ny >= 1 && ny <= H - 1;
    }
    bool Outside(const TProjectile& p) const { return p.X > W || p.X < 0 || p.Y > H || p.Y < 0; }

    void SmokeBehind(const TProjectile& p) {
        const double r1 = Rng.RandomReal(), r2 = Rng.RandomReal(), r3 = Rng.RandomReal(),
                     r4 = Rng.RandomReal();
        Map.Spawn(5, float(p.X + r1 * p.VX), float(p.Y + r2 * p.VY), float((r3 - p.VX) / 10),
                  float((r4 - p.VY) / 10));
    }
    void SmokeRising(float x, float y) {
        const double r1 = Rng.RandomReal(), r2 = Rng.RandomReal();
        Map.Spawn(5, x, y, float(0.4 * r1 - 0.2), float(-0.4 * r2));
    }
    // The homing rule: every axis turns towards the target by at most 0.3 x Scale per frame.
    void Steer(TProjectile& p, const TShip& target) const {
        const double cap = 0.3 * Scale;
        const double dx = double(target.X) - double(p.X), dy = double(target.Y) - double(p.Y);
        const double sx = std::min(cap, std::fabs(dx) / (150 * Scale));
        const double sy = std::min(cap, std::fabs(dy) / (150 * Scale));
        p.VX = float(dx <= 0 ? double(p.VX) - sx : double(p.VX) + sx);
        p.VY = float(dy <= 0 ? double(p.VY) - sy : double(p.VY) + sy);
    }
    double DistanceTo(const TProjectile& p, const TShip& s) const {
        const double dx = double(s.X) - double(p.X), dy = double(s.Y) - double(p.Y);
        return std::sqrt(dx * dx + dy * dy);
    }
};

inline void Age(TProjectile& p) {
    if (p.Counter % 10 < 9) ++p.Counter;
}
inline size_t OwnerOf(const TProjectile& p) {
    return p.Counter / 10 == 0 ? 0 : 1;
}

// The colour of a smoke puff of a given age (below 128), fading from a light grey into the
// background's average, kept in the world's cache (world/Projectile.h).
[[gnu::noinline]] const std::array<uint8_t, 3>&
WorkOutSmokeShade(TSmokeShades& SmokeShades, const std::array<uint8_t, 3>& back, uint32_t age) {
    if (back != SmokeShades.Of) {
        SmokeShades.Known.fill(false);
        SmokeShades.Of = back;
    }
    std::array<uint8_t, 3>& shade = SmokeShades.Shades[age];
    if (!SmokeShades.Known[age]) {
        const double sum = double(back[0]) + back[1] + back[2];
        const double light = 255 - (255 - sum / 3) / 2;
        const double a = age;
        for (size_t i = 0; i < 3; ++i)
            shade[i] = uint8_t(Round((light * (127 - a) + back[i] * a) / 127));
        SmokeShades.Known[age] = true;
    }
    return shade;
}

// The kept shade when there is one, read where the puff is advanced.
inline const std::array<uint8_t, 3>& SmokeShade(TSmokeShades& SmokeShades, const std::array<uint8_t, 3>& back,
                                                uint32_t age) {
    if (SmokeShades.Known[age] && back == SmokeShades.Of) return SmokeShades.Shades[age];
    return WorkOutSmokeShade(SmokeShades, back, age);
}

// A chance of one in n, certain when n is 0 or less; the draw is made in every case.
inline bool OneIn(TRandom& rng, int32_t n) {
    const int32_t d = rng.Random(n);
    return n <= 0 || d == 0;
}

} // namespace

namespace {

// Half the silhouette the ship shows now; a ship whose angle selects no frame catches nothing.
bool HalfSize(const TShip& ship, int& halfW, int& halfH) {
    const int frame = ship.FrameIndex();
    if (frame < 0) return false;
    const Surface& mask = ship.Masks[size_t(frame)];
    halfW = mask.Width / 2;
    halfH = mask.Height / 2;
    return true;
}

// The rule of the record's kind, for a record in use; inlined into the pass over the pool, which
// builds the context once instead of once per record.
[[gnu::always_inline]] inline void AdvanceRecord(TWorld& m, TRules& k, int slot, TProjectile& p,
                                                 TWaveList& waves) {
    const int W = k.W, H = k.H;

    switch (p.Kind) {
    case 2: { // ant
        if (!k.Inside(p)) {
            m.SetKind(p, 0);
            return;
        }
        ++p.Counter;
        if (k.Cell(p.X, p.Y) != TerrainEmpty) {
            p.Y = float(double(p.Y) - std::fabs(double(p.VX)));
            p.VY = 0;
            if (k.CellAt(Coord(p.X), Coord(p.Y) + 1) == TerrainWater) m.SetKind(p, 0);
        } else {
            if (k.Rng.Random(500) == 1) p.VX = -p.VX;
            p.X += p.VX;
            if (k.CellAt(Coord(p.X), Coord(p.Y) + 1) == TerrainEmpty) {
                p.Y += p.VY;
                p.VY = float(double(p.VY) + k.Gravity(p));
            }
            if (k.Outside(p)) m.SetKind(p, 0);
        }
        if (p.Counter >= 2343) m.SetKind(p, 0);
        return;
    }

    case 3: { // water drop: Counter 2 falling, 1 flowing, 0 resting, 3 rising
        if (k.Outside(p)) {
            m.SetKind(p, 0);
            return;
        }
        if (k.Cell(p.X, p.Y) != TerrainEmpty) {
            // Something settled on the drop: a resting or flowing drop is gone, a moving one rises.
            if (p.Counter < 2) {
                m.SetKind(p, 0);
                return;
            }
            double y = p.Y;
            do {
                y -= 1;
                p.Counter = 3;
            } while (k.Cell(p.X, y) != TerrainEmpty && y > 0);
            if (y < 0) {
                y = 0;
                m.SetKind(p, 0);
            }
            p.Y = float(y);
            return;
        }
        if (p.Counter == 3) p.Counter = 0;
        const int cx = Coord(p.X), cy = Coord(p.Y);
        if (k.CellAt(cx, cy + 1) == TerrainEmpty) {
            p.X += p.VX;
            p.Y += p.VY;
            p.VX = float(double(p.VX) / 1.01);
            p.VY = float(double(p.VY) + k.Gravity(p));
            p.Counter = 2;
            return;
        }
        const double r = k.Rng.RandomReal();
        p.VY = float(0.4 + 0.3 * r);
        const bool belowRightEmpty = k.CellAt(cx + 1, cy + 1) == TerrainEmpty;
        const bool belowLeftEmpty = k.CellAt(cx - 1, cy + 1) == TerrainEmpty;
        if (belowRightEmpty || belowLeftEmpty) {
            p.Counter = 1;
            p.Y += 1;
            if (!belowRightEmpty) {
                p.X -= 1;
                p.VX = -std::fabs(p.VX);
            } else {
                p.X += 1;
                p.VX = std::fabs(p.VX);
            }
            return;
        }
        const bool leftEmpty = k.CellAt(cx - 1, cy) == TerrainEmpty;
        const bool rightEmpty = k.CellAt(cx + 1, cy) == TerrainEmpty;
        if (leftEmpty && rightEmpty) {
            p.X += p.VX < 0 ? -1.0f : 1.0f;
        } else if (!leftEmpty && !rightEmpty) {
            m.Settle(slot);
        } else if (p.VX == 0) {
            m.SetKind(p, 0);
        } else {
            const bool towardsEmpty = p.VX > 0 ? rightEmpty : leftEmpty;
            if (towardsEmpty) {
                p.X += p.VX > 0 ? 1.0f : -1.0f;
            } else if (p.Counter != 1) {
                p.VX = -p.VX;
                p.X += p.VX > 0 ? 1.0f : -1.0f;
                p.Counter = 1;
            } else {
                m.Settle(slot);
            }
        }
        return;
    }

    case 4: { // spark: white, yellow, red, then the background's colour
        if (!k.Inside(p)) {
            m.SetKind(p, 0);
            return;
        }
        // A spark quenched in water is removed, yet it still ages, moves and draws for its end below:
        // the record keeps changing after removal and a second puff may rise from it.
        const uint8_t c = k.Cell(p.X, p.Y);
        if (c == TerrainWater) {
            m.SetKind(p, 0);
            k.SmokeRising(p.X, p.Y - 1);
        } else if (c != TerrainEmpty) {
            p.VX = -p.VX;
            p.VY = -p.VY;
            m.Burn(slot);
        }
        p.Counter += 32;
        p.X += p.VX;
        p.Y += p.VY;
        p.VX = float(double(p.VX) / 1.1);
        p.VY = float(double(p.VY) / 1.1);
        if (p.Counter < 256) {
            p.B = uint8_t(255 - p.Counter % 256);
        } else if (p.Counter < 512) {
            p.G = uint8_t(255 - p.Counter % 256);
        } else if (p.Counter < 768) {
            p.R = uint8_t(p.R - (255 - m.BackAverage[0]) / 10);
            p.G = uint8_t(p.G + m.BackAverage[1] / 10);
            p.B = uint8_t(p.B + m.BackAverage[2] / 10);
        }
        if (OneIn(k.Rng, int32_t((769 - int64_t(p.Counter)) / 8))) {
            m.SetKind(p, 0);
            if (k.Rng.Random(2) == 0) k.SmokeRising(p.X, p.Y);
        }
        return;
    }

    case 5: { // smoke puff
        const uint8_t c = k.Cell(p.X, p.Y);
        if (!k.Inside(p) || (c != TerrainEmpty && c != TerrainWater)) {
            m.SetKind(p, 0);
            return;
        }
        p.VY = float(double(p.VY) + k.Gravity(p));
        const double step = k.FrameRate * 0.012;
        p.X = float(double(p.X) + double(p.VX) / step);
        p.Y = float(double(p.Y) + double(p.VY) / step);
        p.Counter += 2;
        if (p.Counter < 128) {
            const std::array<uint8_t, 3>& shade = SmokeShade(m.SmokeShades, m.BackAverage, p.Counter);
            p.R = shade[0];
            p.G = shade[1];
            p.B = shade[2];
        } else {
            m.SetKind(p, 0);
        }
        return;
    }

    case 6:
    case 255: { // loose snow and loose earth
        if (!k.Inside(p)) {
            m.SetKind(p, 0);
            return;
        }
        const int cx = Coord(p.X), cy = Coord(p.Y);
        if (k.CellAt(cx, cy + 1) == TerrainEmpty) {
            p.X += p.VX;
            p.Y += p.VY;
            p.VX = float(double(p.VX) / 1.005);
            p.VY = float(double(p.VY) / 1.005 + k.Gravity(p));
            return;
        }
        const bool belowRightSolid = k.CellAt(cx + 1, cy + 1) != TerrainEmpty;
        if (belowRightSolid && k.CellAt(cx - 1, cy + 1) != TerrainEmpty) {
            m.Settle(slot);
            return;
        }
        if (k.Rng.Random(10) != 0) {
            p.X += belowRightSolid ? -1.0f : 1.0f;
            if (k.CellAt(Coord(p.X), cy + 1) == TerrainEmpty) p.Y += 1;
            p.VX = 0;
            p.VY = float(std::min(double(p.VY) / 1.1, 1.0));
        } else {
            m.Settle(slot);
        }
        return;
    }

    case 9:
    case 21: { // bullets
        p.X += p.VX;
        p.Y += p.VY;
        p.VY = float(double(p.VY) + k.Gravity(p));
        if (k.Outside(p)) {
            m.SetKind(p, 0);
            return;
        }
        const uint8_t c = k.Cell(p.X, p.Y);
        if (c != TerrainEmpty && c != TerrainWater) {
            if (k.Rng.Random(3) == 0) {
                const int32_t f = k.Rng.Random(10000);
                m.SoundAtPoint(waves, DirtSound, 0, p.X, p.Y, 18000 + f, 80);
            }
            if (p.Kind == 9) m.BackToSurface(p.X, p.Y, p.VX, p.VY);
            m.SetKind(p, 0);
            const double r1 = k.Rng.RandomReal(), r2 = k.Rng.RandomReal();
            m.Spawn(4, float(p.X - p.VX / 10), float(p.Y - p.VY / 10), float(r1 - 0.5 - p.VX / 3),
                    float(r2 - 0.5 - p.VY / 3));
            return;
        }
        if (c == TerrainWater) {
            p.VX = float(double(p.VX) / 1.2);
            p.VY = float(double(p.VY) / 1.2);
            const bool spent = std::fabs(p.VX) < 0.2f && std::fabs(p.VY) < 0.2f;
            if (spent) m.SetKind(p, 0);
            if (k.Rng.Random(8) == 0) m.Spawn(10, p.X, p.Y, 0, 0);
            if (spent) return;
        }
        Age(p);
        return;
    }

    case 10: { // bubble
        if (k.Outside(p) || k.Cell(p.X, p.Y) != TerrainWater) {
            m.SetKind(p, 0);
            return;
        }
        p.VY = float(double(p.VY) - k.Scale / k.FrameRate);
        p.VX = float(std::cos(double(p.Y) / 2) / 2.5 * k.Scale);
        p.X += p.VX;
        p.Y += p.VY;
        ++p.Counter;
        return;
    }

    case 11:
    case 16: { // laser point and fragment
        p.X += p.VX;
        p.Y += p.VY;
        if (!k.NextInRange(p)) {
            m.SetKind(p, 0);
            return;
        }
        if (p.Kind == 16) {
            p.Timer = float(double(p.Timer) - 1.0 / k.FrameRate);
            if (p.Timer <= 0) {
                m.SetKind(p, 0);
                return;
            }
        }
        if (k.Cell(p.X, p.Y) != TerrainEmpty) {
            m.Dig(slot);
            return;
        }
        Age(p);
        return;
    }

    case 12:
    case 13:
    case 18:
    case 19:
    case 20:
    case 22: { // powered and timed projectiles
        p.X += p.VX;
        p.Y += p.VY;
        {
            const double nx = double(p.X) + double(p.VX);
            if (!(nx <= W - 1 && nx >= 1 && double(p.Y) + 2.0 * double(p.VY) <= H - 1 &&
                  double(p.Y) + double(p.VY) >= 1)) {
                m.SetKind(p, 0);
                return;
            }
        }
        const uint8_t c = k.Cell(p.X, p.Y);
        switch (p.Kind) {
        case 12: {
            // The nearer ship, even the firer's own: a missile with no enemy about turns back. At
            // equal distances it goes for the second ship.
            const bool first = k.DistanceTo(p, m.Ships[0]) < k.DistanceTo(p, m.Ships[1]);
            k.Steer(p, m.Ships[first ? 0 : 1]);
            p.VX = float(double(p.VX) / 1.01);
            p.VY = float(double(p.VY) / 1.01);
            for (int i = 0; i < 4; ++i)
                k.SmokeBehind(p);
            if (c != TerrainEmpty) p.Timer = 0;
            break;
        }
        case 13:
            p.VX = float(double(p.VX) * 1.001);
            p.VY = float(double(p.VY) * 1.001);
            for (int i = 0; i < 4; ++i)
                k.SmokeBehind(p);
            if (c != TerrainEmpty) p.Timer = 0;
            break;
        case 18:
            p.VY = float(double(p.VY) + 6 / k.FrameRate * k.Scale);
            if (OneIn(k.Rng, 10)) k.SmokeBehind(p);
            if (c != TerrainEmpty) p.Timer = 0;
            break;
        case 19: {
            if (c == TerrainEmpty) {
                p.VY = float(double(p.VY) + 6 / k.FrameRate * k.Scale);
                break;
            }
            // Stuck: it steps back out of the ground each frame, keeping its velocity.
            p.X -= p.VX;
            p.Y -= p.VY;
            if (c == TerrainPad) p.Timer = 0;
            const TShip& enemy = m.Ships[1 - OwnerOf(p)];
            if (Trunc(k.FrameRate * double(p.Timer)) % 42 == 0 && k.DistanceTo(p, enemy) < 300 * k.Scale) {
                const double s = 100 * k.Scale;
                const float x = p.X, y = p.Y;
                m.Spawn(21, x, y, float((double(enemy.X) - x) / s), float((double(enemy.Y) - y) / s));
            }
            break;
        }
        case 20:
            if (c != TerrainEmpty) {
                p.Timer = 0;
                p.VX = 0;
                p.VY = 0;
            }
            break;
        case 22: {
            p.VY = float(double(p.VY) + k.Gravity(p));
            if (OneIn(k.Rng, 3)) {
                const double r1 = k.Rng.RandomReal(), r2 = k.Rng.RandomReal();
                m.Spawn(5, p.X, p.Y, float(r1 * p.VX - p.VX / 2.0), float(r2 * p.VY - p.VY / 2.0));
            }
            // The timer of a nuke is its generation; it splits where it lands.
            if (c == TerrainEmpty && p.Timer >= 0) return;
            p.Timer = std::fabs(p.Timer);
            p.VX = 0;
            p.VY = 0;
            if (p.Timer >= 2) {
                // The children are the parent's owner's, newly fired.
                const float x = p.X, y = p.Y, generation = p.Timer - 1;
                const uint32_t owner = uint32_t(10 * OwnerOf(p));
                for (int i = 0; i < 11; ++i) {
                    const int32_t a = k.Rng.Random(256);
                    m.Spawn(22, x, y, float(TurnCos(a) * 5 * k.Scale), float(TurnSin(a) * 5 * k.Scale));
                    TProjectile& child = m.Projectiles[m.ProjectileCursor];
                    child.Timer = generation;
                    child.Counter = owner;
                    Colour(child, 0, 0, 0);
                }
            }
            p.Timer = 0;
            break;
        }
        default:
            break;
        }
        if (p.Kind != 22) p.Timer = float(double(p.Timer) - 1.0 / k.FrameRate);
        if (p.Timer <= 0) {
            m.Explode(slot, waves);
            return;
        }
        Age(p);
        return;
    }

    case 14: { // snow bomb
        p.VY = float(double(p.VY) + 4 / k.FrameRate * k.Scale);
        p.X += p.VX;
        p.Y += p.VY;
        if (!k.NextInRange(p)) {
            m.SetKind(p, 0);
            return;
        }
        if (k.Cell(p.X, p.Y) != TerrainEmpty) p.Timer = 0;
        k.SmokeBehind(p);
        k.SmokeBehind(p);
        p.Timer = float(double(p.Timer) - 1.0 / k.FrameRate);
        if (p.Timer <= 0) {
            // The burst comes first, so the flakes cannot take the bomb's own slot.
            const int64_t flakes = Round(300 * k.Scale) + 1;
            const double reach = 42 * k.Scale;
            for (int64_t i = 0; i < flakes; ++i) {
                const int32_t a = k.Rng.Random(256);
                const double r1 = k.Rng.RandomReal(), r2 = k.Rng.RandomReal();
                m.Spawn(1, float(p.X - r1 * TurnCos(a) * reach - 5 * double(p.VX) * k.Scale),
                        float(p.Y - r2 * TurnSin(a) * reach - 5 * double(p.VY) * k.Scale), 0, 0);
            }
            m.SetKind(p, 0);
            return;
        }
        Age(p);
        return;
    }

    case 15: { // nano-fighter
        p.X += p.VX;
        p.Y += p.VY;
        if (!k.NextInRange(p)) {
            m.SetKind(p, 0);
            return;
        }
        if (k.Cell(p.X, p.Y) != TerrainEmpty) p.Timer = 0;
        const size_t owner = OwnerOf(p);
        k.Steer(p, m.Ships[1 - owner]);
        p.VX = float(double(p.VX) / 1.05);
        p.VY = float(double(p.VY) / 1.05);
        k.SmokeBehind(p);
        p.Timer = float(double(p.Timer) - 1.0 / k.FrameRate);
        if (OneIn(k.Rng, int32_t(Round(1200 / k.FrameRate)))) {
            const float x = p.X, y = p.Y;
            m.Spawn(21, x, y, float(3.0 * p.VX), float(3.0 * p.VY));
            m.Projectiles[m.ProjectileCursor].Counter = uint32_t(10 * owner);
            ++m.Match.Players[owner].ShotsFired;
            // Played as it was last set: this shot gives it no volume, pan or frequency of its own.
            if (TWaveItem* pistol = waves.TryFind(PistolSound)) pistol->Play(waves.Mixer);
        }
        if (p.Timer <= 0) {
            // The burst comes first, so the sparks cannot take the fighter's own slot.
            const int64_t sparks = Round(20 * k.Scale) + 1;
            for (int64_t i = 0; i < sparks; ++i) {
                const int32_t a = k.Rng.Random(256);
                const double r1 = k.Rng.RandomReal(), r2 = k.Rng.RandomReal(), r3 = k.Rng.RandomReal(),
                             r4 = k.Rng.RandomReal();
                m.Spawn(4, float(p.X + r1 * p.VX - p.VX), float(p.Y + r2 * p.VY - p.VY),
                        float(p.VX - r3 * TurnCos(a) * 2 * k.Scale),
                        float(p.VY - r4 * TurnSin(a) * 2 * k.Scale));
            }
            m.SetKind(p, 0);
            return;
        }
        Age(p);
        return;
    }

    case 17: { // mine
        Age(p);
        const double r1 = k.Rng.RandomReal();
        p.VX = float(0.1 * r1 + double(p.VX) / 1.07 - 0.05);
        const double r2 = k.Rng.RandomReal();
        p.VY = float(0.1 * r2 + double(p.VY) / 1.07 - 0.05);
        p.X += p.VX;
        p.Y += p.VY;
        if (!k.NextInRange(p)) {
            p.Timer = 0;
            return;
        }
        if (k.Cell(p.X, p.Y) != TerrainEmpty) p.Timer = 0;
        p.Timer = float(double(p.Timer) - 1.0 / k.FrameRate);
        if (p.Timer <= 0) m.Explode(slot, waves);
        return;
    }

    case 23:
    case 25: { // glue and bug
        if (!k.Inside(p)) {
            m.SetKind(p, 0);
            return;
        }
        Age(p);
        const uint8_t c = k.Cell(p.X, p.Y);
        if (c != TerrainEmpty) {
            if (c == TerrainWater || c == TerrainPad) {
                m.SetKind(p, 0);
                return;
            }
            m.BackToSurface(p.X, p.Y, p.VX, p.VY);
            p.X = float(double(p.X) - double(p.VX) / 10);
            p.Y = float(double(p.Y) - double(p.VY) / 10);
            if (k.Inside(p))
                m.Settle(slot);
            else
                m.SetKind(p, 0);
            return;
        }
        p.X += p.VX;
        p.Y += p.VY;
        p.VX = float(double(p.VX) / 1.005);
        p.VY = float(double(p.VY) / 1.005 + k.Gravity(p));
        if (p.Kind == 25 && p.Timer <= 0) m.SetKind(p, 255);
        return;
    }

    case 24: { // rubber bullet
        Age(p);
        if (!k.Inside(p)) {
            m.SetKind(p, 0);
            return;
        }
        if (k.Cell(p.X, p.Y) != TerrainEmpty) {
            m.SetKind(p, 255);
            p.X -= p.VX;
            p.Y -= p.VY;
            return;
        }
        p.X += p.VX;
        p.Y += p.VY;
        p.VX = float(double(p.VX) / 1.005);
        p.VY = float(double(p.VY) / 1.005 + k.Gravity(p));
        return;
    }

    default: // 1, 7 and 8 have no rule of their own
        return;
    }
}

} // namespace

void TWorld::AdvanceAllProjectiles(TWaveList& waves, std::array<std::vector<uint16_t>, 2>& candidates) {
    AdvanceProjectiles(0, int(ProjectileCount), waves, candidates);
}

void TWorld::AdvanceProjectiles(int first, int end, TWaveList& waves,
                                std::array<std::vector<uint16_t>, 2>& candidates) {
    std::array<int, 2> halfW{};
    std::array<int, 2> halfH{};
    std::array<bool, 2> catches{};
    // No projectile rule moves a ship, so where the ships stand is rounded once for the whole pass.
    std::array<int64_t, 2> shipX{};
    std::array<int64_t, 2> shipY{};
    // Rounding moves a record by half a pixel at most, so one half a pixel or more beyond a box can
    // never round into it; most of the pool is, and is passed over without rounding. The edges are
    // whole numbers and halves, exact in double, so comparing with them is comparing distances.
    std::array<double, 2> left{};
    std::array<double, 2> right{};
    std::array<double, 2> top{};
    std::array<double, 2> bottom{};
    for (size_t s = 0; s < 2; ++s) {
        catches[s] = HalfSize(Ships[s], halfW[s], halfH[s]);
        shipX[s] = Round(Ships[s].X);
        shipY[s] = Round(Ships[s].Y);
        left[s] = double(shipX[s]) - (halfW[s] + 0.5);
        right[s] = double(shipX[s]) + (halfW[s] + 0.5);
        top[s] = double(shipY[s]) - (halfH[s] + 0.5);
        bottom[s] = double(shipY[s]) + (halfH[s] + 0.5);
    }
    // No rule resizes the terrain or changes the frame rate or scale, so one context serves the pass.
    TRules k(*this);
    const int slots = std::min(end, int(std::min(Projectiles.size(), ProjectileCount)));
    const auto advance = [&](int slot) {
        TProjectile& p = Projectiles[size_t(slot)];
        if (p.Kind == 0) return;
        AdvanceRecord(*this, k, slot, p, waves);
        if (p.Kind == 0) return;
        const double x = p.X;
        const double y = p.Y;
        // Ship 0's box, then ship 1's, written out so the pass keeps no loop of its own per record.
        const auto test = [&](size_t s) {
            // Written so that a NaN is not passed over here, as the distance test never did.
            if (x <= left[s] || x >= right[s] || y <= top[s] || y >= bottom[s]) return;
            const int64_t px = Round(x);
            const int64_t py = Round(y);
            if (std::llabs(px - shipX[s]) < halfW[s] && std::llabs(py - shipY[s]) < halfH[s])
                candidates[s].push_back(uint16_t(slot));
        };
        if (catches[0]) test(0);
        if (catches[1]) test(1);
    };
    const int from = std::max(first, 0);
    if (!SlotsInUseTrusted) {
        for (int slot = from; slot < slots; ++slot)
            advance(slot);
        return;
    }
    // The same slots in the same order, found 64 at a time in the map of slots in use. A rule may
    // fill or free slots of the word it is in, so the word is read again past each record: a record
    // spawned into a slot the pass has yet to reach is advanced in this pass and one freed there is
    // not, as in a walk over every slot.
    for (int word = from / 64; word * 64 < slots; ++word) {
        uint64_t ahead = SlotsInUse[size_t(word)];
        if (word == from / 64) ahead &= ~uint64_t(0) << (from % 64);
        while (ahead != 0) {
            const int slot = word * 64 + std::countr_zero(ahead);
            if (slot >= slots) break;
            advance(slot);
            const int past = slot % 64 + 1;
            ahead = past == 64 ? 0 : SlotsInUse[size_t(word)] & (~uint64_t(0) << past);
        }
    }
}
