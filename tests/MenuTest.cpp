// MenuTest: the pointer, the click rule, picture loading and drawing of the bitmap menus.
#include "frontend/Menu.h"
#include "app/Files.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

namespace fs = std::filesystem;

namespace {

class MenuTest : public ::testing::Test {
  protected:
    fs::path Dir;
    TFiles Files;

    void SetUp() override {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        Dir = fs::temp_directory_path() / (std::string("flarons_menu_") + info->name());
        fs::remove_all(Dir);
        fs::create_directories(Dir / "graphics" / "menu");
        Files = TFiles(Dir, Dir);
    }
    void TearDown() override { fs::remove_all(Dir); }

    // A plain picture of one colour under graphics/menu.
    void WritePicture(const std::string& name, int w, int h, uint32_t colour) {
        Surface s(w, h);
        s.Fill(colour);
        ASSERT_TRUE(s.SaveToBmp((Dir / "graphics" / "menu" / name).string()));
    }

    // A menu with one 20 x 10 hot area at (100, 100), pointer resting on (0, 0).
    TGameMenu AreaMenu() {
        TGameMenu menu(Files, "graphics\\menu\\cursor.bmp", 640, 480);
        menu.AddArea(100, 100, 20, 10);
        return menu;
    }
};

constexpr uint32_t Red = 0xFF0000;
constexpr uint32_t Green = 0x00FF00;
constexpr uint32_t Blue = 0x0000FF;

// Moves the pointer to an absolute screen point with the given button state.
void MoveTo(TGameMenu& menu, int x, int y, bool button) {
    menu.MoveCursor(static_cast<int16_t>(x - menu.CursorX), static_cast<int16_t>(y - menu.CursorY), button);
}

} // namespace

TEST_F(MenuTest, ReleaseOverTheItemAfterPressingOnItFiresOnce) {
    TGameMenu menu = AreaMenu();
    MoveTo(menu, 105, 105, false);
    EXPECT_EQ(menu.Items[0].State, 1);
    MoveTo(menu, 106, 105, true);
    EXPECT_TRUE(menu.Items[0].Pressed);
    EXPECT_FALSE(menu.ItemClicked(0));
    MoveTo(menu, 106, 105, false);
    // Every query sees the click until the pointer is moved again.
    EXPECT_TRUE(menu.ItemClicked(0));
    EXPECT_TRUE(menu.ItemClicked(0));
    EXPECT_FALSE(menu.Items[0].Pressed);
    menu.MoveCursor(0, 0, false);
    EXPECT_FALSE(menu.ItemClicked(0));
    EXPECT_EQ(menu.Items[0].State, 1);
}

TEST_F(MenuTest, PressesThatDidNotStartAndStayOnTheItemNeverFire) {
    {
        SCOPED_TRACE("pressed outside, slid on, released");
        TGameMenu menu = AreaMenu();
        MoveTo(menu, 50, 50, true);
        MoveTo(menu, 105, 105, true);
        EXPECT_FALSE(menu.ItemClicked(0));
        MoveTo(menu, 105, 105, false);
        EXPECT_FALSE(menu.ItemClicked(0));
        // A fresh press on the item after that release works as usual.
        MoveTo(menu, 105, 105, true);
        MoveTo(menu, 105, 105, false);
        EXPECT_TRUE(menu.ItemClicked(0));
    }
    {
        SCOPED_TRACE("pressed on, slid off and back, released");
        TGameMenu menu = AreaMenu();
        MoveTo(menu, 105, 105, false);
        MoveTo(menu, 105, 105, true);
        MoveTo(menu, 130, 105, true);
        EXPECT_FALSE(menu.Items[0].Pressed);
        MoveTo(menu, 105, 105, true);
        MoveTo(menu, 105, 105, false);
        EXPECT_FALSE(menu.ItemClicked(0));
    }
    {
        SCOPED_TRACE("pressed and released between two updates");
        TGameMenu menu = AreaMenu();
        MoveTo(menu, 105, 105, false);
        // The press never reached an update, so Pressed was never set.
        MoveTo(menu, 105, 105, false);
        EXPECT_FALSE(menu.ItemClicked(0));
    }
    {
        SCOPED_TRACE("arrived and pressed in one update, released in the next");
        TGameMenu menu = AreaMenu();
        MoveTo(menu, 105, 105, true);
        MoveTo(menu, 105, 105, false);
        EXPECT_TRUE(menu.ItemClicked(0));
    }
}

TEST_F(MenuTest, HotRectangleExcludesItsRightAndBottomEdges) {
    TGameMenu menu = AreaMenu();
    MoveTo(menu, 119, 109, false);
    EXPECT_EQ(menu.Items[0].State, 1);
    MoveTo(menu, 120, 109, false);
    EXPECT_EQ(menu.Items[0].State, 0);
    MoveTo(menu, 119, 110, false);
    EXPECT_EQ(menu.Items[0].State, 0);
    MoveTo(menu, 99, 105, false);
    EXPECT_EQ(menu.Items[0].State, 0);
}

TEST_F(MenuTest, PointerIsClampedToTheInclusiveBoundsAndToZero) {
    TGameMenu menu = AreaMenu();
    menu.MoveCursor(700, 600, false);
    EXPECT_EQ(menu.CursorX, 640);
    EXPECT_EQ(menu.CursorY, 480);
    menu.MoveCursor(-1000, -1000, false);
    EXPECT_EQ(menu.CursorX, 0);
    EXPECT_EQ(menu.CursorY, 0);
    menu.MoveCursor(640, 480, false);
    EXPECT_EQ(menu.CursorX, 640);
    EXPECT_EQ(menu.CursorY, 480);
    // SetCursorPos places the pointer as given and touches no item.
    menu.SetCursorPos(-5, 900);
    EXPECT_EQ(menu.CursorX, -5);
    EXPECT_EQ(menu.CursorY, 900);
    EXPECT_EQ(menu.Items[0].State, 0);
}

TEST_F(MenuTest, OffsetMenuHitsRelativeToItsOriginAndWrapsLeftOfIt) {
    TGameMenu menu(Files, "graphics\\menu\\cursor.bmp", 640, 480);
    menu.OffsetX = 25;
    menu.OffsetY = 314;
    const int key = menu.AddArea(0, 0, 15, 15);
    // Where 10 - 25 lands once taken as an unsigned 16-bit value.
    const int wrapped = menu.AddArea(65521, 86, 1, 1);
    MoveTo(menu, 25, 314, false);
    EXPECT_EQ(menu.Items[size_t(key)].State, 1);
    MoveTo(menu, 24, 314, false);
    EXPECT_EQ(menu.Items[size_t(key)].State, 0);
    MoveTo(menu, 10, 400, false);
    EXPECT_EQ(menu.Items[size_t(key)].State, 0);
    EXPECT_EQ(menu.Items[size_t(wrapped)].State, 1);
}

TEST_F(MenuTest, InvisibleItemIsIdleAndNeverFiresButKeepsItsPress) {
    TGameMenu menu = AreaMenu();
    MoveTo(menu, 105, 105, false);
    MoveTo(menu, 105, 105, true);
    menu.Items[0].Visible = false;
    MoveTo(menu, 105, 105, false);
    EXPECT_EQ(menu.Items[0].State, 0);
    EXPECT_TRUE(menu.Items[0].Pressed);
    EXPECT_FALSE(menu.ItemClicked(0));

    TGameMenu hidden = AreaMenu();
    hidden.Items[0].Visible = false;
    MoveTo(hidden, 105, 105, false);
    MoveTo(hidden, 105, 105, true);
    MoveTo(hidden, 105, 105, false);
    EXPECT_FALSE(hidden.ItemClicked(0));
}

TEST_F(MenuTest, ItemClickedOutOfRangeIsFalse) {
    TGameMenu menu(Files, "graphics\\menu\\cursor.bmp", 640, 480);
    for (int i = 0; i < 12; ++i)
        EXPECT_EQ(menu.AddArea(uint16_t(10 * i), 0, 10, 10), i);
    MoveTo(menu, 5, 5, false);
    MoveTo(menu, 5, 5, true);
    MoveTo(menu, 5, 5, false);
    ASSERT_TRUE(menu.ItemClicked(0));
    EXPECT_EQ(menu.ItemCount(), 12);
    EXPECT_FALSE(menu.ItemClicked(12));
    EXPECT_FALSE(menu.ItemClicked(42));
    EXPECT_FALSE(menu.ItemClicked(255));
    EXPECT_FALSE(menu.ItemClicked(-1));
}

TEST_F(MenuTest, ButtonPicturesGiveTheSizeAndMissingIdlePictureGivesNoHotArea) {
    WritePicture("BackI.bmp", 22, 12, Red);
    WritePicture("BackH.bmp", 22, 12, Green);
    WritePicture("BackC.bmp", 22, 12, Blue);
    WritePicture("OnlyH.bmp", 30, 30, Green);
    WritePicture("Background.bmp", 7, 5, Red);
    TGameMenu menu(Files, "graphics\\menu\\cursor.bmp", 640, 480);
    // Paths are matched case-insensitively, as the game's files always were.
    const int back = menu.AddItem(0, 458, "graphics\\menu\\backI.BMP", "graphics\\menu\\BackH.bmp",
                                  "graphics\\menu\\BackC.bmp");
    const int missing = menu.AddItem(0, 0, "graphics\\menu\\NoneI.bmp", "graphics\\menu\\OnlyH.bmp",
                                     "graphics\\menu\\NoneC.bmp");
    const int image = menu.AddImageItem(10, 10, "graphics\\menu\\Background.bmp");
    const int absent = menu.AddImageItem(10, 10, "graphics\\menu\\Nothing.bmp");

    EXPECT_EQ(menu.Items[size_t(back)].Width, 22);
    EXPECT_EQ(menu.Items[size_t(back)].Height, 12);
    EXPECT_EQ(menu.Items[size_t(back)].Images[1].Pixel(0, 0), Green);
    EXPECT_EQ(menu.Items[size_t(missing)].Width, 0);
    EXPECT_EQ(menu.Items[size_t(missing)].Height, 0);
    EXPECT_EQ(menu.Items[size_t(missing)].Images[1].Width, 30);
    EXPECT_TRUE(menu.Items[size_t(missing)].Images[0].Empty());
    EXPECT_EQ(menu.Items[size_t(image)].Width, 7);
    for (const Surface& s : menu.Items[size_t(image)].Images)
        EXPECT_EQ(s.Pixel(6, 4), Red);
    EXPECT_EQ(menu.Items[size_t(absent)].Width, 0);
    EXPECT_TRUE(menu.Items[size_t(absent)].Images[2].Empty());

    // The item without an idle picture can never be hovered.
    MoveTo(menu, 0, 0, false);
    EXPECT_EQ(menu.Items[size_t(missing)].State, 0);
    EXPECT_EQ(menu.Items[size_t(image)].State, 0);
}

TEST_F(MenuTest, DrawShowsIdleHoverPressedAndClickedPicturesAtTheOffset) {
    WritePicture("BI.bmp", 4, 4, Red);
    WritePicture("BH.bmp", 4, 4, Green);
    WritePicture("BC.bmp", 4, 4, Blue);
    TGameMenu menu(Files, "graphics\\menu\\cursor.bmp", 640, 480);
    menu.OffsetX = 5;
    menu.OffsetY = 6;
    menu.AddItem(10, 20, "graphics\\menu\\BI.bmp", "graphics\\menu\\BH.bmp", "graphics\\menu\\BC.bmp");
    Surface screen(64, 64);
    auto shown = [&]() {
        screen.Fill(0);
        menu.Draw(screen);
        return screen.Pixel(15, 26);
    };
    EXPECT_EQ(shown(), Red);
    EXPECT_EQ(screen.Pixel(14, 26), 0u);
    MoveTo(menu, 16, 27, false);
    EXPECT_EQ(shown(), Green);
    MoveTo(menu, 16, 27, true);
    EXPECT_EQ(shown(), Blue);
    MoveTo(menu, 16, 27, false);
    EXPECT_EQ(shown(), Blue); // the frame after the release
    MoveTo(menu, 16, 27, true);
    // Pressed and slid off: the press is forgotten and the item is idle again.
    MoveTo(menu, 40, 40, true);
    EXPECT_EQ(shown(), Red);
    // A held press whose State was reset by hiding shows the highlighted picture when shown again.
    MoveTo(menu, 16, 27, false);
    MoveTo(menu, 16, 27, true);
    menu.Items[0].Visible = false;
    menu.MoveCursor(0, 0, true);
    EXPECT_EQ(shown(), 0u);
    menu.Items[0].Visible = true;
    EXPECT_EQ(shown(), Green);
}

TEST_F(MenuTest, PointerShowsOneFrameOfTheStripWithoutItsLastRow) {
    // Ten 3 x 4 frames; frame f is coloured f + 1 except the bottom row, which is white.
    Surface strip(30, 4);
    for (int x = 0; x < 30; ++x)
        for (int y = 0; y < 4; ++y)
            strip.SetPixel(x, y, y == 3 ? 0xFFFFFF : uint32_t(x / 3 + 1));
    ASSERT_TRUE(strip.SaveToBmp((Dir / "graphics" / "menu" / "cursor.bmp").string()));
    TGameMenu menu(Files, "graphics\\menu\\Cursor.bmp", 640, 480);
    ASSERT_EQ(menu.Cursor.Width, 30);
    menu.SetCursorPos(10, 10);
    menu.CursorFrame = 3.5f;
    TRandom random;
    Surface screen(40, 40);
    menu.DrawCursor(screen, 60000, random);
    EXPECT_EQ(screen.Pixel(10, 10), 4u);
    EXPECT_EQ(screen.Pixel(12, 12), 4u);
    EXPECT_EQ(screen.Pixel(13, 10), 0u);
    EXPECT_EQ(screen.Pixel(10, 13), 0u);

    // Near the screen edge the pointer is clipped, never drawn out of bounds.
    menu.SetCursorPos(38, 38);
    menu.DrawCursor(screen, 60000, random);
    EXPECT_EQ(screen.Pixel(39, 39), 4u);

    // A menu without a pointer picture draws nothing.
    TGameMenu blind(Files, "graphics\\menu\\nocursor.bmp", 640, 480);
    Surface clean(8, 8);
    blind.CursorFrame = 2;
    blind.DrawCursor(clean, 1, random);
    for (uint32_t p : clean.Pixels)
        EXPECT_EQ(p, 0u);
}

TEST_F(MenuTest, PointerRunAdvancesTwentyFramesPerSecondOfFrameRate) {
    TGameMenu menu = AreaMenu();
    Surface screen(8, 8);
    TRandom random;
    menu.CursorFrame = 0.1f;
    // At 100 frames per second a run of ten frames takes 50 frames.
    int calls = 0;
    while (menu.CursorFrame > 0 && calls < 1000) {
        menu.DrawCursor(screen, 100, random);
        ++calls;
    }
    EXPECT_EQ(calls, 50);
    menu.CursorFrame = 5;
    menu.DrawCursor(screen, 2, random);
    EXPECT_EQ(menu.CursorFrame, 0.0f);
    // A frame rate of 0 counts as 1 instead of dividing by zero.
    menu.CursorFrame = 5;
    menu.DrawCursor(screen, 0, random);
    EXPECT_EQ(menu.CursorFrame, 0.0f);
}

TEST_F(MenuTest, PointerRunStartsWhenTheGeneratorDrawsZero) {
    TGameMenu menu = AreaMenu();
    Surface screen(8, 8);
    uint32_t seed = 0;
    for (;; ++seed) {
        TRandom probe{seed};
        if (probe.Random(200) == 0) break;
    }
    TRandom starting{seed};
    menu.DrawCursor(screen, 4, starting);
    EXPECT_FLOAT_EQ(menu.CursorFrame, 2.5f);

    uint32_t quietSeed = 0;
    while (TRandom{quietSeed}.Random(200) == 0)
        ++quietSeed;
    TRandom quiet{quietSeed};
    TGameMenu still = AreaMenu();
    still.DrawCursor(screen, 4, quiet);
    EXPECT_EQ(still.CursorFrame, 0.0f);
    // At 1 frame per second a run starts at 10, past the strip, and ends on the next frame.
    TGameMenu slow = AreaMenu();
    TRandom again{seed};
    slow.DrawCursor(screen, 1, again);
    EXPECT_EQ(slow.CursorFrame, 10.0f);
    slow.DrawCursor(screen, 1, again);
    EXPECT_EQ(slow.CursorFrame, 0.0f);
}
