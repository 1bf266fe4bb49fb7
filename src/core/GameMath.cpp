// GameMath: the turn table and the program-wide generator.
#include "core/GameMath.h"

#include <array>

namespace {
struct TurnTable {
    std::array<double, 256> Cos{};
    TurnTable() {
        for (int i = 0; i < 256; ++i)
            Cos[size_t(i)] = std::cos(double(i) * (2.0 * M_PI / 256.0));
    }
};
const TurnTable& Table() {
    static const TurnTable table;
    return table;
}
} // namespace

double TurnCos(int64_t angle) {
    return Table().Cos[size_t(Wrap256(angle))];
}
// Sine is the cosine a quarter turn earlier: sin(a) = cos(a - 64).
double TurnSin(int64_t angle) {
    return Table().Cos[size_t(Wrap256(angle - 64))];
}

uint32_t NextMatchSeed(uint32_t seed) {
    // A 32-bit integer hash (xorshift-multiply): every bit of the seed moves every bit of the result.
    uint32_t x = seed + 0x9E3779B9u;
    x = (x ^ (x >> 16)) * 0x85EBCA6Bu;
    x = (x ^ (x >> 13)) * 0xC2B2AE35u;
    return x ^ (x >> 16);
}
