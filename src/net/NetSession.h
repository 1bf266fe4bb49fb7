// NetSession: one side of an online game: the greeting, the agreed start and the lockstep of inputs.
#pragma once

#include "net/NetMessage.h"
#include "net/NetTransport.h"

#include <array>
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

// A partner silent this long is gone (TNetSession::SilenceLimitMs; a test may shorten it).
constexpr uint64_t NetSilenceLimitMs = 5000;
// The longest input delay the session chooses, however slow the line.
constexpr uint32_t NetDelayLimitMs = 150;

// The ticks each side's input is scheduled ahead: enough for a message to cross the line one way,
// plus two ticks for one lost message, at least 2 and at most NetDelayLimitMs.
uint8_t ChooseInputDelay(uint32_t roundTripMs, uint32_t tickMs);

enum class TNetPhase : uint8_t {
    Connecting, // no partner yet, or no greeting from it
    Lobby,      // both greeted: between matches
    Playing,    // a match runs in lockstep
    Over,       // the connection ended; Message says why
};

// Pure but for its transport: time is handed in, so a test runs it on a simulated clock. The host
// is player 1 (side 0), the guest player 2 (side 1).
class TNetSession {
  public:
    TNetSession(std::unique_ptr<TNetTransport> transport, int localSide, const TNetHello& hello);

    int LocalSide() const { return Local; }
    bool IsHost() const { return Local == 0; }
    TNetPhase Phase() const { return State; }
    // Why the session is over, in words for the players.
    const std::string& Message() const { return Why; }
    uint32_t RoundTripMs() const { return RoundTrip; }

    // Takes what arrived (waiting at most waitMs for the first event) and ends the session when the
    // partner has been silent for NetSilenceLimitMs.
    void Receive(uint64_t nowMs, uint32_t waitMs);
    // Sends this side's unacknowledged inputs and its clock when there is something new, or now and
    // then to show it is still there.
    void Send(uint64_t nowMs);
    // Says goodbye with the reason; the session is over.
    void Close(const std::string& why);

    uint64_t SilenceLimitMs = NetSilenceLimitMs;

    // The partner's greeting; PartnerChanged is set whenever a new one arrived. A greeting whose
    // pictures cannot be played (RefusedPictures) ends the session, with the reason on both sides.
    const TNetHello& Partner() const { return PartnerHello; }
    bool PartnerChanged = false;
    // Greets again, when the own pilot changed between matches.
    void Greet(const TNetHello& hello);

    // Host, in the lobby: starts the match on both sides.
    void Begin(const TReplayStart& start, uint8_t delay);
    // Guest: true once, with the start, when the host began a match.
    bool TakeStart(TNetStart& start);
    uint8_t Delay() const { return InputDelay; }

    // The match in lockstep. The local side schedules one input per tick, Delay ticks ahead, while
    // WantsLocalInput; a tick runs when Ready, with both sides' bits from Take.
    bool WantsLocalInput() const;
    void AddLocalInput(uint8_t bits);
    bool Ready() const;
    std::array<uint8_t, 2> Take();
    uint32_t TicksTaken() const { return Taken; }
    // The state hash after a tick; a partner's different hash for the same tick ends the session.
    void AddHash(uint32_t tick, uint64_t hash);
    // A player leaves the match: both sides play on to StopTick and leave it there.
    void Leave();
    bool Stopping() const { return StopAt != NoStop; }
    bool StopReached() const { return Stopping() && Taken >= StopAt; }
    // The match ended (by its rules, at the same tick on both sides, or at the stop): back to the
    // lobby. The last inputs are still sent for a partner that waits for them.
    void EndMatch();

  private:
    static constexpr uint32_t NoStop = UINT32_MAX;
    std::unique_ptr<TNetTransport> Transport;
    int Local = 0;
    TNetPhase State = TNetPhase::Connecting;
    std::string Why;
    TNetHello OwnHello;
    TNetHello PartnerHello;
    bool PartnerGreeted = false;

    uint64_t Now = 0;
    uint64_t LastHeard = 0;
    bool Heard = false;
    uint64_t LastSent = 0;
    bool Fresh = false; // a local input not yet sent
    uint32_t RoundTrip = 0;
    bool RoundTripKnown = false;
    uint32_t PartnerClock = 0;
    uint64_t PartnerClockAt = 0;
    bool PartnerClockKnown = false;

    uint16_t Match = 0;
    bool StartWaiting = false;
    TNetStart PendingStart;
    uint8_t InputDelay = 2;
    std::vector<uint8_t> Own, Theirs; // each side's action bits per tick of this match
    uint32_t PartnerHolds = 0;        // ticks of Own the partner has received
    uint32_t Taken = 0;
    uint32_t StopAt = NoStop;
    std::map<uint32_t, uint64_t> OwnHashes, TheirHashes;

    void Post(TNetMessage message, bool reliable);
    void Handle(const TNetMessage& message);
    void StartMatch(uint16_t match, uint8_t delay);
    void CompareHashes();
    void End(const std::string& why);
};
