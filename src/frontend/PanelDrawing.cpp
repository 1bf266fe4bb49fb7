// PanelDrawing: filling, centred text and safe cuts for the front-end panels.
#include "frontend/PanelDrawing.h"

#include "media/Canvas.h"
#include "text/Font.h"

#include <algorithm>
#include <array>
#include <cstdio>

void FillBlack(Surface& target, const TRect& area) {
    Canvas canvas(target);
    canvas.BrushColor = 0;
    canvas.FillRect(area);
    canvas.Release();
}

uint32_t DimmedForText(uint32_t pixel) {
    return (pixel >> 2) & 0x3F3F3FU;
}

void DimForText(Surface& still) {
    for (uint32_t& pixel : still.Pixels)
        pixel = DimmedForText(pixel);
}

void WriteCentred(Surface& target, const TPictureItem& font, int x, int y, const std::string& text) {
    DrawText(target, font, x - int(TextWidth(font, text)) / 2, y, text);
}

std::string DropFirst(const std::string& text, size_t count) {
    return count >= text.size() ? std::string() : text.substr(count);
}

std::string DropLast(const std::string& text, size_t count) {
    return count >= text.size() ? std::string() : text.substr(0, text.size() - count);
}

std::string KeepFirst(const std::string& text, size_t count) {
    return text.substr(0, std::min(count, text.size()));
}

std::string PathFileName(const std::string& path) {
    const size_t slash = path.find_last_of("\\/");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string OptionValueText(uint8_t value) {
    if (value == 0) return "NO";
    // Two digits at least; printed rather than joined, which GCC 12 at -O3 wrongly warns about.
    std::array<char, 4> digits{};
    std::snprintf(digits.data(), digits.size(), "%02u", unsigned(value));
    return digits.data();
}
