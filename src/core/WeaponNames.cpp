// WeaponNames: the table of weapon names.
#include "core/WeaponNames.h"

const std::array<std::string_view, WeaponCount> WeaponNames = {
    "Minigun",
    "Linked Minigun",
    "Laser",
    "Homing missiles",
    "Circle of death",
    "Wall of rockets",
    "Rockets",
    "Snow Bombs",
    "Nano-Fighters",
    "Linked Lasers",
    "Hovering mines",
    "ShotGun",
    "Wall of homing",
    "Linked shotgun",
    "Grenade launcher",
    "Wall of laser",
    "Flak cannon",
    "Sentry launcher",
    "Nuke",
    "Snow Cannon",
    "Glue Gun",
    "Rubber bullets",
    "Bug Cannon",
};

std::string_view WeaponName(int weapon) {
    if (weapon < 0 || weapon >= WeaponCount) return {};
    return WeaponNames[size_t(weapon)];
}
