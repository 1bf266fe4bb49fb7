// IconArt: the desktop icon, the default ship flying out of a cave on a rounded badge, at any size.
#pragma once

#include <cstdint>
#include <vector>

// size x size pixels 0xAARRGGBB, top row first; fully transparent outside the badge.
std::vector<uint32_t> PaintIcon(int size);
