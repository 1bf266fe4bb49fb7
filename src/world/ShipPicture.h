// ShipPicture: the validity check of a ship picture and the pilot's colours on the on-foot figure.
#pragma once

#include "media/Surface.h"

#include <string>

class TFiles;
struct TPilotRecord;

constexpr int ShipBodyPixels = 984;
constexpr int ShipBodyTolerance = 10;
constexpr int ShipMaxSide = 64;

// True when the picture is at most 64 x 64 and has 984 +- 10 body pixels (neither black nor a
// pure red or green marker).
bool ShipPictureValid(const Surface& picture);
// The check of a pilot's ship file: a file that does not exist counts as valid (nothing to
// complain about); one that exists but cannot be read does not.
bool CheckShipPicture(const TFiles& files, const std::string& shipFile);

// Puts the pilot's pants, shirt and helmet colours on the pure red, green and blue pixels.
void RecolourPilot(Surface& surface, const TPilotRecord& pilot);
