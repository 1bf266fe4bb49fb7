// Projectile: the 32-byte record of every shot, particle and piece of debris in the world's pool.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

// Smoke puffs fade from a light grey into the background's average by age (below 128). Thousands of
// puffs share a handful of ages, so each shade is worked out once per background and kept here, in
// the world that draws them; each entry is made by the very sums a single puff would make.
struct TSmokeShades {
    std::array<std::array<uint8_t, 3>, 128> Shades{};
    std::array<bool, 128> Known{};
    std::array<uint8_t, 3> Of{};
};

// Shots, sparks, snow and loose earth alike; a Kind of 0 marks a free slot.
struct TProjectile {
    float X = 0;
    float Y = 0;
    float VX = 0;
    float VY = 0;
    uint8_t R = 0;
    uint8_t G = 0;
    uint8_t B = 0;
    uint8_t Kind = 0;
    uint8_t Weight = 0;
    std::array<uint8_t, 3> Pad21{};
    uint32_t Counter = 0; // weapons: 10 x owner + age (0..9); other kinds count for themselves
    float Timer = 0;      // seconds left; -42 marks a projectile set off by touching a ship
};

static_assert(sizeof(TProjectile) == 32, "the pool is 60,000 records of 32 bytes");
static_assert(offsetof(TProjectile, Counter) == 24 && offsetof(TProjectile, Timer) == 28);

constexpr size_t ProjectileCount = 60000;
