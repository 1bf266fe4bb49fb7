// OptionsFile: the 512-byte options record (both current pilots, map and match options) and Options.DAT.
#pragma once

#include "core/PilotRecord.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

class TFiles;

constexpr size_t OptionsRecordSize = 512;

struct TOptions {
    std::array<TPilotRecord, 2> Players{};
    TPathString MapFile;
    uint8_t FlagsDisabled = 0;
    uint8_t PointsLimit = 0; // 0 = no limit
    uint8_t Lives = 0;       // 0 = unlimited
    std::array<uint8_t, 2> Pad510{};

    void Read(const uint8_t* bytes); // OptionsRecordSize bytes
    void Write(uint8_t* bytes) const;
    std::vector<uint8_t> Bytes() const;
};

// The first regular file in name order matching a pattern such as `*_ship.bmp` in a folder such as
// `graphics\`, as a game path; the folder alone when there is none.
std::string FirstUsableFile(const TFiles& files, const std::string& folder, const std::string& pattern);

// The defaults of a fresh installation: the two default pilots with the first ship and flag
// pictures, the first map, no points limit, five lives.
TOptions DefaultOptions(const TFiles& files);

// A ship, flag or map path of a record that names no regular file takes the default's value (the
// first ship, flag or map found), so a damaged or hand-edited record keeps working.
void UseDefaultsForUnusablePaths(TPilotRecord& pilot, const TFiles& files);
void UseDefaultsForUnusablePaths(TOptions& options, const TFiles& files);

// Start-up: removes a temporary file a killed save left behind and reads Options.DAT when it is a
// regular file of at most RecordFileLimit bytes (a short file leaves the record as far as it was
// read, the rest zero; unusable paths take the defaults); otherwise applies the defaults and
// creates the pilot folders. Returns true when the file was read.
bool LoadOptions(TOptions& options, const TFiles& files);
// Quit: writes Options.DAT through a temporary file; false when the save failed (the old file stays).
bool SaveOptions(const TOptions& options, const TFiles& files);
