// Font: bitmap text in fixed-width cells drawn from a named font image.
#pragma once

#include "media/ImageList.h"

#include <cstdint>
#include <string>

// The cell of a character after upper-casing: A-Z 0-25, 0-9 26-35, then . , : ' - / % ( ) * as
// 36-45; -1 for a character without a cell (space included), which still takes its width.
int FontCell(char c);
// Draws text with its first cell's top-left corner at (x, y); cells a font lacks draw nothing.
void DrawText(Surface& target, const TPictureItem& font, int x, int y, const std::string& text);
// Characters times cell width, kept to 16 bits: a text too wide for that wraps round.
uint16_t TextWidth(const TPictureItem& font, const std::string& text);
