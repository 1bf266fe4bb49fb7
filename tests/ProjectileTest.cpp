// ProjectileTest: the pool's spawn operation and the motion rules of the kinds, on small real worlds.
// Every kind a weapon, an area or a burst throws moves in the determinism guard's fight, whose digest
// holds the exact motion; these tests keep the limits and the rules a fight does not reach.
#include "CombatTestKit.h"

#include "core/GameMath.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include <map>

namespace {

const uint32_t Rock = Rgb(120, 90, 60);

struct Projectiles : TCombatTest {
    void SetUp() override { Map->Rng.Seed = 11; }
    TProjectile& Last() { return Map->Projectiles[Map->ProjectileCursor]; }
    TProjectile& At(int slot) { return Map->Projectiles[size_t(slot)]; }
};

// Spawns clamped into the terrain, a snowflake falling apart into its diamond and rain into two drops
// fail the golden replays or the determinism guard's fights when changed.
TEST_F(Projectiles, SpawnFillsKindValuesAndKeepsWhatTheKindDoesNotSet) {
    // A slot keeps what the kind does not set: a laser point inherits the old record's weight.
    Map->Projectiles[10] = TProjectile{};
    Map->Projectiles[10].Weight = 77;
    Map->Projectiles[10].Counter = 55;
    Map->ProjectileCursor = 9;
    Map->Spawn(11, 5, 5, 0, 0);
    EXPECT_EQ(Map->ProjectileCursor, 10);
    EXPECT_EQ(Last().Weight, 77);
    EXPECT_EQ(Last().Counter, 0u);
    // A bubble takes its colour from the background's average.
    Map->BackAverage = {100, 40, 255};
    Map->Spawn(10, 5, 5, 0, 0);
    // Round((100 + 77) / 1.5), Round((40 + 107) / 1.5)
    EXPECT_EQ(Rgb(Last().R, Last().G, Last().B), Rgb(118, 98, 255));
}

TEST_F(Projectiles, AWaterDropSettlesInAOnePixelHoleAndIsLostAgainstAWallWithoutSideSpeed) {
    PutBlock(*Map, 80, 201, 120, 220, TerrainGround, Rock);
    PutBlock(*Map, 80, 180, 100, 201, TerrainGround, Rock);
    PutBlock(*Map, 101, 180, 120, 201, TerrainGround, Rock);
    Map->Spawn(3, 100, 150, 0.0000001f, 0);
    Frames(200);
    EXPECT_EQ(CountKind(*Map, 0), 0);
    EXPECT_EQ(Map->TerrainBitmap.Get(100, 200), TerrainWater);
    EXPECT_EQ(Map->MiddleLayer.Pixel(100, 200) & 0xFF, 255u); // row + column even: painted blue
    EXPECT_EQ(Map->TerrainBitmap.Get(100, 199), TerrainEmpty);

    // A drop without sideways speed that lands against a wall, open floor on its other side, is lost.
    PutBlock(*Map, 200, 201, 260, 220, TerrainGround, Rock);
    PutBlock(*Map, 231, 150, 260, 201, TerrainGround, Rock);
    Map->Spawn(3, 230, 150, 0, 0);
    Frames(200);
    EXPECT_EQ(CountKind(*Map, 0), 0);
    EXPECT_EQ(std::count(Map->TerrainBitmap.Cells.begin(), Map->TerrainBitmap.Cells.end(), TerrainWater), 1);
}

TEST_F(Projectiles, NukeChainExplodesOncePlusElevenPlus121Plus1331Times) {
    // A chamber walled with base pads: nothing digs them, so every child lands and splits.
    PutBlock(*Map, 100, 60, 300, 240, TerrainPad, Rgb(255, 0, 0));
    PutBlock(*Map, 150, 100, 250, 160, TerrainEmpty, 0);
    Map->Spawn(22, 200, 130, 0, 1);
    Last().Counter = 10;           // player 2's, and so is every child
    std::map<int, int> explosions; // by generation
    for (int frame = 0; frame < 400 && CountKind(*Map, 22) > 0; ++frame) {
        for (int slot = 0; slot < int(ProjectileCount); ++slot) {
            TProjectile& p = At(slot);
            if (p.Kind == 0) continue;
            const bool nuke = p.Kind == 22;
            if (nuke) {
                ASSERT_EQ(p.Counter / 10, 1u) << "slot " << slot;
            }
            const float generation = p.Timer;
            const uint16_t cursor = Map->ProjectileCursor;
            AdvanceSlot(*Map, slot, Waves);
            // A nuke that is gone and threw something has exploded; one that left the field threw nothing.
            if (nuke && p.Kind == 0 && Map->ProjectileCursor != cursor) ++explosions[int(generation)];
        }
    }
    EXPECT_EQ(CountKind(*Map, 22), 0);
    EXPECT_EQ(explosions, (std::map<int, int>{{1, 1331}, {2, 121}, {3, 11}, {4, 1}}));
    // Pads are never dug: the chamber walls are whole.
    for (int x = 100; x < 300; ++x)
        ASSERT_EQ(Map->TerrainBitmap.Get(x, 70), TerrainPad);
}

// In the ground player 2's sentry shoots at player 1, and a nuke throws its eleven children at 5
// pixels a frame on the map's scale (0.5).
TEST_F(Projectiles, InTheGroundASentryShootsAtItsOwnersEnemyAndANukeThrowsItsChildren) {
    PutBlock(*Map, 50, 40, 70, 60, TerrainGround, Rock);
    const int sentry = Put(19, 60, 45);
    At(sentry).Counter = 10;
    At(sentry).Timer = 1.051f; // it fires when 40 times its timer comes to a multiple of 42
    AdvanceSlot(*Map, sentry, Waves);
    ASSERT_EQ(Last().Kind, 21);
    EXPECT_FLOAT_EQ(Last().VX, (20.0f - 60) / 50) << "towards ship 1 at (20, 20), a hundredth on this scale";
    const int nuke = Put(22, 60, 45);
    At(nuke).Timer = 2;
    AdvanceSlot(*Map, nuke, Waves);
    int children = 0;
    for (const TProjectile& p : Map->Projectiles)
        children += p.Kind == 22 && std::fabs(std::hypot(p.VX, p.VY) - 2.5f) < 1e-5f;
    EXPECT_EQ(children, 11);
}

TEST_F(Projectiles, SparksDieInWaterOrCertainlyOfOldAge) {
    // Quenched, a spark is removed yet still ages and moves, and draws for its end: an old one may
    // puff a second time.
    PutBlock(*Map, 100, 200, 140, 201, TerrainWater, Rgb(10, 10, 255));
    for (int x = 100; x < 140; ++x) {
        const int quenched = Put(4, float(x), 200, 0, 0);
        At(quenched).Counter = 800;
        AdvanceSlot(*Map, quenched, Waves);
        EXPECT_EQ(At(quenched).Kind, 0);
    }
    EXPECT_GT(CountKind(*Map, 5), 40);
    EXPECT_LE(CountKind(*Map, 5), 80);
    // Past 768 the chance of dying is "one in zero or less": certain, not a division.
    for (const uint32_t age : {768u, 800u}) {
        const int old = Put(4, 200, 100, 0, 0);
        At(old).Counter = age - 32;
        AdvanceSlot(*Map, old, Waves);
        EXPECT_EQ(At(old).Kind, 0) << age;
    }
}

TEST_F(Projectiles, HomingMissileHalfwayBetweenTheShipsGoesForTheSecond) {
    Map->Ships[0].X = 150;
    Map->Ships[0].Y = 150;
    Map->Ships[1].X = 250;
    Map->Ships[1].Y = 150;
    const int between = Put(12, 200, 150, 0, 0);
    AdvanceSlot(*Map, between, Waves);
    EXPECT_GT(At(between).VX, 0.0f);
}

TEST_F(Projectiles, AntsDieOfAgeAndARubberBulletLeavingTheFieldIsGone) {
    PutBlock(*Map, 50, 201, 350, 210, TerrainGround, Rock);
    const int slot = Put(2, 100, 200, 0.5f, 0);
    for (const uint32_t age : {2341u, 2342u}) {
        At(slot).Counter = age;
        AdvanceSlot(*Map, slot, Waves);
        EXPECT_EQ(At(slot).Kind, age == 2341 ? 2 : 0) << age;
    }
    const int rubber = Put(24, 397, 100, 5, 0);
    AdvanceSlot(*Map, rubber, Waves);
    EXPECT_EQ(At(rubber).Kind, 0);
}

struct Emission : Projectiles {
    TParticleArea Area;
    void SetUp() override {
        Projectiles::SetUp();
        Area.AreaX = 100;
        Area.AreaY = 50;
        Area.AreaWidth = 20;
        Area.AreaHeight = 10;
        Area.ParticleKind = ParticleAnt;
    }
    int EmitFrames(int frames) {
        const int before = CountKind(*Map, 0);
        for (int i = 0; i < frames; ++i)
            Map->Emit(Area);
        return CountKind(*Map, 0) - before;
    }
};

// At 40 frames a second the areas emit in every golden replay; other rates and the byte are checked here.
TEST_F(Emission, FortyPerSecondFromThirtyFiveAtAnyFrameRateAndAByteAFrame) {
    Area.Rate = float(35 / 35.0);
    Map->SetFrameRate(60);
    EXPECT_EQ(EmitFrames(1), 0);
    EXPECT_EQ(EmitFrames(2), 2);
    EXPECT_EQ(EmitFrames(57), 38);

    // The count of one frame is a byte.
    Map->SetFrameRate(40);
    Area.Accumulator = 0;
    Area.Rate = 256;
    EXPECT_EQ(EmitFrames(1), 0);
    EXPECT_EQ(Area.Accumulator, 0.0f);
    Area.Rate = 300;
    EXPECT_EQ(EmitFrames(1), 44);
    Area.Rate = 0.5f;
    Area.Accumulator = 0.75f;
    EXPECT_EQ(EmitFrames(1), 1);
    EXPECT_EQ(Area.Accumulator, 0.25f); // the fraction carries over
}

} // namespace
