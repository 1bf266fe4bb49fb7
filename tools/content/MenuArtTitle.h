// MenuArtTitle: the 640 x 480 title picture shown while the game loads.
#pragma once

#include "media/Surface.h"

namespace menuart {

Surface MakeTitlePicture();

} // namespace menuart
