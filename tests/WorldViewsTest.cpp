// WorldViewsTest: layer order, ships and flags under the terrain, strings, divider and shake.
#include "WorldTestKit.h"

#include "world/Views.h"
#include "world/World.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

// Where a colour first appears on a surface, scanning rows from the top.
std::pair<int, int> Find(const Surface& s, uint32_t px) {
    for (int y = 0; y < s.Height; ++y)
        for (int x = 0; x < s.Width; ++x)
            if (s.Pixel(x, y) == px) return {x, y};
    return {-1, -1};
}

struct WorldViews : ::testing::Test {
    TWorldFolder Folder;
    std::unique_ptr<TWorld> W;
    Surface Screen{640, 480};

    void Build(int w, int h) {
        Folder.WriteStandardPictures();
        Surface mid(w, h);
        for (int x = 0; x < w; ++x)
            mid.SetPixel(x, h - 1, Rgb(0, 200, 0)); // a floor
        mid.SetPixel(0, 0, Rgb(0, 200, 0));
        mid.SetPixel(w - 1, 0, Rgb(0, 200, 1));
        Folder.WritePicture("maps\\mid.bmp", mid);
        Folder.WritePicture("maps\\back.bmp", Filled(w, h, Rgb(30, 30, 90)));
        Folder.WriteText("maps\\v.map", "MIDDLE=mid.bmp\nBACK=back.bmp\nPLY1X=100\nPLY1Y=200\nPLY2X=420\n"
                                        "PLY2Y=200\nFLAG1X=60\nFLAG1Y=300\nFLAG2X=600\nFLAG2Y=300\n");
        W = TWorld::Create(Folder.Files, TestFont(), TestOptions("maps\\v.map"));
    }
};

TEST_F(WorldViews, SingleScreenShowsTheWholeMapWithoutDividerAndShakesEachView) {
    Build(640, 430);
    W->DrawViews(Screen);
    EXPECT_EQ(Screen.Pixel(0, 0), Rgb(0, 200, 0));
    EXPECT_EQ(Screen.Pixel(639, 0), Rgb(0, 200, 1));
    EXPECT_EQ(Screen.Pixel(319, 100), Rgb(30, 30, 90));
    EXPECT_EQ(Screen.Pixel(320, 100), Rgb(30, 30, 90));
    EXPECT_EQ(Screen.Pixel(320, 429), Rgb(0, 200, 0));
    // The status bar area is left alone.
    EXPECT_EQ(Screen.Pixel(10, 430), 0u);
    Screen.SaveToPng("/tmp/flarons_world_single.png");

    // Shaken, each view moves by its own offset taken to the nearest pixel.
    const Surface still = Screen;
    W->ShakeX = {0, 2.6f};
    W->ShakeY = {-1.4f, 0};
    Screen.Fill(0);
    W->DrawViews(Screen);
    W->ShakeX = W->ShakeY = {0, 0};
    EXPECT_EQ(Screen.Pixel(323, 429), Rgb(0, 200, 0)); // right view 3 to the right
    EXPECT_EQ(Screen.Pixel(322, 100), 0u);
    EXPECT_EQ(Screen.Pixel(10, 428), still.Pixel(10, 429)); // left view one up
    EXPECT_EQ(Screen.Pixel(10, 429), 0u);
    Screen.SaveToPng("/tmp/flarons_world_shake.png");
}

TEST_F(WorldViews, ScrollingMapsGetTheDividerAtTheSeam) {
    Build(641, 430);
    W->DrawViews(Screen);
    for (int y : {0, 200, 429}) {
        EXPECT_EQ(Screen.Pixel(319, y), ColourValueOne);
        EXPECT_EQ(Screen.Pixel(320, y), ColourValueOne);
        EXPECT_NE(Screen.Pixel(321, y), ColourValueOne);
    }
}

TEST_F(WorldViews, ShipsAreCentredUnderTheTerrainAndFlagsBlowFromThePoleOrHangOnStrings) {
    Build(640, 430);
    const Surface& frame = W->Ships[0].Frames[UprightShipFrame];
    const auto [nx, ny] = Find(frame, Rgb(255, 255, 0));
    ASSERT_GE(nx, 0);
    const int x = 100 - frame.Width / 2 + nx, y = 200 - frame.Height / 2 + ny;
    W->DrawViews(Screen);
    EXPECT_EQ(Screen.Pixel(x, y), Rgb(255, 255, 0));
    // Player 2's ship shows in the right view at its world position.
    EXPECT_EQ(Screen.Pixel(420 - frame.Width / 2 + nx, y), Rgb(255, 255, 0));
    // Terrain over the ship hides it; a ship waiting to respawn is not drawn.
    W->MiddleLayer.SetPixel(x, y, Rgb(1, 100, 1));
    W->Ships[1].RespawnTimer = 5;
    W->DrawViews(Screen);
    EXPECT_EQ(Screen.Pixel(x, y), Rgb(1, 100, 1));
    EXPECT_EQ(Screen.Pixel(420 - frame.Width / 2 + nx, y), Rgb(30, 30, 90));
    // On foot: the pilot figure.
    W->Ships[0].Angle = 256;
    W->MiddleLayer.SetPixel(x, y, 0);
    W->DrawViews(Screen);
    EXPECT_NE(Screen.Pixel(x, y), Rgb(255, 255, 0));

    // Flags blow away from the pole, and carried flags hang on strings.
    W->Flags[0].VX = 1; // home: blowing right, left edge at the pole
    W->DrawViews(Screen);
    EXPECT_NE(Screen.Pixel(60, 305), Rgb(30, 30, 90));
    EXPECT_EQ(Screen.Pixel(59, 305), Rgb(30, 30, 90));
    W->Flags[0].VX = 3; // dragged: blowing left, right edge at the pole
    W->DrawViews(Screen);
    EXPECT_EQ(Screen.Pixel(60, 305), Rgb(30, 30, 90));
    EXPECT_NE(Screen.Pixel(59, 305), Rgb(30, 30, 90));
    // Carried by ship 1 (player 2) at (420, 200): strings from the ship to the flag.
    W->Flags[0].State = 2;
    W->Flags[0].X = 420;
    W->Flags[0].Y = 300;
    W->Ships[1].RespawnTimer = 1;
    W->DrawViews(Screen);
    EXPECT_EQ(Screen.Pixel(420, 250), Rgb(255, 255, 255));
    EXPECT_EQ(Screen.Pixel(420, 201), Rgb(255, 255, 255));
}

TEST_F(WorldViews, LayerOrderAndParallax) {
    Build(1280, 860);
    // Background half as wide and tall (moved at 0.5 of the camera), a front layer, a dot.
    Surface back(800, 645);
    back.Fill(Rgb(30, 30, 90));
    back.SetPixel(250, 100, Rgb(90, 0, 0));
    W->BackLayer = back;
    W->BackParallaxX = 0.5f;
    W->BackParallaxY = 0.25f;
    W->FrontLayer.SetSize(1280, 860);
    W->FrontLayer.SetPixel(410, 210, Rgb(0, 0, 250));
    W->ViewX = {400, 0};
    W->ViewY = {200, 0};
    W->Ships[0].X = W->Ships[1].X = -500; // out of sight
    TProjectile& p = W->Projectiles[123];
    p.Kind = 4;
    p.X = 410;
    p.Y = 210;
    p.R = 200;
    TProjectile& q = W->Projectiles[124];
    q.Kind = 4;
    q.X = 411;
    q.Y = 210;
    q.G = 200;
    W->MiddleLayer.SetPixel(411, 210, Rgb(5, 5, 5));
    W->DrawViews(Screen);
    EXPECT_EQ(Screen.Pixel(50, 50), Rgb(90, 0, 0));  // 250 - 400 x 0.5, 100 - 200 x 0.25
    EXPECT_EQ(Screen.Pixel(10, 10), Rgb(0, 0, 250)); // the front covers the dot
    EXPECT_EQ(Screen.Pixel(11, 10), Rgb(0, 200, 0)); // the dot covers the terrain
    // Where no layer reaches, the view is near-black, never transparent.
    W->ViewX[0] = 5000;
    W->DrawViews(Screen);
    EXPECT_EQ(Screen.Pixel(100, 100), ColourValueOne);
}

} // namespace
