// ArtNoise: hashing lattice noise and colour arithmetic for the generated pictures.
#include "content/ArtNoise.h"

#include <algorithm>
#include <cmath>

double LatticeValue(int x, int y, uint32_t seed) {
    uint32_t h = uint32_t(x) * 0x8DA6B343u ^ uint32_t(y) * 0xD8163841u ^ seed * 0xCB1AB31Fu;
    h ^= h >> 15;
    h *= 0x2C1B3C6Du;
    h ^= h >> 12;
    h *= 0x297A2D39u;
    h ^= h >> 15;
    return double(h >> 8) * (1.0 / 16777216.0);
}

static double Smooth(double t) {
    return t * t * (3.0 - 2.0 * t);
}

double ValueNoise(double x, double y, uint32_t seed) {
    const double fx = std::floor(x);
    const double fy = std::floor(y);
    const int ix = int(fx);
    const int iy = int(fy);
    const double tx = Smooth(x - fx);
    const double ty = Smooth(y - fy);
    const double a = LatticeValue(ix, iy, seed);
    const double b = LatticeValue(ix + 1, iy, seed);
    const double c = LatticeValue(ix, iy + 1, seed);
    const double d = LatticeValue(ix + 1, iy + 1, seed);
    const double top = a + (b - a) * tx;
    const double bottom = c + (d - c) * tx;
    return top + (bottom - top) * ty;
}

double Fbm(double x, double y, int octaves, uint32_t seed) {
    double sum = 0.0;
    double weight = 1.0;
    double total = 0.0;
    for (int o = 0; o < octaves; ++o) {
        sum += ValueNoise(x, y, seed + uint32_t(o) * 101u) * weight;
        total += weight;
        weight *= 0.5;
        // The odd offsets keep the lattices of the octaves from lining up.
        x = x * 2.0 + 17.31;
        y = y * 2.0 + 5.77;
    }
    return total > 0.0 ? std::min(sum / total, 0.999999) : 0.0;
}

int ClampByte(double v) {
    return std::clamp(int(std::lround(v)), 0, 255);
}

static int R(uint32_t c) {
    return int((c >> 16) & 0xFF);
}
static int G(uint32_t c) {
    return int((c >> 8) & 0xFF);
}
static int B(uint32_t c) {
    return int(c & 0xFF);
}
static uint32_t Pack(int r, int g, int b) {
    return (uint32_t(r) << 16) | (uint32_t(g) << 8) | uint32_t(b);
}

uint32_t MixColor(uint32_t a, uint32_t b, double t) {
    t = std::clamp(t, 0.0, 1.0);
    return Pack(ClampByte(R(a) + (R(b) - R(a)) * t), ClampByte(G(a) + (G(b) - G(a)) * t),
                ClampByte(B(a) + (B(b) - B(a)) * t));
}

uint32_t ScaleColor(uint32_t c, double f) {
    return Pack(ClampByte(R(c) * f), ClampByte(G(c) * f), ClampByte(B(c) * f));
}

uint32_t AddColor(uint32_t c, int d) {
    return Pack(std::clamp(R(c) + d, 0, 255), std::clamp(G(c) + d, 0, 255), std::clamp(B(c) + d, 0, 255));
}

uint32_t NotBlack(uint32_t c) {
    return c == 0 ? 0x010101u : c;
}
