// StatusBarTest: the bars' overlays, the ready mark, the score and lives digits.
#include "CombatTestKit.h"
#include "TestSupport.h"

#include "app/Game.h"
#include "app/StatusBar.h"
#include "text/Font.h"
#include "world/World.h"

#include <gtest/gtest.h>

namespace {

constexpr uint32_t Background = 0x0A141E;

// Overlay pixels say where they came from: column x of rows 0..7 is (1 + y, x, 200), of rows
// 9..16 it is (100 + y, x, 50).
Surface MarkedBars() {
    Surface bars(170, 17);
    for (int y = 0; y < 17; ++y)
        for (int x = 0; x < 170; ++x)
            bars.SetPixel(x, y, y < 8 ? Rgb(1 + y, x, 200) : y == 8 ? Rgb(7, 7, 7) : Rgb(100 + y, x, 50));
    return bars;
}

struct StatusBar : ::testing::Test {
    TTempDir Home;
    TTestPlatform Platform;
    TGame Game{Platform, TFiles(Home.Path, Home.Path), TCommandLine{}};

    void SetUp() override {
        Game.World = CombatWorld(800, 600, 200, 300, 600, 300); // three lives each
        Game.StatusBar.Bars = MarkedBars();
        Game.StatusBar.Panel = Filled(640, 50, Background);
        for (size_t p = 0; p < 2; ++p)
            for (TWeapon& w : Game.PlayerWeapons[p]) {
                w.Owner = uint8_t(p);
                w.AmmoCost = 5;
                w.Ammo = 100;
                w.FireDelay = 1;
                w.Cooldown = 0;
            }
    }
    TShip& Ship(int p) { return Game.World->Ships[size_t(p)]; }
    void DrawBar() { Game.StatusBar.Draw(Game.BackSurface, Game.Images, *Game.World, Game.PlayerWeapons); }
    void DrawDigits() { Game.StatusBar.DrawDigits(Game.Images, *Game.World); }
    TWeapon& Slot(int p, int k) { return Game.PlayerWeapons[size_t(p)][size_t(k)]; }

    // Draws the bar onto a cleared display and measures the overlay in screen row y, which shows
    // row `sourceRow` of the overlay picture: how many pixels left of the bar's end came from it.
    int Overlay(int p, int y, int sourceRow) {
        Game.BackSurface.Fill(0);
        DrawBar();
        const int end = p == 0 ? 223 : 578;
        int w = 0;
        for (int x = end - 1; x >= 0; --x) {
            const int column = 160 - (end - x);
            const uint32_t expected =
                sourceRow < 8 ? Rgb(1 + sourceRow, column, 200) : Rgb(100 + sourceRow, column, 50);
            if (Game.BackSurface.Pixel(x, y) != expected) break;
            ++w;
        }
        // Nothing spills past the bar's end.
        EXPECT_EQ(Game.BackSurface.Pixel(end, y), Background) << p << " " << y;
        return w;
    }
};

// A value of the bars set in turn, and the overlay then measured in one screen row.
struct TOverlayCase {
    float* Value;
    float Set;
    int P, Y, SourceRow, Width; // player, screen row, the overlay row it shows and its width there
    const char* Why;
};

TEST_F(StatusBar, OverlaysCoverWhatIsMissingTruncatedAndNeverMoreThanTheBar) {
    // Full bars show no overlay, and the background comes first.
    Game.BackSurface.Fill(0x123456);
    DrawBar();
    for (int y = 430; y < 480; ++y)
        for (int x = 0; x < 640; ++x)
            ASSERT_EQ(Game.BackSurface.Pixel(x, y), Background) << x << " " << y;
    EXPECT_EQ(Game.BackSurface.Pixel(5, 429), 0x123456u) << "the views above are left alone";

    const TOverlayCase cases[] = {
        {&Ship(0).Health, 50, 0, 436, 0, 80, "half"},
        {&Ship(0).Health, 0.3f, 0, 436, 0, 159, "truncated"},
        // A body can be below 0 for a frame before it is found dead: the overlay stays one bar long.
        {&Ship(0).Health, -35, 0, 436, 0, 160, "below 0"},
        {&Ship(1).Fuel, 0, 1, 446, 0, 160, "an empty tank overlays the whole bar"},
        {&Ship(1).Fuel, 199, 1, 446, 0, 0, "Trunc(0.8)"},
        {&Ship(1).Fuel, 0, 1, 453, 7, 160, "the overlay is eight rows high"},
        {&Ship(1).Fuel, 0, 1, 454, 8, 0, "and no more"},
        {&Slot(0, 0).Ammo, 37.5f, 0, 463, 7, 100, "first slot, last row"},
        // The second slot counts twenty shots in steps of eight.
        {&Slot(1, 1).Ammo, 35, 1, 466, 9, 13 * 8, "7 shots"},
        {&Slot(1, 1).Ammo, 4.9f, 1, 466, 9, 160, "none left"},
        {&Slot(1, 1).Ammo, 100, 1, 466, 9, 0, "exactly 20"},
        {&Slot(1, 1).AmmoCost, 1, 1, 466, 9, 0, "100 shots"},
    };
    for (const TOverlayCase& c : cases) {
        *c.Value = c.Set;
        EXPECT_EQ(Overlay(c.P, c.Y, c.SourceRow), c.Width) << c.Why;
    }
    EXPECT_EQ(Game.BackSurface.Pixel(222 - 160, 436), Background)
        << "a health below 0 overlays nothing left of the bar";
}

TEST_F(StatusBar, TheReadyMarkSitsOnTheLastFullStepAndOnlyForAFlyingShip) {
    const TPictureItem& ready = Game.Images.Find("Ready");
    // The mark's middle pixel, which is not its transparent colour.
    const int mx = ready.Picture.Width / 2, my = ready.Picture.Height / 2;
    const uint32_t mark = ready.Picture.Pixel(mx, my);
    ASSERT_NE(mark, ready.TransparentColor);
    auto markAt = [&](int x) { return Game.BackSurface.Pixel(x + mx, 466 + my) == mark; };

    Slot(0, 1).Ammo = 35; // 7 shots: the mark on step 7, 14 steps before the end
    Slot(0, 1).Cooldown = 1;
    DrawBar();
    EXPECT_TRUE(markAt(223 - 14 * 8));
    Slot(1, 1).Ammo = 125; // 25 shots: past the bar's end by four steps
    Slot(1, 1).Cooldown = 2;
    DrawBar();
    EXPECT_TRUE(markAt(578 + 4 * 8));

    // Not ready yet, or on foot: no mark.
    Game.BackSurface.Fill(0);
    Slot(0, 1).Cooldown = 0.5f;
    Ship(1).OnFoot = 1;
    Ship(1).Angle = 256;
    DrawBar();
    EXPECT_FALSE(markAt(223 - 14 * 8));
    EXPECT_FALSE(markAt(578 + 4 * 8));
}

// Compares the cells of `text` drawn with `font` at (x, y) of the status surface with the same text
// drawn alone.
void ExpectDigits(const Surface& status, const TPictureItem& font, int x, int y, const std::string& text) {
    Surface alone(int(text.size()) * 8, 11);
    DrawText(alone, font, 0, 0, text);
    for (int r = 0; r < 11; ++r)
        for (int c = 0; c < alone.Width; ++c)
            ASSERT_EQ(status.Pixel(x + c, y + r), alone.Pixel(c, r)) << text << " " << c << " " << r;
}

TEST_F(StatusBar, ScoresAndLimitedLivesShowAtLeastThreePlacesWithUnlitLeaders) {
    const TPictureItem& red = Game.Images.Find("7SegFontRed");
    const TPictureItem& plain = Game.Images.Find("7SegFont");
    Game.World->Match.Players[1].Points = 1234;
    DrawDigits();
    ExpectDigits(Game.StatusBar.Panel, red, 238, 24, "..0");
    ExpectDigits(Game.StatusBar.Panel, red, 380, 24, "1234");
    ExpectDigits(Game.StatusBar.Panel, plain, 274, 24, "..3");
    ExpectDigits(Game.StatusBar.Panel, plain, 344, 24, "..3");
    // Fewer digits overwrite more: a score of 7 after 1234 leaves the fourth cell as it was.
    Game.World->Match.Players[1].Points = 7;
    Ship(1).Lives = 12;
    DrawDigits();
    ExpectDigits(Game.StatusBar.Panel, red, 380, 24, "..74");
    ExpectDigits(Game.StatusBar.Panel, plain, 344, 24, ".12");

    // Unlimited lives leave the picture where the lives would be.
    Game.World->UnlimitedLives = 1;
    Game.StatusBar.Panel = Filled(640, 50, Background);
    DrawDigits();
    EXPECT_EQ(Game.StatusBar.Panel.Pixel(285, 29), Background);
}

} // namespace
