// BuiltinPictures: the ready light, medals, trophies, loading panel and invalid marks made at start-up.
#pragma once

#include "media/ImageList.h"

// "Ready", "Medal0".."Medal17", "GoldTrophy", "SilverTrophy", "Loading", "NIX!" and "NIXFLAG".
void AddBuiltinPictures(TImageList& images);
