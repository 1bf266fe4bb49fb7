// BuiltinSounds: the synthesised sound effects and jingles of the game.
#pragma once

#include "media/Sound.h"

// Adds the 20 named sounds, each made from noise, oscillators, envelopes and filters with a fixed
// seed, so every run of the program hears the same recordings.
void AddSynthesizedSounds(TWaveList& waves);
