// Game: TGame, the game object that owns all long-lived state and runs one tick per timer event.
#pragma once

#include "app/CommandLine.h"
#include "app/StatusBar.h"
#include "combat/Weapon.h"
#include "core/Controls.h"
#include "core/Files.h"
#include "core/GameState.h"
#include "core/OptionsFile.h"
#include "core/Replay.h"
#include "core/Worker.h"
#include "frontend/FrontEnd.h"
#include "media/FrameTimer.h"
#include "media/ImageList.h"
#include "media/Input.h"
#include "media/Sound.h"
#include "media/Surface.h"
#include "pilot/ComputerPilot.h"

#include <array>
#include <cstdint>
#include <memory>
#include <set>
#include <string>

class TOnlinePlay;
class TPlatform;
class TReplayWatch;
class TWorld;

class TGame {
  public:
    TGame(TPlatform& platform, TFiles files, const TCommandLine& commandLine);
    ~TGame();
    TGame(const TGame&) = delete;
    TGame& operator=(const TGame&) = delete;

    TPlatform& Platform;
    TFiles Files;
    TCommandLine CommandLine;

    // Media components.
    Surface BackSurface{ScreenWidth, ScreenHeight}; // the back surface every screen draws on
    TFrameTimer FrameTimer;
    TInput Input;
    TImageList Images;
    TWaveList Sounds;
    TWorker ViewWorker; // paints the views of a match while its world is updated

    TOptions Options;
    // The devices are read once a tick and turned into the tick's value by the players' bindings;
    // the match reads only that value (Input.Now), the menus also the pointer and keys.
    TBindings Bindings = TBindings::Defaults();

    uint8_t GameState = gsStartup;
    bool ShowFrameRate = false;
    uint8_t MatchFrameCounter = 0;
    // The seed the next match's generator starts from (--seed, or the clock); each match started
    // moves it on to a seed of its own. A match's draws all come from its world's generator.
    uint32_t MatchSeed = 0;
    // The ships the last step of the match wrecked: player 1 in the low byte, player 2 in the high.
    uint16_t LastWrecked = 0;
    std::array<int8_t, 2> PageCursor{127, 127};
    // Each ship lost health in the tick before: a stream of hits (a flame, ships pressed together)
    // shakes the pad once, as it starts, rather than on every tick it lasts.
    std::array<bool, 2> ShipWasHit{};

    // The world of the current or last match; none until the first match starts.
    std::unique_ptr<TWorld> World;
    // [player][slot]: slot 0 fires with the first fire key, slot 1 with the second.
    TPlayerWeapons PlayerWeapons;
    TStatusBar StatusBar;
    // The sides the computer flies in this match (from --computer), each with its own generator.
    std::array<std::unique_ptr<TComputerPilot>, 2> ComputerPilots;
    // The menus and panels between matches; made last, as it is handed the members above.
    TFrontEnd Front;
    // The partner on another machine, from --host or --join; none in a game at one machine.
    std::unique_ptr<TOnlinePlay> Online;

    // Set once the quit step (or a close request) has saved and the window should close.
    bool Closed = false;
    // Lookup errors are reported once per name, faults once per message.
    std::set<std::string> ReportedErrors;
    uint64_t TickCount = 0;

    // The display is up: options, weapons, menus, surfaces and the title sequence.
    void Start();
    // One frame of the frame timer.
    void Tick();
    // The players' bindings from controls.ini in the home folder (defaults when there is none; its
    // unusable lines are reported on stderr), and back into it.
    void LoadBindings();
    bool SaveBindings() const;
    // The quit step's saving, also run when the window system asks the game to close, so closing
    // the window never loses the players' profiles.
    void SaveAndClose();
    // Shows the back surface.
    void Flip();

    // Steps of the tick, each called only when its state holds.
    void HandleEscape();
    // Only the menus read the mouse, yet it moves on during a match, the end screen and the
    // start-up: the menu pointer follows it there, so it is where the mouse is when the menus return.
    void FollowPointer();
    void MatchFrame();
    void StartupPanels();
    void DrawFrameRate();

    // "--match" starts a match as Begin would (app/MatchFrame.cpp).
    void StartQuickMatch();
    // The tick's input as the match frame reads it from the input states and the time base.
    TMatchTick ReadMatchTick() const;
    // One tick of a running match from its input. Without `draw` only the rules run: no views,
    // weapon pages, status bar, medals or engine sound, and the world ends up exactly the same.
    void StepMatch(const TMatchTick& tick, bool draw);

    // --- Replays (app/MatchReplay.cpp).
    // Matches started by StartMatch are recorded; a replay being watched or verified is not.
    bool RecordMatches = true;
    TReplay Recording;
    std::string RecordingName; // game path under replays\, empty while nothing is recorded
    // What the next match starts from besides the world it builds. Without `content` the digest of
    // the files it depends on is left at 0 (a match start fills it in from the world it built).
    TReplayStart CaptureMatchStart(bool content = true) const;
    // Puts back what a recorded match started from, so StartMatch builds the same match.
    void ApplyMatchStart(const TReplayStart& start);
    // The whole state of the running match: the world, the weapons, the pages, the frame counter
    // and the random generator.
    uint64_t MatchStateHash() const;
    // Adds a played tick to the recording, and its state hash every ReplayHashInterval ticks;
    // the recording is written when the match ends.
    void RecordMatchTick(const TMatchTick& tick);
    // Writes the recording as it stands (a match left with Escape or Quit keeps its ticks so far).
    void SaveRecording(uint8_t how);
    // A replay chosen from the front end's list is shown in place of the game's ticks (Watching);
    // what the players had set up waits in BeforeWatching and is put back when it ends.
    std::unique_ptr<TReplayWatch> Watching;
    TReplayStart BeforeWatching;
    void WatchFrame(const TRawInput& raw);
    void EndWatching();
    // Before the title shows: the pilots' ship checks and the four weapon objects.
    void PrepareStartupAssets();
    // Match start: the Loading picture, the new world, Thrust, the status bar, the weapons.
    // False (and the front end stays, with no world) when the world cannot be built.
    bool StartMatch();
    // Hands each side flown by the computer its pilot, seeded from the match generator's state.
    void SeatComputerPilots();

  private:
    // A fault that reached the top of a tick: reported once, and a match it broke is left for the menu.
    void RecoverFromFault(const std::string& what);
    void ReportLookupError(const std::string& message, const std::string& name);
    // Start-up waits: poll until the clock's seconds field changes; false when closing.
    bool WaitForSecondChange(bool spaceShortens);
};
