// Builtins: the catalogue of named images and sounds that live inside the program.
#include "content/Builtins.h"

#include "content/BuiltinFonts.h"
#include "content/BuiltinPictures.h"
#include "content/BuiltinSounds.h"

void AddBuiltinImages(TImageList& images) {
    AddBuiltinFonts(images);
    AddBuiltinPictures(images);
}

void AddBuiltinSounds(TWaveList& waves) {
    AddSynthesizedSounds(waves);
}
