// ViewsCompositionTest: the quick composition of the views gives exactly the picture of laying
// every layer and a fully cleared dot surface over each other one after the other.
#include "WorldTestKit.h"

#include "core/GameMath.h"
#include "core/Worker.h"
#include "media/Canvas.h"
#include "world/Views.h"
#include "world/World.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

int Near(double v) {
    return int(Round(v));
}

// The dots one by one: every live record at its rounded place as seen from the rounded camera,
// later records over earlier ones; a wild position is on no view.
void PlotDots(Surface& dots, const std::vector<TProjectile>& pool, float camX, float camY) {
    dots.Fill(0);
    for (const TProjectile& p : pool) {
        if (p.Kind == 0 || !(std::fabs(p.X) <= 1e8f) || !(std::fabs(p.Y) <= 1e8f)) continue;
        const int64_t x = Round(p.X) - Round(camX);
        const int64_t y = Round(p.Y) - Round(camY);
        if (x >= 0 && x < dots.Width && y >= 0 && y < dots.Height)
            dots.SetPixel(int(x), int(y), Rgb(p.R, p.G, p.B));
    }
}

// Every step of a view, each a whole-surface blit, in the order the layers lie.
void ReferenceViews(TWorld& m, Surface& target) {
    Surface view(320, 430), dots(320, 430);
    for (size_t v = 0; v < 2; ++v) {
        const float camX = m.ViewX[v], camY = m.ViewY[v];
        view.Fill(ColourValueOne);
        view.Draw(-Near(double(camX) * m.BackParallaxX), -Near(double(camY) * m.BackParallaxY), m.BackLayer,
                  false);
        for (const TShip& ship : m.Ships) {
            if (ship.RespawnTimer != 0) continue;
            const Surface& frame = ship.Frames[size_t(ship.FrameIndex())];
            view.Draw(Near(ship.X) - Near(camX) - frame.Width / 2,
                      Near(ship.Y) - Near(camY) - frame.Height / 2, frame, true);
        }
        Canvas canvas(view);
        canvas.PenColor = 0xFFFFFF;
        for (size_t f = 0; f < 2; ++f) {
            const TFlag& flag = m.Flags[f];
            if (flag.State == 0) continue;
            const TShip& carrier = m.Ships[1 - f];
            const int sx = Near(carrier.X) - Near(camX), sy = Near(carrier.Y) - Near(camY);
            const int fx = Near(flag.X) - Near(camX), fy = Near(flag.Y) - Near(camY);
            const int h = flag.Frames[0].Height;
            canvas.MoveTo(sx, sy);
            canvas.LineTo(fx, fy + h / 8 + 1);
            canvas.MoveTo(sx, sy);
            canvas.LineTo(fx, fy + h - h / 8 - 1);
        }
        canvas.Release();
        for (const TFlag& flag : m.Flags) {
            const int i = flag.FrameIndex();
            const Surface& frame = flag.Frames[size_t(i)];
            const int fx = Near(flag.X) - Near(camX), fy = Near(flag.Y) - Near(camY);
            view.Draw(i < 64 ? fx - frame.Width : fx, fy, frame, true);
        }
        view.Draw(-Near(camX), -Near(camY), m.MiddleLayer, true);
        PlotDots(dots, m.Projectiles, camX, camY);
        view.Draw(0, 0, dots, true);
        view.Draw(-Near(double(camX) * m.FrontParallaxX), -Near(double(camY) * m.FrontParallaxY),
                  m.FrontLayer, true);
        target.Draw(320 * int(v) + Near(m.ShakeX[v]), Near(m.ShakeY[v]), view, true);
    }
    if (!m.SingleScreen) target.Draw(319, 0, m.Divider, true);
}

TEST(ViewsComposition, TheQuickViewsMatchTheLayerByLayerPicture) {
    TWorldFolder folder;
    folder.WriteStandardPictures();
    // A back picture narrower than the views' reach, rock with holes, a sparse foreground.
    Surface back(700, 500), middle(900, 700), front(900, 700);
    for (int y = 0; y < 500; ++y)
        for (int x = 0; x < 700; ++x)
            back.SetPixel(x, y, (x * 7 + y * 3) % 11 == 0 ? 0 : Rgb(x % 200, y % 200, 90));
    for (int y = 0; y < 700; ++y)
        for (int x = 0; x < 900; ++x) {
            if ((x / 40 + y / 30) % 3 == 0) middle.SetPixel(x, y, Rgb(120, 80 + x % 50, 40));
            if ((x + y) % 37 == 0) front.SetPixel(x, y, Rgb(10, 200, 10));
        }
    folder.WritePicture("maps\\back.bmp", back);
    folder.WritePicture("maps\\mid.bmp", middle);
    folder.WritePicture("maps\\front.bmp", front);
    folder.WriteText("maps\\t.map", "BACK=back.bmp\nMIDDLE=mid.bmp\nFRONT=front.bmp\nPLY1X=200\nPLY1Y=300\n"
                                    "PLY2X=600\nPLY2Y=350\nFLAG1X=150\nFLAG1Y=280\nFLAG2X=650\nFLAG2Y=280\n");
    auto map = TWorld::Create(folder.Files, TestFont(), TestOptions("maps\\t.map"));
    TWorld& m = *map;
    m.ViewX = {40.5f, 580.2f};
    m.ViewY = {100.4f, 269.6f};
    m.ShakeX = {2.6f, -3.2f};
    m.ShakeY = {-1.4f, 0.5f};
    m.Flags[1].State = 2;
    m.Flags[1].X = 300;
    m.Flags[1].Y = 330;
    m.Ships[1].Angle = 100;

    // Dots everywhere: piled on the same pixels, black ones among them, off the views and wild.
    TRandom rng{99};
    for (size_t i = 0; i < 60000; i += 1 + size_t(rng.Random(3))) {
        TProjectile& p = m.Projectiles[i];
        p.Kind = uint8_t(1 + rng.Random(30));
        p.X = float(rng.Random(900) + rng.RandomReal() - 0.5);
        p.Y = float(rng.Random(700) + rng.RandomReal() - 0.5);
        if (rng.Random(4) == 0) p.X = float(rng.Random(40) + 100); // crowds that overwrite one another
        if (rng.Random(4) == 0) p.Y = float(rng.Random(40) + 200);
        const bool black = rng.Random(5) == 0;
        p.R = black ? 0 : uint8_t(rng.Random(256));
        p.G = black ? 0 : uint8_t(rng.Random(256));
        p.B = black ? 0 : uint8_t(1 + rng.Random(255));
    }
    m.Projectiles[7].X = std::nanf("");
    m.Projectiles[8].Y = 1e30f;
    m.Projectiles[9].X = 319.5f;
    m.Projectiles[9].Kind = 4;

    for (int frame = 0; frame < 2; ++frame) {
        Surface quick(640, 480), threaded(640, 480), reference(640, 480);
        quick.Fill(0x334455);
        threaded.Fill(0x334455);
        reference.Fill(0x334455);
        m.DrawViews(quick);
        ReferenceViews(m, reference);
        // Painted on a worker while the world moves on: the picture is still the one of the world
        // as it was when the views began. The views overlap through their shake, so the second
        // must still be laid over last.
        TWorker worker(true);
        m.BeginViews(threaded, &worker);
        const float shipX = m.Ships[0].X, viewX = m.ViewX[0], shake = m.ShakeX[1];
        const TProjectile dot = m.Projectiles[9];
        m.Ships[0].X += 30;
        m.ViewX[0] += 17;
        m.ShakeX[1] += 5;
        m.Projectiles[9].X += 40;
        const std::vector<uint32_t> field = m.MiddleLayer.Pixels;
        m.MiddleLayer.Pixels.assign(m.MiddleLayer.Pixels.size(), 0xFF00FF);
        m.FinishViews(&worker);
        m.Ships[0].X = shipX;
        m.ViewX[0] = viewX;
        m.ShakeX[1] = shake;
        m.Projectiles[9] = dot;
        m.MiddleLayer.Pixels = field;
        int differences = 0, threadedDifferences = 0;
        for (size_t i = 0; i < quick.Pixels.size(); ++i) {
            differences += quick.Pixels[i] != reference.Pixels[i] ? 1 : 0;
            threadedDifferences += threaded.Pixels[i] != reference.Pixels[i] ? 1 : 0;
        }
        EXPECT_EQ(differences, 0) << frame;
        EXPECT_EQ(threadedDifferences, 0) << frame;
        // The second time round the dot surface still holds the first frame's dots, and the
        // camera has moved onto the back picture's edge.
        m.ViewX = {0, 260};
        m.ViewY = {0, 20};
    }
    m.ShakeX = {0, 0};
    m.ShakeY = {0, 0};
}

} // namespace
