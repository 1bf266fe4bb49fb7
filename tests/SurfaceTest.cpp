// SurfaceTest: blits, clipping, stretch, rotation, .bmp files, the drawing context and image lists.
#include "media/Surface.h"
#include "media/Canvas.h"
#include "media/ImageList.h"
#include "media/MediaError.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <vector>

namespace {

// Every pixel different and none black, so a misplaced or skipped pixel always shows.
Surface Numbered(int w, int h) {
    Surface s(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            s.SetPixel(x, y, uint32_t(0x010000 * (x + 1) + 0x000100 * (y + 1) + 0x11));
    return s;
}

// What a blit must leave: each source pixel inside both the source and the rectangle goes to
// (x, y) plus its offset from the rectangle's corner, if that lands on the target.
Surface ExpectedBlit(const Surface& before, int x, int y, const Surface& src, const TRect& r,
                     bool transparent) {
    Surface out = before;
    for (int sy = r.Top; sy < r.Bottom; ++sy)
        for (int sx = r.Left; sx < r.Right; ++sx) {
            if (!src.Contains(sx, sy)) continue;
            const uint32_t c = src.Pixel(sx, sy);
            if (transparent && c == src.TransparentColor) continue;
            out.SetPixel(x + sx - r.Left, y + sy - r.Top, c);
        }
    return out;
}

std::vector<std::pair<int, int>> PixelsOf(const Surface& s, uint32_t color) {
    std::vector<std::pair<int, int>> found;
    for (int y = 0; y < s.Height; ++y)
        for (int x = 0; x < s.Width; ++x)
            if (s.Pixel(x, y) == color) found.emplace_back(x, y);
    return found;
}

// Little-endian writers for the hand-built bitmap files.
void Put16(std::vector<uint8_t>& b, uint32_t v) {
    b.push_back(uint8_t(v));
    b.push_back(uint8_t(v >> 8));
}
void Put32(std::vector<uint8_t>& b, uint32_t v) {
    Put16(b, v & 0xFFFF);
    Put16(b, v >> 16);
}

// File header plus a 40-byte info header; the pixel data is appended by the caller.
std::vector<uint8_t> BmpHeader(int w, int h, int bits, uint32_t paletteEntries, uint32_t imageBytes) {
    const uint32_t offset = 54 + paletteEntries * 4;
    std::vector<uint8_t> b;
    b.push_back('B');
    b.push_back('M');
    Put32(b, offset + imageBytes);
    Put32(b, 0);
    Put32(b, offset);
    Put32(b, 40);
    Put32(b, uint32_t(w));
    Put32(b, uint32_t(h));
    Put16(b, 1);
    Put16(b, uint32_t(bits));
    Put32(b, 0); // uncompressed
    Put32(b, imageBytes);
    Put32(b, 2835);
    Put32(b, 2835);
    Put32(b, paletteEntries);
    Put32(b, 0);
    return b;
}

std::filesystem::path TempFile(const std::string& name) {
    return std::filesystem::temp_directory_path() /
           ("flarons_surface_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "_" +
            name);
}

} // namespace

TEST(SurfaceBasics, SizeFillAndOutsideAccess) {
    Surface s(3, 2);
    EXPECT_EQ(s.Pixels.size(), 6u);
    EXPECT_EQ(s.Pixel(2, 1), 0u);
    s.Fill(0x123456);
    EXPECT_EQ(s.Pixel(2, 1), 0x123456u);
    s.SetPixel(3, 0, 0xFF); // outside: dropped
    s.SetPixel(-1, 0, 0xFF);
    EXPECT_EQ(PixelsOf(s, 0xFF).size(), 0u);
    EXPECT_EQ(s.Pixel(-1, 0), 0u);
    EXPECT_EQ(s.Row(2), nullptr);
    s.SetSize(-4, 5);
    EXPECT_TRUE(s.Empty());
    EXPECT_TRUE(s.Pixels.empty());
    int pitch = 0;
    Surface t(7, 2);
    t.Lock(pitch);
    EXPECT_EQ(pitch, 28);
    t.Unlock();
}

TEST(SurfaceBlit, WholeSourceClippedAtEveryEdge) {
    const Surface src = Numbered(4, 3);
    // Every placement from fully off the left/top to fully off the right/bottom.
    for (int y = -4; y <= 9; ++y)
        for (int x = -5; x <= 11; ++x) {
            Surface dst(10, 6);
            dst.Fill(0x000007);
            const Surface want = ExpectedBlit(dst, x, y, src, src.ClientRect(), false);
            dst.Draw(x, y, src, false);
            ASSERT_EQ(dst.Pixels, want.Pixels) << "at " << x << "," << y;
        }
    Surface dst(10, 6);
    dst.Draw(-2, -1, src, false);
    EXPECT_EQ(dst.Pixel(0, 0), src.Pixel(2, 1));
    EXPECT_EQ(dst.Pixel(1, 1), src.Pixel(3, 2));
    EXPECT_EQ(dst.Pixel(2, 0), 0u);
}

TEST(SurfaceBlit, SourceRectanglesIncludingNegativeAndOversizedOnes) {
    const Surface src = Numbered(5, 4);
    const TRect rects[] = {
        {1, 1, 3, 3}, {-2, -1, 3, 2}, {3, 2, 9, 8},     {-3, -3, 8, 7}, {4, 0, 5, 4},
        {2, 2, 2, 4}, {3, 1, 1, 3},   {-5, -5, -1, -1}, {5, 4, 7, 6},
    };
    for (const TRect& r : rects)
        for (int y = -4; y <= 7; ++y)
            for (int x = -4; x <= 9; ++x) {
                Surface dst(8, 5);
                dst.Fill(0x000007);
                const Surface want = ExpectedBlit(dst, x, y, src, r, false);
                dst.DrawRect(x, y, src, r, false);
                ASSERT_EQ(dst.Pixels, want.Pixels) << "rect " << r.Left << "," << r.Top << "," << r.Right
                                                   << "," << r.Bottom << " at " << x << "," << y;
            }
    // A rectangle starting left of the source shifts the picture right by the missing part.
    Surface dst(8, 5);
    dst.DrawRect(0, 0, src, TRect{-2, 0, 2, 1}, false);
    EXPECT_EQ(dst.Pixel(0, 0), 0u);
    EXPECT_EQ(dst.Pixel(1, 0), 0u);
    EXPECT_EQ(dst.Pixel(2, 0), src.Pixel(0, 0));
    EXPECT_EQ(dst.Pixel(3, 0), src.Pixel(1, 0));
    EXPECT_EQ(dst.Pixel(4, 0), 0u);
}

TEST(SurfaceBlit, TransparentKeySkipsOnlyKeyPixels) {
    Surface src = Numbered(4, 4);
    src.SetPixel(1, 1, 0);
    src.SetPixel(2, 2, 0);
    Surface dst(6, 6);
    dst.Fill(0xABCDEF);
    dst.Draw(1, 1, src, true);
    EXPECT_EQ(dst.Pixel(2, 2), 0xABCDEFu); // black kept out
    EXPECT_EQ(dst.Pixel(3, 3), 0xABCDEFu);
    EXPECT_EQ(dst.Pixel(1, 1), src.Pixel(0, 0));
    dst.Draw(1, 1, src, false); // not transparent: black is copied like any colour
    EXPECT_EQ(dst.Pixel(2, 2), 0u);

    // A surface with another key lets black through and keeps the key out.
    src.TransparentColor = src.Pixel(3, 0);
    dst.Fill(0xABCDEF);
    for (int y = -2; y <= 4; ++y)
        for (int x = -2; x <= 4; ++x) {
            Surface d(6, 6);
            d.Fill(0xABCDEF);
            const Surface want = ExpectedBlit(d, x, y, src, TRect{-1, 0, 4, 3}, true);
            d.DrawRect(x, y, src, TRect{-1, 0, 4, 3}, true);
            ASSERT_EQ(d.Pixels, want.Pixels) << x << "," << y;
        }
    dst.Draw(0, 0, src, true);
    EXPECT_EQ(dst.Pixel(1, 1), 0u);
    EXPECT_EQ(dst.Pixel(3, 0), 0xABCDEFu);
}

TEST(SurfaceStretch, NearestNeighbourBothWays) {
    Surface src(2, 2);
    src.SetPixel(0, 0, 0x0000AA);
    src.SetPixel(1, 0, 0x00BB00);
    src.SetPixel(0, 1, 0xCC0000);
    src.SetPixel(1, 1, 0xDDDDDD);
    Surface dst(6, 6);
    dst.StretchDraw(TRect{1, 1, 5, 5}, src, src.ClientRect(), false);
    EXPECT_EQ(dst.Pixel(1, 1), 0x0000AAu);
    EXPECT_EQ(dst.Pixel(2, 2), 0x0000AAu);
    EXPECT_EQ(dst.Pixel(3, 1), 0x00BB00u);
    EXPECT_EQ(dst.Pixel(4, 2), 0x00BB00u);
    EXPECT_EQ(dst.Pixel(1, 4), 0xCC0000u);
    EXPECT_EQ(dst.Pixel(4, 4), 0xDDDDDDu);
    EXPECT_EQ(dst.Pixel(0, 0), 0u);
    EXPECT_EQ(dst.Pixel(5, 5), 0u);

    // Shrinking picks every other pixel, starting with the first.
    const Surface big = Numbered(4, 4);
    Surface small(2, 2);
    small.StretchDraw(small.ClientRect(), big, big.ClientRect(), false);
    EXPECT_EQ(small.Pixel(0, 0), big.Pixel(0, 0));
    EXPECT_EQ(small.Pixel(1, 0), big.Pixel(2, 0));
    EXPECT_EQ(small.Pixel(0, 1), big.Pixel(0, 2));
    EXPECT_EQ(small.Pixel(1, 1), big.Pixel(2, 2));
}

TEST(SurfaceStretch, ClipsWithoutMovingThePictureAndHonoursTheKey) {
    Surface src = Numbered(2, 2);
    Surface dst(3, 3);
    // Four times larger, hanging off the top-left: the visible part is the bottom-right of it.
    dst.StretchDraw(TRect{-5, -5, 3, 3}, src, src.ClientRect(), false);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 3; ++x)
            EXPECT_EQ(dst.Pixel(x, y), src.Pixel(1, 1)) << x << "," << y;

    src.SetPixel(0, 0, 0);
    Surface d2(4, 4);
    d2.Fill(0x555555);
    d2.StretchDraw(d2.ClientRect(), src, src.ClientRect(), true);
    EXPECT_EQ(d2.Pixel(0, 0), 0x555555u);
    EXPECT_EQ(d2.Pixel(1, 1), 0x555555u);
    EXPECT_EQ(d2.Pixel(2, 0), src.Pixel(1, 0));

    // Empty rectangles and source rectangles off the source draw nothing.
    Surface d3(4, 4);
    d3.StretchDraw(TRect{2, 2, 2, 4}, src, src.ClientRect(), false);
    d3.StretchDraw(d3.ClientRect(), src, TRect{5, 5, 7, 7}, false);
    EXPECT_EQ(PixelsOf(d3, 0).size(), 16u);
}

TEST(SurfaceRotate, QuarterTurnIsCounterClockwiseOnScreen) {
    const uint32_t mark = 0xFF00FF;
    Surface src(8, 8);
    src.Fill(0x202020);
    src.SetPixel(7, 4, mark); // right of the centre
    struct Case {
        int Angle;
        int X, Y;
    };
    // Drawn about its centre at (20, 20): the mark turns right -> up -> left -> down.
    const Case cases[] = {{0, 23, 20},   {64, 20, 16},  {128, 16, 19},
                          {192, 19, 23}, {256, 23, 20}, {-64, 19, 23}};
    for (const Case& c : cases) {
        Surface dst(40, 40);
        dst.DrawRotated(20, 20, 8, 8, src, src.ClientRect(), 0.5, 0.5, c.Angle, false);
        const auto found = PixelsOf(dst, mark);
        ASSERT_EQ(found.size(), 1u) << "angle " << c.Angle;
        EXPECT_EQ(found[0].first, c.X) << "angle " << c.Angle;
        EXPECT_EQ(found[0].second, c.Y) << "angle " << c.Angle;
        // A quarter turn of a square covers exactly the same number of pixels.
        EXPECT_EQ(PixelsOf(dst, 0x202020).size() + found.size(), 64u) << "angle " << c.Angle;
    }
}

TEST(SurfaceRotate, ScalesAboutTheCentrePointClipsAndKeysOut) {
    Surface src(4, 4);
    src.Fill(0x303030);
    src.SetPixel(0, 0, 0);
    Surface dst(40, 40);
    // Twice the size, pivot at the top-left corner: covers [10, 18) x [10, 18) but the key pixels.
    dst.DrawRotated(10, 10, 8, 8, src, src.ClientRect(), 0.0, 0.0, 0, true);
    EXPECT_EQ(PixelsOf(dst, 0x303030).size(), 60u);
    EXPECT_EQ(dst.Pixel(10, 10), 0u);
    EXPECT_EQ(dst.Pixel(12, 10), 0x303030u);
    EXPECT_EQ(dst.Pixel(17, 17), 0x303030u);
    EXPECT_EQ(dst.Pixel(18, 17), 0u);

    // Hanging over a corner of the target: the visible quarter only, no access outside.
    Surface corner(4, 4);
    corner.DrawRotated(0, 0, 8, 8, src, src.ClientRect(), 0.5, 0.5, 32, false);
    EXPECT_GT(PixelsOf(corner, 0x303030).size(), 0u);
    Surface none(4, 4);
    none.DrawRotated(100, -100, 8, 8, src, src.ClientRect(), 0.5, 0.5, 10, false);
    none.DrawRotated(2, 2, 0, 8, src, src.ClientRect(), 0.5, 0.5, 0, false);
    EXPECT_EQ(PixelsOf(none, 0).size(), 16u);
}

TEST(SurfaceBmp, EightBitPaletteFile) {
    // 3 x 2, rows padded to 4 bytes, stored bottom row first.
    std::vector<uint8_t> b = BmpHeader(3, 2, 8, 3, 8);
    const uint8_t palette[3][4] = {
        {0x00, 0x00, 0xFF, 0}, {0x00, 0xFF, 0x00, 0}, {0xFF, 0x00, 0x00, 0}}; // B G R x
    for (const auto& p : palette)
        b.insert(b.end(), p, p + 4);
    const uint8_t rows[8] = {2, 2, 1, 0xEE, /* top: */ 0, 1, 2, 0xEE};
    b.insert(b.end(), rows, rows + 8);
    Surface s;
    ASSERT_TRUE(s.LoadFromMemory(b.data(), b.size()));
    ASSERT_EQ(s.Width, 3);
    ASSERT_EQ(s.Height, 2);
    EXPECT_EQ(s.Pixel(0, 0), 0xFF0000u);
    EXPECT_EQ(s.Pixel(1, 0), 0x00FF00u);
    EXPECT_EQ(s.Pixel(2, 0), 0x0000FFu);
    EXPECT_EQ(s.Pixel(0, 1), 0x0000FFu);
    EXPECT_EQ(s.Pixel(2, 1), 0x00FF00u);
}

TEST(SurfaceBmp, TwentyFourBitPaddedBottomUpFile) {
    // 3 x 2: 9 bytes a row, padded to 12.
    std::vector<uint8_t> b = BmpHeader(3, 2, 24, 0, 24);
    const uint8_t rows[24] = {
        0x01, 0x02, 0x03, 0x04, 0x05, 0x06, 0x07, 0x08, 0x09, 0xAA, 0xAA, 0xAA, // bottom row
        0x10, 0x20, 0x30, 0x40, 0x50, 0x60, 0x70, 0x80, 0x90, 0xAA, 0xAA, 0xAA, // top row
    };
    b.insert(b.end(), rows, rows + 24);
    Surface s;
    ASSERT_TRUE(s.LoadFromMemory(b.data(), b.size()));
    EXPECT_EQ(s.Pixel(0, 0), 0x302010u);
    EXPECT_EQ(s.Pixel(2, 0), 0x908070u);
    EXPECT_EQ(s.Pixel(0, 1), 0x030201u);
    EXPECT_EQ(s.Pixel(1, 1), 0x060504u);
    EXPECT_EQ(s.Pixel(2, 1), 0x090807u);
}

TEST(SurfaceBmp, ThirtyTwoBitFile) {
    std::vector<uint8_t> b = BmpHeader(2, 2, 32, 0, 16);
    const uint8_t rows[16] = {0x11, 0x22, 0x33, 0, 0x44, 0x55, 0x66, 0,
                              0x77, 0x88, 0x99, 0, 0xAA, 0xBB, 0xCC, 0};
    b.insert(b.end(), rows, rows + 16);
    Surface s;
    ASSERT_TRUE(s.LoadFromMemory(b.data(), b.size()));
    ASSERT_EQ(s.Width, 2);
    EXPECT_EQ(s.Pixel(0, 1), 0x332211u);
    EXPECT_EQ(s.Pixel(1, 1), 0x665544u);
    EXPECT_EQ(s.Pixel(0, 0), 0x998877u);
    EXPECT_EQ(s.Pixel(1, 0), 0xCCBBAAu);
}

TEST(SurfaceBmp, BadDataLeavesTheSurfaceAsItWas) {
    Surface s = Numbered(2, 2);
    const std::vector<uint32_t> before = s.Pixels;
    const uint8_t png[60] = {0x89, 'P', 'N', 'G'};
    EXPECT_FALSE(s.LoadFromMemory(png, sizeof png));
    std::vector<uint8_t> cut = BmpHeader(40, 40, 24, 0, 40 * 120);
    cut.resize(cut.size() + 10); // far too little pixel data
    EXPECT_FALSE(s.LoadFromMemory(cut.data(), cut.size()));
    EXPECT_FALSE(s.LoadFromMemory(cut.data(), 20));
    EXPECT_FALSE(s.LoadFromFile(TempFile("does_not_exist.bmp").string()));
    EXPECT_EQ(s.Width, 2);
    EXPECT_EQ(s.Pixels, before);
}

TEST(SurfaceBmp, SaveAndLoadRoundTrip) {
    const Surface src = Numbered(5, 3); // odd width: rows need padding
    const std::vector<uint8_t> bytes = src.EncodeBmp();
    EXPECT_EQ(bytes.size(), 54u + 16u * 3u);
    const std::filesystem::path file = TempFile("round.bmp");
    ASSERT_TRUE(src.SaveToBmp(file.string()));
    Surface back;
    ASSERT_TRUE(back.LoadFromFile(file.string()));
    std::filesystem::remove(file);
    EXPECT_EQ(back.Width, 5);
    EXPECT_EQ(back.Height, 3);
    EXPECT_EQ(back.Pixels, src.Pixels);
    EXPECT_FALSE(src.SaveToBmp((TempFile("no_such_dir") / "x.bmp").string()));
}

TEST(CanvasDrawing, LineToLeavesTheEndPointOut) {
    Surface s(10, 10);
    Canvas c(s);
    c.PenColor = 0x0000FF; // Windows red
    c.MoveTo(1, 1);
    c.LineTo(5, 1);
    EXPECT_EQ(PixelsOf(s, 0xFF0000), (std::vector<std::pair<int, int>>{{1, 1}, {2, 1}, {3, 1}, {4, 1}}));
    // The pen moved to the end: the next line starts there and draws it.
    c.LineTo(5, 3);
    EXPECT_EQ(s.Pixel(5, 1), 0xFF0000u);
    EXPECT_EQ(s.Pixel(5, 2), 0xFF0000u);
    EXPECT_EQ(s.Pixel(5, 3), 0u);

    Surface d(10, 10);
    Canvas cd(d);
    cd.PenColor = 0xFFFFFF;
    cd.MoveTo(7, 7);
    cd.LineTo(4, 4); // up and left
    EXPECT_EQ(PixelsOf(d, 0xFFFFFF), (std::vector<std::pair<int, int>>{{5, 5}, {6, 6}, {7, 7}}));
    cd.LineTo(4, 4); // zero length draws nothing
    EXPECT_EQ(d.Pixel(4, 4), 0u);
}

TEST(CanvasDrawing, LinesThroughAndBesideTheSurfaceAreClipped) {
    Surface s(10, 10);
    Canvas c(s);
    c.PenColor = 0xFFFFFF;
    c.MoveTo(-20, -20);
    c.LineTo(30, 30);
    const auto diag = PixelsOf(s, 0xFFFFFF);
    ASSERT_EQ(diag.size(), 10u);
    for (int i = 0; i < 10; ++i)
        EXPECT_EQ(diag[size_t(i)], std::make_pair(i, i));
    Surface t(10, 10);
    Canvas ct(t);
    ct.PenColor = 0xFFFFFF;
    ct.MoveTo(-1000000, -3);
    ct.LineTo(1000000, -3);
    ct.MoveTo(12, -5);
    ct.LineTo(12, 40);
    EXPECT_EQ(PixelsOf(t, 0xFFFFFF).size(), 0u);
}

TEST(CanvasDrawing, RectangleAndFillRect) {
    Surface s(8, 8);
    Canvas c(s);
    c.PenColor = 0x0000FF;   // red pen
    c.BrushColor = 0xFF0000; // blue brush
    c.Rectangle(1, 1, 6, 5);
    EXPECT_EQ(s.Pixel(1, 1), 0xFF0000u);
    EXPECT_EQ(s.Pixel(5, 1), 0xFF0000u);
    EXPECT_EQ(s.Pixel(5, 4), 0xFF0000u);
    EXPECT_EQ(s.Pixel(1, 4), 0xFF0000u);
    EXPECT_EQ(s.Pixel(3, 2), 0x0000FFu);
    EXPECT_EQ(s.Pixel(4, 3), 0x0000FFu);
    EXPECT_EQ(s.Pixel(6, 2), 0u); // right and bottom are exclusive
    EXPECT_EQ(s.Pixel(3, 5), 0u);
    EXPECT_EQ(PixelsOf(s, 0xFF0000).size(), 14u);
    EXPECT_EQ(PixelsOf(s, 0x0000FF).size(), 6u);

    Surface f(5, 5);
    Canvas cf(f);
    cf.BrushColor = 0x00FF00;
    cf.FillRect(TRect{-3, 3, 2, 99});
    EXPECT_EQ(PixelsOf(f, 0x00FF00), (std::vector<std::pair<int, int>>{{0, 3}, {1, 3}, {0, 4}, {1, 4}}));
    cf.BrushColor = 0x0000FF;
    cf.FillRect(TRect{4, 4, 2, 2}); // inverted: nothing
    cf.FillRect(TRect{9, 0, 12, 5});
    EXPECT_EQ(PixelsOf(f, 0xFF0000).size(), 0u);
}

TEST(CanvasDrawing, PixelsSpeakWindowsColours) {
    Surface s(2, 2);
    Canvas c(s);
    c.SetPixel(0, 0, 0x0000FF); // 0x00BBGGRR: red
    c.SetPixel(1, 0, 0x123456);
    EXPECT_EQ(s.Pixel(0, 0), 0xFF0000u);
    EXPECT_EQ(s.Pixel(1, 0), 0x563412u);
    EXPECT_EQ(c.GetPixel(1, 0), 0x123456u);
    s.SetPixel(0, 1, Rgb(1, 2, 3));
    EXPECT_EQ(c.GetPixel(0, 1), 0x030201u);
    EXPECT_EQ(c.GetPixel(5, 5), 0u);
    EXPECT_EQ(WinToPixel(PixelToWin(0xA1B2C3)), 0xA1B2C3u);
    c.Release();
    EXPECT_TRUE(c.Released());
}

TEST(CanvasDrawing, TextOutFillsItsBoxAndDrawsGlyphs) {
    Surface s(40, 20);
    s.Fill(0x777777);
    Canvas c(s);
    c.BrushColor = 0;
    c.FontColor = 0xFFFFFF;
    c.TextOut(2, 3, "10");
    EXPECT_EQ(Canvas::TextWidth("10"), 16);
    EXPECT_EQ(s.Pixel(1, 3), 0x777777u);
    EXPECT_EQ(s.Pixel(18, 3), 0x777777u);
    EXPECT_EQ(s.Pixel(2, 15), 0x777777u);
    const size_t lit = PixelsOf(s, 0xFFFFFF).size();
    EXPECT_EQ(lit + PixelsOf(s, 0).size(), 16u * 12u);
    // "1" is the narrower digit: fewer lit pixels in its cell than in the "0" cell.
    size_t one = 0, zero = 0;
    for (const auto& [x, y] : PixelsOf(s, 0xFFFFFF))
        (x < 10 ? one : zero)++;
    EXPECT_GT(one, 0u);
    EXPECT_GT(zero, one);
}

TEST(ImageListPatterns, CountRectsAndDrawing) {
    TImageList list;
    TPictureItem item;
    item.Name = "Medals";
    item.Picture = Numbered(10, 7);
    item.PatternWidth = 3;
    item.PatternHeight = 3;
    list.Add(std::move(item));
    const TPictureItem& medals = list.Find("Medals");
    EXPECT_EQ(medals.PatternCount(), 6); // (10 div 3) x (7 div 3)
    const TRect r4 = medals.PatternRect(4);
    EXPECT_EQ(r4.Left, 3);
    EXPECT_EQ(r4.Top, 3);
    EXPECT_EQ(r4.Right, 6);
    EXPECT_EQ(r4.Bottom, 6);
    EXPECT_EQ(medals.PatternRect(2).Left, 6);
    EXPECT_EQ(medals.PatternRect(2).Top, 0);

    Surface dst(5, 5);
    medals.Draw(dst, 1, 1, 4);
    EXPECT_EQ(dst.Pixel(1, 1), medals.Picture.Pixel(3, 3));
    EXPECT_EQ(dst.Pixel(3, 3), medals.Picture.Pixel(5, 5));
    EXPECT_EQ(dst.Pixel(4, 4), 0u);
    for (int bad : {-1, 6, 1000}) {
        Surface d(5, 5);
        medals.Draw(d, 0, 0, bad);
        EXPECT_EQ(PixelsOf(d, 0).size(), 25u) << bad;
    }
}

TEST(ImageListPatterns, WholePictureAndTheItemsTransparentColour) {
    TImageList list;
    TPictureItem whole;
    whole.Name = "Title";
    whole.Picture = Numbered(4, 2);
    whole.Picture.SetPixel(1, 0, 0x000011);
    whole.TransparentColor = 0x000011; // Add hands the key to the picture
    list.Add(whole);
    TPictureItem opaque = whole;
    opaque.Name = "Opaque";
    opaque.Transparent = false;
    list.Add(opaque);
    TPictureItem empty;
    empty.Name = "Empty";
    list.Add(empty);

    const TPictureItem& t = list.Find("Title");
    EXPECT_EQ(t.PatternCount(), 1);
    EXPECT_EQ(t.PatternRect(0).Right, 4);
    EXPECT_EQ(t.PatternRect(0).Bottom, 2);
    Surface dst(4, 2);
    dst.Fill(0x999999);
    t.Draw(dst, 0, 0, 0);
    EXPECT_EQ(dst.Pixel(1, 0), 0x999999u);
    EXPECT_EQ(dst.Pixel(2, 0), t.Picture.Pixel(2, 0));
    list.Find("Opaque").Draw(dst, 0, 0, 0);
    EXPECT_EQ(dst.Pixel(1, 0), 0x000011u);
    EXPECT_EQ(list.Find("Empty").PatternCount(), 0);
    list.Find("Empty").Draw(dst, 0, 0, 0);
}

TEST(ImageListPatterns, FindNamesTheMissingImage) {
    TImageList list;
    EXPECT_EQ(list.TryFind("X"), nullptr);
    try {
        list.Find("X");
        FAIL() << "no error raised";
    } catch (const TMediaError& e) {
        EXPECT_STREQ(e.what(), "Image 'X' not found");
        EXPECT_EQ(e.Name, "X");
    }
}
