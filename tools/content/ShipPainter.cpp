// ShipPainter: rasterises mirrored shapes into a ship, fits its body size and shades it.
#include "content/ShipPainter.h"

#include "content/ArtNoise.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>

namespace {

constexpr int Side = 64;
constexpr uint32_t NozzleKey = 0xFF0000;
constexpr uint32_t GunKey = 0x00FF00;

using MaterialGrid = std::array<ShipMaterial, Side * Side>;

bool InPolygon(const std::vector<double>& p, double u, double y) {
    bool inside = false;
    const size_t n = p.size() / 2;
    for (size_t i = 0, j = n - 1; i < n; j = i++) {
        const double ui = p[2 * i], yi = p[2 * i + 1];
        const double uj = p[2 * j], yj = p[2 * j + 1];
        if ((yi > y) != (yj > y) && u < (uj - ui) * (y - yi) / (yj - yi) + ui) inside = !inside;
    }
    return inside;
}

bool InShape(const ShipShape& s, double u, double y) {
    const std::vector<double>& p = s.Points;
    switch (s.Shape) {
    case ShipShape::Kind::Polygon:
        return p.size() >= 6 && InPolygon(p, u, y);
    case ShipShape::Kind::Ellipse: {
        if (p.size() < 4) return false;
        const double du = (u - p[0]) / p[2];
        const double dy = (y - p[1]) / p[3];
        return du * du + dy * dy <= 1.0;
    }
    case ShipShape::Kind::Box:
        return p.size() >= 4 && u >= p[0] && u < p[2] && y >= p[1] && y < p[3];
    }
    return false;
}

// Distance of a pixel centre from the centre line in design units at widening s.
double DesignU(int column, double s) {
    return std::fabs(column + 0.5 - Side / 2.0) / s;
}

MaterialGrid Rasterise(const ShipDesign& d, double s) {
    MaterialGrid grid{};
    grid.fill(ShipMaterial::None);
    for (int y = 0; y < Side; ++y)
        for (int x = 0; x < Side; ++x)
            for (const ShipShape& shape : d.Shapes)
                if (InShape(shape, DesignU(x, s), y + 0.5)) grid[size_t(y * Side + x)] = shape.Material;
    // Frames are drawn at half size by skipping every other pixel, so a one-pixel spike or seam
    // would flicker in and out as the ship turns: keep only pixels that sit in a full 2 x 2 block.
    auto solid = [&](int x, int y) {
        return x >= 0 && y >= 0 && x < Side && y < Side && grid[size_t(y * Side + x)] != ShipMaterial::None;
    };
    MaterialGrid opened = grid;
    for (int y = 0; y < Side; ++y)
        for (int x = 0; x < Side; ++x) {
            if (!solid(x, y)) continue;
            bool inBlock = false;
            for (int oy = -1; oy <= 0 && !inBlock; ++oy)
                for (int ox = -1; ox <= 0 && !inBlock; ++ox)
                    inBlock = solid(x + ox, y + oy) && solid(x + ox + 1, y + oy) &&
                              solid(x + ox, y + oy + 1) && solid(x + ox + 1, y + oy + 1);
            if (!inBlock) opened[size_t(y * Side + x)] = ShipMaterial::None;
        }
    return opened;
}

int CountSolid(const MaterialGrid& g) {
    return int(std::count_if(g.begin(), g.end(), [](ShipMaterial m) { return m != ShipMaterial::None; }));
}

// Steps from a point inside (or just beside) a part to the first empty pixel beyond it.
bool MarkerPixel(const MaterialGrid& g, int column, double y, int step, int& row) {
    auto solid = [&](int r) {
        return r >= 0 && r < Side && g[size_t(r * Side + column)] != ShipMaterial::None;
    };
    int r = std::clamp(int(y), 0, Side - 1);
    // Walk into the part first, against the direction the marker looks.
    for (int k = 0; k < 8 && !solid(r); ++k)
        r -= step;
    if (!solid(r)) return false;
    while (solid(r))
        r += step;
    if (r < 0 || r >= Side) return false;
    row = r;
    return true;
}

std::vector<int> MarkerColumns(double u, double s) {
    if (u <= 0.0) return {Side / 2 - 1}; // one marker on the centre line
    const int right = std::clamp(int(std::floor(Side / 2.0 + u * s)), Side / 2, Side - 1);
    return {Side - 1 - right, right};
}

uint32_t AvoidKeys(uint32_t c) {
    if (c == NozzleKey) return 0xFE0000;
    if (c == GunKey) return 0x00FE00;
    if (c == 0x0000FF) return 0x0000FE;
    return NotBlack(c);
}

} // namespace

int CountShipBodyPixels(const Surface& picture) {
    int n = 0;
    for (uint32_t c : picture.Pixels)
        if (c != 0 && c != NozzleKey && c != GunKey) ++n;
    return n;
}

Surface PaintShip(const ShipDesign& d) {
    // Widen or narrow the design until its body is as large as the ship check wants.
    double bestS = 1.0;
    int bestError = 1 << 30;
    for (int i = 0; i <= 1500; ++i) {
        const double s = 0.5 + i * 0.001;
        const int error = std::abs(CountSolid(Rasterise(d, s)) - ShipBodyTarget);
        if (error < bestError) {
            bestError = error;
            bestS = s;
        }
    }
    const MaterialGrid g = Rasterise(d, bestS);
    auto mat = [&](int x, int y) {
        return (x >= 0 && y >= 0 && x < Side && y < Side) ? g[size_t(y * Side + x)] : ShipMaterial::None;
    };

    // Depth below the outline, used as a height field for the light.
    std::array<int, Side * Side> depth{};
    for (int y = 0; y < Side; ++y)
        for (int x = 0; x < Side; ++x)
            depth[size_t(y * Side + x)] = mat(x, y) == ShipMaterial::None ? 0 : 99;
    for (int pass = 0; pass < 6; ++pass)
        for (int y = 0; y < Side; ++y)
            for (int x = 0; x < Side; ++x) {
                int& v = depth[size_t(y * Side + x)];
                if (v == 0) continue;
                int m = 99;
                for (auto [dx, dy] : {std::pair{1, 0}, {-1, 0}, {0, 1}, {0, -1}}) {
                    const int nx = x + dx, ny = y + dy;
                    const int nv =
                        (nx < 0 || ny < 0 || nx >= Side || ny >= Side) ? 0 : depth[size_t(ny * Side + nx)];
                    m = std::min(m, nv + 1);
                }
                v = std::min(v, m);
            }
    auto height = [&](int x, int y) {
        return (x >= 0 && y >= 0 && x < Side && y < Side) ? std::min(depth[size_t(y * Side + x)], 5) : 0;
    };

    // Glass extents for the gradient across the canopy.
    int glassTop = Side, glassBottom = 0;
    for (int y = 0; y < Side; ++y)
        for (int x = 0; x < Side; ++x)
            if (mat(x, y) == ShipMaterial::Glass) {
                glassTop = std::min(glassTop, y);
                glassBottom = std::max(glassBottom, y);
            }
    int bodyBottom = 0;
    for (int y = 0; y < Side; ++y)
        for (int x = 0; x < Side; ++x)
            if (mat(x, y) != ShipMaterial::None) bodyBottom = y;

    ArtRandom rnd(std::hash<std::string>{}(d.Name) & 0xFFFF);
    Surface out(Side, Side);
    for (int y = 0; y < Side; ++y)
        for (int x = 0; x < Side; ++x) {
            const ShipMaterial m = mat(x, y);
            const double grain = rnd.Range(-0.04, 0.04);
            if (m == ShipMaterial::None) continue;
            uint32_t base = d.HullColor;
            switch (m) {
            case ShipMaterial::Wing:
                base = d.WingColor;
                break;
            case ShipMaterial::Trim:
                base = d.TrimColor;
                break;
            case ShipMaterial::Metal:
                base = 0x9A9EA8;
                break;
            case ShipMaterial::Engine:
                base = 0x50545E;
                break;
            default:
                break;
            }
            // Light from the upper left: rising edges facing it are brighter.
            const double nx = height(x + 1, y) - height(x - 1, y);
            const double ny = height(x, y + 1) - height(x, y - 1);
            double light = 1.0 + 0.10 * (nx + ny) + grain;
            // A rounded hull: the centre line catches the light, the flanks fall away.
            const double across = std::fabs(x + 0.5 - Side / 2.0) / (Side / 2.0);
            light *= 1.08 - 0.25 * across;
            uint32_t c = ScaleColor(base, light);
            if (m == ShipMaterial::Glass) {
                const double t =
                    glassBottom > glassTop ? double(y - glassTop) / (glassBottom - glassTop) : 0.5;
                c = MixColor(MixColor(d.GlassColor, 0xFFFFFF, 0.55), ScaleColor(d.GlassColor, 0.45), t);
                if (y - glassTop < 3 && y - glassTop >= 1 && x < Side / 2 && x >= Side / 2 - 3) c = 0xF4FAFF;
            }
            if (m == ShipMaterial::Engine && y >= bodyBottom - 12) {
                // The exhaust bell glows where it ends.
                int below = y;
                while (mat(x, below + 1) == ShipMaterial::Engine)
                    ++below;
                if (below - y < 2) c = MixColor(0xFF8C28, 0xFFE08A, (1 - (below - y)) * 0.6);
            }
            if ((m == ShipMaterial::Hull || m == ShipMaterial::Wing) &&
                std::find_if(d.PanelRows.begin(), d.PanelRows.end(),
                             [&](double r) { return y >= int(r) && y < int(r) + 2; }) != d.PanelRows.end())
                c = ScaleColor(c, 0.78);
            // Seams between parts and the dark outline make the ship read at half size.
            bool seam = false, edge = false;
            for (auto [dx, dy] : {std::pair{1, 0}, {-1, 0}, {0, 1}, {0, -1}}) {
                const ShipMaterial n = mat(x + dx, y + dy);
                if (n == ShipMaterial::None)
                    edge = true;
                else if (n != m && (dx > 0 || dy > 0))
                    seam = true;
            }
            if (seam) c = ScaleColor(c, 0.7);
            if (edge) c = ScaleColor(c, 0.55);
            out.SetPixel(x, y, AvoidKeys(c));
        }

    auto place = [&](const std::vector<double>& points, int step, uint32_t key) {
        for (size_t i = 0; i + 1 < points.size(); i += 2)
            for (int column : MarkerColumns(points[i], bestS)) {
                int row = 0;
                if (MarkerPixel(g, column, points[i + 1], step, row)) out.SetPixel(column, row, key);
            }
    };
    place(d.Guns, -1, GunKey);
    place(d.Nozzles, 1, NozzleKey);
    return out;
}

namespace {

ShipShape Poly(ShipMaterial m, std::vector<double> p) {
    return ShipShape{ShipShape::Kind::Polygon, m, std::move(p)};
}
ShipShape Oval(ShipMaterial m, double cu, double cy, double ru, double ry) {
    return ShipShape{ShipShape::Kind::Ellipse, m, {cu, cy, ru, ry}};
}
ShipShape Box(ShipMaterial m, double u0, double y0, double u1, double y1) {
    return ShipShape{ShipShape::Kind::Box, m, {u0, y0, u1, y1}};
}

std::vector<ShipDesign> BuildDesigns() {
    using M = ShipMaterial;
    std::vector<ShipDesign> all;
    // The default: a balanced delta with one nose gun and one engine.
    all.push_back(ShipDesign{"arrow",
                             0xC8CCD6,
                             0x7E8CA8,
                             0xE0A020,
                             0x38B8F0,
                             {Poly(M::Hull, {0, 3, 5, 14, 8, 30, 10, 44, 9, 53, 0, 53}),
                              Poly(M::Wing, {7, 27, 23, 47, 23, 55, 8, 51}), Box(M::Trim, 19, 44, 23, 55),
                              Box(M::Engine, 0, 50, 6, 58), Box(M::Metal, 15, 54, 19, 62),
                              Oval(M::Glass, 0, 19, 3.5, 6.5)},
                             {0, 3},
                             {0, 57},
                             {33, 42}});
    // Round and armoured, two mandible guns.
    all.push_back(ShipDesign{"beetle",
                             0x3C9A5A,
                             0x2E7246,
                             0x24603A,
                             0xA0E8FF,
                             {Oval(M::Hull, 0, 32, 14, 19), Box(M::Metal, 7, 6, 11, 22),
                              Oval(M::Trim, 0, 41, 11, 8), Box(M::Engine, 4, 46, 9, 57),
                              Poly(M::Metal, {11, 42, 14, 42, 18, 62, 14, 62}), Oval(M::Glass, 0, 23, 6, 5)},
                             {9, 6},
                             {6.5, 56},
                             {31}});
    // Long wings, a nose gun and two wingtip cannons, twin engines.
    all.push_back(ShipDesign{"condor",
                             0xD8D2C0,
                             0xB05A34,
                             0x404858,
                             0x50D0C0,
                             {Poly(M::Hull, {0, 6, 4, 16, 5, 52, 0, 54}),
                              Poly(M::Wing, {4, 26, 27, 36, 27, 43, 4, 42}), Box(M::Metal, 24, 24, 28, 40),
                              Box(M::Engine, 7, 34, 12, 53), Poly(M::Trim, {0, 44, 9, 54, 9, 57, 0, 56}),
                              Box(M::Metal, 12, 50, 15, 62), Oval(M::Glass, 0, 19, 3, 5)},
                             {0, 6, 26, 24},
                             {9.5, 52},
                             {30}});
    // A blunt gunship: nose gun and two heavy side cannons.
    all.push_back(
        ShipDesign{"hammer",
                   0x8A8F5C,
                   0x6A7048,
                   0xE8E4D0,
                   0xF0B040,
                   {Poly(M::Hull, {0, 10, 9, 14, 11, 44, 16, 50, 16, 58, 0, 58}),
                    Box(M::Metal, 11, 15, 17, 38), Box(M::Trim, 0, 28, 11, 31), Box(M::Engine, 2, 52, 8, 60),
                    Box(M::Metal, 12, 56, 18, 62), Oval(M::Glass, 0, 20, 4.5, 5)},
                   {0, 10, 14, 15},
                   {5, 59},
                   {40, 47}});
    // A slim interceptor with canards.
    all.push_back(ShipDesign{
        "needle",
        0xE8E8EE,
        0xC03848,
        0x303848,
        0x9060F0,
        {Poly(M::Hull, {0, 2, 3, 10, 5, 40, 6, 53, 0, 53}), Poly(M::Wing, {4, 18, 11, 26, 11, 30, 4, 27}),
         Poly(M::Wing, {5, 35, 19, 51, 19, 56, 5, 52}), Box(M::Engine, 0, 50, 5, 59),
         Box(M::Metal, 15, 52, 19, 62), Box(M::Trim, 0, 36, 6, 39), Oval(M::Glass, 0, 14, 2.5, 5.5)},
        {0, 2},
        {0, 58},
        {44}});
    // Forward-swept wings with a cannon on each tip.
    all.push_back(
        ShipDesign{"viper",
                   0x2A3A52,
                   0x6A2E8E,
                   0x40E0B0,
                   0xF06880,
                   {Poly(M::Hull, {0, 6, 6, 16, 7, 48, 0, 54}), Poly(M::Wing, {6, 38, 23, 23, 26, 27, 7, 47}),
                    Box(M::Metal, 22, 15, 26, 29), Box(M::Engine, 5, 44, 10, 56),
                    Poly(M::Trim, {10, 48, 16, 54, 16, 62, 12, 62, 10, 56}), Oval(M::Glass, 0, 21, 3, 6)},
                   {24, 15},
                   {7.5, 55},
                   {34}});
    return all;
}

} // namespace

const std::vector<ShipDesign>& ShipDesigns() {
    static const std::vector<ShipDesign> designs = BuildDesigns();
    return designs;
}
