// BuiltinFonts: hand-drawn glyph designs turned into the game's font strips.
#include "content/BuiltinFonts.h"

#include "content/Paint.h"

#include <array>
#include <string>

namespace {

constexpr int kGlyphCells = 46; // A-Z, 0-9, . , : ' - / % ( ) *

// Large glyphs, 5 x 7, in cell order. Strokes are drawn thick by the renderer, so the designs stay
// on the classic 5 x 7 grid.
constexpr std::array<std::array<const char*, 7>, kGlyphCells> kLarge = {{
    {".###.", "#...#", "#...#", "#####", "#...#", "#...#", "#...#"}, // A
    {"####.", "#...#", "#...#", "####.", "#...#", "#...#", "####."}, // B
    {".###.", "#...#", "#....", "#....", "#....", "#...#", ".###."}, // C
    {"####.", "#...#", "#...#", "#...#", "#...#", "#...#", "####."}, // D
    {"#####", "#....", "#....", "####.", "#....", "#....", "#####"}, // E
    {"#####", "#....", "#....", "####.", "#....", "#....", "#...."}, // F
    {".###.", "#...#", "#....", "#.###", "#...#", "#...#", ".####"}, // G
    {"#...#", "#...#", "#...#", "#####", "#...#", "#...#", "#...#"}, // H
    {".###.", "..#..", "..#..", "..#..", "..#..", "..#..", ".###."}, // I
    {"..###", "...#.", "...#.", "...#.", "...#.", "#..#.", ".##.."}, // J
    {"#...#", "#..#.", "#.#..", "##...", "#.#..", "#..#.", "#...#"}, // K
    {"#....", "#....", "#....", "#....", "#....", "#....", "#####"}, // L
    {"#...#", "##.##", "#.#.#", "#.#.#", "#...#", "#...#", "#...#"}, // M
    {"#...#", "#...#", "##..#", "#.#.#", "#..##", "#...#", "#...#"}, // N
    {".###.", "#...#", "#...#", "#...#", "#...#", "#...#", ".###."}, // O
    {"####.", "#...#", "#...#", "####.", "#....", "#....", "#...."}, // P
    {".###.", "#...#", "#...#", "#...#", "#.#.#", "#..#.", ".##.#"}, // Q
    {"####.", "#...#", "#...#", "####.", "#.#..", "#..#.", "#...#"}, // R
    {".###.", "#...#", "#....", ".###.", "....#", "#...#", ".###."}, // S
    {"#####", "..#..", "..#..", "..#..", "..#..", "..#..", "..#.."}, // T
    {"#...#", "#...#", "#...#", "#...#", "#...#", "#...#", ".###."}, // U
    {"#...#", "#...#", "#...#", "#...#", "#...#", ".#.#.", "..#.."}, // V
    {"#...#", "#...#", "#...#", "#.#.#", "#.#.#", "##.##", "#...#"}, // W
    {"#...#", "#...#", ".#.#.", "..#..", ".#.#.", "#...#", "#...#"}, // X
    {"#...#", "#...#", ".#.#.", "..#..", "..#..", "..#..", "..#.."}, // Y
    {"#####", "....#", "...#.", "..#..", ".#...", "#....", "#####"}, // Z
    {".###.", "#...#", "#..##", "#.#.#", "##..#", "#...#", ".###."}, // 0
    {"..#..", ".##..", "..#..", "..#..", "..#..", "..#..", ".###."}, // 1
    {".###.", "#...#", "....#", "...#.", "..#..", ".#...", "#####"}, // 2
    {"####.", "....#", "....#", ".###.", "....#", "....#", "####."}, // 3
    {"...#.", "..##.", ".#.#.", "#..#.", "#####", "...#.", "...#."}, // 4
    {"#####", "#....", "####.", "....#", "....#", "#...#", ".###."}, // 5
    {"..##.", ".#...", "#....", "####.", "#...#", "#...#", ".###."}, // 6
    {"#####", "....#", "...#.", "..#..", ".#...", ".#...", ".#..."}, // 7
    {".###.", "#...#", "#...#", ".###.", "#...#", "#...#", ".###."}, // 8
    {".###.", "#...#", "#...#", ".####", "....#", "...#.", ".##.."}, // 9
    {".....", ".....", ".....", ".....", ".....", ".##..", ".##.."}, // .
    {".....", ".....", ".....", ".....", ".##..", ".##..", "..#.."}, // ,
    {".....", ".##..", ".##..", ".....", ".##..", ".##..", "....."}, // :
    {"..#..", "..#..", ".#...", ".....", ".....", ".....", "....."}, // '
    {".....", ".....", ".....", "#####", ".....", ".....", "....."}, // -
    {"....#", "....#", "...#.", "..#..", ".#...", "#....", "#...."}, // /
    {"##..#", "##..#", "...#.", "..#..", ".#...", "#..##", "#..##"}, // %
    {"...#.", "..#..", ".#...", ".#...", ".#...", "..#..", "...#."}, // (
    {".#...", "..#..", "...#.", "...#.", "...#.", "..#..", ".#..."}, // )
    {".....", "..#..", "#.#.#", ".###.", "#.#.#", "..#..", "....."}, // *
}};

// Small glyphs, 3 x 5 plus a sixth row that only the comma uses.
constexpr std::array<std::array<const char*, 6>, kGlyphCells> kSmall = {{
    {".#.", "#.#", "###", "#.#", "#.#", "..."}, // A
    {"##.", "#.#", "##.", "#.#", "##.", "..."}, // B
    {".##", "#..", "#..", "#..", ".##", "..."}, // C
    {"##.", "#.#", "#.#", "#.#", "##.", "..."}, // D
    {"###", "#..", "##.", "#..", "###", "..."}, // E
    {"###", "#..", "##.", "#..", "#..", "..."}, // F
    {".##", "#..", "#.#", "#.#", ".##", "..."}, // G
    {"#.#", "#.#", "###", "#.#", "#.#", "..."}, // H
    {"###", ".#.", ".#.", ".#.", "###", "..."}, // I
    {"..#", "..#", "..#", "#.#", ".#.", "..."}, // J
    {"#.#", "#.#", "##.", "#.#", "#.#", "..."}, // K
    {"#..", "#..", "#..", "#..", "###", "..."}, // L
    {"#.#", "###", "###", "#.#", "#.#", "..."}, // M
    {"##.", "#.#", "#.#", "#.#", "#.#", "..."}, // N
    {".#.", "#.#", "#.#", "#.#", ".#.", "..."}, // O
    {"##.", "#.#", "##.", "#..", "#..", "..."}, // P
    {".#.", "#.#", "#.#", "##.", ".##", "..."}, // Q
    {"##.", "#.#", "##.", "#.#", "#.#", "..."}, // R
    {".##", "#..", ".#.", "..#", "##.", "..."}, // S
    {"###", ".#.", ".#.", ".#.", ".#.", "..."}, // T
    {"#.#", "#.#", "#.#", "#.#", "###", "..."}, // U
    {"#.#", "#.#", "#.#", "#.#", ".#.", "..."}, // V
    {"#.#", "#.#", "###", "###", "#.#", "..."}, // W
    {"#.#", "#.#", ".#.", "#.#", "#.#", "..."}, // X
    {"#.#", "#.#", ".#.", ".#.", ".#.", "..."}, // Y
    {"###", "..#", ".#.", "#..", "###", "..."}, // Z
    {"###", "#.#", "#.#", "#.#", "###", "..."}, // 0
    {".#.", "##.", ".#.", ".#.", "###", "..."}, // 1
    {"##.", "..#", ".#.", "#..", "###", "..."}, // 2
    {"##.", "..#", ".#.", "..#", "##.", "..."}, // 3
    {"#.#", "#.#", "###", "..#", "..#", "..."}, // 4
    {"###", "#..", "##.", "..#", "##.", "..."}, // 5
    {".##", "#..", "###", "#.#", "###", "..."}, // 6
    {"###", "..#", ".#.", ".#.", ".#.", "..."}, // 7
    {"###", "#.#", "###", "#.#", "###", "..."}, // 8
    {"###", "#.#", "###", "..#", "##.", "..."}, // 9
    {"...", "...", "...", "...", ".#.", "..."}, // .
    {"...", "...", "...", ".#.", ".#.", "#.."}, // ,
    {"...", ".#.", "...", ".#.", "...", "..."}, // :
    {".#.", ".#.", "...", "...", "...", "..."}, // '
    {"...", "...", "###", "...", "...", "..."}, // -
    {"..#", "..#", ".#.", "#..", "#..", "..."}, // /
    {"#.#", "..#", ".#.", "#..", "#.#", "..."}, // %
    {".#.", "#..", "#..", "#..", ".#.", "..."}, // (
    {".#.", "..#", "..#", "..#", ".#.", "..."}, // )
    {"...", "#.#", ".#.", "#.#", "...", "..."}, // *
}};

// The 5 x 7 grid is stretched to 8 x 12 with the outer columns and rows doubled, which gives bold
// strokes while keeping a two-pixel gap before the next cell.
constexpr std::array<int, 6> kColumnStart = {0, 2, 3, 5, 6, 8};
constexpr std::array<int, 8> kRowStart = {0, 2, 3, 5, 7, 9, 10, 12};
constexpr int kLargeBodyWidth = 8;
constexpr int kLargeBodyHeight = 12;

struct LargeStyle {
    uint32_t Top = 0;    // colour of the upper rows
    uint32_t Middle = 0; // colour at the middle
    uint32_t Bottom = 0; // colour of the lowest rows
    uint32_t Edge = 0;   // lower right edge of each stroke
    uint32_t Shadow = 0; // drop shadow one pixel down and right
};

Surface LargeBodyMask(int cell) {
    Surface mask(kLargeBodyWidth, kLargeBodyHeight);
    for (int gy = 0; gy < 7; ++gy)
        for (int gx = 0; gx < 5; ++gx) {
            if (!LargeGlyphBit(cell, gx, gy)) continue;
            paint::FillRect(mask, kColumnStart[gx], kRowStart[gy], kColumnStart[gx + 1] - kColumnStart[gx],
                            kRowStart[gy + 1] - kRowStart[gy], 1);
        }
    return mask;
}

TPictureItem MakeLargeFont(const std::string& name, const LargeStyle& style) {
    TPictureItem item;
    item.Name = name;
    item.Picture.SetSize(kGlyphCells * 10 + 2, 15);
    item.PatternWidth = 10;
    item.PatternHeight = 15;
    item.Transparent = true;
    item.TransparentColor = 0;
    constexpr int kTop = 1; // one clear row above keeps stacked lines apart
    for (int cell = 0; cell < kGlyphCells; ++cell) {
        const Surface mask = LargeBodyMask(cell);
        const int ox = cell * 10;
        for (int y = 0; y <= kLargeBodyHeight; ++y)
            for (int x = 0; x <= kLargeBodyWidth; ++x)
                if (mask.Pixel(x, y) == 0 && mask.Pixel(x - 1, y - 1) != 0)
                    item.Picture.SetPixel(ox + x, kTop + y, style.Shadow);
        for (int y = 0; y < kLargeBodyHeight; ++y) {
            const double t = double(y) / (kLargeBodyHeight - 1);
            const uint32_t body = t < 0.5 ? paint::Mix(style.Top, style.Middle, t * 2)
                                          : paint::Mix(style.Middle, style.Bottom, t * 2 - 1);
            for (int x = 0; x < kLargeBodyWidth; ++x) {
                if (mask.Pixel(x, y) == 0) continue;
                // Only strokes at least two pixels thick get a shaded edge; hairlines keep the face colour.
                const bool edge = (mask.Pixel(x + 1, y) == 0 && mask.Pixel(x - 1, y) != 0) ||
                                  (mask.Pixel(x, y + 1) == 0 && mask.Pixel(x, y - 1) != 0);
                item.Picture.SetPixel(ox + x, kTop + y, paint::NotKey(edge ? style.Edge : body));
            }
        }
    }
    return item;
}

struct SmallStyle {
    int Height = 0;          // 5 or 6
    uint32_t Background = 0; // the colour key, filled into every cell
    uint32_t Ink = 0;
    uint32_t InkTop = 0; // the upper row, a touch lighter
    uint32_t Shade = 0;  // drawn under ink where the row below is empty (0 for none)
};

TPictureItem MakeSmallFont(const std::string& name, const SmallStyle& style) {
    TPictureItem item;
    item.Name = name;
    item.Picture.SetSize(200, style.Height);
    item.Picture.Fill(style.Background);
    item.PatternWidth = 4;
    item.PatternHeight = style.Height;
    item.Transparent = true;
    item.TransparentColor = style.Background;
    for (int cell = 0; cell < kGlyphCells; ++cell) {
        const int ox = cell * 4;
        for (int y = 0; y < style.Height; ++y)
            for (int x = 0; x < 3; ++x) {
                if (SmallGlyphBit(cell, x, y))
                    item.Picture.SetPixel(ox + x, y, y == 0 ? style.InkTop : style.Ink);
                else if (style.Shade != style.Background && y > 0 && SmallGlyphBit(cell, x, y - 1))
                    item.Picture.SetPixel(ox + x, y, style.Shade);
            }
    }
    return item;
}

// Segment layout of an 8 x 11 cell: a 6 x 9 digit with a free column on the right and a free row
// above and below, so digits side by side read as one display.
enum Segment { kA, kB, kC, kD, kE, kF, kG };
constexpr std::array<int, 10> kDigitSegments = {
    0b0111111, 0b0000110, 0b1011011, 0b1001111, 0b1100110,
    0b1101101, 0b1111101, 0b0000111, 0b1111111, 0b1101111,
};

void DrawSegment(Surface& s, int ox, Segment seg, uint32_t c) {
    switch (seg) {
    case kA:
        paint::FillRect(s, ox + 2, 1, 3, 1, c);
        break;
    case kB:
        paint::FillRect(s, ox + 5, 2, 1, 3, c);
        break;
    case kC:
        paint::FillRect(s, ox + 5, 6, 1, 3, c);
        break;
    case kD:
        paint::FillRect(s, ox + 2, 9, 3, 1, c);
        break;
    case kE:
        paint::FillRect(s, ox + 1, 6, 1, 3, c);
        break;
    case kF:
        paint::FillRect(s, ox + 1, 2, 1, 3, c);
        break;
    case kG:
        paint::FillRect(s, ox + 2, 5, 3, 1, c);
        break;
    }
}

struct SegmentStyle {
    uint32_t Background = 0;
    uint32_t Unlit = 0;
    uint32_t Glow = 0; // background next to a lit segment
    uint32_t Lit = 0;
};

void DrawDigitCell(Surface& s, int cell, int digit, const SegmentStyle& style) {
    const int ox = cell * 8;
    paint::FillRect(s, ox, 0, 8, 11, style.Background);
    const int lit = digit >= 0 ? kDigitSegments[size_t(digit)] : 0;
    for (int seg = kA; seg <= kG; ++seg)
        DrawSegment(s, ox, Segment(seg), style.Unlit);
    // The glow goes down first so the lit strokes stay crisp on top of it.
    for (int seg = kA; seg <= kG; ++seg) {
        if ((lit & (1 << seg)) == 0) continue;
        Surface single(8, 11);
        DrawSegment(single, 0, Segment(seg), 1);
        for (int y = 0; y < 11; ++y)
            for (int x = 0; x < 7; ++x)
                if (single.Pixel(x, y) == 0 && s.Pixel(ox + x, y) == style.Background &&
                    (single.Pixel(x - 1, y) | single.Pixel(x + 1, y) | single.Pixel(x, y - 1) |
                     single.Pixel(x, y + 1)))
                    s.SetPixel(ox + x, y, style.Glow);
    }
    for (int seg = kA; seg <= kG; ++seg)
        if (lit & (1 << seg)) DrawSegment(s, ox, Segment(seg), style.Lit);
}

TPictureItem MakeSegmentFont(const std::string& name, const SegmentStyle& style) {
    TPictureItem item;
    item.Name = name;
    item.Picture.SetSize(296, 11);
    item.PatternWidth = 8;
    item.PatternHeight = 11;
    item.Transparent = false;
    item.TransparentColor = 0;
    for (int cell = 0; cell < 37; ++cell) {
        const bool digit = cell >= 26 && cell <= 35;
        DrawDigitCell(item.Picture, cell, digit ? cell - 26 : -1, style);
    }
    return item;
}

} // namespace

bool LargeGlyphBit(int cell, int x, int y) {
    if (cell < 0 || cell >= kGlyphCells || x < 0 || x >= 5 || y < 0 || y >= 7) return false;
    return kLarge[size_t(cell)][size_t(y)][x] == '#';
}

bool SmallGlyphBit(int cell, int x, int y) {
    if (cell < 0 || cell >= kGlyphCells || x < 0 || x >= 3 || y < 0 || y >= 6) return false;
    return kSmall[size_t(cell)][size_t(y)][x] == '#';
}

void AddBuiltinFonts(TImageList& images) {
    images.Add(MakeLargeFont("Font", LargeStyle{Rgb(255, 250, 222), Rgb(255, 212, 96), Rgb(226, 136, 34),
                                                Rgb(170, 88, 18), Rgb(64, 30, 6)}));
    images.Add(MakeLargeFont("GreyFont", LargeStyle{Rgb(240, 240, 244), Rgb(196, 196, 204),
                                                    Rgb(138, 138, 150), Rgb(96, 96, 108), Rgb(28, 28, 34)}));
    images.Add(MakeSmallFont("SmallFont", SmallStyle{5, Rgb(38, 38, 38), Rgb(214, 218, 226),
                                                     Rgb(250, 250, 255), Rgb(38, 38, 38)}));
    images.Add(MakeSmallFont("BlueFont", SmallStyle{5, 0, Rgb(96, 158, 255), Rgb(170, 210, 255), 0}));
    images.Add(
        MakeSmallFont("GreenFont", SmallStyle{6, 0, Rgb(88, 232, 96), Rgb(170, 255, 170), Rgb(20, 84, 28)}));
    images.Add(MakeSegmentFont(
        "7SegFont", SegmentStyle{Rgb(10, 12, 8), Rgb(44, 40, 18), Rgb(70, 52, 10), Rgb(255, 190, 40)}));
    images.Add(MakeSegmentFont(
        "7SegFontRed", SegmentStyle{Rgb(12, 6, 6), Rgb(54, 18, 16), Rgb(90, 16, 12), Rgb(255, 52, 36)}));
}
