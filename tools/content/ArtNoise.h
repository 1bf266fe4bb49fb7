// ArtNoise: the content generator's own seeded random numbers, value noise and colour helpers.
#pragma once

#include <cstdint>

// A small xorshift generator; every picture owns one with a fixed seed, so the game folder comes
// out the same on every build and does not disturb the game's own generator.
struct ArtRandom {
    uint64_t State = 0x9E3779B97F4A7C15ull;
    explicit ArtRandom(uint64_t seed) : State(seed * 0x9E3779B97F4A7C15ull + 0x2545F4914F6CDD1Dull) {}
    uint64_t Next() {
        State ^= State << 13;
        State ^= State >> 7;
        State ^= State << 17;
        return State;
    }
    // 0 .. n-1; 0 for n <= 0.
    int Below(int n) { return n <= 0 ? 0 : int(Next() % uint64_t(n)); }
    // [0, 1)
    double Real() { return double(Next() >> 11) * (1.0 / 9007199254740992.0); }
    double Range(double lo, double hi) { return lo + (hi - lo) * Real(); }
};

// A repeatable pseudo-random value in [0, 1) for an integer lattice point.
double LatticeValue(int x, int y, uint32_t seed);
// Smoothly interpolated value noise in [0, 1), one lattice cell per unit.
double ValueNoise(double x, double y, uint32_t seed);
// Fractal sum of value noise: octaves halving in size and in weight, normalised to [0, 1).
double Fbm(double x, double y, int octaves, uint32_t seed);

int ClampByte(double v);
// Colours are 0x00RRGGBB like surface pixels.
uint32_t MixColor(uint32_t a, uint32_t b, double t);
// Multiplies every channel by f (clamped).
uint32_t ScaleColor(uint32_t c, double f);
// Adds d to every channel (clamped).
uint32_t AddColor(uint32_t c, int d);
// Never pure black, so a painted pixel never turns transparent by accident.
uint32_t NotBlack(uint32_t c);
