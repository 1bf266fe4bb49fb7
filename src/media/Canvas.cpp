// Canvas: lines, rectangles and the small built-in text font.
#include "media/Canvas.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>

void Canvas::LineTo(int x, int y) {
    if (Target == nullptr) return;
    const uint32_t c = WinToPixel(PenColor);
    int x0 = PenX, y0 = PenY;
    const int dx = std::abs(x - x0), dy = -std::abs(y - y0);
    const int sx = x0 < x ? 1 : -1, sy = y0 < y ? 1 : -1;
    int err = dx + dy;
    // Bresenham; a long line far outside the surface is cut short by clipping its span first.
    if ((y0 == y) && (y0 < 0 || y0 >= Target->Height)) {
        PenX = x;
        PenY = y;
        return;
    }
    while (!(x0 == x && y0 == y)) {
        Target->SetPixel(x0, y0, c);
        const int e2 = 2 * err;
        if (e2 >= dy) {
            err += dy;
            x0 += sx;
        }
        if (e2 <= dx) {
            err += dx;
            y0 += sy;
        }
    }
    PenX = x;
    PenY = y;
}

void Canvas::FillRect(const TRect& r) {
    if (Target == nullptr) return;
    const uint32_t c = WinToPixel(BrushColor);
    const int x0 = std::max(r.Left, 0), x1 = std::min(r.Right, Target->Width);
    const int y0 = std::max(r.Top, 0), y1 = std::min(r.Bottom, Target->Height);
    for (int y = y0; y < y1; ++y) std::fill(Target->Row(y) + x0, Target->Row(y) + std::max(x0, x1), c);
}

void Canvas::Rectangle(int l, int t, int r, int b) {
    if (Target == nullptr || r <= l || b <= t) return;
    FillRect(TRect{l + 1, t + 1, r - 1, b - 1});
    const uint32_t c = WinToPixel(PenColor);
    for (int x = l; x < r; ++x) {
        Target->SetPixel(x, t, c);
        Target->SetPixel(x, b - 1, c);
    }
    for (int y = t; y < b; ++y) {
        Target->SetPixel(l, y, c);
        Target->SetPixel(r - 1, y, c);
    }
}

// 3 x 5 glyphs, one bit a pixel, rows top to bottom, three bits a row (bit 2 is the left column).
static uint16_t Glyph(char ch) {
    static const uint16_t digits[10] = {0x7B6F, 0x2C97, 0x73E7, 0x72CF, 0x5BC9, 0x79CF, 0x79EF, 0x7249, 0x7BEF, 0x7BCF};
    static const uint16_t letters[26] = {0x2BED, 0x6BAE, 0x3923, 0x6B6E, 0x79A7, 0x79A4, 0x396B, 0x5BED, 0x7497,
                                         0x126A, 0x5BAD, 0x4927, 0x5FED, 0x6B6D, 0x2B6A, 0x6BA4, 0x2B73, 0x6BAD,
                                         0x388E, 0x7492, 0x5B6F, 0x5B6A, 0x5BFD, 0x5AAD, 0x5A92, 0x72A7};
    const unsigned char u = static_cast<unsigned char>(std::toupper(static_cast<unsigned char>(ch)));
    if (u >= '0' && u <= '9') return digits[u - '0'];
    if (u >= 'A' && u <= 'Z') return letters[u - 'A'];
    if (u == '.') return 0x0002;
    if (u == ':') return 0x0410;
    if (u == '-') return 0x01C0;
    return 0;
}

void Canvas::TextOut(int x, int y, const std::string& text) {
    if (Target == nullptr) return;
    FillRect(Bounds(x, y, TextWidth(text), TextHeight()));
    const uint32_t c = WinToPixel(FontColor);
    for (size_t i = 0; i < text.size(); ++i) {
        const uint16_t g = Glyph(text[i]);
        const int gx = x + int(i) * 8 + 1;
        for (int row = 0; row < 5; ++row)
            for (int col = 0; col < 3; ++col)
                if (g & (1u << (14 - (row * 3 + col))))
                    for (int k = 0; k < 4; ++k) Target->SetPixel(gx + 2 * col + (k & 1), y + 1 + 2 * row + (k >> 1), c);
    }
}
