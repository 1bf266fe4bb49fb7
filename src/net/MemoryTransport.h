// MemoryTransport: two transports joined in memory, with simulated delay and loss on a shared clock.
#pragma once

#include "net/NetTransport.h"

#include <array>
#include <cstdint>
#include <deque>
#include <memory>

// The line between the two ends. Every message takes half the round trip; an unreliable one is lost
// with the given chance, a reliable one is sent again after a round trip for each loss and still
// arrives in order. Time moves only when the owner sets Now, so a run is the same every time.
struct TMemoryLine {
    uint64_t Now = 0;
    uint32_t RoundTripMs = 0;
    uint32_t LossPerMille = 0;
    uint32_t Random = 1; // the loss draws' generator state
    uint64_t Sent = 0;
    uint64_t Lost = 0;

    struct TFlight {
        uint64_t ArrivesAt = 0;
        TNetEvent Event;
    };
    std::array<std::deque<TFlight>, 2> ToSide; // messages on their way to end 0 and end 1
    std::array<uint64_t, 2> LastReliable{};    // keeps reliable messages in order
    std::array<bool, 2> Open{true, true};

    bool Lose();
    void Carry(int to, TNetEvent event, bool reliable);
};

// One end: index 0 or 1 of the line. Both ends see Connected first.
std::unique_ptr<TNetTransport> MemoryEnd(const std::shared_ptr<TMemoryLine>& line, int end);
