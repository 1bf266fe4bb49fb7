// Flag: generation of the waving frames, frame choice and return home.
#include "world/Flag.h"

#include "core/Files.h"
#include "core/GameMath.h"
#include "world/WorldError.h"

#include <algorithm>
#include <cmath>

namespace {
constexpr double TwoPi = 2.0 * M_PI;

// A shaded channel never turns black, so the cloth never gets transparent holes.
uint32_t Shade(uint32_t byte, double dx) {
    if (byte == 0) return 0;
    const int64_t v = Trunc(double(byte) + 30.0 * dx);
    return uint32_t(std::clamp<int64_t>(v, 1, 255));
}
} // namespace

Surface MakeFlagFrame(const Surface& picture, int k, float scale) {
    const double s = scale;
    const int w = picture.Width;
    const int h = picture.Height;
    if (!std::isfinite(s) || s <= 0 || s > 64) return Surface(1, 1);
    const double inv = 1.0 / s;
    const int wd = int(Trunc(double(w) * s));
    const int hd = int(Trunc(double(h) * s));
    if (wd - 1 <= 0) return Surface(1, 1);

    const int m = std::abs(k - 63);
    const double spread = double(m / 8 + 1) / 8.0;
    const int phase = m % 8;
    const bool mirrored = k < 64;

    Surface work(wd, wd);
    const double margin = double(w - h) * s / 2.0;
    const int64_t r0 = Round(margin);
    const int64_t r1 = Round(double(hd) + 1.0 - margin);
    const int64_t lastColumn = Trunc(double(wd - 1) * spread);
    int n = 0;
    for (int64_t r = r0; r <= r1; ++r) {
        ++n;
        const int64_t sy = Trunc(double(n) * inv);
        for (int64_t c = 0; c <= lastColumn; ++c) {
            const int64_t sx = Trunc(double(c + 1) * inv / spread);
            const int64_t t = Round(16.0 * double(c) / spread + 32.0 * phase);
            const double e = std::sqrt(double(c) / (8.0 * spread));
            const double dy = e * std::sin(TwoPi * double(t) / 256.0);
            double dx = e * std::cos(TwoPi * double(t) / 256.0);
            if (mirrored) dx = -dx;
            if (sx < 0 || sy < 0 || sx >= w || sy >= h) continue;
            const uint32_t src = picture.Pixel(int(sx), int(sy));
            const uint32_t px = (Shade((src >> 16) & 0xFF, dx) << 16) | (Shade((src >> 8) & 0xFF, dx) << 8) |
                                Shade(src & 0xFF, dx);
            const int64_t ty = r + Round(dy);
            const int64_t tx = mirrored ? int64_t(wd) - 2 - c : c;
            if (tx < 0 || ty < 0 || tx >= wd || ty >= wd) continue;
            work.SetPixel(int(tx), int(ty), px);
        }
    }
    Surface frame(wd - 1, wd - 1);
    frame.Draw(0, 0, work, false);
    return frame;
}

void TFlag::Create(const TFiles& files, const std::string& flagFile, float scale) {
    const auto path = files.ForReading(flagFile);
    Surface picture;
    if (path.empty() || !picture.LoadFromFile(path.string(), FlagPictureLimit))
        throw TWorldError("Cannot read the flag picture '" + flagFile + "'");
    Build(picture, scale);
}

void TFlag::Build(const Surface& picture, float scale) {
    X = Y = VX = VY = HomeX = HomeY = 0;
    WavePhase = 0;
    State = 0;
    for (int k = 0; k < FlagFrameCount; ++k)
        Frames[size_t(k)] = MakeFlagFrame(picture, k, scale);
}

void TFlag::FlagHome() {
    State = 0;
    X = HomeX;
    Y = HomeY;
    VX = 0;
    VY = 0;
}

int TFlag::FrameIndex() const {
    // Out-of-range motion values still pick an existing frame.
    const double vx = std::isfinite(VX) ? double(VX) : 0.0;
    const double wind = std::clamp(8.0 * (1.0 - vx), -1e6, 1e6);
    const int64_t group = std::clamp<int64_t>(8 * Trunc(wind) + 119, 0, 119);
    const int64_t phase = std::isfinite(WavePhase) ? std::clamp<int64_t>(Trunc(WavePhase), 0, 7) : 0;
    return int(group + phase);
}
