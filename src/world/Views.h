// Views: drawing the two players' views of the world and the dots of the projectile pool.
#pragma once

#include "media/Surface.h"
#include "world/Projectile.h"

#include <cstddef>
#include <cstdint>
#include <vector>

// One dot of a view: the pixel it lands on and its colour.
struct TDot {
    uint32_t Cell = 0;
    uint32_t Colour = 0;
};

// The dots of one view in slot order: the list keeps its room from frame to frame, so that sixty
// thousand dots cost no allocation, and only the first Count entries are this frame's.
struct TDotList {
    std::vector<TDot> Dots;
    size_t Count = 0;
    const TDot* begin() const { return Dots.data(); }
    const TDot* end() const { return Dots.data() + Count; }
};

// A picture placed on a view.
struct TSprite {
    const Surface* Picture = nullptr;
    int X = 0;
    int Y = 0;
};

// A white string from a carrier to the flag it drags, in view pixels.
struct TLine {
    int X1 = 0;
    int Y1 = 0;
    int X2 = 0;
    int Y2 = 0;
};

// One view of one frame: everything it shows of the world, taken when the frame's drawing begins,
// and the surfaces it is painted on. Painting reads nothing else that the world update changes, so
// it can go on while the world moves.
struct TViewWork {
    Surface View;   // 320 x 430
    Surface Dots;   // 320 x 430 and all black, where the dots on one pixel settle which one shows
    Surface Middle; // 320 x 430, a copy of the play field under the camera when painted meanwhile
    TDotList DotList;
    int BackX = 0;
    int BackY = 0;
    int MiddleX = 0; // where the play field (or its copy) lies on the view
    int MiddleY = 0;
    int FrontX = 0;
    int FrontY = 0;
    int ShakeX = 0;
    int ShakeY = 0;
    std::vector<TSprite> Ships;
    std::vector<TLine> Strings;
    std::vector<TSprite> Flags;
};

// Paints a view from what was taken of the world, from the background to the front layer.
void PaintView(TViewWork& work, const Surface& back, const Surface& middle, const Surface& front);

// A world position seen from a camera coordinate: both taken to the nearest integer first.
// False when the position is too far off to be on any screen.
bool ViewPixel(double position, double camera, int& out);
