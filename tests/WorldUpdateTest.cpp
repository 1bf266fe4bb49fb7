// WorldUpdateTest: the once-per-second step, view shake, respawn waits, landing and the positional sound.
#include "MatchTestKit.h"

#include "core/GameMath.h"

#include <gtest/gtest.h>

#include <set>

namespace {

struct WorldUpdate : ::testing::Test {
    TMatchWorld W{800, 600, {200, 300}, {600, 300}};
    TWorld& M = *W.Map;

    // Both ships resting on ground, far from the flags and from each other.
    void Ground() {
        W.PaintRow(100, 700, 350, TerrainGround);
        W.StandOn(0, 200, 350);
        W.StandOn(1, 600, 350);
    }
    void Updates(int n) {
        for (int i = 0; i < n; ++i)
            M.UpdateWorld(W.Waves);
    }
};

TEST_F(WorldUpdate, OneSecondTakesExactlyFrameRateCalls) {
    Ground();
    M.SetFrameRate(40);
    Updates(39);
    EXPECT_EQ(M.Match.Players[0].PlayingTime, 0u);
    EXPECT_EQ(M.FrameCounter, 39);
    Updates(1);
    for (size_t p = 0; p < 2; ++p) {
        EXPECT_EQ(M.Match.Players[p].PlayingTime, 1u) << p;
        EXPECT_EQ(M.Ships[p].LifeSeconds, 1u) << p;
    }
    EXPECT_EQ(M.FrameCounter, 0);
    Updates(40);
    EXPECT_EQ(M.Match.Players[1].PlayingTime, 2u);

    // A rate that falls below the counter still ends the second.
    M.SetFrameRate(70);
    Updates(60);
    M.SetFrameRate(40);
    Updates(1);
    EXPECT_EQ(M.Match.Players[0].PlayingTime, 3u) << "the counter had passed the new rate";
    EXPECT_EQ(M.FrameCounter, 0);
}

TEST_F(WorldUpdate, SecondsAtTheEnemyBaseAndOnFootAreCounted) {
    W.PaintRow(100, 700, 350, TerrainGround);
    W.PaintRow(560, 640, 350, TerrainPad);
    W.StandOn(0, 600, 350); // player 1 on player 2's pad
    TShip& pilot = W.Ship(1);
    pilot.OnFoot = 1;
    pilot.Angle = 256;
    pilot.Health = 8;
    W.StandOn(1, 300, 350);
    M.SetFrameRate(40);
    Updates(80);
    EXPECT_EQ(W.Ship(0).EnemyBaseSeconds, 2u);
    EXPECT_EQ(M.Match.Players[1].OnFootTime, 2u);
    EXPECT_EQ(M.Match.Players[0].OnFootTime, 0u);

    // Leaving the pad starts the count again; a pilot waiting to respawn is not on foot.
    W.PaintRow(560, 640, 350, TerrainGround);
    pilot.RespawnTimer = 100;
    Updates(40);
    EXPECT_EQ(W.Ship(0).EnemyBaseSeconds, 0u);
    EXPECT_EQ(M.Match.Players[1].OnFootTime, 2u);
}

TEST_F(WorldUpdate, SplitViewsShakeEachOnTheirOwnAndASingleScreenShakesBothAlike) {
    Ground();
    M.ShakeVelX = {4, 0};
    M.ShakeVelY = {0, 2};
    M.UpdateWorld(W.Waves);
    EXPECT_EQ(M.ShakeX, (std::array<float, 2>{4, 0}));
    EXPECT_EQ(M.ShakeY, (std::array<float, 2>{0, 2}));
    EXPECT_FLOAT_EQ(M.ShakeVelY[1], float((2 - 2 / 5.0) / 1.1));

    TMatchWorld one(640, 430, {200, 300}, {440, 300});
    TWorld& m = *one.Map;
    ASSERT_EQ(m.SingleScreen, 1);
    one.PaintRow(100, 540, 350, TerrainGround);
    one.StandOn(0, 200, 350);
    one.StandOn(1, 440, 350);
    m.ShakeX = m.ShakeY = {0, 0};
    m.ShakeVelX = {4, 0};
    m.ShakeVelY = {0, 2};
    m.UpdateWorld(one.Waves);
    EXPECT_FLOAT_EQ(m.ShakeX[0], 2);
    EXPECT_FLOAT_EQ(m.ShakeY[0], 1);
    EXPECT_FLOAT_EQ(m.ShakeVelX[0], float((4 - 2 / 5.0) / 1.1));
    EXPECT_FLOAT_EQ(m.ShakeVelX[1], float((0 - 2 / 5.0) / 1.1));
    for (int i = 0; i < 200; ++i) {
        m.UpdateWorld(one.Waves);
        ASSERT_EQ(m.ShakeX[0], m.ShakeX[1]);
        ASSERT_EQ(m.ShakeY[0], m.ShakeY[1]);
    }
    EXPECT_LT(std::abs(m.ShakeX[0]), 0.05f) << "the spring comes to rest";
}

TEST_F(WorldUpdate, AWaitingShipIsLeftAloneUntilItsTimerRunsOut) {
    Ground();
    TShip& s = W.Ship(1);
    s.X = 400;
    s.Y = 100; // in mid-air: it would fall if it were moved
    s.VY = 3;
    s.RespawnTimer = 3;
    const float viewY = M.ViewY[1];
    M.UpdateWorld(W.Waves);
    EXPECT_EQ(s.Y, 100.0f);
    EXPECT_EQ(s.VY, 3.0f);
    EXPECT_EQ(s.RespawnTimer, 2);
    EXPECT_EQ(M.ViewY[1], viewY) << "its camera stays too";
    M.UpdateWorld(W.Waves);
    EXPECT_EQ(M.MatchEnded, 0);

    // The last wait of a decided match ends it.
    M.MatchOver = 1;
    M.UpdateWorld(W.Waves);
    EXPECT_EQ(s.RespawnTimer, 0);
    EXPECT_EQ(M.MatchEnded, 1);
    M.UpdateWorld(W.Waves);
    EXPECT_GT(s.Y, 100.0f) << "moving again";
}

TEST_F(WorldUpdate, AShipLandsOnItsPadWithoutDamage) {
    W.PaintRow(150, 250, 400, TerrainPad);
    TShip& s = W.Ship(0);
    W.StandOn(0, 200, 392); // eight rows above the pad, falling
    for (int i = 0; i < 120; ++i)
        M.UpdateWorld(W.Waves);
    EXPECT_EQ(s.Health, 100.0f);
    EXPECT_EQ(s.Alive, 1);
    EXPECT_EQ(s.AtOwnBase, 1);
    EXPECT_NEAR(s.Y, 400 - s.FootY[0], 0.5);
    for (int x = 150; x <= 250; ++x)
        ASSERT_EQ(M.TerrainBitmap.Get(x, 400), TerrainPad);
}

TEST_F(WorldUpdate, AShipFlyingIntoTheGroundIsHurtAndDigs) {
    TShip& s = W.Ship(0);
    W.PaintRow(150, 250, 330, TerrainGround);
    W.StandOn(0, 200, 330);
    s.VY = 1.2f; // its lowest row reaches the ground in this update
    ASSERT_EQ(M.TerrainBitmap.Get(200, 330), TerrainGround);
    // The feet find the ground first and stop the fall, so the ship is not hurt.
    M.UpdateWorld(W.Waves);
    EXPECT_EQ(s.Health, 100.0f);
    // Tilted, it has no feet and sinks in.
    s.Angle = 100;
    s.VY = 8;
    M.UpdateWorld(W.Waves);
    EXPECT_LT(s.Health, 100.0f);
}

TEST_F(WorldUpdate, EachUpdateClearsTheHoldsOfALiveShipAndReportsBothWrecks) {
    Ground();
    TShip& s = W.Ship(0);
    s.Glued = 1;
    s.AtOwnBase = 1;
    s.AtEnemyBase = 1;
    s.Alive = 0;
    EXPECT_EQ(M.UpdateWorld(W.Waves), 0);
    EXPECT_EQ(s.Alive, 1);
    EXPECT_EQ(s.Glued, 0);
    EXPECT_EQ(s.AtOwnBase, 0) << "it stands on plain ground";
    EXPECT_EQ(s.AtEnemyBase, 0);

    // Both ships wrecked in one update set both bytes.
    W.Ship(0).Health = 0;
    W.Ship(1).Health = -3;
    EXPECT_EQ(M.UpdateWorld(W.Waves), 0x0101);
    // Their pilots walk on; the next update wrecks nothing.
    EXPECT_EQ(M.UpdateWorld(W.Waves), 0);

    W.Ship(1).OnFoot = 0;
    W.Ship(1).Angle = 64;
    W.Ship(1).Health = 0;
    EXPECT_EQ(M.UpdateWorld(W.Waves), 0x0100);
}

struct PositionalSound : WorldUpdate {
    TWaveItem& Item(const std::string& name) { return W.Waves.Find(name); }
    bool Playing(const std::string& name) {
        for (size_t b : Item(name).Buffers)
            if (W.Waves.Mixer.Voices[b].Playing) return true;
        return false;
    }
};

TEST_F(PositionalSound, VolumeFollowsTheNearerShipAndPanTheDifference) {
    M.PlaySoundAt(W.Waves, "Dirt", 0, 100, 300, 18000, 80);
    EXPECT_EQ(Item("Dirt").Volume, (10000 - 100) * 80 / 100 - 10000);
    EXPECT_EQ(Item("Dirt").Pan, -200) << "nearer ship 0: towards the left view";
    EXPECT_EQ(Item("Dirt").Frequency, 18000);
    EXPECT_TRUE(Playing("Dirt"));

    M.PlaySoundAt(W.Waves, "Dirt", 0, 20000, 0, 0, 100);
    EXPECT_EQ(Item("Dirt").Volume, 0);
    EXPECT_EQ(Item("Dirt").Pan, 10000);
    EXPECT_EQ(Item("Dirt").Frequency, 0) << "the recording's own rate";

    M.PlaySoundAt(W.Waves, "Dirt", 0, 10000, 12000, 0, 100);
    EXPECT_EQ(Item("Dirt").Volume, -10000) << "too far to hear";
    // Farther than 16 bits can say is as far as can be, not near again.
    M.PlaySoundAt(W.Waves, "Dirt", 0, 70000, 80000, 0, 100);
    EXPECT_EQ(Item("Dirt").Volume, -10000);
    EXPECT_EQ(Item("Dirt").Pan, 0);
}

TEST_F(PositionalSound, ARandomSuffixPicksAmongTheNumberedSounds) {
    M.Rng.Seed = 7;
    std::set<int> heard;
    for (int i = 0; i < 200; ++i) {
        for (TVoice& v : W.Waves.Mixer.Voices)
            v.Playing = false;
        M.PlaySoundAt(W.Waves, "Explo", 3, 1000, 1000, 0, 100);
        int playing = 0;
        for (int k = 0; k < 4; ++k)
            if (Playing("Explo" + std::to_string(k))) {
                heard.insert(k);
                ++playing;
            }
        ASSERT_EQ(playing, 1);
    }
    EXPECT_EQ(heard, (std::set<int>{0, 1, 2, 3}));
}

TEST_F(PositionalSound, ExplosionsShakeTheNearViewHardAndTheFarOneBarely) {
    M.Rng.Seed = 11;
    float maxNear = 0;
    for (int i = 0; i < 50; ++i) {
        M.ShakeVelX = {0, 0};
        M.ShakeVelY = {0, 0};
        M.PlaySoundAt(W.Waves, "Explo1", 0, 0, 400, 0, 100);
        ASSERT_GE(M.ShakeVelX[0], 0.0f);
        ASSERT_LT(M.ShakeVelX[0], 10.0f);
        ASSERT_LT(M.ShakeVelY[0], 10.0f);
        ASSERT_LT(M.ShakeVelX[1], 10.0f / 400);
        ASSERT_LT(M.ShakeVelY[1], 10.0f / 400);
        EXPECT_NE(M.ShakeVelX[0], M.ShakeVelY[0]) << "each kick draws its own number";
        maxNear = std::max(maxNear, M.ShakeVelX[0]);
    }
    EXPECT_GT(maxNear, 5.0f);

    M.ShakeVelX = {0, 0};
    M.ShakeVelY = {0, 0};
    M.PlaySoundAt(W.Waves, "Dirt", 0, 0, 0, 0, 100);
    EXPECT_EQ(M.ShakeVelX, (std::array<float, 2>{0, 0})) << "only names beginning with E shake";
    EXPECT_EQ(M.ShakeVelY, (std::array<float, 2>{0, 0}));
}

} // namespace
