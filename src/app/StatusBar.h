// StatusBar: the in-match status bar and the rows of the weapon pages that hang under a ship.
#pragma once

#include "media/ImageList.h"
#include "media/Surface.h"

#include <cstdint>
#include <string>

// Redraws row `row` (0..4) of a weapon page: a box outlined in grey and filled with `colour` (a
// Windows colour value 0x00BBGGRR) when highlighted, plain black when `colour` is 0, with the text
// centred on it in the green font.
void DrawPageRow(Surface& page, int row, const std::string& text, uint32_t colour,
                 const TPictureItem& greenFont);
