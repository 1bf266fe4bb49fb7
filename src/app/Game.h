// Game: TGame, the game object that owns all long-lived state and runs one tick per timer event.
#pragma once

#include "app/CommandLine.h"
#include "core/Files.h"
#include "core/GameState.h"
#include "core/OptionsFile.h"
#include "core/Worker.h"
#include "combat/Weapon.h"
#include "frontend/Menu.h"
#include "media/FrameTimer.h"
#include "media/ImageList.h"
#include "media/Input.h"
#include "media/Sound.h"
#include "media/Surface.h"

#include <array>
#include <cstdint>
#include <memory>
#include <set>
#include <string>
#include <vector>

class TPlatform;
class TWorld;

constexpr int ScreenWidth = 640;
constexpr int ScreenHeight = 480;

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

    // The world of the current or last match; none until the first match starts.
    std::unique_ptr<TWorld> World;
    // [player][slot]: slot 0 fires with the first fire key, slot 1 with the second.
    std::array<std::array<TWeapon, 2>, 2> PlayerWeapons;
    std::array<int64_t, 2> LastDrawnScore{-1, -1};

    // Front-end objects, created at start-up.
    std::unique_ptr<TGameMenu> ListMenu;
    std::unique_ptr<TGameMenu> MainMenu;
    std::unique_ptr<TGameMenu> OptionsMenu;
    std::unique_ptr<TGameMenu> KeyboardMenu;
    std::array<Surface, 2> ShipPreviews;
    uint8_t PreviewAngle = 0;
    uint8_t ListTop = 0;
    std::vector<std::string> ListFiles;
    uint8_t ListUpItem = 42;   // 42 = no arrow
    uint8_t ListDownItem = 42; // 42 = no arrow
    bool EndScreenDrawn = false;
    // Front-end flow fields (frontend/FrontEnd.cpp) go here.
    bool AboutShown = false; // the credits window is open
    uint8_t AboutPhase = 0;  // 0 down, 1 pause at the end, 2 up, 3 pause at the top
    float AboutScroll = 0;   // first row of AboutSurface shown

    // Pilots, statistics and selectors fields (frontend/Selectors*.cpp) go here.
    std::string NewPilotName; // the name typed on the on-screen keyboard, at most 15 letters
    // Weapon selector: two lists of 25 weapon numbers (255 = empty), the selected position of each
    // page and each list's column on the screen (x1, y1, x2, y2, bounds inclusive).
    std::array<uint8_t, 50> WeaponLists{};
    std::array<uint8_t, 2> WeaponPageSel{2, 2};
    std::array<std::array<uint16_t, 4>, 2> WeaponColumnRects{};

    // Set once the quit step (or a close request) has saved and the window should close.
    bool Closed = false;
    // Lookup errors are reported once per name.
    std::set<std::string> ReportedErrors;

    // The display is up: options, weapons, menus, surfaces and the title sequence.
    void Start();
    // One frame of the frame timer.
    void Tick();
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
    void MatchEndScreen();
    void FrontEnd();
    void StartupPanels();
    void DrawFrameRate();

    // --- Match (app/MatchFrame.cpp): "--match" starts a match as Begin would.
    void StartQuickMatch();

    // --- Status bar (text/StatusBar.cpp).
    void DrawStatusDigits();
    void DrawStatusBar();

    // --- Front-end flow, start-up loading and credits (frontend/FrontEnd.cpp, frontend/About.cpp).
    void ShowBackButton();       // Back resumes an interrupted match
    void PrepareStartupAssets(); // ship checks and the four weapon objects
    void BuildMenus();           // the four long-lived menus with their items
    void DrawAboutText();        // the credits text
    void AboutFrame();           // advances and draws the credits window
    // The open list's arrows and rows for this frame; true when a row was chosen.
    bool ListFrame();
    // Match start: the Loading picture, the new world, Thrust, the status bar, the weapons.
    // False (and the front end stays, with no world) when the world cannot be built.
    bool StartMatch();

    // --- Pilots, statistics, selectors and the end screen (frontend/Selectors*.cpp).
    void RefreshMenuBackground();      // the still of the last match behind the menus
    void DrawPilotStats(int player);   // lifetime statistics on a side panel
    void DrawOptionsPanel();           // map, points limit and lives in the centre panel
    void DrawPilotPicture(int player); // the recoloured pilot figure on a side panel
    void DrawFlagPicture(int player);  // the flag on a side panel
    void LoadShipPicture(int player);  // the ship preview, marker pixels blackened
    void SavePilots();                 // both current pilots into their folders
    // The open list of the current state (ship, flag, pilot or map): builds the page at ListTop
    // into ListMenu and the panel, and applies a chosen row.
    void BuildListPage();
    void ChooseListRow(int row);
    void DrawColourPicker(int side);
    void ColourPick(int side);
    void PrepareWeaponLists(int side);
    void DrawWeaponPanel(int side);
    void WeaponPick(int side);
    void NameEntryFrame(int side);                      // the on-screen keyboard of a new pilot
    void PilotChosen(int side, const std::string& row); // a row of the pilot list
    void RedrawPilotSide(int side); // name strip, pictures and statistics after a pilot change

  private:
    void ReportLookupError(const std::string& message, const std::string& name);
    // Start-up waits: poll until the clock's seconds field changes; false when closing.
    bool WaitForSecondChange(bool spaceShortens);
};
