// FrontEnd: TFrontEnd, the menus, panels, lists, name entry, selectors, credits and end screen between
// matches.
#pragma once

#include "core/GameState.h"
#include "frontend/ControlsScreen.h"
#include "frontend/Menu.h"
#include "media/Surface.h"

#include <array>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

class TFiles;
class TFrameTimer;
class TImageList;
struct TInput;
class TWaveList;
class TWorld;
struct TOptions;
struct TBindings;

// The back surface every screen draws on.
constexpr int ScreenWidth = 640;
constexpr int ScreenHeight = 480;

// What the front end works with and does not own: the game hands it over once, at construction.
struct TFrontEndContext {
    const TFiles& Files;
    TOptions& Options;
    TImageList& Images;
    TWaveList& Sounds;
    Surface& BackSurface;
    const TInput& Input;
    const TFrameTimer& FrameTimer;
    uint8_t& GameState;
    // The world of the current or last match; none until the first match starts.
    const std::unique_ptr<TWorld>& World;
    // Begins a match as Begin does; false (the players stay at the menu) when no world could be built.
    std::function<bool()> StartMatch;
    // The players' keys and pad controls, and writing them to controls.ini (false when that failed).
    TBindings& Bindings;
    std::function<bool()> SaveBindings;
};

// The front end keeps what the game handed over as its own base, so a screen reads `Options` or
// `Images` directly.
class TFrontEnd : public TFrontEndContext {
  public:
    explicit TFrontEnd(const TFrontEndContext& context);
    TFrontEnd(const TFrontEnd&) = delete;
    TFrontEnd& operator=(const TFrontEnd&) = delete;

    Surface MenuBackground; // the still of the last match behind the menus
    std::array<Surface, 2> PlayerPanels;
    Surface OptionsPanel;
    Surface AboutSurface;

    // The four long-lived menus, made by Prepare.
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
    TControlsScreen Controls;
    bool EndScreenDrawn = false;
    // The pointer's blinks are the front end's own: they never touch a match's generator.
    TRandom CursorRandom;
    bool AboutShown = false; // the credits window is open
    uint8_t AboutPhase = 0;  // 0 down, 1 pause at the end, 2 up, 3 pause at the top
    float AboutScroll = 0;   // first row of AboutSurface shown
    // Why the last match could not start, shown under the panels until a match starts; a refused
    // start is tried again only on a new press, not on every tick Return stays down.
    std::string MatchStartError;
    bool MatchStartRefused = false;
    int PartnerSide = -1;     // online: the side the partner's machine chooses for, its selectors shut
    bool HostChooses = false; // online guest: the map and the options are the host's, shown, not changed

    // Replays. LastReplay is the game path of the replay of the match that just ended (empty when
    // none was recorded); the end screen keeps it under a typed name (KeepName, KeptAs). A replay
    // chosen from the replay list waits in WatchRequest for the game to show it.
    std::string LastReplay;
    std::string KeepName;
    std::string KeptAs;
    std::string WatchRequest;

    // The map shown in the centre box before the first match and while the map list is open.
    // Each made once, so running the pointer down the map list does not read a large map again.
    std::map<std::string, Surface> MapPreviews;
    // The how-to-play page covers the screen; the game opens it on its first start.
    bool HowToShown = false;
    std::unique_ptr<TGameMenu> HowToMenu; // one area over the whole page: a click closes it
    Surface HowToPage;                    // the backdrop and the pictures, loaded when first shown
    Surface HowToIcons;

    std::string NewPilotName;           // the name typed on the on-screen keyboard, at most 15 letters
    bool ReturnHeldSinceNaming = false; // the Return that confirmed a name is still down
    // Weapon selector: two lists of 25 weapon numbers (255 = empty), the selected position of each
    // page and each list's column on the screen (x1, y1, x2, y2, bounds inclusive).
    std::array<uint8_t, 50> WeaponLists{};
    std::array<uint8_t, 2> WeaponPageSel{2, 2};
    std::array<std::array<uint16_t, 4>, 2> WeaponColumnRects{};

    // Start-up: the menus, the panels at their sizes and the ship previews.
    void Prepare();
    // The pilots' names, pictures and statistics, the options panel and the credits text.
    void DrawStartupPanels();
    // One frame of the menus and of the open panel, drawn over the menu background.
    void Frame();
    // One frame of the result of a finished match; space goes back to the menus.
    void EndScreenFrame();
    // Escape from a match or a panel: the still, Back when a match can be resumed, the panels.
    void ReturnToMenu(bool resumable);

    void ShowBackButton(); // Back resumes an interrupted match
    void HideBackButton(); // nothing is left to resume
    void DrawAboutText();  // the credits text
    void AboutFrame();     // advances and draws the credits window
    // The selected map, or the one under the pointer in the open map list, in the centre box.
    void MapPreviewFrame();
    void HowToFrame(); // draws the how-to-play page; Escape or a click closes it
    // The open list's arrows and rows for this frame; true when a row was chosen.
    bool ListFrame();

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
    // The end screen's line that keeps the match's replay under a name; drawn anew when fresh.
    void KeepReplayFrame(bool fresh);

  private:
    void BuildMenus(); // the four long-lived menus with their items
};
