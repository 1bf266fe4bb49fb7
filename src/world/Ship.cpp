// Ship: rotate-and-scale, marker scan, frames, masks and footprints of a ship.
#include "world/Ship.h"

#include "core/Files.h"
#include "core/GameMath.h"
#include "world/WorldError.h"

#include <algorithm>
#include <cmath>

namespace {
constexpr double TwoPi = 2.0 * M_PI;
constexpr uint32_t RgbMask = 0xFFFFFF;
constexpr uint32_t PureRed = 0xFF0000;
constexpr uint32_t PureGreen = 0x00FF00;
constexpr uint32_t White = 0xFFFFFF;

Surface OnePixel() {
    Surface s(1, 1);
    return s;
}

TMarker MarkerAt(int x, int y, int w, int h, float scale) {
    // The centre is the exact middle of the picture, not a pixel.
    const double dx = double(x) - double(w) / 2.0;
    const double dy = double(y) - double(h) / 2.0;
    TMarker m;
    m.Angle = float(std::atan2(dy, double(w) / 2.0 - double(x)) / TwoPi * 256.0 + 64.0);
    m.Distance = float(std::sqrt(dx * dx + dy * dy) * double(scale));
    return m;
}

Surface LoadPicture(const TFiles& files, const std::string& winPath, const char* what) {
    const auto path = files.ForReading(winPath);
    Surface s;
    if (path.empty() || !s.LoadFromFile(path.string(), ShipPictureLimit))
        throw TWorldError(std::string("Cannot read the ") + what + " picture '" + winPath + "'");
    return s;
}
} // namespace

int RotateWorkSide(int sourceHeight, float scale) {
    const double s = scale;
    // Beyond the largest scale a map may ask for the frames would not fit in memory anyway.
    if (!std::isfinite(s) || s <= 0 || s > 64) return 0;
    const double half = double(sourceHeight / 2);
    return int(2 * ((Trunc(std::sqrt(2.0 * half * half) * 2.0 * s) + 1) / 2));
}

Surface RotateAndScale(const Surface& source, int angle, float scale) {
    const int w = source.Width;
    const int h = source.Height;
    const int d = RotateWorkSide(h, scale);
    if (d <= 0 || source.Empty()) return OnePixel();
    const double inv = 1.0 / double(scale);
    const int a = Wrap256(int64_t(angle) - 64);
    const double radius = std::sqrt(2.0 * double(d / 2) * double(d / 2));
    const double u0 = double(w / 2) + std::cos(TwoPi * double(a + 160) / 256.0) * radius * inv;
    const double v0 = double(h / 2) + std::sin(TwoPi * double(a + 160) / 256.0) * radius * inv;
    const double du = std::cos(TwoPi * double(a) / 256.0) * inv;
    const double dv = std::sin(TwoPi * double(a) / 256.0) * inv;

    Surface work(d, d);
    int minX = d - 1, maxX = 0, minY = d - 1, maxY = 0;
    bool any = false;
    for (int r = 0; r < d; ++r) {
        uint32_t* out = work.Row(r);
        for (int c = 0; c < d; ++c) {
            const double u = u0 + double(c + 1) * du - double(r) * dv;
            const double v = v0 + double(c + 1) * dv + double(r) * du;
            const int64_t sx = Trunc(u);
            const int64_t sy = Trunc(v);
            if (sx < 0 || sy < 0 || sx >= w || sy >= h) continue;
            const uint32_t px = source.Pixel(int(sx), int(sy)) & RgbMask;
            out[c] = px;
            if (px != 0) {
                any = true;
                minX = std::min(minX, c);
                maxX = std::max(maxX, c);
                minY = std::min(minY, r);
                maxY = std::max(maxY, r);
            }
        }
    }
    // Nothing visible: the symmetric crop would leave a negative size.
    if (!any) return OnePixel();
    const int cx = std::min(minX, d - 1 - maxX);
    const int cy = std::min(minY, d - 1 - maxY);
    Surface frame(d - 2 * cx, d - 2 * cy);
    frame.Draw(-cx, -cy, work, false);
    return frame;
}

void ScanMarkers(Surface& picture, float scale, std::vector<TMarker>& nozzles, std::vector<TMarker>& guns) {
    const int w = picture.Width;
    const int h = picture.Height;
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            if ((picture.Pixel(x, y) & RgbMask) == PureRed) {
                picture.SetPixel(x, y, 0);
                nozzles.push_back(MarkerAt(x, y, w, h, scale));
            }
            if ((picture.Pixel(x, y) & RgbMask) == PureGreen) {
                picture.SetPixel(x, y, 0);
                guns.push_back(MarkerAt(x, y, w, h, scale));
            }
        }
    }
    const int cx = w / 2;
    if (guns.empty()) {
        // Shots leave one pixel beyond the nose: up the centre column to the first black pixel.
        int r = h / 2 - 1;
        while (r > 0 && (picture.Pixel(cx, r) & RgbMask) != 0)
            --r;
        guns.push_back(TMarker{0.0f, float(double(h / 2 - r) * double(scale) + 1.0)});
    }
    if (nozzles.empty()) {
        int r = h / 2 + 1;
        while (r < h && (picture.Pixel(cx, r) & RgbMask) != 0)
            ++r;
        nozzles.push_back(TMarker{128.0f, float(double(r - h / 2) * double(scale))});
    }
}

void Footprint(const Surface& frame, int16_t& footY, int16_t& footLeft, int16_t& footRight) {
    int lowest = 0, left = 0, right = 0;
    for (int y = 0; y < frame.Height; ++y) {
        const uint32_t* row = frame.Row(y);
        for (int x = 0; x < frame.Width; ++x) {
            if ((row[x] & RgbMask) == 0) continue;
            if (y > lowest) {
                lowest = y;
                left = x;
                right = x;
            }
            left = std::min(left, x);
            right = std::max(right, x);
        }
    }
    footY = int16_t(lowest - frame.Height / 2 + 1);
    footLeft = int16_t(left - frame.Width / 2);
    footRight = int16_t(right - frame.Width / 2);
}

void TShip::Create(const TFiles& files, const std::string& shipFile, float scale) {
    Surface ship = LoadPicture(files, shipFile, "ship");
    const Surface pilot = LoadPicture(files, PilotFigureFile, "pilot");
    Build(std::move(ship), pilot, scale);
}

void TShip::Build(Surface ship, const Surface& pilot, float scale) {
    OnFoot = 0;
    Health = 100;
    Fuel = 200;
    CapturesThisLife = 0;
    LifeSeconds = 0;
    EnemyBaseSeconds = 0;
    Nozzles.clear();
    Guns.clear();
    ScanMarkers(ship, scale, Nozzles, Guns);
    for (int k = 0; k < 128; ++k) {
        Surface& mask = Masks[size_t(k)];
        mask = RotateAndScale(ship, 2 * k, scale);
        Frames[size_t(k)] = mask;
        for (uint32_t& px : mask.Pixels)
            if ((px & RgbMask) != 0) px = White;
    }
    // The figure is scaled but not turned; the on-foot masks keep their colours.
    Masks[PilotFrame] = RotateAndScale(pilot, 64, scale);
    Frames[PilotFrame] = Masks[PilotFrame];
    const Surface& m128 = Masks[PilotFrame];
    Surface mirror(m128.Width, m128.Height);
    for (int y = 0; y < m128.Height; ++y)
        for (int x = 0; x < m128.Width; ++x)
            mirror.SetPixel(x, y, m128.Pixel(m128.Width - 1 - x, y));
    Masks[PilotFrame + 1] = mirror;
    Frames[PilotFrame + 1] = std::move(mirror);
}

void TShip::ComputeFootprints() {
    Footprint(Frames[UprightShipFrame], FootY[0], FootLeft[0], FootRight[0]);
    Footprint(Frames[PilotFrame], FootY[1], FootLeft[1], FootRight[1]);
}

int TShip::FrameIndex() const {
    if (!std::isfinite(Angle)) return -1;
    const int64_t f = Round(Angle) / 2;
    return (f >= 0 && f < ShipFrameCount) ? int(f) : -1;
}
