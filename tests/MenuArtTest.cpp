// MenuArtTest: the menu, keyboard and status-bar pictures fit the places the front end gives them.
#include "media/Surface.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <string>
#include <vector>

namespace {

const std::string MenuDir = std::string(FLARONS_GAME_DIR) + "/graphics/menu/";
const std::string Letters = "QWERTYUIOPASDFGHJKLZXCVBNM";
const char* const Looks[3] = {"I", "H", "C"};

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

int Brightness(uint32_t c) {
    return int(((c >> 16) & 0xFF) + ((c >> 8) & 0xFF) + (c & 0xFF));
}

double MeanBrightness(const Surface& s, const TRect& r) {
    double sum = 0;
    for (int y = r.Top; y < r.Bottom; ++y)
        for (int x = r.Left; x < r.Right; ++x)
            sum += Brightness(s.Pixel(x, y));
    return sum / (r.Width() * r.Height());
}

// A three-look button: the file stem, its extension and where the game places it on the screen.
struct TButton {
    std::string Stem;
    std::string Ext;
    int X = 0;
    int Y = 0;
};

const std::vector<TButton> ScreenButtons = {
    {"Back", ".bmp", 0, 458},         {"Quit", ".bmp", 618, 458},      {"About", ".bmp", 595, 458},
    {"Begin", ".bmp", 280, 379},      {"Weap", ".bmp", 157, 344},      {"Weap", ".bmp", 596, 344},
    {"pilvenstre", ".bmp", 364, 294}, {"pilhoejre", ".bmp", 400, 294}, {"pilvenstre", ".bmp", 364, 314},
    {"pilhoejre", ".bmp", 400, 314},
};

const std::vector<std::string> ListStems = {"FileSelect", "pilop_green", "pilned_green", "pilop", "pilned"};

std::vector<std::string> EveryMenuFile() {
    std::vector<std::string> names = {"init.bmp",      "cursor.bmp",     "status_bars.bmp",
                                      "status_bg.bmp", "Background.bmp", "neopalette.bmp"};
    for (const char* stem : {"Back", "Quit", "About", "Begin", "Weap", "pilvenstre", "pilhoejre"})
        for (const char* look : Looks)
            names.push_back(std::string(stem) + look + ".bmp");
    for (const std::string& stem : ListStems)
        for (const char* look : Looks)
            names.push_back(stem + look + ".Bmp");
    for (char c : Letters) {
        names.push_back(std::string("keys/") + c + "I.bmp");
        names.push_back(std::string("keys/") + c + "H.bmp");
    }
    for (const char* key : {"keys/BSI.bmp", "keys/BSH.bmp", "keys/RetI.bmp", "keys/RetH.bmp"})
        names.push_back(key);
    return names;
}

// No two of the rectangles share a pixel.
void ExpectApart(const std::vector<TRect>& rects, const std::string& what) {
    for (size_t i = 0; i < rects.size(); ++i)
        for (size_t j = i + 1; j < rects.size(); ++j)
            EXPECT_FALSE(Overlap(rects[i], rects[j])) << what << " items " << i << " and " << j;
}

TRect PlacedRect(const std::string& file, int x, int y) {
    const Surface s = Load(file);
    return Bounds(x, y, s.Width, s.Height);
}

TEST(MenuArtFiles, EveryNamedPictureExistsUnderItsExactNameAndShowsSomething) {
    for (const std::string& name : EveryMenuFile()) {
        SCOPED_TRACE(name);
        ASSERT_TRUE(std::filesystem::is_regular_file(MenuDir + name));
        const Surface s = Load(name);
        ASSERT_FALSE(s.Empty());
        size_t shown = 0;
        for (uint32_t p : s.Pixels)
            shown += p != 0;
        // The list rows are mostly see-through by design; nothing else is allowed to come out blank.
        EXPECT_GE(shown, 32u) << "blank picture";
    }
}

TEST(MenuArtFiles, FixedSizesAndTheBackdropEndsAboveTheButtonRow) {
    const Surface init = Load("init.bmp");
    EXPECT_EQ(init.Width, 640);
    EXPECT_EQ(init.Height, 480);
    const Surface bg = Load("status_bg.bmp");
    EXPECT_EQ(bg.Width, 640);
    EXPECT_EQ(bg.Height, 50);
    const Surface bars = Load("status_bars.bmp");
    EXPECT_GE(bars.Width, 160);
    EXPECT_GE(bars.Height, 17);
    const Surface back = Load("Background.bmp");
    EXPECT_LE(10 + back.Height, 458);
    EXPECT_LE(10 + back.Width, 640);
}

TEST(MenuArtButtons, TheThreeLooksShareOneSizeAndHoverIsVisible) {
    std::vector<std::pair<std::string, std::string>> sets;
    for (const TButton& b : ScreenButtons)
        sets.emplace_back(b.Stem, b.Ext);
    for (const std::string& stem : ListStems)
        sets.emplace_back(stem, ".Bmp");
    for (const auto& [stem, ext] : sets) {
        SCOPED_TRACE(stem);
        const Surface idle = Load(stem + "I" + ext);
        const Surface hover = Load(stem + "H" + ext);
        const Surface click = Load(stem + "C" + ext);
        EXPECT_EQ(hover.Width, idle.Width);
        EXPECT_EQ(hover.Height, idle.Height);
        EXPECT_EQ(click.Width, idle.Width);
        EXPECT_EQ(click.Height, idle.Height);
        EXPECT_NE(hover.Pixels, idle.Pixels);
        EXPECT_NE(click.Pixels, hover.Pixels);
    }
}

TEST(MenuArtButtons, ScreenButtonsStayApartOnTheScreenBelowTheBackdropAndOffTheDigits) {
    std::vector<TRect> rects;
    for (const TButton& b : ScreenButtons) {
        rects.push_back(PlacedRect(b.Stem + "I" + b.Ext, b.X, b.Y));
        EXPECT_TRUE(Inside(rects.back(), TRect{0, 0, 640, 480})) << b.Stem;
    }
    ExpectApart(rects, "screen buttons");
    // Back, Quit and About come before the backdrop in the item order, so it would paint over them.
    const TRect backdrop = PlacedRect("Background.bmp", 10, 10);
    for (size_t i = 0; i < 3; ++i)
        EXPECT_FALSE(Overlap(rects[i], backdrop)) << ScreenButtons[i].Stem;
    // Begin sits in the centre panel, each weapons button in its side panel.
    EXPECT_TRUE(Inside(rects[3], Bounds(217, 254, 205, 162)));
    EXPECT_TRUE(Inside(rects[4], Bounds(22, 54, 158, 362)));
    EXPECT_TRUE(Inside(rects[5], Bounds(462, 54, 158, 362)));
    // "Points limit:  " is 15 cells of 10 pixels from x 227, so the option value's digits take x 377 to 396.
    for (size_t i = 6; i < rects.size(); ++i)
        EXPECT_FALSE(Overlap(rects[i], TRect{377, 294, 397, 329})) << ScreenButtons[i].Stem;
}

TEST(MenuArtLists, RowsAndScrollArrowsStackWithoutOverlapAndRowsLeaveTheLabelsShowing) {
    struct TList {
        int RowX = 0;
        int FirstRowY = 0;
        int Rows = 0;
        std::string Up;
        std::string Down;
        int ArrowX = 0;
        int UpY = 0;
        int DownY = 0;
        TRect Panel;
    };
    const TList lists[] = {
        {21, 168, 11, "pilop_green", "pilned_green", 86, 152, 345, Bounds(21, 54, 160, 362)},
        {461, 168, 11, "pilop_green", "pilned_green", 526, 152, 345, Bounds(461, 54, 160, 362)},
        {239, 270, 8, "pilop", "pilned", 303, 254, 399, Bounds(217, 254, 205, 162)},
    };
    for (const TList& list : lists) {
        std::vector<TRect> rects;
        for (int r = 0; r < list.Rows; ++r)
            rects.push_back(PlacedRect("FileSelectI.Bmp", list.RowX, list.FirstRowY + 16 * r));
        rects.push_back(PlacedRect(list.Up + "I.Bmp", list.ArrowX, list.UpY));
        rects.push_back(PlacedRect(list.Down + "I.Bmp", list.ArrowX, list.DownY));
        for (size_t i = 0; i < rects.size(); ++i)
            EXPECT_TRUE(Inside(rects[i], list.Panel)) << list.Up << " item " << i;
        ExpectApart(rects, list.Up);
    }
    // The rows are drawn after the panel that carries the labels, so they must not hide them.
    for (const char* look : Looks) {
        const Surface row = Load(std::string("FileSelect") + look + ".Bmp");
        for (int y = 1; y < row.Height - 1; ++y)
            for (int x = 8; x < row.Width - 8; ++x)
                ASSERT_EQ(row.Pixel(x, y), 0u) << look << " at " << x << "," << y;
    }
}

TEST(MenuArtKeyboard, KeysFitTheFifteenPixelPitchOnBothSides) {
    std::vector<TRect> keys;
    for (int i = 0; i < 26; ++i) {
        const int x = i < 10 ? 15 * i : i < 19 ? 15 * (i - 10) + 7 : 15 * (i - 19) + 15;
        const int y = i < 10 ? 0 : i < 19 ? 15 : 30;
        const Surface idle = Load(std::string("keys/") + Letters[size_t(i)] + "I.bmp");
        const Surface hover = Load(std::string("keys/") + Letters[size_t(i)] + "H.bmp");
        EXPECT_EQ(hover.Width, idle.Width);
        EXPECT_EQ(hover.Height, idle.Height);
        EXPECT_NE(hover.Pixels, idle.Pixels);
        keys.push_back(Bounds(x, y, idle.Width, idle.Height));
    }
    keys.push_back(PlacedRect("keys/BSI.bmp", 0, 30));
    keys.push_back(PlacedRect("keys/RetI.bmp", 120, 30));
    for (const char* key : {"BS", "Ret"})
        EXPECT_EQ(Load(std::string("keys/") + key + "H.bmp").Width,
                  Load(std::string("keys/") + key + "I.bmp").Width);
    ExpectApart(keys, "keys");
    for (int side = 0; side < 2; ++side)
        for (const TRect& k : keys)
            EXPECT_TRUE(Inside(Bounds(k.Left + 25 + 440 * side, k.Top + 314, k.Width(), k.Height()),
                               Bounds(22 + 440 * side, 54, 158, 362)));
    // Each letter key shows its own letter.
    std::set<std::vector<uint32_t>> faces;
    for (char c : Letters)
        faces.insert(Load(std::string("keys/") + c + "I.bmp").Pixels);
    EXPECT_EQ(faces.size(), Letters.size());
}

TEST(MenuArtBackdrop, BlackWherePanelsAndCreditsShowAndCoversTheWeaponColumns) {
    const Surface bg = Load("Background.bmp");
    const TRect holes[] = {Bounds(22, 54, 158, 362), Bounds(462, 54, 158, 362), Bounds(217, 254, 205, 162),
                           Bounds(207, 127, 131, 83)};
    for (const TRect& r : holes)
        for (int y = r.Top; y < r.Bottom; ++y)
            for (int x = r.Left; x < r.Right; ++x)
                ASSERT_EQ(bg.Pixel(x - 10, y - 10), 0u) << "screen " << x << "," << y;
    // The backdrop item is the click surface of the weapon selection: both columns of both sides.
    EXPECT_TRUE(Inside(TRect{25, 154, 618, 353}, Bounds(10, 10, bg.Width, bg.Height)));
}

// The status bar as the game draws it: the background, then each missing part from status_bars.
Surface ComposeStatusBar(const Surface& bg, const Surface& bars, int p, double health, double fuel,
                         double ammo, int shotsLeft) {
    Surface out = bg;
    const int e = p == 0 ? 223 : 578;
    const int widths[4] = {int((100 - health) / 100 * 160), int((200 - fuel) / 200 * 160),
                           int((100 - ammo) / 100 * 160), (20 - shotsLeft) * 8};
    for (int b = 0; b < 4; ++b) {
        const int w = widths[b];
        const int top = b == 3 ? 9 : 0;
        if (w > 0) out.DrawRect(e - w, 6 + 10 * b, bars, TRect{160 - w, top, 160, top + 8}, false);
    }
    return out;
}

TEST(MenuArtStatusBar, EverySlotTwoStepShowsAsOneCell) {
    const Surface bg = Load("status_bg.bmp");
    const Surface bars = Load("status_bars.bmp");
    for (int p = 0; p < 2; ++p)
        for (int shots = 0; shots <= 20; ++shots) {
            const Surface s = ComposeStatusBar(bg, bars, p, 100, 200, 100, shots);
            const int left = (p == 0 ? 223 : 578) - 160;
            int lit = 0;
            for (int cell = 0; cell < 20; ++cell) {
                const double full = MeanBrightness(bg, Bounds(left + 8 * cell, 36, 8, 8));
                const double now = MeanBrightness(s, Bounds(left + 8 * cell, 36, 8, 8));
                lit += now > full * 0.75;
                // A cell is either wholly lit or wholly empty: the overlay's steps match the cells.
                EXPECT_TRUE(now > full * 0.75 || now < full * 0.5) << "shots " << shots << " cell " << cell;
            }
            EXPECT_EQ(lit, shots);
        }
}

} // namespace
