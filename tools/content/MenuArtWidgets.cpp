// MenuArtWidgets: bevelled steel buttons with cyan hover light and orange press light.
#include "content/MenuArtWidgets.h"

#include "content/MenuArtPaint.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace menuart {
namespace {

constexpr uint32_t Cyan = 0x40D0FF;
constexpr uint32_t Orange = 0xFF9A30;

struct TLookColours {
    uint32_t Plate = 0;
    uint32_t Rim = 0;
    uint32_t InkTop = 0;
    uint32_t InkBottom = 0;
    bool Raised = true;
    int Shift = 0; // a pressed label sinks by a pixel
};

TLookColours ColoursOf(TLook look) {
    switch (look) {
    case TLook::Hover:
        return {0x34507A, Cyan, 0xFFFFFF, 0xA8F0FF, true, 0};
    case TLook::Click:
        return {0x1C283A, Orange, 0xFFE6A8, 0xFF8A20, false, 1};
    case TLook::Idle:
        break;
    }
    return {0x2A3850, 0x0C121C, 0xD0DCEC, 0x8498B6, true, 0};
}

void Plate(Surface& s, TLook look, int seed) {
    const TLookColours c = ColoursOf(look);
    const TRect all = s.ClientRect();
    SteelPlate(s, TRect{1, 1, all.Right - 1, all.Bottom - 1}, c.Plate, seed, c.Raised);
    Outline(s, all, c.Rim);
    // Round the corners off so the buttons do not look like cut-out rectangles.
    for (const auto& [x, y] :
         {std::pair{0, 0}, {all.Right - 1, 0}, {0, all.Bottom - 1}, {all.Right - 1, all.Bottom - 1}})
        s.SetPixel(x, y, 0);
    if (look != TLook::Idle)
        for (int x = 3; x < all.Right - 3; ++x)
            Blend(s, x, all.Bottom - 3, c.Rim, 0.55 * std::sin(M_PI * (x - 2) / (all.Right - 5)));
}

void Label(Surface& s, const std::string& text, Face face, int scale, TLook look, int centreY) {
    const TLookColours c = ColoursOf(look);
    TTextStyle style;
    style.Top = c.InkTop;
    style.Bottom = c.InkBottom;
    style.Edge = NearBlack;
    const int x = CentredLeft(face, s.Width / 2, text, scale) + c.Shift;
    const int y = centreY - TextHeight(face, scale) / 2 + c.Shift;
    DrawStyledText(s, face, x, y, text, scale, style);
}

uint32_t InkOf(TLook look) {
    const TLookColours c = ColoursOf(look);
    return Mix(c.InkTop, c.InkBottom, 0.3);
}

void Triangle(Surface& s, double cx, double cy, double half, TIcon dir, uint32_t ink) {
    std::vector<TPoint> p;
    switch (dir) {
    case TIcon::Left:
        p = {{cx - half * 0.8, cy}, {cx + half * 0.8, cy - half}, {cx + half * 0.8, cy + half}};
        break;
    case TIcon::Right:
        p = {{cx + half * 0.8, cy}, {cx - half * 0.8, cy - half}, {cx - half * 0.8, cy + half}};
        break;
    case TIcon::Up:
        p = {{cx, cy - half * 0.8}, {cx - half, cy + half * 0.8}, {cx + half, cy + half * 0.8}};
        break;
    default:
        p = {{cx, cy + half * 0.8}, {cx - half, cy - half * 0.8}, {cx + half, cy - half * 0.8}};
        break;
    }
    const double top = cy - half, span = 2 * half;
    FillPolygon(s, p, [&](int, int y) { return Mix(ink, Shade(ink, 0.6), (y - top) / span); });
}

void Ring(Surface& s, double cx, double cy, double r, double thickness, uint32_t ink, double gapBelowAngle) {
    for (int y = int(cy - r - 2); y <= int(cy + r + 2); ++y)
        for (int x = int(cx - r - 2); x <= int(cx + r + 2); ++x) {
            const double dx = x + 0.5 - cx, dy = y + 0.5 - cy;
            const double d = std::hypot(dx, dy);
            // The gap opens around straight up, as on a power switch.
            if (gapBelowAngle > 0 && dy < 0 && std::abs(std::atan2(dx, -dy)) < gapBelowAngle) continue;
            if (std::abs(d - r) <= thickness / 2) Put(s, x, y, ink);
        }
}

void Icon(Surface& s, TIcon icon, TLook look) {
    const uint32_t ink = InkOf(look);
    const int shift = ColoursOf(look).Shift;
    const double cx = s.Width / 2.0 + shift, cy = s.Height / 2.0 + shift;
    switch (icon) {
    case TIcon::Question:
        DrawStyledText(
            s, Face::Big, int(cx) - 5, int(cy) - 7, "?", 2,
            TTextStyle{ColoursOf(look).InkTop, ColoursOf(look).InkBottom, NearBlack, 0, 0, false, 0});
        break;
    case TIcon::Power:
        Ring(s, cx, cy + 0.5, 6.0, 2.0, ink, 0.6);
        FillBox(s, TRect{int(cx) - 1, int(cy) - 8, int(cx) + 1, int(cy)}, ink);
        break;
    case TIcon::Crosshair:
        Ring(s, cx, cy, 4.0, 1.4, ink, 0);
        for (int d = 2; d <= 6; ++d) {
            Put(s, int(cx) + d - 1, int(cy), ink);
            Put(s, int(cx) - d, int(cy), ink);
            Put(s, int(cx), int(cy) + d - 1, ink);
            Put(s, int(cx), int(cy) - d, ink);
        }
        Put(s, int(cx), int(cy), Orange);
        break;
    case TIcon::Backspace: {
        const std::vector<TPoint> p = {{cx - 5, cy},       {cx - 1, cy - 4},   {cx - 1, cy - 1.5},
                                       {cx + 5, cy - 1.5}, {cx + 5, cy + 1.5}, {cx - 1, cy + 1.5},
                                       {cx - 1, cy + 4}};
        FillPolygon(s, p, [ink](int, int) { return ink; });
        break;
    }
    case TIcon::Keyboard:
        // A keyboard seen from above: the case, three rows of keys and the space bar.
        Outline(s, TRect{int(cx) - 8, int(cy) - 5, int(cx) + 8, int(cy) + 5}, ink);
        for (int row = 0; row < 3; ++row)
            for (int key = 0; key < 6 - (row == 2); ++key)
                Put(s, int(cx) - 6 + 2 * key + row % 2, int(cy) - 3 + 2 * row, ink);
        FillBox(s, TRect{int(cx) - 3, int(cy) + 3, int(cx) + 3, int(cy) + 4}, ink);
        break;
    default:
        Triangle(s, cx, cy, std::min(s.Width, s.Height) * 0.3, icon, ink);
        break;
    }
}

void KeyCap(Surface& s, bool highlighted) {
    const TRect all = s.ClientRect();
    SteelPlate(s, TRect{1, 1, all.Right - 1, all.Bottom - 1}, highlighted ? 0x2E5C86 : 0x2C3444, 5, true);
    Outline(s, all, highlighted ? Cyan : 0x0C1018);
    for (const auto& [x, y] :
         {std::pair{0, 0}, {all.Right - 1, 0}, {0, all.Bottom - 1}, {all.Right - 1, all.Bottom - 1}})
        s.SetPixel(x, y, 0);
}

} // namespace

Surface MakeTextButton(TSize size, const std::string& label, Face face, int scale, TLook look) {
    Surface s(size.W, size.H);
    Plate(s, look, 11);
    Label(s, label, face, scale, look, size.H / 2);
    return s;
}

Surface MakeIconButton(TSize size, TIcon icon, TLook look) {
    Surface s(size.W, size.H);
    Plate(s, look, 13);
    Icon(s, icon, look);
    return s;
}

namespace {

// A small panel button: its icon in the upper part, its word in the lower.
Surface IconAndWord(TSize size, int plateSeed, TIcon icon, const char* word, TLook look) {
    Surface s(size.W, size.H);
    Plate(s, look, plateSeed);
    Surface picture(size.W, 16);
    Icon(picture, icon, look);
    picture.TransparentColor = 0;
    s.Draw(0, 0, picture, true);
    Label(s, word, Face::Small, 1, look, 18);
    return s;
}

} // namespace

Surface MakeWeaponsButton(TLook look) {
    return IconAndWord(WeapSize, 17, TIcon::Crosshair, "WEAP", look);
}

Surface MakeKeysButton(TLook look) {
    return IconAndWord(KeysSize, 29, TIcon::Keyboard, "KEYS", look);
}

Surface MakeScrollArrow(TSize size, bool up, bool green, TLook look) {
    Surface s(size.W, size.H);
    Plate(s, look, green ? 19 : 23);
    const uint32_t ink = look == TLook::Click   ? Orange
                         : green                ? (look == TLook::Hover ? 0x9CFF80 : 0x4CC040)
                         : look == TLook::Hover ? 0xA8F0FF
                                                : 0x60A8E0;
    const int shift = ColoursOf(look).Shift;
    // Two stacked chevrons read as "scroll" rather than "go".
    for (int k = 0; k < 2; ++k) {
        const double cy = size.H / 2.0 + shift + (up ? -2.5 + 5 * k : 2.5 - 5 * k);
        const double cx = size.W / 2.0 + shift;
        const double sgn = up ? -1 : 1;
        const std::vector<TPoint> p = {{cx, cy + sgn * 3},         {cx + 6, cy - sgn * 2.5},
                                       {cx + 3.5, cy - sgn * 2.5}, {cx, cy + sgn * 0.5},
                                       {cx - 3.5, cy - sgn * 2.5}, {cx - 6, cy - sgn * 2.5}};
        const uint32_t c = k == 0 ? ink : Shade(ink, 0.65);
        FillPolygon(s, p, [c](int, int) { return c; });
    }
    return s;
}

Surface MakeListRow(TLook look) {
    Surface s(FileRowSize.W, FileRowSize.H);
    const int w = s.Width, h = s.Height;
    const uint32_t ink = look == TLook::Idle ? 0x32465E : look == TLook::Hover ? Cyan : Orange;
    // Brackets at both ends.
    for (int y = 1; y < h - 1; ++y) {
        Put(s, 0, y, ink);
        Put(s, w - 1, y, ink);
        if (look != TLook::Idle) {
            Put(s, 1, y, Shade(ink, 0.55));
            Put(s, w - 2, y, Shade(ink, 0.55));
        }
    }
    for (int x = 1; x < 5; ++x) {
        Put(s, x, 0, ink);
        Put(s, x, h - 1, ink);
        Put(s, w - 1 - x, 0, ink);
        Put(s, w - 1 - x, h - 1, ink);
    }
    if (look == TLook::Idle) return s;
    // Edge lines that fade towards the middle, leaving the label clear.
    for (int x = 5; x < w - 5; ++x) {
        const double edge = std::min(x, w - 1 - x) / (w / 2.0);
        const uint32_t c = Shade(ink, 0.85 - 0.6 * edge);
        Put(s, x, 0, c);
        Put(s, x, h - 1, c);
    }
    // A pointer notch at each end marks the chosen row.
    for (int d = 0; d < 3; ++d)
        for (int y = h / 2 - 2 + d; y <= h / 2 + 1 - d; ++y) {
            Put(s, 2 + d, y, ink);
            Put(s, w - 3 - d, y, ink);
        }
    return s;
}

Surface MakeLetterKey(char letter, bool highlighted) {
    Surface s(KeySize.W, KeySize.H);
    KeyCap(s, highlighted);
    TTextStyle style;
    style.Top = highlighted ? 0xFFFFFF : 0xD8E2F0;
    style.Bottom = highlighted ? 0xFFD070 : 0x94A8C4;
    style.Edge = 0;
    style.Shadow = 1;
    DrawStyledText(s, Face::Big, 4, 3, std::string(1, letter), 1, style);
    return s;
}

Surface MakeBackspaceKey(bool highlighted) {
    Surface s(KeySize.W, KeySize.H);
    KeyCap(s, highlighted);
    Icon(s, TIcon::Backspace, highlighted ? TLook::Hover : TLook::Idle);
    return s;
}

Surface MakeReturnKey(bool highlighted) {
    Surface s(ReturnKeySize.W, ReturnKeySize.H);
    KeyCap(s, highlighted);
    TTextStyle style;
    style.Top = highlighted ? 0xFFFFFF : 0xB8F0A0;
    style.Bottom = highlighted ? 0xFFD070 : 0x58C040;
    style.Edge = 0;
    style.Shadow = 1;
    DrawStyledText(s, Face::Big, CentredLeft(Face::Big, s.Width / 2 + 1, "OK", 1), 3, "OK", 1, style);
    return s;
}

Surface MakeCursor() {
    Surface strip(CursorFrameSize.W * CursorFrames, CursorFrameSize.H);
    // The tip is the hot spot, so it sits exactly on the frame's top-left pixel.
    const std::vector<TPoint> arrow = {{0, 0}, {12, 11}, {7.5, 11}, {10.5, 17}, {8, 18}, {5, 12}, {0, 16.5}};
    for (int f = 0; f < CursorFrames; ++f) {
        Surface frame(CursorFrameSize.W, CursorFrameSize.H);
        FillPolygon(frame, arrow, [](int x, int y) { return Mix(0xF4FAFF, 0x7EA4C8, (x + y) / 24.0); });
        Surface shape = frame;
        auto inside = [&shape](int x, int y) { return shape.Pixel(x, y) != 0; };
        for (int y = 0; y < frame.Height; ++y)
            for (int x = 0; x < frame.Width; ++x) {
                if (!inside(x, y)) continue;
                // Shadow-side rim dark, lit side rim glowing cyan.
                if (!inside(x + 1, y) || !inside(x, y + 1))
                    Put(frame, x, y, 0x0E1420);
                else if (x == 0 || !inside(x - 1, y) || !inside(x, y - 1))
                    Put(frame, x, y, Cyan);
            }
        Put(frame, 0, 0, 0xFFFFFF);
        if (f > 0) {
            // The gleam travels along the arrow's axis.
            const double along = (f - 1) / 8.0 * 22.0;
            for (int y = 0; y < frame.Height; ++y)
                for (int x = 0; x < frame.Width; ++x) {
                    if (!inside(x, y)) continue;
                    const double d = std::abs((x * 0.45 + y * 0.89) - along);
                    if (d < 3.0) AddGlow(frame, x, y, 0xFFE0A0, 0.8 * (1 - d / 3.0));
                }
        }
        for (int x = 0; x < frame.Width; ++x)
            frame.SetPixel(x, frame.Height - 1, 0); // the last row is never shown
        strip.Draw(f * CursorFrameSize.W, 0, frame, false);
    }
    return strip;
}

Surface MakePalette() {
    Surface s(PaletteSize.W, PaletteSize.H);
    const int greyColumns = 14;
    const int hueColumns = s.Width - greyColumns;
    for (int x = 0; x < s.Width; ++x)
        for (int y = 0; y < s.Height; ++y) {
            const double t = double(y) / (s.Height - 1);
            uint32_t c = 0;
            if (x < hueColumns) {
                const double hue = double(x) / hueColumns * 6.0;
                const int sector = int(hue);
                const double f = hue - sector;
                const int up = int(255 * f), down = int(255 * (1 - f));
                static constexpr int order[6][3] = {{0, 1, 2}, {1, 0, 2}, {2, 0, 1},
                                                    {2, 1, 0}, {1, 2, 0}, {0, 2, 1}};
                const int ch[3] = {255, sector % 2 == 0 ? up : down, 0};
                int rgb[3] = {0, 0, 0};
                for (int k = 0; k < 3; ++k)
                    rgb[k] = ch[order[sector % 6][k]];
                const uint32_t pure = Rgb(rgb[0], rgb[1], rgb[2]);
                // Pale at the top, the pure colour in the middle, deep at the bottom (never black).
                c = t < 0.5 ? Mix(0xFFFFFF, pure, 0.15 + 1.7 * t) : Shade(pure, 1.0 - (t - 0.5) * 1.6);
            } else {
                c = Shade(0xFFFFFF, 1.0 - 0.92 * t);
            }
            Put(s, x, y, c);
        }
    return s;
}

} // namespace menuart
