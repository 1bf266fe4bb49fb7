// FlightTest: thrust and exhaust, turning and walking, the camera, feet and bases, motion, terrain contact
// and water.
#include "MatchTestKit.h"

#include "app/GameMath.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

struct Flight : ::testing::Test {
    // 800 x 600: wider and taller than one view; player 1 starts left, player 2 right.
    TMatchWorld W{800, 600, {200, 300}, {600, 300}};
    TMap& M = *W.Map;

    int LiveRecords(uint8_t kind) const {
        return int(std::count_if(M.Projectiles.begin(), M.Projectiles.end(),
                                 [kind](const TProjectile& r) { return r.Kind == kind; }));
    }
};

TEST_F(Flight, ThrustPushesAlongTheHeadingAndBurnsFuel) {
    ASSERT_EQ(M.FrameRate, 42);
    TShip& s = W.Ship(0);
    M.Thrust(0);
    EXPECT_FLOAT_EQ(s.VY, float(-0.5 * 20.0 / 42));
    EXPECT_NEAR(s.VX, 0.0f, 1e-6);
    EXPECT_FLOAT_EQ(s.Fuel, float(200 - 10.0 / 42));

    // Pointing right, the push is to the right only.
    TShip& t = W.Ship(1);
    t.Angle = 0;
    M.Thrust(1);
    EXPECT_FLOAT_EQ(t.VX, float(0.5 * 20.0 / 42));
    EXPECT_NEAR(t.VY, 0.0f, 1e-6);

    // The last drop of fuel is spent without going below empty; then nothing happens.
    s.Fuel = 0.1f;
    s.VY = 0;
    M.Thrust(0);
    EXPECT_EQ(s.Fuel, 0.0f);
    EXPECT_LT(s.VY, 0.0f);
    s.VY = 0;
    const int sparks = LiveRecords(4);
    M.Thrust(0);
    EXPECT_EQ(s.VY, 0.0f);
    EXPECT_EQ(LiveRecords(4), sparks) << "no flame without fuel";
}

TEST_F(Flight, ExhaustSparksCycleTheNozzlesAndLeaveBackwards) {
    TShip& s = W.Ship(0);
    s.Nozzles = {{128, 10}, {120, 10}, {136, 10}};
    s.NozzleIndex = 0;
    M.SetFrameRate(70);
    // Round(0.25 x 640 / 70) + 2 = 4 sparks, each from the next nozzle.
    M.Thrust(0);
    EXPECT_EQ(LiveRecords(4), 4);
    EXPECT_EQ(s.NozzleIndex, 1);
    M.Thrust(0);
    EXPECT_EQ(s.NozzleIndex, 2);
    EXPECT_EQ(LiveRecords(4), 8);
    // Upright, the nozzles are below the centre and the flames fly downwards.
    for (const TProjectile& r : M.Projectiles) {
        if (r.Kind != 4) continue;
        EXPECT_GT(r.Y, s.Y + 8);
        EXPECT_LT(std::abs(r.X - (s.X - 1)), 5.0f);
        EXPECT_GT(r.VY, s.VY);
    }
}

TEST_F(Flight, APilotLiftsWithHisPackAndSparksLeaveHisBack) {
    TShip& s = W.Ship(0);
    s.OnFoot = 1;
    s.Angle = 258; // facing right: the pack is on his left
    s.Fuel = 75;
    M.Thrust(0);
    EXPECT_FLOAT_EQ(s.VY, float(-7.0 / 42 * 0.5));
    EXPECT_FLOAT_EQ(s.Fuel, float(75 - 10.0 / 42));
    // Round(0.25 x 320 / 42) + 2 = 4 sparks at (X - 1.75, Y + 2), thrown downwards.
    EXPECT_EQ(LiveRecords(4), 4);
    for (const TProjectile& r : M.Projectiles) {
        if (r.Kind != 4) continue;
        EXPECT_FLOAT_EQ(r.X, s.X - 1.75f);
        EXPECT_FLOAT_EQ(r.Y, s.Y + 2);
        EXPECT_GE(r.VY, s.VY + 2);
    }
    s.Fuel = 0;
    s.VY = 0;
    M.Thrust(0);
    EXPECT_EQ(s.VY, 0.0f) << "a pilot without fuel does not rise";
}

TEST_F(Flight, ShipsTurnExceptAtTheOwnBaseWhilePilotsWalk) {
    TShip& s = W.Ship(0);
    M.TurnLeft(0);
    EXPECT_DOUBLE_EQ(s.Angle, 64 + 160.0 / 42);
    M.TurnRight(0);
    M.TurnRight(0);
    EXPECT_DOUBLE_EQ(s.Angle, 64 + 160.0 / 42 - 2 * 160.0 / 42);

    s.Angle = 64;
    s.AtOwnBase = 1;
    M.TurnLeft(0);
    M.TurnRight(0);
    EXPECT_EQ(s.Angle, 64.0);
    s.AtOwnBase = 0;
    s.AtEnemyBase = 1;
    M.TurnLeft(0);
    EXPECT_GT(s.Angle, 64.0) << "the enemy base does not hold a ship";

    s.OnFoot = 1;
    s.AtOwnBase = 1;
    M.TurnLeft(0);
    EXPECT_EQ(s.Angle, 256.0);
    EXPECT_FLOAT_EQ(s.VX, float(-10.0 / 42 * 0.5));
    M.TurnRight(0);
    M.TurnRight(0);
    EXPECT_EQ(s.Angle, 258.0);
    EXPECT_FLOAT_EQ(s.VX, float(10.0 / 42 * 0.5));
}

TEST_F(Flight, TheCameraLeadsTheShipAndStaysOnTheMap) {
    TShip& s = W.Ship(0);
    s.X = 400;
    s.Y = 300;
    s.VX = 2;
    M.ViewX[0] = 100;
    M.FollowCamera(0);
    // (cos(64) x 30 + 5 x 100 + 400 - 160 + 10 x 2) / 6
    EXPECT_NEAR(M.ViewX[0], (500 + 400 - 160 + 20) / 6.0, 1e-4);
    EXPECT_FLOAT_EQ(M.ViewY[0], 85);

    // Clamped to the map: left and top edges, then right and bottom edges.
    s.X = 5;
    s.Y = 5;
    s.VX = 0;
    M.ViewX[0] = 0;
    M.FollowCamera(0);
    EXPECT_EQ(M.ViewX[0], 0.0f);
    EXPECT_EQ(M.ViewY[0], 0.0f);
    s.X = 795;
    s.Y = 595;
    for (int i = 0; i < 60; ++i)
        M.FollowCamera(0);
    EXPECT_EQ(M.ViewX[0], 800.0f - 320);
    EXPECT_EQ(M.ViewY[0], 600.0f - 430);

    // A pilot looks 40 pixels ahead the way he faces.
    s.OnFoot = 1;
    s.X = 400;
    s.Angle = 256;
    M.ViewX[0] = 200;
    M.FollowCamera(0);
    EXPECT_NEAR(M.ViewX[0], (-40 + 29 * 200.0 + 400 - 160) / 30, 1e-4);
    s.Angle = 258;
    M.ViewX[0] = 200;
    M.FollowCamera(0);
    EXPECT_NEAR(M.ViewX[0], (40 + 29 * 200.0 + 400 - 160) / 30, 1e-4);
}

TEST_F(Flight, FeetStandOnSolidGroundButNotOnWaterSnowOrGlue) {
    TShip& s = W.Ship(0);
    W.PaintRow(150, 250, 400, TerrainGround);
    W.StandOn(0, 200, 400);
    s.VX = 3;
    s.VY = 1;
    s.Angle = 70;
    M.CheckFeet(0);
    EXPECT_EQ(s.Angle, 64.0);
    EXPECT_EQ(s.VY, 0.0f);
    EXPECT_FLOAT_EQ(s.VX, 2);
    EXPECT_EQ(s.AtOwnBase + s.AtEnemyBase, 0) << "ground is no base";

    // Too tilted to look for feet at all.
    s.Angle = 74;
    s.VY = 1;
    M.CheckFeet(0);
    EXPECT_EQ(s.VY, 1.0f);

    for (uint8_t cls : {TerrainWater, TerrainSnow, TerrainGlue}) {
        W.PaintRow(150, 250, 400, cls);
        s.Angle = 64;
        s.VY = 1;
        M.CheckFeet(0);
        EXPECT_EQ(s.VY, 1.0f) << "class " << int(cls);
    }
}

TEST_F(Flight, AShipHoveringOneRowAboveTheGroundIsSetUpright) {
    TShip& s = W.Ship(0);
    W.PaintRow(150, 250, 401, TerrainGround);
    W.StandOn(0, 200, 400); // feet on the empty row 400, ground just below
    s.Angle = 60;
    s.VY = 1.5f;
    M.CheckFeet(0);
    EXPECT_EQ(s.Angle, 64.0);
    EXPECT_EQ(s.VY, 1.5f) << "still moving down: it does not stand yet";
}

TEST_F(Flight, APadBelongsToTheNearerStartPoint) {
    TShip& s = W.Ship(0);
    W.PaintRow(150, 650, 400, TerrainPad);
    W.StandOn(0, 250, 400);
    M.CheckFeet(0);
    EXPECT_EQ(s.AtOwnBase, 1);
    EXPECT_EQ(s.AtEnemyBase, 0);

    s.AtOwnBase = 0;
    W.StandOn(0, 550, 400);
    M.CheckFeet(0);
    EXPECT_EQ(s.AtOwnBase, 0);
    EXPECT_EQ(s.AtEnemyBase, 1);

    // Exactly halfway counts as the enemy's.
    s.AtEnemyBase = 0;
    W.StandOn(0, 400, 400);
    M.CheckFeet(0);
    EXPECT_EQ(s.AtEnemyBase, 1);
}

TEST_F(Flight, MoveAppliesVelocityThenGravityAndDrag) {
    TShip& s = W.Ship(0);
    s.X = 100;
    s.Y = 100;
    s.VX = 2;
    s.VY = -1;
    M.Move(0);
    EXPECT_FLOAT_EQ(s.X, 102);
    EXPECT_FLOAT_EQ(s.Y, 99);
    EXPECT_FLOAT_EQ(s.VX, float(2 / 1.01));
    EXPECT_FLOAT_EQ(s.VY, float((-1 + 4.0 / 42 * 0.5) / 1.01));
}

TEST_F(Flight, AThreePixelWallTouchCosts60AndCarvesThosePixels) {
    TShip& s = W.Ship(0);
    s.Alive = 1;
    const auto pixels = W.OpaquePixels(0);
    ASSERT_GE(pixels.size(), 3u);
    std::vector<std::pair<int, int>> wall;
    for (size_t i = 0; i < 3; ++i) {
        wall.push_back(W.WorldCell(0, pixels[i].first, pixels[i].second));
        W.Paint(wall.back().first, wall.back().second, TerrainGround);
    }
    M.TerrainContact(0, W.Waves);
    EXPECT_EQ(s.Health, 40.0f);
    EXPECT_EQ(s.Alive, 1);
    for (auto [x, y] : wall) {
        EXPECT_EQ(M.TerrainBitmap.Get(x, y), TerrainEmpty);
        EXPECT_EQ(M.MiddleLayer.Pixel(x, y), 0u);
    }
    M.TerrainContact(0, W.Waves);
    EXPECT_EQ(s.Health, 40.0f) << "carved pixels are not touched again";

    // Two more touches finish it, and health never goes below 0.
    for (size_t i = 3; i < 6; ++i) {
        const auto [x, y] = W.WorldCell(0, pixels[i].first, pixels[i].second);
        W.Paint(x, y, TerrainGround);
    }
    M.TerrainContact(0, W.Waves);
    EXPECT_EQ(s.Health, 0.0f);
    EXPECT_EQ(s.Alive, 0);
}

TEST_F(Flight, APadHurtsButIsNeverDugAway) {
    TShip& s = W.Ship(0);
    s.Alive = 1;
    const auto pixels = W.OpaquePixels(0);
    const auto [x, y] = W.WorldCell(0, pixels[0].first, pixels[0].second);
    W.Paint(x, y, TerrainPad, 0xFF0000);
    M.TerrainContact(0, W.Waves);
    EXPECT_EQ(s.Health, 80.0f);
    EXPECT_EQ(M.TerrainBitmap.Get(x, y), TerrainPad);
    EXPECT_EQ(M.MiddleLayer.Pixel(x, y), 0xFF0000u);
}

TEST_F(Flight, SnowIsPushedAsideWaterPassedAndGlueSlows) {
    TShip& s = W.Ship(0);
    s.Alive = 1;
    s.VX = 1;
    s.VY = 1;
    const auto pixels = W.OpaquePixels(0);
    const auto snow = W.WorldCell(0, pixels[0].first, pixels[0].second);
    const auto water = W.WorldCell(0, pixels[1].first, pixels[1].second);
    const auto glue = W.WorldCell(0, pixels[2].first, pixels[2].second);
    W.Paint(snow.first, snow.second, TerrainSnow, 0xF0F0F0);
    W.Paint(water.first, water.second, TerrainWater, 0x0000FF);
    W.Paint(glue.first, glue.second, TerrainGlue, 0x40FF40);
    M.TerrainContact(0, W.Waves);
    EXPECT_EQ(s.Health, 100.0f) << "snow, water and glue do no harm";
    EXPECT_FLOAT_EQ(s.VX, float(1 / 1.01 / 1.1));
    EXPECT_EQ(M.TerrainBitmap.Get(snow.first, snow.second), TerrainEmpty);
    EXPECT_EQ(M.MiddleLayer.Pixel(snow.first, snow.second), 0u);
    EXPECT_EQ(M.TerrainBitmap.Get(water.first, water.second), TerrainWater);
    EXPECT_EQ(M.TerrainBitmap.Get(glue.first, glue.second), TerrainGlue);
    // The snow flies on as a loose flake of its own colour, with the ship's speed.
    const TProjectile& flake = M.Projectiles[M.ProjectileCursor];
    EXPECT_EQ(flake.Kind, 6);
    EXPECT_EQ(flake.X, float(snow.first));
    EXPECT_EQ(flake.Y, float(snow.second));
    EXPECT_EQ((std::array<int, 3>{flake.R, flake.G, flake.B}), (std::array<int, 3>{0xF0, 0xF0, 0xF0}));
    EXPECT_FLOAT_EQ(flake.VX, float(1 / 1.01));
}

TEST_F(Flight, APilotDiesTouchingRockWithAnyPixelButStandsOnIt) {
    TShip& s = W.Ship(0);
    s.OnFoot = 1;
    s.Angle = 256;
    s.Health = 8;
    W.PaintRow(150, 250, 400, TerrainGround);
    W.StandOn(0, 200, 400);
    for (int i = 0; i < 40; ++i) {
        s.Alive = 1;
        M.CheckFeet(0);
        M.Move(0);
        M.TerrainContact(0, W.Waves);
        ASSERT_EQ(s.Alive, 1) << "frame " << i;
    }
    EXPECT_EQ(s.Health, 8.0f);
    EXPECT_EQ(s.Y, float(400 - s.FootY[1]));

    // One rock pixel at his red trousers, which count as much as his blue helmet.
    const Surface& mask = W.Mask(0);
    int legC = -1, legR = -1;
    for (auto [c, r] : W.OpaquePixels(0))
        if ((mask.Pixel(c, r) & 0xFF) == 0) std::tie(legC, legR) = std::pair{c, r};
    ASSERT_GE(legC, 0) << "the test figure has pixels without blue";
    const auto [x, y] = W.WorldCell(0, legC, legR);
    W.Paint(x, y, TerrainGround);
    M.TerrainContact(0, W.Waves);
    EXPECT_EQ(s.Alive, 0);
    EXPECT_EQ(s.Health, 0.0f);
}

TEST_F(Flight, LeavingTheWorldIsFatal) {
    TShip& s = W.Ship(0);
    const int h = W.Mask(0).Height;
    s.Alive = 1;
    s.Y = float(h / 2); // the top row would be above the world
    M.TerrainContact(0, W.Waves);
    EXPECT_EQ(s.Alive, 0);

    s.Alive = 1;
    s.Y = float(h / 2 + 1);
    M.TerrainContact(0, W.Waves);
    EXPECT_EQ(s.Alive, 1);

    // Poking out at the side is as fatal, and nothing is written outside the grid.
    s.X = 2;
    M.TerrainContact(0, W.Waves);
    EXPECT_EQ(s.Alive, 0);
    EXPECT_EQ(s.Health, 100.0f);
}

TEST_F(Flight, WaterCarriesTheBodyUpAndItsSurfaceHoldsIt) {
    TShip& s = W.Ship(0);
    s.X = 300;
    s.Y = 300;
    W.Paint(300, 300, TerrainWater);
    s.VX = 1.12f;
    s.VY = 1.12f;
    M.Float(0);
    EXPECT_FLOAT_EQ(s.VX, 1);
    EXPECT_FLOAT_EQ(s.VY, float(1 - 6.0 / 42 * 0.5));

    // Just above the surface: a lighter lift and no drag.
    W.Paint(300, 300, TerrainEmpty);
    W.Paint(300, 301, TerrainWater);
    s.VX = 1;
    s.VY = 1;
    M.Float(0);
    EXPECT_EQ(s.VX, 1.0f);
    EXPECT_FLOAT_EQ(s.VY, float(1 - 4.0 / 42 * 0.5));

    W.Paint(300, 301, TerrainEmpty);
    M.Float(0);
    EXPECT_FLOAT_EQ(s.VY, float(1 - 4.0 / 42 * 0.5)) << "dry air changes nothing";
}

} // namespace
