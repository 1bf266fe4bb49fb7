// Views: the layer order of a view, flags with their strings, the divider and the dots.
#include "world/Views.h"

#include "app/GameMath.h"
#include "media/Canvas.h"
#include "world/World.h"

#include <algorithm>
#include <cmath>

namespace {
// Far beyond any map; keeps the conversions to integers defined for wild values.
constexpr double FarAway = 1e8;

int Nearest(double v) {
    if (!std::isfinite(v) || std::fabs(v) > FarAway) return v < 0 ? -int(FarAway) : int(FarAway);
    return int(Round(v));
}
} // namespace

bool ViewPixel(double position, double camera, int& out) {
    if (!std::isfinite(position) || !std::isfinite(camera) || std::fabs(position) > FarAway ||
        std::fabs(camera) > FarAway)
        return false;
    out = int(Round(position) - Round(camera));
    return true;
}

void DrawDots(Surface& dots, const std::vector<TProjectile>& pool, int highest, float cameraX,
              float cameraY) {
    dots.Fill(0);
    const int last = std::min(highest, int(pool.size()) - 1);
    for (int i = 0; i <= last; ++i) {
        const TProjectile& p = pool[size_t(i)];
        if (p.Kind == 0) continue;
        int px = 0, py = 0;
        if (!ViewPixel(p.X, cameraX, px) || px < 0 || px >= dots.Width) continue;
        if (!ViewPixel(p.Y, cameraY, py) || py < 0 || py >= dots.Height) continue;
        dots.Row(py)[px] = Rgb(p.R, p.G, p.B);
    }
}

void TMap::DrawViews(Surface& target) {
    for (size_t v = 0; v < 2; ++v) {
        const float camX = ViewX[v];
        const float camY = ViewY[v];
        // Where the background does not reach, the view shows near-black, not the last frame.
        ViewSurface.Fill(ColourValueOne);
        ViewSurface.Draw(-Nearest(double(camX) * double(BackParallaxX)),
                         -Nearest(double(camY) * double(BackParallaxY)), BackLayer, false);

        for (const TShip& ship : Ships) {
            if (ship.RespawnTimer != 0) continue;
            const int f = ship.FrameIndex();
            int sx = 0, sy = 0;
            if (f < 0 || !ViewPixel(ship.X, camX, sx) || !ViewPixel(ship.Y, camY, sy)) continue;
            const Surface& frame = ship.Frames[size_t(f)];
            ViewSurface.Draw(sx - frame.Width / 2, sy - frame.Height / 2, frame, true);
        }

        Canvas canvas(ViewSurface);
        canvas.PenColor = 0xFFFFFF;
        for (size_t f = 0; f < 2; ++f) {
            const TFlag& flag = Flags[f];
            if (flag.State == 0) continue;
            const TShip& carrier = Ships[1 - f];
            int sx = 0, sy = 0, fx = 0, fy = 0;
            if (!ViewPixel(carrier.X, camX, sx) || !ViewPixel(carrier.Y, camY, sy) ||
                !ViewPixel(flag.X, camX, fx) || !ViewPixel(flag.Y, camY, fy))
                continue;
            const int h = flag.Frames[0].Height;
            canvas.MoveTo(sx, sy);
            canvas.LineTo(fx, fy + h / 8 + 1);
            canvas.MoveTo(sx, sy);
            canvas.LineTo(fx, fy + h - h / 8 - 1);
        }
        canvas.Release();

        for (const TFlag& flag : Flags) {
            int fx = 0, fy = 0;
            if (!ViewPixel(flag.X, camX, fx) || !ViewPixel(flag.Y, camY, fy)) continue;
            const int i = flag.FrameIndex();
            const Surface& frame = flag.Frames[size_t(i)];
            // Below 64 the cloth blows to the left of the pole, so its right edge is at the pole.
            ViewSurface.Draw(i < 64 ? fx - frame.Width : fx, fy, frame, true);
        }

        // Ships, flags and strings lie under the terrain.
        ViewSurface.Draw(-Nearest(camX), -Nearest(camY), MiddleLayer, true);
        DrawDots(DotSurface, Projectiles, int(ProjectileCount) - 1, camX, camY);
        ViewSurface.Draw(0, 0, DotSurface, true);
        ViewSurface.Draw(-Nearest(double(camX) * double(FrontParallaxX)),
                         -Nearest(double(camY) * double(FrontParallaxY)), FrontLayer, true);

        target.Draw(ViewWidth * int(v) + Nearest(ShakeX[v]), Nearest(ShakeY[v]), ViewSurface, true);
    }
    if (!SingleScreen) target.Draw(ViewWidth - 1, 0, Divider, true);
}
