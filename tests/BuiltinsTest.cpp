// BuiltinsTest: the named images and sounds made at start-up: image catalogue, distinct digits, sounds.
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
    // The ten digits of the scores and lives differ, so no count reads as another.
    for (const char* name : {"7SegFont", "7SegFontRed"}) {
        const TPictureItem& font = Images().Find(name);
        std::set<std::vector<uint32_t>> digits;
        for (int cell = 26; cell < 36; ++cell) {
            const TRect r = font.PatternRect(cell);
            std::vector<uint32_t> pixels;
            for (int y = r.Top; y < r.Bottom; ++y)
                for (int x = r.Left; x < r.Right; ++x)
                    pixels.push_back(font.Picture.Pixel(x, y));
            digits.insert(pixels);
        }
        EXPECT_EQ(digits.size(), 10u) << name;
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
