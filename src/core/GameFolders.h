// GameFolders: where the game folder and the player's home folder are for this copy of the game.
#pragma once

#include <filesystem>
#include <string>

struct TGameFolders {
    std::filesystem::path Game; // the shipped pictures and maps, read only
    std::filesystem::path Home; // options, pilots, replays and controls are written here
    bool Installed = false;     // the game folder was found in the installed layout
};

// A copy installed by `cmake --install` keeps its game folder at dataFromProgram (e.g.
// `../share/flarons`) relative to the program's folder and its home in $XDG_DATA_HOME/flarons, or
// ~/.local/share/flarons when that is unset or not absolute. A copy run from the build folder has
// the game folder beside the program, and that folder is its home too. A --home folder always wins.
// xdgDataHome and userHome are the environment's values (null when unset).
TGameFolders FindGameFolders(const std::filesystem::path& programDir,
                             const std::filesystem::path& dataFromProgram, const std::string& homeOption,
                             const char* xdgDataHome, const char* userHome);
