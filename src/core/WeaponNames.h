// WeaponNames: the display names of the 23 weapons, indexed by weapon number.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

constexpr int WeaponCount = 23;

extern const std::array<std::string_view, WeaponCount> WeaponNames;

// A pilot record can hold any byte in its weapon list; a number without a weapon has no name.
std::string_view WeaponName(int weapon);
