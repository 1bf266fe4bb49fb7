// ProjectileTest: the pool's spawn operation and the motion rules of the kinds, on small real worlds.
#include "CombatTestKit.h"

#include "core/GameMath.h"

#include <gtest/gtest.h>

#include <map>
#include <set>

namespace {

const uint32_t Rock = Rgb(120, 90, 60);

using Cell = std::pair<float, float>;

struct Projectiles : ::testing::Test {
    std::unique_ptr<TWorld> Map = CombatWorld(400, 300, 20, 20, 380, 20);
    TWaveList Waves = CombatSounds();
    void SetUp() override { Map->Rng.Seed = 11; }
    TProjectile& Last() { return Map->Projectiles[Map->ProjectileCursor]; }
    TProjectile& At(int slot) { return Map->Projectiles[size_t(slot)]; }
    static Cell Place(const TProjectile& p) { return {p.X, p.Y}; }
    static Cell Speed(const TProjectile& p) { return {p.VX, p.VY}; }
    int Last(uint8_t kind, float x, float y, float vx = 0, float vy = 0) {
        Map->Spawn(kind, x, y, vx, vy);
        return Map->ProjectileCursor;
    }
    void Frames(int n) {
        for (int i = 0; i < n; ++i)
            AdvanceAll(*Map, Waves);
    }
};

TEST_F(Projectiles, SpawnClampsIntoTheTerrainAndFillsKindValues) {
    const int w = Map->TerrainBitmap.Width, h = Map->TerrainBitmap.Height;
    ASSERT_EQ(w, 400);
    ASSERT_EQ(h, 301);
    Map->Spawn(18, -5, 10, 1, 2);
    EXPECT_EQ(Place(Last()), (Cell{0, 10}));
    EXPECT_EQ(Last().Kind, 18);
    EXPECT_EQ(Last().Timer, 3.0f);
    EXPECT_EQ(Last().G, 255);
    Map->Spawn(9, float(w + 3), float(h + 50), 0, 0);
    EXPECT_EQ(Place(Last()), (Cell{float(w - 1), float(h - 1)}));
    EXPECT_EQ(Last().Weight, 5);
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

TEST_F(Projectiles, SpawnSearchesOnFromTheCursorAndReusesThePreviousSlotWhenFull) {
    for (TProjectile& p : Map->Projectiles)
        p.Kind = 4;
    Map->Projectiles[5].Kind = 0;
    Map->ProjectileCursor = 59990;
    Map->Spawn(5, 1, 1, 0, 0); // wraps past the end to the free slot 5
    EXPECT_EQ(Map->ProjectileCursor, 5);
    EXPECT_EQ(Map->Projectiles[5].Kind, 5);
    // Every slot live: the previous spawn's record is replaced.
    Map->Spawn(23, 2, 2, 0, 0);
    EXPECT_EQ(Map->ProjectileCursor, 5);
    EXPECT_EQ(Map->Projectiles[5].Kind, 23);
    EXPECT_EQ(CountKind(*Map, 4), 59999);
}

TEST_F(Projectiles, SnowflakeFallsApartIntoADiamondOfElevenAndRainIntoTwoDrops) {
    Map->Spawn(1, 50, 60, 0.5f, 0.25f);
    std::set<std::pair<int, int>> cells;
    for (const TProjectile& p : Map->Projectiles) {
        if (p.Kind == 0) continue;
        EXPECT_EQ(p.Kind, 6);
        EXPECT_EQ(p.Weight, 2);
        EXPECT_EQ(Speed(p), (Cell{0.5f, 0.25f}));
        EXPECT_EQ(p.R, p.G);
        EXPECT_GE(p.R, 240);
        cells.insert({int(p.X) - 50, int(p.Y) - 60});
    }
    const std::set<std::pair<int, int>> diamond = {{0, 0}, {0, -2}, {-2, -1}, {0, -1}, {2, -1}, {-1, 0},
                                                   {1, 0}, {-2, 1}, {0, 1},   {2, 1},  {0, 2}};
    EXPECT_EQ(cells, diamond);

    for (TProjectile& p : Map->Projectiles)
        p.Kind = 0;
    Map->Spawn(7, 30, 40, 0.1f, 1);
    ASSERT_EQ(CountKind(*Map, 0), 2);
    ASSERT_EQ(CountKind(*Map, 3), 2);
    std::vector<TProjectile> drops;
    for (const TProjectile& p : Map->Projectiles)
        if (p.Kind != 0) drops.push_back(p);
    EXPECT_EQ(std::pair(drops[0].Y, drops[1].Y), std::pair(40.0f, 41.0f));
    for (const TProjectile& d : drops) {
        EXPECT_EQ(d.Counter, 2u);
        EXPECT_EQ(d.Weight, 30);
        EXPECT_EQ(d.B, 255);
    }
    EXPECT_GE(drops[0].R, 100); // the raindrop's own lighter shade
}

TEST_F(Projectiles, WaterDropSettlesAtOnceInAOnePixelHole) {
    PutBlock(*Map, 80, 201, 120, 220, TerrainGround, Rock);
    PutBlock(*Map, 80, 180, 100, 201, TerrainGround, Rock);
    PutBlock(*Map, 101, 180, 120, 201, TerrainGround, Rock);
    Map->Spawn(3, 100, 150, 0.0000001f, 0);
    Frames(200);
    EXPECT_EQ(CountKind(*Map, 0), 0);
    EXPECT_EQ(Map->TerrainBitmap.Get(100, 200), TerrainWater);
    EXPECT_EQ(Map->MiddleLayer.Pixel(100, 200) & 0xFF, 255u); // row + column even: painted blue
    EXPECT_EQ(Map->TerrainBitmap.Get(100, 199), TerrainEmpty);
}

TEST_F(Projectiles, WaterDropRunsToAWallTurnsOnceAndSettlesAtTheSecond) {
    PutBlock(*Map, 50, 201, 151, 210, TerrainGround, Rock);  // floor, its surface row 200
    PutBlock(*Map, 50, 150, 51, 201, TerrainGround, Rock);   // left wall
    PutBlock(*Map, 150, 150, 151, 201, TerrainGround, Rock); // right wall
    const int slot = Last(3, 100, 200, 0.5f, 0);
    float rightmost = 0;
    for (int i = 0; i < 400 && At(slot).Kind == 3; ++i) {
        AdvanceSlot(*Map, slot, Waves);
        rightmost = std::max(rightmost, At(slot).X);
    }
    EXPECT_EQ(At(slot).Kind, 0);
    EXPECT_EQ(rightmost, 149.0f);
    int water = 0;
    for (int x = 51; x < 150; ++x)
        water += Map->TerrainBitmap.Get(x, 200) == TerrainWater;
    EXPECT_EQ(water, 1);
    EXPECT_EQ(Map->TerrainBitmap.Get(51, 200), TerrainWater);
    EXPECT_EQ(Map->MiddleLayer.Pixel(51, 200), 0u); // odd cell: the background shows through
}

TEST_F(Projectiles, SparksFadeDieInWaterOrOfAgeAndBurnWhatTheyTouch) {
    PutCell(*Map, 60, 60, TerrainWater, Rgb(10, 10, 255));
    const int slot = Last(4, 60, 60, 0.3f, 0.3f);
    AdvanceSlot(*Map, slot, Waves);
    EXPECT_EQ(At(slot).Kind, 0);
    ASSERT_EQ(CountKind(*Map, 0), 1);
    const TProjectile& smoke = Last();
    EXPECT_EQ(smoke.Kind, 5);
    EXPECT_EQ(Place(smoke), (Cell{60, 59}));
    EXPECT_LE(smoke.VY, 0.0f);
    EXPECT_LT(std::fabs(smoke.VX), 0.2001f);
    // Removed, it still ages and moves, and draws for its end: an old one may puff a second time.
    EXPECT_EQ(At(slot).Counter, 32u);
    EXPECT_EQ(Place(At(slot)), (Cell{60.3f, 60.3f}));
    PutBlock(*Map, 100, 200, 140, 201, TerrainWater, Rgb(10, 10, 255));
    for (int x = 100; x < 140; ++x) {
        const int quenched = Last(4, float(x), 200, 0, 0);
        At(quenched).Counter = 800;
        AdvanceSlot(*Map, quenched, Waves);
    }
    EXPECT_GT(CountKind(*Map, 5), 1 + 40);
    EXPECT_LE(CountKind(*Map, 5), 1 + 80);

    // Past 768 the chance of dying is "one in zero or less": certain, not a division.
    const int old = Last(4, 200, 100, 0, 0);
    At(old).Counter = 800;
    AdvanceSlot(*Map, old, Waves);
    EXPECT_EQ(At(old).Kind, 0);

    // A spark fades from white through yellow to red.
    const int fading = Last(4, 200, 100, 0, 0);
    TProjectile& s = At(fading);
    int frames = 0;
    uint8_t blueAfterOne = 0, greenAfterNine = 0;
    while (s.Kind == 4 && frames < 100) {
        AdvanceSlot(*Map, fading, Waves);
        ++frames;
        if (frames == 1) blueAfterOne = s.B;
        if (frames == 9) greenAfterNine = s.G;
    }
    EXPECT_LE(frames, 24); // counter 768 at frame 24 makes the end certain
    EXPECT_EQ(blueAfterOne, 223);
    if (frames >= 9) {
        EXPECT_EQ(greenAfterNine, 223);
    }

    PutCell(*Map, 300, 100, TerrainGround, Rgb(4, 3, 200));
    const int burner = Last(4, 300, 100, 1, -1);
    AdvanceSlot(*Map, burner, Waves);
    EXPECT_EQ(Map->MiddleLayer.Pixel(300, 100), Rgb(1, 0, 197));
    EXPECT_EQ(At(burner).VX, float(-1 / 1.1)); // bounced back
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

TEST_F(Projectiles, RubberBulletBecomesLooseEarthThatSettles) {
    PutBlock(*Map, 50, 201, 150, 210, TerrainGround, Rock);
    const int slot = Last(24, 100, 190, 0, 2);
    Frames(60);
    EXPECT_EQ(At(slot).Kind, 0);
    EXPECT_EQ(CountKind(*Map, 0), 0);
    int grains = 0;
    for (int x = 50; x < 150; ++x) {
        if (Map->TerrainBitmap.Get(x, 200) != TerrainGround) continue;
        ++grains;
        EXPECT_EQ(Map->MiddleLayer.Pixel(x, 200), Rgb(255, 255, 64));
    }
    EXPECT_EQ(grains, 1);
}

TEST_F(Projectiles, LooseMaterialPilesUpAndSkipsWaterAndPads) {
    PutBlock(*Map, 50, 201, 150, 210, TerrainGround, Rock);
    // One grain at a time: grains in one cell at once would all settle into that cell.
    for (int i = 0; i < 30; ++i) {
        Map->Spawn(255, 100, 185, 0, 0);
        Frames(40);
    }
    Frames(200);
    EXPECT_EQ(CountKind(*Map, 0), 0);
    int settled = 0, above = 0;
    for (int y = 150; y <= 200; ++y)
        for (int x = 50; x < 150; ++x) {
            const bool grain = Map->TerrainBitmap.Get(x, y) == TerrainGround;
            settled += grain;
            above += grain && y < 200;
        }
    EXPECT_EQ(settled, 30);
    EXPECT_EQ(Map->TerrainBitmap.Get(100, 200), TerrainGround);
    EXPECT_GT(above, 0); // a heap, not a single layer

    // On a pad the grain is gone without a trace.
    PutBlock(*Map, 250, 201, 260, 202, TerrainPad, Rgb(255, 0, 0));
    PutBlock(*Map, 249, 190, 250, 202, TerrainPad, Rgb(255, 0, 0));
    PutBlock(*Map, 260, 190, 261, 202, TerrainPad, Rgb(255, 0, 0));
    Map->Spawn(6, 255, 195, 0, 0);
    Frames(100);
    EXPECT_EQ(CountKind(*Map, 0), 0);
    for (int x = 250; x < 260; ++x)
        EXPECT_EQ(Map->TerrainBitmap.Get(x, 200), TerrainEmpty);
}

TEST_F(Projectiles, HomingMissileTurnsToTheNearerShipEvenItsOwn) {
    // Halfway between the ships it goes for the second one.
    Map->Ships[0].X = 150;
    Map->Ships[0].Y = 150;
    Map->Ships[1].X = 250;
    Map->Ships[1].Y = 150;
    const int between = Last(12, 200, 150, 0, 0);
    AdvanceSlot(*Map, between, Waves);
    EXPECT_GT(At(between).VX, 0.0f);

    Map->Ships[0].X = 150;
    Map->Ships[0].Y = 150;
    Map->Ships[1].X = 390;
    Map->Ships[1].Y = 150;
    const int slot = Last(12, 160, 150, 1, 0);
    At(slot).Counter = 0; // fired by player 1
    TProjectile& m = At(slot);
    for (int i = 0; i < 30 && m.Kind == 12; ++i)
        AdvanceSlot(*Map, slot, Waves);
    ASSERT_EQ(m.Kind, 12);
    EXPECT_LT(m.VX, 0.0f);
    EXPECT_GT(CountKind(*Map, 5), 0); // its smoke trail
}

TEST_F(Projectiles, BulletStrikingGroundStopsAtTheSurfaceAndThrowsASpark) {
    PutBlock(*Map, 200, 0, 260, 300, TerrainGround, Rock);
    const int slot = Last(9, 190, 100, 7, 0);
    AdvanceSlot(*Map, slot, Waves);
    EXPECT_EQ(At(slot).Kind, 9);
    AdvanceSlot(*Map, slot, Waves);
    EXPECT_EQ(At(slot).Kind, 0);
    ASSERT_EQ(CountKind(*Map, 4), 1);
    // Stepped back to 199.8 (rounding into the first solid column 200), the spark a tenth further out.
    EXPECT_NEAR(Last().X, 199.1, 0.01);
    EXPECT_LT(Last().VX, 0.0f);
}

TEST_F(Projectiles, AntsClimbTurnAndDieOfAge) {
    PutBlock(*Map, 50, 201, 350, 210, TerrainGround, Rock);
    const int slot = Last(2, 100, 200, 0.5f, 0);
    TProjectile& ant = At(slot);
    for (int i = 0; i < 100; ++i)
        AdvanceSlot(*Map, slot, Waves);
    ASSERT_EQ(ant.Kind, 2);
    EXPECT_EQ(ant.Y, 200.0f); // walks on the floor
    EXPECT_EQ(ant.Counter, 100u);
    ant.Counter = 2342;
    AdvanceSlot(*Map, slot, Waves);
    EXPECT_EQ(ant.Kind, 0);
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

TEST_F(Emission, FortyPerSecondFromThirtyFiveAtAnyFrameRateAndAByteAFrame) {
    Area.Rate = float(35 / 35.0);
    Map->SetFrameRate(40);
    EXPECT_EQ(EmitFrames(1), 1);
    EXPECT_EQ(EmitFrames(39), 39);
    Map->SetFrameRate(60);
    Area.Accumulator = 0;
    EXPECT_EQ(EmitFrames(1), 0);
    EXPECT_EQ(EmitFrames(2), 2);
    EXPECT_EQ(EmitFrames(57), 38);
    Area.Rate = float(7 / 35.0);
    Area.Accumulator = 0;
    Map->SetFrameRate(40);
    EXPECT_EQ(EmitFrames(4), 0);
    EXPECT_EQ(EmitFrames(1), 1);
    EXPECT_EQ(EmitFrames(35), 7);

    // The count of one frame is a byte.
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

TEST_F(Emission, PlacesInsideTheAreaWithOneSidedSpread) {
    Map->SetFrameRate(40);
    Area.Rate = 200;
    Area.AreaWidth = 0;
    Area.XSpeed = -1;
    Area.RandomXSpeed = 2;
    Area.YSpeed = 0.5f;
    Area.RandomYSpeed = 2;
    ASSERT_EQ(EmitFrames(1), 200);
    float minVX = 10, maxVX = -10, minVY = 10, maxVY = -10;
    for (const TProjectile& p : Map->Projectiles) {
        if (p.Kind == 0) continue;
        EXPECT_EQ(p.X, 100.0f); // a width of 0 keeps every particle in the column AreaX
        EXPECT_GE(p.Y, 50.0f);
        EXPECT_LE(p.Y, 59.0f);
        EXPECT_NE(p.VX, 0.0f);
        minVX = std::min(minVX, p.VX);
        maxVX = std::max(maxVX, p.VX);
        minVY = std::min(minVY, p.VY);
        maxVY = std::max(maxVY, p.VY);
    }
    EXPECT_GE(minVX, -1.0f);
    EXPECT_LT(maxVX, 1.0f);
    EXPECT_LT(minVX, -0.8f);
    EXPECT_GT(maxVX, 0.8f);
    EXPECT_GE(minVY, 0.5f);
    EXPECT_LT(maxVY, 2.5f);
    EXPECT_GT(maxVY, 2.3f);
}

} // namespace
