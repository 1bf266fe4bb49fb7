// ReplayFiles: where replays live in the home folder, which files a replay depends on, and loading one.
#pragma once

#include "core/Files.h"
#include "core/OptionsFile.h"
#include "core/Replay.h"

#include <filesystem>
#include <string>

// Replays recorded automatically are named `match-...`; only the newest KeptReplays of them stay.
// A replay kept under any other name is never deleted.
constexpr size_t KeptReplays = 50;
constexpr const char* ReplayFolder = "replays";

// A digest of the map file, every picture it names and both pilots' ship and flag pictures, each
// with its game path; a file that cannot be read counts as empty.
uint64_t MatchContentHash(const TFiles& files, const TOptions& options);

// A game path for a new automatic replay, unused so far: `replays\match-YYYYMMDD-HHMMSS[-n].rpl`.
std::string NewReplayName(const TFiles& files);

// Deletes the oldest automatic replays in the home folder beyond `keep`.
void PruneReplays(const TFiles& files, size_t keep);

// Reads and checks a replay file; false with a one-line reason.
bool LoadReplayFile(const std::filesystem::path& path, TReplay& replay, std::string& error);
