// MenuArtHowTo: a steel page like the menu backdrop, and nine small pictures drawn from simple shapes.
#include "content/MenuArtHowTo.h"

#include "content/FlagArt.h"
#include "content/MenuArtFont.h"
#include "content/MenuArtPaint.h"

#include <cmath>
#include <string>
#include <vector>

namespace menuart {
namespace {

constexpr uint32_t Cyan = 0x40D0FF;
constexpr uint32_t Orange = 0xFF8A3C;
constexpr uint32_t PadRed = 0xD83C30;
constexpr uint32_t Gold = 0xFFC840;

void GlowLine(Surface& s, int x0, int x1, int y, uint32_t c) {
    const double mid = (x0 + x1) / 2.0, half = (x1 - x0) / 2.0;
    for (int x = x0; x <= x1; ++x) {
        const double fade = 1.0 - std::abs(x - mid) / half;
        Blend(s, x, y, c, 0.9 * fade);
        AddGlow(s, x, y + 1, c, 0.25 * fade);
    }
}

// A small ship pointing up with its nose at (cx, top), h pixels long.
void Ship(Surface& s, double cx, double top, double h) {
    const double w = h * 0.45;
    FillPolygon(s, {{cx, top}, {cx + w, top + h}, {cx, top + h * 0.78}, {cx - w, top + h}},
                [&](int x, int) { return Mix(0xE8ECF4, 0x6C7C94, (x - (cx - w)) / (2 * w)); });
    FillDisc(s, cx, top + h * 0.42, h * 0.1, Cyan);
}

void Flame(Surface& s, double cx, double top, double h) {
    FillPolygon(s, {{cx - h * 0.3, top}, {cx + h * 0.3, top}, {cx, top + h}},
                [&](int, int y) { return Mix(0xFFF0A0, 0xFF5A10, (y - top) / h); });
}

void Arrow(Surface& s, int x, int y0, int y1, uint32_t c) {
    for (int y = y0; y < y1 - 2; ++y)
        Put(s, x, y, c);
    for (int row = 0; row < 4; ++row)
        for (int dx = -(3 - row); dx <= 3 - row; ++dx)
            Put(s, x + dx, y1 - 4 + row, c);
}

void Pad(Surface& s, int x0, int x1, int y) {
    FillBox(s, TRect{x0, y, x1, y + 3}, PadRed);
    for (int x = x0; x < x1; ++x)
        Put(s, x, y, Mix(PadRed, 0xFFFFFF, 0.45));
    for (int x = x0 + 2; x < x1 - 1; x += 4)
        Put(s, x, y + 1, Gold);
}

void Key(Surface& s, int x, int y, char letter) {
    FillBox(s, TRect{x, y, x + 10, y + 10}, 0x2C3444);
    Outline(s, TRect{x, y, x + 10, y + 10}, 0x8494AC);
    DrawPlainText(s, Face::Small, x + 4, y + 3, std::string(1, letter), 0xF0F4FF);
}

void Chevron(Surface& s, int y, uint32_t c) {
    for (int dx = -10; dx <= 10; ++dx)
        for (int t = 0; t < 3; ++t)
            Put(s, 16 + dx, y + std::abs(dx) / 2 + t, c);
}

Surface Icon(int k) {
    Surface s(HowToIconSize, HowToIconSize);
    switch (k) {
    case 0: // keys
        Key(s, 11, 5, 'W');
        Key(s, 0, 17, 'A');
        Key(s, 11, 17, 'S');
        Key(s, 22, 17, 'D');
        break;
    case 1: // thrust and gravity
        Ship(s, 13, 2, 19);
        Flame(s, 13, 20, 10);
        Arrow(s, 28, 6, 28, Cyan);
        break;
    case 2: // landing gently
        Ship(s, 16, 2, 14);
        for (int y : {18, 22})
            for (int dx = -3; dx <= 3; ++dx)
                Put(s, 16 + dx, y + (3 - std::abs(dx)) / 2, 0x60E070);
        Pad(s, 4, 28, 27);
        break;
    case 3: // the base repairs, refuels and rearms
        FillBox(s, TRect{3, 9, 11, 11}, 0x60E070);
        FillBox(s, TRect{6, 6, 8, 14}, 0x60E070);
        FillDisc(s, 16, 12, 3.2, Orange);
        FillPolygon(s, {{16, 4}, {13.2, 11}, {18.8, 11}}, [](int, int) { return Orange; });
        for (int b = 0; b < 2; ++b) {
            FillBox(s, TRect{23 + 4 * b, 8, 25 + 4 * b, 16}, Gold);
            Put(s, 23 + 4 * b, 7, 0xFFF0C0);
            Put(s, 24 + 4 * b, 7, 0xFFF0C0);
        }
        Pad(s, 2, 30, 24);
        break;
    case 4: { // a homing missile turning back
        Ship(s, 7, 18, 12);
        for (int a = 0; a <= 200; ++a) {
            const double t = M_PI * (1.2 - 1.5 * a / 200.0);
            Put(s, int(19 + 9 * std::cos(t)), int(13 - 9 * std::sin(t)), Mix(0x707888, Orange, a / 200.0));
        }
        FillBox(s, TRect{10, 9, 17, 12}, 0xC8CCD8);
        FillBox(s, TRect{17, 9, 19, 12}, PadRed);
        break;
    }
    case 5: { // the pilot on foot
        const Surface pilot = PaintPilotFigure();
        for (int y = 0; y < pilot.Height; ++y)
            for (int x = 0; x < pilot.Width; ++x) {
                uint32_t c = pilot.Pixel(x, y) & 0xFFFFFF;
                if (c == 0xFF0000) c = 0x3050A0;
                if (c == 0x00FF00) c = 0x40A040;
                if (c == 0x0000FF) c = Cyan;
                if (c != 0) Put(s, (HowToIconSize - pilot.Width) / 2 + x, 30 - pilot.Height + y, c);
            }
        break;
    }
    case 6: // lives and points
        FillDisc(s, 11, 11, 5, PadRed);
        FillDisc(s, 20, 11, 5, PadRed);
        FillPolygon(s, {{6.2, 13}, {24.8, 13}, {15.5, 25}}, [](int, int) { return PadRed; });
        Put(s, 10, 9, 0xFFB0A0);
        for (int p = 0; p < 3; ++p)
            FillBox(s, TRect{8 + 7 * p, 28, 12 + 7 * p, 31}, Gold);
        break;
    case 7: { // flags
        const std::vector<FlagPicture> flags = PaintFlags();
        if (!flags.empty()) s.Draw(0, 4, flags.front().Picture, true);
        break;
    }
    default: // ranks
        for (int c = 0; c < 3; ++c)
            Chevron(s, 4 + 8 * c, Mix(Gold, 0xFFF4C0, c / 3.0));
        break;
    }
    return s;
}

} // namespace

Surface MakeHowToPage() {
    Surface s(640, 480);
    SteelPlate(s, s.ClientRect(), 0x202C3E, 37);
    const TTextStyle chrome = ChromeTitle();
    const std::string title = "HOW TO PLAY";
    DrawStyledText(s, Face::Big, CentredLeft(Face::Big, 320, title, 3), 14, title, 3, chrome);
    GlowLine(s, 170, 470, 44, Orange);
    GlowLine(s, 220, 420, 48, Cyan);
    CutWindow(s, TRect{14, 58, 316, 446}, Shade(Cyan, 0.5));
    CutWindow(s, TRect{324, 58, 626, 446}, Shade(Orange, 0.5));
    TTextStyle small;
    small.Top = 0xA8BCD8;
    small.Bottom = 0x7088A8;
    small.Edge = 0;
    small.Shadow = 1;
    const std::string back = "CLICK OR PRESS ESCAPE TO RETURN";
    DrawStyledText(s, Face::Big, CentredLeft(Face::Big, 320, back, 1), 457, back, 1, small);
    return s;
}

Surface MakeHowToIcons() {
    Surface strip(HowToIconSize * HowToIconCount, HowToIconSize);
    for (int k = 0; k < HowToIconCount; ++k)
        strip.Draw(HowToIconSize * k, 0, Icon(k), false);
    return strip;
}

} // namespace menuart
