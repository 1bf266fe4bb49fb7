// MapPainter: paints the layer pictures of a map: the play field from its terrain classes, the dot
// map, distant backgrounds and foreground overhangs.
#pragma once

#include "content/CaveGrid.h"
#include "media/Surface.h"

#include <cstdint>

// Colours of one kind of rock, 0x00RRGGBB.
struct RockPalette {
    uint32_t Dark = 0;
    uint32_t Light = 0;
    uint32_t Strata = 0; // the layered bands
    uint32_t Lip = 0;    // what grows or lies on the upward faces (moss, frost, dust)
    uint32_t Gem = 0;    // crystals set in the rock
};

// The visible play field: rock where the grid holds rock, snow white, water blue, pads as
// landing pads, black (see-through) where it is empty.
Surface PaintMiddle(const CaveGrid& grid, const RockPalette& rock, uint32_t seed);
// The dot map: pure green rock, white snow, pure blue water, pure red pads, black air.
Surface PaintDotMap(const CaveGrid& grid);

// A far cave wall with hanging and standing formations, glowing crystals and shafts of light.
Surface PaintCaveBack(int w, int h, const RockPalette& rock, uint32_t seed);

struct SkyStyle {
    uint32_t Top = 0, Middle = 0, Bottom = 0;
    bool Stars = false;
    bool Aurora = false;
    bool Lightning = false;
    double CloudAmount = 0.0; // 0 clear .. 1 overcast
    uint32_t CloudColor = 0;
    double SunX = -1.0, SunY = 0.0, SunRadius = 0.0; // fractions of the picture; SunX < 0: none
    uint32_t SunColor = 0;
    uint32_t Ridge[3] = {0, 0, 0}; // far to near mountain ranges
    bool SnowCaps = false;
    bool Mesas = false; // flat-topped desert buttes instead of peaks
};
// A sky with distant mountain ranges.
Surface PaintSkyBack(int w, int h, const SkyStyle& style, uint32_t seed);
// Honeycomb walls glowing from within.
Surface PaintHiveBack(int w, int h, uint32_t seed);

struct FrontStyle {
    uint32_t Body = 0;   // silhouette colour, drawn close to the viewer
    uint32_t Rim = 0;    // light catching the edges
    double Length = 0.2; // longest overhang as a fraction of the height
    int Spacing = 70;    // average distance between overhangs
    bool Icicles = false;
    bool Vines = false;
    bool CornersOnly = false; // keep the middle of the picture clear
};
// Foreground stalactites from the top, stalagmites and boulders at the bottom; black elsewhere.
Surface PaintFront(int w, int h, const FrontStyle& style, uint32_t seed);
