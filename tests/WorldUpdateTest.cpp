// WorldUpdateTest: the seconds counted, respawn waits, the holds cleared and the positional sound. The
// order of the update and everything it calls run in every frame of the golden replays and the
// determinism guard's fights; these tests hold the edges they do not reach.
#include "CombatTestKit.h"
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

// The second counted at the frame rate, or as soon as a lowered rate is passed, the shake of a shared
// screen and the wrecks each update reports: planted faults in each fail the golden replays or the
// determinism guard's fights.
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

// A ship waiting to respawn is left alone, a live ship's own-pad mark cleared and a body with health
// made alive in every update of the golden replays (planted faults in each fail them); the last
// wait of a decided match and the glue and enemy-pad marks are checked here.
TEST_F(WorldUpdate, TheLastWaitOfADecidedMatchEndsIt) {
    Ground();
    TShip& s = W.Ship(1);
    s.RespawnTimer = 2;
    M.UpdateWorld(W.Waves);
    EXPECT_EQ(M.MatchEnded, 0);
    M.MatchOver = 1;
    M.UpdateWorld(W.Waves);
    EXPECT_EQ(s.RespawnTimer, 0);
    EXPECT_EQ(M.MatchEnded, 1);
}

TEST_F(WorldUpdate, EachUpdateClearsTheHoldsOfALiveShip) {
    Ground();
    TShip& s = W.Ship(0);
    s.Glued = 1;
    s.AtEnemyBase = 1;
    EXPECT_EQ(M.UpdateWorld(W.Waves), 0);
    EXPECT_EQ(s.Glued, 0);
    EXPECT_EQ(s.AtEnemyBase, 0) << "it stands on plain ground";
}

struct PositionalSound : WorldUpdate {
    TWaveItem& Item(const std::string& name) { return W.Waves.Find(name); }
    bool Playing(const std::string& name) { return ::Playing(W.Waves, name); }
};

TEST_F(PositionalSound, VolumeFollowsTheNearerShipAndPanTheDifference) {
    M.PlaySoundAt(W.Waves, "Dirt", 0, 100, 300, 18000, 80);
    EXPECT_EQ(Item("Dirt").Volume, (10000 - 100) * 80 / 100 - 10000);
    EXPECT_EQ(Item("Dirt").Pan, -200) << "nearer ship 0: towards the left view";
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

} // namespace
