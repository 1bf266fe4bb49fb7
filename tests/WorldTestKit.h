// WorldTestKit: temporary game folders with small maps, pictures and options for the world tests.
#pragma once

#include "core/Files.h"
#include "core/OptionsFile.h"
#include "media/ImageList.h"
#include "media/Surface.h"

#include <filesystem>
#include <string>

// A fresh game folder under the system's temporary folder, removed with the object.
class TWorldFolder {
  public:
    TWorldFolder();
    ~TWorldFolder();
    TWorldFolder(const TWorldFolder&) = delete;
    TWorldFolder& operator=(const TWorldFolder&) = delete;

    std::filesystem::path Root;
    TFiles Files;

    // Paths are game paths with backslashes, e.g. `maps\cave.map`.
    void WriteText(const std::string& winPath, const std::string& text) const;
    void WritePicture(const std::string& winPath, const Surface& picture) const;
    // The ship, flag and pilot pictures every test world uses (see the functions below).
    void WriteStandardPictures() const;
};

Surface Filled(int w, int h, uint32_t pixel);
// A 64 x 64 ship drawn in 2 x 2 blocks so that scaling by 0.5 keeps every block: a grey hull
// pointing up with a yellow nose and a blue left wing tip; no markers.
Surface TestShip();
// A 12 x 20 pilot figure: red pants, green shirt, blue helmet, a (254,0,0) belt; a strap down the
// shirt and the boots carry blue, so they are solid.
Surface TestPilot();
// A 32 x 24 flag: cyan left half, magenta right half.
Surface TestFlag();
// A font of 8 x 8 cells that paints every cell solid white.
TPictureItem TestFont();
// Options for a match on `mapFile` with the standard pictures, 3 lives.
TOptions TestOptions(const std::string& mapFile);
