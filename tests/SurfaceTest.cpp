// SurfaceTest: blits, clipping, stretch, rotation, .bmp files, the drawing context and image lists.
#include "TestSupport.h"

#include "media/Canvas.h"
#include "media/ImageList.h"
#include "media/MediaError.h"
#include "media/SafeRead.h"
#include "media/Surface.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <initializer_list>
#include <vector>

namespace {

using Points = std::vector<std::pair<int, int>>;

// Every pixel different and none black, so a misplaced or skipped pixel always shows.
Surface Numbered(int w, int h) {
    Surface s(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            s.SetPixel(x, y, uint32_t(0x010000 * (x + 1) + 0x000100 * (y + 1) + 0x11));
    return s;
}

// Blits at every placement of [x0, x1] x [y0, y1] onto a filled w x h target and compares each with
// a model: every source pixel inside both the source and the rectangle goes to (x, y) plus its offset
// from the rectangle's corner, if that lands on the target. Without a rectangle Draw is used.
void ExpectBlitsMatchTheModel(const Surface& src, const TRect* rect, bool key, int w, int h, int x0, int x1,
                              int y0, int y1) {
    const TRect r = rect ? *rect : src.ClientRect();
    for (int y = y0; y <= y1; ++y)
        for (int x = x0; x <= x1; ++x) {
            Surface dst(w, h);
            dst.Fill(0xABCDEF);
            Surface want = dst;
            for (int sy = r.Top; sy < r.Bottom; ++sy)
                for (int sx = r.Left; sx < r.Right; ++sx)
                    if (src.Contains(sx, sy) && !(key && src.Pixel(sx, sy) == src.TransparentColor))
                        want.SetPixel(x + sx - r.Left, y + sy - r.Top, src.Pixel(sx, sy));
            rect ? dst.DrawRect(x, y, src, *rect, key) : dst.Draw(x, y, src, key);
            ASSERT_EQ(dst.Pixels, want.Pixels) << "at " << x << "," << y;
        }
}

Points PixelsOf(const Surface& s, uint32_t color) {
    Points found;
    for (int y = 0; y < s.Height; ++y)
        for (int x = 0; x < s.Width; ++x)
            if (s.Pixel(x, y) == color) found.emplace_back(x, y);
    return found;
}

struct TPx {
    int X, Y;
    uint32_t Color;
};
void ExpectPixels(const Surface& s, const std::vector<TPx>& want) {
    for (const TPx& p : want)
        EXPECT_EQ(s.Pixel(p.X, p.Y), p.Color) << "pixel " << p.X << "," << p.Y;
}

// A .bmp file: file header and 40-byte info header, little-endian, then the palette and pixels. In a
// 32-bit file the three entries are the colour masks, so it is a bit-field file (kind 3).
std::vector<uint8_t> Bmp(int w, int h, int bits, uint32_t paletteEntries,
                         std::initializer_list<uint8_t> data) {
    const uint32_t offset = 54 + paletteEntries * 4, imageBytes = uint32_t(data.size()) - paletteEntries * 4;
    const uint32_t planesAndBits = 1 | uint32_t(bits) << 16, fileSize = offset + imageBytes;
    const uint32_t kind = bits == 32 ? paletteEntries : 0;
    const uint32_t fields[] = {
        fileSize, 0,    offset,         40, uint32_t(w), uint32_t(h), planesAndBits, kind, imageBytes,
        2835,     2835, paletteEntries, 0};
    std::vector<uint8_t> b{'B', 'M'};
    for (uint32_t v : fields)
        for (int i = 0; i < 4; ++i)
            b.push_back(uint8_t(v >> (8 * i)));
    b.insert(b.end(), data);
    return b;
}

void ExpectDecodes(int w, int h, int bits, uint32_t paletteEntries, std::initializer_list<uint8_t> data,
                   const std::vector<TPx>& want) {
    SCOPED_TRACE(testing::Message() << bits << "-bit file");
    const std::vector<uint8_t> file = Bmp(w, h, bits, paletteEntries, data);
    Surface s;
    ASSERT_TRUE(s.LoadFromMemory(file.data(), file.size(), {w, h, w * h})); // just within the limits
    ASSERT_EQ(std::make_pair(s.Width, s.Height), std::make_pair(w, h));
    ExpectPixels(s, want);
}

} // namespace

TEST(SurfaceBasics, OutsideAccessIsDroppedAndNegativeSizesAreEmpty) {
    Surface s(3, 2);
    s.Fill(0x123456);
    for (auto [x, y] : {std::pair{3, 0}, {-1, 0}, {0, 2}, {0, -1}})
        s.SetPixel(x, y, 0xFF);
    EXPECT_EQ(PixelsOf(s, 0x123456).size(), 6u);
    EXPECT_EQ(s.Pixel(-1, 0), 0u);
    EXPECT_EQ(s.Row(2), nullptr);
    s.SetSize(-4, 5);
    EXPECT_TRUE(s.Empty() && s.Pixels.empty());
}

TEST(SurfaceBlit, WholeSourceAndRectanglesClippedAtEveryEdge) {
    const Surface src = Numbered(4, 3);
    // Every placement from fully off the left/top to fully off the right/bottom.
    ExpectBlitsMatchTheModel(src, nullptr, false, 10, 6, -5, 11, -4, 9);

    // Source rectangles, including negative, oversized, empty and inverted ones.
    const Surface big = Numbered(5, 4);
    const TRect rects[] = {{1, 1, 3, 3}, {-2, -1, 3, 2}, {3, 2, 9, 8},     {-3, -3, 8, 7}, {4, 0, 5, 4},
                           {2, 2, 2, 4}, {3, 1, 1, 3},   {-5, -5, -1, -1}, {5, 4, 7, 6}};
    for (const TRect& r : rects) {
        SCOPED_TRACE(testing::Message()
                     << "rect " << r.Left << "," << r.Top << "," << r.Right << "," << r.Bottom);
        ExpectBlitsMatchTheModel(big, &r, false, 8, 5, -4, 9, -4, 7);
    }
}

TEST(SurfaceBlit, TransparentKeySkipsOnlyKeyPixels) {
    Surface src = Numbered(4, 4);
    src.SetPixel(1, 1, 0);
    src.SetPixel(2, 2, 0);
    ExpectBlitsMatchTheModel(src, nullptr, true, 6, 6, -2, 4, -2, 4); // black kept out
    // A surface with another key lets black through and keeps the key out.
    src.TransparentColor = src.Pixel(3, 0);
    const TRect r{-1, 0, 4, 3};
    ExpectBlitsMatchTheModel(src, &r, true, 6, 6, -2, 4, -2, 4);
}

TEST(SurfaceStretch, NearestNeighbourClippedToTheTargetAndTheSource) {
    Surface src(2, 2);
    src.Pixels = {0x0000AA, 0x00BB00, 0xCC0000, 0xDDDDDD};
    Surface dst(6, 6);
    dst.StretchDraw(TRect{1, 1, 5, 5}, src, src.ClientRect(), false);
    ExpectPixels(dst, {{1, 1, 0x0000AA}, {2, 2, 0x0000AA}, {3, 1, 0x00BB00}, {4, 2, 0x00BB00}});
    ExpectPixels(dst, {{1, 4, 0xCC0000}, {4, 4, 0xDDDDDD}, {0, 0, 0}, {5, 5, 0}});

    // Four times larger, hanging off the top-left: the visible part is the bottom-right of it.
    const Surface num = Numbered(2, 2);
    Surface corner(3, 3);
    corner.StretchDraw(TRect{-5, -5, 3, 3}, num, num.ClientRect(), false);
    EXPECT_EQ(PixelsOf(corner, num.Pixel(1, 1)).size(), 9u);
    // Of a source rectangle reaching beyond the source only the part on it is drawn.
    Surface part(4, 4);
    part.StretchDraw(part.ClientRect(), Numbered(4, 4), TRect{2, 2, 6, 6}, false);
    EXPECT_EQ(PixelsOf(part, 0).size(), 12u);
}

TEST(SurfaceRotate, QuarterTurnsAreCounterClockwiseAboutTheCentreAndKeyed) {
    const uint32_t mark = 0xFF00FF;
    Surface src(8, 8);
    src.Fill(0x202020);
    src.SetPixel(7, 4, mark); // right of the centre
    src.SetPixel(0, 0, 0);    // a key pixel, left out
    // Drawn about its centre at (20, 20): the mark turns right -> up -> left -> down.
    const std::pair<int, std::pair<int, int>> turns[] = {{0, {23, 20}},   {64, {20, 16}},  {128, {16, 19}},
                                                         {192, {19, 23}}, {256, {23, 20}}, {-64, {19, 23}}};
    for (const auto& [angle, at] : turns) {
        Surface dst(40, 40);
        dst.Fill(0x999999);
        dst.DrawRotated(20, 20, 8, 8, src, src.ClientRect(), 0.5, 0.5, angle, true);
        EXPECT_EQ(PixelsOf(dst, mark), Points{at}) << "angle " << angle;
        // A quarter turn of a square covers exactly the same pixels; the key pixel shows the target.
        EXPECT_EQ(PixelsOf(dst, 0x202020).size(), 62u) << "angle " << angle;
        EXPECT_EQ(PixelsOf(dst, 0x999999).size(), 40u * 40u - 63u) << "angle " << angle;
    }
}

TEST(SurfaceBmp, ReadsEightTwentyFourAndThirtyTwoBitFilesBottomUpRefusesBadDataAndRoundTrips) {
    // 8-bit: palette entries are B G R x, rows padded to 4 bytes.
    ExpectDecodes(3, 2, 8, 3,
                  {0, 0, 0xFF, 0, 0, 0xFF, 0, 0, 0xFF, 0, 0, 0, 2, 2, 1, 0xEE, /* top: */ 0, 1, 2, 0xEE},
                  {{0, 0, 0xFF0000}, {1, 0, 0x00FF00}, {2, 0, 0x0000FF}, {0, 1, 0x0000FF}, {2, 1, 0x00FF00}});
    // 24-bit: 9 bytes a row, padded to 12.
    ExpectDecodes(3, 2, 24, 0,
                  {0x01, 0x02, 0x03, 0x04, 0x05, 0x06, 0x07, 0x08, 0x09, 0xAA, 0xAA, 0xAA, // bottom row
                   0x10, 0x20, 0x30, 0x40, 0x50, 0x60, 0x70, 0x80, 0x90, 0xAA, 0xAA, 0xAA},
                  {{0, 0, 0x302010}, {2, 0, 0x908070}, {0, 1, 0x030201}, {1, 1, 0x060504}, {2, 1, 0x090807}});
    ExpectDecodes(2, 2, 32, 3,
                  {0,    0,    0xFF, 0, 0,    0xFF, 0,    0, 0xFF, 0,    0,    0, // red, green and blue masks
                   0x11, 0x22, 0x33, 0, 0x44, 0x55, 0x66, 0, 0x77, 0x88, 0x99, 0, 0xAA, 0xBB, 0xCC, 0},
                  {{0, 1, 0x332211}, {1, 1, 0x665544}, {0, 0, 0x998877}, {1, 0, 0xCCBBAA}});

    // Bad data leaves the surface as it was; good data round-trips.
    Surface s = Numbered(2, 2);
    const std::vector<uint32_t> before = s.Pixels;
    const uint8_t png[60] = {0x89, 'P', 'N', 'G'};
    EXPECT_FALSE(s.LoadFromMemory(png, sizeof png));
    const std::vector<uint8_t> cut =
        Bmp(40, 40, 24, 0, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10}); // far too little data
    EXPECT_FALSE(s.LoadFromMemory(cut.data(), cut.size()));
    EXPECT_FALSE(s.LoadFromMemory(cut.data(), 20));
    const TTempDir dir;
    EXPECT_FALSE(s.LoadFromFile((dir.Path / "does_not_exist.bmp").string(), MapLayerLimit));
    EXPECT_EQ(ReadFileBounded(dir.Path / "does_not_exist.bmp", 64).Reason(), "does not exist");
    for (int header : {12, 40}) {
        const std::vector<uint8_t> tall = TinyTallBmp(header);
        EXPECT_FALSE(s.LoadFromMemory(tall.data(), tall.size())) << header << "-byte header";
    }
    // A whole picture beyond what its role allows.
    const std::vector<uint8_t> wide = Numbered(65, 2).EncodeBmp();
    EXPECT_FALSE(s.LoadFromMemory(wide.data(), wide.size(), ShipPictureLimit));
    EXPECT_TRUE(Surface().LoadFromMemory(wide.data(), wide.size(), MenuPictureLimit));
    const std::vector<uint8_t> wider = Numbered(1025, 1).EncodeBmp();
    EXPECT_FALSE(Surface().LoadFromMemory(wider.data(), wider.size(), MenuPictureLimit));
    EXPECT_EQ(s.Width, 2);
    EXPECT_EQ(s.Pixels, before);

    const Surface src = Numbered(5, 3); // odd width: rows need padding
    EXPECT_EQ(src.EncodeBmp().size(), 54u + 16u * 3u);
    const std::filesystem::path file = dir.Path / "round.bmp";
    ASSERT_TRUE(src.SaveToBmp(file.string()));
    Surface back;
    ASSERT_TRUE(back.LoadFromFile(file.string(), MapLayerLimit));
    EXPECT_EQ(std::make_pair(back.Width, back.Height), std::make_pair(5, 3));
    EXPECT_EQ(back.Pixels, src.Pixels);
    EXPECT_FALSE(src.SaveToBmp((dir.Path / "no_such_dir" / "x.bmp").string()));
}

TEST(CanvasDrawing, LinesLeaveTheEndPointOutAndAreClippedRectanglesFillsAndTextInWindowsColours) {
    Surface s(10, 10);
    Canvas c(s);
    c.PenColor = 0x0000FF; // Windows red
    c.MoveTo(1, 1);
    c.LineTo(5, 1);
    EXPECT_EQ(PixelsOf(s, 0xFF0000), (Points{{1, 1}, {2, 1}, {3, 1}, {4, 1}}));
    // The pen moved to the end: the next line starts there and draws it.
    c.LineTo(5, 3);
    ExpectPixels(s, {{5, 1, 0xFF0000}, {5, 2, 0xFF0000}, {5, 3, 0}});

    s.Fill(0);
    c.PenColor = 0xFFFFFF;
    c.MoveTo(7, 7);
    c.LineTo(4, 4); // up and left
    EXPECT_EQ(PixelsOf(s, 0xFFFFFF), (Points{{5, 5}, {6, 6}, {7, 7}}));
    c.LineTo(4, 4); // zero length draws nothing
    EXPECT_EQ(s.Pixel(4, 4), 0u);

    s.Fill(0);
    c.MoveTo(-20, -20);
    c.LineTo(30, 30);
    EXPECT_EQ(PixelsOf(s, 0xFFFFFF).size(), 10u);
    EXPECT_EQ(s.Pixel(9, 9), 0xFFFFFFu);
    s.Fill(0);
    c.MoveTo(-1000000, -3);
    c.LineTo(1000000, -3);
    c.MoveTo(12, -5);
    c.LineTo(12, 40);
    EXPECT_EQ(PixelsOf(s, 0xFFFFFF).size(), 0u);

    s.SetSize(8, 8);
    c.PenColor = 0x0000FF;   // red pen
    c.BrushColor = 0xFF0000; // blue brush
    c.Rectangle(1, 1, 6, 5);
    ExpectPixels(s, {{1, 1, 0xFF0000}, {5, 1, 0xFF0000}, {5, 4, 0xFF0000}, {1, 4, 0xFF0000}});
    ExpectPixels(s, {{3, 2, 0x0000FF}, {4, 3, 0x0000FF}, {6, 2, 0}, {3, 5, 0}}); // right, bottom exclusive
    EXPECT_EQ(PixelsOf(s, 0xFF0000).size(), 14u);
    EXPECT_EQ(PixelsOf(s, 0x0000FF).size(), 6u);

    s.SetSize(5, 5);
    c.BrushColor = 0x00FF00;
    c.FillRect(TRect{-3, 3, 2, 99});
    EXPECT_EQ(PixelsOf(s, 0x00FF00), (Points{{0, 3}, {1, 3}, {0, 4}, {1, 4}}));
    c.BrushColor = 0x0000FF;
    c.FillRect(TRect{4, 4, 2, 2}); // inverted: nothing
    c.FillRect(TRect{9, 0, 12, 5});
    EXPECT_EQ(PixelsOf(s, 0xFF0000).size(), 0u);

    // The small font of the frame rate (-fps), on the brush colour, as recorded.
    s.SetSize(8 * 16 + 2, 14);
    c.TextOut(1, 1, "0123456789.:-Az?");
    TGoldenScreens{"canvas", {}}.Check("figures", s);
}

TEST(ImageListPatterns, PatternsWholePicturesTheItemsKeyAndMissingNames) {
    TImageList list;
    list.Add({.Name = "Medals", .Picture = Numbered(10, 7), .PatternWidth = 3, .PatternHeight = 3});
    const TPictureItem& medals = list.Find("Medals");
    EXPECT_EQ(medals.PatternCount(), 6); // (10 div 3) x (7 div 3)
    Surface dst(5, 5);
    medals.Draw(dst, 1, 1, 4);
    ExpectPixels(dst, {{1, 1, medals.Picture.Pixel(3, 3)}, {3, 3, medals.Picture.Pixel(5, 5)}, {4, 4, 0}});
    for (int bad : {-1, 6, 1000}) {
        Surface d(5, 5);
        medals.Draw(d, 0, 0, bad);
        EXPECT_EQ(PixelsOf(d, 0).size(), 25u) << bad;
    }

    Surface title = Numbered(4, 2);
    title.SetPixel(1, 0, 0x000011);
    // Add hands the item's key to the picture.
    list.Add({.Name = "Title", .Picture = title, .TransparentColor = 0x000011});
    list.Add({.Name = "Opaque", .Picture = title, .Transparent = false, .TransparentColor = 0x000011});
    list.Add({.Name = "Empty", .Picture = {}});
    const TPictureItem& t = list.Find("Title");
    EXPECT_EQ(t.PatternCount(), 1);
    Surface tdst(4, 2);
    tdst.Fill(0x999999);
    t.Draw(tdst, 0, 0, 0);
    ExpectPixels(tdst, {{1, 0, 0x999999}, {2, 0, t.Picture.Pixel(2, 0)}});
    list.Find("Opaque").Draw(tdst, 0, 0, 0);
    EXPECT_EQ(tdst.Pixel(1, 0), 0x000011u);
    EXPECT_EQ(list.Find("Empty").PatternCount(), 0);
    list.Find("Empty").Draw(tdst, 0, 0, 0);

    EXPECT_EQ(list.TryFind("X"), nullptr);
    EXPECT_THROW(list.Find("X"), TMediaError);
}
