// Weapon: the catalogue of the 23 weapons, ammunition and cooldown, and firing on its three paths.
#include "combat/Weapon.h"

#include "core/GameMath.h"
#include "world/World.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace {

struct TCatalogueRow {
    uint8_t Kind = 0;
    float Speed = 0;
    float FireDelay = 0;
    float AmmoCost = 0;
    uint8_t Count = 1;
    int8_t Spacing = 0;
    uint8_t AngleStep = 0;
    uint8_t AngleOffset = 0;
    uint8_t Linked = 0;
    uint8_t Scatter = 0;
    uint8_t LightWeapon = 1;
    const char* Sound = "";
};

// Kind, speed, delay, cost, count, spacing, angle step, angle offset, linked, scatter, light, sound.
const std::array<TCatalogueRow, WeaponCount> Catalogue = {{
    {9, 14, 0.05f, 0.8f, 1, 0, 0, 0, 0, 0, 1, "Minigun"},
    {9, 14, 0.1f, 1, 1, 0, 0, 0, 1, 0, 1, "Minigun"},
    {11, 7, 0.3f, 3, 30, 1, 0, 0, 0, 0, 1, "Laser"},
    {12, 16, 1, 10, 1, 0, 0, 0, 0, 0, 0, "Homing"},
    {12, 15, 16, 100, 16, 0, 16, 0, 0, 0, 0, "Homing"},
    {13, 13, 12.8f, 100, 16, 0, 1, 248, 0, 0, 0, "Rocket"},
    {13, 13, 0.8f, 8, 1, 0, 0, 0, 0, 0, 0, "Rocket"},
    {14, 5, 1, 10, 1, 0, 0, 0, 0, 0, 0, "Pistol"},
    {15, 5, 2, 20, 1, 0, 0, 0, 0, 0, 0, "Nano"},
    {11, 7, 0.3f, 3, 30, 1, 0, 0, 1, 0, 1, "Laser"},
    {17, -10, 0.5f, 5, 1, 0, 0, 0, 0, 0, 0, "Minigun"},
    {9, 14, 1, 8, 10, 0, 1, 251, 0, 0, 1, "Shotgun"},
    {12, 16, 8, 100, 8, 0, 2, 248, 0, 0, 0, "Homing"},
    {9, 14, 1, 8, 10, 0, 1, 251, 1, 0, 1, "Shotgun"},
    {18, 5, 1, 8, 1, 0, 0, 0, 0, 0, 0, "Grenade"},
    {11, 7, 5, 33, 64, 0, 1, 224, 0, 0, 0, "Laser"},
    {20, 8, 0.7f, 8, 1, 0, 0, 0, 0, 0, 0, "Grenade"},
    {19, 5, 1, 8, 1, 0, 0, 0, 0, 0, 0, "Grenade"},
    {22, 5, 10, 100, 1, 0, 0, 0, 0, 0, 0, "Grenade"},
    {1, 4, 0.03f, 0.3f, 1, 0, 0, 0, 0, 1, 1, "Minigun"},
    {23, 4, 0.03f, 0.3f, 1, 0, 0, 0, 0, 1, 1, "Minigun"},
    {24, 11, 0.1f, 0.3f, 1, 0, 0, 0, 0, 0, 1, "Minigun"},
    {25, 7, 0.6f, 10, 1, 0, 0, 0, 0, 0, 1, "Minigun"},
}};

const std::string PistolSound = "Pistol";

// Cooldowns a pilot on foot waits between shots of the pistol and of the heavy homing shot.
constexpr double PilotLightDelay = 0.1;
constexpr double PilotHeavyDelay = 1.5;

const TShip& OwnerShip(const TWorld& map, uint8_t owner) {
    return map.Ships[owner == 0 ? 0 : 1];
}
TShip& OwnerShip(TWorld& map, uint8_t owner) {
    return map.Ships[owner == 0 ? 0 : 1];
}

// A ship without gun points fires from its centre along its heading.
size_t GunCount(const TShip& ship) {
    return ship.Guns.empty() ? 1 : ship.Guns.size();
}

} // namespace

void TWeapon::Create(uint8_t owner, uint8_t weaponId) {
    Owner = owner;
    Setup(weaponId);
    Ammo = 100;
}

void TWeapon::Setup(uint8_t weaponId) {
    Cooldown = 0;
    Count = 1;
    Spacing = 0;
    AngleStep = 0;
    AngleOffset = 0;
    Linked = 0;
    Scatter = 0;
    LightWeapon = 1;
    WeaponId = weaponId;
    if (weaponId >= WeaponCount) return;
    const TCatalogueRow& row = Catalogue[weaponId];
    Kind = row.Kind;
    Speed = row.Speed;
    FireDelay = row.FireDelay;
    AmmoCost = row.AmmoCost;
    Count = row.Count;
    Spacing = row.Spacing;
    AngleStep = row.AngleStep;
    AngleOffset = row.AngleOffset;
    Linked = row.Linked;
    Scatter = row.Scatter;
    LightWeapon = row.LightWeapon;
    SoundName = row.Sound;
}

uint16_t TWeapon::ShotsLeft() const {
    // A weapon number without a catalogue row can leave the cost at 0: such a weapon has no shots.
    if (!(double(AmmoCost) > 0)) return 0;
    const double shots = std::trunc(double(Ammo) / double(AmmoCost));
    if (!(shots > 0)) return 0;
    return shots >= 65535.0 ? uint16_t(65535) : uint16_t(shots);
}

bool TWeapon::IsReady(const TWorld& map) const {
    const TShip& ship = OwnerShip(map, Owner);
    if (ship.OnFoot == 1) return double(Cooldown) >= (LightWeapon == 1 ? PilotLightDelay : PilotHeavyDelay);
    if (!(double(AmmoCost) > 0)) return false;
    const double n = Linked == 1 ? double(GunCount(ship)) : 1.0;
    return double(Cooldown) >= n * double(FireDelay) && double(Ammo) >= n * double(AmmoCost);
}

void TWeapon::Tick(double frameRate, const TWorld& map) {
    // An empty weapon holds its cooldown at 0, so once refilled it waits a full delay.
    if (ShotsLeft() == 0 && OwnerShip(map, Owner).OnFoot != 1)
        Cooldown = 0;
    else if (frameRate > 0)
        Cooldown = float(double(Cooldown) + 1.0 / frameRate);
}

bool TWeapon::Recharge(double divisor) {
    if (divisor == 0) divisor = 1;
    if (double(Ammo) < 100) Ammo = float(double(Ammo) + 30.0 / divisor);
    if (double(Ammo) > 100) {
        Ammo = 100;
        return true;
    }
    return false;
}

namespace {

// One gun of the ship fires the weapon's Count projectiles.
void FireGun(TWeapon& w, TWorld& map, TShip& ship) {
    ++ship.GunIndex;
    if (ship.GunIndex >= ship.Guns.size()) ship.GunIndex = 0;
    const TMarker gun = ship.Guns.empty() ? TMarker{} : ship.Guns[ship.GunIndex];
    const double scale = map.Scale;
    const int64_t heading = Round(ship.Angle);
    const int64_t ga = Round(ship.Angle + double(gun.Angle));
    for (int i = 0; i < w.Count; ++i) {
        if (w.Scatter == 1) {
            const int32_t spread = map.Rng.Random(5);
            w.AngleOffset = uint8_t(Wrap256(spread - 2));
        }
        const int64_t a = heading + w.AngleOffset + int64_t(w.AngleStep) * i;
        const double along = double(w.Spacing) * i * scale;
        const double x = double(ship.X) + TurnCos(ga) * gun.Distance + TurnCos(a) * along;
        const double y = double(ship.Y) - TurnSin(ga) * gun.Distance - TurnSin(a) * along;
        const double vx = double(ship.VX) - TurnCos(a + 128) * double(w.Speed) * scale;
        const double vy = double(ship.VY) + TurnSin(a + 128) * double(w.Speed) * scale;
        map.Spawn(w.Kind, float(x), float(y), float(vx), float(vy));
        map.Projectiles[map.ProjectileCursor].Counter = 10u * w.Owner;
        ++map.Match.Players[w.Owner == 0 ? 0 : 1].ShotsFired;
    }
}

} // namespace

bool TWeapon::Fire(TWorld& map, TWaveList& waves) {
    TShip& ship = OwnerShip(map, Owner);
    const size_t me = Owner == 0 ? 0 : 1;
    const TShip& enemy = map.Ships[1 - me];
    const double scale = map.Scale;
    const double dx = double(enemy.X) - double(ship.X);
    const double dy = double(enemy.Y) - double(ship.Y);
    const double between = std::sqrt(dx * dx + dy * dy);

    if (ship.OnFoot == 1) {
        // A pilot on foot fires a pistol or a homing shot that costs nothing.
        if (LightWeapon == 1) {
            if (double(Cooldown) < PilotLightDelay) return false;
            Cooldown = 0;
            const bool left = ship.Angle == 256.0;
            const double x = double(ship.X) + (left ? -3.5 : 2.5) * scale;
            const double vx = double(ship.VX) + (left ? -12.0 : 12.0) * scale;
            map.Spawn(9, float(x), ship.Y, float(vx), ship.VY);
        } else {
            if (double(Cooldown) < PilotHeavyDelay) return false;
            Cooldown = 0;
            // With both bodies on the same point there is no direction to aim in: the missile waits
            // where it is and steers from there.
            double vx = 0, vy = 0;
            if (between > 0) {
                vx = dx * 18.0 * scale / between;
                vy = dy * 18.0 * scale / between;
            }
            map.Spawn(12, ship.X, ship.Y, float(vx), float(vy));
        }
        map.Projectiles[map.ProjectileCursor].Counter = 10u * Owner;
        ++map.Match.Players[me].ShotsFired;
    } else {
        if (!(double(AmmoCost) > 0)) return false;
        const double n = Linked == 1 ? double(GunCount(ship)) : 1.0;
        if (double(Cooldown) < n * double(FireDelay) || double(Ammo) < n * double(AmmoCost)) return false;
        Ammo = float(double(Ammo) - n * double(AmmoCost));
        Cooldown = 0;
        if (Linked == 1) {
            const uint8_t first = ship.GunIndex < GunCount(ship) ? ship.GunIndex : 0;
            ship.GunIndex = first;
            do {
                FireGun(*this, map, ship);
            } while (ship.GunIndex != first);
        } else {
            FireGun(*this, map, ship);
        }
    }

    const int32_t jitter = map.Rng.Random(4000);
    const int distance = int(std::min(Round(between), int64_t(1000000000)));
    map.PlaySoundAt(waves, ship.OnFoot == 1 ? PistolSound : SoundName, 0, me == 0 ? 0 : distance,
                    me == 0 ? distance : 0, 18000 + jitter, 100);
    return true;
}
