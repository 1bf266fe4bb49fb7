// MapPreview: a map drawn small for the menu's centre box, with both bases and both flags marked.
#pragma once

#include "media/Surface.h"

#include <string>

class TFiles;

// The colours a preview marks player 1's and player 2's base and flag in.
constexpr uint32_t PreviewMarkColour[2] = {0x40D0FF, 0xFF8A3C};

// The map's MIDDLE picture shrunk to fit width x height with its proportions kept and centred on a
// black frame: rock as its average colour, open air dark blue. A ring marks each base (the ship's
// start point) and a pennant each flag, in the owner's colour. Empty when the map file or its
// MIDDLE picture cannot be read.
Surface MakeMapPreview(const TFiles& files, const std::string& mapFile, int width, int height);
