// MenuArt: placeholder until the menu art lands.
#include "content/GameFolder.h"
bool WriteMenuArt(const std::string&) { return true; }
