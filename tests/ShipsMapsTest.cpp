// ShipsMapsTest: the generated ships, flags, pilot figure and maps keep the rules the game reads them by.
#include "WorldTestKit.h"
#include "content/ShipPainter.h"
#include "core/Files.h"
#include "core/OptionsFile.h"
#include "media/ImageList.h"
#include "media/Surface.h"
#include "world/Ship.h"
#include "world/World.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <memory>
#include <queue>
#include <set>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;
const fs::path Game = FLARONS_GAME_DIR;

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

// Every shipped map as the game builds it: its world with the terrain classes, layers and areas.
struct TShippedMap {
    std::string Name;
    std::unique_ptr<TWorld> World;
    int Class(int x, int y) const { return World->TerrainBitmap.Get(x, y); }
};

std::vector<TShippedMap> AllMaps() {
    const TFiles files(Game, fs::temp_directory_path() / "flarons_shipsmaps_home");
    const TPictureItem font = TestFont();
    std::vector<TShippedMap> maps;
    for (const std::string& name : files.FindFiles("maps\\*.map")) {
        TOptions o = DefaultOptions(files);
        o.MapFile.Set("maps\\" + name);
        std::string error;
        maps.push_back({name, TWorld::TryCreate(files, font, o, error)});
        EXPECT_NE(maps.back().World, nullptr) << name << ": " << error;
        if (!maps.back().World) maps.pop_back();
    }
    return maps;
}

struct Pad {
    int Row = 0, Left = 0, Right = 0; // Right inclusive
};

// The own pad under the spawn point of player p, wide enough to land on, with the own flag near it
// and a clear hall above the whole pad.
Pad CheckSpawn(const TShippedMap& m, int p) {
    SCOPED_TRACE("player " + std::to_string(p + 1));
    const TWorld& w = *m.World;
    const int x = int(w.Ships[size_t(p)].StartX), y = int(w.Ships[size_t(p)].StartY);
    const auto rock = [&](int x0, int y0, int x1, int y1) {
        int cells = 0;
        for (int yy = y0; yy <= y1; ++yy)
            for (int xx = x0; xx <= x1; ++xx)
                cells += m.Class(xx, yy) != TerrainEmpty;
        return cells;
    };
    EXPECT_TRUE(w.MiddleLayer.Contains(x, y));
    EXPECT_EQ(rock(x - 14, y - 14, x + 14, y + 10), 0) << "spawns in rock";
    int floor = y;
    while (floor < y + 40 && m.Class(x, floor) == TerrainEmpty)
        ++floor;
    const int below = m.Class(x, floor);
    // Only a pad repairs, refuels, opens the weapon pages and takes a flag; rock cannot.
    EXPECT_EQ(below, TerrainPad) << "no pad below";
    int left = x, right = x;
    while (m.Class(left - 1, floor) == below && right - left < 100)
        --left;
    while (m.Class(right + 1, floor) == below && right - left < 100)
        ++right;
    EXPECT_GE(right - left + 1, 25);
    EXPECT_EQ(rock(left, floor - 30, right, floor - 1), 0) << "in the air over the pad";
    // The own flag stands near the own pad, in open air.
    const double fx = w.Flags[size_t(p)].HomeX, fy = w.Flags[size_t(p)].HomeY;
    EXPECT_LT(std::hypot(fx - x, fy - y), 120.0);
    EXPECT_EQ(m.Class(int(fx) + 4, int(fy) + 4), TerrainEmpty) << "flag";
    return Pad{floor, left, right};
}

// The terrain classes after half an hour of the map's rain and drips: each drop runs down and
// settles on the lowest air it can reach, so the water poured at a point fills, cell by cell, the
// lowest cell beside what it already filled (a priority flood). A raindrop lands as two cells; an
// area's rate is per frame at 40 frames a second.
std::vector<uint8_t> FloodedAfterHalfAnHour(const TWorld& world) {
    const TTerrain& t = world.TerrainBitmap;
    const int w = t.Width, h = t.Height;
    std::vector<uint8_t> cls = t.Cells;
    for (const TParticleArea& a : world.ParticleAreas) {
        if (a.ParticleKind != ParticleRain && a.ParticleKind != ParticleWater) continue;
        long cells = long((a.ParticleKind == ParticleRain ? 2 : 1) * 40.0 * double(a.Rate) * 1800);
        std::vector<bool> queued(cls.size());
        std::priority_queue<std::pair<int, int>> lowestFirst; // (row, column)
        lowestFirst.push({a.AreaY, a.AreaX + a.AreaWidth / 2});
        while (cells > 0 && !lowestFirst.empty()) {
            const auto [y, x] = lowestFirst.top();
            lowestFirst.pop();
            cls[size_t(y) * size_t(w) + size_t(x)] = TerrainWater;
            --cells;
            for (const auto& [nx, ny] : {std::pair{x - 1, y}, {x + 1, y}, {x, y - 1}, {x, y + 1}}) {
                const size_t i = size_t(ny) * size_t(w) + size_t(nx);
                if (nx < 0 || ny < 0 || nx >= w || ny >= h || queued[i] || cls[i] != TerrainEmpty) continue;
                queued[i] = true;
                lowestFirst.push({ny, nx});
            }
        }
    }
    return cls;
}

// Wrongly drawn pixels of the play field: air is see-through, rock and pads visible, snow white.
int PlayFieldMismatches(const TShippedMap& m) {
    const Surface& field = m.World->MiddleLayer;
    int wrong = 0;
    for (int y = 0; y < field.Height; ++y)
        for (int x = 0; x < field.Width; ++x) {
            const uint32_t c = field.Pixel(x, y);
            const int cls = m.Class(x, y);
            wrong += cls == TerrainEmpty                         ? c != 0
                     : cls == TerrainGround || cls == TerrainPad ? c == 0
                     : cls == TerrainSnow ? std::min({c >> 16, (c >> 8) & 255, c & 255}) < 150
                                          : 0;
        }
    return wrong;
}

// Each map also shows which features of the format the set uses: all of them, together.
TEST(ShipsMapsMaps, EveryMapBuildsWithOwnPadsOpenAreasAndAFaithfulPlayFieldAndTheSetUsesEveryFeature) {
    const auto maps = AllMaps();
    ASSERT_GE(maps.size(), 8u);
    std::set<int> kinds, classes;
    bool singleScreen = false, scaled = false, parallax = false;
    for (const TShippedMap& m : maps) {
        SCOPED_TRACE(m.Name);
        const TWorld& w = *m.World;
        singleScreen = singleScreen || w.SingleScreen != 0;
        scaled = scaled || w.Scale != DefaultScale;
        parallax = parallax || (w.BackParallaxX < 1 && w.FrontParallaxX > 1 && w.BackParallaxY < 1 &&
                                w.FrontParallaxY > 1);
        for (int y = 0; y < w.MiddleLayer.Height; y += 2)
            for (int x = 0; x < w.MiddleLayer.Width; x += 2)
                classes.insert(m.Class(x, y));
        EXPECT_EQ(PlayFieldMismatches(m), 0);
        // Backgrounds cover a view and are no larger than the play field, so they lag behind it;
        // foregrounds are at least as large, so they run ahead.
        EXPECT_TRUE(w.BackLayer.Width >= 320 && w.BackLayer.Height >= 430 &&
                    w.BackLayer.Width <= w.MiddleLayer.Width);
        EXPECT_TRUE(w.FrontLayer.Empty() || w.FrontLayer.Width >= w.MiddleLayer.Width);
        EXPECT_LE(m.Name.size(), 33u);

        const Pad pads[2] = {CheckSpawn(m, 0), CheckSpawn(m, 1)};
        // Rain and drips gather where they never reach the air over a pad in a long match.
        const std::vector<uint8_t> flooded = FloodedAfterHalfAnHour(w);
        for (const Pad& pad : pads) {
            const auto row = flooded.begin() + (pad.Row - 1) * w.TerrainBitmap.Width;
            EXPECT_EQ(std::count(row + pad.Left, row + pad.Right + 1, TerrainWater), 0) << "water on the pad";
        }
        EXPECT_GT(std::fabs(w.Ships[0].StartX - w.Ships[1].StartX), 300.0);

        for (const TParticleArea& a : w.ParticleAreas) {
            kinds.insert(a.ParticleKind);
            EXPECT_GT(a.Rate, 0.0f);
            EXPECT_NE(a.ParticleKind, 0) << "an unknown type";
            for (int yy = a.AreaY; yy < a.AreaY + a.AreaHeight; ++yy)
                for (int xx = a.AreaX; xx < a.AreaX + a.AreaWidth; ++xx)
                    ASSERT_TRUE(w.MiddleLayer.Contains(xx, yy) && m.Class(xx, yy) == TerrainEmpty)
                        << "particle area at " << a.AreaX << "," << a.AreaY;
        }
    }
    EXPECT_EQ(kinds, (std::set<int>{ParticleAnt, ParticleGlue, ParticleRain, ParticleSnow, ParticleWater}));
    EXPECT_TRUE(singleScreen && scaled && parallax);
    EXPECT_EQ(classes, (std::set<int>{TerrainEmpty, TerrainWater, TerrainSnow, TerrainPad, TerrainGround}));
}

} // namespace
