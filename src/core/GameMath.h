// GameMath: the game's rounding, the turn table and the program-wide random generator.
#pragma once

#include <cmath>
#include <cstdint>

// Nearest integer with halves going to the even neighbour (banker's rounding), as every rule rounds.
// Adding and taking away 1.5 x 2^52 rounds the same way nearbyint does, without its library call,
// which the rules make a few hundred thousand times a frame; beyond 2^51 and for NaN the library rounds.
inline int64_t Round(double v) {
    constexpr double Shift = 6755399441055744.0;
    if (std::fabs(v) < 2251799813685248.0) return static_cast<int64_t>((v + Shift) - Shift);
    return static_cast<int64_t>(std::nearbyint(v));
}
// Drops the fraction towards zero.
inline int64_t Trunc(double v) {
    return static_cast<int64_t>(std::trunc(v));
}
// An angle or index taken modulo 256 into 0..255.
inline int Wrap256(int64_t v) {
    return static_cast<int>(((v % 256) + 256) % 256);
}

// Cosine and sine of an angle in 256ths of a turn, read from one 256-entry table.
double TurnCos(int64_t angle);
double TurnSin(int64_t angle);

// The one pseudo-random generator of the program: a 32-bit linear congruential generator.
// Random(n) gives 0..n-1 (0 for n <= 0), RandomReal gives [0, 1). Callers take every draw into a
// local before using it, so the order of draws is the order the rules state.
struct TRandom {
    uint32_t Seed = 0;
    uint32_t Next() {
        Seed = Seed * 134775813u + 1u;
        return Seed;
    }
    int32_t Random(int32_t n) {
        const uint32_t s = Next();
        if (n <= 0) return 0;
        return static_cast<int32_t>((uint64_t(s) * uint64_t(uint32_t(n))) >> 32);
    }
    double RandomReal() { return double(Next()) * (1.0 / 4294967296.0); }
};

// The seed of the match after the one that starts from `seed`: a different stream, not the same one
// shifted, so one match's particles never replay in the next.
uint32_t NextMatchSeed(uint32_t seed);
