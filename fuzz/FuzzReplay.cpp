// FuzzReplay: any bytes, sealed with the checksum a replay file ends with, read as --replay reads a
// replay before anything is run (unsealed, almost every input would stop at the checksum).
#include "core/Files.h"
#include "core/Replay.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::vector<uint8_t> bytes(data, data + size);
    const uint64_t seal = ReplayChecksum(data, size);
    for (size_t i = 0; i < 8; ++i)
        bytes.push_back(uint8_t(seal >> (8 * i)));
    TReplay replay;
    std::string error;
    if (!ReadReplay(bytes, replay, error)) {
        // A refusal is one line.
        if (error.empty() || error.find('\n') != std::string::npos) __builtin_trap();
        return 0;
    }
    // Carried pictures are written under a folder of their own: no path may lead out of it.
    for (const TReplayPicture& picture : replay.Start.Pictures) {
        const std::vector<std::string> parts = TFiles::Split(picture.Path);
        if (parts.empty() || std::count(parts.begin(), parts.end(), "..") != 0) __builtin_trap();
    }
    // What was accepted is written in this game's form, and that form reads back to the same replay.
    const std::vector<uint8_t> written = WriteReplay(replay);
    TReplay again;
    if (!ReadReplay(written, again, error) || WriteReplay(again) != written) __builtin_trap();
    if (again.Ticks != replay.Ticks || again.Hashes != replay.Hashes) __builtin_trap();
    return 0;
}
