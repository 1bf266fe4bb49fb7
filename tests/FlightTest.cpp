// FlightTest: thrust and exhaust, turning and walking, the camera, feet and bases, motion, terrain contact
// and water.
#include "MatchTestKit.h"

#include "core/GameMath.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <tuple>

namespace {

struct Flight : ::testing::Test {
    // 800 x 600: wider and taller than one view; player 1 starts left, player 2 right.
    TMatchWorld W{800, 600, {200, 300}, {600, 300}};
    TWorld& M = *W.Map;
    TShip& S = W.Ship(0);

    int LiveRecords(uint8_t kind) const {
        return int(std::count_if(M.Projectiles.begin(), M.Projectiles.end(),
                                 [kind](const TProjectile& r) { return r.Kind == kind; }));
    }
    void Put(float x, float y, float vx, float vy) {
        std::tie(S.X, S.Y, S.VX, S.VY) = std::tuple{x, y, vx, vy};
    }
    // Paints the world cell under opaque pixel i of player 1's current silhouette.
    std::pair<int, int> PaintUnder(size_t i, uint8_t cls, uint32_t pixel = 0x806040) {
        const auto pixels = W.OpaquePixels(0);
        const auto cell = W.WorldCell(0, pixels.at(i).first, pixels.at(i).second);
        W.Paint(cell.first, cell.second, cls, pixel);
        return cell;
    }
};

// Thrust, turning, the camera, motion and the exhaust run through every frame of the fight the
// determinism guard digests; what is checked here are the limits a fight rarely reaches exactly.
TEST_F(Flight, TheLastDropOfFuelIsSpentWithoutGoingBelowEmpty) {
    S.Fuel = 0.1f;
    S.VY = 0;
    M.Thrust(0);
    EXPECT_EQ(S.Fuel, 0.0f);
    EXPECT_LT(S.VY, 0.0f);
    S.VY = 0;
    const int sparks = LiveRecords(4);
    M.Thrust(0);
    EXPECT_EQ(S.VY, 0.0f);
    EXPECT_EQ(LiveRecords(4), sparks) << "no flame without fuel";
    S.OnFoot = 1;
    M.Thrust(0);
    EXPECT_EQ(S.VY, 0.0f) << "a pilot without fuel does not rise";
}

// Turning, walking, a ship held straight at its own pad, the angle within which feet land, and pads
// that no crash digs away: planted faults in each fail the golden replays.
TEST_F(Flight, FeetStandOnGroundAndPadsButNotOnWaterSnowOrGlue) {
    // Class under the feet, heading, whether the ship stands (its fall stopped).
    const std::tuple<uint8_t, double, bool> cases[] = {{TerrainGround, 64, true},
                                                       {TerrainWater, 64, false},
                                                       {TerrainSnow, 64, false},
                                                       {TerrainGlue, 64, false}};
    for (const auto& [cls, angle, stands] : cases) {
        W.PaintRow(150, 250, 400, cls);
        W.StandOn(0, 200, 400);
        S.Angle = angle;
        S.VY = 1;
        M.CheckFeet(0);
        EXPECT_EQ(S.VY, stands ? 0.0f : 1.0f) << int(cls) << " at " << angle;
        EXPECT_EQ(S.AtOwnBase + S.AtEnemyBase, 0) << "ground is no base";
    }

    // Hovering one row above the ground sets the ship upright, but it does not stand yet.
    W.PaintRow(150, 250, 451, TerrainGround);
    W.StandOn(0, 200, 450);
    S.Angle = 60;
    S.VY = 1.5f;
    M.CheckFeet(0);
    EXPECT_EQ(S.Angle, 64.0);
    EXPECT_EQ(S.VY, 1.5f);

    // A pad belongs to the nearer start point; exactly halfway counts as the enemy's.
    W.PaintRow(150, 650, 400, TerrainPad);
    for (auto [x, own] : {std::pair{250.0f, 1}, {550.0f, 0}, {400.0f, 0}}) {
        S.AtOwnBase = 0;
        S.AtEnemyBase = 0;
        W.StandOn(0, x, 400);
        M.CheckFeet(0);
        EXPECT_EQ(S.AtOwnBase, own) << "pad at " << x;
        EXPECT_EQ(S.AtEnemyBase, 1 - own) << "pad at " << x;
    }
}

TEST_F(Flight, EachRockPixelTouchedCosts20AndIsCarved) {
    S.Alive = 1;
    S.Health = 80;
    std::vector<std::pair<int, int>> wall;
    for (size_t i = 1; i < 4; ++i)
        wall.push_back(PaintUnder(i, TerrainGround));
    M.TerrainContact(0, W.Waves);
    EXPECT_EQ(S.Health, 20.0f);
    EXPECT_EQ(S.Alive, 1);
    for (auto [x, y] : wall) {
        EXPECT_EQ(M.TerrainBitmap.Get(x, y), TerrainEmpty);
        EXPECT_EQ(M.MiddleLayer.Pixel(x, y), 0u);
    }
    // Three more finish it, and health never goes below 0.
    for (size_t i = 4; i < 7; ++i)
        PaintUnder(i, TerrainGround);
    M.TerrainContact(0, W.Waves);
    EXPECT_EQ(S.Health, 0.0f);
    EXPECT_EQ(S.Alive, 0);
}

TEST_F(Flight, APilotDiesTouchingRockWithASolidPixel) {
    S.OnFoot = 1;
    S.Angle = 256;
    S.Health = 8;
    S.Alive = 1;
    // Rock at every pixel without blue (his pure red trousers and green shirt) leaves him be; one
    // at a pixel with blue kills him.
    const Surface& mask = W.Mask(0);
    std::pair<int, int> solid{-1, -1};
    int clear = 0;
    for (auto [c, r] : W.OpaquePixels(0)) {
        const auto [x, y] = W.WorldCell(0, c, r);
        if ((mask.Pixel(c, r) & 0xFF) != 0) {
            solid = {x, y};
            continue;
        }
        W.Paint(x, y, TerrainGround);
        ++clear;
    }
    ASSERT_GT(clear, 0) << "the test figure has pixels without blue";
    M.TerrainContact(0, W.Waves);
    EXPECT_EQ(S.Alive, 1);
    EXPECT_EQ(S.Health, 8.0f);
    ASSERT_GE(solid.first, 0);
    W.Paint(solid.first, solid.second, TerrainGround);
    M.TerrainContact(0, W.Waves);
    EXPECT_EQ(S.Alive, 0);
    EXPECT_EQ(S.Health, 0.0f);
}

TEST_F(Flight, LeavingTheWorldIsFatal) {
    const int h = W.Mask(0).Height;
    // With its centre h / 2 down, the top row would be above the world.
    for (auto [y, alive] : {std::pair{h / 2, 0}, {h / 2 + 1, 1}}) {
        S.Alive = 1;
        S.Y = float(y);
        M.TerrainContact(0, W.Waves);
        EXPECT_EQ(S.Alive, alive) << "centre at " << y;
    }
    // Poking out at the side is as fatal, and nothing is written outside the grid.
    S.X = 2;
    M.TerrainContact(0, W.Waves);
    EXPECT_EQ(S.Alive, 0);
    EXPECT_EQ(S.Health, 100.0f);
}

TEST_F(Flight, WaterCarriesTheBodyUpAndItsSurfaceHoldsIt) {
    Put(300, 300, 1.12f, 1.12f);
    W.Paint(300, 300, TerrainWater);
    M.Float(0);
    EXPECT_FLOAT_EQ(S.VX, 1);
    EXPECT_FLOAT_EQ(S.VY, float(1 - 6.0 / 42 * 0.5));

    // Just above the surface: a lighter lift and no drag.
    W.Paint(300, 300, TerrainEmpty);
    W.Paint(300, 301, TerrainWater);
    Put(300, 300, 1, 1);
    M.Float(0);
    EXPECT_EQ(S.VX, 1.0f);
    EXPECT_FLOAT_EQ(S.VY, float(1 - 4.0 / 42 * 0.5));

    W.Paint(300, 301, TerrainEmpty);
    M.Float(0);
    EXPECT_FLOAT_EQ(S.VY, float(1 - 4.0 / 42 * 0.5)) << "dry air changes nothing";
}

} // namespace
