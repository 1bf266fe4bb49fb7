// MenuArtScreens: the full-width menu pictures: the front-end backdrop and the status bar pair.
#pragma once

#include "media/Surface.h"

namespace menuart {

// The backdrop is drawn at (10, 10) and stops short of the button row at y 458.
constexpr int BackgroundLeft = 10;
constexpr int BackgroundTop = 10;
constexpr int BackgroundWidth = 620;
constexpr int BackgroundHeight = 448;

// Player 1's bars end at x 223, player 2's at 578; each is 160 long and 8 high, rows 6, 16, 26, 36.
constexpr int BarLength = 160;
constexpr int BarHeight = 8;
constexpr int BarEnd[2] = {223, 578};
constexpr int BarRow[4] = {6, 16, 26, 36};
constexpr int SlotStep = 8;

Surface MakeBackground();
Surface MakeStatusBackground(); // 640 x 50, the bars drawn full
Surface MakeStatusBars();       // 160 x 17, the empty look of the bars

} // namespace menuart
