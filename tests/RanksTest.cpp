// RanksTest: rank table, time and percentage texts, settling and merging matches, medals, statistics text.
#include "frontend/Ranks.h"
#include "app/OptionsFile.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

TOptions MatchWithPoints(uint32_t one, uint32_t two) {
    TOptions m;
    m.Players[0].Points = one;
    m.Players[1].Points = two;
    return m;
}

TPilotRecord Played(uint32_t seconds, uint32_t onFoot, uint32_t points) {
    TPilotRecord r;
    r.PlayingTime = seconds;
    r.OnFootTime = onFoot;
    r.Points = points;
    return r;
}

} // namespace

TEST(Ranks, LevelsAndTitlesChangeAtTheTableEndsAndCapAtTheHighestLevel) {
    const std::pair<uint32_t, int> levels[] = {{0, 1},
                                               {41, 1},
                                               {42, 2},
                                               {36161, 41},
                                               {36162, 42},
                                               {21u * 9511u * 9512u - 1u, 9511},
                                               {21u * 9511u * 9512u, 9512},
                                               {1900000001u, 9512},
                                               {0xFFFFFFFFu, 9512}};
    for (const auto& [experience, level] : levels)
        EXPECT_EQ(RankLevel(experience), level) << experience;
    const std::pair<uint32_t, const char*> titles[] = {{41, "Newbie flaron"},
                                                       {42, "Bronze Newbie flaron"},
                                                       {881, "Silver Rookie flaron "},
                                                       {882, "Gold Rookie flaron "},
                                                       {13650, "Flarknight of the black panther"},
                                                       {36161, "Gold Flarmaster"},
                                                       {36162, "Level 1 Flargod"},
                                                       {21u * 42u * 43u, "Level 2 Flargod"},
                                                       {0xFFFFFFFFu, "Level 9471 Flargod"}};
    for (const auto& [experience, title] : titles)
        EXPECT_EQ(RankTitle(experience), title) << experience;
}

TEST(Ranks, FormatTimeEdges) {
    const std::pair<uint32_t, const char*> cases[] = {
        {0, "0 Seconds"}, {1, "1 Second"},   {59, "59 Seconds"}, {60, "01:00"},
        {3599, "59:59"},  {3600, "1:00:00"}, {3725, "1:02:05"},  {0xFFFFFFFFu, "1193046:28:15"}};
    for (const auto& [seconds, text] : cases)
        EXPECT_EQ(FormatTime(seconds), text) << seconds;
}

TEST(Ranks, FormatPercentAlignsAndRounds) {
    EXPECT_EQ(FormatPercent(12, 45.5), " 45.50% (12)");
    EXPECT_EQ(FormatPercent(3, 100), "100.00% (3)");
    EXPECT_EQ(FormatPercent(7, 9.999), "  10.00% (7)") << "the blanks come from the unrounded value";
    EXPECT_EQ(FormatPercent(1, 99.996), " 100.00% (1)");
    // Exact halves round away from zero: one hit in 32 shots is 3.125 %.
    EXPECT_EQ(FormatPercent(1, 3.125), "  3.13% (1)");
    EXPECT_EQ(FormatPercent(1, 1.005), "  1.00% (1)") << "1.005 is a hair below the half in binary";
}

TEST(Ranks, ExperienceForWinLossAndDraw) {
    TOptions won = MatchWithPoints(10, 3);
    SettleMatch(won);
    EXPECT_EQ(won.Players[0].Experience, 10u);
    EXPECT_EQ(won.Players[0].BattlesWon, 1u);
    EXPECT_EQ(won.Players[0].SuccessiveWins, 1u);
    EXPECT_EQ(won.Players[1].Experience, 1u) << "half of 3, the remainder dropped";
    EXPECT_EQ(won.Players[1].BattlesWon, 0u);

    TOptions lost = MatchWithPoints(11, 12);
    lost.Players[0].SuccessiveWins = 4;
    SettleMatch(lost);
    EXPECT_EQ(lost.Players[0].Experience, 5u);
    EXPECT_EQ(lost.Players[0].SuccessiveWins, 0u);
    EXPECT_EQ(lost.Players[1].Experience, 12u);
    EXPECT_EQ(lost.Players[1].BattlesWon, 1u);

    TOptions drawn = MatchWithPoints(10, 10);
    drawn.Players[0].SuccessiveWins = 3;
    SettleMatch(drawn);
    for (const TPilotRecord& p : drawn.Players) {
        EXPECT_EQ(p.Experience, 6u);
        EXPECT_EQ(p.BattlesDrawn, 1u);
        EXPECT_EQ(p.BattlesWon, 0u);
    }
    EXPECT_EQ(drawn.Players[0].SuccessiveWins, 3u) << "a draw keeps the streak";

    TOptions scoreless = MatchWithPoints(0, 0);
    SettleMatch(scoreless);
    EXPECT_EQ(scoreless.Players[0].Experience, 0u);
    EXPECT_EQ(scoreless.Players[0].BattlesDrawn, 1u);
}

TEST(Ranks, StreaksGrowWithWinsAndAwardTheirMedalsAtFiveTenFifteen) {
    TOptions pilots;
    for (int match = 1; match <= 16; ++match) {
        TOptions m = MatchWithPoints(5, 1);
        m.Players[0].SuccessiveWins = pilots.Players[0].SuccessiveWins;
        m.Players[1].SuccessiveWins = pilots.Players[1].SuccessiveWins;
        SettleMatch(m);
        AwardMatchMedals(m.Players[0], m.Players[1]);
        AwardMatchMedals(m.Players[1], m.Players[0]);
        const bool newMedal = m.Players[0].Medals[3] || m.Players[0].Medals[4] || m.Players[0].Medals[5];
        EXPECT_EQ(newMedal, match == 5 || match == 10 || match == 15) << "match " << match;
        if (match == 5) {
            EXPECT_EQ(m.Players[0].Medals[3], 1);
        }
        if (match == 10) {
            EXPECT_EQ(m.Players[0].Medals[4], 1);
        }
        if (match == 15) {
            EXPECT_EQ(m.Players[0].Medals[5], 1);
        }
        EXPECT_EQ(m.Players[1].SuccessiveWins, 0u);
        MergeMatch(pilots, m);
    }
    EXPECT_EQ(pilots.Players[0].SuccessiveWins, 16u);
    EXPECT_EQ(pilots.Players[0].BattlesWon, 16u);
    EXPECT_EQ(pilots.Players[0].Medals[3] + pilots.Players[0].Medals[4] + pilots.Players[0].Medals[5], 3);

    TOptions loss = MatchWithPoints(0, 1);
    loss.Players[0].SuccessiveWins = 16;
    SettleMatch(loss);
    MergeMatch(pilots, loss);
    EXPECT_EQ(pilots.Players[0].SuccessiveWins, 0u);
    EXPECT_EQ(pilots.Players[0].Medals[3], 1) << "medals are kept for ever";
}

TEST(Ranks, AccuracyMedalsNeedAHundredShotsAndTwoMinutes) {
    const TPilotRecord nobody;
    auto shooter = [](uint32_t fired, uint32_t hits, uint32_t seconds) {
        TPilotRecord r;
        r.ShotsFired = fired;
        r.ShotsHitEnemy = hits;
        r.PlayingTime = seconds;
        return r;
    };
    TPilotRecord sixty = shooter(100, 60, 120);
    AwardMatchMedals(sixty, nobody);
    EXPECT_EQ(sixty.Medals[12], 1);
    EXPECT_EQ(sixty.Medals[13], 0);

    TPilotRecord almost = shooter(100, 59, 120);
    AwardMatchMedals(almost, nobody);
    EXPECT_EQ(almost.Medals[12], 0);

    TPilotRecord few = shooter(99, 99, 500);
    AwardMatchMedals(few, nobody);
    EXPECT_EQ(few.Medals[12] + few.Medals[13] + few.Medals[14], 0);

    TPilotRecord quick = shooter(100, 100, 119);
    AwardMatchMedals(quick, nobody);
    EXPECT_EQ(quick.Medals[14], 0);

    TPilotRecord sharp = shooter(1000, 900, 300);
    AwardMatchMedals(sharp, nobody);
    EXPECT_EQ(sharp.Medals[12] + sharp.Medals[13] + sharp.Medals[14], 3);
    TPilotRecord good = shooter(200, 150, 300);
    AwardMatchMedals(good, nobody);
    EXPECT_EQ(good.Medals[13], 1);
    EXPECT_EQ(good.Medals[14], 0);
}

TEST(Ranks, OnFootMedalsNeedMoreThanTwoMinutesAndTheLead) {
    const TPilotRecord opponent = Played(200, 0, 3);
    TPilotRecord walker = Played(200, 122, 4);
    AwardMatchMedals(walker, opponent);
    EXPECT_EQ(walker.Medals[15], 1);
    EXPECT_EQ(walker.Medals[16], 0);

    TPilotRecord exactly = Played(200, 120, 4);
    AwardMatchMedals(exactly, opponent);
    EXPECT_EQ(exactly.Medals[15], 0) << "60 % is not more than 60 %";

    TPilotRecord shortMatch = Played(120, 120, 4);
    AwardMatchMedals(shortMatch, opponent);
    EXPECT_EQ(shortMatch.Medals[15] + shortMatch.Medals[16] + shortMatch.Medals[17], 0);

    TPilotRecord tied = Played(200, 199, 3);
    AwardMatchMedals(tied, opponent);
    EXPECT_EQ(tied.Medals[15], 0) << "the points must beat the opponent's";

    TPilotRecord always = Played(1000, 950, 4);
    AwardMatchMedals(always, opponent);
    EXPECT_EQ(always.Medals[15] + always.Medals[16] + always.Medals[17], 3);
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
    m.ShotsFired = 5;
    m.ShotsHitEnemy = 2;
    m.ShotsHitSelf = 1;
    m.Points = 7;
    m.FlagsCaptured = 1;
    m.FlagAttempts = 2;
    m.PlayingTime = 200;
    m.OnFootTime = 30;
    m.Experience = 2;
    m.BattlesWon = 1;
    m.Medals[0] = 5;
    MergeMatch(pilots, match);
    EXPECT_EQ(p.ShotsFired, 15u);
    EXPECT_EQ(p.ShotsHitEnemy, 2u);
    EXPECT_EQ(p.ShotsHitSelf, 1u);
    EXPECT_EQ(p.Points, 7u);
    EXPECT_EQ(p.FlagsCaptured, 1u);
    EXPECT_EQ(p.FlagAttempts, 2u);
    EXPECT_EQ(p.PlayingTime, 200u);
    EXPECT_EQ(p.OnFootTime, 30u);
    EXPECT_EQ(p.Experience, 1u) << "counters wrap";
    EXPECT_EQ(p.BattlesWon, 1u);
    EXPECT_EQ(p.BattlesFought, 1u);
    EXPECT_EQ(p.LongestBattle, 300u);
    EXPECT_EQ(p.Medals[0], 1);
    EXPECT_EQ(p.Medals[7], 1);
    EXPECT_EQ(pilots.Players[0].BattlesFought, 1u);

    match.Players[1].PlayingTime = 301;
    MergeMatch(pilots, match);
    EXPECT_EQ(p.LongestBattle, 301u);
    EXPECT_EQ(p.BattlesFought, 2u);
}

TEST(Ranks, NewPilotShowsOnlyTheBasicLines) {
    const TPilotRecord fresh = DefaultPilot(0, "graphics\\a_ship.bmp", "graphics\\a_flag.bmp");
    EXPECT_EQ(PilotStatsLines(fresh, true),
              (std::vector<std::string>{"", "Rank: Newbie flaron", "Experience: 0", "",
                                        "Total Playing Time:...0 Seconds",
                                        "Flaron Time:..........0 Seconds (0%)", ""}));
    EXPECT_EQ(PilotStatsLines(fresh, false),
              (std::vector<std::string>{"", "Experience earned: 0", "", "Playing Time:.........0 Seconds",
                                        "Flaron Time:..........0 Seconds (0%)", ""}));
}

TEST(Ranks, FullLifetimeStatisticsLineUpTheirValues) {
    TPilotRecord r;
    r.Experience = 450;
    r.PlayingTime = 3725;
    r.OnFootTime = 745;
    r.Points = 42;
    r.ShotsFired = 200;
    r.ShotsHitEnemy = 91;
    r.ShotsHitSelf = 9;
    r.FlagAttempts = 4;
    r.FlagsCaptured = 1;
    r.BattlesFought = 8;
    r.BattlesWon = 5;
    r.BattlesDrawn = 1;
    r.LongestBattle = 65;
    r.SuccessiveWins = 2;
    EXPECT_EQ(PilotStatsLines(r, true), (std::vector<std::string>{
                                            "",
                                            "Rank: Bronze Rookie flaron ",
                                            "Experience: 450",
                                            "",
                                            "Total Playing Time:...1:02:05",
                                            "Flaron Time:..........12:25 (20%)",
                                            "",
                                            "Total Points:.........42",
                                            "",
                                            "Shots Fired:..........        (200)",
                                            "Shots Hit Enemy:...... 45.50% (91)",
                                            "Shots Hit Self:.......  4.50% (9)",
                                            "Shots Missed:......... 50.00% (100)",
                                            "",
                                            "Flag capture attempts:        (4)",
                                            "Flags captured:....... 25.00% (1)",
                                            "",
                                            "Battles fought:.......        (8)",
                                            "Battles won:.......... 62.50% (5)",
                                            "Battles lost:......... 25.00% (2)",
                                            "Battles drawed:....... 12.50% (1)",
                                            "",
                                            "Longest Battle:.......01:05",
                                            "",
                                            "Successive wins:......2",
                                            "",
                                        }));
}

TEST(Ranks, MatchViewLeavesOutLifetimeOnlyLines) {
    TPilotRecord r = Played(200, 200, 3);
    r.Experience = 3;
    r.BattlesFought = 4;
    r.SuccessiveWins = 1;
    EXPECT_EQ(
        PilotStatsLines(r, false),
        (std::vector<std::string>{"", "Experience earned: 3", "", "Playing Time:.........03:20",
                                  "Flaron Time:..........03:20 (100%)", "", "Points:...............3", ""}));
}

TEST(Ranks, MoreHitsThanShotsShowNoMissesInsteadOfBillions) {
    TPilotRecord r;
    r.ShotsFired = 10;
    r.ShotsHitEnemy = 9;
    r.ShotsHitSelf = 4;
    r.BattlesFought = 2;
    r.BattlesWon = 2;
    r.BattlesDrawn = 1;
    const std::vector<std::string> lines = PilotStatsLines(r, true);
    EXPECT_NE(std::find(lines.begin(), lines.end(), "Shots Missed:.........  0.00% (0)"), lines.end());
    EXPECT_NE(std::find(lines.begin(), lines.end(), "Battles lost:.........  0.00% (0)"), lines.end());
}

TEST(Ranks, EarnedMedalsArePlacedByFamilyAndGrade) {
    TPilotRecord r;
    EXPECT_TRUE(MedalPlacements(r).empty());
    r.Medals[0] = 1;
    r.Medals[2] = 1;
    r.Medals[16] = 1;
    const std::vector<TMedalPlacement> placed = MedalPlacements(r);
    ASSERT_EQ(placed.size(), 3u);
    EXPECT_EQ(placed[0].Medal, 0);
    EXPECT_EQ(placed[0].X, 0);
    EXPECT_EQ(placed[0].Y, 314);
    EXPECT_EQ(placed[1].Medal, 2);
    EXPECT_EQ(placed[1].X, 6);
    EXPECT_EQ(placed[1].Y, 318);
    EXPECT_EQ(placed[2].Medal, 16);
    EXPECT_EQ(placed[2].X, 133);
    EXPECT_EQ(placed[2].Y, 316);
}
