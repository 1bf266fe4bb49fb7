// GameMathTest: rounding, the turn table and the program-wide generator.
#include "core/GameMath.h"

#include <gtest/gtest.h>

#include <limits>

namespace {

TEST(GameMath, RoundSendsHalvesToTheEvenNeighbour) {
    // The fast path and the library agree everywhere, including at its edge and beyond it.
    for (double v : {0.49999999999999994, 4503599627370495.5, 2251799813685247.5, -2251799813685247.5,
                     2251799813685248.0, 1e17, -1e17, 123456.5, -98765.5, 1e-300})
        EXPECT_EQ(Round(v), static_cast<int64_t>(std::nearbyint(v))) << v;
    for (int i = -4000; i <= 4000; ++i) {
        const double v = i / 8.0;
        ASSERT_EQ(Round(v), static_cast<int64_t>(std::nearbyint(v))) << v;
    }
}

TEST(GameMath, TruncDropsTheFractionTowardsZero) {
    EXPECT_EQ(Trunc(2.9), 2);
    EXPECT_EQ(Trunc(-2.9), -2);
    EXPECT_EQ(Trunc(100.0 / double(0.8f)), 124) << "a single-precision 0.8 lies just above 0.8";
}

TEST(GameMath, AnglesAreTakenModulo256) {
    EXPECT_EQ(Wrap256(-1), 255);
    EXPECT_EQ(Wrap256(256), 0);
    EXPECT_EQ(Wrap256(-513), 255);
    EXPECT_NEAR(TurnCos(64), 0.0, 1e-15);
    EXPECT_DOUBLE_EQ(TurnSin(64), 1.0) << "64 points up";
    EXPECT_DOUBLE_EQ(TurnCos(128), -1.0);
    EXPECT_DOUBLE_EQ(TurnCos(-64), TurnCos(192));
    EXPECT_DOUBLE_EQ(TurnSin(300), TurnSin(44));
}

// The generator's stream, its range and its reals in [0, 1) drive every golden replay: a draw
// taken modulo n, or reals divided by 2^32 - 1, fail all four. What no replay asks is a draw of 0.
TEST(GameMath, ADrawOfNothingGivesZeroButStillTakesItsTurn) {
    TRandom r;
    r.Seed = 99;
    const uint32_t before = r.Seed;
    EXPECT_EQ(r.Random(0), 0);
    EXPECT_EQ(r.Random(-5), 0);
    EXPECT_NE(r.Seed, before) << "Random(0) still takes its draw, so later draws keep their order";
}

} // namespace
