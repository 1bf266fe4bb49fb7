// MenuArtPaint: colour arithmetic, noise and the bevelled-steel drawing shared by the menu pictures.
#pragma once

#include "content/MenuArtFont.h"
#include "media/Surface.h"

#include <functional>
#include <string>
#include <vector>

namespace menuart {

// Black is the colour key of every menu picture, so painted pixels are never allowed to be black.
constexpr uint32_t NearBlack = 0x010101;
uint32_t Visible(uint32_t c);

uint32_t Mix(uint32_t a, uint32_t b, double t); // t = 0 gives a, 1 gives b
uint32_t Shade(uint32_t c, double factor);      // brightness times factor, clamped
uint32_t AddLight(uint32_t a, uint32_t b);      // channel-wise saturating sum

void Put(Surface& s, int x, int y, uint32_t c);
void Blend(Surface& s, int x, int y, uint32_t c, double alpha);
void AddGlow(Surface& s, int x, int y, uint32_t c, double amount);

void FillBox(Surface& s, const TRect& r, uint32_t c);
void VerticalGradient(Surface& s, const TRect& r, uint32_t top, uint32_t bottom);
void Outline(Surface& s, const TRect& r, uint32_t c);
// Light on the top and left, dark on the bottom and right: raised; swap the colours for sunken.
void Bevel(Surface& s, const TRect& r, int depth, uint32_t light, uint32_t dark);
// A brushed steel plate with a bevelled rim; the grain depends only on the seed and the position.
void SteelPlate(Surface& s, const TRect& r, uint32_t base, int seed, bool raised = true);
// Clears r back to the colour key and draws a sunken rim just outside it, so that what is
// shown through the hole appears set into the plate.
void CutWindow(Surface& s, const TRect& r, uint32_t glow);

double Hash(int x, int y, int seed); // 0..1, fixed for ever by its arguments
double ValueNoise(double x, double y, int seed);
double Fbm(double x, double y, int octaves, int seed); // about 0..1

struct TPoint {
    double X = 0;
    double Y = 0;
};
// Even-odd scanline fill; the colour of each pixel comes from shade(x, y).
void FillPolygon(Surface& s, const std::vector<TPoint>& points,
                 const std::function<uint32_t(int, int)>& shade);
void FillDisc(Surface& s, double cx, double cy, double radius, uint32_t c);
// Additive soft light falling off to nothing at radius.
void LightSpot(Surface& s, double cx, double cy, double radius, uint32_t c, double strength);

struct TTextStyle {
    uint32_t Top = 0xFFFFFF;    // fill colour at the top of the letters
    uint32_t Bottom = 0xFFFFFF; // fill colour at the bottom
    uint32_t Edge = NearBlack;  // one-pixel outline, 0 for none
    uint32_t Glow = 0;          // colour of the halo, 0 for none
    int GlowRadius = 0;
    bool Bevelled = false; // light upper-left and dark lower-right letter edges
    int Shadow = 0;        // drop shadow offset, 0 for none
};
// The bevelled chrome of the big titles (the title screen, the rules page): white to steel blue.
TTextStyle ChromeTitle();
void DrawStyledText(Surface& s, Face face, int x, int y, const std::string& text, int scale,
                    const TTextStyle& style);
int CentredLeft(Face face, int centreX, const std::string& text, int scale);

} // namespace menuart
