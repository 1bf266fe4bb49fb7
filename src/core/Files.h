// Files: maps the game's Windows-style relative paths onto the Linux file system.
#pragma once

#include "media/SafeRead.h"

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

// Paths in records and map files keep the Windows form (`graphics\red_ship.bmp`, `Pilots\` or
// `pilots\`). Both `\` and `/` separate components, and a component that does not exist as written
// is matched case-insensitively. Reading looks in the home folder first, then in the game folder;
// writing always goes to the home folder.
class TFiles {
  public:
    std::filesystem::path GameDir;
    std::filesystem::path HomeDir;
    // Files handed to the game for a while from elsewhere (the pictures a replay carries): read
    // before the home folder; empty when there are none.
    std::filesystem::path ProvidedDir;

    TFiles() = default;
    TFiles(std::filesystem::path gameDir, std::filesystem::path homeDir)
        : GameDir(std::move(gameDir)), HomeDir(std::move(homeDir)) {}

    // The components of a game path, empty ones dropped.
    static std::vector<std::string> Split(const std::string& winPath);
    // The existing entry under base that the path names, components matched case-insensitively
    // when the exact name is absent; empty when nothing matches.
    static std::filesystem::path ResolveIn(const std::filesystem::path& base, const std::string& winPath);
    // Names are listed in case-insensitive order; names that differ only in case, by their bytes.
    static bool NameLess(const std::string& a, const std::string& b);
    static bool WildcardMatch(const std::string& pattern, const std::string& name);

    // Where to read a game path from: the provided files, the home folder, then the game folder; empty
    // if absent.
    std::filesystem::path ForReading(const std::string& winPath) const;
    // Where to write a game path: under the home folder, existing components reused whatever their case.
    std::filesystem::path ForWriting(const std::string& winPath) const;
    bool Exists(const std::string& winPath) const { return !ForReading(winPath).empty(); }
    // True when the game path names a regular file (not a folder, a FIFO or a device).
    bool IsFile(const std::string& winPath) const;

    // Names (not paths) of the entries matching a pattern such as `maps\*.map` in both folders,
    // without `.` and `..`, each name once, in case-insensitive name order.
    std::vector<std::string> FindFiles(const std::string& winPattern) const;

    // Creates one folder in the home folder; false when it exists already or cannot be made.
    bool CreateFolder(const std::string& winPath) const;
    // The whole file when the path names a regular file of at most maxBytes bytes.
    TReadResult Read(const std::string& winPath, size_t maxBytes) const;
    // Writes a temporary file beside the target and renames it over the target, so a failed
    // save leaves the old file whole.
    bool WriteFileAtomic(const std::string& winPath, const std::vector<uint8_t>& bytes) const;
    // Removes the temporary file of a save that a kill cut off between writing and renaming
    // (a regular file only: anything else in its place is left to the player).
    void RemoveLeftoverTemporary(const std::string& winPath) const;
};
