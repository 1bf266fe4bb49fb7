// OnlinePlay: the online game's hooks into the game object, its screens and its records.
#include "app/OnlinePlay.h"

#include "app/Game.h"
#include "app/ReplayFiles.h"
#include "frontend/PanelDrawing.h"
#include "media/Platform.h"
#include "world/World.h"

#include <chrono>
#include <cstdio>

TOnlinePlay::TOnlinePlay(TGame& game) : Game(game) {
    Origin = NowMs();
}

uint64_t TOnlinePlay::NowMs() const {
    const auto now = std::chrono::steady_clock::now().time_since_epoch();
    return uint64_t(std::chrono::duration_cast<std::chrono::milliseconds>(now).count()) - Origin;
}

std::vector<uint8_t> TOnlinePlay::GreetingKey() const {
    const TOptions& o = Game.Options;
    std::vector<uint8_t> key(PilotRecordSize);
    o.Players[size_t(LocalSide())].Write(key.data());
    const std::string map = o.MapFile.Str();
    key.insert(key.end(), map.begin(), map.end());
    key.insert(key.end(), {o.FlagsDisabled, o.PointsLimit, o.Lives});
    return key;
}

TNetHello TOnlinePlay::OwnHello() {
    const TOptions& o = Game.Options;
    TNetHello hello;
    hello.GameVersion = ReplayGameVersion;
    hello.Pilot = o.Players[size_t(LocalSide())];
    hello.Map = o.MapFile.Str();
    hello.FlagsDisabled = o.FlagsDisabled, hello.PointsLimit = o.PointsLimit, hello.Lives = o.Lives;
    OwnRefusal.clear();
    for (auto [path, bytes] : {std::pair{hello.Pilot.ShipFile.Str(), &hello.ShipPicture},
                               std::pair{hello.Pilot.FlagFile.Str(), &hello.FlagPicture}}) {
        if (SharedPicture(path)) continue;
        TReadResult read = Game.Files.Read(path, NetPictureLimit);
        if (read.Ok())
            *bytes = std::move(read.Bytes);
        else if (Game.Files.Exists(path))
            OwnRefusal = "the picture " + path + " of " + hello.Pilot.Name.Str() + " cannot be sent (it " +
                         read.Reason() + "; at most " + std::to_string(NetPictureLimit / 1024) +
                         " KB travel); choose another to play online";
    }
    return hello;
}

bool TOnlinePlay::Open(std::string& error) {
    const TCommandLine& cl = Game.CommandLine;
    uint16_t port = cl.PortGiven ? cl.Port : DefaultNetPort;
    const int side = cl.Host ? 0 : 1;
    std::unique_ptr<TNetTransport> transport =
        cl.Host ? ListenOnPort(port, error) : ConnectToHost(cl.Join, port, error);
    if (!transport) return false;
    OptionsBefore = Game.Options;
    Session = std::make_unique<TNetSession>(std::move(transport), side, TNetHello{});
    if (cl.SilenceLimitMs != 0) Session->SilenceLimitMs = cl.SilenceLimitMs;
    Greeted = GreetingKey();
    Session->Greet(OwnHello());
    Game.Front.HostChooses = !cl.Host;
    std::fprintf(stderr, "flarons: online: %s\n",
                 cl.Host ? ("hosting on port " + std::to_string(port)).c_str()
                         : ("joining " + cl.Join + ":" + std::to_string(port)).c_str());
    return true;
}

void TOnlinePlay::Frame() {
    if (!Session) return;
    if (RestorePending && Game.GameState != gsMatchEnd) Restore();
    if (Session->Phase() == TNetPhase::Over) return;
    const bool busy = Game.GameState == gsMatch && Session->Ready();
    Session->Receive(NowMs(), busy ? 0 : 1);
    // A headless host told to begin at once waits for its partner here, so its script's ticks count
    // from the match's start.
    if (Game.CommandLine.Headless && Session->IsHost() && Game.CommandLine.QuickMatch && !QuickStarted)
        while (Session->Phase() == TNetPhase::Connecting)
            Session->Receive(NowMs(), 10);
    // Own pictures that cannot travel end the connection once the partner can be told why.
    if (!OwnRefusal.empty() && Session->Phase() == TNetPhase::Lobby) Session->Close(OwnRefusal);
    if (Session->Phase() == TNetPhase::Over) {
        Finish();
        return;
    }
    const bool menus = IsFrontEndState(Game.GameState) && Game.GameState != gsStartup;
    if (Session->PartnerChanged && menus && !ShowPartner()) return;
    if (Session->Phase() == TNetPhase::Connecting && menus && !PanelShown) ShowWaiting();
    if (Session->Phase() == TNetPhase::Lobby && menus) {
        // A pilot or a choice changed between matches is greeted again, so the partner's copy stays
        // current.
        if (std::vector<uint8_t> key = GreetingKey(); key != Greeted) {
            Greeted = std::move(key);
            Session->Greet(OwnHello());
        }
        if (Session->IsHost() && Game.CommandLine.QuickMatch && !QuickStarted) {
            QuickStarted = true;
            Begin();
        }
    }
    // A guest still on the end screen settles its match first; the host waits for it meanwhile.
    if (!Session->IsHost() && Game.GameState != gsMatchEnd) TakeStart();
    Session->Send(NowMs());
}

bool TOnlinePlay::ShowPartner() {
    Session->PartnerChanged = false;
    const TNetHello& partner = Session->Partner();
    std::vector<TReplayPicture> pictures;
    for (const auto& [path, bytes] : {std::pair{partner.Pilot.ShipFile.Str(), &partner.ShipPicture},
                                      std::pair{partner.Pilot.FlagFile.Str(), &partner.FlagPicture}})
        if (!bytes->empty() && !SharedPicture(path) && (pictures.empty() || pictures[0].Path != path))
            pictures.push_back(TReplayPicture{path, *bytes});
    PartnerPictures.reset(); // its folder is the new one's
    PartnerPictures = std::make_unique<TProvidedPictures>(Game.Files, pictures);
    if (!PartnerPictures->Ok()) {
        Session->Close("the partner's pictures cannot be put under " +
                       (Game.Files.HomeDir / ReplayFolder).string() + " on the " +
                       (Session->IsHost() ? "host" : "guest"));
        Finish();
        return false;
    }
    const int side = PartnerSide();
    Game.Options.Players[size_t(side)] = partner.Pilot;
    if (!Session->IsHost()) {
        // The host chooses: the guest shows its map and options.
        Game.Options.MapFile.Set(partner.Map);
        Game.Options.FlagsDisabled = partner.FlagsDisabled;
        Game.Options.PointsLimit = partner.PointsLimit;
        Game.Options.Lives = partner.Lives;
        Game.Front.DrawOptionsPanel();
    }
    Game.Front.PlayerPanels[size_t(side)].Fill(0);
    Game.Front.RedrawPilotSide(side);
    Game.Front.PartnerSide = side;
    PanelShown = true;
    return true;
}

void TOnlinePlay::ShowWaiting() {
    Surface& panel = Game.Front.PlayerPanels[size_t(PartnerSide())];
    panel.Fill(0);
    const TPictureItem& font = Game.Images.Find("GreyFont");
    if (Session->IsHost()) {
        WriteCentred(panel, font, 79, 150, "WAITING FOR");
        WriteCentred(panel, font, 79, 170, "A PLAYER");
    } else {
        WriteCentred(panel, font, 79, 150, "CONNECTING");
        WriteCentred(panel, font, 79, 170, "TO THE HOST");
    }
    Game.Front.PartnerSide = PartnerSide();
    PanelShown = true;
}

bool TOnlinePlay::Begin() {
    if (!Session || !Session->IsHost()) {
        Game.Front.MatchStartError = "the host begins the match";
        return false;
    }
    if (Session->Phase() != TNetPhase::Lobby) {
        Game.Front.MatchStartError = "waiting for a player to join";
        return false;
    }
    const uint32_t tickMs = uint32_t(Game.FrameTimer.Interval);
    Session->Begin(Game.CaptureMatchStart(), ChooseInputDelay(Session->RoundTripMs(), tickMs));
    Previous = {};
    if (!Game.StartMatch()) {
        Session->Close("the host could not start the match: " + Game.Front.MatchStartError);
        Finish();
        return false;
    }
    std::fprintf(stderr, "flarons: online: the match begins, input delay %d ticks, round trip %u ms\n",
                 int(Session->Delay()), Session->RoundTripMs());
    return true;
}

void TOnlinePlay::TakeStart() {
    TNetStart start;
    if (!Session->TakeStart(start)) return;
    if (Session->PartnerChanged && !ShowPartner()) return;
    // The same map and pictures, or no match: the guest's world would go its own way.
    if (MatchContentHash(Game.Files, start.Start.Options) != start.Start.ContentHash) {
        Session->Close("the map " + start.Start.Options.MapFile.Str() +
                       ", its pictures or a pilot's ship or flag picture are missing on the guest's "
                       "machine or differ there");
        Finish();
        return;
    }
    if (Game.GameState == gsMatch) Game.SaveRecording(ReplayAbandoned);
    Game.ApplyMatchStart(start.Start);
    Previous = {};
    if (!Game.StartMatch()) {
        Session->Close("the guest could not start the match: " + Game.Front.MatchStartError);
        Finish();
        return;
    }
    std::fprintf(stderr, "flarons: online: the match begins, input delay %d ticks\n", int(start.Delay));
}

void TOnlinePlay::MatchFrame() {
    if (!Game.World || !Session) return;
    TNetSession& s = *Session;
    const size_t local = size_t(LocalSide());
    if (s.WantsLocalInput()) {
        // Either keyboard side and any pad play for this machine's player.
        const TComputerPilot* computer = Game.ComputerPilots[local].get();
        const uint8_t bits = computer != nullptr
                                 ? Game.ComputerPilots[local]->Think(*Game.World, Game.PlayerWeapons[local])
                                 : uint8_t(Game.Input.Now.Players[0] | Game.Input.Now.Players[1]);
        s.AddLocalInput(bits);
    }
    s.Send(NowMs());
    // Without a window a frame waits for the partner itself, so a script's ticks count match ticks.
    while (Game.CommandLine.Headless && !s.Ready() && !s.StopReached() && s.Phase() == TNetPhase::Playing) {
        s.Receive(NowMs(), 5);
        s.Send(NowMs());
    }
    if (s.Phase() == TNetPhase::Over) {
        Finish();
        return;
    }
    if (s.StopReached()) {
        LeaveMatch("the match was left; nothing of it was counted");
        return;
    }
    if (!s.Ready()) {
        WriteCentred(Game.BackSurface, Game.Images.Find("GreyFont"), 320, 230, "WAITING FOR THE PARTNER");
        return;
    }
    TMatchTick tick;
    tick.Actions = s.Take();
    tick.Previous = Previous;
    // Both machines count the nominal rate, whatever their own timers measure.
    tick.FrameRate = uint16_t(1000 / std::max(Game.FrameTimer.Interval, 1));
    Previous = tick.Actions;
    // Without a window nobody looks: only every 50th tick is drawn, which changes no rule.
    Game.StepMatch(tick, !Game.CommandLine.Headless || s.TicksTaken() % 50 == 0);
    Game.RecordMatchTick(tick);
    if (s.TicksTaken() % ReplayHashInterval == 0) s.AddHash(s.TicksTaken(), Game.MatchStateHash());
    if (Game.GameState == gsMatchEnd) s.EndMatch();
    if (s.Phase() == TNetPhase::Over) Finish();
}

void TOnlinePlay::Leave() {
    if (Session) Session->Leave();
}

void TOnlinePlay::LeaveMatch(const std::string& note) {
    Game.SaveRecording(ReplayAbandoned);
    Game.RecordingName.clear();
    if (Session) Session->EndMatch();
    Game.GameState = gsMainMenu;
    Game.Front.ReturnToMenu(false);
    Game.Front.HideBackButton();
    Game.Sounds.Find("Thrust").Stop(Game.Sounds.Mixer);
    Game.Front.MatchStartError = note;
    std::fprintf(stderr, "flarons: online: %s\n", note.c_str());
}

void TOnlinePlay::Finish() {
    const std::string why = Session->Message();
    // A match cut off keeps its replay; nothing of it is counted.
    if (Game.GameState == gsMatch)
        LeaveMatch(why);
    else
        std::fprintf(stderr, "flarons: online: %s\n", why.c_str());
    Game.Front.MatchStartError = why;
    RestorePending = true;
    if (Game.GameState != gsMatchEnd) Restore();
    // Without a window the game is driven by a script or a test, and ends with its connection.
    if (Game.CommandLine.Headless) Game.SaveAndClose();
}

void TOnlinePlay::Restore() {
    RestorePending = false;
    PartnerPictures.reset();
    Game.Front.HostChooses = false;
    const int side = PartnerSide();
    TOptions& options = Game.Options;
    options.Players[size_t(side)] = OptionsBefore.Players[size_t(side)];
    if (!Session->IsHost()) {
        // The host's choices were only borrowed too.
        options.MapFile = OptionsBefore.MapFile;
        options.FlagsDisabled = OptionsBefore.FlagsDisabled;
        options.PointsLimit = OptionsBefore.PointsLimit;
        options.Lives = OptionsBefore.Lives;
        Game.Front.DrawOptionsPanel();
    }
    Game.Front.PartnerSide = -1;
    Game.Front.PlayerPanels[size_t(side)].Fill(0);
    Game.Front.RedrawPilotSide(side);
}

void TOnlinePlay::Close(const std::string& why) {
    if (!Session) return;
    if (Session->Phase() != TNetPhase::Over) {
        Session->Close(why);
        if (Game.GameState == gsMatch) Game.SaveRecording(ReplayAbandoned), Game.RecordingName.clear();
    }
    if (RestorePending || Game.Front.PartnerSide >= 0) Restore();
}
