// CareersTestKit: a game object on the real game folder with a temporary home and its front end
// prepared, pointer clicks and a reader for text drawn in test-made fonts.
#pragma once

#include "TestSupport.h"
#include "app/Game.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

class TCareers {
  public:
    TTempDir Home;
    TTestPlatform Platform;
    std::unique_ptr<TGame> Game;

    // Default pilots; the menus, panels and previews as the front end prepares them.
    TCareers();

    // Replaces a font by MakeCellFont cells (cell k in colour k + 1) so text can be read back.
    void UseCellFont(const std::string& name, int cellWidth, int height);
    // The text of `length` cells from (x, y) in a cell font of the given width: letters come back
    // upper-cased, empty cells as blanks, anything else as '?'.
    static std::string ReadText(const Surface& target, int cellWidth, int x, int y, size_t length);
    // The same for a text centred on column x, as the panels write their labels.
    static std::string ReadCentred(const Surface& target, int cellWidth, int x, int y, size_t length);

    // A full click (press, release) at a screen point of a menu; the click shows until its next move.
    static void Click(TGameMenu& menu, int x, int y);
    static void ClickItem(TGameMenu& menu, int index);
    // Writes a pilot folder with a Pilot.DAT under the home folder.
    void WritePilot(const std::string& name) const;
};

// The fixture of the career screen tests, with "Font" in 8-pixel cells and "GreyFont" in 10-pixel ones.
class TCareersTest : public ::testing::Test {
  protected:
    static constexpr int FontCell = 8;
    TCareers C;
    TGame& G = *C.Game;
    TFrontEnd& F = G.Front;
    void SetUp() override;
    // Opens a list selector at its first row; clicks a row of it and runs the list's frame.
    void Open(uint8_t state);
    void Choose(int row);
};
