// About: the credits text and the small window that scrolls it down and up again.
#include "frontend/FrontEnd.h"

#include "core/GameMath.h"
#include "media/FrameTimer.h"
#include "media/ImageList.h"
#include "text/Font.h"

#include <algorithm>
#include <array>

namespace {

constexpr int AboutWidth = 132;
constexpr int AboutLines = 61;
constexpr int LineHeight = 8;
constexpr int SliceRows = 83;
constexpr int WindowX = 207;
constexpr int WindowY = 127;
constexpr double RowsPerSecond = 10.0;

// One line per 8 rows; SmallFont holds 33 characters across the window.
const std::array<const char*, AboutLines> AboutText = {
    "",
    "FLARONS AFTERBURN",
    "",
    "A game by the Flarons developers",
    "",
    "Free to play, free to share",
    "",
    "The Flarons developers are:",
    "The flight crew",
    "The menu crew",
    "",
    "Idea, design and programming:",
    "The Flarons developers",
    "The flight and menu crews",
    "",
    "Graphics:",
    "The picture generator",
    "The menu art generator",
    "The skyline painter",
    "",
    "Sounds:",
    "The sound synthesiser",
    "The engine loop mixer",
    "",
    "Maps:",
    "The cave carver",
    "The ice canyon builder",
    "The hive weaver",
    "The desert shaper",
    "",
    "Ships:",
    "The ship generator",
    "The wing painter",
    "The nozzle fitter",
    "",
    "Manual:",
    "The Flarons developers",
    "",
    "Beta testers:",
    "The test suite",
    "Every pilot who flew",
    "",
    "Thanks to:",
    "Our players",
    "Everyone who dug a cave",
    "Everyone who lost a flag",
    "The on-foot pilots",
    "The nano-fighters",
    "The patient keyboard",
    "The one shared mouse",
    "",
    "Reward for reading all this:",
    "Password for secret Flarons",
    "downloads:",
    "THERE IS NO SECRET",
    "",
    "Access secret downloads at:",
    "your own pilots folder",
    "",
    "We hope you enjoy the game.",
    "",
};

} // namespace

void TFrontEnd::DrawAboutText() {
    AboutSurface.SetSize(AboutWidth, AboutLines * LineHeight);
    const TPictureItem& font = Images.Find("SmallFont");
    for (int i = 0; i < AboutLines; ++i) {
        const std::string line = AboutText[size_t(i)];
        if (!line.empty())
            DrawText(AboutSurface, font, AboutWidth / 2 - TextWidth(font, line) / 2, LineHeight * i, line);
    }
}

void TFrontEnd::AboutFrame() {
    // Ten rows a second whatever the frame rate.
    const double v = RowsPerSecond / double(std::max(1, FrameTimer.MeasuredFrameRate));
    const int h = AboutSurface.Height;
    int top = 0;
    switch (AboutPhase) {
    case 0:
        AboutScroll = float(double(AboutScroll) + v);
        if (AboutScroll > float(h - SliceRows)) AboutPhase = 1;
        top = int(Trunc(AboutScroll));
        break;
    case 1:
        AboutScroll = float(double(AboutScroll) + v);
        if (AboutScroll > float(h - 63)) {
            AboutPhase = 2;
            AboutScroll = float(h - SliceRows);
        }
        top = h - SliceRows;
        break;
    case 2:
        AboutScroll = float(double(AboutScroll) - v);
        if (AboutScroll < 0) AboutPhase = 3;
        top = int(Trunc(AboutScroll));
        break;
    default:
        AboutScroll = float(double(AboutScroll) - v);
        if (AboutScroll < -20) {
            AboutPhase = 0;
            AboutScroll = 0;
        }
        top = 0;
        break;
    }
    // The window shows all but the last column of the credits text.
    BackSurface.DrawRect(WindowX, WindowY, AboutSurface, TRect{0, top, AboutWidth - 1, top + SliceRows},
                         true);
}
