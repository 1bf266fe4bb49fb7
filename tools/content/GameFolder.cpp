// GameFolder: the game folder is the menu art, the ships and flags, and the maps.
#include "content/GameFolder.h"

#include <filesystem>

bool WriteGameFolder(const std::string& dir) {
    std::error_code ec;
    for (const char* sub : {"graphics", "graphics/menu", "graphics/menu/keys", "maps"})
        std::filesystem::create_directories(std::filesystem::path(dir) / sub, ec);
    bool ok = WriteMenuArt(dir);
    ok = WriteShipsAndFlags(dir) && ok;
    ok = WriteMaps(dir) && ok;
    return ok;
}
