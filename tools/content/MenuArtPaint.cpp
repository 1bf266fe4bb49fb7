// MenuArtPaint: the drawing primitives behind the menu pictures.
#include "content/MenuArtPaint.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace menuart {
namespace {

int Red(uint32_t c) {
    return int((c >> 16) & 0xFF);
}
int Green(uint32_t c) {
    return int((c >> 8) & 0xFF);
}
int Blue(uint32_t c) {
    return int(c & 0xFF);
}
int Clamp8(double v) {
    return std::clamp(int(std::lround(v)), 0, 255);
}

double Smooth(double t) {
    return t * t * (3.0 - 2.0 * t);
}

} // namespace

uint32_t Visible(uint32_t c) {
    return (c & 0xFFFFFF) == 0 ? NearBlack : (c & 0xFFFFFF);
}

uint32_t Mix(uint32_t a, uint32_t b, double t) {
    t = std::clamp(t, 0.0, 1.0);
    return Rgb(Clamp8(Red(a) + (Red(b) - Red(a)) * t), Clamp8(Green(a) + (Green(b) - Green(a)) * t),
               Clamp8(Blue(a) + (Blue(b) - Blue(a)) * t));
}

uint32_t Shade(uint32_t c, double factor) {
    return Rgb(Clamp8(Red(c) * factor), Clamp8(Green(c) * factor), Clamp8(Blue(c) * factor));
}

uint32_t AddLight(uint32_t a, uint32_t b) {
    return Rgb(std::min(255, Red(a) + Red(b)), std::min(255, Green(a) + Green(b)),
               std::min(255, Blue(a) + Blue(b)));
}

void Put(Surface& s, int x, int y, uint32_t c) {
    s.SetPixel(x, y, Visible(c));
}

void Blend(Surface& s, int x, int y, uint32_t c, double alpha) {
    if (!s.Contains(x, y)) return;
    Put(s, x, y, Mix(s.Pixel(x, y), c, alpha));
}

void AddGlow(Surface& s, int x, int y, uint32_t c, double amount) {
    if (!s.Contains(x, y) || amount <= 0) return;
    Put(s, x, y, AddLight(s.Pixel(x, y), Shade(c, std::min(amount, 1.0))));
}

void FillBox(Surface& s, const TRect& r, uint32_t c) {
    for (int y = r.Top; y < r.Bottom; ++y)
        for (int x = r.Left; x < r.Right; ++x)
            Put(s, x, y, c);
}

void VerticalGradient(Surface& s, const TRect& r, uint32_t top, uint32_t bottom) {
    const int h = std::max(1, r.Height() - 1);
    for (int y = r.Top; y < r.Bottom; ++y)
        for (int x = r.Left; x < r.Right; ++x)
            Put(s, x, y, Mix(top, bottom, double(y - r.Top) / h));
}

void Outline(Surface& s, const TRect& r, uint32_t c) {
    for (int x = r.Left; x < r.Right; ++x) {
        Put(s, x, r.Top, c);
        Put(s, x, r.Bottom - 1, c);
    }
    for (int y = r.Top; y < r.Bottom; ++y) {
        Put(s, r.Left, y, c);
        Put(s, r.Right - 1, y, c);
    }
}

void Bevel(Surface& s, const TRect& r, int depth, uint32_t light, uint32_t dark) {
    for (int d = 0; d < depth; ++d) {
        // The outermost ring is the strongest; inner rings fade into the face.
        const double a = 1.0 - double(d) / (depth + 1);
        for (int x = r.Left + d; x < r.Right - d; ++x) {
            Blend(s, x, r.Top + d, light, a);
            Blend(s, x, r.Bottom - 1 - d, dark, a);
        }
        for (int y = r.Top + d + 1; y < r.Bottom - d - 1; ++y) {
            Blend(s, r.Left + d, y, light, a);
            Blend(s, r.Right - 1 - d, y, dark, a);
        }
    }
}

void SteelPlate(Surface& s, const TRect& r, uint32_t base, int seed, bool raised) {
    const int h = std::max(1, r.Height() - 1);
    for (int y = r.Top; y < r.Bottom; ++y)
        for (int x = r.Left; x < r.Right; ++x) {
            // Horizontal brushing: grain stretched along x, plus a soft sheen from the top.
            const double grain = ValueNoise(x * 0.08, y * 0.9, seed) * 0.18 + Hash(x, y, seed + 7) * 0.06;
            const double sheen = 1.18 - 0.35 * double(y - r.Top) / h;
            Put(s, x, y, Shade(base, sheen * (0.88 + grain)));
        }
    const uint32_t light = Shade(base, 2.1), dark = Shade(base, 0.35);
    Bevel(s, r, 2, raised ? light : dark, raised ? dark : light);
}

void CutWindow(Surface& s, const TRect& r, uint32_t glow) {
    const TRect rim{r.Left - 3, r.Top - 3, r.Right + 3, r.Bottom + 3};
    FillBox(s, rim, 0x0C1018);
    Bevel(s, rim, 2, 0x05070A, 0x6C7C94);
    Outline(s, TRect{r.Left - 1, r.Top - 1, r.Right + 1, r.Bottom + 1}, glow);
    for (int y = r.Top; y < r.Bottom; ++y)
        for (int x = r.Left; x < r.Right; ++x)
            s.SetPixel(x, y, 0);
}

double Hash(int x, int y, int seed) {
    uint32_t h = uint32_t(x) * 374761393u + uint32_t(y) * 668265263u + uint32_t(seed) * 2246822519u;
    h = (h ^ (h >> 13)) * 1274126177u;
    h ^= h >> 16;
    return double(h & 0xFFFFFF) / double(0x1000000);
}

double ValueNoise(double x, double y, int seed) {
    const double fx = std::floor(x), fy = std::floor(y);
    const int ix = int(fx), iy = int(fy);
    const double tx = Smooth(x - fx), ty = Smooth(y - fy);
    const double a = Hash(ix, iy, seed), b = Hash(ix + 1, iy, seed);
    const double c = Hash(ix, iy + 1, seed), d = Hash(ix + 1, iy + 1, seed);
    return (a + (b - a) * tx) * (1 - ty) + (c + (d - c) * tx) * ty;
}

double Fbm(double x, double y, int octaves, int seed) {
    double sum = 0, amp = 0.5, norm = 0;
    for (int o = 0; o < octaves; ++o) {
        sum += ValueNoise(x, y, seed + o * 101) * amp;
        norm += amp;
        x *= 2.03;
        y *= 2.03;
        amp *= 0.5;
    }
    return norm > 0 ? sum / norm : 0;
}

void FillPolygon(Surface& s, const std::vector<TPoint>& points,
                 const std::function<uint32_t(int, int)>& shade) {
    if (points.size() < 3) return;
    double minY = points[0].Y, maxY = points[0].Y;
    for (const TPoint& p : points) {
        minY = std::min(minY, p.Y);
        maxY = std::max(maxY, p.Y);
    }
    std::vector<double> xs;
    for (int y = std::max(0, int(std::floor(minY))); y <= std::min(s.Height - 1, int(std::ceil(maxY))); ++y) {
        const double sy = y + 0.5;
        xs.clear();
        for (size_t i = 0; i < points.size(); ++i) {
            const TPoint& a = points[i];
            const TPoint& b = points[(i + 1) % points.size()];
            if ((a.Y <= sy && b.Y > sy) || (b.Y <= sy && a.Y > sy))
                xs.push_back(a.X + (sy - a.Y) / (b.Y - a.Y) * (b.X - a.X));
        }
        std::sort(xs.begin(), xs.end());
        for (size_t i = 0; i + 1 < xs.size(); i += 2)
            for (int x = int(std::ceil(xs[i] - 0.5)); x < int(std::ceil(xs[i + 1] - 0.5)); ++x)
                if (s.Contains(x, y)) Put(s, x, y, shade(x, y));
    }
}

void FillDisc(Surface& s, double cx, double cy, double radius, uint32_t c) {
    for (int y = int(cy - radius) - 1; y <= int(cy + radius) + 1; ++y)
        for (int x = int(cx - radius) - 1; x <= int(cx + radius) + 1; ++x) {
            const double dx = x + 0.5 - cx, dy = y + 0.5 - cy;
            if (dx * dx + dy * dy <= radius * radius) Put(s, x, y, c);
        }
}

void LightSpot(Surface& s, double cx, double cy, double radius, uint32_t c, double strength) {
    for (int y = int(cy - radius); y <= int(cy + radius); ++y)
        for (int x = int(cx - radius); x <= int(cx + radius); ++x) {
            const double d = std::hypot(x + 0.5 - cx, y + 0.5 - cy) / radius;
            if (d < 1.0) AddGlow(s, x, y, c, strength * (1 - d) * (1 - d));
        }
}

void DrawStyledText(Surface& s, Face face, int x, int y, const std::string& text, int scale,
                    const TTextStyle& style) {
    const Surface mask = TextMask(face, text, scale);
    auto on = [&mask](int mx, int my) { return mask.Pixel(mx, my) != 0; };
    if (style.Glow != 0 && style.GlowRadius > 0) {
        const int r = style.GlowRadius;
        for (int my = -r; my < mask.Height + r; ++my)
            for (int mx = -r; mx < mask.Width + r; ++mx) {
                if (on(mx, my)) continue;
                double best = r + 1.0;
                for (int dy = -r; dy <= r; ++dy)
                    for (int dx = -r; dx <= r; ++dx)
                        if (on(mx + dx, my + dy)) best = std::min(best, std::hypot(dx, dy));
                if (best <= r) AddGlow(s, x + mx, y + my, style.Glow, 0.9 * (1.0 - (best - 1.0) / r));
            }
    }
    if (style.Shadow > 0)
        for (int my = 0; my < mask.Height; ++my)
            for (int mx = 0; mx < mask.Width; ++mx)
                if (on(mx, my)) Blend(s, x + mx + style.Shadow, y + my + style.Shadow, NearBlack, 0.7);
    if (style.Edge != 0)
        for (int my = -1; my <= mask.Height; ++my)
            for (int mx = -1; mx <= mask.Width; ++mx) {
                if (on(mx, my)) continue;
                bool near = false;
                for (int d = 0; d < 9 && !near; ++d)
                    near = on(mx + d % 3 - 1, my + d / 3 - 1);
                if (near) Put(s, x + mx, y + my, style.Edge);
            }
    const int h = std::max(1, mask.Height - 1);
    for (int my = 0; my < mask.Height; ++my)
        for (int mx = 0; mx < mask.Width; ++mx) {
            if (!on(mx, my)) continue;
            uint32_t c = Mix(style.Top, style.Bottom, double(my) / h);
            if (style.Bevelled) {
                if (!on(mx - 1, my) || !on(mx, my - 1))
                    c = Mix(c, 0xFFFFFF, 0.45);
                else if (!on(mx + 1, my) || !on(mx, my + 1))
                    c = Shade(c, 0.55);
            }
            Put(s, x + mx, y + my, c);
        }
}

TTextStyle ChromeTitle() {
    TTextStyle chrome;
    chrome.Top = 0xF4F8FF;
    chrome.Bottom = 0x6C88B0;
    chrome.Edge = 0x081018;
    chrome.Glow = 0x1C4868;
    chrome.GlowRadius = 3;
    chrome.Bevelled = true;
    return chrome;
}

int CentredLeft(Face face, int centreX, const std::string& text, int scale) {
    return centreX - TextWidth(face, text, scale) / 2;
}

} // namespace menuart
