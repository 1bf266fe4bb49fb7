// MenuArtHowTo: the how-to-play page's backdrop and the strip of small pictures beside its rules.
#pragma once

#include "media/Surface.h"

namespace menuart {

constexpr int HowToIconSize = 32;
constexpr int HowToIconCount = 9;

// 640 x 480: a steel plate with the title, two black columns for the rules and the way back.
Surface MakeHowToPage();
// HowToIconCount pictures of HowToIconSize side by side, black as the colour key, in the order of
// the rules: keys, thrust and gravity, landing, the base, own shots, the pilot on foot, lives and
// points, flags, ranks.
Surface MakeHowToIcons();

} // namespace menuart
