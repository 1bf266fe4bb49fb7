// Paint: pixel-art helpers shared by the built-in pictures.
#include "content/Paint.h"

#include <algorithm>
#include <cmath>

namespace paint {

namespace {
int Channel(uint32_t c, int shift) {
    return int((c >> shift) & 0xFF);
}
int Clamp255(double v) {
    return std::clamp(int(std::lround(v)), 0, 255);
}
} // namespace

uint32_t Mix(uint32_t a, uint32_t b, double t) {
    const double u = std::clamp(t, 0.0, 1.0);
    auto lerp = [&](int shift) {
        return Clamp255(Channel(a, shift) + (Channel(b, shift) - Channel(a, shift)) * u);
    };
    return Rgb(lerp(16), lerp(8), lerp(0));
}

uint32_t Scale(uint32_t c, double f) {
    return Rgb(Clamp255(Channel(c, 16) * f), Clamp255(Channel(c, 8) * f), Clamp255(Channel(c, 0) * f));
}

uint32_t NotKey(uint32_t c) {
    return c == 0 ? Rgb(1, 1, 1) : c;
}

void FillRect(Surface& s, int x, int y, int w, int h, uint32_t c) {
    for (int yy = std::max(y, 0); yy < std::min(y + h, s.Height); ++yy)
        for (int xx = std::max(x, 0); xx < std::min(x + w, s.Width); ++xx)
            s.SetPixel(xx, yy, c);
}

void FillEllipse(Surface& s, double cx, double cy, double rx, double ry, uint32_t c) {
    if (rx <= 0 || ry <= 0) return;
    const int y0 = std::max(0, int(std::floor(cy - ry))),
              y1 = std::min(s.Height - 1, int(std::ceil(cy + ry)));
    const int x0 = std::max(0, int(std::floor(cx - rx))), x1 = std::min(s.Width - 1, int(std::ceil(cx + rx)));
    for (int y = y0; y <= y1; ++y)
        for (int x = x0; x <= x1; ++x) {
            const double dx = (x + 0.5 - cx) / rx, dy = (y + 0.5 - cy) / ry;
            if (dx * dx + dy * dy <= 1.0) s.SetPixel(x, y, c);
        }
}

void ThickLine(Surface& s, double x0, double y0, double x1, double y1, double radius, uint32_t c) {
    const double vx = x1 - x0, vy = y1 - y0, len2 = vx * vx + vy * vy;
    const int minX = std::max(0, int(std::floor(std::min(x0, x1) - radius)));
    const int maxX = std::min(s.Width - 1, int(std::ceil(std::max(x0, x1) + radius)));
    const int minY = std::max(0, int(std::floor(std::min(y0, y1) - radius)));
    const int maxY = std::min(s.Height - 1, int(std::ceil(std::max(y0, y1) + radius)));
    for (int y = minY; y <= maxY; ++y)
        for (int x = minX; x <= maxX; ++x) {
            const double px = x + 0.5 - x0, py = y + 0.5 - y0;
            const double t = len2 > 0 ? std::clamp((px * vx + py * vy) / len2, 0.0, 1.0) : 0.0;
            const double dx = px - t * vx, dy = py - t * vy;
            if (dx * dx + dy * dy <= radius * radius) s.SetPixel(x, y, c);
        }
}

namespace {
bool FindColour(const Palette& palette, char ch, uint32_t& colour) {
    for (const auto& [key, value] : palette)
        if (key == ch) {
            colour = value;
            return true;
        }
    return false;
}
} // namespace

void Stamp(Surface& s, int x, int y, std::initializer_list<const char*> rows, const Palette& palette) {
    int row = 0;
    for (const char* line : rows) {
        for (int col = 0; line[col] != '\0'; ++col) {
            uint32_t colour = 0;
            if (FindColour(palette, line[col], colour)) s.SetPixel(x + col, y + row, colour);
        }
        ++row;
    }
}

} // namespace paint
