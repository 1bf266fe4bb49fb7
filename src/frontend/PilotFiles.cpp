// PilotFiles: saving and loading pilots, listing them and creating new ones.
#include "frontend/PilotFiles.h"

#include "core/Files.h"
#include "core/OptionsFile.h"

#include <algorithm>
#include <cctype>

namespace {
std::string Lower(std::string s) {
    for (char& c : s)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}
} // namespace

bool ValidPilotName(const std::string& name) {
    if (name.empty() || name == "." || name == "..") return false;
    return name.find_first_of(std::string("\\/*\0", 4)) == std::string::npos;
}

bool SavePilot(const TFiles& files, const TPilotRecord& record) {
    const std::string name = record.Name.Str();
    if (!ValidPilotName(name)) return false;
    std::vector<uint8_t> bytes(PilotRecordSize, 0);
    record.Write(bytes.data());
    // The pilot's folder may be missing from the home folder (deleted, or the pilot came with the
    // game folder); making it keeps the record instead of dropping it.
    files.CreateFolder("pilots");
    files.CreateFolder("pilots\\" + name);
    return files.WriteFileAtomic("pilots\\" + name + "\\Pilot.DAT", bytes);
}

bool LoadPilot(const TFiles& files, TPilotRecord& record, const std::string& folder) {
    if (!ValidPilotName(folder)) return false;
    const std::string path = "Pilots\\" + folder + "\\Pilot.DAT";
    const TReadResult file = files.Read(path, RecordFileLimit);
    if (!file.Ok() || file.Bytes.empty()) return false;
    const std::vector<uint8_t>& read = file.Bytes;
    // A short file fills the record only as far as it goes; the rest keeps what the record held.
    std::vector<uint8_t> bytes(PilotRecordSize, 0);
    record.Write(bytes.data());
    std::copy_n(read.begin(), std::min(read.size(), PilotRecordSize), bytes.begin());
    record.Read(bytes.data());
    return true;
}

std::vector<std::string> PilotListEntries(const TFiles& files, const std::string& otherSidePilot) {
    const std::string other = Lower(otherSidePilot);
    std::vector<std::string> entries;
    for (const std::string& name : files.FindFiles("pilots\\*.*")) {
        // Only real dot entries are skipped; the listing may or may not contain them.
        if (name == "." || name == "..") continue;
        if (Lower(name) == other) continue;
        entries.push_back(name);
    }
    return entries;
}

TPilotListPage PilotListPage(const std::vector<std::string>& entries, int top) {
    TPilotListPage page;
    const size_t first = size_t(std::max(top, 0));
    // "*New Pilot*" and the computer rows lead the list.
    const size_t lead = 1 + ComputerRows.size();
    const size_t total = entries.size() + lead;
    for (size_t i = first; i < total && page.Rows.size() < size_t(PilotListRows); ++i)
        page.Rows.push_back(i == 0     ? std::string(NewPilotRow)
                            : i < lead ? std::string(ComputerRows[i - 1])
                                       : entries[i - lead]);
    page.UpArrow = top > 0;
    page.DownArrow = first + page.Rows.size() < total;
    return page;
}

bool IsNewPilotRow(const std::string& row) {
    return Lower(row) == "*new pilot*";
}

bool IsComputerRow(const std::string& row, TPilotLevel& level) {
    for (size_t k = 0; k < ComputerRows.size(); ++k)
        if (Lower(row) == Lower(ComputerRows[k])) {
            level = TPilotLevel(k);
            return true;
        }
    return false;
}

bool AppendPilotNameLetter(std::string& name, char letter) {
    if (name.size() >= NewPilotNameCapacity) return false;
    name += letter;
    return true;
}

bool RemovePilotNameLetter(std::string& name) {
    if (name.empty()) return false;
    name.pop_back();
    return true;
}

bool CreatePilot(const TFiles& files, TOptions& options, int side, const std::string& name) {
    // A name longer than the record holds would be saved under a shorter folder name.
    if (side < 0 || side > 1 || !ValidPilotName(name) || name.size() > TPathString().Chars.size())
        return false;
    // A pilot of that name in the game folder or the home folder, or a file in the way, is taken.
    if (files.Exists("Pilots\\" + name)) return false;
    files.CreateFolder("Pilots");
    if (!files.CreateFolder("Pilots\\" + name)) return false;
    TPilotRecord& pilot = options.Players[size_t(side)];
    pilot.Name.Set(name);
    pilot.ShipFile.Set(FirstUsableFile(files, "graphics\\", "*_ship.bmp"));
    pilot.FlagFile.Set(FirstUsableFile(files, "graphics\\", "*_flag.bmp"));
    // Both sides start in player 1's colours.
    pilot.PantsColour = DefaultPants[0];
    pilot.HelmetColour = DefaultHelmet[0];
    pilot.ShirtColour = DefaultShirt[0];
    pilot.Weapons = DefaultWeapons;
    pilot.ClearCounters();
    return true;
}
