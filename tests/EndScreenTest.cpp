// EndScreenTest: the statistics panels, the result of a finished match and the merge on space.
#include "CareersTestKit.h"
#include "core/GameMath.h"
#include "frontend/PanelDrawing.h"
#include "text/Font.h"
#include "world/World.h"

#include <gtest/gtest.h>

namespace {

constexpr int StatsCell = 4; // narrow cells so whole statistics lines fit the panel

class EndScreen : public TCareersTest {
  protected:
    void SetUp() override {
        TCareersTest::SetUp();
        C.UseCellFont("GreenFont", StatsCell, 6);
    }
    // The statistics line at row y, trailing blanks dropped.
    static std::string Line(const Surface& panel, int x, int y) {
        std::string line = TCareers::ReadText(panel, StatsCell, x, y, 39);
        return line.erase(line.find_last_not_of(' ') + 1);
    }
    // A finished match in an empty world: both match records start from the pilots.
    TOptions& FinishedMatch() {
        G.World = std::make_unique<TWorld>();
        F.World->Match = F.Options;
        for (TPilotRecord& r : F.World->Match.Players)
            ClearMatchCounters(r);
        F.GameState = gsMatchEnd;
        F.EndScreenDrawn = false;
        F.BackSurface.Fill(0);
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

TEST_F(EndScreen,
       TheWinnerByPointsIsNamedEvenWithoutLivesLeftWithTheMedalsOfTheResultAndLaterTicksDrawNothing) {
    TOptions& m = FinishedMatch();
    m.Players[0].Points = 3;
    m.Players[1].Points = 7;
    m.Players[1].PlayingTime = 90;
    m.Players[1].SuccessiveWins = 4;
    F.World->Ships[1].Lives = 0;
    F.EndScreenFrame();
    EXPECT_EQ(F.GameState, gsMatchEnd);
    EXPECT_EQ(TCareers::ReadText(F.BackSurface, 10, 445, 42, 7), "WINNER:");
    EXPECT_EQ(TCareers::ReadText(F.BackSurface, 10, 130, 42, 6), "LOSER:");
    EXPECT_TRUE(Shows("GoldTrophy", 588, 350));
    EXPECT_TRUE(Shows("SilverTrophy", 4, 350));
    EXPECT_EQ(m.Players[1].Medals[3], 1) << "the fifth win in a row is decided with the result";
    // The match statistics over the match picture; the panels are drawn at (81, 60) and (401, 60).
    EXPECT_EQ(Line(F.BackSurface, 402, 107), "EXPERIENCE EARNED: 7");
    EXPECT_EQ(Line(F.BackSurface, 402, 121), "PLAYING TIME:.........01:30");
    EXPECT_EQ(Line(F.BackSurface, 82, 107), "EXPERIENCE EARNED: 1");
    EXPECT_EQ(F.Options.Players[1].BattlesWon, 0u) << "nothing is merged before space";

    F.BackSurface.Fill(0x202020);
    F.EndScreenFrame();
    EXPECT_EQ(m.Players[1].Experience, 7u) << "settled once";
    EXPECT_EQ(F.BackSurface.Pixel(450, 45), 0x202020u);
}

TEST_F(EndScreen, EqualPointsAreADraw) {
    TOptions& m = FinishedMatch();
    F.EndScreenFrame();
    EXPECT_EQ(TCareers::ReadText(F.BackSurface, 10, 300, 230, 4), "DRAW");
    EXPECT_EQ(TCareers::ReadText(F.BackSurface, 10, 445, 42, 7), "       ");
    EXPECT_EQ(m.Players[1].BattlesDrawn, 1u);
}

TEST_F(EndScreen, SpaceHeldAtTheEndSettlesMergesAndReturnsInOneTick) {
    TOptions& m = FinishedMatch();
    m.Players[0].Points = 10;
    m.Players[1].Points = 11;
    m.Players[0].PlayingTime = 100;
    F.Options.Players[0].LongestBattle = 50;
    F.MainMenu->Items[0].Visible = true; // a match had been interrupted earlier
    C.Platform.Press(keySpace, true);
    G.Tick();
    EXPECT_EQ(F.GameState, gsMainMenu);
    const TPilotRecord& one = F.Options.Players[0];
    const TPilotRecord& two = F.Options.Players[1];
    EXPECT_EQ(one.BattlesFought, 1u);
    EXPECT_EQ(two.BattlesWon, 1u);
    EXPECT_EQ(one.Experience, 5u);
    EXPECT_EQ(one.LongestBattle, 100u);
    EXPECT_FALSE(F.MainMenu->Items[0].Visible) << "the finished match cannot be resumed";
    EXPECT_EQ(TCareers::ReadText(F.PlayerPanels[1], StatsCell, 1, 106, 11), "RANK: NEWBI");

    // Space still held in the menu merges nothing more.
    G.Tick();
    EXPECT_EQ(F.Options.Players[1].BattlesFought, 1u);
}

} // namespace
