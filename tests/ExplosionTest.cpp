// ExplosionTest: bursts, digging, burning, settling and the way back to a surface, on real worlds.
// Rockets, lasers and bursts dig in the determinism guard's fight; these tests keep the burst counts,
// the pads and the limits.
#include "CombatTestKit.h"

#include "core/GameMath.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>

namespace {

const uint32_t Rock = Rgb(120, 90, 60);

struct Explosions : TCombatTest {
    void SetUp() override { Map->Rng.Seed = 5; }
    int Cells(uint8_t cls) const {
        return int(std::count(Map->TerrainBitmap.Cells.begin(), Map->TerrainBitmap.Cells.end(), cls));
    }
    // Sets a record's timer to run out in this frame and advances it once.
    void SetOff(int slot, float timer) {
        Map->Projectiles[size_t(slot)].Timer = timer;
        AdvanceSlot(*Map, slot, Waves);
        EXPECT_EQ(Map->Projectiles[size_t(slot)].Kind, 0);
    }
};

TEST_F(Explosions, BurstCountsFollowTheKindTheScaleAndWhatSetItOff) {
    struct Case {
        const char* Name;
        uint8_t Kind;
        float VX, Timer;
        int Sparks;
        uint8_t Thrown; // 0: every live record
        int Count;
    };
    // A timer of -42 is a ship's touch: the burst without its fragments. The bursts of rockets and
    // mines set off by their timers fail the golden replays or the determinism guard's fights when
    // their counts change.
    const Case cases[] = {{"sentry: Round(10) + 1, no + 1 on the count", 19, 0, 0.01f, 11, 16, 11},
                          {"flak: the burst plus 101 small bullets", 20, 0, 0.01f, 102, 21, 101},
                          {"rocket hit by a ship", 13, 0.5f, -42, 102, 16, 0},
                          {"mine hit by a ship", 17, 0, -42, 101, 0, 101},
                          {"nano-fighter at its end: Round(20 x 0.5) + 1 sparks", 15, 0, 0.01f, 11, 15, 0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        for (TProjectile& p : Map->Projectiles)
            p.Kind = 0;
        SetOff(Put(c.Kind, 200, 150, c.VX, 0), c.Timer);
        EXPECT_EQ(CountKind(*Map, 4), c.Sparks);
        EXPECT_EQ(CountKind(*Map, c.Thrown), c.Count);
    }

    // A flak shell in flight throws its small bullets from the stretch it flew in its last frame.
    for (TProjectile& p : Map->Projectiles)
        p.Kind = 0;
    SetOff(Put(20, 200, 150, 8, 0), 0.01f);
    float lo = 1e9f, hi = -1e9f;
    for (const TProjectile& p : Map->Projectiles)
        if (p.Kind == 21) lo = std::min(lo, p.X), hi = std::max(hi, p.X);
    EXPECT_TRUE(lo >= 200 && hi <= 208) << lo << " to " << hi;

    auto big = CombatWorld(400, 300, 20, 20, 380, 20, "2");
    ASSERT_EQ(big->Scale, 1.0f);
    big->Spawn(18, 200, 150, 0, 0);
    const int slot = big->ProjectileCursor;
    big->Projectiles[size_t(slot)].Timer = 0.01f;
    AdvanceSlot(*big, slot, Waves);
    EXPECT_EQ(CountKind(*big, 4), 202);
    EXPECT_EQ(CountKind(*big, 16), 202);
}

// Pads that no explosion digs fail the determinism guard's fights when dug, and ground burnt to black
// and gone the golden replay glacier; a pad burnt to black is checked here.
TEST_F(Explosions, BurningAPadToBlackKeepsIt) {
    // Burning a pad to black keeps the pad and a near-black, not transparent, pixel.
    PutCell(*Map, 100, 100, TerrainPad, Rgb(2, 1, 3));
    const int spark = Put(4, 100, 100, 0, 0);
    Map->Burn(spark);
    EXPECT_EQ(Map->TerrainBitmap.Get(100, 100), TerrainPad);
    EXPECT_EQ(Map->MiddleLayer.Pixel(100, 100), Rgb(1, 1, 1));
}

TEST_F(Explosions, WaterInABasinStaysWhileHangingWaterRunsOut) {
    // Basin: water over water over ground. Hanging: water over an empty cell.
    PutBlock(*Map, 95, 100, 105, 110, TerrainGround, Rock);
    PutCell(*Map, 100, 100, TerrainWater, Rgb(5, 5, 255));
    PutCell(*Map, 100, 101, TerrainWater, Rgb(5, 5, 255));
    PutBlock(*Map, 140, 100, 150, 101, TerrainGround, Rock);
    PutCell(*Map, 144, 100, TerrainWater, Rgb(5, 5, 255));
    PutCell(*Map, 144, 101, TerrainEmpty, 0);

    Map->Spawn(16, 101, 100, 3, 0);
    Map->Dig(Map->ProjectileCursor);
    EXPECT_EQ(Map->TerrainBitmap.Get(100, 100), TerrainWater);
    EXPECT_EQ(Map->TerrainBitmap.Get(100, 101), TerrainWater);
    EXPECT_EQ(Map->TerrainBitmap.Get(101, 101), TerrainEmpty); // the ground beside it went
    EXPECT_EQ(CountKind(*Map, 3), 0);

    Map->Spawn(16, 145, 100, 3, 0);
    Map->Dig(Map->ProjectileCursor);
    EXPECT_EQ(Map->TerrainBitmap.Get(144, 100), TerrainEmpty);
    EXPECT_EQ(CountKind(*Map, 3), 1);
}

TEST_F(Explosions, DugGlueSticksAgainWhereItLands) {
    PutBlock(*Map, 100, 200, 300, 220, TerrainGround, Rock);
    PutBlock(*Map, 195, 150, 205, 155, TerrainGlue, Rgb(64, 255, 64));
    Map->ProjectileCursor = uint16_t(ProjectileCount - 1); // the fragment takes slot 0, dug like any other
    Map->Spawn(16, 200, 152, 0, -0.5f);
    ASSERT_EQ(Map->ProjectileCursor, 0);
    Map->Dig(0);
    ASSERT_EQ(CountKind(*Map, 23), 9);
    EXPECT_EQ(Cells(TerrainGlue), 50 - 9);
    Frames(400);
    EXPECT_EQ(CountKind(*Map, 23), 0);
    EXPECT_EQ(Cells(TerrainGlue), 50); // every blob found something to cling to
}

TEST_F(Explosions, BackToSurfaceFindsTheFirstSolidCellAndNeverLoopsForEver) {
    PutBlock(*Map, 100, 0, 200, 300, TerrainGround, Rock);
    float x = 103.4f, y = 50;
    Map->BackToSurface(x, y, 2, 0);
    EXPECT_NEAR(x, 99.6, 1e-3); // out at 99.4 (column 99), one step in again
    // Not moving: unchanged instead of stepping for ever.
    x = 150;
    y = 50;
    Map->BackToSurface(x, y, 0, 0);
    EXPECT_EQ(x, 150.0f);
    Map->BackToSurface(x, y, 1e-9f, 0);
    EXPECT_EQ(x, 150.0f);
    // In empty cells and water nothing happens.
    x = 50;
    Map->BackToSurface(x, y, 5, 5);
    EXPECT_EQ(x, 50.0f);
    EXPECT_EQ(y, 50.0f);
    // Leaving the field ends the walk too.
    PutBlock(*Map, 0, 0, 100, 300, TerrainGround, Rock);
    x = 10;
    y = 50;
    Map->BackToSurface(x, y, 30, 0);
    EXPECT_NEAR(x, 1, 1e-4); // out at -2 (column -2), one step in again
}

TEST_F(Explosions, SnowBombBurstsIntoLooseSnow) {
    const int slot = Put(14, 200, 150, 0, 0);
    SetOff(slot, 0.01f);
    EXPECT_EQ(CountKind(*Map, 6), 151 * 11);

    // A snow bomb and a nano-fighter hold their slot until their burst is out: in a full pool
    // every piece overwrites the slot the cursor stands on, and theirs is left empty.
    for (const auto& [kind, piece] : {std::pair<uint8_t, uint8_t>{14, 6}, {15, 4}}) {
        Map = CombatWorld(400, 300, 20, 20, 380, 20);
        const int bursting = Put(kind, 200, 150, 0, 0);
        for (TProjectile& p : Map->Projectiles)
            if (p.Kind == 0) p.Kind = 8; // a kind with no rule: nothing frees it
        Map->ProjectileCursor = uint16_t(bursting - 1);
        Map->TrustSlotsInUse(true);
        SetOff(bursting, 0.01f);
        Map->TrustSlotsInUse(false);
        EXPECT_EQ(Map->Projectiles[size_t(bursting - 1)].Kind, piece) << int(kind);
    }
}

} // namespace
