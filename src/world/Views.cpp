// Views: the layer order of a view, flags with their strings, the divider and the dots.
#include "world/Views.h"

#include "core/GameMath.h"
#include "core/Worker.h"
#include "media/Canvas.h"
#include "world/World.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>

namespace {
// Far beyond any map; keeps the conversions to integers defined for wild values.
constexpr double FarAway = 1e8;

int Nearest(double v) {
    if (!std::isfinite(v) || std::fabs(v) > FarAway) return v < 0 ? -int(FarAway) : int(FarAway);
    return int(Round(v));
}

// Adding and taking away 1.5 x 2^52 rounds a double to a whole number the way Round does, halves
// to even, without a library call; exact far beyond FarAway. Sixty thousand dots a view need it.
constexpr double RoundingShift = 6755399441055744.0;
inline int64_t QuickRound(double v) {
    return int64_t((v + RoundingShift) - RoundingShift);
}

// Where a camera puts the records: its corner taken to whole pixels; none for a camera lost in
// the wild, which shows no dots.
struct TDotCamera {
    bool Valid = false;
    int64_t X = 0;
    int64_t Y = 0;
};

TDotCamera DotCamera(float x, float y) {
    if (!std::isfinite(x) || !std::isfinite(y) || std::fabs(x) > FarAway || std::fabs(y) > FarAway) return {};
    return TDotCamera{true, Round(x), Round(y)};
}

// The dots of every camera in one pass over the pool, each list in slot order, so later records
// come after earlier ones. A record is rounded once for all the views that see it. Every record is
// written to the end of each list and kept only when its view sees it: the pool is scattered over
// the map, and a test taken as a branch would be guessed wrong at almost every record.
template <size_t N>
size_t GatherDots(const std::vector<TProjectile>& pool, int highest, const std::array<TDotCamera, N>& cameras,
                  int width, int height, const std::array<TDotList*, N>& out) {
    const uint64_t w = uint64_t(std::max(width, 0));
    const uint64_t h = uint64_t(std::max(height, 0));
    const int last = std::min(highest, int(pool.size()) - 1);
    const size_t room = size_t(std::max(last + 1, 0));
    // Kept in locals, so the stores to the lists leave them in registers.
    std::array<TDot*, N> lists{};
    std::array<size_t, N> counts{};
    std::array<int64_t, N> cameraX{};
    std::array<int64_t, N> cameraY{};
    std::array<bool, N> valid{};
    for (size_t v = 0; v < N; ++v) {
        if (out[v]->Dots.size() < room) out[v]->Dots.resize(room);
        lists[v] = out[v]->Dots.data();
        cameraX[v] = cameras[v].X;
        cameraY[v] = cameras[v].Y;
        valid[v] = cameras[v].Valid;
    }
    size_t live = 0;
    for (int i = 0; i <= last; ++i) {
        const TProjectile& p = pool[size_t(i)];
        if (p.Kind == 0) continue;
        ++live;
        const double x = p.X;
        const double y = p.Y;
        // A wild position (or not a number at all) is on no screen.
        if (!(std::fabs(x) <= FarAway) || !(std::fabs(y) <= FarAway)) continue;
        const int64_t rx = QuickRound(x);
        const int64_t ry = QuickRound(y);
        const uint32_t colour = Rgb(p.R, p.G, p.B);
#pragma GCC unroll 2
        for (size_t v = 0; v < N; ++v) {
            const uint64_t px = uint64_t(rx - cameraX[v]);
            const uint64_t py = uint64_t(ry - cameraY[v]);
            const bool seen = valid[v] & (px < w) & (py < h);
            lists[v][counts[v]] = TDot{uint32_t(py * w + px), colour};
            counts[v] += seen ? 1 : 0;
        }
    }
    for (size_t v = 0; v < N; ++v)
        out[v]->Count = counts[v];
    return live;
}

bool SameSize(const Surface& s, int width, int height) {
    return s.Width == width && s.Height == height && s.Pixels.size() == size_t(width) * size_t(height);
}

// Four pixels in one vector register (a compiler extension that GCC and Clang share).
using TPixels4 = uint32_t __attribute__((vector_size(16)));

// A layer over the view, black transparent, with the same clipping as a surface blit; four
// pixels at a time, since three layers and the view itself are laid over twice every frame.
void Overlay(Surface& target, int x, int y, const Surface& layer) {
    int sl = 0, st = 0, sr = layer.Width, sb = layer.Height;
    if (x < 0) {
        sl = -x;
        x = 0;
    }
    if (y < 0) {
        st = -y;
        y = 0;
    }
    sr = std::min(sr, sl + (target.Width - x));
    sb = std::min(sb, st + (target.Height - y));
    if (sr <= sl || sb <= st) return;
    const int w = sr - sl;
    const uint32_t key = layer.TransparentColor;
    for (int row = st; row < sb; ++row) {
        const uint32_t* s = layer.Row(row) + sl;
        uint32_t* d = target.Row(y + row - st) + x;
        int i = 0;
        // Eight pixels at a time: a run wholly transparent leaves the view untouched, and one
        // wholly opaque is copied without reading what lies below; only mixed runs are blended.
        for (; i + 8 <= w; i += 8) {
            TPixels4 source0{};
            TPixels4 source1{};
            std::memcpy(&source0, s + i, sizeof source0);
            std::memcpy(&source1, s + i + 4, sizeof source1);
            const TPixels4 clear0 = TPixels4(source0 == key);
            const TPixels4 clear1 = TPixels4(source1 == key);
            const TPixels4 all = clear0 & clear1;
            const TPixels4 any = clear0 | clear1;
            uint64_t allWords[2] = {0, 0};
            uint64_t anyWords[2] = {0, 0};
            std::memcpy(allWords, &all, sizeof allWords);
            std::memcpy(anyWords, &any, sizeof anyWords);
            if ((allWords[0] & allWords[1]) == ~uint64_t(0)) continue;
            if ((anyWords[0] | anyWords[1]) == 0) {
                std::memcpy(d + i, &source0, sizeof source0);
                std::memcpy(d + i + 4, &source1, sizeof source1);
                continue;
            }
            TPixels4 below0{};
            TPixels4 below1{};
            std::memcpy(&below0, d + i, sizeof below0);
            std::memcpy(&below1, d + i + 4, sizeof below1);
            below0 = (below0 & clear0) | (source0 & ~clear0);
            below1 = (below1 & clear1) | (source1 & ~clear1);
            std::memcpy(d + i, &below0, sizeof below0);
            std::memcpy(d + i + 4, &below1, sizeof below1);
        }
        for (; i < w; ++i)
            if (s[i] != key) d[i] = s[i];
    }
}

// True when the opaque background covers the whole view at this offset.
bool Covers(const Surface& back, int x, int y, const Surface& view) {
    return x <= 0 && y <= 0 && int64_t(x) + back.Width >= view.Width &&
           int64_t(y) + back.Height >= view.Height;
}
} // namespace

bool ViewPixel(double position, double camera, int& out) {
    if (!std::isfinite(position) || !std::isfinite(camera) || std::fabs(position) > FarAway ||
        std::fabs(camera) > FarAway)
        return false;
    out = int(Round(position) - Round(camera));
    return true;
}

void PaintView(TViewWork& work, const Surface& back, const Surface& middle, const Surface& front) {
    Surface& view = work.View;
    // Where the background does not reach, the view shows near-black, not the last frame.
    if (!Covers(back, work.BackX, work.BackY, view)) view.Fill(ColourValueOne);
    view.Draw(work.BackX, work.BackY, back, false);
    for (const TSprite& ship : work.Ships)
        view.Draw(ship.X, ship.Y, *ship.Picture, true);
    Canvas canvas(view);
    canvas.PenColor = 0xFFFFFF;
    for (const TLine& line : work.Strings) {
        canvas.MoveTo(line.X1, line.Y1);
        canvas.LineTo(line.X2, line.Y2);
    }
    canvas.Release();
    for (const TSprite& flag : work.Flags)
        view.Draw(flag.X, flag.Y, *flag.Picture, true);

    // Ships, flags and strings lie under the terrain.
    Overlay(view, work.MiddleX, work.MiddleY, middle);
    // Only the pixels the dots were written to are laid over the view: the same picture as
    // clearing a whole dot surface and laying all of it over, at a fraction of the cost. Black
    // dots stay transparent, and hide an earlier dot on their pixel. The dots index pixels of a
    // view of the world's size, the size the world gives the view and its dot surface.
    if (SameSize(view, ViewWidth, ViewHeight) && SameSize(work.Dots, ViewWidth, ViewHeight)) {
        uint32_t* scratch = work.Dots.Pixels.data();
        uint32_t* pixels = view.Pixels.data();
        for (const TDot& d : work.DotList)
            scratch[d.Cell] = d.Colour;
        for (const TDot& d : work.DotList)
            if (scratch[d.Cell] != 0) pixels[d.Cell] = scratch[d.Cell];
    }
    Overlay(view, work.FrontX, work.FrontY, front);
}

void TWorld::TakeView(size_t v) {
    TViewWork& work = ViewWork[v];
    const float camX = ViewX[v];
    const float camY = ViewY[v];
    work.BackX = -Nearest(double(camX) * double(BackParallaxX));
    work.BackY = -Nearest(double(camY) * double(BackParallaxY));
    work.FrontX = -Nearest(double(camX) * double(FrontParallaxX));
    work.FrontY = -Nearest(double(camY) * double(FrontParallaxY));
    work.ShakeX = Nearest(ShakeX[v]);
    work.ShakeY = Nearest(ShakeY[v]);

    work.Ships.clear();
    for (const TShip& ship : Ships) {
        if (ship.RespawnTimer != 0) continue;
        const int f = ship.FrameIndex();
        int sx = 0, sy = 0;
        if (f < 0 || !ViewPixel(ship.X, camX, sx) || !ViewPixel(ship.Y, camY, sy)) continue;
        const Surface& frame = ship.Frames[size_t(f)];
        work.Ships.push_back(TSprite{&frame, sx - frame.Width / 2, sy - frame.Height / 2});
    }
    work.Strings.clear();
    for (size_t f = 0; f < 2; ++f) {
        const TFlag& flag = Flags[f];
        if (flag.State == 0) continue;
        const TShip& carrier = Ships[1 - f];
        int sx = 0, sy = 0, fx = 0, fy = 0;
        if (!ViewPixel(carrier.X, camX, sx) || !ViewPixel(carrier.Y, camY, sy) ||
            !ViewPixel(flag.X, camX, fx) || !ViewPixel(flag.Y, camY, fy))
            continue;
        const int h = flag.Frames[0].Height;
        work.Strings.push_back(TLine{sx, sy, fx, fy + h / 8 + 1});
        work.Strings.push_back(TLine{sx, sy, fx, fy + h - h / 8 - 1});
    }
    work.Flags.clear();
    for (const TFlag& flag : Flags) {
        int fx = 0, fy = 0;
        if (!ViewPixel(flag.X, camX, fx) || !ViewPixel(flag.Y, camY, fy)) continue;
        const int i = flag.FrameIndex();
        const Surface& frame = flag.Frames[size_t(i)];
        // Below 64 the cloth blows to the left of the pole, so its right edge is at the pole.
        work.Flags.push_back(TSprite{&frame, i < 64 ? fx - frame.Width : fx, fy});
    }

    work.MiddleX = -Nearest(camX);
    work.MiddleY = -Nearest(camY);
}

void TWorld::CopyField(TViewWork& work) const {
    Surface& field = work.Middle;
    field.SetSize(work.View.Width, work.View.Height);
    field.TransparentColor = MiddleLayer.TransparentColor;
    if (!Covers(MiddleLayer, work.MiddleX, work.MiddleY, field)) field.Fill(MiddleLayer.TransparentColor);
    field.Draw(work.MiddleX, work.MiddleY, MiddleLayer, false);
    work.MiddleX = 0;
    work.MiddleY = 0;
}

void TWorld::BeginViews(Surface& target, TWorker* worker) {
    for (size_t v = 0; v < 2; ++v)
        TakeView(v);
    const std::array<TDotCamera, 2> cameras{DotCamera(ViewX[0], ViewY[0]), DotCamera(ViewX[1], ViewY[1])};
    TViewWork& first = ViewWork[0];
    TViewWork& second = ViewWork[1];
    const int lastSlot = int(ProjectileCount) - 1;
    // One pass over the pool sorts out the dots of both views.
    const auto gather = [&] {
        return GatherDots(Projectiles, lastSlot, cameras, ViewWidth, ViewHeight,
                          std::array<TDotList*, 2>{&first.DotList, &second.DotList});
    };
    // With few records the world update is over sooner than the views are handed to the worker
    // and back, so they are painted here and now; the last frame's count decides.
    constexpr size_t HandOverFrom = 8000;
    const bool handOver = worker != nullptr && worker->Threaded() && LiveAtLastViews >= HandOverFrom;
    if (handOver) {
        // The world update digs and settles in the play field while the views are painted, so each
        // view paints from a copy of the field under its camera; the worker copies the fields while
        // this thread sorts out the dots.
        worker->Run([this] {
            for (TViewWork& work : ViewWork)
                CopyField(work);
        });
        LiveAtLastViews = gather();
        worker->Wait();
    } else {
        LiveAtLastViews = gather();
    }
    // From here on painting reads only the views' own work and the two layers no rule changes, and
    // writes only the views and the target, which nothing else touches until the views are finished.
    const auto paint = [this, &target, handOver] {
        for (TViewWork& work : ViewWork)
            PaintView(work, BackLayer, handOver ? work.Middle : MiddleLayer, FrontLayer);
        for (size_t v = 0; v < 2; ++v) {
            const TViewWork& work = ViewWork[v];
            Overlay(target, ViewWidth * int(v) + work.ShakeX, work.ShakeY, work.View);
        }
        if (!SingleScreen) target.Draw(ViewWidth - 1, 0, Divider, true);
    };
    if (handOver) {
        worker->Run(paint);
    } else {
        paint();
    }
}

void TWorld::FinishViews(TWorker* worker) {
    if (worker != nullptr) worker->Wait();
}

void TWorld::DrawViews(Surface& target) {
    BeginViews(target, nullptr);
}
