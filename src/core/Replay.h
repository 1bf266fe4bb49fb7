// Replay: a recorded match (its start, each tick's input, state digests, the result) and its file form.
#pragma once

#include "core/OptionsFile.h"
#include "core/PlayerInput.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

// Every action bit a player's byte may hold.
constexpr uint8_t ActAll = (1u << ActionCount) - 1;

// Everything a match tick takes from outside the world: both players' action bytes (TTickInput)
// now and in the tick before (pages react to presses and releases), and the frame rate the time base
// measured.
struct TMatchTick {
    std::array<uint8_t, 2> Actions{};
    std::array<uint8_t, 2> Previous{};
    uint16_t FrameRate = 0;
    bool operator==(const TMatchTick&) const = default;
};

// A live weapon slot as the match found it: its ammunition and cooldown carry over between matches.
struct TReplayWeapon {
    uint8_t WeaponId = 0;
    uint8_t Owner = 0;
    float Cooldown = 0;
    float Ammo = 0;
    bool operator==(const TReplayWeapon&) const = default;
};

// A pilot's private ship or flag picture (one outside the shared graphics), carried in the replay so
// the match plays on a machine that has only the map: its game path as the record names it, its bytes.
struct TReplayPicture {
    std::string Path;
    std::vector<uint8_t> Bytes;
    bool operator==(const TReplayPicture&) const = default;
};
// A ship or flag picture is at most 64 x 64 pixels; a larger file is not carried.
constexpr size_t MaxReplayPictureBytes = 256 * 1024;

// What makes a match reproducible before its first tick.
struct TReplayStart {
    uint32_t RandomSeed = 0;  // the generator's state as the match was being set up
    TOptions Options;         // both pilots, the map and the match options as they were
    uint64_t ContentHash = 0; // the map file, every picture it names and both pilots' ship and flag pictures
    uint8_t FrameCounter = 0; // the match frame counter, which runs on across matches
    std::array<int8_t, 2> PageCursor{};
    std::array<std::array<TReplayWeapon, 2>, 2> Weapons{}; // [player][slot]
    // Every private picture the pilots' records name, each once; each path is one of the records'
    // ship or flag paths and has no `.` or `..` component.
    std::vector<TReplayPicture> Pictures;
};

constexpr uint32_t ReplayHashInterval = 100;

// How a recording stopped: the match ended by its rules, was left on the way, or was left for the
// menu after a fault in a tick (the ticks before it are whole; the state the fault left is not kept).
constexpr uint8_t ReplayEnded = 1;
constexpr uint8_t ReplayAbandoned = 2;
constexpr uint8_t ReplayFaulted = 3;

struct TReplayResult {
    uint8_t How = 0;
    std::array<int64_t, 2> Points{};
    uint64_t FinalHash = 0; // the state after the last tick
};

struct TReplay {
    TReplayStart Start;
    std::vector<TMatchTick> Ticks;
    // Hashes[k] is the state after tick ReplayHashInterval * (k + 1).
    std::vector<uint64_t> Hashes;
    TReplayResult Result;
};

// Format 2 carries the pilots' private pictures; format 1 files (without them) are still read.
constexpr uint16_t ReplayFormatVersion = 2;
extern const char* const ReplayGameVersion;

// The file form: a fixed header, the ticks as runs of equal ticks, the hashes, the result and a
// checksum of all bytes before it (little-endian throughout; docs/replays.md).
std::vector<uint8_t> WriteReplay(const TReplay& replay);
// False with a one-line reason when the bytes are not a whole, undamaged replay of a version this
// game reads; no count read from the file is trusted before the bytes it needs are there.
bool ReadReplay(const std::vector<uint8_t>& bytes, TReplay& replay, std::string& error);
// The checksum a replay file ends with (FNV-1a, 64 bits) of the bytes before it.
uint64_t ReplayChecksum(const uint8_t* data, size_t size);
