// FlagArt: cloth emblems drawn on a lattice, and the pilot figure drawn from a cell chart.
#include "content/FlagArt.h"

#include "content/ArtNoise.h"

#include <cmath>
#include <functional>

namespace {

constexpr uint32_t Dark = 0x010101; // the darkest a flag may be: pure black would be see-through

// A cloth pixel: (x, y) relative to the cloth's top-left corner, cloth 30 x 24.
using Cloth = std::function<uint32_t(int x, int y)>;

constexpr int ClothW = FlagWidth - 2;

Surface MakeFlag(const Cloth& cloth) {
    Surface s(FlagWidth, FlagHeight);
    for (int y = 0; y < FlagHeight; ++y) {
        // The pole: a turned wooden staff with a light edge.
        s.SetPixel(0, y, y < 2 ? 0xE8C860 : 0xB08850);
        s.SetPixel(1, y, y < 2 ? 0xB09030 : 0x6A4C2C);
        for (int x = 0; x < ClothW; ++x) {
            // Soft folds running down the cloth.
            const double fold = 1.0 + 0.09 * std::sin(x * 0.55 + 0.8) - 0.04 * (double(x) / ClothW);
            s.SetPixel(x + 2, y, NotBlack(ScaleColor(cloth(x, y), fold)));
        }
    }
    return s;
}

bool InCircle(double x, double y, double cx, double cy, double r) {
    return (x - cx) * (x - cx) + (y - cy) * (y - cy) <= r * r;
}

} // namespace

std::vector<FlagPicture> PaintFlags() {
    std::vector<FlagPicture> flags;
    flags.push_back(
        {"checker", MakeFlag([](int x, int y) { return ((x / 5) + (y / 6)) % 2 == 0 ? 0xF2F2F2u : Dark; })});
    flags.push_back({"comet", MakeFlag([](int x, int y) {
                         const double cx = 21.5, cy = 8.5;
                         if (InCircle(x + 0.5, y + 0.5, cx, cy, 3.2)) return 0xFFF4C0u;
                         // The tail widens as it trails down to the pole side.
                         const double t = (cx - x) / 18.0;
                         const double line = cy + (cx - x) * 0.55;
                         if (t > 0 && t < 1 && std::fabs(y + 0.5 - line) < 1.0 + 3.0 * t)
                             return MixColor(0xFFD860, 0x2050A0, t);
                         if ((x * 7 + y * 13) % 23 == 0) return 0xC8D8FFu;
                         return 0x142860u;
                     })});
    flags.push_back({"cross", MakeFlag([](int x, int y) {
                         const bool bar = (y >= 9 && y < 15) || (x >= 7 && x < 13);
                         const bool core = (y >= 10 && y < 14) || (x >= 8 && x < 12);
                         return core ? 0xF0D040u : bar ? 0xFAFAFAu : 0xB8202Cu;
                     })});
    flags.push_back({"skull", MakeFlag([](int x, int y) {
                         const double px = x + 0.5, py = y + 0.5;
                         const bool eye =
                             InCircle(px, py, 12.5, 9.5, 1.6) || InCircle(px, py, 17.5, 9.5, 1.6);
                         const bool head =
                             InCircle(px, py, 15, 10, 5.5) || (px > 11.5 && px < 18.5 && py > 12 && py < 17);
                         const bool tooth = py > 14 && py < 17 && int(px) % 2 == 0;
                         const bool bone = (std::fabs((px - 15) - (py - 19) * 2.2) < 1.2 ||
                                            std::fabs((px - 15) + (py - 19) * 2.2) < 1.2) &&
                                           py > 17 && py < 22;
                         if (head && !eye && !tooth) return 0xEDE6D2u;
                         if (bone) return 0xD8D0BCu;
                         return Dark;
                     })});
    flags.push_back({"stripes", MakeFlag([](int x, int y) {
                         const int band = ((x + 40 - y) / 6) % 3;
                         return band == 0 ? 0x1A6470u : band == 1 ? 0xF4F0E4u : 0xE87820u;
                     })});
    flags.push_back({"sun", MakeFlag([](int x, int y) {
                         const double dx = x + 0.5 - 15, dy = y + 0.5 - 12;
                         const double r = std::sqrt(dx * dx + dy * dy);
                         if (r < 5) return MixColor(0xFFF8A0, 0xFFC020, r / 5);
                         const double a = std::atan2(dy, dx);
                         if (std::sin(a * 8) > 0.35 && r < 11) return 0xFFB020u;
                         return MixColor(0xE04818, 0x901830, y / 24.0);
                     })});
    flags.push_back({"wolf", MakeFlag([](int x, int y) {
                         // A wolf's head seen from the front, drawn half and mirrored: pricked ears,
                         // yellow eyes, a pale blaze down to the dark nose, on a night-blue cloth.
                         static const char* const half[24] = {
                             "...............", "...............", "...h...........", "...hg..........",
                             "...hdg.........", "...hddg........", "...hdddgggggggg", "..hhddgggggggll",
                             "..hggggggggglll", ".hgggggggggllll", ".hgggyyngggllll", "hggggyyggggllll",
                             "hhgggggggglllll", ".hhggggggllllll", "..hhgggglllllll", "...hhhgglllllll",
                             ".....hhglllllll", "......hhlllllll", ".......hhllllll", "........hllllll",
                             "........hhllnnn", ".........hhlnnn", "..........hhhhh", "...............",
                         };
                         const int col = x < 15 ? x : 29 - x;
                         switch (half[y][col]) {
                         case 'g':
                             return 0x969EAAu; // fur
                         case 'h':
                             return 0x5E6674u; // fur in shadow
                         case 'l':
                             return 0xE6EAEEu; // pale blaze and muzzle
                         case 'd':
                             return 0x2A2E36u; // inside the ears
                         case 'y':
                             return 0xF0C828u;
                         case 'n':
                             return 0x141418u;
                         default:
                             return MixColor(0x34466Au, 0x1C2638u, y / 23.0);
                         }
                     })});
    return flags;
}

Surface PaintPilotFigure() {
    // Cells of 2 x 2 pixels, so the figure survives being drawn at half size. Only the blue byte of
    // a pixel makes it solid, so the pure red and green key areas are see-through to shots and rock:
    // the helmet, visor, skin, pack, harness, belt and boots carry blue and hold the body together.
    static const char* const chart[12] = {
        "..HHH..", //
        ".HHHHH.", //
        ".VVHHH.", // visor looking left
        ".SSSH..", //
        "..TBTP.", // shirt, harness strap, thrust pack on the back
        ".TTBTPP", //
        "GSTBTPP", // pistol held forward
        "..BBBP.", // belt
        "..RRR..", // pants
        "..R.R..", //
        "..R.R..", //
        ".KK.KK.", // boots
    };
    auto color = [](char c) -> uint32_t {
        switch (c) {
        case 'H':
            return 0x0000FF; // helmet key
        case 'T':
            return 0x00FF00; // shirt key
        case 'R':
            return 0xFF0000; // pants key
        case 'V':
            return 0x78DCFF;
        case 'S':
            return 0xEBBE96;
        case 'P':
            return 0x8C909C;
        case 'G':
            return 0x6E7282;
        case 'B':
            return 0x3C3244;
        case 'K':
            return 0x4A3828;
        default:
            return 0;
        }
    };
    // A dark outline two pixels wide with a little blue: drawn at any size down to half, every row
    // and column of the figure begins and ends on a solid pixel, so a shot that reaches the pilot
    // from any side hits it. Nothing is added below the boots, where the pilot stands.
    constexpr int Rim = 2;
    constexpr int Rows = 12, Columns = 7;
    const int w = Columns * 2 + 2 * Rim, h = Rows * 2 + Rim;
    Surface s(w, h);
    for (int cy = 0; cy < Rows; ++cy)
        for (int cx = 0; cx < Columns; ++cx) {
            const uint32_t c = color(chart[cy][cx]);
            for (int k = 0; k < 4; ++k)
                s.SetPixel(Rim + 2 * cx + k % 2, Rim + 2 * cy + k / 2, c);
        }
    Surface outlined = s;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            if (s.Pixel(x, y) != 0) continue;
            bool near = false;
            for (int dy = -Rim; dy <= Rim; ++dy)
                for (int dx = -Rim; dx <= Rim; ++dx)
                    near = near || (std::abs(dx) + std::abs(dy) <= Rim && s.Pixel(x + dx, y + dy) != 0);
            if (near) outlined.SetPixel(x, y, 0x181C30);
        }
    return outlined;
}
