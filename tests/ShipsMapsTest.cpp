// ShipsMapsTest: the generated ships, flags, pilot figure and maps keep the rules the game reads them by.
#include "content/ShipPainter.h"
#include "core/Files.h"
#include "media/Surface.h"
#include "world/Ship.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <map>
#include <queue>
#include <set>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;
const fs::path Game = FLARONS_GAME_DIR;

std::string Upper(std::string s) {
    for (char& c : s)
        c = char(std::toupper(static_cast<unsigned char>(c)));
    return s;
}

// The game's files matching a pattern such as `graphics\*_ship.bmp`, in name order.
std::vector<fs::path> Matching(const std::string& folder, const std::string& pattern) {
    std::vector<fs::path> out;
    for (const std::string& name : TFiles(Game, Game).FindFiles(folder + "\\" + pattern))
        out.push_back(Game / folder / name);
    return out;
}

Surface Load(const fs::path& p) {
    Surface s;
    EXPECT_TRUE(s.LoadFromFile(p.string(), ShipPictureLimit)) << p;
    return s;
}

constexpr uint32_t Red = 0xFF0000, Green = 0x00FF00, Blue = 0x0000FF;

// The ship check counts what is neither black, nor pure red, nor pure green.
bool Body(const Surface& s, int x, int y) {
    const uint32_t c = s.Pixel(x, y);
    return c != 0 && c != Red && c != Green;
}

TEST(ShipsMapsShips, EveryShipPassesTheShipCheckAndStandsOnATwoRowFoot) {
    const auto ships = Matching("graphics", "*_ship.bmp");
    ASSERT_GE(ships.size(), 6u);
    int multiGun = 0;
    for (const fs::path& p : ships) {
        SCOPED_TRACE(p.string());
        const Surface s = Load(p);
        ASSERT_EQ(std::make_pair(s.Width, s.Height), std::make_pair(64, 64));
        EXPECT_EQ(std::count(s.Pixels.begin(), s.Pixels.end(), Blue), 0);
        int nozzles = 0, guns = 0, lowest = -1, body = 0;
        for (int y = 0; y < 64; ++y)
            for (int x = 0; x < 64; ++x) {
                const uint32_t c = s.Pixel(x, y);
                // Shots leave the upper half forwards, flames the lower half backwards: each marker
                // touches the hull on the side it points away from.
                if (c == Green) {
                    ++guns;
                    EXPECT_TRUE(y < 40 && Body(s, x, y + 1)) << "gun at " << x << "," << y;
                }
                if (c == Red) {
                    ++nozzles;
                    EXPECT_TRUE(y > 40 && Body(s, x, y - 1)) << "nozzle at " << x << "," << y;
                }
                if (!Body(s, x, y)) continue;
                ++body;
                lowest = y;
                // Every body pixel is part of a 2 x 2 block, so no hairline vanishes at half size.
                bool block = false;
                for (int oy = -1; oy <= 0; ++oy)
                    for (int ox = -1; ox <= 0; ++ox)
                        block = block || (Body(s, x + ox, y + oy) && Body(s, x + ox + 1, y + oy) &&
                                          Body(s, x + ox, y + oy + 1) && Body(s, x + ox + 1, y + oy + 1));
                EXPECT_TRUE(block) << "thin at " << x << "," << y;
            }
        EXPECT_NEAR(body, 984, 10);
        EXPECT_EQ(body, CountShipBodyPixels(s));
        EXPECT_TRUE(nozzles >= 1 && guns >= 1);
        multiGun += guns >= 2;
        ASSERT_GT(lowest, 40);
        int left = 64, right = -1;
        for (int x = 0; x < 64; ++x)
            if (Body(s, x, lowest)) {
                left = std::min(left, x);
                right = std::max(right, x);
            }
        // Wide enough to stand, and the same on the row above so half-size frames keep it.
        EXPECT_GE(right - left, 10);
        EXPECT_TRUE(Body(s, left, lowest - 1) && Body(s, right, lowest - 1));
    }
    EXPECT_GE(multiGun, 2);
}

TEST(ShipsMapsFlags, FlagsAreWholeClothWithThePoleLeft) {
    const auto flags = Matching("graphics", "*_flag.bmp");
    ASSERT_GE(flags.size(), 6u);
    for (const fs::path& p : flags) {
        const Surface s = Load(p);
        EXPECT_EQ(std::make_pair(s.Width, s.Height), std::make_pair(32, 24)) << p;
        EXPECT_EQ(std::count(s.Pixels.begin(), s.Pixels.end(), 0u), 0) << p << " has see-through holes";
        // The pole: one colour all the way down below its knob.
        for (int y = 3; y < 24; ++y)
            EXPECT_EQ(s.Pixel(0, y), s.Pixel(0, 2)) << p;
    }
}

TEST(ShipsMapsPilot, FigureCarriesTheKeyColoursAndBlueEverywhereElse) {
    const Surface s = Load(Game / "graphics" / "menu" / "flaron.bmp");
    ASSERT_FALSE(s.Empty());
    EXPECT_LE(s.Width, s.Height);
    for (const uint32_t key : {Red, Green, Blue})
        EXPECT_GE(std::count(s.Pixels.begin(), s.Pixels.end(), key), 8) << std::hex << key;
    for (uint32_t c : s.Pixels)
        EXPECT_TRUE(c == 0 || c == Red || c == Green || (c & 0xFF) != 0) << std::hex << c;

    // Only blue is solid, yet drawn at full or half size the figure is hit from every side and
    // stands on solid feet: every row begins and ends, and every column ends below, on blue.
    for (const float scale : {0.5f, 0.75f, 1.0f}) {
        const Surface m = RotateAndScale(s, 64, scale);
        int solid = 0, seen = 0;
        for (uint32_t c : m.Pixels) {
            seen += c != 0;
            solid += MaskSolid(c);
        }
        EXPECT_GE(solid * 4, seen * 3) << scale;
        for (int y = 0; y < m.Height; ++y) {
            int first = 0, last = m.Width - 1;
            while (first < m.Width && m.Pixel(first, y) == 0)
                ++first;
            while (last >= 0 && m.Pixel(last, y) == 0)
                --last;
            EXPECT_TRUE(first > last || (MaskSolid(m.Pixel(first, y)) && MaskSolid(m.Pixel(last, y))))
                << scale << " row " << y;
        }
        for (int x = 0; x < m.Width; ++x) {
            int low = m.Height - 1;
            while (low >= 0 && m.Pixel(x, low) == 0)
                --low;
            EXPECT_TRUE(low < 0 || MaskSolid(m.Pixel(x, low))) << scale << " column " << x;
        }
    }
}

// A map file read by the rules of the format: keys case-insensitive, `PA_` keys belonging to the
// particle area opened last.
struct MapFile {
    fs::path Path;
    std::map<std::string, std::string> Keys;
    std::vector<std::map<std::string, std::string>> Areas;
    Surface Middle, Dots, Back, Front;
    bool HasDots = false;

    double Num(const std::string& k) const { return std::stod(Keys.at(k)); }
    // Terrain class at a pixel, from the dot map or, without one, from the play field.
    int Class(int x, int y) const {
        if (!HasDots) return Middle.Pixel(x, y) != 0 ? 255 : 0;
        const uint32_t c = Dots.Pixel(x, y);
        const int r = int(c >> 16) & 255, g = int(c >> 8) & 255, b = int(c) & 255;
        return r == 255 && g == 255 && b == 255 ? 6 : b == 255 ? 3 : g == 255 ? 255 : r == 255 ? 8 : 0;
    }
};

MapFile ReadMap(const fs::path& p) {
    MapFile m;
    m.Path = p;
    std::ifstream in(p, std::ios::binary);
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        const size_t eq = line.find('=');
        if (Upper(line).rfind("PARTICLEAREA", 0) == 0) m.Areas.emplace_back();
        if (eq == std::string::npos || !std::all_of(line.begin(), line.begin() + long(eq), [](char c) {
                return std::isalnum(static_cast<unsigned char>(c)) || c == '_';
            }))
            continue;
        const std::string key = Upper(line.substr(0, eq + 1)), value = line.substr(eq + 1, 50);
        (key.rfind("PA_", 0) == 0 && !m.Areas.empty() ? m.Areas.back() : m.Keys)[key] = value;
    }
    for (auto [key, s] :
         {std::pair{"MIDDLE=", &m.Middle}, {"BACK=", &m.Back}, {"FRONT=", &m.Front}, {"DOTMAP=", &m.Dots}}) {
        if (!m.Keys.count(key)) continue;
        EXPECT_TRUE(s->LoadFromFile((p.parent_path() / m.Keys[key]).string(), MapLayerLimit)) << p << key;
        m.HasDots = m.HasDots || s == &m.Dots;
    }
    return m;
}

std::vector<MapFile> AllMaps() {
    std::vector<MapFile> maps;
    for (const fs::path& p : Matching("maps", "*.map"))
        maps.push_back(ReadMap(p));
    return maps;
}

struct Pad {
    int Row = 0, Left = 0, Right = 0; // Right inclusive
};

// The own pad under the spawn point of player p, wide enough to land on, with the own flag near it
// and a clear hall above the whole pad.
Pad CheckSpawn(const MapFile& m, int p) {
    SCOPED_TRACE("player " + std::to_string(p));
    const std::string n = std::to_string(p);
    const int x = int(m.Num("PLY" + n + "X=")), y = int(m.Num("PLY" + n + "Y="));
    const auto rock = [&](int x0, int y0, int x1, int y1) {
        int cells = 0;
        for (int yy = y0; yy <= y1; ++yy)
            for (int xx = x0; xx <= x1; ++xx)
                cells += m.Class(xx, yy) != 0;
        return cells;
    };
    EXPECT_TRUE(m.Middle.Contains(x, y));
    EXPECT_EQ(rock(x - 14, y - 14, x + 14, y + 10), 0) << "spawns in rock";
    int floor = y;
    while (floor < y + 40 && m.Class(x, floor) == 0)
        ++floor;
    const int below = m.Class(x, floor);
    // Only a pad repairs, refuels, opens the weapon pages and takes a flag; rock cannot.
    EXPECT_EQ(below, 8) << "no pad below";
    int left = x, right = x;
    while (m.Class(left - 1, floor) == below && right - left < 100)
        --left;
    while (m.Class(right + 1, floor) == below && right - left < 100)
        ++right;
    EXPECT_GE(right - left + 1, 25);
    EXPECT_EQ(rock(left, floor - 30, right, floor - 1), 0) << "in the air over the pad";
    // The own flag stands near the own pad, in open air.
    const double fx = m.Num("FLAG" + n + "X="), fy = m.Num("FLAG" + n + "Y=");
    EXPECT_LT(std::hypot(fx - x, fy - y), 120.0);
    EXPECT_EQ(m.Class(int(fx) + 4, int(fy) + 4), 0) << "flag";
    return Pad{floor, left, right};
}

// The terrain classes after half an hour of the map's rain and drips: each drop runs down and
// settles on the lowest air it can reach, so the water poured at a point fills, cell by cell, the
// lowest cell beside what it already filled (a priority flood). A raindrop lands as two cells.
std::vector<uint8_t> FloodedAfterHalfAnHour(const MapFile& m) {
    const int w = m.Middle.Width, h = m.Middle.Height;
    std::vector<uint8_t> cls(size_t(w) * size_t(h));
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            cls[size_t(y) * size_t(w) + size_t(x)] = uint8_t(m.Class(x, y));
    for (const auto& a : m.Areas) {
        const std::string type = Upper(a.at("PA_TYPE="));
        if (type != "RAIN" && type != "WATER") continue;
        long cells = long((type == "RAIN" ? 2 : 1) * 8.0 / 7.0 * std::stod(a.at("PA_PERSECOND=")) * 1800);
        std::vector<bool> queued(cls.size());
        std::priority_queue<std::pair<int, int>> lowestFirst; // (row, column)
        lowestFirst.push(
            {std::stoi(a.at("PA_Y=")), std::stoi(a.at("PA_X=")) + std::stoi(a.at("PA_WIDTH=")) / 2});
        while (cells > 0 && !lowestFirst.empty()) {
            const auto [y, x] = lowestFirst.top();
            lowestFirst.pop();
            cls[size_t(y) * size_t(w) + size_t(x)] = 3;
            --cells;
            for (const auto& [nx, ny] : {std::pair{x - 1, y}, {x + 1, y}, {x, y - 1}, {x, y + 1}}) {
                const size_t i = size_t(ny) * size_t(w) + size_t(nx);
                if (nx < 0 || ny < 0 || nx >= w || ny >= h || queued[i] || cls[i] != 0) continue;
                queued[i] = true;
                lowestFirst.push({ny, nx});
            }
        }
    }
    return cls;
}

// Wrongly drawn pixels of the play field: air is see-through, rock and pads visible, snow white,
// water blue or see-through.
int PlayFieldMismatches(const MapFile& m) {
    int wrong = 0;
    for (int y = 0; y < m.Middle.Height; ++y)
        for (int x = 0; x < m.Middle.Width; ++x) {
            const uint32_t c = m.Middle.Pixel(x, y);
            const int r = int(c >> 16) & 255, g = int(c >> 8) & 255, b = int(c) & 255;
            const int cls = m.Class(x, y);
            wrong += cls == 0                 ? c != 0
                     : cls == 255 || cls == 8 ? c == 0
                     : cls == 6               ? std::min({r, g, b}) < 150
                                              : c != 0 && b != 255;
        }
    return wrong;
}

TEST(ShipsMapsMaps, EveryMapHasMatchingLayersOwnPadsOpenAreasAndAFaithfulPlayField) {
    const auto maps = AllMaps();
    ASSERT_GE(maps.size(), 8u);
    for (const MapFile& m : maps) {
        SCOPED_TRACE(m.Path.string());
        for (const char* k : {"MIDDLE=", "BACK=", "PLY1X=", "PLY1Y=", "PLY2X=", "PLY2Y=", "FLAG1X=",
                              "FLAG1Y=", "FLAG2X=", "FLAG2Y="})
            ASSERT_TRUE(m.Keys.count(k)) << "lacks " << k;
        ASSERT_FALSE(m.Middle.Empty());
        if (m.HasDots) {
            EXPECT_EQ(std::make_pair(m.Dots.Width, m.Dots.Height),
                      std::make_pair(m.Middle.Width, m.Middle.Height));
            EXPECT_EQ(PlayFieldMismatches(m), 0);
        }
        // Backgrounds cover a view and are no larger than the play field, so they lag behind it;
        // foregrounds are at least as large, so they run ahead.
        EXPECT_TRUE(m.Back.Width >= 320 && m.Back.Height >= 430 && m.Back.Width <= m.Middle.Width);
        EXPECT_TRUE(m.Front.Empty() || m.Front.Width >= m.Middle.Width);
        EXPECT_LE(m.Path.filename().string().size(), 33u);
        for (const auto& [k, v] : m.Keys)
            EXPECT_LE(v.size(), 33u) << k;

        const Pad pads[2] = {CheckSpawn(m, 1), CheckSpawn(m, 2)};
        // Rain and drips gather where they never reach the air over a pad in a long match.
        const std::vector<uint8_t> flooded = FloodedAfterHalfAnHour(m);
        for (const Pad& pad : pads) {
            const auto row = flooded.begin() + (pad.Row - 1) * m.Middle.Width;
            EXPECT_EQ(std::count(row + pad.Left, row + pad.Right + 1, 3), 0) << "water on the pad";
        }
        EXPECT_GT(std::fabs(m.Num("PLY1X=") - m.Num("PLY2X=")), 300.0);

        for (const auto& a : m.Areas) {
            for (const char* k : {"PA_X=", "PA_Y=", "PA_WIDTH=", "PA_HEIGHT=", "PA_TYPE=", "PA_PERSECOND="})
                ASSERT_TRUE(a.count(k)) << "area lacks " << k;
            const int x = std::stoi(a.at("PA_X=")), y = std::stoi(a.at("PA_Y="));
            EXPECT_GT(std::stod(a.at("PA_PERSECOND=")), 0.0);
            for (int yy = y; yy < y + std::stoi(a.at("PA_HEIGHT=")); ++yy)
                for (int xx = x; xx < x + std::stoi(a.at("PA_WIDTH=")); ++xx)
                    ASSERT_TRUE(m.Middle.Contains(xx, yy) && m.Class(xx, yy) == 0)
                        << "particle area at " << x << "," << y;
        }
    }
}

TEST(ShipsMapsMaps, TheSetUsesEveryFeatureOfTheFormat) {
    std::set<std::string> types;
    bool singleScreen = false, scaled = false, parallax = false;
    std::set<int> classes;
    for (const MapFile& m : AllMaps()) {
        for (const auto& a : m.Areas)
            types.insert(Upper(a.at("PA_TYPE=")));
        singleScreen = singleScreen || (m.Middle.Width == 640 && m.Middle.Height == 430);
        scaled = scaled || m.Keys.count("SCALE=");
        parallax = parallax || (m.Back.Width < m.Middle.Width && m.Front.Width > m.Middle.Width &&
                                m.Back.Height < m.Middle.Height && m.Front.Height > m.Middle.Height);
        for (int y = 0; m.HasDots && y < m.Dots.Height; y += 2)
            for (int x = 0; x < m.Dots.Width; x += 2)
                classes.insert(m.Class(x, y));
    }
    EXPECT_EQ(types, (std::set<std::string>{"ANT", "GLUE", "RAIN", "SNOW", "WATER"}));
    EXPECT_TRUE(singleScreen && scaled && parallax);
    EXPECT_EQ(classes, (std::set<int>{0, 3, 6, 8, 255}));
}

} // namespace
