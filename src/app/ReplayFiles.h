// ReplayFiles: where replays live in the home folder, which files a replay depends on, and loading one.
#pragma once

#include "core/Files.h"
#include "core/OptionsFile.h"
#include "core/Replay.h"
#include "world/StateHash.h"

#include <filesystem>
#include <string>
#include <vector>

// Replays recorded automatically are named `match-...`; only the newest KeptReplays of them stay.
// A replay kept under any other name is never deleted.
constexpr size_t KeptReplays = 50;
constexpr const char* ReplayFolder = "replays";

// A digest of the map file, every picture it names and both pilots' ship and flag pictures, each
// with its game path; a file that cannot be read counts as empty.
uint64_t MatchContentHash(const TFiles& files, const TOptions& options);
// The same, going on from the map's part as a world built on these options took it (TWorld::MapContent),
// so that the map and its pictures are not read a second time.
uint64_t MatchContentHash(const TFiles& files, const TOptions& options, TStateHash mapContent);

// True for a ship or flag picture in the shared `graphics\` folder, which every game has.
bool SharedPicture(const std::string& path);

// The pilots' ship and flag pictures outside the shared `graphics\` folder (their private ones),
// each once, as far as they can be read and are small enough to carry.
std::vector<TReplayPicture> PrivatePictures(const TFiles& files, const TOptions& options);

// While it lives, the game reads a replay's pictures before any of its own files: they are put in a
// folder of their own under replays\ in the home folder, removed again at the end, so the player's
// own files are never touched.
class TProvidedPictures {
  public:
    TProvidedPictures(TFiles& files, const std::vector<TReplayPicture>& pictures);
    ~TProvidedPictures();
    TProvidedPictures(const TProvidedPictures&) = delete;
    TProvidedPictures& operator=(const TProvidedPictures&) = delete;
    // False when the pictures could not be written.
    bool Ok() const { return Written; }

  private:
    TFiles& Files;
    std::filesystem::path Folder;
    bool Written = false;
};

// The folder of a process's replay pictures is this followed by the process id.
constexpr const char* PicturesFolderPrefix = ".pictures-";

// Removes the replay pictures' folders under the home folder that a game which stopped without
// clearing up (a crash, a kill) left behind: those whose process no longer runs.
void RemoveLeftoverPictures(const std::filesystem::path& home);

// A game path for a new automatic replay, unused so far: `replays\match-YYYYMMDD-HHMMSS[-n].rpl`.
std::string NewReplayName(const TFiles& files);

// Deletes the oldest automatic replays in the home folder beyond `keep`.
void PruneReplays(const TFiles& files, size_t keep);

// Reads and checks a replay file; false with a one-line reason.
bool LoadReplayFile(const std::filesystem::path& path, TReplay& replay, std::string& error);
