// Contest: the pixel-exact hit test with what every kind of record does to a ship or pilot it
// touches, and ships and pilots running into each other.
#include "combat/Contest.h"

#include "core/GameMath.h"
#include "media/Sound.h"
#include "world/World.h"

#include <algorithm>
#include <cmath>

namespace {

// Far beyond any map: a position this wild touches nothing.
constexpr double FarAway = 1e8;
// A projectile set off by a ship explodes in the next update, without fragments.
constexpr float SetOffByShip = -42.0f;
// Frames a shot must have flown before it can touch its own ship: a rocket fired point-blank
// leaves the nose harmlessly.
constexpr uint32_t GuardAge = 9;

// Loose material, water and the small bullets of sentries, nano-fighters and flak touch anyone.
bool Guarded(uint8_t kind) {
    return kind != 3 && kind != 6 && kind != 21 && kind != 255;
}

// Hits that go into the accuracy statistics.
bool Counted(uint8_t kind) {
    switch (kind) {
    case 9:
    case 11:
    case 12:
    case 13:
    case 15:
    case 17:
    case 18:
    case 20:
        return true;
    default:
        return false;
    }
}

void Damage(TShip& ship, double amount, bool clamped) {
    double health = double(ship.Health) - amount;
    if (clamped && health < 0) health = 0;
    ship.Health = float(health);
}

void Push(TShip& ship, const TProjectile& record, double divisor) {
    ship.VX = float(double(ship.VX) + double(record.VX) / divisor);
    ship.VY = float(double(ship.VY) + double(record.VY) / divisor);
}

// The record bounces off the body and is carried along by half its motion.
void Deflect(TProjectile& record, const TShip& ship, double dx, double dy) {
    record.VX = float(dx / 10 + double(ship.VX) / 2);
    record.VY = float(dy / 10 + double(ship.VY) / 2);
}

void RideAlong(TProjectile& record, const TShip& ship) {
    record.VX = ship.VX;
    record.VY = ship.VY;
}

// A pilot cries out; a ship rings like metal or, for rubber, thuds like dirt.
void HitSound(TWorld& map, TWaveList& waves, int p, bool pilot, bool rubber) {
    if (pilot) {
        const int32_t f = map.Rng.Random(10000);
        PlayAtShip(map, waves, p, "FLHit", 0, 18000 + f, 100);
    } else {
        const int32_t f = map.Rng.Random(15000);
        PlayAtShip(map, waves, p, rubber ? "Dirt" : "Rico", 0, 15000 + f, 100);
    }
}

// Four sparks off a ship, or four drops of blood off a pilot, thrown away from the centre.
void ImpactParticles(TWorld& map, double x, double y, double shipX, double shipY, bool pilot) {
    for (int i = 0; i < 4; ++i) {
        const double rx = map.Rng.RandomReal();
        const double vx = 0.5 * rx + (x - shipX) / 5 - 0.25;
        const double ry = map.Rng.RandomReal();
        const double vy = 0.5 * ry + (y - shipY) / 5 - 0.25;
        TProjectile& particle = SpawnRecord(map, pilot ? 6 : 4, x, y, vx, vy);
        if (pilot) MakeBlood(map.Rng, particle);
    }
}

// What a record touching body p does, and what becomes of the record.
void Touch(TWorld& map, int p, uint16_t slot, TWaveList& waves) {
    TShip& ship = map.Ships[size_t(p)];
    TProjectile& record = map.Projectiles[slot];
    const uint8_t kind = record.Kind;
    const uint32_t owner = record.Counter / 10;
    const bool own = owner == uint32_t(p);
    if (Guarded(kind) && own && record.Counter % 10 < GuardAge) return;

    const bool pilot = ship.OnFoot == 1;
    const double x = record.X;
    const double y = record.Y;
    const double dx = x - double(ship.X);
    const double dy = y - double(ship.Y);
    // A record that is used up is freed after its sound and its sparks, which therefore never take
    // its slot; later spawns of the update may, so ship 1's list, resolved after ship 0's, knows the
    // slot no longer holds what was listed.
    auto remove = [&] {
        map.SetKind(record, 0);
        if (p == 0) map.HitFreedSlots.push_back(slot);
    };

    switch (kind) {
    case 3:
        if (record.Counter == 2) {
            Deflect(record, ship, dx, dy);
            record.Counter = 0;
        }
        break;
    case 6:
    case 255: {
        const double rx = map.Rng.RandomReal();
        record.VX = float((rx - 0.5) / 10 + dx / 20 + double(ship.VX) / 2);
        const double ry = map.Rng.RandomReal();
        record.VY = float((ry - 0.5) / 10 + dy / 20 + double(ship.VY) / 2);
        break;
    }
    case 9:
    case 15:
    case 21:
        Damage(ship, kind == 21 ? 2 : 5, false);
        Push(ship, record, 30);
        HitSound(map, waves, p, pilot, false);
        ImpactParticles(map, x, y, ship.X, ship.Y, pilot);
        remove();
        break;
    case 11:
    case 16:
        Damage(ship, 0.5, false);
        Push(ship, record, kind == 11 ? 42 : 1);
        ImpactParticles(map, x, y, ship.X, ship.Y, pilot);
        remove();
        break;
    case 12:
    case 13:
    case 18:
    case 20:
        Push(ship, record, 3);
        Damage(ship, 40, true);
        record.Timer = SetOffByShip;
        break;
    case 17:
        Damage(ship, 35, true);
        record.Timer = SetOffByShip;
        break;
    case 14:
    case 19:
        record.Timer = 0;
        break;
    case 22:
        Damage(ship, 100, true);
        record.Timer = -record.Timer;
        break;
    case 23:
        ship.VY = float(double(ship.VY) + double(map.Scale) / map.FrameRate);
        RideAlong(record, ship);
        break;
    case 24:
        Push(ship, record, 3);
        Damage(ship, 1, false);
        HitSound(map, waves, p, pilot, true);
        Deflect(record, ship, dx, dy);
        map.SetKind(record, 255);
        break;
    case 25:
        ship.Glued = 1;
        RideAlong(record, ship);
        record.Timer = float(double(record.Timer) - 1.0 / map.FrameRate);
        break;
    default:
        return;
    }

    if (!Counted(kind) || owner > 1) return;
    if (own)
        ++map.Match.Players[size_t(p)].ShotsHitSelf;
    else
        ++map.Match.Players[owner].ShotsHitEnemy;
}

// One update of the world: the seconds played and the frame within the second only ever grow.
uint64_t UpdateStamp(const TWorld& map) {
    return (uint64_t(map.Match.Players[0].PlayingTime) << 16) | map.FrameCounter;
}

} // namespace

bool MaskCell(double position, double centre, int size, int& cell) {
    if (!std::isfinite(position) || !std::isfinite(centre) || std::fabs(position) > FarAway ||
        std::fabs(centre) > FarAway)
        return false;
    const int64_t c = Round(position) - Round(centre) + size / 2;
    if (c < 0 || c >= size) return false;
    cell = int(c);
    return true;
}

int SoundDistance(double x0, double y0, double x1, double y1) {
    const double dx = x1 - x0;
    const double dy = y1 - y0;
    const double d = std::sqrt(dx * dx + dy * dy);
    if (!(d < 1e9)) return 1000000000;
    return int(Round(d));
}

void PlayAtShip(TWorld& map, TWaveList& waves, int p, const std::string& name, int randomSuffixMax,
                int frequency, int volumePercent) {
    const TShip& a = map.Ships[0];
    const TShip& b = map.Ships[1];
    const int between = SoundDistance(a.X, a.Y, b.X, b.Y);
    map.PlaySoundAt(waves, name, randomSuffixMax, p == 0 ? 0 : between, p == 0 ? between : 0, frequency,
                    volumePercent);
}

void PlayAtPlace(TWorld& map, TWaveList& waves, double x, double y, const std::string& name, int frequency,
                 int volumePercent) {
    const int d0 = SoundDistance(x, y, map.Ships[0].X, map.Ships[0].Y);
    const int d1 = SoundDistance(x, y, map.Ships[1].X, map.Ships[1].Y);
    map.PlaySoundAt(waves, name, 0, d0, d1, frequency, volumePercent);
}

TProjectile& SpawnRecord(TWorld& map, uint8_t kind, double x, double y, double vx, double vy) {
    map.Spawn(kind, float(x), float(y), float(vx), float(vy));
    return map.Projectiles[std::min<size_t>(map.ProjectileCursor, map.Projectiles.size() - 1)];
}

void MakeBlood(TRandom& rng, TProjectile& drop) {
    const int32_t dark = rng.Random(42);
    drop.R = uint8_t(255 - dark);
    drop.G = 0;
    drop.B = 0;
    const int32_t weight = rng.Random(20);
    drop.Weight = uint8_t(10 + weight);
}

void TWorld::ResolveHits(int p, const std::vector<uint16_t>& candidates, TWaveList& waves) {
    if (p < 0 || p > 1) return;
    // Ship 0's pass starts the list of freed slots; ship 1's pass reads it only in the same update.
    const uint64_t update = UpdateStamp(*this);
    if (p == 0 || HitFreedUpdate != update) {
        HitFreedSlots.clear();
        HitFreedUpdate = update;
    }
    const TShip& ship = Ships[size_t(p)];
    const int frame = ship.FrameIndex();
    if (frame < 0) return;
    const Surface& mask = ship.Masks[size_t(frame)];
    for (const uint16_t slot : candidates) {
        if (slot >= Projectiles.size()) continue;
        // Freed by a hit on the other ship, perhaps already refilled by a spawn: not what was listed.
        if (std::find(HitFreedSlots.begin(), HitFreedSlots.end(), slot) != HitFreedSlots.end()) continue;
        const TProjectile& record = Projectiles[slot];
        if (record.Kind == 0) continue;
        int column = 0;
        int row = 0;
        if (!MaskCell(record.X, ship.X, mask.Width, column) || !MaskCell(record.Y, ship.Y, mask.Height, row))
            continue;
        if (!MaskSolid(mask.Pixel(column, row))) continue;
        Touch(*this, p, slot, waves);
    }
}

void TWorld::ShipCollision(TWaveList&) {
    TShip& a = Ships[0];
    TShip& b = Ships[1];
    if (a.Alive == 0 || b.Alive == 0) return;
    const int fa = a.FrameIndex();
    const int fb = b.FrameIndex();
    if (fa < 0 || fb < 0) return;
    const Surface& ma = a.Masks[size_t(fa)];
    const Surface& mb = b.Masks[size_t(fb)];
    const auto centre = [](double v, int64_t& out) {
        if (!std::isfinite(v) || std::fabs(v) > FarAway) return false;
        out = Round(v);
        return true;
    };
    int64_t xa = 0, ya = 0, xb = 0, yb = 0;
    if (!centre(a.X, xa) || !centre(a.Y, ya) || !centre(b.X, xb) || !centre(b.Y, yb)) return;

    int64_t ox = int64_t(ma.Width / 2 + mb.Width / 2) - std::llabs(xa - xb);
    ox = std::min<int64_t>(ox, std::min(ma.Width, mb.Width) - 1);
    int64_t oy = int64_t(ma.Height / 2 + mb.Height / 2) - std::llabs(ya - yb);
    oy = std::min<int64_t>(oy, std::min(ma.Height, mb.Height) - 1);
    if (ox < 1 || oy < 1) return;

    // The ox x oy rectangle from the top-left corner of the cells both silhouettes cover, in world
    // pixels; an odd-sized silhouette's last column or row beyond it is not compared, nor is the
    // last one of two silhouettes laid exactly over each other.
    const int64_t la = xa - ma.Width / 2, ta = ya - ma.Height / 2;
    const int64_t lb = xb - mb.Width / 2, tb = yb - mb.Height / 2;
    const int64_t left = std::max(la, lb), right = left + ox;
    const int64_t top = std::max(ta, tb), bottom = top + oy;
    bool touching = false;
    for (int64_t y = top; y < bottom && !touching; ++y)
        for (int64_t x = left; x < right; ++x)
            if (MaskSolid(ma.Pixel(int(x - la), int(y - ta))) &&
                MaskSolid(mb.Pixel(int(x - lb), int(y - tb)))) {
                touching = true;
                break;
            }
    if (!touching) return;

    const bool pilotA = a.OnFoot == 1;
    const bool pilotB = b.OnFoot == 1;
    if (pilotA != pilotB) {
        // A ship landing on a pilot crushes him; the ship feels nothing.
        (pilotA ? a : b).Alive = 0;
        return;
    }
    std::swap(a.VX, b.VX);
    std::swap(a.VY, b.VY);
    const double midX = (double(a.X) + double(b.X)) / 2;
    const double midY = (double(a.Y) + double(b.Y)) / 2;
    for (int i = 0; i <= ma.Width; ++i) {
        if (pilotA) {
            const double rx = Rng.RandomReal();
            const double ry = Rng.RandomReal();
            MakeBlood(Rng, SpawnRecord(*this, 255, midX, midY, 0.2 * rx - 0.1, 0.2 * ry - 0.1));
        } else {
            const double rx = Rng.RandomReal();
            const double ry = Rng.RandomReal();
            SpawnRecord(*this, 4, midX, midY, 4 * rx - 2, 4 * ry - 2);
        }
    }
    const double loss = pilotA ? 2 : 30;
    Damage(a, loss, false);
    Damage(b, loss, false);
}
