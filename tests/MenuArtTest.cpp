// MenuArtTest: the menu and keyboard pictures exist and fit the places the front end gives them.
#include "media/Surface.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <tuple>
#include <vector>

namespace {

const std::string MenuDir = std::string(FLARONS_GAME_DIR) + "/graphics/menu/";
const std::string Letters = "QWERTYUIOPASDFGHJKLZXCVBNM";

Surface Load(const std::string& name) {
    Surface s;
    EXPECT_TRUE(s.LoadFromFile(MenuDir + name, MenuPictureLimit)) << name;
    return s;
}

bool Overlap(const TRect& a, const TRect& b) {
    return a.Left < b.Right && b.Left < a.Right && a.Top < b.Bottom && b.Top < a.Bottom;
}

bool Inside(const TRect& inner, const TRect& outer) {
    return inner.Left >= outer.Left && inner.Top >= outer.Top && inner.Right <= outer.Right &&
           inner.Bottom <= outer.Bottom;
}

TRect Placed(const std::string& file, int x, int y) {
    const Surface s = Load(file);
    return Bounds(x, y, s.Width, s.Height);
}

// No two of the rectangles share a pixel, and each lies inside the area.
void ExpectApartInside(const std::vector<TRect>& rects, const TRect& area, const std::string& what) {
    for (size_t i = 0; i < rects.size(); ++i) {
        EXPECT_TRUE(Inside(rects[i], area)) << what << " item " << i;
        for (size_t j = i + 1; j < rects.size(); ++j)
            EXPECT_FALSE(Overlap(rects[i], rects[j])) << what << " items " << i << " and " << j;
    }
}

// The three-look buttons with their places on the screen (list rows and arrows are placed below).
struct TButton {
    const char* Stem;
    int X, Y;
};
const TButton ScreenButtons[] = {{"Back", 0, 458},         {"Quit", 618, 458},      {"About", 595, 458},
                                 {"Begin", 280, 379},      {"Weap", 157, 344},      {"Weap", 596, 344},
                                 {"pilvenstre", 364, 294}, {"pilhoejre", 400, 294}, {"pilvenstre", 364, 314},
                                 {"pilhoejre", 400, 314},  {"Keys", 27, 344},       {"Keys", 467, 344},
                                 {"KeyDefaults", 26, 267}, {"PadSwap", 103, 267}}; // the last two: player 1's

TEST(MenuArt, EveryButtonShowsThreeLooksOfOneSizeAndTheFixedPicturesHaveTheirSizes) {
    std::vector<std::string> stems;
    for (const TButton& b : ScreenButtons)
        stems.push_back(std::string(b.Stem) + "?.bmp");
    for (const char* stem : {"FileSelect", "pilop_green", "pilned_green", "pilop", "pilned"})
        stems.push_back(std::string(stem) + "?.Bmp");
    for (const std::string& stem : stems) {
        SCOPED_TRACE(stem);
        const auto look = [&](char l) { return Load(std::string(stem).replace(stem.find('?'), 1, 1, l)); };
        const Surface idle = look('I'), hover = look('H'), click = look('C');
        EXPECT_EQ(std::make_pair(hover.Width, hover.Height), std::make_pair(idle.Width, idle.Height));
        EXPECT_EQ(std::make_pair(click.Width, click.Height), std::make_pair(idle.Width, idle.Height));
        EXPECT_NE(hover.Pixels, idle.Pixels);
        EXPECT_NE(click.Pixels, hover.Pixels);
    }
    for (const auto& [name, width, height] : {std::tuple{"init.bmp", 640, 480}, {"status_bg.bmp", 640, 50}}) {
        const Surface s = Load(name);
        EXPECT_EQ(std::make_pair(s.Width, s.Height), std::make_pair(width, height)) << name;
    }
    for (const char* name : {"cursor.bmp", "neopalette.bmp", "status_bars.bmp"}) {
        const Surface s = Load(name);
        EXPECT_GT(std::set<uint32_t>(s.Pixels.begin(), s.Pixels.end()).size(), 2u) << name;
    }
}

TEST(MenuArt, ScreenButtonsStayApartOffTheBackdropTheirPanelsAndTheDigits) {
    std::vector<TRect> rects;
    for (const TButton& b : ScreenButtons)
        rects.push_back(Placed(std::string(b.Stem) + "I.bmp", b.X, b.Y));
    ExpectApartInside(rects, TRect{0, 0, 640, 480}, "screen buttons");
    // Back, Quit and About come before the backdrop in the item order, so it would paint over them.
    const TRect backdrop = Placed("Background.bmp", 10, 10);
    for (size_t i = 0; i < 3; ++i)
        EXPECT_FALSE(Overlap(rects[i], backdrop)) << ScreenButtons[i].Stem;
    EXPECT_TRUE(Inside(rects[3], Bounds(217, 254, 205, 162)));
    EXPECT_TRUE(Inside(rects[4], Bounds(22, 54, 158, 362)));
    EXPECT_TRUE(Inside(rects[5], Bounds(462, 54, 158, 362)));
    // "Points limit:  " is 15 cells of 10 pixels from x 227, so the option value's digits take x 377 to 396.
    for (size_t i = 6; i < rects.size(); ++i)
        EXPECT_FALSE(Overlap(rects[i], TRect{377, 294, 397, 329})) << ScreenButtons[i].Stem;
}

// The list rows are drawn after the panel that carries the labels, so they must not hide them.
TEST(MenuArt, ListRowsLeaveTheLabelsShowing) {
    for (const char* look : {"I", "H", "C"}) {
        const Surface row = Load(std::string("FileSelect") + look + ".Bmp");
        for (int y = 1; y < row.Height - 1; ++y)
            for (int x = 8; x < row.Width - 8; ++x)
                ASSERT_EQ(row.Pixel(x, y), 0u) << look << " at " << x << "," << y;
    }
}

TEST(MenuArt, KeysShowTheirOwnLettersAndFitTheFifteenPixelPitchOnBothSides) {
    std::vector<TRect> keys;
    std::set<std::vector<uint32_t>> faces;
    for (int i = 0; i < 26; ++i) {
        const int x = i < 10 ? 15 * i : i < 19 ? 15 * (i - 10) + 7 : 15 * (i - 19) + 15;
        const int y = i < 10 ? 0 : i < 19 ? 15 : 30;
        const std::string key = std::string("keys/") + Letters[size_t(i)];
        const Surface idle = Load(key + "I.bmp"), hover = Load(key + "H.bmp");
        EXPECT_EQ(hover.Width, idle.Width);
        EXPECT_NE(hover.Pixels, idle.Pixels);
        faces.insert(idle.Pixels);
        keys.push_back(Bounds(x, y, idle.Width, idle.Height));
    }
    EXPECT_EQ(faces.size(), Letters.size());
    keys.push_back(Placed("keys/BSI.bmp", 0, 30));
    keys.push_back(Placed("keys/RetI.bmp", 120, 30));
    EXPECT_EQ(Load("keys/RetH.bmp").Width, keys.back().Width());
    for (int side = 0; side < 2; ++side) {
        std::vector<TRect> placed;
        for (const TRect& k : keys)
            placed.push_back(Bounds(k.Left + 25 + 440 * side, k.Top + 314, k.Width(), k.Height()));
        ExpectApartInside(placed, Bounds(22 + 440 * side, 54, 158, 362), "keys");
    }
}

TEST(MenuArt, TheBackdropIsBlackWherePanelsAndCreditsShowAndCoversTheWeaponColumns) {
    const Surface bg = Load("Background.bmp");
    EXPECT_LE(10 + bg.Height, 458) << "it ends above the button row";
    const TRect holes[] = {Bounds(22, 54, 158, 362), Bounds(462, 54, 158, 362), Bounds(217, 254, 205, 162),
                           Bounds(207, 127, 131, 83)};
    for (const TRect& r : holes)
        for (int y = r.Top; y < r.Bottom; ++y)
            for (int x = r.Left; x < r.Right; ++x)
                ASSERT_EQ(bg.Pixel(x - 10, y - 10), 0u) << "screen " << x << "," << y;
    // The backdrop item is the click surface of the weapon selection: both columns of both sides.
    EXPECT_TRUE(Inside(TRect{25, 154, 618, 353}, Bounds(10, 10, bg.Width, bg.Height)));
}

} // namespace
