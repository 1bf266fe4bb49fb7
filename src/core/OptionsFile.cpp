// OptionsFile: layout, defaults, loading and saving of the options record.
#include "core/OptionsFile.h"

#include "core/Files.h"

#include <cstring>

void TOptions::Read(const uint8_t* bytes) {
    Players[0].Read(bytes);
    Players[1].Read(bytes + PilotRecordSize);
    const uint8_t* p = bytes + 2 * PilotRecordSize;
    MapFile.Length = p[0];
    std::memcpy(MapFile.Chars.data(), p + 1, MapFile.Chars.size());
    FlagsDisabled = p[43];
    PointsLimit = p[44];
    Lives = p[45];
    Pad510 = {p[46], p[47]};
}

void TOptions::Write(uint8_t* bytes) const {
    Players[0].Write(bytes);
    Players[1].Write(bytes + PilotRecordSize);
    uint8_t* p = bytes + 2 * PilotRecordSize;
    p[0] = MapFile.Length;
    std::memcpy(p + 1, MapFile.Chars.data(), MapFile.Chars.size());
    p[43] = FlagsDisabled;
    p[44] = PointsLimit;
    p[45] = Lives;
    p[46] = Pad510[0];
    p[47] = Pad510[1];
}

std::vector<uint8_t> TOptions::Bytes() const {
    std::vector<uint8_t> out(OptionsRecordSize, 0);
    Write(out.data());
    return out;
}

static std::string FirstFile(const TFiles& files, const std::string& pattern) {
    const std::vector<std::string> found = files.FindFiles(pattern);
    return found.empty() ? std::string() : found.front();
}

TOptions DefaultOptions(const TFiles& files) {
    TOptions o;
    const std::string ship = "graphics\\" + FirstFile(files, "graphics\\*_ship.bmp");
    const std::string flag = "graphics\\" + FirstFile(files, "graphics\\*_flag.bmp");
    o.Players[0] = DefaultPilot(0, ship, flag);
    o.Players[1] = DefaultPilot(1, ship, flag);
    o.MapFile.Set("maps\\" + FirstFile(files, "maps\\*.map"));
    o.FlagsDisabled = 0;
    o.PointsLimit = 0;
    o.Lives = 5;
    return o;
}

bool LoadOptions(TOptions& options, const TFiles& files) {
    if (files.Exists("Options.DAT") && !files.IsFolder("Options.DAT")) {
        std::vector<uint8_t> bytes;
        files.ReadFile("Options.DAT", bytes);
        bytes.resize(OptionsRecordSize, 0); // what could not be read stays zero
        options.Read(bytes.data());
        return true;
    }
    options = DefaultOptions(files);
    files.CreateFolder("Pilots");
    files.CreateFolder("pilots\\PLAYER 1");
    files.CreateFolder("pilots\\PLAYER 2");
    return false;
}

bool SaveOptions(const TOptions& options, const TFiles& files) {
    return files.WriteFileAtomic("Options.DAT", options.Bytes());
}
