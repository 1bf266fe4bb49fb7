// Paint: small pixel-art helpers (colour mixing, stamps, discs, thick lines) for the built-in pictures.
#pragma once

#include "media/Surface.h"

#include <cstdint>
#include <initializer_list>
#include <utility>
#include <vector>

namespace paint {

// Linear blend of two 0x00RRGGBB colours, t = 0 gives a, t = 1 gives b.
uint32_t Mix(uint32_t a, uint32_t b, double t);
// Every channel multiplied by f and clamped to 0..255.
uint32_t Scale(uint32_t c, double f);
// Pure black is the colour key of most pictures; drawn parts that end up black become (1, 1, 1).
uint32_t NotKey(uint32_t c);

void FillRect(Surface& s, int x, int y, int w, int h, uint32_t c);
// Every pixel whose centre lies within the ellipse centred on (cx, cy) with radii rx, ry.
void FillEllipse(Surface& s, double cx, double cy, double rx, double ry, uint32_t c);
// Every pixel whose centre lies within radius of the segment (x0, y0)-(x1, y1).
void ThickLine(Surface& s, double x0, double y0, double x1, double y1, double radius, uint32_t c);

// A stamp is pixel art as rows of characters; each character is looked up in the palette and
// characters missing from it (such as '.') leave the pixel alone.
using Palette = std::vector<std::pair<char, uint32_t>>;
void Stamp(Surface& s, int x, int y, std::initializer_list<const char*> rows, const Palette& palette);

} // namespace paint
