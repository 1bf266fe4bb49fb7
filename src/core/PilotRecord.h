// PilotRecord: the 232-byte pilot record, its defaults and its byte layout.
#pragma once

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

// A length byte followed by a fixed capacity of 8-bit characters. The raw bytes are kept as read,
// so an untouched record is written back unchanged; a length above the capacity reads as the capacity.
template <size_t Capacity> struct TShortString {
    uint8_t Length = 0;
    std::array<char, Capacity> Chars{};

    size_t Size() const { return std::min<size_t>(Length, Capacity); }
    std::string Str() const { return std::string(Chars.data(), Size()); }
    void Set(const std::string& s) {
        const size_t n = std::min(s.size(), Capacity);
        Length = static_cast<uint8_t>(n);
        std::copy(s.begin(), s.begin() + static_cast<std::ptrdiff_t>(n), Chars.begin());
    }
    static constexpr size_t Bytes = Capacity + 1;
};

using TPathString = TShortString<42>;

constexpr size_t PilotRecordSize = 232;
constexpr int MedalCount = 18;

struct TPilotRecord {
    TPathString Name;
    TPathString ShipFile;
    TPathString FlagFile;
    uint8_t ShipValid = 0;
    std::array<uint8_t, 2> Pad130{};
    uint32_t BattlesFought = 0;
    uint32_t BattlesWon = 0;
    uint32_t BattlesDrawn = 0;
    uint32_t SuccessiveWins = 0;
    uint32_t ShotsHitEnemy = 0;
    uint32_t ShotsHitSelf = 0;
    uint32_t ShotsFired = 0;
    uint32_t Points = 0;
    uint32_t Experience = 0;
    uint32_t FlagsCaptured = 0;
    uint32_t FlagAttempts = 0;
    uint32_t PlayingTime = 0;
    uint32_t LongestBattle = 0;
    uint32_t OnFootTime = 0;
    std::array<uint8_t, MedalCount> Medals{};
    std::array<uint8_t, 2> Pad206{};
    uint32_t PantsColour = 0;  // Windows colour 0x00BBGGRR
    uint32_t HelmetColour = 0; // Windows colour 0x00BBGGRR
    uint32_t ShirtColour = 0;  // Windows colour 0x00BBGGRR
    std::array<uint8_t, 10> Weapons{};
    std::array<uint8_t, 2> Pad230{};

    // Field-by-field little-endian layout; `bytes` must hold PilotRecordSize bytes.
    void Read(const uint8_t* bytes);
    void Write(uint8_t* bytes) const;
    // Sets every counter and medal to 0 (the per-match statistics start from this).
    void ClearCounters();
};

// Player 1's and player 2's default colours and the default weapon pages.
constexpr uint32_t DefaultPants[2] = {0x22DD00, 0xDD0022};
constexpr uint32_t DefaultHelmet[2] = {0x00AA11, 0xAA1100};
constexpr uint32_t DefaultShirt[2] = {0x11BB11, 0xBB1111};
constexpr std::array<uint8_t, 10> DefaultWeapons{9, 11, 0, 13, 2, 3, 14, 6, 7, 8};

// The default pilot of a side (0 or 1): "PLAYER 1" or "PLAYER 2" with the given ship and flag paths.
TPilotRecord DefaultPilot(int side, const std::string& shipFile, const std::string& flagFile);
