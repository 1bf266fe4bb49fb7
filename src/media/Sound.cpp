// Sound: mixer and named sound items (placeholder until the mixer lands).
#include "media/Sound.h"
