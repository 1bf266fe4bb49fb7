// Game: start-up, the tick in its fixed order, quitting and the frame-rate counter.
#include "app/Game.h"

#include "app/MatchReplay.h"
#include "app/OnlinePlay.h"
#include "app/ReplayFiles.h"
#include "frontend/PilotFiles.h"

#include "content/Builtins.h"
#include "core/GameMath.h"
#include "media/Canvas.h"
#include "media/MediaError.h"
#include "media/Platform.h"
#include "text/Font.h"
#include "world/ShipPicture.h"
#include "world/World.h"

#include <algorithm>
#include <chrono>
#include <cstdio>

namespace {
constexpr const char* ControlsFile = "controls.ini";
}

TGame::TGame(TPlatform& platform, TFiles files, const TCommandLine& commandLine)
    : Platform(platform), Files(std::move(files)), CommandLine(commandLine),
      Front(TFrontEndContext{Files, Options, Images, Sounds, BackSurface, Input, FrameTimer, GameState, World,
                             [this] { return Online ? Online->Begin() : StartMatch(); }, Bindings,
                             [this] { return SaveBindings(); }}) {
    ShowFrameRate = commandLine.ShowFrameRate;
    // The built-ins are made by the program itself, so none can be missing from a built game.
    AddBuiltinImages(Images);
    AddBuiltinSounds(Sounds);
}

TGame::~TGame() = default;

void TGame::Flip() {
    Platform.Present(BackSurface);
}

bool TGame::WaitForSecondChange(bool spaceShortens) {
    const int start = Platform.ClockSeconds();
    for (;;) {
        Platform.PumpEvents();
        if (Platform.CloseRequested()) return false;
        Input.Take(Platform.ReadInput(), Bindings);
        if (spaceShortens && Input.Now.Has(menuSpace)) return false;
        if (Platform.ClockSeconds() != start) return true;
        Platform.FeedAudio(Sounds.Mixer);
        Platform.Idle();
    }
}

void TGame::Start() {
    // A home folder without Options.DAT has never been quit from: the rules page opens once.
    Front.HowToShown = !Files.Exists("Options.DAT");
    LoadOptions(Options, Files);
    LoadBindings();
    if (CommandLine.Host || !CommandLine.Join.empty()) {
        Online = std::make_unique<TOnlinePlay>(*this);
        std::string error;
        if (!Online->Open(error)) {
            std::fprintf(stderr, "flarons: %s\n", error.c_str());
            Online.reset();
            Closed = true;
            return;
        }
    }
    PrepareStartupAssets();
    PageCursor = {127, 127};
    if (CommandLine.HasSeed) {
        MatchSeed = CommandLine.Seed;
    } else {
        const auto now = std::chrono::system_clock::now().time_since_epoch();
        MatchSeed = static_cast<uint32_t>(std::chrono::duration_cast<std::chrono::milliseconds>(now).count());
    }
    Platform.ShowPointer(false);

    // The title shows while the rest loads.
    const std::filesystem::path title = Files.ForReading("graphics\\menu\\init.bmp");
    if (!title.empty() && BackSurface.LoadFromFile(title.string(), MenuPictureLimit)) {
        if (BackSurface.Width != ScreenWidth || BackSurface.Height != ScreenHeight) {
            Surface picture = BackSurface;
            BackSurface.SetSize(ScreenWidth, ScreenHeight);
            BackSurface.Draw(0, 0, picture, false);
        }
    }
    Flip();

    Front.Prepare();
    GameState = gsStartup;
    StatusBar.Load(Files);

    // Title wait: five changes of the clock's seconds, cut short by space.
    bool waiting = true;
    for (int i = 0; i < 5 && waiting; ++i)
        waiting = WaitForSecondChange(true);
    if (Platform.CloseRequested()) return;

    // The screen darkens in eight interlaced sweeps.
    for (int pass = 0; pass < 8; ++pass) {
        for (int k = 0; k < 80; ++k) {
            Canvas canvas(BackSurface);
            canvas.PenColor = 0;
            canvas.MoveTo(0, 8 * k + pass);
            canvas.LineTo(640, 8 * k + pass);
            canvas.Release();
            Flip();
        }
    }
    WaitForSecondChange(false);
}

void TGame::ReportLookupError(const std::string& message, const std::string& name) {
    if (ReportedErrors.insert(name).second) std::fprintf(stderr, "flarons: %s\n", message.c_str());
}

void TGame::LoadBindings() {
    Bindings = TBindings::Defaults();
    Files.RemoveLeftoverTemporary(ControlsFile);
    const TReadResult file = Files.Read(ControlsFile, RecordFileLimit);
    if (!file.Ok()) {
        // No file is the usual case: the defaults apply without a word.
        if (Files.Exists(ControlsFile))
            std::fprintf(stderr, "flarons: controls.ini %s; the default controls apply\n",
                         file.Reason().c_str());
        return;
    }
    std::vector<std::string> problems;
    Bindings = ParseControls(std::string(file.Bytes.begin(), file.Bytes.end()), problems);
    for (const std::string& problem : problems)
        std::fprintf(stderr, "flarons: %s\n", problem.c_str());
}

bool TGame::SaveBindings() const {
    const std::string text = WriteControls(Bindings);
    return Files.WriteFileAtomic(ControlsFile, std::vector<uint8_t>(text.begin(), text.end()));
}

void TGame::Tick() {
    try {
        const TRawInput raw = Platform.ReadInput();
        Input.Take(raw, Bindings);
        // Watching a replay would stop this machine's side of an online match.
        if (Online) Front.WatchRequest.clear();
        if (Watching || !Front.WatchRequest.empty()) {
            WatchFrame(raw);
            Flip();
            ++TickCount;
            return;
        }
        // A pointer reported at a place (a desktop window, a remote desktop, a tablet) takes the
        // menu pointer there: the menus move by the distance to it.
        if (Input.Devices.PointerAbsolute && Front.MainMenu) {
            Input.Devices.MouseDX = Input.Devices.PointerX - Front.MainMenu->CursorX;
            Input.Devices.MouseDY = Input.Devices.PointerY - Front.MainMenu->CursorY;
        }
        if (Online) Online->Frame();
        // Online, Escape leaves the match on both machines at the same tick. A binding waiting on
        // the controls screen takes Escape as its key, to refuse it.
        if (Input.Now.Has(menuEscape) && GameState != gsMainMenu && GameState != gsMatchEnd &&
            !ControlsWaitForPress(Front)) {
            if (Online && GameState == gsMatch)
                Online->Leave();
            else
                HandleEscape();
        }
        if (!IsFrontEndState(GameState)) FollowPointer();
        if (GameState == gsMatch) MatchFrame();
        if (GameState == gsMatchEnd) Front.EndScreenFrame();
        if (GameState == gsQuit) SaveAndClose();
        if (IsFrontEndState(GameState)) {
            BackSurface.Draw(0, 0, Front.MenuBackground, false);
            Front.Frame();
        }
        if (GameState == gsStartup) StartupPanels();
        if (ShowFrameRate) DrawFrameRate();
        Flip();
    } catch (const TMediaError& e) {
        // A missing named image or sound abandons the rest of this tick; the game goes on.
        ReportLookupError(e.what(), e.Name);
    } catch (const std::exception& e) {
        RecoverFromFault(e.what());
    }
    ++TickCount;
}

void TGame::RecoverFromFault(const std::string& what) {
    if (Watching) {
        try {
            EndWatching();
        } catch (const std::exception&) {
        }
    }
    if (ReportedErrors.insert(what).second)
        std::fprintf(stderr, "flarons: tick %llu, game state %d: %s\n",
                     static_cast<unsigned long long>(TickCount), int(GameState), what.c_str());
    if (GameState == gsQuit) {
        Closed = true; // the save itself failed; trying again every tick would not help
    } else if (GameState == gsMatch || GameState == gsMatchEnd) {
        // The world may be half updated: nothing of it is resumed. The view painter lets go first.
        // The recording keeps the ticks played whole, as a match left with Escape does.
        try {
            ViewWorker.Wait();
        } catch (const std::exception&) {
        }
        try {
            if (GameState == gsMatch) SaveRecording(ReplayFaulted);
        } catch (const std::exception&) {
        }
        RecordingName.clear();
        World.reset();
        Front.HideBackButton();
        if (Online) Online->Close("the partner's game stopped the match after a fault");
        Sounds.Find("Thrust").Stop(Sounds.Mixer);
        GameState = gsMainMenu;
    }
}

void TGame::FollowPointer() {
    if (Front.MainMenu) {
        TGameMenu& menu = *Front.MainMenu;
        menu.SetCursorPos(int16_t(std::clamp(menu.CursorX + Input.Devices.MouseDX, 0, int(menu.MaxX))),
                          int16_t(std::clamp(menu.CursorY + Input.Devices.MouseDY, 0, int(menu.MaxY))));
    }
    // Taken: a screen that hands over to the menus within this tick does not move the pointer twice.
    Input.Devices.MouseDX = 0;
    Input.Devices.MouseDY = 0;
}

void TGame::HandleEscape() {
    const uint8_t left = GameState;
    // The match left for the menu keeps its replay so far; going Back to it records on.
    if (left == gsMatch) SaveRecording(ReplayAbandoned);
    GameState = gsMainMenu;
    Front.ReturnToMenu(left == gsMatch);
    Sounds.Find("Thrust").Stop(Sounds.Mixer);
}

void TGame::SaveAndClose() {
    if (Closed) return;
    // The partner's side of the options goes back to this machine's own before anything is saved.
    if (Online) Online->Close("the partner closed the game");
    // What the players set up is saved, not the options of a replay being watched.
    if (Watching) EndWatching();
    if (GameState == gsMatch) SaveRecording(ReplayAbandoned);
    Front.SavePilots();
    if (!SaveOptions(Options, Files)) std::fprintf(stderr, "flarons: could not save Options.DAT\n");
    Closed = true;
}

void TGame::StartupPanels() {
    Front.DrawStartupPanels();
    GameState = gsMainMenu;
    // "--match" goes straight from the prepared panels into a match, as Begin would.
    // Online, the host begins once a partner has joined.
    if (CommandLine.QuickMatch && !Online) StartQuickMatch();
}

void TGame::DrawFrameRate() {
    Canvas canvas(BackSurface);
    canvas.BrushColor = 0;
    canvas.TextOut(0, 0, std::to_string(FrameTimer.MeasuredFrameRate));
    canvas.Release();
}

void TGame::PrepareStartupAssets() {
    for (TPilotRecord& pilot : Options.Players)
        pilot.ShipValid = CheckShipPicture(Files, pilot.ShipFile.Str()) ? 1 : 0;
    // The middle entry of each page of five is the weapon a match starts with.
    PlayerWeapons[0][0].Create(0, Options.Players[0].Weapons[2]);
    PlayerWeapons[1][0].Create(1, Options.Players[1].Weapons[2]);
    PlayerWeapons[0][1].Create(0, Options.Players[0].Weapons[7]);
    PlayerWeapons[1][1].Create(1, Options.Players[1].Weapons[7]);
}

bool TGame::StartMatch() {
    // Taken before the world is built, which draws from the generator.
    TReplayStart start;
    if (RecordMatches) start = CaptureMatchStart(false);
    RecordingName.clear();
    Images.Find("Loading").Draw(BackSurface, 209, 144, 0);
    Flip();

    // The old world goes first, so two worlds never share the memory.
    World.reset();
    std::string error;
    World = TWorld::TryCreate(Files, Images.Find("GreenFont"), Options, error, MatchSeed);
    if (!World) {
        // Nothing is left to resume, so Back must not offer the freed world.
        Front.HideBackButton();
        std::fprintf(stderr, "flarons: cannot start the match: %s\n", error.c_str());
        Front.MatchStartError = error;
        return false;
    }
    // From here on only the rules write the pool, which keep the map of its slots in use in step.
    World->TrustSlotsInUse(true);
    Front.MatchStartError.clear();
    MatchSeed = NextMatchSeed(MatchSeed);
    GameState = gsMatch;

    TWaveItem& thrust = Sounds.Find("Thrust");
    thrust.SetVolume(Sounds.Mixer, -10000);
    thrust.Play(Sounds.Mixer);

    StatusBar.BeginMatch(Files, Images, Options, *World);
    Front.EndScreenDrawn = false;
    ShipWasHit = {};

    // Only the weapon numbers change: what was left in each slot stays for the new match.
    PlayerWeapons[0][0].Setup(Options.Players[0].Weapons[2]);
    PlayerWeapons[1][0].Setup(Options.Players[1].Weapons[2]);
    PlayerWeapons[0][1].Setup(Options.Players[0].Weapons[7]);
    PlayerWeapons[1][1].Setup(Options.Players[1].Weapons[7]);

    if (RecordMatches) {
        Recording = TReplay{};
        Recording.Start = start;
        // The map and its pictures as the world was built from them, read once.
        Recording.Start.ContentHash = MatchContentHash(Files, start.Options, World->MapContent);
        RecordingName = NewReplayName(Files);
    }
    SeatComputerPilots();
    return true;
}

void TGame::SeatComputerPilots() {
    // Only read, never drawn from: the match goes as it would with a person at the keys.
    const uint32_t seed = World ? World->Rng.Seed : MatchSeed;
    // Online, the computer flies only this machine's side; the partner's comes over the network.
    const unsigned local = Online ? 1u << Online->LocalSide() : 3u;
    for (size_t p = 0; p < 2; ++p) {
        // A side handed to the computer in the pilot list flies at the level of its row; one handed
        // over by --computer at the level of --level.
        TPilotLevel level = TPilotLevel::Normal;
        ParsePilotLevel(CommandLine.Level, level);
        const bool listed = IsComputerRow(Options.Players[p].Name.Str(), level);
        const bool computer = (listed || ((CommandLine.Computer >> p) & 1u) != 0) && ((local >> p) & 1u) != 0;
        ComputerPilots[p] = computer ? std::make_unique<TComputerPilot>(int(p), level, seed) : nullptr;
        if (computer) ComputerPilots[p]->KnowPages(Options.Players[p].Weapons);
    }
}
