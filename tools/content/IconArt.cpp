// IconArt: paints the icon large and averages it down, so every size is drawn from one picture.
#include "content/IconArt.h"

#include "content/ArtNoise.h"
#include "content/ShipPainter.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr uint32_t NozzleKey = 0xFF0000;
constexpr uint32_t GunKey = 0x00FF00;
constexpr int MasterSide = 768; // a multiple of every usual icon size

// Signed distance from (u, v) to a rounded square filling the unit square less a margin;
// negative inside.
double BadgeDistance(double u, double v) {
    const double margin = 0.04, radius = 0.2;
    const double half = 0.5 - margin - radius;
    const double dx = std::max(std::fabs(u - 0.5) - half, 0.0);
    const double dy = std::max(std::fabs(v - 0.5) - half, 0.0);
    return std::hypot(dx, dy) - radius;
}

// Rock of the cave: ragged walls at the sides, thicker near the floor, leaving a shaft in the middle.
bool IsRock(double u, double v) {
    const double wall = std::fabs(u - 0.5) * 2.0; // 0 in the middle, 1 at the sides
    const double floor = std::max(0.0, v - 0.7);
    const double n = Fbm(u * 7.0, v * 7.0, 4, 0x1C0);
    return wall + floor * 1.6 + (n - 0.5) * 0.9 > 0.8;
}

uint32_t RockColor(double u, double v) {
    const double n = Fbm(u * 40.0, v * 40.0, 3, 0x2C0);
    const uint32_t base = MixColor(0x6E4A2C, 0x9A6E40, n);
    // Lit from the upper left: rock with air to its upper left is brighter.
    const bool lit = !IsRock(u - 0.015, v - 0.015);
    const bool shade = !IsRock(u + 0.015, v + 0.015);
    return lit ? ScaleColor(base, 1.3) : shade ? ScaleColor(base, 0.65) : base;
}

uint32_t AirColor(double u, double v) {
    const double glow = std::max(0.0, 1.0 - std::hypot(u - 0.5, v - 0.42) * 2.2);
    return MixColor(MixColor(0x161428, 0x241A20, v), 0x3A3458, glow);
}

struct ShipPlacement {
    Surface Picture;
    double Left = 0.22, Top = 0.15, Size = 0.56; // in icon units
    int NozzleX = 32, NozzleY = 60, GunX = 32, GunY = 2;
};

ShipPlacement PlaceShip() {
    ShipPlacement p;
    p.Picture = PaintShip(ShipDesigns().front());
    for (int y = 0; y < p.Picture.Height; ++y)
        for (int x = 0; x < p.Picture.Width; ++x) {
            if (p.Picture.Pixel(x, y) == NozzleKey) p.NozzleX = x, p.NozzleY = y;
            if (p.Picture.Pixel(x, y) == GunKey) p.GunX = x, p.GunY = y;
        }
    return p;
}

// The ship pixel under (u, v), 0 where there is none.
uint32_t ShipPixel(const ShipPlacement& p, double u, double v) {
    const double cell = p.Size / p.Picture.Width;
    const int x = int(std::floor((u - p.Left) / cell));
    const int y = int(std::floor((v - p.Top) / cell));
    const uint32_t c = p.Picture.Pixel(x, y);
    return (c == NozzleKey || c == GunKey) ? 0 : c;
}

// The exhaust: a teardrop below the nozzle, white hot at its root; 0 outside it.
uint32_t FlamePixel(const ShipPlacement& p, double u, double v) {
    const double cell = p.Size / p.Picture.Width;
    const double cu = p.Left + (p.NozzleX + 0.5) * cell, top = p.Top + p.NozzleY * cell;
    const double t = (v - top) / 0.2; // 0 at the nozzle, 1 at the tip
    if (t < 0 || t > 1) return 0;
    const double width = 0.045 * std::sqrt(1 - t) * (0.6 + 0.4 * std::cos(t * 3.1));
    const double across = std::fabs(u - cu) / std::max(width, 1e-6);
    if (across > 1) return 0;
    const double heat = (1 - t) * (1 - 0.6 * across);
    return heat > 0.6 ? MixColor(0xFFC850, 0xFFFFE8, (heat - 0.6) / 0.4)
                      : MixColor(0xE04010, 0xFFC850, heat / 0.6);
}

// Two shots leaving the nose gun.
uint32_t ShotPixel(const ShipPlacement& p, double u, double v) {
    const double cell = p.Size / p.Picture.Width;
    const double cu = p.Left + (p.GunX + 0.5) * cell, gv = p.Top + p.GunY * cell;
    for (const double gap : {0.04, 0.075}) {
        const double d = std::hypot((u - cu) / 0.012, (v - (gv - gap)) / 0.02);
        if (d < 1) return MixColor(0xFFF0A0, 0xFFFFFF, 1 - d);
    }
    return 0;
}

uint32_t MasterPixel(const ShipPlacement& ship, double u, double v) {
    if (const uint32_t c = ShipPixel(ship, u, v)) return c;
    if (const uint32_t c = FlamePixel(ship, u, v)) return c;
    if (const uint32_t c = ShotPixel(ship, u, v)) return c;
    uint32_t c = IsRock(u, v) ? RockColor(u, v) : AirColor(u, v);
    // The ship's shadow falls on the cave behind it.
    if (ShipPixel(ship, u - 0.025, v - 0.03) != 0) c = ScaleColor(c, 0.45);
    // A light rim keeps the badge apart from dark desktops.
    if (BadgeDistance(u, v) > -0.012) c = MixColor(c, 0xC8B8A0, 0.7);
    return c;
}

} // namespace

std::vector<uint32_t> PaintIcon(int size) {
    if (size <= 0) return {};
    const int factor = std::max(1, MasterSide / size);
    const int side = size * factor;
    const ShipPlacement ship = PlaceShip();
    // Premultiplied sums of the master pixels that fall into each icon pixel.
    std::vector<double> sums(size_t(size) * size_t(size) * 4, 0.0);
    for (int y = 0; y < side; ++y)
        for (int x = 0; x < side; ++x) {
            const double u = (x + 0.5) / side, v = (y + 0.5) / side;
            if (BadgeDistance(u, v) > 0) continue;
            const uint32_t c = MasterPixel(ship, u, v);
            double* s = &sums[(size_t(y / factor) * size_t(size) + size_t(x / factor)) * 4];
            s[0] += (c >> 16) & 0xFF;
            s[1] += (c >> 8) & 0xFF;
            s[2] += c & 0xFF;
            s[3] += 1;
        }
    std::vector<uint32_t> icon(size_t(size) * size_t(size), 0);
    const double area = double(factor) * factor;
    for (size_t i = 0; i < icon.size(); ++i) {
        const double* s = &sums[i * 4];
        if (s[3] == 0) continue;
        const uint32_t a = uint32_t(ClampByte(255.0 * s[3] / area));
        icon[i] = (a << 24) | (uint32_t(ClampByte(s[0] / s[3])) << 16) |
                  (uint32_t(ClampByte(s[1] / s[3])) << 8) | uint32_t(ClampByte(s[2] / s[3]));
    }
    return icon;
}
