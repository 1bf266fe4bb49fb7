// Font: character cells, drawing and width of bitmap text.
#include "text/Font.h"

#include <cctype>

int FontCell(char c) {
    const int u = std::toupper(static_cast<unsigned char>(c));
    if (u >= 'A' && u <= 'Z') return u - 65;
    if (u >= '0' && u <= '9') return u - 22;
    switch (u) {
    case '.': return 36;
    case ',': return 37;
    case ':': return 38;
    case '\'': return 39;
    case '-': return 40;
    case '/': return 41;
    case '%': return 42;
    case '(': return 43;
    case ')': return 44;
    case '*': return 45;
    default: return -1;
    }
}

void DrawText(Surface& target, const TPictureItem& font, int x, int y, const std::string& text) {
    const int cw = font.CellWidth();
    for (size_t i = 0; i < text.size(); ++i) {
        const int cell = FontCell(text[i]);
        if (cell >= 0) font.Draw(target, x + int(i) * cw, y, cell);
    }
}

uint16_t TextWidth(const TPictureItem& font, const std::string& text) {
    return static_cast<uint16_t>(text.size() * size_t(font.CellWidth()));
}
