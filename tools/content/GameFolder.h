// GameFolder: writes every file of the game folder that the game reads at run time.
#pragma once

#include <string>

// Writes graphics\, graphics\menu\, graphics\menu\keys\ and maps\ below dir; false when a file
// could not be written.
bool WriteGameFolder(const std::string& dir);
// The three parts of the folder, each made by its own generator.
bool WriteMenuArt(const std::string& dir);       // graphics\menu\ and graphics\menu\keys\ (not flaron.bmp)
bool WriteShipsAndFlags(const std::string& dir); // graphics\*_ship.bmp, graphics\*_flag.bmp, graphics\menu\flaron.bmp
bool WriteMaps(const std::string& dir);          // maps\*.map and their layer pictures
