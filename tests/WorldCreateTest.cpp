// WorldCreateTest: building the world of a match: placement, counters, pages, cameras and failures.
#include "TestSupport.h"
#include "WorldTestKit.h"

#include "world/World.h"
#include "world/WorldError.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <tuple>

namespace {

struct WorldCreate : ::testing::Test {
    TWorldFolder Folder;
    TPictureItem Font = TestFont();

    void SetUp() override { Folder.WriteStandardPictures(); }
    void Map(int w, int h, const std::string& extra = "") {
        Folder.WritePicture("maps\\mid.bmp", Filled(w, h, 0));
        Folder.WriteText("maps\\t.map", "MIDDLE=mid.bmp\nPLY1X=100\nPLY1Y=200\nPLY2X=500.5\nPLY2Y=300\n"
                                        "FLAG1X=50\nFLAG1Y=60\nFLAG2X=550\nFLAG2Y=70\n" +
                                            extra);
    }
    std::unique_ptr<TWorld> Make(const TOptions& o) { return TWorld::Create(Folder.Files, Font, o); }
};

// Ships, flags and lives placed from the map and the options, and the two views of a single screen,
// play out in every golden replay (planted faults in each fail them); the layout's edges do not.
TEST_F(WorldCreate, ASingleScreenOnlyForExactly640By430) {
    for (const auto& [mw, mh, single] : {std::tuple{640, 430, 1}, {641, 430, 0}, {640, 431, 0}}) {
        Map(mw, mh);
        const auto w = Make(TestOptions("maps\\t.map"));
        EXPECT_EQ(w->SingleScreen, single) << mw << " x " << mh;
        EXPECT_EQ(w->ViewX[1], single ? 320.0f : 0.0f) << mw << " x " << mh;
    }
}

TEST_F(WorldCreate, TheMatchCopyHasItsCountersClearedButKeepsTheStreak) {
    Map(800, 600);
    TOptions o = TestOptions("maps\\t.map");
    o.Lives = 0;
    for (TPilotRecord& p : o.Players) {
        p.BattlesFought = 9;
        p.ShotsFired = 77;
        p.OnFootTime = 5;
        p.Medals[17] = 1;
        p.SuccessiveWins = 4;
    }
    const auto w = Make(o);
    EXPECT_EQ(w->UnlimitedLives, 1);
    EXPECT_EQ(w->Ships[0].Lives, 0);
    for (const TPilotRecord& p : w->Match.Players) {
        EXPECT_EQ(p.BattlesFought, 0u);
        EXPECT_EQ(p.ShotsFired, 0u);
        EXPECT_EQ(p.OnFootTime, 0u);
        EXPECT_EQ(p.Medals[17], 0);
        EXPECT_EQ(p.SuccessiveWins, 4u);
        EXPECT_EQ(p.Name.Str().substr(0, 6), "PLAYER");
    }
    // The caller's record is not touched.
    EXPECT_EQ(o.Players[0].ShotsFired, 77u);
}

// The rows of a weapon page that carry text, and where the text of row i starts and ends.
std::pair<int, int> TextSpan(const Surface& page, int row) {
    int first = -1, last = -1;
    for (int x = 0; x < page.Width; ++x)
        if (page.Pixel(x, 8 * row + 1) != 0) {
            if (first < 0) first = x;
            last = x;
        }
    return {first, last};
}

TEST_F(WorldCreate, WeaponPagesAndPilotColours) {
    Map(800, 600);
    TOptions o = TestOptions("maps\\t.map");
    o.Players[1].Weapons = {0, 1, 2, 3, 4, 5, 6, 7, 23, 200};
    o.Players[0].PantsColour = 0x0000AA; // Windows colour: red 0xAA
    o.Players[1].PantsColour = 0xAA0000; // blue 0xAA
    const auto w = Make(o);
    {
        SCOPED_TRACE("weapon pages show five centred names");
        const Surface& p0 = w->WeaponNameSurfaces[1][0];
        EXPECT_EQ(p0.Width, 78);
        EXPECT_EQ(p0.Height, 40);
        // "Minigun": 7 cells of 8 pixels starting at 39 - 28.
        EXPECT_EQ(TextSpan(p0, 0), (std::pair{11, 66}));
        // "Linked Minigun": 14 cells from 39 - 56, cut at the page edges, the blank drawn as nothing.
        EXPECT_EQ(TextSpan(p0, 1), (std::pair{0, 77}));
        EXPECT_EQ(p0.Pixel(-17 + 6 * 8 + 3, 9), 0u);
        EXPECT_NE(p0.Pixel(-17 + 5 * 8 + 3, 9), 0u);
        EXPECT_EQ(TextSpan(p0, 2), (std::pair{39 - 20, 39 - 20 + 39})); // "Laser"
        // Numbers without a weapon show nothing; the stored bytes stay.
        const Surface& p1 = w->WeaponNameSurfaces[1][1];
        EXPECT_EQ(TextSpan(p1, 3).first, -1);
        EXPECT_EQ(TextSpan(p1, 4).first, -1);
        EXPECT_EQ(w->Match.Players[1].Weapons[9], 200);
        EXPECT_NE(TextSpan(p1, 2).first, -1); // "Snow Bombs"
    }
    // Pilot frames wear the pilots' colours; masks keep the key colours.
    auto has = [](const Surface& s, uint32_t px) {
        return std::find(s.Pixels.begin(), s.Pixels.end(), px) != s.Pixels.end();
    };
    for (const size_t f : {size_t(PilotFrame), size_t(PilotFrame) + 1}) {
        EXPECT_TRUE(has(w->Ships[0].Frames[f], Rgb(0xAA, 0, 0)));
        EXPECT_TRUE(has(w->Ships[1].Frames[f], Rgb(0, 0, 0xAA)));
        EXPECT_FALSE(has(w->Ships[0].Frames[f], Rgb(255, 0, 0)));
        EXPECT_TRUE(has(w->Ships[0].Masks[f], Rgb(255, 0, 0)));
    }
}

TEST_F(WorldCreate, LoadErrorsLeaveNoWorld) {
    Map(800, 600);
    std::string error;
    EXPECT_EQ(TWorld::TryCreate(Folder.Files, Font, TestOptions("maps\\nothing.map"), error), nullptr);
    EXPECT_NE(error.find("nothing.map"), std::string::npos);
    EXPECT_THROW(Make(TestOptions("maps\\")), TWorldError);
    // What makes a map unusable is the loader's (WorldMapTest); one such map is enough here.
    Map(800, 600, "SCALE=0\n");
    EXPECT_EQ(TWorld::TryCreate(Folder.Files, Font, TestOptions("maps\\t.map"), error), nullptr);
    EXPECT_NE(error.find("SCALE"), std::string::npos) << error;
    Map(800, 600);
    TOptions o = TestOptions("maps\\t.map");
    o.Players[1].ShipFile.Set("graphics\\gone_ship.bmp");
    EXPECT_EQ(TWorld::TryCreate(Folder.Files, Font, o, error), nullptr);
    EXPECT_NE(error.find("gone_ship"), std::string::npos);
    o = TestOptions("maps\\t.map");
    o.Players[0].FlagFile.Set("graphics\\gone_flag.bmp");
    EXPECT_EQ(TWorld::TryCreate(Folder.Files, Font, o, error), nullptr);
    // Ship and flag pictures are checked before the layers are read, so the broken BACK= picture is
    // not what is reported; a folder or a 70-byte file announcing 65,535 rows is refused at once.
    Map(800, 600, "BACK=gone.bmp\n");
    std::filesystem::create_directories(Folder.Root / "graphics" / "folder_flag.bmp");
    Folder.Files.WriteFileAtomic("graphics\\aaa_ship.bmp", TinyTallBmp(12));
    for (const std::string bad : {"graphics\\aaa_ship.bmp", "graphics\\folder_flag.bmp", "graphics"}) {
        o = TestOptions("maps\\t.map");
        (bad.find("flag") != std::string::npos ? o.Players[1].FlagFile : o.Players[1].ShipFile).Set(bad);
        EXPECT_EQ(TWorld::TryCreate(Folder.Files, Font, o, error), nullptr) << bad;
        EXPECT_NE(error.find("'" + bad + "'"), std::string::npos) << error;
    }
    Map(800, 600);
    // A good map still builds afterwards.
    EXPECT_NE(TWorld::TryCreate(Folder.Files, Font, TestOptions("maps\\t.map"), error), nullptr);
    EXPECT_EQ(error, "");
}

TEST(WorldFrameRate, LowValuesFallBackToForty) {
    TWorld w;
    for (auto [asked, kept] : {std::pair{16, 16}, {15, 40}, {90, 90}, {0, 40}}) {
        w.SetFrameRate(asked);
        EXPECT_EQ(w.FrameRate, kept) << asked;
    }
}

} // namespace
