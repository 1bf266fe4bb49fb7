// WorldFlagTest: waving flag frames, frame choice and the return home.
#include "WorldTestKit.h"

#include "world/Flag.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

const TFlag& Built() {
    static const std::unique_ptr<TFlag> flag = [] {
        auto f = std::make_unique<TFlag>();
        f->Build(TestFlag(), 0.5f);
        return f;
    }();
    return *flag;
}

TEST(WorldFlagFrames, SizesTheClothRowsAtThePoleAndLeftFramesMirroringTheRightOnes) {
    for (const Surface& f : Built().Frames) {
        ASSERT_EQ(f.Width, 15);
        ASSERT_EQ(f.Height, 15);
    }
    // At the pole the wave has no amplitude: the cloth fills rows 2 to 11 there.
    const Surface& right = Built().Frames[126];
    const Surface& left = Built().Frames[0];
    for (int y = 0; y < 15; ++y) {
        const bool cloth = y >= 2 && y <= 11;
        EXPECT_EQ(right.Pixel(0, y) != 0, cloth) << y;
        EXPECT_EQ(left.Pixel(14, y) != 0, cloth) << y;
    }
    // The shading lightens or darkens a channel but never blackens it, and a channel of 0 stays 0:
    // every cloth pixel keeps its blue and exactly one of red and green.
    for (const Surface& f : Built().Frames) {
        for (uint32_t px : f.Pixels) {
            if (px == 0) continue;
            ASSERT_GE(px & 0xFF, 1u);
            ASSERT_TRUE((((px >> 16) & 0xFF) == 0) != (((px >> 8) & 0xFF) == 0)) << std::hex << px;
        }
    }
    EXPECT_EQ(right.Pixel(0, 5), Rgb(0, 200, 200)); // no shading where the wave starts
    // Left frames mirror the right ones.
    for (int k = 0; k <= 62; ++k) {
        const Surface& a = Built().Frames[size_t(k)];
        const Surface& b = Built().Frames[size_t(126 - k)];
        for (int y = 0; y < 15; ++y)
            for (int x = 0; x < 15; ++x)
                ASSERT_EQ(a.Pixel(x, y) != 0, b.Pixel(14 - x, y) != 0) << k;
    }
}

TEST(WorldFlagFrames, SpreadSqueezesTheCloth) {
    auto width = [](const Surface& f) {
        int maxX = -1;
        for (int y = 0; y < f.Height; ++y)
            for (int x = 0; x < f.Width; ++x)
                if (f.Pixel(x, y)) maxX = std::max(maxX, x);
        return maxX + 1;
    };
    EXPECT_EQ(width(Built().Frames[119]), 15); // spread 1 reaches across
    EXPECT_LT(width(Built().Frames[71]), 5);   // spread 2/8
    EXPECT_LE(width(Built().Frames[64]), 2);   // spread 1/8
    // The two halves of the picture keep their order along the cloth.
    EXPECT_EQ(Built().Frames[119].Pixel(0, 6), Rgb(0, 200, 200));
}

TEST(WorldFlagFrames, PicturesTooSmallGiveOnePixelFrames) {
    TFlag f;
    f.Build(Filled(3, 3, Rgb(1, 2, 3)), 0.5f);
    EXPECT_EQ(f.Frames[127].Height, 1);
    EXPECT_EQ(MakeFlagFrame(Surface(), 64, 0.5f).Width, 1);
}

TEST(WorldFlagFrames, ChoiceFromWindAndPhase) {
    TFlag f;
    const std::pair<float, int> cases[] = {{1.0f, 119}, {0.0f, 119}, {-5.0f, 119}, {2.0f, 55},
                                           {3.0f, 0},   {40.0f, 0},  {1.5f, 87}};
    for (auto [vx, base] : cases) {
        f.VX = vx;
        f.WavePhase = 0;
        EXPECT_EQ(f.FrameIndex(), base) << vx;
        f.WavePhase = 7.9;
        EXPECT_EQ(f.FrameIndex(), base + 7) << vx;
    }
    f.VX = 1;
    f.WavePhase = 12; // never reached by the rules; still an existing frame
    EXPECT_LT(f.FrameIndex(), FlagFrameCount);
}

} // namespace
