// BuiltinsTest: the named images and sounds made at start-up: catalogue, glyphs, digits, pictures, sounds.
#include "content/Builtins.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <set>
#include <string>
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
        {"Font", 442, 15, 10, 15, true, 0, 44},        {"GreyFont", 442, 15, 10, 15, true, 0, 44},
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

int Red(uint32_t c) {
    return int((c >> 16) & 0xFF);
}
int Green(uint32_t c) {
    return int((c >> 8) & 0xFF);
}
int Blue(uint32_t c) {
    return int(c & 0xFF);
}
int Brightest(uint32_t c) {
    return std::max({Red(c), Green(c), Blue(c)});
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

struct ChannelSums {
    long R = 0, G = 0, B = 0;
};
ChannelSums Sum(const std::vector<uint32_t>& pixels) {
    ChannelSums s;
    for (uint32_t c : pixels) {
        s.R += Red(c);
        s.G += Green(c);
        s.B += Blue(c);
    }
    return s;
}

// ---- catalogue -------------------------------------------------------------------------------

TEST(BuiltinImages, EveryCatalogueEntryIsPresentOnceWithItsGeometryAndKey) {
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
    }
}

TEST(BuiltinImages, TransparentPicturesHaveBothKeyAndDrawnPixels) {
    for (const TPictureItem& item : Images().Items) {
        SCOPED_TRACE(item.Name);
        const auto& px = item.Picture.Pixels;
        const auto keyed = std::count(px.begin(), px.end(), item.TransparentColor);
        EXPECT_LT(size_t(keyed), px.size());
        if (item.Transparent) {
            EXPECT_GT(keyed, 0);
        }
    }
}

// ---- fonts -----------------------------------------------------------------------------------

struct FontCase {
    const char* Name = "";
    int Cells = 0; // cells that carry a glyph
};
const FontCase kTextFonts[] = {
    {"Font", 44}, {"GreyFont", 44}, {"SmallFont", 45}, {"BlueFont", 45}, {"GreenFont", 45}};

TEST(BuiltinFonts, EveryGlyphCellHasBrightInk) {
    for (const FontCase& f : kTextFonts) {
        const TPictureItem& font = Images().Find(f.Name);
        for (int cell = 0; cell < f.Cells; ++cell) {
            SCOPED_TRACE(std::string(f.Name) + " cell " + std::to_string(cell));
            const std::vector<uint32_t> ink = Ink(font, cell);
            ASSERT_FALSE(ink.empty());
            // A glyph drawn only in its shadow colour would vanish on the dark menus.
            const uint32_t top = *std::max_element(
                ink.begin(), ink.end(), [](uint32_t a, uint32_t b) { return Brightest(a) < Brightest(b); });
            EXPECT_GE(Brightest(top), 140);
        }
    }
}

TEST(BuiltinFonts, CellsWithoutACharacterStayEmpty) {
    for (const char* name : {"SmallFont", "BlueFont", "GreenFont"})
        for (int cell = 45; cell < 50; ++cell) {
            SCOPED_TRACE(std::string(name) + " cell " + std::to_string(cell));
            EXPECT_TRUE(Ink(Images().Find(name), cell).empty());
        }
}

TEST(BuiltinFonts, GlyphsAreAllDifferent) {
    for (const FontCase& f : kTextFonts) {
        const TPictureItem& font = Images().Find(f.Name);
        std::set<std::vector<uint32_t>> seen;
        for (int cell = 0; cell < f.Cells; ++cell)
            EXPECT_TRUE(seen.insert(Cell(font, cell)).second)
                << f.Name << " cell " << cell << " repeats another";
    }
}

TEST(BuiltinFonts, NeighbouringGlyphsNeverTouch) {
    // The last column of every cell is clear, so text set cell after cell keeps its letters apart.
    for (const FontCase& f : kTextFonts) {
        const TPictureItem& font = Images().Find(f.Name);
        for (int cell = 0; cell < font.PatternCount(); ++cell) {
            const TRect r = font.PatternRect(cell);
            for (int y = r.Top; y < r.Bottom; ++y)
                EXPECT_EQ(font.Picture.Pixel(r.Right - 1, y), font.TransparentColor)
                    << f.Name << " cell " << cell << " row " << y;
        }
    }
}

TEST(BuiltinFonts, InkHasTheColourTheNameSays) {
    auto sums = [](const char* name) {
        const TPictureItem& font = Images().Find(name);
        std::vector<uint32_t> all;
        for (int cell = 0; cell < 44; ++cell) {
            const std::vector<uint32_t> ink = Ink(font, cell);
            all.insert(all.end(), ink.begin(), ink.end());
        }
        return Sum(all);
    };
    const ChannelSums gold = sums("Font"), grey = sums("GreyFont"), blue = sums("BlueFont"),
                      green = sums("GreenFont");
    EXPECT_GT(gold.R, gold.B * 3 / 2);
    EXPECT_NEAR(double(grey.R) / grey.B, 1.0, 0.1);
    EXPECT_NEAR(double(grey.G) / grey.B, 1.0, 0.1);
    EXPECT_GT(blue.B, blue.R + blue.G / 2);
    EXPECT_GT(green.G, green.R * 2);
    EXPECT_GT(green.G, green.B * 2);
}

// ---- 7-segment digits ------------------------------------------------------------------------

TEST(BuiltinDigits, UnlitCellsAreOneBlankDigitAndLitDigitsDifferFromIt) {
    for (const char* name : {"7SegFont", "7SegFontRed"}) {
        SCOPED_TRACE(name);
        const TPictureItem& font = Images().Find(name);
        const std::vector<uint32_t> unlit = Cell(font, 0);
        for (int cell = 1; cell <= 25; ++cell)
            EXPECT_EQ(Cell(font, cell), unlit) << cell;
        EXPECT_EQ(Cell(font, 36), unlit);
        std::set<std::vector<uint32_t>> digits;
        for (int cell = 26; cell <= 35; ++cell) {
            EXPECT_NE(Cell(font, cell), unlit) << cell;
            digits.insert(Cell(font, cell));
        }
        EXPECT_EQ(digits.size(), 10u);
        // The unlit digit still shows its segments faintly, on a background that is not the key.
        std::set<uint32_t> colours(unlit.begin(), unlit.end());
        EXPECT_GE(colours.size(), 2u);
        EXPECT_EQ(colours.count(0u), 0u);
    }
}

TEST(BuiltinDigits, EachDigitLightsTheRightNumberOfSegments) {
    // Segments lit by 0..9 on any seven-segment display.
    const int segments[10] = {6, 2, 5, 5, 4, 5, 6, 3, 7, 6};
    for (const char* name : {"7SegFont", "7SegFontRed"}) {
        const TPictureItem& font = Images().Find(name);
        const std::vector<uint32_t> eight = Cell(font, 34);
        const uint32_t lit = *std::max_element(
            eight.begin(), eight.end(), [](uint32_t a, uint32_t b) { return Brightest(a) < Brightest(b); });
        const long perSegment = std::count(eight.begin(), eight.end(), lit) / 7;
        ASSERT_GT(perSegment, 0);
        for (int d = 0; d < 10; ++d) {
            const std::vector<uint32_t> cell = Cell(font, 26 + d);
            EXPECT_EQ(std::count(cell.begin(), cell.end(), lit), segments[d] * perSegment)
                << name << " digit " << d;
            // Every stroke of any digit is a stroke of 8.
            for (size_t i = 0; i < cell.size(); ++i)
                if (cell[i] == lit) {
                    EXPECT_EQ(eight[i], lit) << name << " digit " << d << " pixel " << i;
                }
        }
    }
    auto litOf = [](const char* name) {
        const std::vector<uint32_t> eight = Cell(Images().Find(name), 34);
        return *std::max_element(eight.begin(), eight.end(),
                                 [](uint32_t a, uint32_t b) { return Brightest(a) < Brightest(b); });
    };
    const uint32_t red = litOf("7SegFontRed"), other = litOf("7SegFont");
    EXPECT_GT(Red(red), 2 * Green(red));
    EXPECT_GT(Red(red), 2 * Blue(red));
    EXPECT_GT(Green(other), 2 * Blue(other)); // amber, clearly not the red of the score
}

// ---- pictures --------------------------------------------------------------------------------

TEST(BuiltinPictures, MedalsAreEighteenDifferentRibbonsAboveDiscs) {
    std::set<std::vector<uint32_t>> seen;
    for (int k = 0; k < 18; ++k) {
        SCOPED_TRACE(k);
        const TPictureItem& medal = Images().Find("Medal" + std::to_string(k));
        EXPECT_TRUE(seen.insert(medal.Picture.Pixels).second);
        // Ribbon at the top row, disc across the middle of the lower part.
        const Surface& s = medal.Picture;
        int topRow = 0, discRow = 0;
        for (int x = 0; x < 20; ++x) {
            topRow += s.Pixel(x, 1) != 0;
            discRow += s.Pixel(x, 34) != 0;
        }
        EXPECT_GE(topRow, 8);
        EXPECT_GE(discRow, 16);
        // The corners stay clear so the overlapping grades of the statistics page show through.
        EXPECT_EQ(s.Pixel(0, 0), 0u);
        EXPECT_EQ(s.Pixel(0, 43), 0u);
        EXPECT_EQ(s.Pixel(19, 43), 0u);
    }
}

TEST(BuiltinPictures, GradesAreBronzeSilverGoldInEveryFamily) {
    auto disc = [](int k) {
        const Surface& s = Images().Find("Medal" + std::to_string(k)).Picture;
        std::vector<uint32_t> px;
        for (int y = 26; y < 44; ++y)
            for (int x = 0; x < 20; ++x)
                if (s.Pixel(x, y) != 0) px.push_back(s.Pixel(x, y));
        return Sum(px);
    };
    for (int family = 0; family < 6; ++family) {
        SCOPED_TRACE(family);
        const ChannelSums bronze = disc(3 * family), silver = disc(3 * family + 1),
                          gold = disc(3 * family + 2);
        EXPECT_GT(bronze.R, bronze.B * 2);                      // brown-orange
        EXPECT_LT(std::abs(silver.R - silver.B), silver.B / 5); // neutral
        EXPECT_GT(gold.G, bronze.G);                            // yellower than bronze
        EXPECT_GT(gold.R, gold.B * 2);
    }
}

TEST(BuiltinPictures, TrophiesAreGoldAndSilverCups) {
    const TPictureItem& gold = Images().Find("GoldTrophy");
    const TPictureItem& silver = Images().Find("SilverTrophy");
    EXPECT_NE(gold.Picture.Pixels, silver.Picture.Pixels);
    // Cup region (above the plinth): gold is warm, silver neutral.
    auto cup = [](const Surface& s) {
        std::vector<uint32_t> px;
        for (int y = 4; y < 50; ++y)
            for (int x = 0; x < 48; ++x)
                if (s.Pixel(x, y) != 0) px.push_back(s.Pixel(x, y));
        return Sum(px);
    };
    const ChannelSums g = cup(gold.Picture), s = cup(silver.Picture);
    EXPECT_GT(g.R, g.B * 2);
    EXPECT_LT(std::abs(s.R - s.B), s.B / 5);
    // Standing on a plinth that fills the bottom row.
    for (const Surface* p : {&gold.Picture, &silver.Picture}) {
        int bottom = 0;
        for (int x = 0; x < 48; ++x)
            bottom += p->Pixel(x, 75) != 0;
        EXPECT_GE(bottom, 30);
    }
}

TEST(BuiltinPictures, MarksAreRedAndReadyIsARoundGreenLamp) {
    for (const char* name : {"NIX!", "NIXFLAG"}) {
        SCOPED_TRACE(name);
        const TPictureItem& mark = Images().Find(name);
        std::vector<uint32_t> px;
        for (uint32_t c : mark.Picture.Pixels)
            if (c != 0) px.push_back(c);
        const ChannelSums s = Sum(px);
        EXPECT_GT(s.R, 3 * s.G);
        EXPECT_GT(s.R, 3 * s.B);
        // The mark crosses the middle of the picture it strikes out.
        EXPECT_NE(mark.Picture.Pixel(mark.Picture.Width / 2, mark.Picture.Height / 2), 0u);
    }
    const TPictureItem& ready = Images().Find("Ready");
    const uint32_t key = ready.TransparentColor;
    EXPECT_EQ(ready.Picture.Pixel(0, 0), key);
    EXPECT_EQ(ready.Picture.Pixel(7, 8), key);
    const uint32_t centre = ready.Picture.Pixel(4, 4);
    EXPECT_NE(centre, key);
    EXPECT_GT(Green(centre), Red(centre));
    EXPECT_GT(Green(centre), Blue(centre));
}

TEST(BuiltinImages, GenerationIsDeterministic) {
    TImageList again;
    AddBuiltinImages(again);
    ASSERT_EQ(again.Items.size(), Images().Items.size());
    for (size_t i = 0; i < again.Items.size(); ++i) {
        EXPECT_EQ(again.Items[i].Name, Images().Items[i].Name);
        EXPECT_EQ(again.Items[i].Picture.Pixels, Images().Items[i].Picture.Pixels) << again.Items[i].Name;
    }
}

// ---- sounds ----------------------------------------------------------------------------------

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

int Peak(const TWave& w) {
    int peak = 0;
    for (int16_t s : w.Samples)
        peak = std::max(peak, std::abs(int(s)));
    return peak;
}
double Duration(const TWave& w) {
    return double(w.Samples.size()) / w.SampleRate;
}

// Zero crossings per second in [from, to) seconds: a rough pitch for a tonal sound.
double CrossingRate(const TWave& w, double from, double to) {
    const size_t a = size_t(from * w.SampleRate), b = std::min(w.Samples.size(), size_t(to * w.SampleRate));
    int crossings = 0;
    for (size_t i = a + 1; i < b; ++i)
        if ((w.Samples[i - 1] < 0) != (w.Samples[i] < 0)) ++crossings;
    return crossings / (to - from);
}

TEST(BuiltinSounds, EveryCatalogueEntryIsPresentWithItsPlaybackRules) {
    EXPECT_EQ(Waves().Items.size(), std::size(kSounds));
    for (const SoundEntry& e : kSounds) {
        SCOPED_TRACE(e.Name);
        TWaveItem* item = Waves().TryFind(e.Name);
        ASSERT_NE(item, nullptr);
        EXPECT_EQ(item->MaxPlayingCount, e.MaxPlaying);
        EXPECT_EQ(item->Looped, e.Looped);
        EXPECT_EQ(item->Wave.SampleRate, std::string(e.Name) == "Thrust" ? 11025 : 22050);
    }
}

TEST(BuiltinSounds, RecordingsAreAudibleUnclippedAndShort) {
    for (const SoundEntry& e : kSounds) {
        SCOPED_TRACE(e.Name);
        const TWave& w = Waves().Find(e.Name).Wave;
        ASSERT_FALSE(w.Samples.empty());
        EXPECT_LT(Peak(w), 32767);
        EXPECT_GT(Peak(w), 12000);
        const bool explosion = std::string(e.Name).rfind("Explo", 0) == 0;
        EXPECT_LE(Duration(w), explosion ? 1.5 : 1.3);
        if (explosion) {
            EXPECT_GE(Duration(w), 0.5);
        }
    }
    EXPECT_LT(Duration(Waves().Find("Minigun").Wave), 0.1);
    for (const char* quick : {"Pistol", "Dirt", "FLHit", "Rico", "Laser", "Grenade", "Shotgun"})
        EXPECT_LT(Duration(Waves().Find(quick).Wave), 0.6) << quick;
}

TEST(BuiltinSounds, OneShotsStartAndEndInSilence) {
    // A buffer that stops or starts on a large sample clicks.
    for (const SoundEntry& e : kSounds) {
        if (e.Looped) continue;
        SCOPED_TRACE(e.Name);
        const TWave& w = Waves().Find(e.Name).Wave;
        EXPECT_LT(std::abs(int(w.Samples.front())), 200);
        EXPECT_LT(std::abs(int(w.Samples.back())), 200);
    }
}

TEST(BuiltinSounds, ThrustLoopsWithoutASeam) {
    const TWave& w = Waves().Find("Thrust").Wave;
    ASSERT_GT(w.Samples.size(), 2000u);
    std::vector<int> steps;
    for (size_t i = 1; i < w.Samples.size(); ++i)
        steps.push_back(std::abs(w.Samples[i] - w.Samples[i - 1]));
    std::sort(steps.begin(), steps.end());
    const int typicalLarge = steps[steps.size() * 99 / 100];
    const int seam = std::abs(w.Samples.front() - w.Samples.back());
    EXPECT_LE(seam, typicalLarge);
    // Steady level: the first and last tenths carry similar energy, so the loop does not pulse.
    auto energy = [&](size_t a, size_t b) {
        double e = 0;
        for (size_t i = a; i < b; ++i)
            e += double(w.Samples[i]) * w.Samples[i];
        return e / double(b - a);
    };
    const size_t tenth = w.Samples.size() / 10;
    const double head = energy(0, tenth), tail = energy(w.Samples.size() - tenth, w.Samples.size());
    EXPECT_NEAR(head / tail, 1.0, 0.5);
}

TEST(BuiltinSounds, SweepsGoTheRightWay) {
    const TWave& laser = Waves().Find("Laser").Wave;
    EXPECT_GT(CrossingRate(laser, 0.0, 0.05), 2.0 * CrossingRate(laser, 0.2, 0.25));
    const TWave& rico = Waves().Find("Rico").Wave;
    EXPECT_GT(CrossingRate(rico, 0.01, 0.06), 1.3 * CrossingRate(rico, 0.25, 0.3));
    const TWave& homing = Waves().Find("Homing").Wave;
    EXPECT_LT(1.3 * CrossingRate(homing, 0.05, 0.1), CrossingRate(homing, 0.35, 0.4));
    const TWave& death = Waves().Find("FLDeath").Wave;
    EXPECT_GT(Duration(death), 2 * Duration(Waves().Find("FLHit").Wave));
}

TEST(BuiltinSounds, FourDifferentExplosions) {
    std::set<std::vector<int16_t>> seen;
    std::set<size_t> lengths;
    for (const char* name : {"Explo0", "Explo1", "Explo2", "Explo3"}) {
        seen.insert(Waves().Find(name).Wave.Samples);
        lengths.insert(Waves().Find(name).Wave.Samples.size());
    }
    EXPECT_EQ(seen.size(), 4u);
    EXPECT_EQ(lengths.size(), 4u);
}

TEST(BuiltinSounds, GenerationIsDeterministic) {
    TWaveList again;
    AddBuiltinSounds(again);
    ASSERT_EQ(again.Items.size(), Waves().Items.size());
    for (size_t i = 0; i < again.Items.size(); ++i) {
        EXPECT_EQ(again.Items[i].Name, Waves().Items[i].Name);
        EXPECT_EQ(again.Items[i].Wave.Samples, Waves().Items[i].Wave.Samples) << again.Items[i].Name;
    }
}

} // namespace
