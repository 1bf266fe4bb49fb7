// Form: TForm1, the main game object that owns all long-lived state and runs one tick per timer event.
#pragma once

#include "app/CommandLine.h"
#include "app/Files.h"
#include "app/GameState.h"
#include "app/OptionsFile.h"
#include "media/FrameTimer.h"
#include "media/ImageList.h"
#include "media/Input.h"
#include "media/Sound.h"
#include "media/Surface.h"

#include <array>
#include <cstdint>
#include <set>
#include <string>

class TPlatform;

constexpr int ScreenWidth = 640;
constexpr int ScreenHeight = 480;

class TForm1 {
  public:
    TForm1(TPlatform& platform, TFiles files, const TCommandLine& commandLine);
    ~TForm1();
    TForm1(const TForm1&) = delete;
    TForm1& operator=(const TForm1&) = delete;

    TPlatform& Platform;
    TFiles Files;
    TCommandLine CommandLine;

    // Media components.
    Surface DXDraw{ScreenWidth, ScreenHeight}; // the back surface every screen draws on
    TFrameTimer DXTimer;
    TInput DXInput;
    TImageList DXImageList;
    TWaveList DXWaveList;

    TOptions Options;
    TInputStates PrevInput;
    Surface MenuBackground;
    std::array<Surface, 2> PlayerPanels;
    Surface OptionsPanel;
    Surface StatusBars;
    Surface StatusSurface;
    Surface AboutSurface;

    uint8_t GameState = gsStartup;
    bool ShowFrameRate = false;
    uint8_t MatchFrameCounter = 0;
    std::array<int8_t, 2> PageCursor{127, 127};
    // Set once the quit step (or a close request) has saved and the window should close.
    bool Closed = false;
    // Lookup errors are reported once per name.
    std::set<std::string> ReportedErrors;

    // The display is up: options, weapons, menus, surfaces and the title sequence.
    void DXDrawInitializeSurface();
    // One frame of the frame timer.
    void DXTimerTimer();
    // The quit step's saving, also run when the window system asks the game to close, so closing
    // the window never loses the players' profiles.
    void SaveAndClose();
    // Shows the back surface.
    void Flip();

    // Steps of the tick, each called only when its state holds.
    void HandleEscape();
    void MatchFrame();
    void MatchEndScreen();
    void FrontEnd();
    void StartupPanels();
    void DrawFrameRate();

    // Pieces of the screens that the steps above call; each lives with its screen's code.
    void RefreshMenuBackground();      // the still of the last match behind the menus
    void ShowBackButton();             // Back resumes an interrupted match
    void DrawPilotStats(int player);   // statistics on a side panel
    void DrawOptionsPanel();           // map, points limit and lives in the centre panel
    void DrawAboutText();              // the credits window
    void DrawPilotPicture(int player); // the recoloured pilot figure on a side panel
    void DrawFlagPicture(int player);  // the flag on a side panel
    void SavePilots();                 // both current pilots into their folders
    void PrepareStartupAssets();       // ship checks, weapons, menus and previews

  private:
    void ReportLookupError(const std::string& message, const std::string& name);
    // Start-up waits: poll until the clock's seconds field changes; false when closing.
    bool WaitForSecondChange(bool spaceShortens);
};
