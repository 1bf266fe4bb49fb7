// BuiltinFonts: the bitmap fonts and 7-segment digit strips generated at start-up.
#pragma once

#include "media/ImageList.h"

// "Font", "GreyFont", "SmallFont", "BlueFont", "GreenFont", "7SegFont" and "7SegFontRed".
void AddBuiltinFonts(TImageList& images);

// The 5 x 7 design behind the large glyphs: true where the glyph of a font cell (0..45) has ink at
// column x (0..4), row y (0..6). Other pictures letter their words with it too.
bool LargeGlyphBit(int cell, int x, int y);
// The 3 x 5 design of the small fonts: column x (0..2), row y (0..4); the comma reaches row 5.
bool SmallGlyphBit(int cell, int x, int y);
