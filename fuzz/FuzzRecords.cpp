// FuzzRecords: any bytes as Options.DAT and as a pilot's Pilot.DAT, read the way start-up and the
// pilot list read them.
#include "FuzzFolder.h"

#include "core/OptionsFile.h"
#include "frontend/PilotFiles.h"
#include "frontend/Ranks.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const TFuzzFolder folder("records");
    const std::vector<uint8_t> bytes(data, data + size);
    folder.Put("Options.DAT", bytes);
    folder.Put("pilots/ACE/Pilot.DAT", bytes);

    TOptions options;
    LoadOptions(options, folder.Files);
    // What was read is written back byte for byte.
    TOptions again;
    const std::vector<uint8_t> written = options.Bytes();
    again.Read(written.data());
    if (again.Bytes() != written) __builtin_trap();

    TPilotRecord pilot = options.Players[0];
    if (LoadPilot(folder.Files, pilot, "ACE")) {
        // The pilot screens show the statistics of whatever the record holds, and a match merges
        // into it.
        (void)PilotStatsLines(pilot, true);
        options.Players[0] = pilot;
        TOptions match = options;
        SettleMatch(match);
        MergeMatch(options, match);
    }
    return 0;
}
