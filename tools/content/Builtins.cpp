// Builtins: placeholder until the generator lands.
#include "content/Builtins.h"
void AddBuiltinImages(TImageList&) {}
void AddBuiltinSounds(TWaveList&) {}
bool WriteGameFolder(const std::string&) { return true; }
