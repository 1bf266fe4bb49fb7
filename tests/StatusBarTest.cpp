// StatusBarTest: the bars' overlays, the ready mark, the score and lives digits and the page rows.
#include "TestSupport.h"
#include "WorldTestKit.h"

#include "app/Game.h"
#include "app/StatusBar.h"
#include "text/Font.h"
#include "world/World.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

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
    TWorldFolder Folder;
    TTestPlatform Platform;
    TGame Game{Platform, Folder.Files, TCommandLine{}};

    void SetUp() override {
        Folder.WriteStandardPictures();
        Folder.WritePicture("maps\\mid.bmp", Filled(800, 600, 0));
        Folder.WriteText("maps\\t.map", "MIDDLE=mid.bmp\nPLY1X=200\nPLY1Y=300\nPLY2X=600\nPLY2Y=300\n");
        NewWorld(3);
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
    void NewWorld(uint8_t lives) {
        TOptions o = TestOptions("maps\\t.map");
        o.Lives = lives;
        Game.World = TWorld::Create(Folder.Files, TestFont(), o);
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
        {&Ship(0).Health, 99.5f, 0, 436, 0, 0, "half a point missing still shows full"},
        {&Ship(0).Health, 50, 0, 436, 0, 80, "half"},
        {&Ship(0).Health, 0.3f, 0, 436, 0, 159, "truncated"},
        // A body can be below 0 for a frame before it is found dead: the overlay stays one bar long.
        {&Ship(0).Health, -35, 0, 436, 0, 160, "below 0"},
        {&Ship(1).Fuel, 0, 1, 446, 0, 160, "an empty tank overlays the whole bar"},
        {&Ship(1).Fuel, 250, 1, 446, 0, 0, "over full"},
        {&Ship(1).Fuel, 199, 1, 446, 0, 0, "Trunc(0.8)"},
        {&Ship(1).Fuel, 0, 1, 453, 7, 160, "the overlay is eight rows high"},
        {&Ship(1).Fuel, 0, 1, 454, 8, 0, "and no more"},
        {&Slot(0, 0).Ammo, 37.5f, 0, 456, 0, 100, "first slot"},
        {&Slot(0, 0).Ammo, 37.5f, 0, 463, 7, 100, "first slot, last row"},
        // The second slot counts twenty shots in steps of eight.
        {&Slot(1, 1).Ammo, 35, 1, 466, 9, 13 * 8, "7 shots"},
        {&Slot(1, 1).Ammo, 35, 1, 473, 16, 13 * 8, "7 shots, last row"},
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
    // A pixel of the mark that is not its transparent colour.
    int mx = -1, my = -1;
    for (int y = 0; y < ready.Picture.Height && mx < 0; ++y)
        for (int x = 0; x < ready.Picture.Width; ++x)
            if (ready.Picture.Pixel(x, y) != ready.TransparentColor) {
                mx = x;
                my = y;
                break;
            }
    ASSERT_GE(mx, 0);
    const uint32_t mark = ready.Picture.Pixel(mx, my);
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
    // The unlit place differs from a lit 0 and the score from the lives.
    Surface unlit(8, 11), zero(8, 11);
    DrawText(unlit, red, 0, 0, ".");
    DrawText(zero, red, 0, 0, "0");
    EXPECT_NE(unlit.Pixels, zero.Pixels);

    // Fewer digits overwrite more: a score of 7 after 1234 leaves the fourth cell as it was.
    Game.World->Match.Players[1].Points = 7;
    Ship(1).Lives = 12;
    DrawDigits();
    ExpectDigits(Game.StatusBar.Panel, red, 380, 24, "..74");
    ExpectDigits(Game.StatusBar.Panel, plain, 344, 24, ".12");

    // Unlimited lives leave the picture where the lives would be.
    NewWorld(0);
    Game.StatusBar.Panel = Filled(640, 50, Background);
    DrawDigits();
    for (int r = 24; r < 35; ++r)
        for (int x : {274, 285, 297, 344, 355, 367})
            EXPECT_EQ(Game.StatusBar.Panel.Pixel(x, r), Background) << x << " " << r;
    ExpectDigits(Game.StatusBar.Panel, red, 238, 24, "..0");
}

TEST_F(StatusBar, PageRowsAreBoxedInGreyWhenHighlightedAndCentred) {
    const TPictureItem& green = Game.Images.Find("GreenFont");
    Surface page(78, 40);
    page.Fill(Rgb(9, 9, 9));
    DrawPageRow(page, 3, "MINIGUN", 0x804040, green); // blue-grey as a Windows colour
    EXPECT_EQ(page.Pixel(0, 24), Rgb(85, 85, 85));
    EXPECT_EQ(page.Pixel(77, 31), Rgb(85, 85, 85));
    EXPECT_EQ(page.Pixel(1, 25), Rgb(64, 64, 128));
    EXPECT_EQ(page.Pixel(5, 23), Rgb(9, 9, 9)) << "the row above is untouched";
    EXPECT_EQ(page.Pixel(5, 32), Rgb(9, 9, 9));
    // The text: 7 cells of 4 pixels centred on column 39, starting one row into the box.
    const int left = 39 - 28 / 2;
    int first = 78, last = -1;
    for (int x = 0; x < 78; ++x)
        for (int y = 25; y < 31; ++y) {
            const uint32_t px = page.Pixel(x, y);
            if (px == Rgb(64, 64, 128) || px == Rgb(85, 85, 85)) continue;
            first = std::min(first, x);
            last = std::max(last, x);
        }
    EXPECT_GE(first, left);
    EXPECT_LT(last, left + 28);
    EXPECT_LE(first, left + 1);

    DrawPageRow(page, 3, "", 0, green);
    for (int x = 0; x < 78; ++x)
        for (int y = 24; y < 32; ++y)
            ASSERT_EQ(page.Pixel(x, y), 0u) << "un-highlighted: black outline and fill";
}

// With the real status-bar art and fonts of the game folder (their sizes are checked with the menu
// art): the pictures fit the layout, and a picture of the bar is written when FLARONS_STATUS_PNG
// names a file.
TEST_F(StatusBar, TheShippedArtFitsTheBar) {
    const std::filesystem::path menu = std::filesystem::path(FLARONS_GAME_DIR) / "graphics" / "menu";
    Surface bg, bars;
    ASSERT_TRUE(bg.LoadFromFile((menu / "status_bg.bmp").string(), MenuPictureLimit));
    ASSERT_TRUE(bars.LoadFromFile((menu / "status_bars.bmp").string(), MenuPictureLimit));

    Game.StatusBar.Panel = bg;
    Game.StatusBar.Bars = bars;
    const TPictureItem& blue = Game.Images.Find("BlueFont");
    const std::string names[2] = {"ANNA", "BOB THE PILOT"};
    DrawText(Game.StatusBar.Panel, blue, 267 - TextWidth(blue, names[0]) / 2, 10, names[0]);
    DrawText(Game.StatusBar.Panel, blue, 373 - TextWidth(blue, names[1]) / 2, 10, names[1]);
    Game.World->Match.Players[0].Points = 7;
    Game.World->Match.Players[1].Points = 12;
    Ship(1).Lives = 1;
    DrawDigits();
    Ship(0).Health = 62;
    Ship(0).Fuel = 150;
    Slot(0, 0).Ammo = 80;
    Slot(0, 1).Ammo = 60;
    Slot(0, 1).Cooldown = 2;
    Ship(1).Health = 20;
    Ship(1).Fuel = 0;
    Slot(1, 0).Ammo = 5;
    Slot(1, 1).Ammo = 0;
    Game.BackSurface.Fill(0);
    DrawBar();
    // The full part of player 1's health bar shows the art, the missing part the overlay.
    EXPECT_EQ(Game.BackSurface.Pixel(222, 436), bars.Pixel(159, 0));
    EXPECT_EQ(Game.BackSurface.Pixel(70, 436), bg.Pixel(70, 6));
    if (const char* file = std::getenv("FLARONS_STATUS_PNG")) {
        // Twice the size, so that every pixel can be seen.
        Surface bar(1280, 100);
        bar.StretchDraw(TRect{0, 0, 1280, 100}, Game.BackSurface, TRect{0, 430, 640, 480}, false);
        EXPECT_TRUE(bar.SaveToPng(file));
    }
}

} // namespace
