// MenuArtScreens: the front-end backdrop and the status bar, laid out around the game's fixed places.
#include "content/MenuArtScreens.h"

#include "content/MenuArtFont.h"
#include "content/MenuArtPaint.h"

#include <algorithm>
#include <cmath>
#include <string>

namespace menuart {
namespace {

constexpr uint32_t PlayerAccent[2] = {0x40D0FF, 0xFF8A3C};
constexpr uint32_t SteelBase = 0x202C3E;

void Rivet(Surface& s, int x, int y) {
    Put(s, x, y, 0x8494AC);
    Put(s, x + 1, y, 0x5C6C84);
    Put(s, x, y + 1, 0x5C6C84);
    Put(s, x + 1, y + 1, 0x141A24);
}

void GlowLine(Surface& s, int x0, int x1, int y, uint32_t c) {
    const double mid = (x0 + x1) / 2.0, half = std::max(1.0, (x1 - x0) / 2.0);
    for (int x = x0; x <= x1; ++x) {
        const double fade = 1.0 - std::abs(x - mid) / half;
        Blend(s, x, y, c, 0.9 * fade);
        AddGlow(s, x, y - 1, c, 0.25 * fade);
        AddGlow(s, x, y + 1, c, 0.25 * fade);
    }
}

void Groove(Surface& s, int x0, int x1, int y) {
    for (int x = x0; x <= x1; ++x) {
        Blend(s, x, y, 0x06080C, 0.8);
        Blend(s, x, y + 1, 0x8090A8, 0.35);
    }
}

void DownMarker(Surface& s, int cx, int y, uint32_t c) {
    for (int row = 0; row < 4; ++row)
        for (int dx = -(3 - row); dx <= 3 - row; ++dx)
            Put(s, cx + dx, y + row, row == 0 ? Mix(c, 0xFFFFFF, 0.4) : c);
}

// Everything is drawn in screen coordinates on a full screen and cut out at the end.
void SideHeader(Surface& s, int p) {
    const int off = 440 * p;
    const uint32_t accent = PlayerAccent[p];
    const std::string title = p == 0 ? "PLAYER 1" : "PLAYER 2";
    TTextStyle heading;
    heading.Top = Mix(accent, 0xFFFFFF, 0.7);
    heading.Bottom = accent;
    heading.Glow = Shade(accent, 0.45);
    heading.GlowRadius = 2;
    heading.Bevelled = true;
    DrawStyledText(s, Face::Big, CentredLeft(Face::Big, 101 + off, title, 2), 14, title, 2, heading);
    // Labels over the invisible hot spots inside the panel: flag, ship picture and colours.
    struct TTag {
        const char* Text = "";
        int CentreX = 0;
    };
    for (const TTag& tag : {TTag{"FLAG", 43}, TTag{"SHIP", 101}, TTag{"COLOR", 161}}) {
        TTextStyle label;
        label.Top = 0xD8E4F4;
        label.Bottom = 0x90A4C0;
        label.Shadow = 1;
        label.Edge = 0;
        DrawStyledText(s, Face::Big, CentredLeft(Face::Big, tag.CentreX + off, tag.Text, 1), 35, tag.Text, 1,
                       label);
        DownMarker(s, tag.CentreX + off, 45, accent);
    }
    GlowLine(s, 26 + off, 176 + off, 31, accent);
}

void Title(Surface& s) {
    const TTextStyle chrome = ChromeTitle();
    DrawStyledText(s, Face::Big, CentredLeft(Face::Big, 320, "FLARONS", 3), 19, "FLARONS", 3, chrome);
    TTextStyle fire;
    fire.Top = 0xFFF0A0;
    fire.Bottom = 0xFF5A10;
    fire.Edge = 0x200804;
    fire.Glow = 0x803010;
    fire.GlowRadius = 3;
    DrawStyledText(s, Face::Big, CentredLeft(Face::Big, 320, "AFTERBURN", 2), 47, "AFTERBURN", 2, fire);
    GlowLine(s, 220, 420, 71, 0xFF8A3C);
    GlowLine(s, 250, 390, 75, 0x40D0FF);
}

} // namespace

Surface MakeBackground() {
    Surface screen(640, 480);
    const TRect plate{BackgroundLeft, BackgroundTop, BackgroundLeft + BackgroundWidth,
                      BackgroundTop + BackgroundHeight};
    SteelPlate(screen, plate, SteelBase, 31);
    // Panel seams and a second, darker plate behind the centre column.
    Groove(screen, 12, 627, 86);
    Groove(screen, 12, 627, 420);
    for (int y = 88; y < 420; ++y)
        for (int x = 186; x < 454; ++x)
            Blend(screen, x, y, 0x101824, 0.35);
    for (int x : {12, 620})
        for (int y : {12, 448})
            Rivet(screen, x + 2, y + 2);
    for (int x : {190, 446})
        for (int y : {92, 412})
            Rivet(screen, x, y);

    Title(screen);
    SideHeader(screen, 0);
    SideHeader(screen, 1);

    // The paused match shows through the viewport; the credits window scrolls inside it.
    CutWindow(screen, TRect{196, 96, 444, 233}, 0x2A5A7A);
    TTextStyle small;
    small.Top = 0xA8BCD8;
    small.Bottom = 0x7088A8;
    small.Edge = 0;
    small.Shadow = 1;
    DrawStyledText(screen, Face::Big, CentredLeft(Face::Big, 320, "MATCH SETUP", 1), 240, "MATCH SETUP", 1,
                   small);
    GlowLine(screen, 226, 268, 243, 0xFF8A3C);
    GlowLine(screen, 372, 414, 243, 0xFF8A3C);

    // The three panels are drawn by the game over black holes in the plate.
    CutWindow(screen, TRect{22, 54, 180, 416}, Shade(PlayerAccent[0], 0.5));
    CutWindow(screen, TRect{462, 54, 620, 416}, Shade(PlayerAccent[1], 0.5));
    CutWindow(screen, TRect{217, 254, 422, 416}, 0x5A6A80);

    // Vent slots in the columns between the panels.
    for (int col : {0, 1})
        for (int k = 0; k < 10; ++k) {
            const int x0 = col == 0 ? 188 : 430, y = 262 + 15 * k;
            FillBox(screen, TRect{x0, y, x0 + 22, y + 4}, 0x0A0E14);
            for (int x = x0; x < x0 + 22; ++x)
                Blend(screen, x, y + 4, 0x7888A0, 0.4);
            const uint32_t ember = col == 0 ? PlayerAccent[0] : PlayerAccent[1];
            for (int x = x0 + 2; x < x0 + 20; ++x)
                Blend(screen, x, y + 2, ember, 0.25 + 0.03 * k);
        }

    DrawStyledText(screen, Face::Big,
                   CentredLeft(Face::Big, 320, "CLICK A NAME, FLAG, SHIP OR COLOR TO CHANGE IT", 1), 427,
                   "CLICK A NAME, FLAG, SHIP OR COLOR TO CHANGE IT", 1, small);
    DrawStyledText(screen, Face::Big, CentredLeft(Face::Big, 320, "RETURN STARTS THE MATCH", 1), 441,
                   "RETURN STARTS THE MATCH", 1, small);

    Surface out(BackgroundWidth, BackgroundHeight);
    out.DrawRect(0, 0, screen, plate, false);
    return out;
}

Surface MakeStatusBackground() {
    Surface s(640, 50);
    for (int y = 0; y < s.Height; ++y)
        for (int x = 0; x < s.Width; ++x) {
            const double grain = ValueNoise(x * 0.07, y * 0.8, 41) * 0.16 + Hash(x, y, 43) * 0.05;
            Put(s, x, y, Shade(0x1A2434, (1.1 - 0.3 * y / 49.0) * (0.9 + grain)));
        }
    for (int x = 0; x < s.Width; ++x) {
        Put(s, x, 0, 0x7C8CA4);
        Put(s, x, 1, 0x3C4A60);
        Put(s, x, 49, 0x080A10);
    }

    static const char* const Labels[4] = {"HEALTH", "FUEL", "GUN", "SPECIAL"};
    static constexpr uint32_t BarColour[4] = {0x38E060, 0xFFB020, 0x40C0FF, 0xFF4C8C};
    for (int p = 0; p < 2; ++p) {
        const int left = BarEnd[p] - BarLength;
        for (int b = 0; b < 4; ++b) {
            const int top = BarRow[b];
            Outline(s, TRect{left - 1, top - 1, BarEnd[p] + 1, top + BarHeight + 1}, 0x05070A);
            for (int x = left; x < BarEnd[p]; ++x)
                for (int y = top; y < top + BarHeight; ++y) {
                    const int sx = x - left, row = y - top;
                    uint32_t c = BarColour[b];
                    c = row == 0 ? Mix(c, 0xFFFFFF, 0.55) : Shade(c, 1.05 - 0.09 * row);
                    // Slot 2 counts in steps of 8; the other bars carry a faint scale every 16.
                    if (b == 3 && sx % SlotStep == SlotStep - 1) c = 0x0A0C12;
                    if (b < 3 && sx % 16 == 15) c = Shade(c, 0.7);
                    Put(s, x, y, c);
                }
            const uint32_t ink = Mix(BarColour[b], 0x8090A8, 0.45);
            const int tx = p == 0 ? left - 4 - TextWidth(Face::Big, Labels[b], 1) : BarEnd[p] + 4;
            DrawPlainText(s, Face::Big, tx, top, Labels[b], ink);
        }
    }

    // Centre block: name strips, score and lives windows.
    FillBox(s, TRect{226, 3, 415, 47}, 0x141C28);
    Bevel(s, TRect{226, 3, 415, 47}, 1, 0x05070A, 0x5C6C84);
    for (int p = 0; p < 2; ++p) {
        const int centre = p == 0 ? 267 : 373;
        const TRect strip{centre - 38, 7, centre + 39, 18};
        FillBox(s, strip, 0x0A1420);
        Outline(s, strip, Shade(PlayerAccent[p], 0.45));
    }
    struct TBox {
        int Left = 0;
        bool Score = false;
    };
    for (const TBox& box : {TBox{238, true}, TBox{274, false}, TBox{344, false}, TBox{380, true}}) {
        const TRect window{box.Left - 1, 23, box.Left + 25, 36};
        FillBox(s, window, box.Score ? 0x1C0808 : 0x081C0C);
        Outline(s, TRect{window.Left - 1, window.Top - 1, window.Right + 1, window.Bottom + 1}, 0x05070A);
        Outline(s, TRect{window.Left - 2, window.Top - 2, window.Right + 2, window.Bottom + 2}, 0x52627A);
        if (box.Score) {
            // Ghosts of unlit segments, as on a real display.
            for (int d = 0; d < 3; ++d) {
                const int x0 = box.Left + 8 * d + 1;
                for (int k = 0; k < 5; ++k) {
                    Put(s, x0 + 1 + k, 24, 0x3A1010);
                    Put(s, x0 + 1 + k, 29, 0x3A1010);
                    Put(s, x0 + 1 + k, 34, 0x3A1010);
                }
                for (int k = 0; k < 4; ++k) {
                    for (int xx : {x0, x0 + 6}) {
                        Put(s, xx, 25 + k, 0x3A1010);
                        Put(s, xx, 30 + k, 0x3A1010);
                    }
                }
            }
        } else {
            // Without a lives limit the box keeps showing the infinity sign.
            for (int a = 0; a < 360; a += 3) {
                const double t = a * M_PI / 180.0;
                const double d = 1 + std::sin(t) * std::sin(t);
                const double x = box.Left + 12 + 9.5 * std::cos(t) / d;
                const double y = 29 + 8.0 * std::sin(t) * std::cos(t) / d;
                Put(s, int(std::lround(x)), int(std::lround(y)), 0x40D060);
            }
        }
        DrawCentredText(s, Face::Small, box.Left + 12, 40, box.Score ? "SCORE" : "LIVES", 0x8494AC);
    }
    TTextStyle vs;
    vs.Top = 0xF0F4FF;
    vs.Bottom = 0x8090B0;
    vs.Edge = NearBlack;
    vs.Bevelled = true;
    DrawStyledText(s, Face::Big, CentredLeft(Face::Big, 320, "VS", 2), 23, "VS", 2, vs);
    return s;
}

Surface MakeStatusBars() {
    Surface s(BarLength, 2 * BarHeight + 1);
    for (int x = 0; x < BarLength; ++x) {
        for (int row = 0; row < BarHeight; ++row) {
            uint32_t c = row == 0 ? 0x0A0D12 : Mix(0x1A2230, 0x0E1218, row / 7.0);
            if (x % 16 == 15) c = Shade(c, 0.6);
            Put(s, x, row, c);
            uint32_t cell = row == 0 ? 0x2A3444 : Mix(0x1C2432, 0x10141C, row / 7.0);
            if (x % SlotStep == SlotStep - 1) cell = 0x0A0C12;
            Put(s, x, BarHeight + 1 + row, cell);
        }
    }
    return s;
}

} // namespace menuart
