// Ranks: rank titles, time and percentage texts, the end-of-match arithmetic and the statistics lines.
#pragma once

#include "core/PilotRecord.h"

#include <cstdint>
#include <string>
#include <vector>

struct TOptions;

// Level 1 or more: the smallest n with 21 * n * (n + 1) > experience (experience capped at 1.9e9).
int RankLevel(uint32_t experience);
std::string RankTitle(uint32_t experience);

// "45 Seconds", "1 Second", "01:05", "1:02:05".
std::string FormatTime(uint32_t seconds);
// Right-aligned percentage with two decimals and the count: " 45.50% (12)", "100.00% (3)".
std::string FormatPercent(uint32_t count, double percent);

// Shares in percent, 0 when the divisor is 0.
double HitEnemyShare(const TPilotRecord& r);
double OnFootShare(const TPilotRecord& r);

// Decides the result of a finished match from the two match records: streaks, wins, draws and
// experience.
void SettleMatch(TOptions& match);
// The medals decided when the match is over (streak, accuracy, on foot), set in the player's match
// record; the opponent's record gives the points to beat.
void AwardMatchMedals(TPilotRecord& match, const TPilotRecord& opponent);
// Adds both match records into the pilots' lifetime records.
void MergeMatch(TOptions& pilots, const TOptions& match);

// The statistics text of a record, one entry per line of the panel, in the lifetime or match view.
std::vector<std::string> PilotStatsLines(const TPilotRecord& r, bool lifetime);

// Where the statistics text starts in a panel, and the drawing of one earned medal.
inline int StatsTop(bool lifetime) {
    return lifetime ? 99 : 40;
}
struct TMedalPlacement {
    int Medal = 0; // drawn with the image "Medal" + Medal
    int X = 0;
    int Y = 0;
};
// The earned medals in drawing order; within a family the higher grade comes later, on top.
std::vector<TMedalPlacement> MedalPlacements(const TPilotRecord& r);
