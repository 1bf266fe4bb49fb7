// WorldShipTest: rotate-and-scale, marker scan, frames and masks, the ship-picture check and pilot colours.
#include "WorldTestKit.h"

#include "frontend/PilotRecord.h"
#include "world/Ship.h"
#include "world/ShipPicture.h"
#include "world/WorldError.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>

namespace {

struct Box {
    int MinX = 1 << 30, MinY = 1 << 30, MaxX = -1, MaxY = -1;
};
Box Visible(const Surface& s) {
    Box b;
    for (int y = 0; y < s.Height; ++y)
        for (int x = 0; x < s.Width; ++x)
            if (s.Pixel(x, y) != 0) {
                b.MinX = std::min(b.MinX, x);
                b.MaxX = std::max(b.MaxX, x);
                b.MinY = std::min(b.MinY, y);
                b.MaxY = std::max(b.MaxY, y);
            }
    return b;
}

// Builds the standard test ship once; 130 frames are cheap but there is no need to repeat them.
const TShip& Built() {
    static const std::unique_ptr<TShip> ship = [] {
        auto s = std::make_unique<TShip>();
        s->Build(TestShip(), TestPilot(), 0.5f);
        return s;
    }();
    return *ship;
}

TEST(WorldRotate, WorkSquareAndFrameSizes) {
    EXPECT_EQ(RotateWorkSide(64, 0.5f), 46);
    EXPECT_EQ(RotateWorkSide(64, 1.0f), 90);
    EXPECT_EQ(RotateWorkSide(20, 0.5f), 14);
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
}

TEST(WorldRotate, CropIsSymmetricSoTheCentreStays) {
    // One pixel right of the centre: the crop must keep as much room left of the centre as right of it.
    Surface src(64, 64);
    for (int y = 30; y < 34; ++y)
        for (int x = 40; x < 44; ++x)
            src.SetPixel(x, y, Rgb(200, 0, 9));
    const Surface f = RotateAndScale(src, 64, 0.5f);
    const Box b = Visible(f);
    EXPECT_EQ(b.MaxX, f.Width - 1);           // the far edge touches the frame border
    EXPECT_GT(b.MinX, f.Width / 2);           // and the blob stays right of the centre
    EXPECT_EQ(b.MinY + b.MaxY, f.Height - 1); // vertically centred blob, symmetric crop
}

TEST(WorldRotate, UprightFrameIsTheScaledPicture) {
    const Surface& f = Built().Frames[UprightShipFrame];
    const Surface half = TestShipHalf();
    const Box fb = Visible(f), hb = Visible(half);
    ASSERT_EQ(fb.MaxX - fb.MinX, hb.MaxX - hb.MinX);
    ASSERT_EQ(fb.MaxY - fb.MinY, hb.MaxY - hb.MinY);
    for (int y = 0; y <= hb.MaxY - hb.MinY; ++y)
        for (int x = 0; x <= hb.MaxX - hb.MinX; ++x)
            ASSERT_EQ(f.Pixel(fb.MinX + x, fb.MinY + y), half.Pixel(hb.MinX + x, hb.MinY + y))
                << x << "," << y;
    // The nose is at the top.
    EXPECT_EQ(f.Pixel(fb.MinX + (16 - hb.MinX), fb.MinY), Rgb(255, 255, 0));
}

TEST(WorldRotate, AngleOneTwentyEightPointsLeftTurnedCounterClockwise) {
    const Surface& up = Built().Frames[UprightShipFrame];
    const Surface& left = Built().Frames[64];
    EXPECT_EQ(left.Width, up.Height);
    EXPECT_EQ(left.Height, up.Width);
    const Box b = Visible(left);
    // The yellow nose is in the leftmost visible column.
    bool noseLeft = false;
    for (int y = b.MinY; y <= b.MaxY; ++y)
        noseLeft |= left.Pixel(b.MinX, y) == Rgb(255, 255, 0);
    EXPECT_TRUE(noseLeft);
    // A counter-clockwise quarter turn carries the left wing tip (bottom left when upright) to the
    // bottom right... of a ship pointing left: the tip is at the bottom.
    Box tip;
    for (int y = 0; y < left.Height; ++y)
        for (int x = 0; x < left.Width; ++x)
            if (left.Pixel(x, y) == Rgb(40, 40, 200)) tip = Box{x, y, x, y};
    EXPECT_GT(tip.MinY, left.Height / 2);
    EXPECT_GT(tip.MinX, left.Width / 2);
}

TEST(WorldRotate, NothingVisibleGivesOnePixel) {
    const Surface f = RotateAndScale(Surface(64, 64), 10, 0.5f);
    EXPECT_EQ(f.Width, 1);
    EXPECT_EQ(f.Height, 1);
    EXPECT_EQ(f.Pixel(0, 0), 0u);
    EXPECT_EQ(RotateAndScale(Filled(4, 4, 5), 64, 0.0001f).Width, 1); // scaled to nothing
}

TEST(WorldMarkers, AnglesAroundTheCentre) {
    Surface s = Filled(64, 64, Rgb(50, 50, 50));
    s.SetPixel(42, 32, Rgb(255, 0, 0)); // right of the centre
    s.SetPixel(32, 12, Rgb(255, 0, 0)); // above
    s.SetPixel(12, 32, Rgb(0, 255, 0)); // left
    s.SetPixel(32, 52, Rgb(0, 255, 0)); // below
    std::vector<TMarker> nozzles, guns;
    ScanMarkers(s, 0.5f, nozzles, guns);
    ASSERT_EQ(nozzles.size(), 2u);
    ASSERT_EQ(guns.size(), 2u);
    // Found row by row: the upper nozzle first.
    EXPECT_FLOAT_EQ(nozzles[0].Angle, 0.0f);
    EXPECT_FLOAT_EQ(nozzles[0].Distance, 10.0f);
    EXPECT_FLOAT_EQ(nozzles[1].Angle, 192.0f);
    EXPECT_FLOAT_EQ(guns[0].Angle, 64.0f);
    EXPECT_FLOAT_EQ(guns[1].Angle, 128.0f);
    EXPECT_FLOAT_EQ(guns[1].Distance, 10.0f);
    // Markers are painted out.
    EXPECT_EQ(s.Pixel(42, 32), 0u);
    EXPECT_EQ(s.Pixel(12, 32), 0u);
}

TEST(WorldMarkers, DefaultsReachTheNoseAndTheTail) {
    // Body on the centre column from row 10 to row 49.
    Surface s(64, 64);
    for (int y = 10; y < 50; ++y)
        s.SetPixel(32, y, Rgb(90, 90, 90));
    std::vector<TMarker> nozzles, guns;
    ScanMarkers(s, 0.5f, nozzles, guns);
    ASSERT_EQ(guns.size(), 1u);
    ASSERT_EQ(nozzles.size(), 1u);
    EXPECT_FLOAT_EQ(guns[0].Angle, 0.0f);
    EXPECT_FLOAT_EQ(guns[0].Distance, (32 - 9) * 0.5f + 1); // first black pixel above: row 9
    EXPECT_FLOAT_EQ(nozzles[0].Angle, 128.0f);
    EXPECT_FLOAT_EQ(nozzles[0].Distance, (50 - 32) * 0.5f); // first black pixel below: row 50
    // A body reaching the edges stops the walk at row 0 and at the height.
    Surface full = Filled(64, 64, Rgb(90, 90, 90));
    nozzles.clear();
    guns.clear();
    ScanMarkers(full, 1.0f, nozzles, guns);
    EXPECT_FLOAT_EQ(guns[0].Distance, 33.0f);
    EXPECT_FLOAT_EQ(nozzles[0].Distance, 32.0f);
}

TEST(WorldShipFrames, MasksAreSilhouettesAndThePilotIsMirrored) {
    const TShip& ship = Built();
    EXPECT_EQ(ship.Health, 100.0f);
    EXPECT_EQ(ship.Fuel, 200.0f);
    for (int k : {0, 32, 77, 127}) {
        const Surface& f = ship.Frames[size_t(k)];
        const Surface& m = ship.Masks[size_t(k)];
        ASSERT_EQ(f.Width, m.Width);
        ASSERT_EQ(f.Height, m.Height);
        for (size_t i = 0; i < f.Pixels.size(); ++i)
            ASSERT_EQ(m.Pixels[i], f.Pixels[i] ? 0xFFFFFFu : 0u);
    }
    const Surface& p = ship.Frames[PilotFrame];
    const Surface& q = ship.Frames[PilotFrame + 1];
    EXPECT_LE(p.Width, 6); // the figure's 8 visible columns, halved
    EXPECT_GE(p.Width, 4);
    EXPECT_EQ(p.Height, 10);
    ASSERT_EQ(q.Width, p.Width);
    for (int y = 0; y < p.Height; ++y)
        for (int x = 0; x < p.Width; ++x) {
            ASSERT_EQ(q.Pixel(x, y), p.Pixel(p.Width - 1 - x, y));
            ASSERT_EQ(ship.Masks[PilotFrame + 1].Pixel(x, y), p.Pixel(p.Width - 1 - x, y));
        }
    EXPECT_NE(p.Pixels, q.Pixels); // the figure is not symmetric, so the mirror shows
    // The on-foot masks keep their colours.
    EXPECT_EQ(ship.Masks[PilotFrame].Pixels, p.Pixels);
}

TEST(WorldShipFrames, FootprintsOfTheBottomRow) {
    // Lowest opaque row holds W div 2 - 1 .. W div 2 + 1.
    Surface f(9, 7);
    f.SetPixel(0, 1, 5);
    for (int x = 3; x <= 5; ++x)
        f.SetPixel(x, 6, 5);
    int16_t footY = 0, left = 0, right = 0;
    Footprint(f, footY, left, right);
    EXPECT_EQ(footY, 7 - 7 / 2);
    EXPECT_EQ(left, -1);
    EXPECT_EQ(right, 1);
    // A higher lowest row and a single pixel.
    Surface g(10, 10);
    g.SetPixel(7, 4, 5);
    g.SetPixel(2, 1, 5);
    Footprint(g, footY, left, right);
    EXPECT_EQ(footY, 4 - 5 + 1);
    EXPECT_EQ(left, 2);
    EXPECT_EQ(right, 2);
}

TEST(WorldShipFrames, CreateLoadsThePicturesOrFails) {
    TWorldFolder folder;
    TShip ship;
    EXPECT_THROW(ship.Create(folder.Files, "graphics\\test_ship.bmp", 0.5f), TWorldError);
    folder.WritePicture("graphics\\test_ship.bmp", TestShip());
    EXPECT_THROW(ship.Create(folder.Files, "graphics\\test_ship.bmp", 0.5f), TWorldError); // no pilot figure
    folder.WriteStandardPictures();
    ship.Create(folder.Files, "GRAPHICS\\Test_Ship.bmp", 0.5f);
    EXPECT_EQ(ship.Frames[UprightShipFrame].Pixels, Built().Frames[UprightShipFrame].Pixels);
}

TEST(WorldShipFrames, FrameChoiceFromTheAngle) {
    TShip s;
    s.Angle = 64;
    EXPECT_EQ(s.FrameIndex(), 32);
    s.Angle = 256;
    EXPECT_EQ(s.FrameIndex(), 128);
    s.Angle = 258;
    EXPECT_EQ(s.FrameIndex(), 129);
    s.Angle = 254.9;
    EXPECT_EQ(s.FrameIndex(), 127);
    s.Angle = 260;
    EXPECT_EQ(s.FrameIndex(), -1);
    s.Angle = std::nan("");
    EXPECT_EQ(s.FrameIndex(), -1);
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

TEST(WorldShipPicture, SizeAndBodyCount) {
    EXPECT_TRUE(ShipPictureValid(ShipWithBody(64, 64, 984)));
    EXPECT_TRUE(ShipPictureValid(ShipWithBody(64, 64, 974)));
    EXPECT_TRUE(ShipPictureValid(ShipWithBody(64, 64, 994)));
    EXPECT_FALSE(ShipPictureValid(ShipWithBody(64, 64, 995)));
    EXPECT_FALSE(ShipPictureValid(ShipWithBody(64, 64, 973)));
    EXPECT_FALSE(ShipPictureValid(ShipWithBody(65, 10, 650)));
    EXPECT_FALSE(ShipPictureValid(ShipWithBody(40, 65, 984)));
    // Near-marker colours are body.
    Surface s = ShipWithBody(64, 64, 983);
    s.Pixels[2000] = Rgb(254, 0, 0);
    EXPECT_TRUE(ShipPictureValid(s));
}

TEST(WorldShipPicture, FileCheck) {
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
