// Explosions: bursts of sparks and fragments, digging, burning, settling and the way back to a surface.
#include "core/GameMath.h"
#include "world/World.h"

#include <algorithm>
#include <cmath>

namespace {

const std::string ExploSound = "Explo";

inline int Coord(double v) {
    if (!(v > -1e9)) return -1000000000;
    if (v > 1e9) return 1000000000;
    return int(Round(v));
}

inline uint32_t PixelOf(const TProjectile& p) {
    return Rgb(p.R, p.G, p.B);
}

} // namespace

void TWorld::Explode(int slot, TWaveList& waves) {
    if (slot < 0 || size_t(slot) >= Projectiles.size()) return;
    // A copy: the burst may fill the pool and overwrite slots while it is thrown.
    const TProjectile self = Projectiles[size_t(slot)];
    const double scale = Scale;
    const bool nuke = self.Kind == 22;
    const bool sentry = self.Kind == 19;
    const bool mine = self.Kind == 17;

    bool loud = true;
    if (nuke) loud = Rng.Random(3) == 0;
    if (loud) {
        const int32_t f = Rng.Random(10000);
        SoundAtPoint(waves, ExploSound, 3, self.X, self.Y, 18000 + f, sentry ? 80 : 100);
    }

    int64_t last = Round(200 * scale) + 1;
    if (sentry) last = Round(20 * scale);
    if (nuke) last = Round(50 * scale) + 1;
    if (mine) last = Round(200 * scale);
    // A projectile set off by touching a ship throws no fragments, so it does not dig.
    const bool fragments = self.Timer > -42;
    for (int64_t i = 0; i <= last; ++i) {
        const int32_t a = Rng.Random(256);
        if (!nuke) {
            const double r1 = Rng.RandomReal(), r2 = Rng.RandomReal(), r3 = Rng.RandomReal(),
                         r4 = Rng.RandomReal();
            Spawn(4, float(self.X + r1 * self.VX - self.VX), float(self.Y + r2 * self.VY - self.VY),
                  float(self.VX - r3 * TurnCos(a) * 6 * scale), float(self.VY - r4 * TurnSin(a) * 6 * scale));
        }
        if (fragments) {
            const double r1 = Rng.RandomReal(), r2 = Rng.RandomReal();
            Spawn(16, self.X, self.Y, float(r1 * TurnCos(a) * 4 * scale), float(r2 * TurnSin(a) * 4 * scale));
        }
    }
    if (self.Kind == 20) {
        const int64_t bullets = Round(200 * scale);
        for (int64_t i = 0; i <= bullets; ++i) {
            const int32_t a = Rng.Random(256);
            const double r1 = Rng.RandomReal(), r2 = Rng.RandomReal(), r3 = Rng.RandomReal(),
                         r4 = Rng.RandomReal();
            Spawn(21, float(self.X + r1 * self.VX - self.VX), float(self.Y + r2 * self.VY - self.VY),
                  float(0.5 * self.VX - r3 * TurnCos(a) * 2 * scale),
                  float(0.5 * self.VY - r4 * TurnSin(a) * 2 * scale));
        }
    }
    SetKind(Projectiles[size_t(slot)], 0);
}

void TWorld::Dig(int slot) {
    if (slot < 0 || size_t(slot) >= Projectiles.size()) return;
    TProjectile& p = Projectiles[size_t(slot)];
    const bool laser = p.Kind == 11;
    if (laser) BackToSurface(p.X, p.Y, p.VX, p.VY);
    const TProjectile self = p;
    // A laser cuts, a fragment throws the loose material further.
    const double push = laser ? 10.0 : 3.0;
    const int cx = Coord(self.X), cy = Coord(self.Y);
    for (int dy = -1; dy <= 1; ++dy) {
        for (int dx = -1; dx <= 1; ++dx) {
            const int x = cx + dx, y = cy + dy;
            const uint8_t c = TerrainBitmap.Get(x, y);
            if (c == TerrainEmpty || c == TerrainPad) continue;
            // Water in a basin stays; water hanging over a hole runs out.
            if (c == TerrainWater && TerrainBitmap.Get(x, y + 1) != TerrainEmpty) continue;
            // Beyond the grid the accessor reads ground that is not there to dig.
            if (!TerrainBitmap.Contains(x, y)) continue;
            Spawn(c, float(double(self.X) + dx), float(double(self.Y) + dy), float(-self.VX / push),
                  float(-self.VY / push));
            TProjectile& loose = Projectiles[ProjectileCursor];
            const uint32_t px = MiddleLayer.Pixel(x, y);
            loose.R = uint8_t(px >> 16);
            loose.G = uint8_t(px >> 8);
            loose.B = uint8_t(px);
            if (c == TerrainGround) {
                const int32_t w = Rng.Random(20);
                loose.Weight = uint8_t(10 + w);
            }
            TerrainBitmap.Set(x, y, TerrainEmpty);
            MiddleLayer.SetPixel(x, y, 0);
        }
    }
    SetKind(Projectiles[size_t(slot)], 0);
}

void TWorld::Burn(int slot) {
    if (slot < 0 || size_t(slot) >= Projectiles.size()) return;
    const TProjectile& p = Projectiles[size_t(slot)];
    const int x = Coord(p.X), y = Coord(p.Y);
    const uint32_t px = MiddleLayer.Pixel(x, y);
    int r = int((px >> 16) & 0xFF), g = int((px >> 8) & 0xFF), b = int(px & 0xFF);
    r -= std::min(3, r);
    g -= std::min(3, g);
    b -= std::min(3, b);
    if (r != 0 || g != 0 || b != 0) {
        MiddleLayer.SetPixel(x, y, Rgb(r, g, b));
    } else if (TerrainBitmap.Get(x, y) != TerrainPad) {
        TerrainBitmap.Set(x, y, TerrainEmpty);
        MiddleLayer.SetPixel(x, y, 0);
    } else {
        // A pad is never burnt away: it keeps a colour just above the transparent black.
        MiddleLayer.SetPixel(x, y, Rgb(1, 1, 1));
    }
}

void TWorld::Settle(int slot) {
    if (slot < 0 || size_t(slot) >= Projectiles.size()) return;
    TProjectile& p = Projectiles[size_t(slot)];
    const int x = Coord(p.X), y = Coord(p.Y);
    switch (p.Kind) {
    case 3:
        TerrainBitmap.Set(x, y, TerrainWater);
        // Water is drawn in a checkerboard so the background shows through.
        if ((int64_t(x) + y) % 2 == 0) {
            const int r = Rng.Random(95);
            MiddleLayer.SetPixel(x, y, Rgb(r, r, 255));
        }
        break;
    case 6:
    case 255: {
        const uint8_t below = TerrainBitmap.Get(x, y + 1);
        if (below != TerrainWater && below != TerrainPad) {
            MiddleLayer.SetPixel(x, y, PixelOf(p));
            TerrainBitmap.Set(x, y, p.Kind);
        }
        break;
    }
    case 23:
    case 25:
        MiddleLayer.SetPixel(x, y, PixelOf(p));
        TerrainBitmap.Set(x, y, p.Kind);
        break;
    default:
        break;
    }
    SetKind(p, 0);
}

void TWorld::BackToSurface(float& x, float& y, float vx, float vy) const {
    const uint8_t c = TerrainBitmap.Get(Coord(x), Coord(y));
    if (c == TerrainEmpty || c == TerrainWater) return;
    const int w = TerrainBitmap.Width, h = TerrainBitmap.Height;
    bool stepped = false;
    for (;;) {
        const float nx = float(double(x) - double(vx) / 10);
        const float ny = float(double(y) - double(vy) / 10);
        // A step too small to move the point would never get out of the ground.
        if (nx == x && ny == y) break;
        x = nx;
        y = ny;
        stepped = true;
        const int rx = Coord(x), ry = Coord(y);
        if (rx < 0 || rx > w - 1 || ry < 0 || ry > h - 1) break;
        const uint8_t here = TerrainBitmap.Get(rx, ry);
        if (here == TerrainEmpty || here == TerrainWater) break;
    }
    if (stepped) {
        x = float(double(x) + double(vx) / 10);
        y = float(double(y) + double(vy) / 10);
    }
}
