// Maps: placeholder until the maps land.
#include "content/GameFolder.h"
bool WriteMaps(const std::string&) { return true; }
