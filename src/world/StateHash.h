// StateHash: a fast 64-bit digest of a match's state, for replays and the determinism guard.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

class TWorld;

// Four interleaved FNV-style lanes over 64-bit words, folded at the end: any changed bit changes the
// digest, and the terrain and play field of a large map are digested in a few milliseconds.
class TStateHash {
  public:
    void Bytes(const void* data, size_t size);
    template <typename T> void Add(const T& v) { Bytes(&v, sizeof v); }
    template <typename T> void Vector(const std::vector<T>& v) { Bytes(v.data(), v.size() * sizeof(T)); }
    uint64_t Value() const;

  private:
    uint64_t Lanes[4] = {14695981039346656037ull, 1099511628211ull, 0x9E3779B97F4A7C15ull,
                         0xC2B2AE3D27D4EB4Full};
    uint64_t Length = 0;
};

// A file as replays digest the files a match depends on: its game path, its length and its bytes.
void HashNamedFile(TStateHash& hash, const std::string& winPath, const std::vector<uint8_t>& bytes);

// Everything of a world the rules change: the pool and its cursor, the terrain classes, the play
// field's pixels, ships, flags, the match's copy of the options record with its counters, the
// cameras, the frame counter, the shake, the end flags and the medal timers.
void HashWorld(TStateHash& hash, const TWorld& world);
