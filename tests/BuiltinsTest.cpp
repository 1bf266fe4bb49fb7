// BuiltinsTest: the named images and sounds made at start-up: catalogue, glyphs, digits, pictures, sounds.
#include "content/Builtins.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace {

struct ImageEntry {
    std::string Name;
    int Width = 0;
    int Height = 0;
    int PatternWidth = 0;
    int PatternHeight = 0;
    bool Transparent = false;
    uint32_t Key = 0;
    int Patterns = 0;
};

std::vector<ImageEntry> ImageCatalogue() {
    const uint32_t magenta = Rgb(255, 0, 255), grey = Rgb(38, 38, 38);
    std::vector<ImageEntry> list = {
        {"Font", 462, 15, 10, 15, true, 0, 46},        {"GreyFont", 462, 15, 10, 15, true, 0, 46},
        {"SmallFont", 200, 5, 4, 5, true, grey, 50},   {"BlueFont", 200, 5, 4, 5, true, 0, 50},
        {"GreenFont", 200, 6, 4, 6, true, 0, 50},      {"7SegFont", 296, 11, 8, 11, false, 0, 37},
        {"7SegFontRed", 296, 11, 8, 11, false, 0, 37}, {"Ready", 8, 9, 0, 0, true, magenta, 1},
        {"GoldTrophy", 48, 76, 0, 0, true, 0, 1},      {"SilverTrophy", 48, 76, 0, 0, true, 0, 1},
        {"Loading", 221, 49, 0, 0, false, 0, 1},       {"NIX!", 56, 56, 0, 0, true, 0, 1},
        {"NIXFLAG", 32, 24, 0, 0, true, 0, 1},
    };
    for (int k = 0; k < 18; ++k)
        list.push_back({"Medal" + std::to_string(k), 20, 44, 0, 0, true, 0, 1});
    return list;
}

const TImageList& Images() {
    static const TImageList images = [] {
        TImageList list;
        AddBuiltinImages(list);
        return list;
    }();
    return images;
}

TWaveList& Waves() {
    static TWaveList waves = [] {
        TWaveList list;
        AddBuiltinSounds(list);
        return list;
    }();
    return waves;
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

TEST(BuiltinImages, EveryCatalogueEntryIsPresentOnceWithItsGeometryKeyAndDrawnPixels) {
    const std::vector<ImageEntry> catalogue = ImageCatalogue();
    EXPECT_EQ(Images().Items.size(), catalogue.size());
    for (const ImageEntry& e : catalogue) {
        SCOPED_TRACE(e.Name);
        const auto count = std::count_if(Images().Items.begin(), Images().Items.end(),
                                         [&](const TPictureItem& item) { return item.Name == e.Name; });
        ASSERT_EQ(count, 1);
        const TPictureItem& item = Images().Find(e.Name);
        EXPECT_EQ(item.Picture.Width, e.Width);
        EXPECT_EQ(item.Picture.Height, e.Height);
        EXPECT_EQ(item.PatternWidth, e.PatternWidth);
        EXPECT_EQ(item.PatternHeight, e.PatternHeight);
        EXPECT_EQ(item.PatternCount(), e.Patterns);
        EXPECT_EQ(item.Transparent, e.Transparent);
        if (e.Transparent) {
            EXPECT_EQ(item.TransparentColor, e.Key);
            EXPECT_EQ(item.Picture.TransparentColor, e.Key);
        }
        // Every picture draws something, and a transparent one also shows its key somewhere.
        const auto& px = item.Picture.Pixels;
        const auto keyed = std::count(px.begin(), px.end(), item.TransparentColor);
        EXPECT_LT(size_t(keyed), px.size());
        if (e.Transparent) {
            EXPECT_GT(keyed, 0);
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

struct SoundEntry {
    const char* Name = "";
    int MaxPlaying = 0;
    bool Looped = false;
};
const SoundEntry kSounds[] = {
    {"Explo0", 2, false},  {"Explo1", 2, false},   {"Explo2", 2, false},     {"Explo3", 2, false},
    {"Pistol", 4, false},  {"Minigun", 50, false}, {"Laser", 4, false},      {"Rocket", 2, false},
    {"Homing", 2, false},  {"Nano", 2, false},     {"Shotgun", 2, false},    {"Grenade", 2, false},
    {"Thrust", 1, true},   {"Rico", 10, false},    {"Dirt", 10, false},      {"FLHit", 2, false},
    {"FLDeath", 2, false}, {"Medal", 2, false},    {"CTFcapture", 2, false}, {"CTFsnup", 2, false},
};

TEST(BuiltinSounds, EveryCatalogueEntryIsPresentAudibleUnclippedAndClickFree) {
    EXPECT_EQ(Waves().Items.size(), std::size(kSounds));
    for (const SoundEntry& e : kSounds) {
        SCOPED_TRACE(e.Name);
        TWaveItem* item = Waves().TryFind(e.Name);
        ASSERT_NE(item, nullptr);
        EXPECT_EQ(item->MaxPlayingCount, e.MaxPlaying);
        EXPECT_EQ(item->Looped, e.Looped);
        const TWave& w = item->Wave;
        EXPECT_EQ(w.SampleRate, e.Looped ? 11025 : 22050);
        ASSERT_FALSE(w.Samples.empty());
        int peak = 0;
        for (int16_t v : w.Samples)
            peak = std::max(peak, std::abs(int(v)));
        EXPECT_LT(peak, 32767);
        EXPECT_GT(peak, 12000);
        EXPECT_LE(double(w.Samples.size()) / w.SampleRate, 1.5);
        // A buffer that stops or starts on a large sample clicks; a loop must not jump at its seam.
        const int limit = e.Looped ? 2000 : 200;
        EXPECT_LT(std::abs(int(w.Samples.front())), e.Looped ? 32768 : limit);
        EXPECT_LT(std::abs(int(w.Samples.back()) - (e.Looped ? int(w.Samples.front()) : 0)), limit);
    }
}

TEST(BuiltinAssets, GenerationIsDeterministic) {
    TImageList images;
    AddBuiltinImages(images);
    ASSERT_EQ(images.Items.size(), Images().Items.size());
    for (size_t i = 0; i < images.Items.size(); ++i)
        EXPECT_EQ(images.Items[i].Picture.Pixels, Images().Items[i].Picture.Pixels) << images.Items[i].Name;
    TWaveList waves;
    AddBuiltinSounds(waves);
    ASSERT_EQ(waves.Items.size(), Waves().Items.size());
    for (size_t i = 0; i < waves.Items.size(); ++i)
        EXPECT_EQ(waves.Items[i].Wave.Samples, Waves().Items[i].Wave.Samples) << waves.Items[i].Name;
}

} // namespace
