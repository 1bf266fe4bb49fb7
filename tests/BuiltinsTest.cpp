// BuiltinsTest: the named images and sounds made at start-up: catalogue, glyphs, digits, pictures, sounds.
#include "content/Builtins.h"
#include "CombatTestKit.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace {

// Every image the game looks up by name, with its pattern count.
const std::pair<std::string, int> ImageCatalogue[] = {
    {"Font", 46},     {"GreyFont", 46},    {"SmallFont", 50}, {"BlueFont", 50},  {"GreenFont", 50},
    {"7SegFont", 37}, {"7SegFontRed", 37}, {"Ready", 1},      {"GoldTrophy", 1}, {"SilverTrophy", 1},
    {"Loading", 1},   {"NIX!", 1},         {"NIXFLAG", 1}};

const TImageList& Images() {
    static const TImageList images = [] {
        TImageList list;
        AddBuiltinImages(list);
        return list;
    }();
    return images;
}

int Brightest(uint32_t c) {
    return int(std::max({(c >> 16) & 0xFF, (c >> 8) & 0xFF, c & 0xFF}));
}

// The pixels of one pattern, row by row.
std::vector<uint32_t> Cell(const TPictureItem& item, int pattern) {
    const TRect r = item.PatternRect(pattern);
    std::vector<uint32_t> pixels;
    for (int y = r.Top; y < r.Bottom; ++y)
        for (int x = r.Left; x < r.Right; ++x)
            pixels.push_back(item.Picture.Pixel(x, y));
    return pixels;
}

std::vector<uint32_t> Ink(const TPictureItem& item, int pattern) {
    std::vector<uint32_t> ink;
    for (uint32_t c : Cell(item, pattern))
        if (!item.Transparent || c != item.TransparentColor) ink.push_back(c);
    return ink;
}

TEST(BuiltinImages, EveryNamedImageIsPresentOnceWithItsPatternsAndDrawsBesideItsKey) {
    EXPECT_EQ(Images().Items.size(), std::size(ImageCatalogue) + 18) << "and eighteen medals";
    for (const auto& [name, patterns] : ImageCatalogue) {
        SCOPED_TRACE(name);
        EXPECT_EQ(std::count_if(Images().Items.begin(), Images().Items.end(),
                                [&](const TPictureItem& item) { return item.Name == name; }),
                  1);
        const TPictureItem& item = Images().Find(name);
        EXPECT_EQ(item.PatternCount(), patterns);
        const auto& px = item.Picture.Pixels;
        const auto keyed = std::count(px.begin(), px.end(), item.TransparentColor);
        EXPECT_LT(size_t(keyed), px.size()) << "it draws something";
        if (item.Transparent) {
            EXPECT_GT(keyed, 0) << "and shows its key somewhere";
        }
    }
}

// Each font with the number of its cells that carry a glyph.
const std::pair<const char*, int> kTextFonts[] = {
    {"Font", 46}, {"GreyFont", 46}, {"SmallFont", 46}, {"BlueFont", 46}, {"GreenFont", 46}};

TEST(BuiltinFonts, GlyphsAreBrightDistinctAndApartAndSpareCellsEmpty) {
    for (const auto& [name, glyphs] : kTextFonts) {
        const TPictureItem& font = Images().Find(name);
        std::set<std::vector<uint32_t>> seen;
        for (int cell = 0; cell < font.PatternCount(); ++cell) {
            SCOPED_TRACE(std::string(name) + " cell " + std::to_string(cell));
            const std::vector<uint32_t> ink = Ink(font, cell);
            if (cell >= glyphs) {
                EXPECT_TRUE(ink.empty());
                continue;
            }
            ASSERT_FALSE(ink.empty());
            EXPECT_TRUE(seen.insert(Cell(font, cell)).second) << "repeats another glyph";
            // A glyph drawn only in its shadow colour would vanish on the dark menus.
            int brightest = 0;
            for (uint32_t c : ink)
                brightest = std::max(brightest, Brightest(c));
            EXPECT_GE(brightest, 140);
            // The last column is clear, so text set cell after cell keeps its letters apart.
            const TRect r = font.PatternRect(cell);
            for (int y = r.Top; y < r.Bottom; ++y)
                EXPECT_EQ(font.Picture.Pixel(r.Right - 1, y), font.TransparentColor) << "row " << y;
        }
    }
}

TEST(BuiltinDigits, BlankCellsAreTheUnlitDigitAndEachDigitLightsItsSegments) {
    // Segments lit by 0..9 on any seven-segment display.
    const int segments[10] = {6, 2, 5, 5, 4, 5, 6, 3, 7, 6};
    for (const char* name : {"7SegFont", "7SegFontRed"}) {
        SCOPED_TRACE(name);
        const TPictureItem& font = Images().Find(name);
        const std::vector<uint32_t> unlit = Cell(font, 0);
        for (int cell : {1, 13, 25, 36})
            EXPECT_EQ(Cell(font, cell), unlit) << cell;
        // The unlit digit still shows its segments faintly, on a background that is not the key.
        const std::set<uint32_t> colours(unlit.begin(), unlit.end());
        EXPECT_GE(colours.size(), 2u);
        EXPECT_EQ(colours.count(0u), 0u);
        const std::vector<uint32_t> eight = Cell(font, 34);
        const uint32_t lit = *std::max_element(
            eight.begin(), eight.end(), [](uint32_t a, uint32_t b) { return Brightest(a) < Brightest(b); });
        const long perSegment = std::count(eight.begin(), eight.end(), lit) / 7;
        ASSERT_GT(perSegment, 0);
        for (int d = 0; d < 10; ++d) {
            const std::vector<uint32_t> cell = Cell(font, 26 + d);
            EXPECT_EQ(std::count(cell.begin(), cell.end(), lit), segments[d] * perSegment) << "digit " << d;
            // Every stroke of any digit is a stroke of 8.
            for (size_t i = 0; i < cell.size(); ++i)
                if (cell[i] == lit) {
                    EXPECT_EQ(eight[i], lit) << "digit " << d << " pixel " << i;
                }
        }
    }
}

TEST(BuiltinPictures, MedalsAreEighteenDifferentPicturesWithClearCorners) {
    std::set<std::vector<uint32_t>> seen;
    for (int k = 0; k < 18; ++k) {
        const Surface& s = Images().Find("Medal" + std::to_string(k)).Picture;
        EXPECT_TRUE(seen.insert(s.Pixels).second) << k;
        // The corners stay clear so the overlapping grades of the statistics page show through.
        EXPECT_EQ(s.Pixel(0, 0) | s.Pixel(0, 43) | s.Pixel(19, 43), 0u) << k;
    }
}

TEST(BuiltinSounds, EveryCatalogueEntryIsPresentAudibleUnclippedAndClickFree) {
    // Every sound the rules play, as the combat tests name them.
    TWaveList waves;
    AddBuiltinSounds(waves);
    const TWaveList named = CombatSounds();
    EXPECT_EQ(waves.Items.size(), named.Items.size());
    for (const TWaveItem& entry : named.Items) {
        const std::string& name = entry.Name;
        SCOPED_TRACE(name);
        TWaveItem* item = waves.TryFind(name);
        ASSERT_NE(item, nullptr);
        EXPECT_GT(item->MaxPlayingCount, 0);
        const TWave& w = item->Wave;
        const bool looped = item->Looped;
        EXPECT_EQ(looped, name == "Thrust");
        ASSERT_FALSE(w.Samples.empty());
        int peak = 0;
        for (int16_t v : w.Samples)
            peak = std::max(peak, std::abs(int(v)));
        EXPECT_LT(peak, 32767);
        EXPECT_GT(peak, 12000);
        EXPECT_LE(double(w.Samples.size()) / w.SampleRate, 1.5);
        // A buffer that stops or starts on a large sample clicks; a loop must not jump at its seam.
        const int limit = looped ? 2000 : 200;
        EXPECT_LT(std::abs(int(w.Samples.front())), looped ? 32768 : limit);
        EXPECT_LT(std::abs(int(w.Samples.back()) - (looped ? int(w.Samples.front()) : 0)), limit);
    }
}

} // namespace
