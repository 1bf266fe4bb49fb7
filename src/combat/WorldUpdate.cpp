// WorldUpdate: placeholder until the world update lands.
#include "world/World.h"

uint16_t TMap::UpdateWorld(TWaveList&) { return 0; }
void TMap::PlaySoundAt(TWaveList&, const std::string&, int, int, int, int, int) {}
