// OnlinePlay: a game with a partner on another machine: the connection, the lobby and the match in lockstep.
#pragma once

#include "app/ReplayFiles.h"
#include "core/OptionsFile.h"
#include "net/NetSession.h"

#include <array>
#include <cstdint>
#include <memory>
#include <string>

class TGame;

// The host is player 1, the guest player 2; each machine's own player plays with that machine's
// controls and keeps its own pilot: the partner's side of the options (and on the guest the host's
// map and match options) is only borrowed while the two are connected, and is put back before
// anything is saved. The partner's private ship and flag pictures are provided as a replay's are.
class TOnlinePlay {
  public:
    explicit TOnlinePlay(TGame& game);
    // Listens (--host) or connects (--join) as the command line says; false with a reason.
    bool Open(std::string& error);

    int LocalSide() const { return Session ? Session->LocalSide() : 0; }
    int PartnerSide() const { return 1 - LocalSide(); }
    bool Connected() const { return Session && Session->Phase() != TNetPhase::Over; }

    // Every tick before the screens: what the partner sent, its pilot, the host's start.
    void Frame();
    // Begin in the menus: only the host begins, and only with a partner.
    bool Begin();
    // One frame of the running match: the own input goes out, and the match moves one tick once
    // both sides' inputs for it are there; until then the screen says that it waits.
    void MatchFrame();
    // Escape in the match: both sides leave it at the same tick.
    void Leave();
    // The program closes: the partner is told, and the borrowed side of the options is put back.
    void Close(const std::string& why);

  private:
    TGame& Game;
    std::unique_ptr<TNetSession> Session;
    uint64_t Origin = 0;
    TOptions OptionsBefore; // as they were before the partner's pilot and the host's choices came
    std::array<uint8_t, 2> Previous{};
    bool QuickStarted = false;
    bool PanelShown = false;
    bool RestorePending = false;
    std::vector<uint8_t> Greeted; // what the last greeting said (GreetingKey)
    std::string OwnRefusal;       // why the own pilot's pictures cannot be sent
    std::unique_ptr<TProvidedPictures> PartnerPictures;

    uint64_t NowMs() const;
    std::vector<uint8_t> GreetingKey() const;
    TNetHello OwnHello();
    bool ShowPartner();
    void ShowWaiting();
    void TakeStart();
    void LeaveMatch(const std::string& note);
    void Finish();
    void Restore();
};
