// MenuArtTest: the menu pictures exist, buttons show three looks and the backdrop leaves the panels clear.
#include "media/Surface.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <tuple>
#include <vector>

namespace {

const std::string MenuDir = std::string(FLARONS_GAME_DIR) + "/graphics/menu/";

Surface Load(const std::string& name) {
    Surface s;
    EXPECT_TRUE(s.LoadFromFile(MenuDir + name, MenuPictureLimit)) << name;
    return s;
}

bool Inside(const TRect& inner, const TRect& outer) {
    return inner.Left >= outer.Left && inner.Top >= outer.Top && inner.Right <= outer.Right &&
           inner.Bottom <= outer.Bottom;
}

// The buttons with three looks: idle, hovered, clicked.
const char* const ButtonStems[] = {"Back",       "Quit",      "About", "Begin",       "Weap",
                                   "pilvenstre", "pilhoejre", "Keys",  "KeyDefaults", "PadSwap"};

TEST(MenuArt, EveryButtonShowsThreeLooksOfOneSizeAndTheFixedPicturesHaveTheirSizes) {
    std::vector<std::string> stems;
    for (const char* stem : ButtonStems)
        stems.push_back(std::string(stem) + "?.bmp");
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
