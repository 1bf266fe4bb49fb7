// PilotFiles: pilot folders and Pilot.DAT, the pages of the pilot list and the creation of a new pilot.
#pragma once

#include "core/PilotRecord.h"
#include "pilot/ComputerPilot.h"

#include <array>

#include <string>
#include <vector>

class TFiles;
struct TOptions;

// The first row of every pilot list; choosing it opens the name entry.
inline constexpr const char* NewPilotRow = "*New Pilot*";
// The rows after it that hand the side to the computer, one per level (easy, normal, hard). The side
// then carries the row as its pilot's name: a name no pilot folder may have, so the computer keeps no
// record and its statistics last only as long as the game runs.
inline constexpr std::array<const char*, 3> ComputerRows{"*CPU Easy*", "*CPU Normal*", "*CPU Hard*"};
constexpr int PilotListRows = 11;
// The name entry keeps at most this many letters.
constexpr size_t NewPilotNameCapacity = 15;

// A pilot name is a folder name: empty names, `.`, `..` and names with a path separator or a NUL
// would save into some other folder, so they are never used; nor are names with a star, which mark
// the rows that are no pilot.
bool ValidPilotName(const std::string& name);

// Writes the 232-byte record to `pilots\<Name>\Pilot.DAT` in the home folder, making the folder when
// it is missing, through a temporary file, so a failed save leaves the old file whole. False, with
// nothing written, for an invalid name or a failed write.
bool SavePilot(const TFiles& files, const TPilotRecord& record);
// Reads `Pilots\<folder>\Pilot.DAT` into the record. A missing file (or anything but a regular
// file of at most RecordFileLimit bytes) leaves it unchanged and a short one replaces only the
// bytes it holds. False when nothing could be read.
bool LoadPilot(const TFiles& files, TPilotRecord& record, const std::string& folder);

// The entries of `pilots\` in listing order, without dot entries and without the pilot that the
// other side is using (compared case-insensitively).
std::vector<std::string> PilotListEntries(const TFiles& files, const std::string& otherSidePilot);

// One page of the list "*New Pilot*", the computer rows, entries...: up to 11 rows from element `top` on.
struct TPilotListPage {
    std::vector<std::string> Rows;
    bool UpArrow = false;   // offered when the page does not start at the top
    bool DownArrow = false; // offered when an element follows the last row
};
TPilotListPage PilotListPage(const std::vector<std::string>& entries, int top);

// True for the row that starts the name entry, whatever its case.
bool IsNewPilotRow(const std::string& row);
// True for a computer row, whatever its case, with its level in `level`.
bool IsComputerRow(const std::string& row, TPilotLevel& level);

// Screen positions of the list of side s (0 or 1): row items, their labels in the panel and arrows.
inline int PilotRowItemX(int side) {
    return 21 + 440 * side;
}
inline int PilotRowItemY(int row) {
    return 168 + 16 * row;
}
inline int PilotRowLabelY(int row) {
    return 115 + 16 * row;
}
inline int PilotArrowX(int side) {
    return 86 + 440 * side;
}
constexpr int PilotUpArrowY = 152;
constexpr int PilotDownArrowY = 345;

// One letter typed on the on-screen keyboard; false when the name is full and the letter is dropped.
bool AppendPilotNameLetter(std::string& name, char letter);
// Backspace; false when there was nothing to remove.
bool RemovePilotNameLetter(std::string& name);

// Return on the name entry: creates the folder `Pilots\<name>` and, only if it was created, makes the
// side's current pilot a new one with the first ship and flag, player 1's colours, the default
// weapons and no statistics. An existing folder or an unusable name changes nothing.
bool CreatePilot(const TFiles& files, TOptions& options, int side, const std::string& name);
