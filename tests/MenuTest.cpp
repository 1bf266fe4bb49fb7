// MenuTest: the pointer, the click rule, picture loading of the bitmap menus.
#include "frontend/Menu.h"
#include "TestSupport.h"
#include "core/Files.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <tuple>
#include <vector>

namespace fs = std::filesystem;

namespace {

// Pointer positions with the button state at each.
using TMoves = std::vector<std::tuple<int, int, bool>>;

// Moves the pointer to an absolute screen point with the given button state.
void MoveTo(TGameMenu& menu, int x, int y, bool button) {
    menu.MoveCursor(static_cast<int16_t>(x - menu.CursorX), static_cast<int16_t>(y - menu.CursorY), button);
}

class MenuTest : public ::testing::Test {
  protected:
    TTempDir Temp;
    fs::path Dir = Temp.Path;
    TFiles Files{Dir, Dir};

    void SetUp() override { fs::create_directories(Dir / "graphics" / "menu"); }

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
    // That menu after the pointer went to each point with the button as given.
    TGameMenu AreaMenuAfter(const TMoves& moves) {
        TGameMenu menu = AreaMenu();
        for (const auto& [x, y, button] : moves)
            MoveTo(menu, x, y, button);
        return menu;
    }
};

constexpr uint32_t Red = 0xFF0000, Green = 0x00FF00, Blue = 0x0000FF;

} // namespace

TEST_F(MenuTest, OnlyAPressThatStartedAndStayedOnTheVisibleItemFiresAndOnlyInsideItsHotRectangle) {
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
    menu.MoveCursor(0, 0, false);
    EXPECT_FALSE(menu.ItemClicked(0));
    EXPECT_EQ(menu.Items[0].State, 1);

    const std::tuple<int, int, bool> on{105, 105, false}, held{105, 105, true}, heldOutside{50, 50, true},
        heldBeside{130, 105, true};
    const std::pair<const char*, TMoves> neverFire[] = {
        {"pressed outside, slid on, still held", {heldOutside, held}},
        {"pressed outside, slid on, released", {heldOutside, held, on}},
        {"pressed on, slid off and back, released", {on, held, heldBeside, held, on}},
        // The press never reached an update, so Pressed was never set.
        {"pressed and released between two updates", {on, on}},
    };
    for (const auto& [name, moves] : neverFire)
        EXPECT_FALSE(AreaMenuAfter(moves).ItemClicked(0)) << name;
    EXPECT_TRUE(AreaMenuAfter({heldOutside, held, on, held, on}).ItemClicked(0))
        << "a fresh press after that";
    EXPECT_TRUE(AreaMenuAfter({held, on}).ItemClicked(0)) << "arrived and pressed in one update";
    EXPECT_FALSE(AreaMenuAfter({on, held, heldBeside}).Items[0].Pressed) << "sliding off forgets the press";

    // The hot rectangle leaves out its right and bottom edges.
    for (const auto& [x, y, state] :
         {std::tuple{100, 100, 1}, {119, 109, 1}, {120, 109, 0}, {119, 110, 0}, {99, 105, 0}})
        EXPECT_EQ(AreaMenuAfter({{x, y, false}}).Items[0].State, state) << x << "," << y;

    // The pointer is clamped to the inclusive bounds and to zero.
    TGameMenu free = AreaMenu();
    const auto at = [&] { return std::make_pair(int(free.CursorX), int(free.CursorY)); };
    free.MoveCursor(700, 600, false);
    EXPECT_EQ(at(), std::make_pair(640, 480));
    free.MoveCursor(-1000, -1000, false);
    EXPECT_EQ(at(), std::make_pair(0, 0));
}

TEST_F(MenuTest, OffsetMenuHitsRelativeToItsOriginAndWrapsLeftOfItAndUnknownItemsNeverFire) {
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

    // Asking about an item that does not exist is no click.
    TGameMenu row = AreaMenuAfter({{105, 105, false}, {105, 105, true}, {105, 105, false}});
    ASSERT_TRUE(row.ItemClicked(0));
    for (int outside : {1, 42, -1})
        EXPECT_FALSE(row.ItemClicked(outside)) << outside;
}

TEST_F(MenuTest, ButtonPicturesGiveTheSizeAndMissingIdlePictureGivesNoHotArea) {
    WritePicture("BackI.bmp", 22, 12, Red);
    WritePicture("BackH.bmp", 22, 12, Green);
    WritePicture("BackC.bmp", 22, 12, Blue);
    WritePicture("OnlyH.bmp", 30, 30, Green);
    WritePicture("Background.bmp", 7, 5, Red);
    TGameMenu menu(Files, "graphics\\menu\\cursor.bmp", 640, 480);
    // Paths are matched case-insensitively.
    const int back = menu.AddItem(0, 458, "graphics\\menu\\backI.BMP", "graphics\\menu\\BackH.bmp",
                                  "graphics\\menu\\BackC.bmp");
    const int missing = menu.AddItem(0, 0, "graphics\\menu\\NoneI.bmp", "graphics\\menu\\OnlyH.bmp",
                                     "graphics\\menu\\NoneC.bmp");
    const int image = menu.AddImageItem(10, 10, "graphics\\menu\\Background.bmp");
    const int absent = menu.AddImageItem(10, 10, "graphics\\menu\\Nothing.bmp");

    const TGameMenuItem &b = menu.Items[size_t(back)], &m = menu.Items[size_t(missing)],
                        &i = menu.Items[size_t(image)], &a = menu.Items[size_t(absent)];
    const auto size = [](const TGameMenuItem& item) {
        return std::make_pair(int(item.Width), int(item.Height));
    };
    EXPECT_EQ(size(b), std::make_pair(22, 12));
    EXPECT_EQ(b.Images[1].Pixel(0, 0), Green);
    EXPECT_EQ(size(m), std::make_pair(0, 0));
    EXPECT_EQ(size(i), std::make_pair(7, 5));
    EXPECT_EQ(i.Images[2].Pixel(6, 4), Red);
    EXPECT_EQ(size(a), std::make_pair(0, 0));
    // The item without an idle picture can never be hovered.
    MoveTo(menu, 0, 0, false);
    EXPECT_EQ(m.State, 0);
    EXPECT_EQ(i.State, 0);
    // Idle, pointed at, held down on it, and just clicked.
    Surface screen(640, 480);
    for (const auto& [state, pressed, colour] :
         {std::tuple{0, false, Red}, {1, false, Green}, {1, true, Blue}, {2, false, Blue}}) {
        menu.Items[size_t(back)].State = uint8_t(state);
        menu.Items[size_t(back)].Pressed = pressed;
        b.Draw(screen, 0, 0);
        EXPECT_EQ(screen.Pixel(21, 469), colour) << state << pressed;
    }
}
