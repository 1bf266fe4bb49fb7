// Builtins: the named images and sounds held inside the program, generated at start-up.
#pragma once

#include "media/ImageList.h"
#include "media/Sound.h"

#include <string>

// Adds every built-in named image (fonts, 7-segment digits, ready mark, medals, trophies,
// loading picture and marks) with its pattern size and transparent colour.
void AddBuiltinImages(TImageList& images);
// Adds the 20 built-in named sounds with their MaxPlayingCount and Looped settings.
void AddBuiltinSounds(TWaveList& waves);
