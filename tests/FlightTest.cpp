// FlightTest: thrust and exhaust, turning and walking, the camera, feet and bases, motion, terrain contact
// and water.
#include "MatchTestKit.h"

#include "core/GameMath.h"

#include <gtest/gtest.h>

#include <algorithm>

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

TEST_F(Flight, ThrustPushesAlongTheHeadingAndBurnsFuel) {
    ASSERT_EQ(M.FrameRate, 42);
    M.Thrust(0);
    EXPECT_FLOAT_EQ(S.VY, float(-0.5 * 20.0 / 42));
    EXPECT_NEAR(S.VX, 0.0f, 1e-6);
    EXPECT_FLOAT_EQ(S.Fuel, float(200 - 10.0 / 42));

    // Pointing right, the push is to the right only.
    TShip& t = W.Ship(1);
    t.Angle = 0;
    M.Thrust(1);
    EXPECT_FLOAT_EQ(t.VX, float(0.5 * 20.0 / 42));
    EXPECT_NEAR(t.VY, 0.0f, 1e-6);

    // The last drop of fuel is spent without going below empty; then nothing happens.
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
}

TEST_F(Flight, ExhaustSparksCycleTheNozzlesAndLeaveBackwards) {
    S.Nozzles = {{128, 10}, {120, 10}, {136, 10}};
    S.NozzleIndex = 0;
    M.SetFrameRate(70);
    // Round(0.25 x 640 / 70) + 2 = 4 sparks, each from the next nozzle.
    M.Thrust(0);
    EXPECT_EQ(LiveRecords(4), 4);
    EXPECT_EQ(S.NozzleIndex, 1);
    M.Thrust(0);
    EXPECT_EQ(S.NozzleIndex, 2);
    EXPECT_EQ(LiveRecords(4), 8);
    // Upright, the nozzles are below the centre and the flames fly downwards.
    for (const TProjectile& r : M.Projectiles) {
        if (r.Kind != 4) continue;
        EXPECT_GT(r.Y, S.Y + 8);
        EXPECT_LT(std::abs(r.X - (S.X - 1)), 5.0f);
        EXPECT_GT(r.VY, S.VY);
    }
}

TEST_F(Flight, APilotLiftsWithHisPackAndSparksLeaveHisBack) {
    S.OnFoot = 1;
    S.Angle = 258; // facing right: the pack is on his left
    S.Fuel = 75;
    M.Thrust(0);
    EXPECT_FLOAT_EQ(S.VY, float(-7.0 / 42 * 0.5));
    EXPECT_FLOAT_EQ(S.Fuel, float(75 - 10.0 / 42));
    // Round(0.25 x 320 / 42) + 2 = 4 sparks at (X - 1.75, Y + 2), thrown downwards.
    EXPECT_EQ(LiveRecords(4), 4);
    for (const TProjectile& r : M.Projectiles) {
        if (r.Kind != 4) continue;
        EXPECT_FLOAT_EQ(r.X, S.X - 1.75f);
        EXPECT_FLOAT_EQ(r.Y, S.Y + 2);
        EXPECT_GE(r.VY, S.VY + 2);
    }
    S.Fuel = 0;
    S.VY = 0;
    M.Thrust(0);
    EXPECT_EQ(S.VY, 0.0f) << "a pilot without fuel does not rise";
}

TEST_F(Flight, ShipsTurnExceptAtTheOwnBaseWhilePilotsWalk) {
    M.TurnLeft(0);
    EXPECT_DOUBLE_EQ(S.Angle, 64 + 160.0 / 42);
    M.TurnRight(0);
    M.TurnRight(0);
    EXPECT_DOUBLE_EQ(S.Angle, 64 + 160.0 / 42 - 2 * 160.0 / 42);

    S.Angle = 64;
    S.AtOwnBase = 1;
    M.TurnLeft(0);
    M.TurnRight(0);
    EXPECT_EQ(S.Angle, 64.0);
    S.AtOwnBase = 0;
    S.AtEnemyBase = 1;
    M.TurnLeft(0);
    EXPECT_GT(S.Angle, 64.0) << "the enemy base does not hold a ship";

    S.OnFoot = 1;
    S.AtOwnBase = 1;
    M.TurnLeft(0);
    EXPECT_EQ(S.Angle, 256.0);
    EXPECT_FLOAT_EQ(S.VX, float(-10.0 / 42 * 0.5));
    M.TurnRight(0);
    M.TurnRight(0);
    EXPECT_EQ(S.Angle, 258.0);
    EXPECT_FLOAT_EQ(S.VX, float(10.0 / 42 * 0.5));
}

TEST_F(Flight, TheCameraLeadsTheShipAndStaysOnTheMap) {
    Put(400, 300, 2, 0);
    M.ViewX[0] = 100;
    M.FollowCamera(0);
    // (cos(64) x 30 + 5 x 100 + 400 - 160 + 10 x 2) / 6
    EXPECT_NEAR(M.ViewX[0], (500 + 400 - 160 + 20) / 6.0, 1e-4);
    EXPECT_FLOAT_EQ(M.ViewY[0], 85);

    // Clamped to the map: left and top edges, then right and bottom edges.
    Put(5, 5, 0, 0);
    M.ViewX[0] = 0;
    M.FollowCamera(0);
    EXPECT_EQ(M.ViewX[0], 0.0f);
    EXPECT_EQ(M.ViewY[0], 0.0f);
    Put(795, 595, 0, 0);
    for (int i = 0; i < 60; ++i)
        M.FollowCamera(0);
    EXPECT_EQ(M.ViewX[0], 800.0f - 320);
    EXPECT_EQ(M.ViewY[0], 600.0f - 430);

    // A pilot looks 40 pixels ahead the way he faces.
    S.OnFoot = 1;
    S.X = 400;
    for (auto [angle, lead] : {std::pair{256.0, -40.0}, {258.0, 40.0}}) {
        S.Angle = angle;
        M.ViewX[0] = 200;
        M.FollowCamera(0);
        EXPECT_NEAR(M.ViewX[0], (lead + 29 * 200.0 + 400 - 160) / 30, 1e-4) << "facing " << angle;
    }
}

TEST_F(Flight, FeetStandOnGroundAndPadsButNotOnWaterSnowOrGlue) {
    W.PaintRow(150, 250, 400, TerrainGround);
    W.StandOn(0, 200, 400);
    S.VX = 3;
    S.VY = 1;
    S.Angle = 70;
    M.CheckFeet(0);
    EXPECT_EQ(S.Angle, 64.0);
    EXPECT_EQ(S.VY, 0.0f);
    EXPECT_FLOAT_EQ(S.VX, 2);
    EXPECT_EQ(S.AtOwnBase + S.AtEnemyBase, 0) << "ground is no base";

    // Too tilted to look for feet at all.
    S.Angle = 74;
    S.VY = 1;
    M.CheckFeet(0);
    EXPECT_EQ(S.VY, 1.0f);

    for (uint8_t cls : {TerrainWater, TerrainSnow, TerrainGlue}) {
        W.PaintRow(150, 250, 400, cls);
        S.Angle = 64;
        S.VY = 1;
        M.CheckFeet(0);
        EXPECT_EQ(S.VY, 1.0f) << "class " << int(cls);
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

TEST_F(Flight, MoveAppliesVelocityThenGravityAndDrag) {
    Put(100, 100, 2, -1);
    M.Move(0);
    EXPECT_FLOAT_EQ(S.X, 102);
    EXPECT_FLOAT_EQ(S.Y, 99);
    EXPECT_FLOAT_EQ(S.VX, float(2 / 1.01));
    EXPECT_FLOAT_EQ(S.VY, float((-1 + 4.0 / 42 * 0.5) / 1.01));
}

TEST_F(Flight, EachRockPixelTouchedCosts20AndIsCarvedButPadsStay) {
    S.Alive = 1;
    // A pad hurts as much, but nothing digs it away.
    const auto pad = PaintUnder(0, TerrainPad, 0xFF0000);
    M.TerrainContact(0, W.Waves);
    EXPECT_EQ(S.Health, 80.0f);
    EXPECT_EQ(M.TerrainBitmap.Get(pad.first, pad.second), TerrainPad);
    EXPECT_EQ(M.MiddleLayer.Pixel(pad.first, pad.second), 0xFF0000u);
    W.Paint(pad.first, pad.second, TerrainEmpty, 0);

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
    M.TerrainContact(0, W.Waves);
    EXPECT_EQ(S.Health, 20.0f) << "carved pixels are not touched again";

    // Three more finish it, and health never goes below 0.
    for (size_t i = 4; i < 7; ++i)
        PaintUnder(i, TerrainGround);
    M.TerrainContact(0, W.Waves);
    EXPECT_EQ(S.Health, 0.0f);
    EXPECT_EQ(S.Alive, 0);
}

TEST_F(Flight, SnowIsPushedAsideWaterPassedAndGlueSlows) {
    S.Alive = 1;
    S.VX = 1;
    S.VY = 1;
    const auto snow = PaintUnder(0, TerrainSnow, 0xF0F0F0);
    const auto water = PaintUnder(1, TerrainWater, 0x0000FF);
    const auto glue = PaintUnder(2, TerrainGlue, 0x40FF40);
    M.TerrainContact(0, W.Waves);
    EXPECT_EQ(S.Health, 100.0f) << "snow, water and glue do no harm";
    EXPECT_FLOAT_EQ(S.VX, float(1 / 1.01 / 1.1));
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

TEST_F(Flight, APilotDiesTouchingRockWithASolidPixelButStandsOnIt) {
    S.OnFoot = 1;
    S.Angle = 256;
    S.Health = 8;
    W.PaintRow(150, 250, 400, TerrainGround);
    W.StandOn(0, 200, 400);
    for (int i = 0; i < 40; ++i) {
        S.Alive = 1;
        M.CheckFeet(0);
        M.Move(0);
        M.TerrainContact(0, W.Waves);
        ASSERT_EQ(S.Alive, 1) << "frame " << i;
    }
    EXPECT_EQ(S.Health, 8.0f);
    EXPECT_EQ(S.Y, float(400 - S.FootY[1]));

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
