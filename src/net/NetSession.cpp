// NetSession: greeting, start, input exchange, hash comparison and the partner's silence.
#include "net/NetSession.h"

#include <algorithm>

namespace {
// Between sends while nothing new is there: often enough in a match to repair a lost message
// quickly, rarely in the lobby.
constexpr uint64_t MatchResendMs = 20;
constexpr uint64_t LobbyResendMs = 100;
// Inputs or hashes further ahead than this are not kept: no honest partner gets there.
constexpr uint32_t AheadLimit = 1024;
constexpr size_t HashesKept = 64;
} // namespace

uint8_t ChooseInputDelay(uint32_t roundTripMs, uint32_t tickMs) {
    tickMs = std::max<uint32_t>(tickMs, 1);
    const uint32_t oneWay = (roundTripMs / 2 + tickMs - 1) / tickMs;
    const uint32_t most = std::max<uint32_t>(NetDelayLimitMs / tickMs, 2);
    return uint8_t(std::clamp<uint32_t>(oneWay + 2, 2, most));
}

TNetSession::TNetSession(std::unique_ptr<TNetTransport> transport, int localSide, const TNetHello& hello)
    : Transport(std::move(transport)), Local(localSide == 0 ? 0 : 1), OwnHello(hello) {}

void TNetSession::Post(TNetMessage message, bool reliable) {
    if (State == TNetPhase::Over) return;
    Transport->Send(EncodeNetMessage(message), reliable);
}

void TNetSession::End(const std::string& why) {
    State = TNetPhase::Over;
    Why = why;
}

void TNetSession::Close(const std::string& why) {
    if (State == TNetPhase::Over) return;
    TNetMessage bye;
    bye.Kind = TNetKind::Bye;
    bye.Text = why;
    Post(bye, true);
    Transport->Disconnect();
    End(why);
}

void TNetSession::Greet(const TNetHello& hello) {
    OwnHello = hello;
    if (State == TNetPhase::Connecting && !Heard) return; // greeted once connected
    TNetMessage m;
    m.Kind = TNetKind::Hello;
    m.Hello = OwnHello;
    Post(m, true);
}

void TNetSession::Receive(uint64_t nowMs, uint32_t waitMs) {
    Now = nowMs;
    TNetEvent event;
    while (State != TNetPhase::Over && Transport->Poll(event, waitMs)) {
        waitMs = 0;
        if (event.Type == TNetEvent::Connected) {
            Heard = true;
            LastHeard = Now;
            Greet(OwnHello);
        } else if (event.Type == TNetEvent::Disconnected) {
            End(State == TNetPhase::Connecting && !IsHost() ? "no game answered at that address"
                                                            : "the partner closed the connection");
        } else if (event.Type == TNetEvent::Received) {
            LastHeard = Now;
            TNetMessage message;
            std::string error;
            if (DecodeNetMessage(event.Bytes.data(), event.Bytes.size(), message, error))
                Handle(message);
            else
                Close("the partner sent what this game cannot read: " + error);
        }
    }
    const bool partnered = State == TNetPhase::Lobby || State == TNetPhase::Playing;
    if (partnered && Now - LastHeard > SilenceLimitMs)
        End("the partner is gone: nothing was heard from it for " +
            (SilenceLimitMs % 1000 != 0 ? std::to_string(SilenceLimitMs) + " ms"
                                        : std::to_string(SilenceLimitMs / 1000) + " seconds"));
}

void TNetSession::Handle(const TNetMessage& m) {
    switch (m.Kind) {
    case TNetKind::Hello:
        if (m.Hello.GameVersion != ReplayGameVersion) {
            Close("the two games differ: " + m.Hello.GameVersion + " and " + ReplayGameVersion);
            return;
        }
        if (const std::string refused = RefusedPictures(m.Hello); !refused.empty()) {
            Close(refused);
            return;
        }
        PartnerHello = m.Hello;
        PartnerChanged = true;
        if (State == TNetPhase::Connecting) State = TNetPhase::Lobby;
        return;
    case TNetKind::Start:
        if (IsHost() || State == TNetPhase::Connecting) return;
        PendingStart = m.Start;
        StartWaiting = true;
        StartMatch(m.Match, std::max<uint8_t>(m.Start.Delay, 1));
        return;
    case TNetKind::Inputs: {
        const TNetInputs& in = m.Inputs;
        const uint32_t now32 = uint32_t(Now);
        if (in.Echo != 0) {
            const uint32_t sample = now32 - in.Echo - in.EchoAge;
            if (sample < 10000) {
                RoundTrip = RoundTripKnown ? (7 * RoundTrip + sample) / 8 : sample;
                RoundTripKnown = true;
            }
        }
        PartnerClock = in.Clock;
        PartnerClockAt = Now;
        PartnerClockKnown = true;
        if (m.Match != Match || Theirs.empty()) return;
        for (size_t i = 0; i < in.Bits.size(); ++i) {
            const uint64_t tick = uint64_t(in.First) + i;
            if (tick == Theirs.size() && tick < uint64_t(Taken) + AheadLimit) Theirs.push_back(in.Bits[i]);
        }
        PartnerHolds = std::max(PartnerHolds, std::min<uint32_t>(in.Received, uint32_t(Own.size())));
        return;
    }
    case TNetKind::Hash:
        if (m.Match != Match || TheirHashes.size() >= HashesKept) return;
        TheirHashes[m.Hash.Tick] = m.Hash.Hash;
        CompareHashes();
        return;
    case TNetKind::Stop:
        if (m.Match == Match && State == TNetPhase::Playing && !Stopping())
            StopAt = std::max(m.StopTick, Taken);
        return;
    case TNetKind::Bye:
        End(m.Text.empty() ? "the partner closed the connection" : m.Text);
        return;
    }
}

void TNetSession::Send(uint64_t nowMs) {
    Now = nowMs;
    if (State != TNetPhase::Lobby && State != TNetPhase::Playing) return;
    const uint64_t wait = Fresh ? 0 : State == TNetPhase::Playing ? MatchResendMs : LobbyResendMs;
    if (Now - LastSent < wait) return;
    TNetMessage m;
    m.Kind = TNetKind::Inputs;
    m.Match = Match;
    TNetInputs& in = m.Inputs;
    in.First = PartnerHolds;
    const size_t from = std::min<size_t>(PartnerHolds, Own.size());
    const size_t to = std::min(Own.size(), from + NetInputRun);
    in.Bits.assign(Own.begin() + std::ptrdiff_t(from), Own.begin() + std::ptrdiff_t(to));
    in.Received = uint32_t(Theirs.size());
    in.Clock = std::max<uint32_t>(uint32_t(Now), 1);
    in.Echo = PartnerClockKnown ? PartnerClock : 0;
    in.EchoAge = PartnerClockKnown ? uint32_t(Now - PartnerClockAt) : 0;
    Post(m, false);
    LastSent = Now;
    Fresh = false;
}

void TNetSession::Begin(const TReplayStart& start, uint8_t delay) {
    if (!IsHost() || State != TNetPhase::Lobby) return;
    StartMatch(uint16_t(Match + 1), std::max<uint8_t>(delay, 1));
    TNetMessage m;
    m.Kind = TNetKind::Start;
    m.Match = Match;
    m.Start.Start = start;
    m.Start.Delay = InputDelay;
    Post(m, true);
}

bool TNetSession::TakeStart(TNetStart& start) {
    if (!StartWaiting) return false;
    StartWaiting = false;
    start = PendingStart;
    return true;
}

void TNetSession::StartMatch(uint16_t match, uint8_t delay) {
    Match = match;
    InputDelay = delay;
    // The first Delay ticks of both sides are empty: nobody could have sent them in time.
    Own.assign(delay, 0);
    Theirs.assign(delay, 0);
    PartnerHolds = delay;
    Taken = 0;
    StopAt = NoStop;
    OwnHashes.clear();
    TheirHashes.clear();
    State = TNetPhase::Playing;
}

bool TNetSession::WantsLocalInput() const {
    return State == TNetPhase::Playing && Own.size() < size_t(Taken) + InputDelay + 1 &&
           (!Stopping() || Own.size() < StopAt);
}

void TNetSession::AddLocalInput(uint8_t bits) {
    if (!WantsLocalInput()) return;
    Own.push_back(bits);
    Fresh = true;
}

bool TNetSession::Ready() const {
    return State == TNetPhase::Playing && Own.size() > Taken && Theirs.size() > Taken && !StopReached();
}

std::array<uint8_t, 2> TNetSession::Take() {
    std::array<uint8_t, 2> bits{};
    if (!Ready()) return bits;
    bits[size_t(Local)] = Own[Taken];
    bits[size_t(1 - Local)] = Theirs[Taken];
    ++Taken;
    return bits;
}

void TNetSession::AddHash(uint32_t tick, uint64_t hash) {
    if (State != TNetPhase::Playing) return;
    OwnHashes[tick] = hash;
    TNetMessage m;
    m.Kind = TNetKind::Hash;
    m.Match = Match;
    m.Hash = TNetHash{tick, hash};
    Post(m, true);
    CompareHashes();
}

void TNetSession::CompareHashes() {
    for (auto it = TheirHashes.begin(); it != TheirHashes.end();) {
        const auto own = OwnHashes.find(it->first);
        if (own == OwnHashes.end()) {
            ++it;
            continue;
        }
        if (own->second != it->second) {
            Close("the two games went apart at tick " + std::to_string(it->first) +
                  ": the match is stopped and both replays are kept");
            return;
        }
        OwnHashes.erase(own);
        it = TheirHashes.erase(it);
    }
}

void TNetSession::Leave() {
    if (State != TNetPhase::Playing || Stopping()) return;
    StopAt = uint32_t(Own.size());
    TNetMessage m;
    m.Kind = TNetKind::Stop;
    m.Match = Match;
    m.StopTick = StopAt;
    Post(m, true);
}

void TNetSession::EndMatch() {
    if (State == TNetPhase::Playing) State = TNetPhase::Lobby;
}
