// Weapon: placeholder until the weapon catalogue lands.
#include "combat/Weapon.h"

void TWeapon::Create(uint8_t owner, uint8_t weaponId) {
    Owner = owner;
    Setup(weaponId);
    Ammo = 100;
}
void TWeapon::Setup(uint8_t weaponId) { WeaponId = weaponId; }
uint16_t TWeapon::ShotsLeft() const { return 0; }
bool TWeapon::IsReady(const TMap&) const { return false; }
void TWeapon::Tick(double, const TMap&) {}
bool TWeapon::Recharge(double) { return false; }
bool TWeapon::Fire(TMap&, TWaveList&) { return false; }
