// FlagArt: the flag pictures and the pilot figure shown when a pilot is on foot.
#pragma once

#include "media/Surface.h"

#include <string>
#include <vector>

constexpr int FlagWidth = 32;
constexpr int FlagHeight = 24;

struct FlagPicture {
    std::string Name; // `comet` gives `comet_flag.bmp`
    Surface Picture;
};

// Every flag: the pole in the two left columns, the cloth beside it; no pixel is pure black.
std::vector<FlagPicture> PaintFlags();
// The standing pilot facing left; pure red pants, pure green shirt and pure blue helmet are the
// colours the game replaces with the pilot's own.
Surface PaintPilotFigure();
