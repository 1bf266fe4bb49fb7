// MapPainter: procedural rock, snow, water, pads, skies, honeycomb and overhangs.
#include "content/MapPainter.h"

#include "content/ArtNoise.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

constexpr double Pi = 3.14159265358979;

// Chamfer distance (in pixels, roughly) from every cell to the nearest cell that is not solid.
std::vector<float> DistanceToAir(const CaveGrid& g, float cap) {
    const int w = g.Width, h = g.Height;
    std::vector<float> d(size_t(w) * size_t(h), 0.0f);
    auto at = [&](int x, int y) -> float& { return d[size_t(y) * size_t(w) + size_t(x)]; };
    auto rock = [&](int x, int y) { return g.At(x, y) == Cell::Ground || g.At(x, y) == Cell::Pad; };
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            at(x, y) = rock(x, y) ? cap : 0.0f;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            float& v = at(x, y);
            if (v == 0.0f) continue;
            if (x > 0) v = std::min(v, at(x - 1, y) + 1.0f);
            if (y > 0) v = std::min(v, at(x, y - 1) + 1.0f);
            if (x > 0 && y > 0) v = std::min(v, at(x - 1, y - 1) + 1.41f);
            if (x + 1 < w && y > 0) v = std::min(v, at(x + 1, y - 1) + 1.41f);
        }
    for (int y = h - 1; y >= 0; --y)
        for (int x = w - 1; x >= 0; --x) {
            float& v = at(x, y);
            if (v == 0.0f) continue;
            if (x + 1 < w) v = std::min(v, at(x + 1, y) + 1.0f);
            if (y + 1 < h) v = std::min(v, at(x, y + 1) + 1.0f);
            if (x + 1 < w && y + 1 < h) v = std::min(v, at(x + 1, y + 1) + 1.41f);
            if (x > 0 && y + 1 < h) v = std::min(v, at(x - 1, y + 1) + 1.41f);
        }
    return d;
}

// The textured rock colour of a pixel, before lighting by its depth.
uint32_t RockTexture(int x, int y, const RockPalette& rock, uint32_t seed) {
    const double broad = Fbm(x / 110.0, y / 110.0, 4, seed);
    const double detail = Fbm(x / 13.0, y / 13.0, 3, seed + 11);
    const double warp = Fbm(x / 260.0, y / 260.0, 2, seed + 5);
    const double strata = 0.5 + 0.5 * std::sin((y + warp * 140.0) * 2.0 * Pi / (24.0 + 18.0 * broad));
    uint32_t c = MixColor(rock.Dark, rock.Light, 0.05 + 0.9 * broad + 0.5 * (detail - 0.5));
    if (strata > 0.78)
        c = MixColor(c, rock.Strata, (strata - 0.78) * 1.4 * Fbm(x / 70.0, y / 25.0, 2, seed + 6));
    // Thin dark cracks along the zero line of another noise.
    const double crack = Fbm(x / 55.0, y / 55.0, 3, seed + 21);
    if (std::fabs(crack - 0.5) < 0.005) c = ScaleColor(c, 0.78);
    // Embedded pebbles, lit from the upper left.
    const int cell = 11;
    const int cx = int(std::floor(x / double(cell))), cy = int(std::floor(y / double(cell)));
    if (LatticeValue(cx, cy, seed + 31) < 0.14) {
        const double px = cx * cell + 2 + LatticeValue(cx, cy, seed + 32) * (cell - 4);
        const double py = cy * cell + 2 + LatticeValue(cx, cy, seed + 33) * (cell - 4);
        const double r = 1.6 + 2.0 * LatticeValue(cx, cy, seed + 34);
        const double dx = x + 0.5 - px, dy = y + 0.5 - py;
        if (dx * dx + dy * dy <= r * r) {
            const double tone = LatticeValue(cx, cy, seed + 35);
            uint32_t stone = MixColor(MixColor(c, rock.Light, 0.5), MixColor(c, rock.Dark, 0.5), tone);
            c = ScaleColor(stone, 1.0 - 0.18 * (dx + dy) / r);
        }
    }
    return ScaleColor(c, 0.92 + 0.16 * LatticeValue(x, y, seed + 3));
}

int RunUp(const CaveGrid& g, int x, int y, Cell c, int limit) {
    int n = 0;
    while (n < limit && g.At(x, y - n - 1) == c)
        ++n;
    return n;
}

uint32_t PadPixel(const CaveGrid& g, int x, int y) {
    const int row = RunUp(g, x, y, Cell::Pad, 8);
    int left = 0, right = 0;
    while (left < 200 && g.At(x - left - 1, y) == Cell::Pad)
        ++left;
    while (right < 200 && g.At(x + right + 1, y) == Cell::Pad)
        ++right;
    if (row == 0) return (left < 3 || right < 3) ? 0x60F0A0 : 0xE4E8F0; // landing lights at the ends
    if (row == 1) return 0xA8AEB8;
    if (row <= 3) return ((x + row) / 4) % 2 == 0 ? 0xF0C030 : 0x303038; // hazard stripes
    return (left < 2 || right < 2) ? 0x505460 : 0x6C707C;
}

} // namespace

Surface PaintMiddle(const CaveGrid& g, const RockPalette& rock, uint32_t seed) {
    Surface s(g.Width, g.Height);
    const std::vector<float> depth = DistanceToAir(g, 40.0f);
    ArtRandom water(seed + 77);
    for (int y = 0; y < g.Height; ++y)
        for (int x = 0; x < g.Width; ++x) {
            const Cell c = g.At(x, y);
            uint32_t px = 0;
            if (c == Cell::Ground) {
                const double d = depth[size_t(y) * size_t(g.Width) + size_t(x)];
                px = RockTexture(x, y, rock, seed);
                // Faces near the air catch the light; deep rock falls into shadow.
                px = ScaleColor(px, 0.62 + 0.5 * std::max(0.0, 1.0 - d / 26.0));
                const int airAbove = RunUp(g, x, y, Cell::Ground, 4);
                const bool openAbove = airAbove < 4 && g.At(x, y - airAbove - 1) == Cell::Empty;
                if (openAbove && airAbove < 3 + int(3 * Fbm(x / 9.0, 0.5, 2, seed + 41)))
                    px = MixColor(px, rock.Lip, 0.75 - 0.15 * airAbove);
                else if (g.At(x, y + 1) == Cell::Empty || g.At(x, y + 2) == Cell::Empty)
                    px = ScaleColor(px, 0.68);
                // Crystals set deep enough in the rock not to be edge noise.
                const int gx = x / 46, gy = y / 46;
                if (d > 5 && LatticeValue(gx, gy, seed + 51) < 0.12) {
                    const double cx = gx * 46 + 8 + LatticeValue(gx, gy, seed + 52) * 30;
                    const double cy = gy * 46 + 8 + LatticeValue(gx, gy, seed + 53) * 30;
                    const double ax = std::fabs(x + 0.5 - cx), ay = std::fabs(y + 0.5 - cy);
                    if (ax * 1.8 + ay < 5.0)
                        px = MixColor(rock.Gem, 0xFFFFFF, (x + 0.5 < cx && y + 0.5 < cy) ? 0.5 : 0.0);
                }
                px = NotBlack(px);
            } else if (c == Cell::Snow) {
                const int below = RunUp(g, x, y, Cell::Snow, 12);
                const double n = Fbm(x / 7.0, y / 7.0, 2, seed + 61);
                px = MixColor(0xFFFFFF, 0xB8CCE4, 0.1 + 0.08 * below + 0.3 * n);
                if (LatticeValue(x, y, seed + 62) > 0.985) px = 0xFFFFFF;
            } else if (c == Cell::Water) {
                // The same speckle the game lays over water when it loads the map.
                const int r = water.Below(95);
                px = (x + y) % 2 == 0 ? Rgb(r, r, 255) : 0;
            } else if (c == Cell::Pad) {
                px = PadPixel(g, x, y);
            }
            s.SetPixel(x, y, px);
        }
    return s;
}

Surface PaintDotMap(const CaveGrid& g) {
    Surface s(g.Width, g.Height);
    for (int y = 0; y < g.Height; ++y)
        for (int x = 0; x < g.Width; ++x) {
            uint32_t c = 0;
            switch (g.At(x, y)) {
            case Cell::Ground:
                c = 0x00FF00;
                break;
            case Cell::Snow:
                c = 0xFFFFFF;
                break;
            case Cell::Water:
                c = 0x0000FF;
                break;
            case Cell::Pad:
                c = 0xFF0000;
                break;
            case Cell::Empty:
                break;
            }
            s.SetPixel(x, y, c);
        }
    return s;
}

Surface PaintCaveBack(int w, int h, const RockPalette& rock, uint32_t seed) {
    Surface s(w, h);
    const uint32_t haze = MixColor(rock.Dark, 0x203048, 0.6);
    // Two ranks of far formations: columns of different heights hanging and standing.
    auto formation = [&](int x, double scale, uint32_t salt) {
        const double broad = Fbm(x / (90.0 * scale), 0.5, 3, seed + salt);
        const double spikes = std::pow(Fbm(x / (14.0 * scale), 1.5, 2, seed + salt + 1), 3.0);
        return h * (0.05 + 0.22 * broad * broad + 0.25 * spikes) * scale;
    };
    for (int x = 0; x < w; ++x) {
        const double farTop = formation(x, 0.8, 100), farBottom = formation(x + 5000, 0.7, 200);
        const double nearTop = formation(x, 1.0, 300) * 0.8, nearBottom = formation(x + 9000, 1.0, 400) * 0.7;
        for (int y = 0; y < h; ++y) {
            uint32_t c = ScaleColor(RockTexture(x, y, rock, seed + 7), 0.34);
            c = MixColor(c, haze, 0.35 + 0.25 * std::sin(y * Pi / h));
            if (y < farTop || h - y < farBottom)
                c = MixColor(ScaleColor(RockTexture(x, y, rock, seed + 8), 0.5), haze, 0.45);
            if (y < nearTop || h - y < nearBottom) {
                c = ScaleColor(RockTexture(x, y, rock, seed + 9), 0.62);
                // Rim light on the left flank of each near formation.
                if ((y < nearTop && y >= formation(x - 2, 1.0, 300) * 0.8) ||
                    (h - y < nearBottom && h - y >= formation(x + 8998, 1.0, 400) * 0.7))
                    c = MixColor(c, rock.Lip, 0.35);
            }
            s.SetPixel(x, y, c);
        }
    }
    // Shafts of light falling from cracks far above.
    ArtRandom rnd(seed + 500);
    const int shafts = 2 + w / 500;
    for (int k = 0; k < shafts; ++k) {
        const double x0 = rnd.Range(0.1, 0.9) * w, slope = rnd.Range(0.15, 0.35), width = rnd.Range(18, 50);
        for (int y = 0; y < h; ++y)
            for (int x = int(x0 + y * slope - width); x <= int(x0 + y * slope + width); ++x) {
                const double t = 1.0 - std::fabs(x - (x0 + y * slope)) / width;
                if (t > 0 && s.Contains(x, y))
                    s.SetPixel(x, y, MixColor(s.Pixel(x, y), 0xC8D8E8, 0.13 * t * (1.0 - double(y) / h)));
            }
    }
    // Glowing crystals and fungus in the far wall.
    const int glows = w * h / 26000;
    for (int k = 0; k < glows; ++k) {
        const int gx = rnd.Below(w), gy = rnd.Below(h);
        const uint32_t col = rnd.Below(2) == 0 ? rock.Gem : 0x60E0B0;
        const double r = rnd.Range(2.0, 7.0);
        for (int y = int(gy - r * 3); y <= int(gy + r * 3); ++y)
            for (int x = int(gx - r * 3); x <= int(gx + r * 3); ++x) {
                const double d = std::hypot(x - gx, y - gy);
                if (!s.Contains(x, y)) continue;
                const double t = d < r * 0.4 ? 0.9 : 0.45 * std::exp(-d / r);
                s.SetPixel(x, y, MixColor(s.Pixel(x, y), col, t));
            }
    }
    for (uint32_t& p : s.Pixels)
        p = NotBlack(p);
    return s;
}

Surface PaintSkyBack(int w, int h, const SkyStyle& st, uint32_t seed) {
    Surface s(w, h);
    auto ridge = [&](int layer, int x) {
        const double scale = 1.0 + layer * 0.6;
        const double base = h * (0.30 + 0.14 * layer);
        if (st.Mesas) {
            const double n = Fbm(x / (160.0 * scale), layer * 3.3, 3, seed + 70 + layer);
            const double flat = n > 0.52 ? 1.0 : n > 0.47 ? (n - 0.47) / 0.05 : 0.0;
            return h - (base * 0.35 + base * 0.7 * flat + 8.0 * Fbm(x / 9.0, layer, 2, seed + 80));
        }
        const double n = Fbm(x / (130.0 * scale), layer * 3.3, 6, seed + 70 + layer);
        // Ridged noise gives sharp summits, the fine octaves a broken skyline.
        const double peaks =
            1.0 - std::fabs(2.0 * Fbm(x / (60.0 * scale), layer * 5.1, 4, seed + 90 + layer) - 1.0);
        return h - (base * 0.3 + base * 1.3 * n * peaks * peaks);
    };
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const double t = double(y) / h;
            uint32_t c = t < 0.55 ? MixColor(st.Top, st.Middle, t / 0.55)
                                  : MixColor(st.Middle, st.Bottom, (t - 0.55) / 0.45);
            if (st.Stars && LatticeValue(x, y, seed + 1) > 0.9975)
                c = MixColor(c, 0xFFFFF0, (1.0 - t) * (0.4 + 0.6 * LatticeValue(x, y, seed + 2)));
            if (st.Aurora) {
                const double yc =
                    h * (0.22 + 0.08 * std::sin(x / 170.0 + 2.0 * Fbm(x / 300.0, 0.0, 2, seed + 3)));
                const double band = std::exp(-std::pow((y - yc) / (h * 0.07), 2.0));
                const double streak = Fbm(x / 16.0, 0.3, 2, seed + 4);
                c = MixColor(c, MixColor(0x40F0A0, 0x8050E0, (yc - y) / (h * 0.14) + 0.5),
                             band * streak * 0.8);
            }
            if (st.SunX >= 0.0) {
                const double d = std::hypot(x - st.SunX * w, y - st.SunY * h) / (st.SunRadius * h);
                if (d < 1.0)
                    c = MixColor(st.SunColor, 0xFFFFFF, 0.3 * (1.0 - d));
                else
                    c = MixColor(c, st.SunColor, 0.5 * std::exp(-(d - 1.0) * 1.6));
            }
            if (st.CloudAmount > 0.0) {
                const double n = Fbm(x / 210.0, y / 70.0, 5, seed + 5);
                const double cover =
                    std::clamp((n - (0.62 - 0.3 * st.CloudAmount)) * 4.0, 0.0, 1.0) * (1.0 - t * 0.7);
                const double lit = Fbm((x - 12) / 210.0, (y - 6) / 70.0, 5, seed + 5) - n;
                c = MixColor(c, AddColor(st.CloudColor, int(lit * 160)), cover * 0.85);
            }
            for (int layer = 0; layer < 3; ++layer) {
                const double top = ridge(layer, x);
                if (y < top) continue;
                uint32_t m =
                    ScaleColor(st.Ridge[layer], 0.9 + 0.2 * Fbm(x / 20.0, y / 20.0, 3, seed + 100 + layer));
                // Light from the left on slopes that face it.
                const double slope = std::clamp((ridge(layer, x - 3) - top) / 3.0, -1.5, 1.5);
                m = AddColor(m, int(slope * 14.0 * std::exp(-(y - top) / 30.0)));
                if (st.SnowCaps && y < top + 10 + 20 * Fbm(x / 25.0, layer, 2, seed + 110) &&
                    top < h * (0.72 - 0.05 * layer))
                    m = MixColor(m, 0xE8F0FF, 0.8 - 0.15 * layer);
                m = MixColor(m, ScaleColor(st.Ridge[layer], 0.6), 0.6 * double(y - top) / (h - top + 1));
                // Haze deepens with distance and towards the foot of the mountains.
                m = MixColor(m, st.Bottom,
                             (2 - layer) * 0.22 + 0.15 * (1.0 - double(y - top) / (h - top + 1)));
                c = m;
            }
            s.SetPixel(x, y, NotBlack(c));
        }
    if (st.Lightning) {
        ArtRandom rnd(seed + 900);
        double x = w * 0.62, y = 0.0;
        while (y < h * 0.55) {
            const double nx = x + rnd.Range(-14, 14), ny = y + rnd.Range(6, 18);
            for (int k = 0; k <= 12; ++k) {
                const double px = x + (nx - x) * k / 12.0, py = y + (ny - y) * k / 12.0;
                for (int dy = -6; dy <= 6; ++dy)
                    for (int dx = -6; dx <= 6; ++dx) {
                        const int qx = int(px) + dx, qy = int(py) + dy;
                        const double d = std::hypot(dx, dy);
                        if (s.Contains(qx, qy))
                            s.SetPixel(qx, qy,
                                       MixColor(s.Pixel(qx, qy), 0xF0E8FF,
                                                d < 1.2 ? 1.0 : 0.25 * std::exp(-d / 2.5)));
                    }
            }
            x = nx;
            y = ny;
        }
    }
    return s;
}

Surface PaintHiveBack(int w, int h, uint32_t seed) {
    Surface s(w, h);
    const double size = 26.0; // hexagon radius
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            // Nearest hexagon centre on a pointy-top lattice.
            const double qf = (std::sqrt(3.0) / 3.0 * x - y / 3.0) / size, rf = (2.0 / 3.0 * y) / size;
            double cq = std::round(qf), cr = std::round(rf), cs = std::round(-qf - rf);
            const double dq = std::fabs(cq - qf), dr = std::fabs(cr - rf), ds = std::fabs(cs + qf + rf);
            if (dq > dr && dq > ds)
                cq = -cr - cs;
            else if (dr > ds)
                cr = -cq - cs;
            const double hx = size * std::sqrt(3.0) * (cq + cr / 2.0), hy = size * 1.5 * cr;
            const double dx = x - hx, dy = y - hy;
            // Distance to the hexagon's edge, 0 at the wall, 1 at the centre.
            const double a = std::fabs(dx), b = std::fabs(dy);
            const double edge = 1.0 - std::max(a / (size * 0.866), (a * 0.5 + b * 0.866) / (size * 0.866));
            const double filled = LatticeValue(int(cq), int(cr), seed + 3);
            const double shade = Fbm(x / 180.0, y / 180.0, 3, seed + 4);
            uint32_t c = MixColor(0x2A1606, 0x4A2A0C, shade);
            if (filled > 0.82)
                c = MixColor(0x6A3A08, 0xE09A20,
                             (edge + dy / size * 0.2) * (0.6 + 0.4 * shade)); // honey glows
            else
                c = MixColor(c, 0x120802, std::clamp(edge * 1.4, 0.0, 1.0) * 0.8);
            if (edge < 0.12) c = MixColor(0x8A5A20, 0xC89040, shade); // wax walls
            if (edge < 0.12 && dx + dy < 0) c = AddColor(c, 24);
            c = ScaleColor(c, 0.35 + 0.3 * shade);
            s.SetPixel(x, y, NotBlack(c));
        }
    return s;
}

Surface PaintFront(int w, int h, const FrontStyle& st, uint32_t seed) {
    Surface s(w, h);
    ArtRandom rnd(seed);
    auto solidAt = [&](int x, int y) { return s.Pixel(x, y) != 0; };
    auto spike = [&](double cx, double baseY, double len, double half, int dir) {
        for (int k = 0; k < int(len); ++k) {
            const double t = double(k) / len;
            const double wob = (Fbm(cx / 7.0, k / 9.0, 2, seed + 5) - 0.5) * half * 0.6;
            const double hw = half * std::pow(1.0 - t, st.Icicles ? 1.6 : 0.9) + 0.6;
            const int y = int(baseY) + dir * k;
            for (int x = int(cx + wob - hw); x <= int(cx + wob + hw); ++x)
                if (s.Contains(x, y)) s.SetPixel(x, y, 1);
        }
    };
    const double maxLen = h * st.Length;
    for (double x = rnd.Range(0, st.Spacing); x < w; x += st.Spacing * rnd.Range(0.5, 1.5)) {
        const double edgeness = std::min(x, w - x) / (w * 0.5);
        if (st.CornersOnly && edgeness > 0.45) continue;
        const double lenScale = st.CornersOnly ? (1.0 - edgeness / 0.45) : 1.0;
        spike(x, 0, maxLen * lenScale * rnd.Range(0.3, 1.0), rnd.Range(5, st.Icicles ? 10 : 22), 1);
        if (!st.Icicles && rnd.Real() < 0.6)
            spike(x + rnd.Range(-20, 20), h - 1, maxLen * 0.6 * lenScale * rnd.Range(0.3, 1.0),
                  rnd.Range(8, 26), -1);
    }
    // A ragged band of rock along the top and bottom edges, from which the overhangs grow.
    for (int x = 0; x < w; ++x) {
        const double edgeness = std::min(x, w - x) / (w * 0.5);
        // In corner mode the band thins out towards the middle instead of ending in a cliff.
        const double fade = st.CornersOnly ? std::max(0.0, 1.0 - edgeness / 0.45) : 1.0;
        const int top = int((6 + 16 * Fbm(x / 40.0, 0.5, 3, seed + 8)) * fade);
        const int bottom = int((4 + 14 * Fbm(x / 40.0, 4.5, 3, seed + 9)) * fade);
        for (int y = 0; y < top; ++y)
            s.SetPixel(x, y, 1);
        if (!st.Icicles)
            for (int y = h - bottom; y < h; ++y)
                s.SetPixel(x, y, 1);
    }
    if (st.Vines) {
        for (double x = rnd.Range(0, 90); x < w; x += rnd.Range(40, 160)) {
            const double len = rnd.Range(0.1, 0.3) * h;
            for (int y = 0; y < int(len); ++y) {
                const int vx = int(x + 6.0 * std::sin(y / 17.0 + x));
                s.SetPixel(vx, y, 2);
                s.SetPixel(vx + 1, y, 2);
                if (y % 9 == 4) {
                    s.SetPixel(vx - 2, y, 3);
                    s.SetPixel(vx - 1, y, 3);
                    s.SetPixel(vx + 2, y + 1, 3);
                    s.SetPixel(vx + 3, y + 1, 3);
                }
            }
        }
    }
    // Colour the silhouettes: dark body with texture, light along the left edges.
    Surface out(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const uint32_t m = s.Pixel(x, y);
            if (m == 0) continue;
            uint32_t c = 0;
            if (m == 2)
                c = 0x1E3A1A;
            else if (m == 3)
                c = 0x3C7A2C;
            else {
                const double n = Fbm(x / 12.0, y / 12.0, 3, seed + 20);
                c = ScaleColor(st.Body, 0.75 + 0.5 * n);
                if (!solidAt(x - 1, y) || !solidAt(x - 2, y))
                    c = MixColor(c, st.Rim, 0.7);
                else if (!solidAt(x + 1, y))
                    c = ScaleColor(c, 0.6);
                if (st.Icicles && !solidAt(x - 3, y) && solidAt(x + 3, y)) c = MixColor(c, 0xFFFFFF, 0.5);
            }
            out.SetPixel(x, y, NotBlack(c));
        }
    return out;
}
