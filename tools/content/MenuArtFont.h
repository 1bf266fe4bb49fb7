// MenuArtFont: the two blocky typefaces the menu pictures are lettered with (5 x 7 and 3 x 5).
#pragma once

#include "media/Surface.h"

#include <string>

namespace menuart {

enum class Face { Big, Small };

int GlyphWidth(Face face);
int GlyphHeight(Face face);
// True when pixel (x, y) of the character's glyph is set; lower case reads as upper case,
// characters without a glyph (space included) are blank.
bool GlyphPixel(Face face, char c, int x, int y);
// Width of a line at the given scale: one column of spacing between letters, none after the last.
int TextWidth(Face face, const std::string& text, int scale);
int TextHeight(Face face, int scale);
// The letters as white pixels on black, exactly TextWidth x TextHeight.
Surface TextMask(Face face, const std::string& text, int scale);
// Letters in one colour; a black colour is lifted to (1, 1, 1) so that the letters show.
void DrawPlainText(Surface& dst, Face face, int x, int y, const std::string& text, uint32_t colour,
                   int scale = 1);
void DrawCentredText(Surface& dst, Face face, int centreX, int y, const std::string& text, uint32_t colour,
                     int scale = 1);

} // namespace menuart
