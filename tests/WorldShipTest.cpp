// WorldShipTest: rotate-and-scale, marker scan, footprints, the ship-picture check and pilot colours.
// The frames and masks of the shipped ships and pilot are drawn and hit in every frame of the
// determinism guard's fight; these tests keep the edges those pictures do not reach.
#include "WorldTestKit.h"

#include "core/PilotRecord.h"
#include "world/Ship.h"
#include "world/ShipPicture.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <tuple>

namespace {

// Builds the standard test ship once; 130 frames are cheap but there is no need to repeat them.
const TShip& Built() {
    static const std::unique_ptr<TShip> ship = [] {
        auto s = std::make_unique<TShip>();
        s->Build(TestShip(), TestPilot(), 0.5f);
        return s;
    }();
    return *ship;
}

// The work square's side and where the crop leaves a frame's centre fail the golden replays when
// changed.
TEST(WorldRotate, FrameSizesCropAndEmptyPictures) {
    for (const Surface& f : Built().Frames) {
        EXPECT_LE(f.Width, 46);
        EXPECT_LE(f.Height, 46);
    }
    // A filled square source at angle 64 is cropped to the scaled square; sampling at the square's
    // edges may take one more source column or row, never fewer.
    const Surface full = RotateAndScale(Filled(64, 64, Rgb(9, 9, 9)), 64, 0.5f);
    for (int side : {full.Width, full.Height}) {
        EXPECT_GE(side, 32);
        EXPECT_LE(side, 34);
    }
    // Nothing visible, or scaled to nothing, still gives one blank pixel.
    const Surface none = RotateAndScale(Surface(64, 64), 10, 0.5f);
    EXPECT_EQ(none.Width, 1);
    EXPECT_EQ(none.Height, 1);
    EXPECT_EQ(none.Pixel(0, 0), 0u);
    EXPECT_EQ(RotateAndScale(Filled(4, 4, 5), 64, 0.0001f).Width, 1);
}

// The nozzles and guns found on a picture, which has its markers painted out.
std::pair<std::vector<TMarker>, std::vector<TMarker>> Scan(Surface& s, float scale) {
    std::vector<TMarker> nozzles, guns;
    ScanMarkers(s, scale, nozzles, guns);
    return {nozzles, guns};
}

TEST(WorldMarkers, WithoutMarkersTheGunIsAtTheNoseAndTheNozzleAtTheTail) {
    // Body on the centre column from row 10 to row 49.
    Surface body(64, 64);
    for (int y = 10; y < 50; ++y)
        body.SetPixel(32, y, Rgb(90, 90, 90));
    auto [nozzles, guns] = Scan(body, 0.5f);
    ASSERT_EQ(guns.size(), 1u);
    ASSERT_EQ(nozzles.size(), 1u);
    EXPECT_FLOAT_EQ(guns[0].Angle, 0.0f);
    EXPECT_FLOAT_EQ(guns[0].Distance, (32 - 9) * 0.5f + 1); // first black pixel above: row 9
    EXPECT_FLOAT_EQ(nozzles[0].Angle, 128.0f);
    EXPECT_FLOAT_EQ(nozzles[0].Distance, (50 - 32) * 0.5f); // first black pixel below: row 50
    // A body reaching the edges stops the walk at row 0 and at the height.
    Surface full = Filled(64, 64, Rgb(90, 90, 90));
    std::tie(nozzles, guns) = Scan(full, 1.0f);
    ASSERT_EQ(guns.size(), 1u);
    ASSERT_EQ(nozzles.size(), 1u);
    EXPECT_FLOAT_EQ(guns[0].Distance, 33.0f);
    EXPECT_FLOAT_EQ(nozzles[0].Distance, 32.0f);
}

// The footprint of each frame's bottom row fails the golden replays when changed.
TEST(WorldShipFrames, FrameChoiceFromTheHeading) {
    TShip s;
    for (auto [angle, frame] : {std::pair{64.0, 32},
                                {0.0, 0},
                                {-3.0, -1},
                                {256.0, 128},
                                {258.0, 129},
                                {254.9, 127},
                                {260.0, -1},
                                {std::nan(""), -1}}) {
        s.Angle = angle;
        EXPECT_EQ(s.FrameIndex(), frame) << "angle " << angle;
    }
}

// A picture with `body` body pixels plus some markers, at most 64 x 64.
Surface ShipWithBody(int w, int h, int body) {
    Surface s(w, h);
    for (int i = 0; i < body; ++i)
        s.Pixels[size_t(i)] = Rgb(100, 100, 100);
    for (int i = body; i < body + 20 && size_t(i) < s.Pixels.size(); ++i)
        s.Pixels[size_t(i)] = (i % 2) ? Rgb(255, 0, 0) : Rgb(0, 255, 0);
    return s;
}

TEST(WorldShipPicture, SizeBodyCountAndFileCheck) {
    struct Case {
        int W, H, Body;
        bool Valid;
    };
    for (const Case& c : {Case{64, 64, 984, true},
                          {64, 64, 974, true},
                          {64, 64, 994, true},
                          {64, 64, 995, false},
                          {64, 64, 973, false},
                          {65, 10, 650, false},
                          {40, 65, 984, false}})
        EXPECT_EQ(ShipPictureValid(ShipWithBody(c.W, c.H, c.Body)), c.Valid)
            << c.W << " x " << c.H << ", body " << c.Body;
    Surface s = ShipWithBody(64, 64, 983);
    s.Pixels[2000] = Rgb(254, 0, 0);
    EXPECT_TRUE(ShipPictureValid(s)) << "near-marker colours are body";

    TWorldFolder folder;
    EXPECT_TRUE(CheckShipPicture(folder.Files, "graphics\\none_ship.bmp"));
    folder.WritePicture("graphics\\a_ship.bmp", ShipWithBody(64, 64, 984));
    folder.WritePicture("graphics\\b_ship.bmp", ShipWithBody(64, 64, 500));
    folder.WriteText("graphics\\c_ship.bmp", "not a picture");
    EXPECT_TRUE(CheckShipPicture(folder.Files, "graphics\\A_SHIP.bmp"));
    EXPECT_FALSE(CheckShipPicture(folder.Files, "graphics\\b_ship.bmp"));
    EXPECT_FALSE(CheckShipPicture(folder.Files, "graphics\\c_ship.bmp"));
}

TEST(WorldShipPicture, RecolourReplacesOnlyExactKeyColours) {
    TPilotRecord pilot;
    pilot.PantsColour = 0x332211; // Windows colours: red 0x11, green 0x22, blue 0x33
    pilot.ShirtColour = 0x665544;
    pilot.HelmetColour = 0; // black: the helmet becomes transparent
    Surface s = TestPilot();
    RecolourPilot(s, pilot);
    EXPECT_EQ(s.Pixel(3, 15), Rgb(0x11, 0x22, 0x33));
    EXPECT_EQ(s.Pixel(5, 8), Rgb(0x44, 0x55, 0x66));
    EXPECT_EQ(s.Pixel(4, 2), 0u);
    EXPECT_EQ(s.Pixel(5, 12), Rgb(254, 0, 0));
    EXPECT_EQ(s.Pixel(0, 0), 0u);
}

} // namespace
