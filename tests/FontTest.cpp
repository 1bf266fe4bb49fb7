// FontTest: bitmap text placement, cell mapping and widths with test-made fonts.
#include "text/Font.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

namespace {

// The cell drawn at column x of row y, or -1 when the pixel is background.
int CellAt(const Surface& s, int x, int y) {
    return int(s.Pixel(x, y)) - 1;
}

// The drawing tests below read most cells back; these are the ends of the runs and the star of the
// pilot list's special row, the last cell.
TEST(Font, CharactersMapToTheirCellsAfterUpperCasing) {
    EXPECT_EQ(FontCell('z'), 25);
    EXPECT_EQ(FontCell('0'), 26);
    EXPECT_EQ(FontCell('*'), 45);
    for (const char c : {' ', '!', '\xE9'})
        EXPECT_EQ(FontCell(c), -1) << int(c);
}

TEST(Font, TextIsDrawnCellByCellAtTenPixelSteps) {
    const TPictureItem font = MakeCellFont("GreyFont", 10, 15, 44);
    Surface screen(640, 480);
    DrawText(screen, font, 100, 42, "Winner:");
    const int expected[] = {
        FontCell('W'), FontCell('I'), FontCell('N'), FontCell('N'), FontCell('E'), FontCell('R'), 38};
    for (int i = 0; i < 7; ++i) {
        EXPECT_EQ(CellAt(screen, 100 + 10 * i, 42), expected[i]) << "character " << i;
        EXPECT_EQ(CellAt(screen, 109 + 10 * i, 56), expected[i]) << "bottom-right of character " << i;
    }
    EXPECT_EQ(CellAt(screen, 99, 42), -1);
    EXPECT_EQ(CellAt(screen, 170, 42), -1);
    EXPECT_EQ(CellAt(screen, 100, 41), -1);
    EXPECT_EQ(TextWidth(font, "Winner:"), 70);
    // A space takes a cell and stays blank; lower case draws the upper-case glyphs.
    EXPECT_EQ(TextWidth(font, "Press space to continue..."), 260);
    DrawText(screen, font, 190, 100, "Press space");
    EXPECT_EQ(CellAt(screen, 190 + 50, 100), -1);
    EXPECT_EQ(CellAt(screen, 190 + 60, 100), FontCell('S'));
}

TEST(Font, WidthIsSixteenBitsMissingCellsDrawNothingAndTextIsClippedAtTheEdges) {
    const TPictureItem font = MakeCellFont("Font", 10, 15, 44);
    EXPECT_EQ(TextWidth(font, std::string(7000, 'A')), 4464);
    Surface screen(40, 15);
    DrawText(screen, font, 0, 0, ")(");
    EXPECT_EQ(CellAt(screen, 0, 0), -1) << "a font without a cell for ) draws nothing for it";
    EXPECT_EQ(CellAt(screen, 10, 0), 43);
    // Text is clipped at the surface edges.
    Surface small(25, 10);
    DrawText(small, font, -5, -5, "ABC");
    EXPECT_EQ(CellAt(small, 0, 0), 0);
    EXPECT_EQ(CellAt(small, 5, 9), 1);
    EXPECT_EQ(CellAt(small, 24, 0), 2);
}

TEST(Font, SevenSegmentFontsShowUnlitDigitsForLettersAndDots) {
    const TPictureItem font = MakeCellFont("7SegFontRed", 8, 11, 37);
    Surface screen(40, 11);
    DrawText(screen, font, 0, 0, ".7A");
    EXPECT_EQ(CellAt(screen, 0, 0), 36);
    EXPECT_EQ(CellAt(screen, 8, 0), 33);
    EXPECT_EQ(CellAt(screen, 16, 0), 0);
}

} // namespace
