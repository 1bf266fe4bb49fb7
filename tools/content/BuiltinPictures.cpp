// BuiltinPictures: small shaded pictures drawn pixel by pixel from shapes and stamps.
#include "content/BuiltinPictures.h"

#include "content/BuiltinFonts.h"
#include "content/Paint.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <string>

namespace {

TPictureItem NewPicture(const std::string& name, int w, int h, bool transparent, uint32_t key) {
    TPictureItem item;
    item.Name = name;
    item.Picture.SetSize(w, h);
    item.Picture.Fill(key);
    item.PatternWidth = 0;
    item.PatternHeight = 0;
    item.Transparent = transparent;
    item.TransparentColor = key;
    return item;
}

// ---- Ready light -----------------------------------------------------------------------------

TPictureItem MakeReady() {
    const uint32_t key = Rgb(255, 0, 255);
    TPictureItem item = NewPicture("Ready", 8, 9, true, key);
    // A green lamp in a dark bezel: lit from the upper left so it reads as a glass bead.
    for (int y = 0; y < 9; ++y)
        for (int x = 0; x < 8; ++x) {
            const double dx = (x + 0.5 - 4.0) / 4.0, dy = (y + 0.5 - 4.5) / 4.5;
            const double d = std::sqrt(dx * dx + dy * dy);
            if (d > 1.0) continue;
            if (d > 0.78) {
                item.Picture.SetPixel(x, y, Rgb(18, 70, 24));
                continue;
            }
            const double light = std::clamp(1.0 - std::hypot(dx + 0.3, dy + 0.35) * 0.9, 0.0, 1.0);
            item.Picture.SetPixel(x, y, paint::Mix(Rgb(40, 190, 50), Rgb(230, 255, 220), light * light));
        }
    item.Picture.SetPixel(2, 2, Rgb(255, 255, 255));
    return item;
}

// ---- Medals ----------------------------------------------------------------------------------

struct Metal {
    uint32_t Light = 0;
    uint32_t Base = 0;
    uint32_t Dark = 0;
};

const std::array<Metal, 3> kGrades = {{
    {Rgb(250, 196, 140), Rgb(196, 116, 52), Rgb(104, 52, 20)},  // bronze
    {Rgb(250, 252, 255), Rgb(182, 188, 200), Rgb(86, 90, 104)}, // silver
    {Rgb(255, 246, 170), Rgb(240, 184, 36), Rgb(128, 78, 8)},   // gold
}};

struct RibbonColours {
    uint32_t Outer = 0;
    uint32_t Inner = 0;
};

// One ribbon per family, in medal order: flag captures, winning streak, survival, raid, accuracy, on foot.
const std::array<RibbonColours, 6> kRibbons = {{
    {Rgb(200, 30, 36), Rgb(240, 240, 236)},
    {Rgb(34, 64, 170), Rgb(250, 200, 40)},
    {Rgb(30, 140, 60), Rgb(236, 236, 226)},
    {Rgb(110, 40, 150), Rgb(250, 140, 30)},
    {Rgb(24, 30, 60), Rgb(230, 60, 50)},
    {Rgb(120, 80, 40), Rgb(150, 170, 70)},
}};

// Emblems struck into the disc, 9 x 9: 'x' sunken, 'o' raised.
void StampEmblem(Surface& s, int family, int x, int y, const Metal& m) {
    const paint::Palette pal = {{'x', m.Dark}, {'o', m.Light}};
    switch (family) {
    case 0: // a flag on its pole
        paint::Stamp(s, x, y,
                     {"x........", "xxxxxx...", "xoooooxx.", "xoooooox.", "xooooxxx.", "xxxxx....",
                      "x........", "x........", "xx......."},
                     pal);
        break;
    case 1: // stacked chevrons: one win upon another
        paint::Stamp(s, x, y,
                     {"....x....", "..xxoxx..", ".xoo.oox.", "xo.....ox", "..xxoxx..", ".xoo.oox.",
                      "xo.....ox", ".........", "........."},
                     pal);
        break;
    case 2: // a heart
        paint::Stamp(s, x, y,
                     {".........", ".xx...xx.", "xooxxxoox", "xooooooox", "xooooooox", ".xoooooxx",
                      "..xooox..", "...xox...", "....x...."},
                     pal);
        break;
    case 3: // a base hut with a door
        paint::Stamp(s, x, y,
                     {"....x....", "...xox...", "..xooox..", ".xooooox.", "xxxxxxxxx", ".xooooox.",
                      ".xooxoox.", ".xooxoox.", ".xxxxxxx."},
                     pal);
        break;
    case 4: // a crosshair
        paint::Stamp(s, x, y,
                     {"....x....", "..xxoxx..", ".x..o..x.", ".x..o..x.", "xoooxooox", ".x..o..x.",
                      ".x..o..x.", "..xxoxx..", "....x...."},
                     pal);
        break;
    default: // a boot
        paint::Stamp(s, x, y,
                     {"..xxxx...", "..xoox...", "..xoox...", "..xoox...", "..xooxx..", "..xoooxx.",
                      "xxxooooox", "xooooooox", "xxxxxxxxx"},
                     pal);
        break;
    }
}

TPictureItem MakeMedal(int index) {
    const int family = index / 3, grade = index % 3;
    const Metal& m = kGrades[size_t(grade)];
    const RibbonColours& r = kRibbons[size_t(family)];
    TPictureItem item = NewPicture("Medal" + std::to_string(index), 20, 44, true, 0);
    Surface& s = item.Picture;

    // Ribbon: a folded band narrowing towards the clasp, striped in the family's colours.
    for (int y = 0; y < 22; ++y) {
        const int inset = y < 14 ? 0 : (y - 14) / 2;
        const int left = 3 + inset, right = 16 - inset; // inclusive
        for (int x = left; x <= right; ++x) {
            // Wide outer bands, two inner stripes and a centre line of the outer colour.
            constexpr const char* kStripes = "oooiiiooiiiooo";
            uint32_t c = kStripes[x - 3] == 'o' ? r.Outer : r.Inner;
            // The band turns away at the edges and is folded at the top.
            if (x == left || x == right) c = paint::Scale(c, 0.6);
            if (y == 0) c = paint::Scale(c, 0.7);
            if (y >= 1 && y <= 2) c = paint::Scale(c, 1.15);
            s.SetPixel(x, y, paint::NotKey(c));
        }
    }
    // Grade pips on the ribbon: one, two or three.
    for (int p = 0; p <= grade; ++p) {
        const int cx = 9 - grade * 2 + p * 4;
        paint::FillRect(s, cx + 1, 7, 2, 2, m.Dark);
        paint::FillRect(s, cx, 6, 2, 2, m.Light);
        s.SetPixel(cx + 1, 7, m.Base);
    }
    // Clasp bar.
    paint::FillRect(s, 4, 21, 12, 3, m.Base);
    paint::FillRect(s, 4, 21, 12, 1, m.Light);
    paint::FillRect(s, 4, 23, 12, 1, m.Dark);
    s.SetPixel(4, 22, m.Dark);
    s.SetPixel(15, 22, m.Dark);

    // Disc: a rim and a face, shaded as a coin lit from the upper left.
    const double cx = 10.0, cy = 34.0, radius = 9.7;
    for (int y = 24; y < 44; ++y)
        for (int x = 0; x < 20; ++x) {
            const double dx = x + 0.5 - cx, dy = y + 0.5 - cy;
            const double d = std::hypot(dx, dy);
            if (d > radius) continue;
            const double lit = std::clamp(0.5 - (dx + dy) / (2.0 * radius) * 0.9, 0.0, 1.0);
            uint32_t c = lit > 0.5 ? paint::Mix(m.Base, m.Light, (lit - 0.5) * 2)
                                   : paint::Mix(m.Dark, m.Base, lit * 2);
            if (d > radius - 2.2) {
                // The rim catches the light on the opposite side from the face.
                c = lit > 0.5 ? paint::Mix(m.Base, m.Light, (lit - 0.5) * 1.6)
                              : paint::Mix(m.Dark, m.Base, lit * 1.6);
                if (d > radius - 0.9) c = paint::Mix(c, m.Dark, 0.6);
            } else {
                c = paint::Mix(m.Base, c, 0.45);
            }
            s.SetPixel(x, y, paint::NotKey(c));
        }
    StampEmblem(s, family, 6, 30, m);
    return item;
}

// ---- Trophies --------------------------------------------------------------------------------

TPictureItem MakeTrophy(const std::string& name, const Metal& m) {
    TPictureItem item = NewPicture(name, 48, 76, true, 0);
    Surface& s = item.Picture;
    // Cylinder shading across a width: a bright band left of centre, dark towards the right edge.
    auto metalAt = [&](double u) {
        const double band = std::exp(-std::pow((u - 0.32) / 0.16, 2));
        const double body = 0.35 + 0.45 * std::sin(std::clamp(u, 0.0, 1.0) * 3.14159);
        const double l = std::clamp(body * (1 - u * 0.5) + band * 0.75, 0.0, 1.0);
        return paint::NotKey(l < 0.5 ? paint::Mix(m.Dark, m.Base, l * 2)
                                     : paint::Mix(m.Base, m.Light, (l - 0.5) * 2));
    };
    auto row = [&](int y, double left, double right) {
        for (int x = 0; x < 48; ++x) {
            const double px = x + 0.5;
            if (px < left || px > right) continue;
            s.SetPixel(x, y, metalAt((px - left) / std::max(1.0, right - left)));
        }
    };
    // Handles first, so the bowl overlaps their inner ends: a dark outline, then the metal.
    for (int pass = 0; pass < 2; ++pass)
        for (int side = 0; side < 2; ++side) {
            const double sx = side == 0 ? -1.0 : 1.0;
            for (int a = 0; a < 24; ++a) {
                const double t0 = a / 24.0 * 3.14159, t1 = (a + 1) / 24.0 * 3.14159;
                const double x0 = 24 + sx * (15 + 7 * std::sin(t0)), y0 = 9 + 13 * (1 - std::cos(t0)) / 2;
                const double x1 = 24 + sx * (15 + 7 * std::sin(t1)), y1 = 9 + 13 * (1 - std::cos(t1)) / 2;
                const uint32_t c = pass == 0 ? m.Dark : (side == 0 ? m.Light : m.Base);
                paint::ThickLine(s, x0, y0, x1, y1, pass == 0 ? 2.3 : 1.2, c);
            }
        }
    // Bowl: a rim at the top, widening slightly, then curving in to the stem.
    for (int y = 4; y <= 34; ++y) {
        const double t = (y - 4) / 30.0;
        const double half = t < 0.55 ? 17.0 - t * 2 : 17.0 - 1.1 - std::pow((t - 0.55) / 0.45, 1.6) * 13.0;
        row(y, 24 - half, 24 + half);
    }
    // Rim lip and the dark inside of the cup.
    for (int x = 0; x < 48; ++x) {
        if (std::abs(x + 0.5 - 24) < 17) {
            s.SetPixel(x, 3, paint::Mix(m.Light, m.Base, 0.3));
            const double e = std::abs(x + 0.5 - 24) / 15.5;
            if (e < 1) {
                s.SetPixel(x, 4, paint::NotKey(paint::Scale(m.Dark, 0.55)));
                if (e < 0.85) s.SetPixel(x, 5, paint::NotKey(paint::Scale(m.Dark, 0.8)));
            }
        }
    }
    // A band engraved around the bowl and a star on its face.
    for (int x = 0; x < 48; ++x)
        if (s.Pixel(x, 12) != 0) s.SetPixel(x, 12, paint::Mix(s.Pixel(x, 12), m.Dark, 0.45));
    paint::Stamp(s, 20, 15, {"...x...", "...x...", "xxxxxxx", ".xxxxx.", "..xxx..", ".xx.xx.", "x.....x"},
                 {{'x', paint::Mix(m.Base, m.Dark, 0.55)}});
    // Stem with a knot.
    for (int y = 35; y <= 50; ++y) {
        const double half = y < 40 ? 3.2 : (y < 44 ? 5.0 : 3.0 + (y - 44) * 0.6);
        row(y, 24 - half, 24 + half);
    }
    // Foot of the cup.
    for (int y = 51; y <= 55; ++y)
        row(y, 24 - 10 - (y - 51) * 0.6, 24 + 10 + (y - 51) * 0.6);
    // Plinth: dark polished stone with a bevel and a small plate.
    const uint32_t stone = Rgb(58, 40, 34), stoneLight = Rgb(104, 76, 64), stoneDark = Rgb(28, 18, 16);
    paint::FillRect(s, 7, 56, 34, 20, stone);
    paint::FillRect(s, 7, 56, 34, 1, stoneLight);
    paint::FillRect(s, 7, 56, 1, 20, stoneLight);
    paint::FillRect(s, 40, 56, 1, 20, stoneDark);
    paint::FillRect(s, 7, 75, 34, 1, stoneDark);
    paint::FillRect(s, 5, 71, 38, 5, paint::Mix(stone, stoneDark, 0.3));
    paint::FillRect(s, 5, 71, 38, 1, stoneLight);
    paint::FillRect(s, 16, 61, 16, 6, m.Base);
    paint::FillRect(s, 16, 61, 16, 1, m.Light);
    paint::FillRect(s, 16, 66, 16, 1, m.Dark);
    paint::FillRect(s, 18, 63, 12, 1, paint::Mix(m.Base, m.Dark, 0.6));
    paint::FillRect(s, 20, 65, 8, 1, paint::Mix(m.Base, m.Dark, 0.6));
    return item;
}

// ---- Loading panel ---------------------------------------------------------------------------

TPictureItem MakeLoading() {
    TPictureItem item = NewPicture("Loading", 221, 49, false, 0);
    Surface& s = item.Picture;
    // Brushed steel-blue plate with a bevelled frame and rivets.
    for (int y = 0; y < 49; ++y) {
        const uint32_t c = paint::Mix(Rgb(46, 58, 86), Rgb(16, 20, 34), y / 48.0);
        for (int x = 0; x < 221; ++x) {
            const int grain = ((x * 7 + y * 13) % 5 == 0) ? 6 : 0;
            s.SetPixel(x, y, paint::Mix(c, Rgb(90, 100, 130), grain / 100.0));
        }
    }
    const uint32_t hi = Rgb(150, 170, 210), lo = Rgb(8, 10, 18), mid = Rgb(90, 104, 140);
    paint::FillRect(s, 0, 0, 221, 1, hi);
    paint::FillRect(s, 0, 0, 1, 49, hi);
    paint::FillRect(s, 0, 48, 221, 1, lo);
    paint::FillRect(s, 220, 0, 1, 49, lo);
    paint::FillRect(s, 1, 1, 219, 1, mid);
    paint::FillRect(s, 1, 1, 1, 47, mid);
    // Inner recess for the lettering.
    paint::FillRect(s, 8, 6, 205, 30, Rgb(10, 12, 22));
    paint::FillRect(s, 8, 6, 205, 1, lo);
    paint::FillRect(s, 8, 36, 205, 1, Rgb(70, 82, 116));
    for (int rx : {4, 216})
        for (int ry : {4, 44}) {
            paint::FillEllipse(s, rx + 0.5, ry + 0.5, 1.6, 1.6, Rgb(120, 132, 160));
            s.SetPixel(rx, ry, Rgb(200, 210, 230));
        }
    // LOADING in the game's glyph shapes, three pixels to a grid step, gold shading like the big font.
    const std::string word = "LOADING";
    const int step = 3, glyphW = 5 * step, gap = 5;
    const int total = int(word.size()) * glyphW + (int(word.size()) - 1) * gap;
    const int x0 = (221 - total) / 2, y0 = 7 + (30 - 7 * step) / 2;
    for (size_t i = 0; i < word.size(); ++i) {
        const int cell = word[i] - 'A';
        const int gx0 = x0 + int(i) * (glyphW + gap);
        for (int gy = 0; gy < 7; ++gy)
            for (int gx = 0; gx < 5; ++gx) {
                if (!LargeGlyphBit(cell, gx, gy)) continue;
                for (int py = 0; py < step; ++py)
                    for (int px = 0; px < step; ++px) {
                        const int x = gx0 + gx * step + px, y = y0 + gy * step + py;
                        if (s.Pixel(x + 1, y + 1) == Rgb(10, 12, 22))
                            s.SetPixel(x + 1, y + 1, Rgb(60, 30, 6));
                        const double t = double(gy * step + py) / (7 * step - 1);
                        uint32_t c = t < 0.5 ? paint::Mix(Rgb(255, 250, 222), Rgb(255, 212, 96), t * 2)
                                             : paint::Mix(Rgb(255, 212, 96), Rgb(226, 136, 34), t * 2 - 1);
                        s.SetPixel(x, y, c);
                    }
            }
    }
    // Progress lamps below the lettering: lit from the left, the way a loader fills up.
    for (int k = 0; k < 20; ++k) {
        const int x = 31 + k * 8;
        const bool lit = k < 13;
        paint::FillRect(s, x, 40, 6, 4, lit ? Rgb(250, 190, 60) : Rgb(40, 44, 60));
        paint::FillRect(s, x, 40, 6, 1, lit ? Rgb(255, 240, 180) : Rgb(60, 66, 86));
    }
    return item;
}

// ---- Invalid marks ---------------------------------------------------------------------------

// A red prohibition sign: ring and bar with a dark outline so it stands out on any ship.
TPictureItem MakeNix() {
    TPictureItem item = NewPicture("NIX!", 56, 56, true, 0);
    Surface& s = item.Picture;
    const uint32_t outline = Rgb(60, 0, 0), red = Rgb(226, 28, 24), light = Rgb(255, 110, 90);
    const double c = 28.0;
    for (int y = 0; y < 56; ++y)
        for (int x = 0; x < 56; ++x) {
            const double dx = x + 0.5 - c, dy = y + 0.5 - c, d = std::hypot(dx, dy);
            // Distance from the bar that runs from upper left to lower right.
            const double bar = std::abs(dx - dy) / std::sqrt(2.0);
            uint32_t colour = 0;
            if (d > 27.5)
                colour = 0;
            else if (d > 26.5)
                colour = outline;
            else if (d > 19.5)
                colour = (d > 22.5 && d < 24.5 && dx + dy < -20) ? light : red;
            else if (bar <= 4.5)
                colour = red;
            else if (bar <= 5.5 || d > 18.5)
                colour = outline;
            s.SetPixel(x, y, colour);
        }
    return item;
}

// A red cross over the whole flag area.
TPictureItem MakeNixFlag() {
    TPictureItem item = NewPicture("NIXFLAG", 32, 24, true, 0);
    Surface& s = item.Picture;
    const uint32_t outline = Rgb(60, 0, 0), red = Rgb(230, 30, 26);
    paint::ThickLine(s, 3, 3, 29, 21, 3.2, outline);
    paint::ThickLine(s, 29, 3, 3, 21, 3.2, outline);
    paint::ThickLine(s, 3, 3, 29, 21, 2.2, red);
    paint::ThickLine(s, 29, 3, 3, 21, 2.2, red);
    return item;
}

} // namespace

void AddBuiltinPictures(TImageList& images) {
    images.Add(MakeReady());
    for (int k = 0; k < 18; ++k)
        images.Add(MakeMedal(k));
    images.Add(MakeTrophy("GoldTrophy", kGrades[2]));
    images.Add(MakeTrophy("SilverTrophy", kGrades[1]));
    images.Add(MakeLoading());
    images.Add(MakeNix());
    images.Add(MakeNixFlag());
}
