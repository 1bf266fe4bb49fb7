// Flight: the controls of a ship or a pilot on foot, the camera, the feet, motion, terrain contact and water.
#include "core/GameMath.h"
#include "world/World.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr uint8_t SparkKind = 4;
constexpr uint8_t LooseSnowKind = 6;
constexpr int UprightAngle = 64;
constexpr double PilotFacingLeft = 256;
constexpr double PilotFacingRight = 258;

// The silhouette the ship shows at its heading; an angle that selects no frame has none.
const Surface* CurrentMask(const TShip& ship) {
    const int frame = ship.FrameIndex();
    if (frame < 0) return nullptr;
    const Surface& mask = ship.Masks[size_t(frame)];
    return mask.Empty() ? nullptr : &mask;
}

size_t Form(const TShip& ship) {
    return ship.OnFoot != 0 ? 1 : 0;
}

} // namespace

void TWorld::Thrust(int p) {
    TShip& s = Ships[size_t(p)];
    if (!(s.Fuel > 0)) return;
    const double rate = FrameRate;
    s.Fuel = float(std::max(0.0, double(s.Fuel) - 10.0 / rate));
    if (s.OnFoot == 0) {
        const int64_t heading = Round(s.Angle);
        s.VX = float(double(s.VX) + TurnCos(heading) * Scale * 20.0 / rate);
        s.VY = float(double(s.VY) - TurnSin(heading) * Scale * 20.0 / rate);
        const int64_t sparks = Round(double(Scale) * Scale * 640.0 / rate) + 2;
        for (int64_t i = 0; i < sparks; ++i) {
            double x = double(s.X) - 1;
            double y = s.Y;
            if (!s.Nozzles.empty()) {
                ++s.NozzleIndex;
                if (s.NozzleIndex >= s.Nozzles.size()) s.NozzleIndex = 0;
                const TMarker& nozzle = s.Nozzles[s.NozzleIndex];
                const int64_t at = Round(s.Angle + nozzle.Angle);
                x = TurnCos(at) * nozzle.Distance + s.X - 1;
                y = s.Y - TurnSin(at) * nozzle.Distance;
            }
            const int32_t spread = Rng.Random(33);
            const double r = Rng.RandomReal();
            const int64_t a = Round(s.Angle + 112 + spread);
            const double speed = Scale * (4 + 8 * r);
            Spawn(SparkKind, float(x), float(y), float(s.VX + TurnCos(a) * speed),
                  float(s.VY - TurnSin(a) * speed));
        }
    } else {
        s.VY = float(double(s.VY) - 7.0 / rate * Scale);
        const int64_t sparks = Round(double(Scale) * Scale * 320.0 / rate) + 2;
        // The pack sits on the pilot's back, behind the way he faces.
        const bool facingRight = s.Angle > 257;
        const double packX = facingRight ? s.X - 3.5 * Scale : s.X + 2.5 * Scale;
        const double packY = s.Y + 4.0 * Scale;
        for (int64_t i = 0; i < sparks; ++i) {
            const double rx = Rng.RandomReal();
            const double ry = Rng.RandomReal();
            Spawn(SparkKind, float(packX), float(packY), float(s.VX + (4 * rx - 2) * Scale),
                  float(s.VY + (4 * ry + 4) * Scale));
        }
    }
}

void TWorld::TurnLeft(int p) {
    TShip& s = Ships[size_t(p)];
    if (s.OnFoot != 0) {
        s.VX = float(double(s.VX) - 10.0 / FrameRate * Scale);
        s.Angle = PilotFacingLeft;
    } else if (s.AtOwnBase == 0) {
        s.Angle += 160.0 / FrameRate;
    }
}

void TWorld::TurnRight(int p) {
    TShip& s = Ships[size_t(p)];
    if (s.OnFoot != 0) {
        s.VX = float(double(s.VX) + 10.0 / FrameRate * Scale);
        s.Angle = PilotFacingRight;
    } else if (s.AtOwnBase == 0) {
        s.Angle -= 160.0 / FrameRate;
    }
}

void TWorld::FollowCamera(int p) {
    const TShip& s = Ships[size_t(p)];
    const size_t v = size_t(p);
    double x = 0;
    if (s.OnFoot != 0) {
        // A pilot looks 40 pixels ahead of the way he faces.
        x = (double(Trunc(s.Angle) - 257) * 40 + 29.0 * ViewX[v] + s.X - 160 + 40.0 * s.VX) / 30;
    } else {
        x = (TurnCos(Trunc(s.Angle)) * 30 + 5.0 * ViewX[v] + s.X - 160 + 10.0 * s.VX) / 6;
    }
    double y = double(s.Y) - 215;
    // A map smaller than a view keeps the view at its left or top edge.
    x = std::max(0.0, std::min(x, double(MiddleLayer.Width - ViewWidth)));
    y = std::max(0.0, std::min(y, double(MiddleLayer.Height - ViewHeight)));
    ViewX[v] = float(x);
    ViewY[v] = float(y);
}

void TWorld::CheckFeet(int p) {
    TShip& s = Ships[size_t(p)];
    if (!(std::fabs(s.Angle - UprightAngle) < 9) && s.OnFoot == 0) return;
    const size_t f = Form(s);
    const int x = int(Round(s.X));
    const int xl = x + s.FootLeft[f];
    const int xr = x + s.FootRight[f];
    const int feet = int(Round(s.Y)) + s.FootY[f];

    // Hovering one row above the ground straightens the ship before it touches down.
    if (s.OnFoot == 0 && Footing(TerrainBitmap.Get(xl, feet + 1)) && Footing(TerrainBitmap.Get(xr, feet + 1)))
        s.Angle = UprightAngle;

    if (!Footing(TerrainBitmap.Get(xl, feet)) || !Footing(TerrainBitmap.Get(xr, feet))) return;
    s.VX = float(s.VX / 1.5);
    if (s.VY > 0) s.VY = 0;
    if (s.OnFoot == 0) s.Angle = UprightAngle;
    if (TerrainBitmap.Get(xl, feet) != TerrainPad) return;
    // A pad belongs to whichever start point is nearer.
    const TShip& enemy = Ships[size_t(1 - p)];
    const double dE = std::hypot(double(s.X) - enemy.StartX, double(s.Y) - enemy.StartY);
    const double dO = std::hypot(double(s.X) - s.StartX, double(s.Y) - s.StartY);
    if (dE <= dO)
        s.AtEnemyBase = 1;
    else
        s.AtOwnBase = 1;
}

void TWorld::Move(int p) {
    TShip& s = Ships[size_t(p)];
    s.X += s.VX;
    s.Y += s.VY;
    s.VY = float(double(s.VY) + 4.0 / FrameRate * Scale);
    s.VX = float(s.VX / 1.01);
    s.VY = float(s.VY / 1.01);
}

void TWorld::TerrainContact(int p, TWaveList&) {
    TShip& s = Ships[size_t(p)];
    const Surface* mask = CurrentMask(s);
    if (mask == nullptr) return;
    const int w = mask->Width;
    const int h = mask->Height;
    // Leaving the world at the top or the bottom is fatal.
    if (s.Y - h / 2 - 1 < 0 || s.Y + h / 2 + 1 >= TerrainBitmap.Height) s.Alive = 0;
    if (s.Alive == 0) return;

    const int left = int(Round(s.X)) - w / 2;
    const int top = int(Round(s.Y)) - h / 2;
    auto damage = [&s] {
        s.Health -= 20;
        if (s.Health <= 0) {
            s.Alive = 0;
            s.Health = 0;
        }
    };
    for (int r = 0; r < h; ++r) {
        for (int c = 0; c < w; ++c) {
            if (!MaskSolid(mask->Pixel(c, r))) continue;
            const int mx = left + c;
            const int my = top + r;
            if (!TerrainBitmap.Contains(mx, my)) {
                s.Alive = 0;
                continue;
            }
            const uint8_t cls = TerrainBitmap.Get(mx, my);
            if (cls == TerrainEmpty || cls == TerrainWater) continue;
            if (cls == TerrainGlue) {
                s.VX = float(s.VX / 1.1);
                s.VY = float(s.VY / 1.1);
            } else if (cls == TerrainSnow) {
                s.VX = float(s.VX / 1.01);
                s.VY = float(s.VY / 1.01);
                // The snow is pushed aside as a loose flake of its own colour.
                const uint32_t colour = MiddleLayer.Pixel(mx, my);
                Spawn(LooseSnowKind, float(mx), float(my), s.VX, s.VY);
                TProjectile& flake = Projectiles[ProjectileCursor];
                flake.R = uint8_t(colour >> 16);
                flake.G = uint8_t(colour >> 8);
                flake.B = uint8_t(colour);
                TerrainBitmap.Set(mx, my, TerrainEmpty);
                MiddleLayer.SetPixel(mx, my, 0);
            } else if (cls == TerrainPad) {
                // A pad is never dug away, but it still hurts.
                damage();
            } else {
                TerrainBitmap.Set(mx, my, TerrainEmpty);
                MiddleLayer.SetPixel(mx, my, 0);
                damage();
            }
        }
    }
}

void TWorld::Float(int p) {
    TShip& s = Ships[size_t(p)];
    const int x = int(Round(s.X));
    const int y = int(Round(s.Y));
    if (TerrainBitmap.Get(x, y) == TerrainWater) {
        s.VY = float(s.VY / 1.12);
        s.VX = float(s.VX / 1.12);
        s.VY = float(double(s.VY) - 6.0 / FrameRate * Scale);
    } else if (TerrainBitmap.Get(x, y + 1) == TerrainWater) {
        s.VY = float(double(s.VY) - 4.0 / FrameRate * Scale);
    }
}
