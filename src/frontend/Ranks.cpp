// Ranks: the rank table, number texts, settling and merging a match, and the statistics text.
#include "frontend/Ranks.h"

#include "core/OptionsFile.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>

namespace {

constexpr uint32_t ExperienceCap = 1900000000u;
constexpr size_t LabelWidth = 22;
constexpr const char* CountGap = "        (";

// Titles of levels 1..41; every level above is a numbered Flargod.
constexpr std::array<const char*, 41> RankTitles{
    "Newbie flaron",
    "Bronze Newbie flaron",
    "Silver Newbie flaron",
    "Gold Newbie flaron",
    "Bronze Rookie flaron ",
    "Silver Rookie flaron ",
    "Gold Rookie flaron ",
    "Bronze Flaron apprentice",
    "Silver Flaron apprentice",
    "Gold Flaron apprentice",
    "Bronze flaron",
    "Silver flaron",
    "Gold flaron",
    "Bronze seasoned flaron",
    "Silver seasoned flaron",
    "Gold seasoned flaron",
    "Bronze heroic flaron",
    "Silver heroic flaron",
    "Gold heroic flaron",
    "Flarknight of the mouse",
    "Flarknight of the squirrel",
    "Flarknight of the bat",
    "Flarknight of the tiger",
    "Flarknight of the lion",
    "Flarknight of the panther",
    "Flarknight of the black panther",
    "Flarknight of the ogre",
    "Flarknight of the troll",
    "Flarknight of the gorgon",
    "Flarknight of the kentaur",
    "Flarknight of the gargoyle",
    "Flarknight of the giant",
    "Flarknight of the manticore",
    "Flarknight of the bronze dragon",
    "Flarknight of the silver dragon",
    "Flarknight of the gold dragon",
    "Flarknight of the platinum dragon",
    "Flarknight of the black dragon",
    "Bronze Flarmaster",
    "Silver Flarmaster",
    "Gold Flarmaster",
};

// part / whole in percent, 0 for an empty whole. Multiplying first keeps exact shares exact, so
// 60 of 100 is 60 and not a hair below or above it at the medal boundaries.
double Share(int64_t part, int64_t whole) {
    return whole == 0 ? 0.0 : double(part) * 100.0 / double(whole);
}

// Adds one unit in the last place of a string of decimal digits.
void IncrementDigits(std::string& digits) {
    for (size_t i = digits.size(); i-- > 0;) {
        if (digits[i] != '9') {
            ++digits[i];
            return;
        }
        digits[i] = '0';
    }
    digits.insert(digits.begin(), '1');
}

// "##0.00": at least one integer digit, two decimals, halves rounded away from zero (printf alone
// would round an exact 3.125 down to 3.12).
std::string FixedTwo(double v) {
    if (!std::isfinite(v)) return "0.00";
    const bool negative = v < 0;
    // The exact decimal expansion of the binary value; every finite double fits.
    std::array<char, 512> buf{};
    std::snprintf(buf.data(), buf.size(), "%.60f", std::fabs(v));
    const std::string exact(buf.data());
    const size_t dot = exact.find('.');
    std::string digits = exact.substr(0, dot) + exact.substr(dot + 1, 2);
    if (exact[dot + 3] >= '5') IncrementDigits(digits);
    std::string text = digits.substr(0, digits.size() - 2) + "." + digits.substr(digits.size() - 2);
    const bool zero = std::all_of(digits.begin(), digits.end(), [](char c) { return c == '0'; });
    return negative && !zero ? "-" + text : text;
}

// A part of a text; positions past its end give less or nothing instead of failing.
std::string Cut(const std::string& s, size_t start, size_t count) {
    if (start >= s.size()) return {};
    return s.substr(start, count);
}

std::string TrimLeft(const std::string& s) {
    const size_t first = s.find_first_not_of(' ');
    return first == std::string::npos ? std::string() : s.substr(first);
}

// Labels are padded with dots so the values line up in the fixed-width font.
std::string Label(const std::string& text) {
    return text.size() >= LabelWidth ? text : text + std::string(LabelWidth - text.size(), '.');
}

std::string Num(uint32_t v) {
    return std::to_string(v);
}

} // namespace

int RankLevel(uint32_t experience) {
    const uint64_t e = std::min(experience, ExperienceCap);
    // Start from the closed form and step to the exact boundary, whatever the rounding of sqrt.
    int64_t n = std::max<int64_t>(1, int64_t((std::sqrt(1.0 + 4.0 * double(e) / 21.0) - 1.0) / 2.0));
    auto above = [e](int64_t k) { return uint64_t(21 * k * (k + 1)) > e; };
    while (n > 1 && above(n - 1))
        --n;
    while (!above(n))
        ++n;
    return int(n);
}

std::string RankTitle(uint32_t experience) {
    const int level = RankLevel(experience);
    if (level <= int(RankTitles.size())) return RankTitles[size_t(level - 1)];
    return "Level " + std::to_string(level - int(RankTitles.size())) + " Flargod";
}

std::string FormatTime(uint32_t t) {
    if (t == 1) return "1 Second";
    if (t < 60) return std::to_string(t).append(" Seconds");
    // Built by appending to one string: GCC 12 at -O3 misreads chains of temporary concatenations
    // as overlapping copies (-Wrestrict).
    std::string text;
    uint32_t r = t;
    if (t >= 3600) {
        text.append(std::to_string(t / 3600)).append(":");
        r = t % 3600;
        if (r < 60) text.append("00:");
    }
    auto twoDigits = [&text](uint32_t v) {
        if (v < 10) text.push_back('0');
        text.append(std::to_string(v));
    };
    if (r >= 60) {
        twoDigits(r / 60);
        text.push_back(':');
        r %= 60;
    }
    twoDigits(r);
    return text;
}

std::string FormatPercent(uint32_t count, double percent) {
    const double whole = std::trunc(percent);
    std::string text;
    if (whole < 100) text += ' ';
    if (whole < 10) text += ' ';
    return text + FixedTwo(percent) + "% (" + Num(count) + ")";
}

double HitEnemyShare(const TPilotRecord& r) {
    return Share(r.ShotsHitEnemy, r.ShotsFired);
}
double OnFootShare(const TPilotRecord& r) {
    return Share(r.OnFootTime, r.PlayingTime);
}

void SettleMatch(TOptions& match) {
    TPilotRecord& one = match.Players[0];
    TPilotRecord& two = match.Players[1];
    if (one.Points == two.Points) {
        for (TPilotRecord* p : {&one, &two}) {
            p->BattlesDrawn += 1;
            p->Experience += (p->Points / 4) * 3;
        }
        return;
    }
    TPilotRecord& winner = two.Points > one.Points ? two : one;
    TPilotRecord& loser = two.Points > one.Points ? one : two;
    winner.SuccessiveWins += 1;
    winner.BattlesWon += 1;
    winner.Experience += winner.Points;
    loser.SuccessiveWins = 0;
    loser.Experience += loser.Points / 2;
}

void AwardMatchMedals(TPilotRecord& m, const TPilotRecord& opponent) {
    if (m.SuccessiveWins == 5 || m.SuccessiveWins == 10 || m.SuccessiveWins == 15)
        m.Medals[2 + m.SuccessiveWins / 5] = 1;
    if (m.ShotsFired >= 100 && m.PlayingTime >= 120) {
        const double hit = HitEnemyShare(m);
        if (hit >= 60) m.Medals[12] = 1;
        if (hit >= 75) m.Medals[13] = 1;
        if (hit >= 90) m.Medals[14] = 1;
    }
    if (m.PlayingTime > 120 && m.Points > opponent.Points) {
        const double foot = OnFootShare(m);
        if (foot > 60) m.Medals[15] = 1;
        if (foot > 75) m.Medals[16] = 1;
        if (foot > 90) m.Medals[17] = 1;
    }
}

void MergeMatch(TOptions& pilots, const TOptions& match) {
    for (size_t i = 0; i < 2; ++i) {
        TPilotRecord& p = pilots.Players[i];
        const TPilotRecord& m = match.Players[i];
        p.ShotsHitEnemy += m.ShotsHitEnemy;
        p.ShotsHitSelf += m.ShotsHitSelf;
        p.ShotsFired += m.ShotsFired;
        p.Points += m.Points;
        p.FlagsCaptured += m.FlagsCaptured;
        p.FlagAttempts += m.FlagAttempts;
        p.PlayingTime += m.PlayingTime;
        p.OnFootTime += m.OnFootTime;
        p.Experience += m.Experience;
        p.BattlesWon += m.BattlesWon;
        p.BattlesDrawn += m.BattlesDrawn;
        p.BattlesFought += 1;
        if (m.PlayingTime > p.LongestBattle) p.LongestBattle = m.PlayingTime;
        p.SuccessiveWins = m.SuccessiveWins;
        for (size_t k = 0; k < p.Medals.size(); ++k)
            if (m.Medals[k] != 0) p.Medals[k] = 1;
    }
}

std::vector<std::string> PilotStatsLines(const TPilotRecord& r, bool lifetime) {
    std::vector<std::string> lines{""};
    if (lifetime) {
        lines.push_back("Rank: " + RankTitle(r.Experience));
        lines.push_back("Experience: " + Num(r.Experience));
    } else {
        lines.push_back("Experience earned: " + Num(r.Experience));
    }
    lines.push_back("");
    lines.push_back(Label(lifetime ? "Total Playing Time:" : "Playing Time:") + FormatTime(r.PlayingTime));
    if (r.PlayingTime > 0) {
        // The whole-number part of the share, taken from the right-aligned percentage text.
        const std::string whole = TrimLeft(Cut(FormatPercent(2, OnFootShare(r)), 0, 3));
        lines.push_back(Label("Flaron Time:") + FormatTime(r.OnFootTime) + " (" + whole + "%)");
    } else {
        lines.push_back(Label("Flaron Time:") + "0 Seconds (0%)");
    }
    lines.push_back("");
    if (r.Points > 0) {
        lines.push_back(Label(lifetime ? "Total Points:" : "Points:") + Num(r.Points));
        lines.push_back("");
    }
    if (r.ShotsFired > 0) {
        // More hits than shots (a record edited or wrapped) must not show billions of misses.
        const int64_t missed =
            std::max<int64_t>(0, int64_t(r.ShotsFired) - int64_t(r.ShotsHitEnemy) - int64_t(r.ShotsHitSelf));
        lines.push_back(Label("Shots Fired:") + CountGap + Num(r.ShotsFired) + ")");
        lines.push_back(Label("Shots Hit Enemy:") + FormatPercent(r.ShotsHitEnemy, HitEnemyShare(r)));
        lines.push_back(Label("Shots Hit Self:") +
                        FormatPercent(r.ShotsHitSelf, Share(r.ShotsHitSelf, r.ShotsFired)));
        lines.push_back(Label("Shots Missed:") +
                        FormatPercent(uint32_t(missed), Share(missed, r.ShotsFired)));
        lines.push_back("");
    }
    if (r.FlagAttempts > 0) {
        lines.push_back(Label("Flag capture attempts:") + CountGap + Num(r.FlagAttempts) + ")");
        lines.push_back(Label("Flags captured:") +
                        FormatPercent(r.FlagsCaptured, Share(r.FlagsCaptured, r.FlagAttempts)));
        lines.push_back("");
    }
    if (lifetime && r.BattlesFought > 0) {
        const int64_t fought = r.BattlesFought;
        const int64_t lost = std::max<int64_t>(0, fought - int64_t(r.BattlesDrawn) - int64_t(r.BattlesWon));
        lines.push_back(Label("Battles fought:") + CountGap + Num(r.BattlesFought) + ")");
        lines.push_back(Label("Battles won:") + FormatPercent(r.BattlesWon, Share(r.BattlesWon, fought)));
        lines.push_back(Label("Battles lost:") + FormatPercent(uint32_t(lost), Share(lost, fought)));
        lines.push_back(Label("Battles drawed:") +
                        FormatPercent(r.BattlesDrawn, Share(r.BattlesDrawn, fought)));
        lines.push_back("");
        lines.push_back(Label("Longest Battle:") + FormatTime(r.LongestBattle));
        lines.push_back("");
    }
    if (r.SuccessiveWins > 1) {
        lines.push_back(Label("Successive wins:") + Num(r.SuccessiveWins));
        lines.push_back("");
    }
    return lines;
}

std::vector<TMedalPlacement> MedalPlacements(const TPilotRecord& r) {
    std::vector<TMedalPlacement> placed;
    for (int family = 0; family < 6; ++family)
        for (int grade = 0; grade < 3; ++grade) {
            const int medal = 3 * family + grade;
            if (r.Medals[size_t(medal)] != 0)
                placed.push_back({medal, 26 * family + 3 * grade, 314 + 2 * grade});
        }
    return placed;
}
