// NetMessage: the messages two machines exchange in online play, and their byte form.
#pragma once

#include "core/PilotRecord.h"
#include "core/Replay.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// A message starts with two letters, the protocol version and its kind (little-endian throughout).
// A Bye keeps its form in every version, so a partner of another version still learns why it was
// turned away.
constexpr uint16_t NetProtocolVersion = 2;
constexpr uint16_t DefaultNetPort = 24790;

// Limits a decoder holds every message to before it trusts a count or a length.
constexpr size_t NetPictureLimit = 64 * 1024; // one private ship or flag picture
constexpr size_t NetInputRun = 64;            // ticks of one side's input in one message
constexpr size_t NetTextLimit = 255;          // a version text or a parting message
constexpr size_t NetMessageLimit = 2 * NetPictureLimit + 1024;

enum class TNetKind : uint8_t {
    Hello = 1,  // each side on connecting, and again when its pilot changes
    Start = 2,  // the host's Begin: what the match starts from
    Inputs = 3, // one side's recent inputs, its clock and what it has received
    Hash = 4,   // the state hash after a tick, every ReplayHashInterval ticks
    Stop = 5,   // a player left the match: both play on up to the given tick and leave there
    Bye = 6,    // the connection ends, with the reason shown to the partner
};

struct TNetHello {
    std::string GameVersion;
    TPilotRecord Pilot;                            // the sender's own player
    std::vector<uint8_t> ShipPicture, FlagPicture; // its private pictures, empty when shipped ones
    // The sender's map and match options: the guest shows the host's before the match.
    std::string Map;
    uint8_t FlagsDisabled = 0, PointsLimit = 0, Lives = 0;
};

// Why a partner's greeting cannot be played (a private picture outside its pilot's paths' reach,
// damaged, or larger than a ship or flag may be), in words for both players; empty when it can.
std::string RefusedPictures(const TNetHello& hello);

struct TNetStart {
    TReplayStart Start; // options (both pilots, the map), content hash, seed, weapons, pages
    uint8_t Delay = 2;  // ticks each side's input is scheduled ahead
};

struct TNetInputs {
    uint32_t First = 0;        // the tick of Bits[0]
    std::vector<uint8_t> Bits; // the sender's action bits from tick First on
    uint32_t Received = 0;     // ticks of the receiver's input the sender holds, from tick 0
    uint32_t Clock = 0;        // the sender's clock in ms
    uint32_t Echo = 0;         // the last Clock the sender received from the receiver
    uint32_t EchoAge = 0;      // ms the sender held that Echo before this message
};

struct TNetHash {
    uint32_t Tick = 0;
    uint64_t Hash = 0;
};

struct TNetMessage {
    TNetKind Kind = TNetKind::Bye;
    TNetHello Hello;
    TNetStart Start;
    TNetInputs Inputs;
    TNetHash Hash;
    uint16_t Match = 0; // which match of the session a Start, Inputs, Hash or Stop belongs to
    uint32_t StopTick = 0;
    std::string Text; // a Bye's reason
};

std::vector<uint8_t> EncodeNetMessage(const TNetMessage& message);
// False with a one-line reason when the bytes are not one whole message of this protocol within the
// limits above; nothing is allocated from a length before the bytes it covers are there.
bool DecodeNetMessage(const uint8_t* bytes, size_t size, TNetMessage& message, std::string& error);
