// BuiltinSounds: placeholder.
#include "content/BuiltinSounds.h"
void AddSynthesizedSounds(TWaveList&) {}
