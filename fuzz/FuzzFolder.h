// FuzzFolder: a game folder of the fuzz targets' own under the temporary folder, with small pictures.
#pragma once

#include "core/Files.h"

#include <cstdint>
#include <string>
#include <vector>

class TFuzzFolder {
  public:
    // A fresh folder named after the target, holding a 64 x 64 ship, a 32 x 24 flag, a pilot figure
    // and three small map layers (maps\mid.bmp, maps\back.bmp, maps\dots.bmp).
    explicit TFuzzFolder(const std::string& name);
    TFiles Files;
    // Writes a file below the folder (a plain path with `/`), replacing what was there.
    void Put(const std::string& relative, const std::vector<uint8_t>& bytes) const;
};
