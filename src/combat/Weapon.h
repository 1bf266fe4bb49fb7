// Weapon: one live weapon object of a player (catalogue values, ammunition, cooldown) and firing.
#pragma once

#include "core/WeaponNames.h"

#include <cstdint>
#include <string>

class TWorld;
class TWaveList;

// The weight a projectile of this kind starts with; gravity pulls it by 0.04 / frame rate pixels a
// tick squared for each unit.
int ProjectileWeight(uint8_t kind);

class TWeapon {
  public:
    uint8_t WeaponId = 0;
    uint8_t Owner = 0;
    float Cooldown = 0;  // seconds since the last shot
    float Speed = 0;     // launch speed before the map's Scale
    float FireDelay = 0; // seconds between shots
    uint8_t Kind = 0;    // projectile kind spawned
    std::string SoundName;
    uint8_t Count = 1;
    int8_t Spacing = 0;
    uint8_t AngleStep = 0;
    uint8_t AngleOffset = 0;
    uint8_t Linked = 0;
    uint8_t Scatter = 0;
    float AmmoCost = 0;
    float Ammo = 0; // 0..100
    uint8_t LightWeapon = 1;

    // Stores the owner, sets up the weapon and fills the ammunition.
    void Create(uint8_t owner, uint8_t weaponId);
    // Catalogue values of a weapon number; the ammunition is kept.
    void Setup(uint8_t weaponId);
    uint16_t ShotsLeft() const;
    bool IsReady(const TWorld& map) const;
    void Tick(double frameRate, const TWorld& map);
    // True when the refill reached the top this frame.
    bool Recharge(double divisor);
    // True when a shot was fired.
    bool Fire(TWorld& map, TWaveList& waves);
};
