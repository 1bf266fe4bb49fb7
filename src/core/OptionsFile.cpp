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

std::string FirstUsableFile(const TFiles& files, const std::string& folder, const std::string& pattern) {
    for (const std::string& name : files.FindFiles(folder + pattern))
        if (files.IsFile(folder + name)) return folder + name;
    return folder;
}

static std::string DefaultShip(const TFiles& files) {
    return FirstUsableFile(files, "graphics\\", "*_ship.bmp");
}
static std::string DefaultFlag(const TFiles& files) {
    return FirstUsableFile(files, "graphics\\", "*_flag.bmp");
}
static std::string DefaultMap(const TFiles& files) {
    return FirstUsableFile(files, "maps\\", "*.map");
}

TOptions DefaultOptions(const TFiles& files) {
    TOptions o;
    const std::string ship = DefaultShip(files);
    const std::string flag = DefaultFlag(files);
    o.Players[0] = DefaultPilot(0, ship, flag);
    o.Players[1] = DefaultPilot(1, ship, flag);
    o.MapFile.Set(DefaultMap(files));
    o.FlagsDisabled = 0;
    o.PointsLimit = 0;
    o.Lives = 5;
    return o;
}

void UseDefaultsForUnusablePaths(TPilotRecord& pilot, const TFiles& files) {
    if (!files.IsFile(pilot.ShipFile.Str())) pilot.ShipFile.Set(DefaultShip(files));
    if (!files.IsFile(pilot.FlagFile.Str())) pilot.FlagFile.Set(DefaultFlag(files));
}

void UseDefaultsForUnusablePaths(TOptions& options, const TFiles& files) {
    for (TPilotRecord& pilot : options.Players)
        UseDefaultsForUnusablePaths(pilot, files);
    if (!files.IsFile(options.MapFile.Str())) options.MapFile.Set(DefaultMap(files));
}

bool LoadOptions(TOptions& options, const TFiles& files) {
    files.RemoveLeftoverTemporary("Options.DAT");
    TReadResult file = files.Read("Options.DAT", RecordFileLimit);
    if (file.Ok()) {
        file.Bytes.resize(OptionsRecordSize, 0); // what the file does not hold stays zero
        options.Read(file.Bytes.data());
        UseDefaultsForUnusablePaths(options, files);
        // Quit saves the two current pilots as well; a kill during that save leaves their temporaries.
        for (const TPilotRecord& pilot : options.Players) {
            const std::string name = pilot.Name.Str();
            if (TFiles::Split(name).size() == 1 && name != "." && name != "..")
                files.RemoveLeftoverTemporary("pilots\\" + name + "\\Pilot.DAT");
        }
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
