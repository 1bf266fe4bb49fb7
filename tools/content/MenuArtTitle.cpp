// MenuArtTitle: two ships duelling in a cave under the burning title.
#include "content/MenuArtTitle.h"

#include "content/MenuArtFont.h"
#include "content/MenuArtPaint.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace menuart {
namespace {

constexpr int W = 640;
constexpr int H = 480;

struct TLight {
    double X = 0;
    double Y = 0;
    uint32_t Colour = 0;
    double Reach = 0;
};

// The fight lights the rock: the afterburner, the enemy's laser and a burst on the floor.
const TLight Lights[] = {
    {120, 370, 0xFF8A30, 260},
    {400, 265, 0x60FF90, 130},
    {545, 412, 0xFFC060, 210},
};

double CeilingBase(double x) {
    return 60 + 90 * Fbm(x * 0.004, 1.5, 4, 3) + 14 * Fbm(x * 0.03, 2.5, 3, 4);
}
double FloorBase(double x) {
    return 440 - 80 * Fbm(x * 0.0045, 7.5, 4, 9) - 10 * Fbm(x * 0.03, 3.5, 3, 10);
}

// Stalactites and stalagmites: uneven spacing, lengths and widths, with ragged flanks.
double Spikes(double x, int seed, int count, double minLen, double maxLen) {
    double best = 0;
    for (int k = 0; k < count; ++k) {
        const double cx = (k + Hash(k, 1, seed)) * (W + 40.0) / count - 20;
        const double len = minLen + (maxLen - minLen) * std::pow(Hash(k, 2, seed), 1.7);
        const double half = 5 + 12 * Hash(k, 3, seed) + len * 0.08;
        const double d = std::abs(x - cx) / half;
        if (d < 1) best = std::max(best, len * std::pow(1 - d, 1.6));
    }
    return best * (0.85 + 0.3 * Fbm(x * 0.15, seed, 2, seed));
}

double CeilingAt(double x) {
    return CeilingBase(x) + Spikes(x, 5, 26, 8, 95);
}
double FloorAt(double x) {
    return FloorBase(x) - Spikes(x, 6, 14, 5, 45);
}

// A second, farther cave wall seen through the gap, in cold haze.
double FarCeilingAt(double x) {
    return 150 + 50 * Fbm(x * 0.008, 4.5, 3, 13) + Spikes(x, 15, 30, 5, 40) * 0.8;
}
double FarFloorAt(double x) {
    return 380 - 50 * Fbm(x * 0.008, 9.5, 3, 17) - Spikes(x, 16, 20, 5, 35) * 0.8;
}

uint32_t LitBy(double x, double y, double strength) {
    uint32_t light = 0;
    for (const TLight& l : Lights) {
        const double d = std::hypot(x - l.X, y - l.Y) / l.Reach;
        if (d < 1) light = AddLight(light, Shade(l.Colour, strength * (1 - d) * (1 - d)));
    }
    return light;
}

double RockHeight(double x, double y) {
    // Ridged noise gives cracks; the low octave gives boulders.
    const double boulders = Fbm(x * 0.02, y * 0.02, 4, 33);
    const double ridge = 1.0 - std::abs(2.0 * Fbm(x * 0.05, y * 0.05, 3, 35) - 1.0);
    return boulders * 0.75 + std::pow(ridge, 5) * 0.3 + Hash(int(x), int(y), 39) * 0.012;
}

uint32_t RockColour(int x, int y, double depth, double strength) {
    const double h = RockHeight(x, y);
    const double gx = RockHeight(x + 1, y) - h, gy = RockHeight(x, y + 1) - h;
    // Light from the cave mouth up-left, plus the fight below.
    const double facing = std::clamp(0.55 - (gx * 0.8 + gy * 1.0) * 16.0, 0.0, 1.2);
    const double strata = 0.5 + 0.5 * std::sin(y * 0.09 + Fbm(x * 0.01, y * 0.01, 2, 43) * 7);
    uint32_t rock = Mix(0x3A2C2C, 0x7A6452, h * 0.9);
    rock = Mix(rock, 0x4A4450, strata * 0.35);
    if (std::pow(1.0 - std::abs(2.0 * Fbm(x * 0.05, y * 0.05, 3, 35) - 1.0), 6) > 0.7)
        rock = Shade(rock, 0.55);
    rock = Shade(rock, (0.35 + facing * 0.75) * (0.4 + 0.6 * std::exp(-depth / 70.0)));
    const double rim = std::exp(-depth / 4.0);
    return AddLight(rock, LitBy(x, y, strength * (0.35 + facing * 0.5) + 1.1 * rim * strength));
}

void PaintCave(Surface& s) {
    for (int y = 0; y < H; ++y)
        for (int x = 0; x < W; ++x) {
            const double far = Fbm(x * 0.012, y * 0.012, 5, 21);
            uint32_t c = Mix(0x04060E, 0x101830, far * far * 1.4);
            c = AddLight(c, LitBy(x, y, 0.25));
            Put(s, x, y, c);
        }
    for (int x = 0; x < W; ++x) {
        const double top = FarCeilingAt(x), bottom = FarFloorAt(x);
        for (int y = 0; y < H; ++y) {
            if (y >= top && y <= bottom) continue;
            const double n = Fbm(x * 0.04, y * 0.04, 4, 53);
            uint32_t c = Mix(0x10162A, 0x283450, n);
            Put(s, x, y, AddLight(c, LitBy(x, y, 0.3)));
        }
    }
    for (int x = 0; x < W; ++x) {
        const double top = CeilingAt(x), bottom = FloorAt(x);
        for (int y = 0; y < H; ++y) {
            const double depth = y < top ? top - y : y > bottom ? y - bottom : -1;
            if (depth >= 0) Put(s, x, y, RockColour(x, y, depth, 0.9));
        }
    }
}

std::vector<TPoint> ShipShape(double x, double y, double angle, double size) {
    static const TPoint local[] = {{22, 0},  {8, -5}, {-2, -15}, {-12, -16}, {-8, -5}, {-14, -4},
                                   {-14, 4}, {-8, 5}, {-12, 16}, {-2, 15},   {8, 5}};
    std::vector<TPoint> out;
    const double c = std::cos(angle), sn = std::sin(angle);
    for (const TPoint& p : local)
        out.push_back({x + (p.X * c - p.Y * sn) * size, y + (p.X * sn + p.Y * c) * size});
    return out;
}

void Flame(Surface& s, double x, double y, double angle, double length, double width) {
    const double bx = -std::cos(angle), by = -std::sin(angle);
    for (int py = int(y - length - width); py <= int(y + length + width); ++py)
        for (int px = int(x - length - width); px <= int(x + length + width); ++px) {
            const double dx = px - x, dy = py - y;
            const double along = dx * bx + dy * by;
            const double across = std::abs(-dx * by + dy * bx);
            if (along < -2 || along > length) continue;
            const double t = std::max(0.0, along) / length;
            const double flicker = 0.75 + 0.5 * ValueNoise(along * 0.15, across * 0.3, 51);
            const double w = width * (1 - t) * flicker + 1;
            if (across > w * 2.2) continue;
            const double core = std::exp(-across * across / (w * w * 0.3));
            const double halo = std::exp(-across * across / (w * w * 1.6)) * 0.5;
            const uint32_t colour =
                Mix(Mix(0xFFFFE0, 0xFFB030, t * 2), 0xC02008, std::max(0.0, t * 1.6 - 0.4));
            AddGlow(s, px, py, colour, (core + halo) * (1 - t));
        }
}

void Ship(Surface& s, double x, double y, double angle, double size, uint32_t hull, uint32_t canopy) {
    const double lx = std::cos(angle - 1.2), ly = std::sin(angle - 1.2);
    const std::vector<TPoint> shape = ShipShape(x, y, angle, size);
    FillPolygon(s, shape, [&](int px, int py) {
        const double d = ((px - x) * lx + (py - y) * ly) / 22.0;
        return Shade(hull, std::clamp(0.9 + d * 0.8, 0.35, 1.6));
    });
    // Dark seams along the edge so the shape reads against the rock.
    Surface mask(W, H);
    FillPolygon(mask, shape, [](int, int) { return 0xFFFFFFu; });
    for (int py = int(y) - 60; py < int(y) + 60; ++py)
        for (int px = int(x) - 60; px < int(x) + 60; ++px)
            if (mask.Pixel(px, py) != 0 && (mask.Pixel(px + 1, py) == 0 || mask.Pixel(px, py + 1) == 0 ||
                                            mask.Pixel(px - 1, py) == 0 || mask.Pixel(px, py - 1) == 0))
                Put(s, px, py, Shade(hull, 0.3));
    // Engine block at the tail and a stripe along the spine.
    const double ca = std::cos(angle), sa = std::sin(angle);
    for (double t = -13; t < -6; t += 0.25)
        for (double u = -3.5; u <= 3.5; u += 0.25)
            Put(s, int(x + (t * ca - u * sa) * size), int(y + (t * sa + u * ca) * size), Shade(hull, 0.45));
    for (double t = -6; t < 18; t += 0.5)
        Put(s, int(x + t * ca * size), int(y + t * sa * size), Mix(hull, 0xFFFFFF, 0.5));
    const double cx = x + std::cos(angle) * 6 * size, cy = y + std::sin(angle) * 6 * size;
    FillDisc(s, cx, cy, 3.0 * size, Shade(canopy, 0.6));
    FillDisc(s, cx - 1, cy - 1, 1.7 * size, canopy);
    Put(s, int(cx) - 2, int(cy) - 2, 0xFFFFFF);
}

void Laser(Surface& s, double x0, double y0, double x1, double y1) {
    const double len = std::hypot(x1 - x0, y1 - y0);
    for (double t = 0; t <= 1; t += 0.5 / len) {
        const double x = x0 + (x1 - x0) * t, y = y0 + (y1 - y0) * t;
        for (int dy = -2; dy <= 2; ++dy)
            for (int dx = -2; dx <= 2; ++dx) {
                const double d = std::hypot(dx, dy);
                AddGlow(s, int(x) + dx, int(y) + dy, d < 1 ? 0xE0FFE0 : 0x30C050, d < 1 ? 0.9 : 0.35 / d);
            }
    }
}

void Burst(Surface& s, double x, double y) {
    LightSpot(s, x, y, 60, 0xFF7020, 0.9);
    LightSpot(s, x, y, 26, 0xFFE0A0, 1.0);
    for (int k = 0; k < 70; ++k) {
        const double a = Hash(k, 1, 71) * 2 * M_PI;
        const double r = 10 + 70 * Hash(k, 2, 71);
        const double px = x + std::cos(a) * r, py = y + std::sin(a) * r * 0.7 - 10;
        const uint32_t c = Hash(k, 3, 71) > 0.5 ? 0xFFD070 : 0xFF6A20;
        AddGlow(s, int(px), int(py), c, 1.0);
        AddGlow(s, int(px) + 1, int(py), c, 0.4);
    }
}

void Dust(Surface& s) {
    for (int k = 0; k < 220; ++k) {
        const int x = int(Hash(k, 8, 81) * W), y = int(Hash(k, 9, 81) * H);
        AddGlow(s, x, y, 0x6A7890, 0.2 + 0.4 * Hash(k, 10, 81));
    }
}

void Lettering(Surface& s) {
    TTextStyle chrome;
    chrome.Top = 0xFFFFFF;
    chrome.Bottom = 0x5A7CA8;
    chrome.Edge = 0x04060C;
    chrome.Glow = 0x20507C;
    chrome.GlowRadius = 6;
    chrome.Bevelled = true;
    chrome.Shadow = 4;
    DrawStyledText(s, Face::Big, CentredLeft(Face::Big, 320, "FLARONS", 9), 34, "FLARONS", 9, chrome);
    // Horizontal highlight bands make the big letters read as polished metal.
    TTextStyle fire;
    fire.Top = 0xFFF8C0;
    fire.Bottom = 0xFF4A08;
    fire.Edge = 0x1C0600;
    fire.Glow = 0xC04010;
    fire.GlowRadius = 5;
    fire.Bevelled = true;
    fire.Shadow = 3;
    DrawStyledText(s, Face::Big, CentredLeft(Face::Big, 320, "AFTERBURN", 5), 112, "AFTERBURN", 5, fire);
    TTextStyle small;
    small.Top = 0xD0DCF0;
    small.Bottom = 0x8090B0;
    small.Edge = NearBlack;
    small.Shadow = 1;
    const std::string tag = "TWO PILOTS - ONE CAVE - NO MERCY";
    DrawStyledText(s, Face::Big, CentredLeft(Face::Big, 320, tag, 2), 446, tag, 2, small);
}

} // namespace

Surface MakeTitlePicture() {
    Surface s(W, H);
    PaintCave(s);
    Dust(s);
    Burst(s, 545, 412);
    // The hero climbs out of the dark on full afterburner; the chaser fires from the right.
    const double heroX = 215, heroY = 322, heroAngle = -0.40;
    Flame(s, heroX - std::cos(heroAngle) * 27, heroY - std::sin(heroAngle) * 27, heroAngle, 200, 10);
    Ship(s, heroX, heroY, heroAngle, 2.0, 0x7898C8, 0x60E0FF);
    const double foeX = 478, foeY = 255, aimX = 250, aimY = 292;
    const double foeAngle = std::atan2(aimY - foeY, aimX - foeX);
    Flame(s, foeX - std::cos(foeAngle) * 24, foeY - std::sin(foeAngle) * 24, foeAngle, 60, 5);
    Ship(s, foeX, foeY, foeAngle, 1.7, 0xC86050, 0xFFD060);
    // Two bolts on their way, just over the hero's canopy.
    for (const double from : {0.22, 0.5}) {
        const double to = from + 0.12;
        Laser(s, foeX + (aimX - foeX) * from, foeY + (aimY - foeY) * from, foeX + (aimX - foeX) * to,
              foeY + (aimY - foeY) * to);
    }
    // Darken the corners so the eye settles on the duel and the title.
    for (int y = 0; y < H; ++y)
        for (int x = 0; x < W; ++x) {
            const double dx = (x - W / 2.0) / (W / 2.0), dy = (y - H / 2.0) / (H / 2.0);
            const double v = std::clamp(1.25 - 0.45 * (dx * dx + dy * dy), 0.45, 1.0);
            Put(s, x, y, Shade(s.Pixel(x, y), v));
        }
    Lettering(s);
    return s;
}

} // namespace menuart
