// SafeRead: the one way the game reads a file - regular files only, never more than a bound.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

// Why a read gave no bytes. A folder, a FIFO or a device named like a game file is NotAFile, so
// nothing a player or a map maker puts in the game's folders can block or exhaust a read.
enum class TReadStatus : uint8_t { Ok, Missing, NotAFile, TooLarge, Failed };

struct TReadResult {
    TReadStatus Status = TReadStatus::Failed;
    std::vector<uint8_t> Bytes;

    bool Ok() const { return Status == TReadStatus::Ok; }
    // "is a folder or a device", "is larger than 65536 bytes" and so on, for messages.
    std::string Reason() const;
};

// Upper bounds for the kinds of file the game reads.
constexpr size_t RecordFileLimit = 64 * 1024;             // Options.DAT, Pilot.DAT
constexpr size_t TextFileLimit = 4 * 1024 * 1024;         // maps and input scripts
constexpr size_t PictureFileLimit = 300u * 1024u * 1024u; // the largest map layer a world may hold

// Reads a whole file when it is a regular file of at most maxBytes bytes. Never throws and never
// waits for a writer: the file is opened without blocking and its kind checked on the open handle.
TReadResult ReadFileBounded(const std::filesystem::path& path, size_t maxBytes) noexcept;
