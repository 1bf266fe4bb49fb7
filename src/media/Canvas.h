// Canvas: a drawing context on a surface (pen, brush, lines, rectangles, pixels, small text).
#pragma once

#include "media/Surface.h"

#include <cstdint>
#include <string>

// Colours given to and read from a canvas are Windows colour values 0x00BBGGRR.
class Canvas {
  public:
    explicit Canvas(Surface& target) : Target(&target) {}

    uint32_t PenColor = 0;        // black pen
    uint32_t BrushColor = 0xFFFFFF; // white brush
    uint32_t FontColor = 0xFFFFFF;

    void MoveTo(int x, int y) {
        PenX = x;
        PenY = y;
    }
    // Draws from the pen position to (x, y), the end point itself excluded, and moves the pen there.
    void LineTo(int x, int y);
    // Fills [Left, Right) x [Top, Bottom) with the brush.
    void FillRect(const TRect& r);
    // One-pixel pen outline of [l, r) x [t, b), filled inside with the brush.
    void Rectangle(int l, int t, int r, int b);
    // Writes text in the built-in 3 x 5 font, scaled by two, on a brush-coloured box.
    void TextOut(int x, int y, const std::string& text);
    static int TextWidth(const std::string& text) { return int(text.size()) * 8; }
    static int TextHeight() { return 12; }
    // Ends this use of the context; drawing after Release is a fault of the caller.
    void Release() { Target = nullptr; }
    bool Released() const { return Target == nullptr; }

  private:
    Surface* Target;
    int PenX = 0;
    int PenY = 0;
};
