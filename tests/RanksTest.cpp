// RanksTest: rank table, time and percentage texts, settling and merging matches, medals, statistics text.
#include "frontend/Ranks.h"
#include "core/OptionsFile.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <string>
#include <tuple>
#include <vector>

namespace {

// A match with these points, player 1 coming in with the given run of wins.
TOptions MatchWithPoints(uint32_t one, uint32_t two, uint32_t streak = 0) {
    TOptions m;
    m.Players[0].Points = one;
    m.Players[1].Points = two;
    m.Players[0].SuccessiveWins = streak;
    return m;
}

TPilotRecord Played(uint32_t seconds, uint32_t onFoot, uint32_t points, uint32_t fired = 0,
                    uint32_t hits = 0) {
    TPilotRecord r;
    r.PlayingTime = seconds;
    r.OnFootTime = onFoot;
    r.Points = points;
    r.ShotsFired = fired;
    r.ShotsHitEnemy = hits;
    return r;
}

bool Has(const std::vector<std::string>& lines, const std::string& line) {
    return std::find(lines.begin(), lines.end(), line) != lines.end();
}

} // namespace

TEST(Ranks, LevelsAndTitlesChangeAtTheTableEndsAndCapAtTheHighestLevel) {
    // Above the named ranks each level n needs 21 n (n + 1) experience.
    constexpr uint32_t top = 21u * 9511u * 9512u, second = 21u * 42u * 43u;
    const uint32_t experiences[] = {0, 41, 42, 36161, 36162, top - 1, top, 1900000001u, 0xFFFFFFFFu};
    const int levels[] = {1, 1, 2, 41, 42, 9511, 9512, 9512, 9512};
    for (size_t i = 0; i < std::size(levels); ++i)
        EXPECT_EQ(RankLevel(experiences[i]), levels[i]) << experiences[i];
    const std::pair<uint32_t, const char*> titles[] = {{41, "Newbie flaron"},
                                                       {42, "Bronze Newbie flaron"},
                                                       {881, "Silver Rookie flaron "},
                                                       {882, "Gold Rookie flaron "},
                                                       {13650, "Flarknight of the black panther"},
                                                       {36161, "Gold Flarmaster"},
                                                       {36162, "Level 1 Flargod"},
                                                       {second, "Level 2 Flargod"},
                                                       {0xFFFFFFFFu, "Level 9471 Flargod"}};
    for (const auto& [experience, title] : titles)
        EXPECT_EQ(RankTitle(experience), title) << experience;
}

TEST(Ranks, FormatTimeEdgesAndFormatPercentAlignsAndRounds) {
    const std::pair<uint32_t, const char*> cases[] = {
        {0, "0 Seconds"}, {1, "1 Second"},   {59, "59 Seconds"}, {60, "01:00"},
        {3599, "59:59"},  {3600, "1:00:00"}, {3725, "1:02:05"},  {0xFFFFFFFFu, "1193046:28:15"}};
    for (const auto& [seconds, text] : cases)
        EXPECT_EQ(FormatTime(seconds), text) << seconds;
    // Percentages align and round.
    EXPECT_EQ(FormatPercent(12, 45.5), " 45.50% (12)");
    EXPECT_EQ(FormatPercent(7, 9.999), "  10.00% (7)") << "the blanks come from the unrounded value";
    EXPECT_EQ(FormatPercent(1, 99.996), " 100.00% (1)");
    // Exact halves round away from zero: one hit in 32 shots is 3.125 %.
    EXPECT_EQ(FormatPercent(1, 3.125), "  3.13% (1)");
    EXPECT_EQ(FormatPercent(1, 1.005), "  1.00% (1)") << "1.005 is a hair below the half in binary";
}

TEST(Ranks, ExperienceForWinLossAndDraw) {
    // Per player: experience, battles won, battles drawn, successive wins.
    using Result = std::tuple<uint32_t, uint32_t, uint32_t, uint32_t>;
    const auto result = [](const TPilotRecord& p) {
        return Result{p.Experience, p.BattlesWon, p.BattlesDrawn, p.SuccessiveWins};
    };
    struct Case {
        const char* Name;
        TOptions Match;
        Result One, Two;
    };
    // The loser earns half the points, the remainder dropped; a draw keeps the streak.
    const Case cases[] = {{"won", MatchWithPoints(10, 3), {10, 1, 0, 1}, {1, 0, 0, 0}},
                          {"lost", MatchWithPoints(11, 12, 4), {5, 0, 0, 0}, {12, 1, 0, 1}},
                          {"drawn", MatchWithPoints(10, 10, 3), {6, 0, 1, 3}, {6, 0, 1, 0}},
                          {"scoreless", MatchWithPoints(0, 0), {0, 0, 1, 0}, {0, 0, 1, 0}}};
    for (const Case& c : cases) {
        TOptions m = c.Match;
        SettleMatch(m);
        EXPECT_EQ(result(m.Players[0]), c.One) << c.Name;
        EXPECT_EQ(result(m.Players[1]), c.Two) << c.Name;
    }
}

TEST(Ranks, StreakMedalsAtFiveTenFifteenWinsAccuracyAndOnFootMedals) {
    TOptions pilots;
    for (int match = 1; match <= 16; ++match) {
        TOptions m = MatchWithPoints(5, 1, pilots.Players[0].SuccessiveWins);
        m.Players[1].SuccessiveWins = pilots.Players[1].SuccessiveWins;
        SettleMatch(m);
        AwardMatchMedals(m.Players[0], m.Players[1]);
        AwardMatchMedals(m.Players[1], m.Players[0]);
        const int earned = match % 5 == 0 && match <= 15 ? 2 + match / 5 : -1;
        for (int medal : {3, 4, 5})
            EXPECT_EQ(m.Players[0].Medals[size_t(medal)], medal == earned)
                << "match " << match << " medal " << medal;
        EXPECT_EQ(m.Players[1].SuccessiveWins, 0u);
        MergeMatch(pilots, m);
    }
    EXPECT_EQ(pilots.Players[0].SuccessiveWins, 16u);

    TOptions loss = MatchWithPoints(0, 1, 16);
    SettleMatch(loss);
    MergeMatch(pilots, loss);
    EXPECT_EQ(pilots.Players[0].SuccessiveWins, 0u);
    EXPECT_EQ(pilots.Players[0].Medals[3], 1) << "medals are kept for ever";

    // Accuracy medals need a hundred shots and two minutes; on-foot medals more than two minutes and the
    // lead.
    const TPilotRecord opponent = Played(200, 0, 3);
    struct Case {
        const char* Name;
        TPilotRecord Match;
        std::vector<int> Medals; // 12 to 14 for hits, 15 to 17 on foot
    };
    const Case cases[] = {
        {"60 % hits", Played(120, 0, 0, 100, 60), {1, 0, 0, 0, 0, 0}},
        {"99 shots", Played(500, 0, 0, 99, 99), {0, 0, 0, 0, 0, 0}},
        {"119 seconds", Played(119, 0, 0, 100, 100), {0, 0, 0, 0, 0, 0}},
        {"90 % hits", Played(300, 0, 0, 1000, 900), {1, 1, 1, 0, 0, 0}},
        {"61 % on foot", Played(200, 122, 4), {0, 0, 0, 1, 0, 0}},
        {"60 % on foot is not more than 60 %", Played(200, 120, 4), {0, 0, 0, 0, 0, 0}},
        {"points only level with the opponent's", Played(200, 199, 3), {0, 0, 0, 0, 0, 0}},
        {"95 % on foot", Played(1000, 950, 4), {0, 0, 0, 1, 1, 1}},
    };
    for (const Case& c : cases) {
        TPilotRecord r = c.Match;
        AwardMatchMedals(r, opponent);
        EXPECT_EQ(std::vector<int>(r.Medals.begin() + 12, r.Medals.end()), c.Medals) << c.Name;
    }
}

TEST(Ranks, MergeAddsCountersKeepsTheLongestBattleAndSetsMedals) {
    TOptions pilots;
    TPilotRecord& p = pilots.Players[1];
    p.ShotsFired = 10;
    p.LongestBattle = 300;
    p.Experience = 0xFFFFFFFFu;
    p.Medals[7] = 1;
    TOptions match;
    TPilotRecord& m = match.Players[1];
    m = Played(200, 30, 7, 5, 2);
    m.ShotsHitSelf = 1;
    m.FlagsCaptured = 1;
    m.FlagAttempts = 2;
    m.Experience = 2;
    m.BattlesWon = 1;
    m.BattlesDrawn = 3;
    m.Medals[0] = 5;
    MergeMatch(pilots, match);
    // Counters wrap: the experience comes round to 1.
    EXPECT_EQ((std::vector<uint32_t>{p.ShotsFired, p.ShotsHitEnemy, p.ShotsHitSelf, p.Points, p.FlagsCaptured,
                                     p.FlagAttempts, p.PlayingTime, p.OnFootTime, p.Experience, p.BattlesWon,
                                     p.BattlesDrawn, p.BattlesFought, p.LongestBattle}),
              (std::vector<uint32_t>{15, 2, 1, 7, 1, 2, 200, 30, 1, 1, 3, 1, 300}));
    EXPECT_EQ(p.Medals[0], 1);
    EXPECT_EQ(p.Medals[7], 1);
    EXPECT_EQ(pilots.Players[0].BattlesFought, 1u);

    match.Players[1].PlayingTime = 301;
    MergeMatch(pilots, match);
    EXPECT_EQ(p.LongestBattle, 301u);
    EXPECT_EQ(p.BattlesFought, 2u);
}

TEST(Ranks, FullLifetimeStatisticsLineUpTheirValuesAndNeverGoNegative) {
    TPilotRecord r = Played(3725, 745, 42, 200, 91);
    r.Experience = 450;
    r.ShotsHitSelf = 9;
    r.FlagAttempts = 4;
    r.FlagsCaptured = 1;
    r.BattlesFought = 8;
    r.BattlesWon = 5;
    r.BattlesDrawn = 1;
    r.LongestBattle = 65;
    r.SuccessiveWins = 2;
    // The order of the blocks is read off the panel by the end-screen tests.
    const std::vector<std::string> full = PilotStatsLines(r, true);
    EXPECT_EQ(full.size(), 26u);
    for (const char* line :
         {"Rank: Bronze Rookie flaron ", "Total Playing Time:...1:02:05", "Flaron Time:..........12:25 (20%)",
          "Total Points:.........42", "Shots Fired:..........        (200)",
          "Shots Hit Enemy:...... 45.50% (91)", "Shots Hit Self:.......  4.50% (9)",
          "Shots Missed:......... 50.00% (100)", "Flag capture attempts:        (4)",
          "Flags captured:....... 25.00% (1)", "Battles won:.......... 62.50% (5)",
          "Battles lost:......... 25.00% (2)", "Battles drawed:....... 12.50% (1)",
          "Longest Battle:.......01:05", "Successive wins:......2"})
        EXPECT_TRUE(Has(full, line)) << line;
    // More hits than shots show no misses instead of billions.
    TPilotRecord odd = Played(0, 0, 0, 10, 9);
    odd.ShotsHitSelf = 4;
    odd.BattlesFought = 2;
    odd.BattlesWon = 2;
    odd.BattlesDrawn = 1;
    const std::vector<std::string> lines = PilotStatsLines(odd, true);
    EXPECT_TRUE(Has(lines, "Shots Missed:.........  0.00% (0)"));
    EXPECT_TRUE(Has(lines, "Battles lost:.........  0.00% (0)"));
}
