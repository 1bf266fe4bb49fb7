// Maps: builds the maps of the game folder, their layer pictures and their map files. Every map has
// a purpose, and its rain, snow and drips come at rates its basins and galleries can hold for a long
// match: water never leaves a map, so it must gather where it does not reach a base.
#include "content/ArtNoise.h"
#include "content/CaveGrid.h"
#include "content/GameFolder.h"
#include "content/MapPainter.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

namespace {

struct Emitter {
    std::string Type;
    int X = 0, Y = 0, W = 0, H = 0;
    double PerSecond = 0, XSpeed = 0, YSpeed = 0, Spread = 0;
};

// Everything one map file says, and the pictures it names.
struct MapPlan {
    std::string Name; // `Abyss` gives maps/Abyss.map and maps/abyss_*.bmp
    std::string Title;
    Surface Back, Middle, Front, Dots; // Dots empty: the terrain comes from the middle layer
    BasePlace Bases[2];
    std::string Scale; // empty: no SCALE= line
    std::vector<Emitter> Emitters;
};

std::string Number(double v) {
    char buf[32] = {};
    std::snprintf(buf, sizeof buf, "%.2f", v);
    std::string s = buf;
    while (!s.empty() && s.back() == '0')
        s.pop_back();
    if (!s.empty() && s.back() == '.') s.pop_back();
    return s == "-0" ? "0" : s;
}

std::string Lower(std::string s) {
    for (char& c : s)
        c = char(c >= 'A' && c <= 'Z' ? c + 32 : c);
    return s;
}

// A layer a fraction of the way between the view and the play field in size, so that it scrolls
// at that fraction of the play field's speed and its edges meet the view's with the play field's.
int ParallaxSize(int middle, int view, double factor) {
    return view + int((middle - view) * factor + 0.5);
}

// Paints the far layer at the size it is given, with its seed.
using BackPainter = std::function<Surface(int w, int h, uint32_t seed)>;

BackPainter CaveBack(const RockPalette& rock) {
    return [rock](int w, int h, uint32_t seed) { return PaintCaveBack(w, h, rock, seed); };
}

BackPainter SkyBack(const SkyStyle& sky) {
    return [sky](int w, int h, uint32_t seed) { return PaintSkyBack(w, h, sky, seed); };
}

// Paints a map's four pictures from its cave grid: the play field and its dot map, the far layer at
// `farFactor` and the near layer at `nearFactor` of the way from the view's size to the field's.
void PaintLayers(MapPlan& m, const CaveGrid& g, const RockPalette& rock, uint32_t seed,
                 const BackPainter& back, const FrontStyle& front, double farFactor = 0.5,
                 double nearFactor = 1.25) {
    m.Middle = PaintMiddle(g, rock, seed);
    m.Dots = PaintDotMap(g);
    m.Back = back(ParallaxSize(g.Width, 320, farFactor), ParallaxSize(g.Height, 430, farFactor), seed + 50);
    m.Front = PaintFront(ParallaxSize(g.Width, 320, nearFactor), ParallaxSize(g.Height, 430, nearFactor),
                         front, seed + 60);
}

// Moves an emitter down (then up) until it lies wholly in open air; clears it as a last resort.
Emitter Place(CaveGrid& g, Emitter e) {
    auto clear = [&](int y) {
        for (int yy = y; yy < y + e.H; ++yy)
            for (int xx = e.X; xx < e.X + e.W; ++xx)
                if (g.At(xx, yy) != Cell::Empty) return false;
        return true;
    };
    for (int d = 0; d < 240; ++d) {
        if (clear(e.Y + d)) {
            e.Y += d;
            return e;
        }
        if (clear(e.Y - d)) {
            e.Y -= d;
            return e;
        }
    }
    g.Rect(e.X, e.Y, e.X + e.W, e.Y + e.H, Cell::Empty);
    return e;
}

// Every raindrop lands as two cells of water, every drip as one, and every snowflake falls apart
// into eleven grains: a rate of 1 lays about 4,100, 2,100 and 22,600 cells in half an hour.
Emitter Rain(int x, int y, int w, double rate) {
    return {"RAIN", x, y, w, 4, rate, -0.3, 1.5, 0.6};
}
Emitter Snowfall(int x, int y, int w, double rate) {
    return {"SNOW", x, y, w, 4, rate, -0.25, 0.1, 0.5};
}
Emitter Drips(int x, int y, int w, double rate) {
    return {"WATER", x, y, w, 3, rate, -0.05, 0.2, 0.1};
}
Emitter Ants(int x, int y, int w) {
    return {"ANT", x, y, w, 6, 0.6, -0.5, 0, 1};
}
Emitter Glue(int x, int y, int w) {
    return {"GLUE", x, y, w, 3, 1.5, -0.05, 0.1, 0.1};
}

// The half height of a base's hall where the cave around the base is low (Hive's and Warren's bases sat
// in chambers of 100 to 120 pixels): tall enough that a ship attacking the base can shoot down into it
// through a pass and still right itself above the floor.
constexpr int TallHall = 96;

// Snow and dripstones must not wall in a base: the hall above each pad is cleared once more.
void ClearBaseHalls(CaveGrid& g, const BasePlace* bases) {
    for (int p = 0; p < 2; ++p)
        g.Rect(bases[p].PadLeft - 50, bases[p].FloorY - 74, bases[p].PadRight + 50, bases[p].FloorY,
               Cell::Empty);
}

// Widens each pad under its flag. Loose rock that lands on a pad vanishes, so on maps whose halls
// are shot to rubble in a long fight the flag's spot stays clear instead of being buried.
void PadUnderFlags(CaveGrid& g, const BasePlace* bases) {
    for (int p = 0; p < 2; ++p) {
        const BasePlace& b = bases[p];
        g.Rect(std::min(b.FlagX - 6, b.PadLeft), b.FloorY, std::max(b.FlagX + 30, b.PadRight), b.FloorY + 6,
               Cell::Pad);
    }
}

MapPlan Abyss() {
    MapPlan m{
        "Abyss", "Abyss: deep caverns with a frozen gallery and an underground lake", {}, {}, {}, {}, {}, "",
        {}};
    const uint32_t seed = 1101;
    CaveGrid g(1600, 1200);
    g.NoiseRock(seed, 150, 0.40);
    g.Tunnel({230, 950, 200, 650, 170, 300}, 46, seed + 1);
    g.Tunnel({170, 300, 500, 220, 800, 240, 1100, 230, 1430, 300}, 42, seed + 2);
    g.Tunnel({1430, 300, 1400, 650, 1370, 950}, 46, seed + 3);
    g.Tunnel({230, 980, 500, 880, 800, 820}, 42, seed + 4);
    g.Tunnel({1370, 980, 1100, 880, 800, 820}, 42, seed + 5);
    g.Tunnel({800, 820, 780, 500, 800, 240}, 46, seed + 6);
    g.Tunnel({470, 520, 200, 650}, 45, seed + 7);
    g.Tunnel({1130, 520, 1400, 650}, 45, seed + 8);
    g.Ellipse(800, 640, 280, 190, Cell::Empty, seed + 9);
    g.Ellipse(800, 250, 230, 110, Cell::Empty, seed + 10);
    g.Ellipse(470, 520, 120, 85, Cell::Empty, seed + 11);
    g.Ellipse(1130, 520, 120, 85, Cell::Empty, seed + 12);
    g.Border(40, seed + 13);
    g.Tidy(500, 1500);
    g.Dripstones(seed + 14, 0.012);
    // Both lakes start part full, with room for what drips into them in a long match.
    g.Basin(800, 880, 130, 46, seed + 15, 0.6);
    g.Basin(1130, 610, 70, 26, seed + 16, 0.4);
    m.Bases[0] = g.Base(230, 1010, 56, true, 16, seed + 17);
    m.Bases[1] = g.Base(1370, 1010, 56, false, 16, seed + 18);
    g.SnowCover(540, 90, 1060, 420, 3, 10, seed + 19);
    ClearBaseHalls(g, m.Bases);
    m.Emitters = {Place(g, Snowfall(640, 170, 320, 0.6)), Place(g, Drips(750, 470, 100, 1)),
                  Place(g, Ants(420, 560, 90)), Place(g, Drips(1110, 460, 40, 0.8))};
    const RockPalette rock{0x3A2C24, 0x8C7058, 0x6E5040, 0x5C7A3A, 0x50C8F0};
    PaintLayers(m, g, rock, seed, CaveBack(rock),
                FrontStyle{0x2A2420, 0x6A5A4A, 0.16, 80, false, true, false});
    return m;
}

MapPlan Duel() {
    MapPlan m{"Duel", "Duel: one screen, two pads and a storm filling the lake between them",
              {},     {},
              {},     {},
              {},     "",
              {}};
    const uint32_t seed = 2202;
    CaveGrid g(640, 430);
    for (int x = 0; x < 640; ++x) {
        const int floor = 372 + int(34 * Fbm(x / 70.0, 0.5, 3, seed));
        const int ceiling = 14 + int(30 * Fbm(x / 60.0, 3.5, 3, seed + 1));
        g.Rect(x, floor, x + 1, 430, Cell::Ground);
        g.Rect(x, 0, x + 1, ceiling, Cell::Ground);
    }
    g.Ellipse(320, 210, 62, 22, Cell::Ground, seed + 2);
    g.Ellipse(180, 140, 42, 13, Cell::Ground, seed + 3);
    g.Ellipse(460, 140, 42, 13, Cell::Ground, seed + 4);
    g.Ellipse(200, 290, 30, 11, Cell::Ground, seed + 5);
    g.Ellipse(440, 290, 30, 11, Cell::Ground, seed + 6);
    g.Border(12, seed + 7);
    g.Tidy(60, 300);
    g.Dripstones(seed + 8, 0.03);
    // The lake between the bases starts low: the storm above it has room to fill it for an hour
    // before it spills over the floor, whose rim still lies below the pads.
    g.Basin(320, 376, 140, 70, seed + 9, 0.45);
    m.Bases[0] = g.Base(92, 344, 56, true, 16, seed + 10);
    m.Bases[1] = g.Base(548, 344, 56, false, 16, seed + 11);
    g.SnowCover(120, 100, 520, 240, 2, 6, seed + 12);
    ClearBaseHalls(g, m.Bases);
    m.Emitters = {Place(g, Rain(240, 60, 160, 3))};
    const RockPalette rock{0x2C2A34, 0x7A7484, 0x5A4E62, 0x7A8A5A, 0xC080F0};
    SkyStyle sky;
    sky.Top = 0x141826;
    sky.Middle = 0x3A3A56;
    sky.Bottom = 0x5A5068;
    sky.CloudAmount = 0.9;
    sky.CloudColor = 0x4A4A64;
    sky.Lightning = true;
    sky.Ridge[0] = 0x3A3A50;
    sky.Ridge[1] = 0x2C2C3E;
    sky.Ridge[2] = 0x1E1E2C;
    // The duel's field is one view: its far and near layers are as large and stand still with it.
    PaintLayers(m, g, rock, seed, SkyBack(sky), FrontStyle{0x1C1A22, 0x5A5468, 0.14, 46, false, false, true},
                1.0, 1.0);
    return m;
}

MapPlan Glacier() {
    MapPlan m{"Glacier", "Glacier: a wide ice canyon under the northern lights", {}, {}, {}, {}, {}, "", {}};
    const uint32_t seed = 3303;
    CaveGrid g(2400, 900);
    g.NoiseRock(seed, 170, 0.43);
    g.Tunnel({200, 740, 500, 600, 800, 480, 1200, 420, 1600, 480, 1900, 600, 2200, 740}, 52, seed + 1);
    g.Tunnel({300, 300, 700, 200, 1200, 180, 1700, 200, 2100, 300}, 44, seed + 2);
    g.Tunnel({500, 600, 300, 300}, 42, seed + 3);
    g.Tunnel({1900, 600, 2100, 300}, 42, seed + 4);
    g.Tunnel({1200, 420, 1200, 180}, 42, seed + 5);
    g.Ellipse(1200, 600, 270, 130, Cell::Empty, seed + 6);
    g.Ellipse(700, 230, 160, 90, Cell::Empty, seed + 7);
    g.Ellipse(1700, 230, 160, 90, Cell::Empty, seed + 8);
    g.Border(40, seed + 9);
    g.Tidy(500, 1500);
    g.Dripstones(seed + 10, 0.02);
    g.Basin(1200, 740, 170, 50, seed + 11, 0.6);
    g.Basin(700, 330, 60, 20, seed + 12);
    m.Bases[0] = g.Base(200, 790, 56, true, 16, seed + 13);
    m.Bases[1] = g.Base(2200, 790, 56, false, 16, seed + 14);
    g.SnowCover(0, 0, 2400, 900, 3, 13, seed + 15);
    ClearBaseHalls(g, m.Bases);
    // A fight brings the rock beside the second hall down onto its flag's spot.
    PadUnderFlags(g, m.Bases);
    // Snow on the upper gallery, meltwater dripping into the half-empty lake of the great hall.
    m.Emitters = {Place(g, Snowfall(560, 160, 280, 0.6)), Place(g, Snowfall(1560, 160, 280, 0.6)),
                  Place(g, Snowfall(1000, 140, 400, 0.8)), Place(g, Drips(1140, 480, 120, 2))};
    const RockPalette rock{0x3A4A5C, 0x8EA4BC, 0x6A8AA8, 0xE8F4FF, 0x60F0FF};
    SkyStyle sky;
    sky.Top = 0x050A1E;
    sky.Middle = 0x16305A;
    sky.Bottom = 0x4A6A90;
    sky.Stars = true;
    sky.Aurora = true;
    sky.SunX = 0.8;
    sky.SunY = 0.16;
    sky.SunRadius = 0.045;
    sky.SunColor = 0xE8ECF8;
    sky.Ridge[0] = 0x5A7090;
    sky.Ridge[1] = 0x3E5472;
    sky.Ridge[2] = 0x283C56;
    sky.SnowCaps = true;
    PaintLayers(m, g, rock, seed, SkyBack(sky), FrontStyle{0x7A9CC0, 0xE0F0FF, 0.2, 34, true, false, false});
    return m;
}

MapPlan Hive() {
    MapPlan m{"Hive", "Hive: small ships in a maze of wax, ants and glue", {}, {}, {}, {}, {}, "0.8", {}};
    const uint32_t seed = 4404;
    CaveGrid g(1400, 1000);
    g.NoiseRock(seed, 90, 0.44);
    const double rooms[8][2] = {{250, 250}, {700, 200},  {1150, 250}, {250, 600},
                                {700, 520}, {1150, 600}, {450, 800},  {950, 800}};
    const int links[12][2] = {{0, 1}, {1, 2}, {0, 3}, {1, 4}, {2, 5}, {3, 4},
                              {4, 5}, {3, 6}, {4, 6}, {4, 7}, {5, 7}, {6, 7}};
    for (int i = 0; i < 8; ++i)
        g.Ellipse(rooms[i][0], rooms[i][1], 120, 80, Cell::Empty, seed + 1 + uint32_t(i));
    for (int i = 0; i < 12; ++i)
        g.Tunnel({rooms[links[i][0]][0], rooms[links[i][0]][1], rooms[links[i][1]][0], rooms[links[i][1]][1]},
                 38, seed + 20 + uint32_t(i));
    g.Tunnel({250, 600, 180, 820}, 45, seed + 40);
    g.Tunnel({1150, 600, 1220, 820}, 45, seed + 41);
    g.Border(36, seed + 42);
    g.Tidy(400, 1200);
    g.Dripstones(seed + 43, 0.015);
    g.Basin(700, 580, 80, 26, seed + 44);
    m.Bases[0] = g.Base(180, 860, 48, true, 13, seed + 45, TallHall);
    m.Bases[1] = g.Base(1220, 860, 48, false, 13, seed + 46, TallHall);
    ClearBaseHalls(g, m.Bases);
    m.Emitters = {Place(g, Ants(200, 600, 100)), Place(g, Ants(1100, 620, 100)), Place(g, Glue(660, 150, 80)),
                  Place(g, Glue(420, 760, 60)), Place(g, Glue(920, 760, 60))};
    const RockPalette rock{0x3A1E0A, 0x9A6428, 0xB88838, 0xF0C860, 0xFFE070};
    PaintLayers(m, g, rock, seed, PaintHiveBack,
                FrontStyle{0x4A2A0C, 0xC08838, 0.15, 70, false, false, false});
    return m;
}

MapPlan Rockgarden() {
    MapPlan m{"Rockgarden",
              "Rockgarden: desert buttes at sunset, every rock can be shot away",
              {},
              {},
              {},
              {},
              {},
              "",
              {}};
    const uint32_t seed = 5505;
    CaveGrid g(1200, 900);
    g.NoiseRock(seed, 120, 0.48);
    g.Tunnel({150, 720, 600, 520, 1050, 720}, 58, seed + 1);
    g.Tunnel({150, 300, 600, 250, 1050, 300}, 50, seed + 2);
    g.Tunnel({150, 720, 150, 300}, 46, seed + 3);
    g.Tunnel({1050, 720, 1050, 300}, 46, seed + 4);
    g.Tunnel({600, 520, 600, 250}, 50, seed + 5);
    g.Border(36, seed + 6);
    g.Tidy(300, 2500);
    g.Dripstones(seed + 7, 0.01);
    m.Bases[0] = g.Base(160, 770, 56, true, 16, seed + 8);
    m.Bases[1] = g.Base(1040, 770, 56, false, 16, seed + 9);
    ClearBaseHalls(g, m.Bases);
    // Everything but the pads can be shot away; the pads, marked in the dot map, hold the bases.
    PadUnderFlags(g, m.Bases);
    m.Emitters = {Place(g, Glue(560, 230, 80)), Place(g, Ants(540, 560, 120))};
    const RockPalette rock{0x5A2E1C, 0xC07848, 0xE0A070, 0xD8B878, 0x70E0C0};
    SkyStyle sky;
    sky.Top = 0x2A1E4A;
    sky.Middle = 0xC0486A;
    sky.Bottom = 0xF0A050;
    sky.SunX = 0.35;
    sky.SunY = 0.62;
    sky.SunRadius = 0.09;
    sky.SunColor = 0xFFD070;
    sky.CloudAmount = 0.35;
    sky.CloudColor = 0xE07860;
    sky.Ridge[0] = 0xA0506A;
    sky.Ridge[1] = 0x70384E;
    sky.Ridge[2] = 0x4A2436;
    sky.Mesas = true;
    PaintLayers(m, g, rock, seed, SkyBack(sky),
                FrontStyle{0x3A1E16, 0xA0583A, 0.12, 90, false, false, false});
    return m;
}

MapPlan Flagrun() {
    MapPlan m{"Flagrun", "Flagrun: two long flight lines between the bases, made for carrying flags",
              {},        {},
              {},        {},
              {},        "",
              {}};
    const uint32_t seed = 6606;
    CaveGrid g(3600, 820);
    g.NoiseRock(seed, 160, 0.30);
    // The upper line is fast and open, the lower one winds past a lake and is easier to hide in.
    g.Tunnel({220, 520, 600, 260, 1200, 230, 1800, 250, 2400, 230, 3000, 260, 3380, 520}, 62, seed + 1);
    g.Tunnel({220, 640, 700, 600, 1300, 640, 1800, 600, 2300, 640, 2900, 600, 3380, 640}, 54, seed + 2);
    for (int i = 0; i < 4; ++i) {
        const double x = 900 + 600 * i;
        g.Tunnel({x, 250, x + 40, 440, x, 620}, 40, seed + 3 + uint32_t(i));
    }
    g.Ellipse(1800, 420, 180, 110, Cell::Empty, seed + 8);
    g.Border(36, seed + 9);
    g.Tidy(500, 1500);
    g.Dripstones(seed + 10, 0.012);
    g.Basin(1800, 690, 120, 36, seed + 11, 0.5);
    m.Bases[0] = g.Base(220, 690, 56, true, 16, seed + 12);
    m.Bases[1] = g.Base(3380, 690, 56, false, 16, seed + 13);
    ClearBaseHalls(g, m.Bases);
    m.Emitters = {Place(g, Drips(1760, 340, 80, 1.5)), Place(g, Ants(1150, 560, 100)),
                  Place(g, Ants(2350, 560, 100))};
    const RockPalette rock{0x22303A, 0x6A8494, 0x4A6272, 0x8AA05A, 0xF0A040};
    PaintLayers(m, g, rock, seed, CaveBack(rock),
                FrontStyle{0x18222A, 0x506878, 0.14, 90, false, false, false});
    return m;
}

MapPlan Warren() {
    MapPlan m{
        "Warren", "Warren: burrows too tight for ships, where pilots fight on foot", {}, {}, {}, {}, {}, "",
        {}};
    const uint32_t seed = 7707;
    CaveGrid g(1300, 900);
    g.Rect(0, 0, 1300, 900, Cell::Ground);
    // The ships' way: a wide loop over the top from base to base.
    g.Tunnel({170, 760, 150, 420, 300, 150, 650, 110, 1000, 150, 1150, 420, 1130, 760}, 46, seed + 1);
    // The pilots' way: flat burrows on four floors, joined by short shafts a pilot climbs with
    // the thrust pack.
    const int floors[4] = {320, 450, 560, 690};
    // A burrow: a floor that rises and falls gently enough to walk, under a roof 22 to 32 pixels high.
    auto burrow = [&](int x0, int x1, int floorY, uint32_t salt) {
        for (int x = x0; x < x1; ++x) {
            const int y = floorY + int(36 * (Fbm(x / 190.0, 0.5, 2, seed + salt) - 0.5));
            g.Rect(x, y - 22 - int(10 * Fbm(x / 30.0, 2.5, 2, seed + salt)), x + 1, y, Cell::Empty);
        }
    };
    for (int f = 0; f < 4; ++f) {
        burrow(150, 1150, floors[f], 10 + uint32_t(f));
        for (int k = 0; k < 4; ++k) // low chambers where pilots can turn and hide
            g.Ellipse(300 + 230 * k + 70 * (f % 2), floors[f] - 18, 34, 18, Cell::Empty,
                      seed + 20 + uint32_t(f * 4 + k), 0.2);
        if (f < 3)
            for (int k = 0; k < 3; ++k) { // slanting shafts up to the next floor, for the thrust pack
                const double x = 330 + 270 * k + 160 * LatticeValue(f, k, seed + 40);
                const double lean = 40 * (LatticeValue(f, k, seed + 41) - 0.5);
                for (int y = floors[f] - 16; y < floors[f + 1] - 6; ++y) {
                    const int sx = int(x + lean * (y - floors[f]) / double(floors[f + 1] - floors[f]));
                    g.Rect(sx, y, sx + 26, y + 1, Cell::Empty);
                }
            }
    }
    // The lowest burrow drops into both base halls.
    g.Rect(200, 680, 226, 760, Cell::Empty);
    g.Rect(1074, 680, 1100, 760, Cell::Empty);
    g.Border(30, seed + 30);
    g.Tidy(200, 200);
    g.Dripstones(seed + 31, 0.01);
    m.Bases[0] = g.Base(170, 810, 56, true, 16, seed + 32, TallHall);
    m.Bases[1] = g.Base(1130, 810, 56, false, 16, seed + 33, TallHall);
    ClearBaseHalls(g, m.Bases);
    // The burrows over the second hall come down as rubble onto its flag's spot in a fight.
    PadUnderFlags(g, m.Bases);
    // No water here: it would run down the ships' way into both base halls.
    m.Emitters = {Place(g, Ants(520, 300, 160)), Place(g, Ants(620, 660, 160))};
    const RockPalette rock{0x2E2216, 0x8A6A48, 0x6A4E32, 0x7A8A3A, 0xE0D060};
    PaintLayers(m, g, rock, seed, CaveBack(rock),
                FrontStyle{0x201810, 0x6A5238, 0.12, 80, false, true, false});
    return m;
}

MapPlan Swamp() {
    MapPlan m{"Swamp", "Swamp: a flooded hall where water slows you and glue grows on the islands",
              {},      {},
              {},      {},
              {},      "",
              {}};
    const uint32_t seed = 8808;
    CaveGrid g(1600, 1000);
    g.NoiseRock(seed, 130, 0.40);
    g.Ellipse(800, 520, 560, 230, Cell::Empty, seed + 1);
    g.Tunnel({180, 600, 400, 450, 800, 380, 1200, 450, 1420, 600}, 50, seed + 2);
    g.Tunnel({180, 600, 200, 260, 800, 140, 1400, 260, 1420, 600}, 44, seed + 3);
    g.Tunnel({800, 140, 800, 380}, 40, seed + 4);
    g.Border(36, seed + 5);
    g.Tidy(500, 1500);
    g.Dripstones(seed + 6, 0.02);
    // The lake fills most of the hall's floor; whoever fights down there is slowed and lifted.
    g.Basin(800, 700, 430, 150, seed + 7, 0.85);
    // Islands in the lake, where the glue dripping from the roof builds sticky mounds.
    g.Ellipse(610, 700, 46, 40, Cell::Ground, seed + 8);
    g.Ellipse(990, 700, 46, 40, Cell::Ground, seed + 9);
    g.Ellipse(800, 745, 30, 30, Cell::Ground, seed + 10);
    m.Bases[0] = g.Base(180, 600, 56, true, 16, seed + 11);
    m.Bases[1] = g.Base(1420, 600, 56, false, 16, seed + 12);
    ClearBaseHalls(g, m.Bases);
    m.Emitters = {Place(g, Glue(590, 320, 40)), Place(g, Glue(970, 320, 40)), Place(g, Glue(780, 160, 40)),
                  Place(g, Drips(700, 330, 60, 1.5)), Place(g, Drips(860, 330, 60, 1.5))};
    const RockPalette rock{0x1E2A18, 0x6A7A48, 0x4A5A30, 0x8AB040, 0xB0F060};
    PaintLayers(m, g, rock, seed, CaveBack(rock),
                FrontStyle{0x141C10, 0x4A6030, 0.18, 70, false, true, false});
    return m;
}

MapPlan Cavern() {
    MapPlan m{"Cavern", "Cavern: a huge cave of halls and pillars, its walls far behind and near before you",
              {},       {},
              {},       {},
              {},       "",
              {}};
    const uint32_t seed = 9909;
    CaveGrid g(3200, 2400);
    g.NoiseRock(seed, 300, 0.44);
    g.Ellipse(1600, 1150, 900, 560, Cell::Empty, seed + 1);
    const double halls[4][2] = {{600, 650}, {2600, 650}, {560, 1800}, {2640, 1800}};
    for (int i = 0; i < 4; ++i)
        g.Ellipse(halls[i][0], halls[i][1], 330, 240, Cell::Empty, seed + 2 + uint32_t(i));
    g.Tunnel({600, 650, 1000, 500, 1600, 560, 2200, 500, 2600, 650}, 80, seed + 6);
    g.Tunnel({600, 650, 500, 1200, 560, 1800}, 76, seed + 7);
    g.Tunnel({2600, 650, 2700, 1200, 2640, 1800}, 76, seed + 8);
    g.Tunnel({560, 1800, 1000, 2000, 1600, 1900, 2200, 2000, 2640, 1800}, 80, seed + 9);
    g.Tunnel({560, 1800, 1000, 1400}, 70, seed + 10);
    g.Tunnel({2640, 1800, 2200, 1400}, 70, seed + 11);
    // Great pillars from the floor to the roof of the middle hall, thick at the foot and the head.
    for (int p = 0; p < 3; ++p) {
        const double x = 1150 + 450 * p, top = 520, bottom = 1760;
        for (int k = 0; k <= 20; ++k) {
            const double t = k / 20.0, waist = 1.0 - 0.55 * std::sin(t * 3.14159);
            g.Ellipse(x + 50 * std::sin(t * 5 + p), top + (bottom - top) * t, 40 + 60 * waist, 80,
                      Cell::Ground, seed + 12 + uint32_t(p * 21 + k), 0.2);
        }
    }
    g.Border(50, seed + 15);
    g.Tidy(1500, 4000);
    g.Dripstones(seed + 16, 0.015);
    // The lake lies in the lower passage between the bases, fed by drips from its roof.
    g.Basin(1600, 1950, 220, 50, seed + 17, 0.5);
    m.Bases[0] = g.Base(560, 1950, 56, true, 16, seed + 18);
    m.Bases[1] = g.Base(2640, 1950, 56, false, 16, seed + 19);
    g.SnowCover(300, 300, 2900, 900, 2, 8, seed + 20);
    ClearBaseHalls(g, m.Bases);
    m.Emitters = {Place(g, Drips(1540, 1840, 120, 2)), Place(g, Snowfall(450, 450, 300, 0.6)),
                  Place(g, Snowfall(2450, 450, 300, 0.6)), Place(g, Ants(900, 1950, 150)),
                  Place(g, Ants(2150, 1950, 150))};
    const RockPalette rock{0x2A2630, 0x847A8C, 0x5E5266, 0x6A8A6A, 0x80E0F0};
    PaintLayers(m, g, rock, seed, CaveBack(rock),
                FrontStyle{0x1C1A22, 0x5A5064, 0.12, 110, false, false, false}, 0.5, 1.15);
    return m;
}

bool WritePlan(const std::string& dir, const MapPlan& m) {
    const std::string stem = Lower(m.Name);
    const std::string folder = dir + "/maps/";
    bool ok = true;
    std::vector<std::string> lines = {"; " + m.Title, ""};
    auto layer = [&](const char* key, const Surface& s, const char* part) {
        if (s.Empty()) return;
        const std::string file = stem + "_" + part + ".bmp";
        ok = s.SaveToBmp(folder + file) && ok;
        lines.push_back(std::string(key) + file);
    };
    layer("BACK=", m.Back, "back");
    layer("MIDDLE=", m.Middle, "middle");
    layer("FRONT=", m.Front, "front");
    layer("DOTMAP=", m.Dots, "dots");
    lines.push_back("");
    for (int p = 0; p < 2; ++p) {
        const std::string n = std::to_string(p + 1);
        lines.push_back("PLY" + n + "X=" + std::to_string(m.Bases[p].SpawnX));
        lines.push_back("PLY" + n + "Y=" + std::to_string(m.Bases[p].SpawnY));
    }
    for (int p = 0; p < 2; ++p) {
        const std::string n = std::to_string(p + 1);
        lines.push_back("FLAG" + n + "X=" + std::to_string(m.Bases[p].FlagX));
        lines.push_back("FLAG" + n + "Y=" + std::to_string(m.Bases[p].FlagY));
    }
    if (!m.Scale.empty()) lines.push_back("SCALE=" + m.Scale);
    for (const Emitter& e : m.Emitters) {
        lines.push_back("");
        lines.push_back("PARTICLEAREA");
        lines.push_back("PA_TYPE=" + e.Type);
        lines.push_back("PA_X=" + std::to_string(e.X));
        lines.push_back("PA_Y=" + std::to_string(e.Y));
        lines.push_back("PA_WIDTH=" + std::to_string(e.W));
        lines.push_back("PA_HEIGHT=" + std::to_string(e.H));
        lines.push_back("PA_PERSECOND=" + Number(e.PerSecond));
        lines.push_back("PA_XSPEED=" + Number(e.XSpeed));
        lines.push_back("PA_YSPEED=" + Number(e.YSpeed));
        lines.push_back("PA_RANDOMXSPEED=" + Number(e.Spread));
    }
    std::ofstream out(folder + m.Name + ".map", std::ios::binary | std::ios::trunc);
    // Written the way the game's own tools wrote text: carriage return and line feed.
    for (const std::string& l : lines)
        out << l << "\r\n";
    return ok && bool(out);
}

} // namespace

bool WriteMaps(const std::string& dir) {
    bool ok = true;
    for (MapPlan (*make)() : {Abyss, Cavern, Duel, Flagrun, Glacier, Hive, Rockgarden, Swamp, Warren})
        ok = WritePlan(dir, make()) && ok;
    return ok;
}
