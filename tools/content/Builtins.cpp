// Builtins: placeholder until the generator lands.
#include "content/Builtins.h"
void AddBuiltinImages(TImageList&) {}
void AddBuiltinSounds(TWaveList&) {}
