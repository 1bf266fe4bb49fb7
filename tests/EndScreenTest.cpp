// EndScreenTest: the statistics panels, the result of a finished match, the merge on space and the
// still of the match behind the menus.
#include "CareersTestKit.h"
#include "core/GameMath.h"
#include "frontend/PanelDrawing.h"
#include "text/Font.h"
#include "world/World.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

constexpr int StatsCell = 4; // narrow cells so whole statistics lines fit the panel

class EndScreen : public ::testing::Test {
  protected:
    TCareers C;
    TGame& G = *C.Game;
    TFrontEnd& F = G.Front;
    void SetUp() override {
        C.UseCellFont("GreenFont", StatsCell, 6);
        C.UseCellFont("GreyFont", 10, 15);
    }
    // The text lines of a panel's statistics area, trailing blanks dropped, up to the medal rows.
    static std::vector<std::string> Lines(const Surface& panel, int x, int top, int bottom) {
        std::vector<std::string> lines;
        for (int y = top; y + 7 <= bottom; y += 7) {
            std::string line = TCareers::ReadText(panel, StatsCell, x, y, 39);
            line.erase(line.find_last_not_of(' ') + 1);
            lines.push_back(line);
        }
        while (!lines.empty() && lines.back().empty())
            lines.pop_back();
        return lines;
    }
    // A finished match in an empty world: both match records start from the pilots.
    TOptions& FinishedMatch() {
        G.World = std::make_unique<TWorld>();
        F.World->Match = F.Options;
        for (TPilotRecord& r : F.World->Match.Players)
            ClearMatchCounters(r);
        F.GameState = gsMatchEnd;
        F.EndScreenDrawn = false;
        return F.World->Match;
    }
    // True when every visible pixel of the image's first pattern is on the screen at (x, y).
    bool Shows(const std::string& image, int x, int y) const {
        const TPictureItem& item = F.Images.Find(image);
        const TRect r = item.PatternRect(0);
        int visible = 0;
        for (int dy = 0; dy < r.Height(); ++dy)
            for (int dx = 0; dx < r.Width(); ++dx) {
                const uint32_t px = item.Picture.Pixel(r.Left + dx, r.Top + dy);
                if (px == item.TransparentColor) continue;
                ++visible;
                if (F.BackSurface.Pixel(x + dx, y + dy) != px) return false;
            }
        return visible > 0;
    }
};

TEST_F(EndScreen, LifetimeStatisticsShowTheBasicLinesForANewPilotAndEveryBlockLater) {
    F.DrawPilotStats(0);
    EXPECT_EQ(Lines(F.PlayerPanels[0], 1, 99, 314),
              (std::vector<std::string>{"", "RANK: NEWBIE FLARON", "EXPERIENCE: 0", "",
                                        "TOTAL PLAYING TIME:...0 SECONDS",
                                        "FLARON TIME:..........0 SECONDS (0%)"}));
    for (int y = 314; y < 361; ++y)
        for (int x = 0; x < 158; ++x)
            ASSERT_EQ(F.PlayerPanels[0].Pixel(x, y), 0u) << "no medals";

    TPilotRecord& p = F.Options.Players[1];
    p.Experience = 42;
    p.PlayingTime = 3725;
    p.OnFootTime = 745;
    p.Points = 12;
    p.ShotsFired = 200;
    p.ShotsHitEnemy = 91;
    p.ShotsHitSelf = 9;
    p.BattlesFought = 4;
    p.BattlesWon = 2;
    p.BattlesDrawn = 1;
    p.LongestBattle = 65;
    p.SuccessiveWins = 2;
    p.Medals[3] = 1;
    p.Medals[4] = 1;
    F.DrawPilotStats(1);
    EXPECT_EQ(Lines(F.PlayerPanels[1], 1, 99, 314),
              (std::vector<std::string>{"",
                                        "RANK: BRONZE NEWBIE FLARON",
                                        "EXPERIENCE: 42",
                                        "",
                                        "TOTAL PLAYING TIME:...1:02:05",
                                        "FLARON TIME:..........12:25 (20%)",
                                        "",
                                        "TOTAL POINTS:.........12",
                                        "",
                                        "SHOTS FIRED:..........        (200)",
                                        "SHOTS HIT ENEMY:...... 45.50% (91)",
                                        "SHOTS HIT SELF:.......  4.50% (9)",
                                        "SHOTS MISSED:......... 50.00% (100)",
                                        "",
                                        "BATTLES FOUGHT:.......        (4)",
                                        "BATTLES WON:.......... 50.00% (2)",
                                        "BATTLES LOST:......... 25.00% (1)",
                                        "BATTLES DRAWED:....... 25.00% (1)",
                                        "",
                                        "LONGEST BATTLE:.......01:05",
                                        "",
                                        "SUCCESSIVE WINS:......2"}));
    F.BackSurface.Fill(0);
    F.BackSurface.Draw(0, 0, F.PlayerPanels[1], false);
    EXPECT_TRUE(Shows("Medal4", 26 + 3, 316)) << "the second grade of the streak family lies over the first";
}

TEST_F(EndScreen, TheWinnerByPointsIsNamedEvenWithoutLivesLeft) {
    TOptions& m = FinishedMatch();
    m.Players[0].Points = 3;
    m.Players[1].Points = 7;
    m.Players[1].PlayingTime = 90;
    F.World->Ships[1].Lives = 0;
    F.BackSurface.Fill(0);
    F.EndScreenFrame();
    EXPECT_EQ(F.GameState, gsMatchEnd);
    EXPECT_EQ(TCareers::ReadText(F.BackSurface, 10, 445, 42, 7), "WINNER:");
    EXPECT_EQ(TCareers::ReadText(F.BackSurface, 10, 130, 42, 6), "LOSER:");
    EXPECT_TRUE(Shows("GoldTrophy", 588, 350));
    EXPECT_TRUE(Shows("SilverTrophy", 4, 350));
    EXPECT_EQ(TCareers::ReadText(F.BackSurface, 10, 190, 410, 26), "PRESS SPACE TO CONTINUE...");
    // The match statistics over the match picture; the panels are drawn at (81, 60) and (401, 60).
    EXPECT_EQ(Lines(F.BackSurface, 402, 100, 130),
              (std::vector<std::string>{"", "EXPERIENCE EARNED: 7", "", "PLAYING TIME:.........01:30"}));
    EXPECT_EQ(TCareers::ReadText(F.BackSurface, StatsCell, 82, 107, 20), "EXPERIENCE EARNED: 1");
    EXPECT_EQ(m.Players[1].BattlesWon, 1u);
    EXPECT_EQ(m.Players[1].SuccessiveWins, 1u);
    EXPECT_EQ(F.Options.Players[1].BattlesWon, 0u) << "nothing is merged before space";

    // Later ticks neither settle again nor draw.
    F.BackSurface.Fill(0x202020);
    F.EndScreenFrame();
    EXPECT_EQ(m.Players[1].Experience, 7u);
    EXPECT_EQ(m.Players[1].BattlesWon, 1u);
    EXPECT_EQ(F.BackSurface.Pixel(450, 45), 0x202020u);
}

TEST_F(EndScreen, EqualPointsAreADrawWithoutTrophies) {
    TOptions& m = FinishedMatch();
    F.Options.Players[0].SuccessiveWins = 3;
    m.Players[0].SuccessiveWins = 3;
    F.BackSurface.Fill(0);
    F.EndScreenFrame();
    EXPECT_EQ(TCareers::ReadText(F.BackSurface, 10, 300, 230, 4), "DRAW");
    EXPECT_EQ(TCareers::ReadText(F.BackSurface, 10, 445, 42, 7), "       ");
    EXPECT_EQ(TCareers::ReadText(F.BackSurface, 10, 125, 42, 7), "       ");
    for (int y = 350; y < 400; ++y)
        for (int x = 0; x < 52; ++x) {
            ASSERT_EQ(F.BackSurface.Pixel(x, y), 0u);
            ASSERT_EQ(F.BackSurface.Pixel(588 + x, y), 0u);
        }
    EXPECT_EQ(m.Players[0].BattlesDrawn, 1u);
    EXPECT_EQ(m.Players[1].BattlesDrawn, 1u);
    EXPECT_EQ(m.Players[0].SuccessiveWins, 3u) << "a draw keeps the streak";
}

TEST_F(EndScreen, MedalsAreDecidedWhenTheResultIsShown) {
    TOptions& m = FinishedMatch();
    F.Options.Players[0].SuccessiveWins = 4;
    m.Players[0].SuccessiveWins = 4;
    TPilotRecord& a = m.Players[0];
    a.Points = 3;
    a.PlayingTime = 200;
    a.OnFootTime = 122;
    a.ShotsFired = 100;
    a.ShotsHitEnemy = 60;
    TPilotRecord& b = m.Players[1];
    b.Points = 1;
    b.PlayingTime = 200;
    b.OnFootTime = 120;
    b.ShotsFired = 99;
    b.ShotsHitEnemy = 99;
    F.EndScreenFrame();
    EXPECT_EQ(a.Medals[3], 1) << "the fifth win in a row";
    EXPECT_EQ(a.Medals[12], 1) << "60 of 100 shots in two minutes";
    EXPECT_EQ(a.Medals[13], 0);
    EXPECT_EQ(a.Medals[15], 1) << "122 of 200 seconds on foot in a won match";
    EXPECT_EQ(b.Medals[12], 0) << "99 shots are too few";
    EXPECT_EQ(b.Medals[15], 0) << "the loser earns no on-foot medal";
    EXPECT_TRUE(Shows("Medal3", 81 + 26, 60 + 314));
}

TEST_F(EndScreen, SpaceHeldAtTheEndSettlesMergesAndReturnsInOneTick) {
    TOptions& m = FinishedMatch();
    m.Players[0].Points = 10;
    m.Players[1].Points = 11;
    m.Players[0].PlayingTime = 100;
    m.Players[1].PlayingTime = 100;
    F.Options.Players[0].LongestBattle = 50;
    F.MainMenu->Items[0].Visible = true; // a match had been interrupted earlier
    C.Platform.Press(keySpace, true);
    G.Tick();
    EXPECT_EQ(F.GameState, gsMainMenu);
    const TPilotRecord& one = F.Options.Players[0];
    const TPilotRecord& two = F.Options.Players[1];
    EXPECT_EQ(one.BattlesFought, 1u);
    EXPECT_EQ(two.BattlesFought, 1u);
    EXPECT_EQ(two.BattlesWon, 1u);
    EXPECT_EQ(one.Experience, 5u);
    EXPECT_EQ(two.Experience, 11u);
    EXPECT_EQ(one.LongestBattle, 100u);
    EXPECT_FALSE(F.MainMenu->Items[0].Visible) << "the finished match cannot be resumed";
    EXPECT_EQ(TCareers::ReadText(F.PlayerPanels[1], StatsCell, 1, 106, 11), "RANK: NEWBI");
    EXPECT_EQ(TCareers::ReadCentred(F.PlayerPanels[1], 10, 79, 0, 8), "PLAYER 2");

    // Space still held in the menu merges nothing more.
    G.Tick();
    EXPECT_EQ(F.Options.Players[1].BattlesFought, 1u);
}

TEST_F(EndScreen, TheMenuShowsAnEnlargedStillOfTheViews) {
    F.MenuBackground.Fill(0x0A0B0C);
    F.RefreshMenuBackground();
    EXPECT_EQ(F.MenuBackground.Pixel(320, 240), 0x0A0B0CU) << "no world, no still";

    F.Options.MapFile.Set("maps\\Duel.map");
    G.World = TWorld::Create(F.Files, F.Images.Find("GreenFont"), F.Options, 7);
    Surface views(ScreenWidth, ScreenHeight);
    F.World->DrawViews(views);
    F.RefreshMenuBackground();
    EXPECT_EQ(F.MenuBackground.Pixel(0, 0), DimmedForText(views.Pixel(17, 0)));
    const uint32_t corner = F.MenuBackground.Pixel(639, 479);
    EXPECT_TRUE(corner == DimmedForText(views.Pixel(621, 428)) ||
                corner == DimmedForText(views.Pixel(620, 428)) ||
                corner == DimmedForText(views.Pixel(621, 427)));
    int differing = 0;
    for (int x = 0; x < 640; x += 7)
        differing += F.MenuBackground.Pixel(x, 240) != 0x0A0B0CU;
    EXPECT_GT(differing, 80);

    // The statistics' green keeps a clear contrast (WCAG ratio 4.5) over the brightest still.
    const auto luminance = [](uint32_t c) {
        const auto channel = [](uint32_t v) { return std::pow(double(v & 0xFF) / 255.0, 2.2); };
        return 0.2126 * channel(c >> 16) + 0.7152 * channel(c >> 8) + 0.0722 * channel(c);
    };
    const double text = luminance(Rgb(88, 232, 96));
    for (const uint32_t bright : {0xFFFFFFU, 0x00FF00U, 0xFFFF00U}) {
        const double still = luminance(DimmedForText(bright));
        EXPECT_GE((text + 0.05) / (still + 0.05), 4.5) << std::hex << bright;
    }
}

} // namespace
