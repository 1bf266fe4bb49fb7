// FrontEndTest: the front-end frame driven by mouse and keys, match start, start-up order.
#include "TestSupport.h"
#include "app/Game.h"
#include "frontend/PilotFiles.h"
#include "world/World.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <tuple>

namespace fs = std::filesystem;

namespace {

struct TAt {
    int X, Y;
};

// Records what the game looked like at every flip.
class TRecordingPlatform : public TTestPlatform {
  public:
    std::function<void(const Surface&)> OnPresent;
    int PointerHiddenAtPresent = -1; // how many flips had happened when the pointer was hidden
    void ShowPointer(bool show) override {
        if (!show) PointerHiddenAtPresent = Presents;
    }
    void Present(const Surface& back) override {
        TTestPlatform::Present(back);
        if (OnPresent) OnPresent(back);
    }
};

struct FrontEndTest : testing::Test {
    TTempDir Home;
    TRecordingPlatform Platform;
    TGame Game{Platform, TFiles(FLARONS_GAME_DIR, Home.Path), TCommandLine{}};

    // Start-up with the title skipped, then the first tick that prepares the panels.
    void Start(bool keepRulesPage = false) {
        Platform.Press(keySpace, true);
        Game.Start();
        Platform.Press(keySpace, false);
        Game.Tick();
        ASSERT_EQ(Game.GameState, gsMainMenu);
        // A fresh home opens the rules page over the menus; it has a test of its own.
        if (!keepRulesPage) Game.Front.HowToShown = false;
    }
    // One tick with this mouse movement and button.
    void Tick(int dx = 0, int dy = 0, bool button = false) {
        Platform.Held.MouseDX = dx;
        Platform.Held.MouseDY = dy;
        Platform.Held.MouseLeft = button;
        Game.Tick();
        Platform.Held.MouseDX = 0;
        Platform.Held.MouseDY = 0;
    }
    void MoveTo(int x, int y, bool button = false) {
        Tick(x - Game.Front.MainMenu->CursorX, y - Game.Front.MainMenu->CursorY, button);
    }
    // Move and press in one tick, as a scripted click does, then release; the tick after the
    // release is the one a main-menu click acts in.
    void Click(TAt at) {
        MoveTo(at.X, at.Y, true);
        Tick();
        Tick();
    }
    uint8_t Clicked(TAt at) {
        Click(at);
        return Game.GameState;
    }
    bool Visible(int item) const { return Game.Front.MainMenu->Items[size_t(item)].Visible; }
    // One tick with the key held, then let go.
    void TapKey(TKey key) {
        Platform.Press(key, true);
        Tick();
        Platform.Press(key, false);
    }
};

// Screen points inside the hot spots.
constexpr TAt ReplaysLine{300, 352}, FirstCentreRow{260, 276};
constexpr TAt ShipArea1{80, 100}, ShipArea2{520, 100}, ColourArea1{152, 108}, FlagArea2{470, 108},
    MapLine{220, 266}, PointsDown{367, 298}, PointsUp{404, 298}, LivesUp{404, 318}, AboutButton{600, 462},
    CavernRow{300, 290}, Weapons1{161, 348}, Keys1{31, 348}, Keys2{471, 348}, PilotName1{26, 59},
    MapsDown{310, 403};

TEST_F(FrontEndTest, StartUpChecksShipsAndArmsBeforeTheTitleThenBuildsMenusAndPreviews) {
    // A stored pilot whose ship file is a picture far too large to fly.
    TOptions stored = DefaultOptions(TFiles(FLARONS_GAME_DIR, Home.Path));
    stored.Players[0].ShipFile.Set("graphics\\huge_ship.bmp");
    stored.Players[0].ShipValid = 1;
    stored.Players[1].ShipValid = 0;
    stored.Players[1].Weapons[2] = 4;
    stored.Players[1].Weapons[7] = 12;
    ASSERT_TRUE(SaveOptions(stored, TFiles(FLARONS_GAME_DIR, Home.Path)));
    Surface huge(100, 100);
    huge.Fill(0x808080);
    fs::create_directories(Home.Path / "graphics");
    ASSERT_TRUE(huge.SaveToBmp((Home.Path / "graphics" / "huge_ship.bmp").string()));

    // At every flip: menus built, player 2 armed, ship files checked, previews made, page cursor.
    std::vector<std::tuple<bool, bool, bool, bool, int>> flips;
    Platform.OnPresent = [&](const Surface&) {
        flips.emplace_back(Game.Front.MainMenu != nullptr, Game.PlayerWeapons[1][1].WeaponId == 12,
                           Game.Options.Players[0].ShipValid == 0 && Game.Options.Players[1].ShipValid == 1,
                           !Game.Front.ShipPreviews[1].Empty(), Game.PageCursor[0]);
    };
    Game.PageCursor = {0, 0};
    Platform.Press(keySpace, true);
    Game.Start();
    ASSERT_EQ(flips.size(), 641u);
    EXPECT_EQ(Platform.PointerHiddenAtPresent, 0) << "the pointer is hidden before the title shows";
    EXPECT_EQ(flips[0], std::make_tuple(false, true, true, false, 127))
        << "the title shows while the menus load";
    EXPECT_EQ(flips[1], std::make_tuple(true, true, true, true, 127));
    EXPECT_EQ(Game.PlayerWeapons[1][0].WeaponId, 4);
    Platform.Press(keySpace, false);
    Game.Tick();
    EXPECT_FALSE(Visible(0)) << "Back waits for an interrupted match";
    EXPECT_TRUE(Visible(4));
}

TEST_F(FrontEndTest, TheKeyboardFollowsThePointerAtItsOffsetAndOptionArrowsWrap) {
    Start();
    // The keyboard's first key lies at its offset (25, 314); a pointer reported at a place (a
    // desktop window) takes the game's pointer there, whatever movement came with it.
    Platform.Held.PointerAbsolute = true;
    Platform.Held.PointerX = 26;
    Platform.Held.PointerY = 315;
    Tick(300, -7);
    EXPECT_EQ(std::make_tuple(Game.Front.MainMenu->CursorX, Game.Front.KeyboardMenu->CursorY),
              std::make_tuple(26, 315));
    EXPECT_EQ(Game.Front.KeyboardMenu->Items[0].State, 1);
    Platform.Held.PointerAbsolute = false;

    // Option arrows wrap within 0 to 99; a value a damaged options file left above 99 comes back into range.
    const auto afterClick = [&](TAt arrow, uint8_t& option, uint8_t before) {
        option = before;
        Click(arrow);
        return int(option);
    };
    TOptions& o = Game.Options;
    EXPECT_EQ(afterClick(PointsDown, o.PointsLimit, 0), 99);
    EXPECT_EQ(afterClick(PointsUp, o.PointsLimit, 99), 0);
    EXPECT_EQ(afterClick(PointsUp, o.PointsLimit, 0), 1);
    EXPECT_EQ(afterClick(LivesUp, o.Lives, 200), 0);
    // A press begun beside an arrow and carried onto it changes nothing.
    MoveTo(PointsUp.X, PointsUp.Y - 15, true);
    MoveTo(PointsUp.X, PointsUp.Y, true);
    Tick();
    Tick();
    EXPECT_EQ(o.PointsLimit, 1);
}

TEST_F(FrontEndTest, SelectorButtonsOpenAndCloseEachOtherAndTheMapListHidesBegin) {
    Start();
    EXPECT_EQ(Clicked(ShipArea1), gsShipSelect1);
    EXPECT_EQ(Clicked(ShipArea1), gsMainMenu) << "the same button closes its selector";
    EXPECT_EQ(Clicked(ColourArea1), gsColourSelect1);
    Tick();
    EXPECT_FALSE(Visible(19)) << "the palettes cover player 1's weapons button";
    EXPECT_TRUE(Visible(20));
    EXPECT_EQ(Clicked(FlagArea2), gsFlagSelect2) << "the other side's button closes this side";
    EXPECT_TRUE(Visible(19));
    EXPECT_EQ(Clicked(ShipArea2), gsShipSelect2) << "a selector of the same side is overdrawn";

    EXPECT_EQ(Clicked(MapLine), gsMapSelect);
    Tick();
    EXPECT_FALSE(Visible(4)) << "Begin hides while the map list is open";
    const uint8_t lives = Game.Options.Lives;
    Click(LivesUp);
    EXPECT_EQ(Game.Options.Lives, lives) << "the option arrows rest while the list is open";
    // Choosing the second row of the map list closes it and sets the map.
    EXPECT_EQ(Clicked({300, 270 + 16 + 4}), gsMainMenu);
    EXPECT_EQ(Game.Options.MapFile.Str(), Game.Front.ListFiles[1]);
    Tick();
    EXPECT_TRUE(Visible(4));
}

TEST_F(FrontEndTest, BackIsOfferedOnlyAfterEscapeLeftARunningMatchABrokenMapLeavesNoWorldReturnStartsOne) {
    Start();
    Click(ShipArea1);
    TapKey(keyEscape);
    EXPECT_EQ(Game.GameState, gsMainMenu);
    EXPECT_FALSE(Visible(0)) << "closing a selector interrupts no match";

    TapKey(keyReturn);
    ASSERT_EQ(Game.GameState, gsMatch);
    const TWorld* world = Game.World.get();
    TapKey(keyEscape);
    EXPECT_TRUE(Visible(0));
    EXPECT_EQ(Clicked({20, 468}), gsMatch);
    EXPECT_EQ(Game.World.get(), world) << "Back resumes the kept world";

    // Return held starts a match from every front-end state but the name entry, where it confirms.
    for (uint8_t state : {gsColourSelect2, gsMapSelect, gsPilotSelect2, gsNewPilot1, gsWeaponSelect1}) {
        Game.GameState = state;
        Game.World.reset();
        TapKey(keyReturn);
        const bool naming = state == gsNewPilot1 || state == gsNewPilot2;
        EXPECT_EQ(Game.GameState, naming ? state : uint8_t(gsMatch)) << "state " << int(state);
        EXPECT_EQ(Game.World != nullptr, !naming) << "state " << int(state);
    }
    TapKey(keyEscape);
    ASSERT_TRUE(Visible(0));

    Game.Options.MapFile.Set("maps\\gone.map");
    testing::internal::CaptureStderr();
    TapKey(keyReturn);
    const std::string err = testing::internal::GetCapturedStderr();
    EXPECT_EQ(Game.GameState, gsMainMenu);
    EXPECT_EQ(Game.World, nullptr) << "the old world is gone with nothing dangling";
    EXPECT_FALSE(Visible(0)) << "nothing is left to resume";
    EXPECT_NE(err.find("flarons:"), std::string::npos);
}

TEST_F(FrontEndTest, AMatchStartSetsUpTheStatusBarAndKeepsTheAmmunition) {
    Start();
    Game.PlayerWeapons[1][1].Ammo = 5; // the weapons themselves are the golden replays' (brawl)
    Game.Front.EndScreenDrawn = true;
    ASSERT_TRUE(Game.StartMatch());
    EXPECT_EQ(Game.GameState, gsMatch);
    EXPECT_FALSE(Game.Front.EndScreenDrawn);
    EXPECT_EQ(Game.PlayerWeapons[1][1].Ammo, 5.0f);
    TWaveItem& thrust = Game.Sounds.Find("Thrust");
    EXPECT_TRUE(Game.Sounds.Mixer.Voices[thrust.Buffers.at(0)].Playing);
    EXPECT_EQ(thrust.Volume, -10000);
}

// Player 2 handed to the hard computer by clicks keeps no record, and the match Begin starts seats it.
TEST_F(FrontEndTest, AComputerRowOfThePilotListHandsTheSideToTheComputerAtItsLevel) {
    Start();
    const TGameMenuItem& pilot2 = Game.Front.MainMenu->Items[18];
    ASSERT_EQ(Clicked({pilot2.X + 4, pilot2.Y + 4}), gsPilotSelect2);
    Click({PilotRowItemX(1) + 4, PilotRowItemY(3) + 4});
    EXPECT_EQ(Game.GameState, gsMainMenu);
    EXPECT_EQ(Game.Options.Players[1].Name.Str(), ComputerRows[2]);
    const TGameMenuItem& begin = Game.Front.MainMenu->Items[4];
    Click({begin.X + 4, begin.Y + 4});
    ASSERT_EQ(Game.GameState, gsMatch);
    EXPECT_EQ(Game.ComputerPilots[0], nullptr);
    ASSERT_NE(Game.ComputerPilots[1], nullptr);
    EXPECT_EQ(Game.ComputerPilots[1]->Level(), TPilotLevel::Hard);
    Game.SaveAndClose();
    EXPECT_FALSE(fs::exists(Home.Path / "Pilots" / ComputerRows[2]));
    EXPECT_TRUE(fs::exists(Home.Path / "Pilots" / "PLAYER 2" / "Pilot.DAT"))
        << "the pilot it replaced is kept";
}

// The end screen keeps the match's replay under a typed name; the replay list in the centre panel
// offers it, and watching it (Escape leaves) gives the players back their own setup.
TEST_F(FrontEndTest, AReplayKeptAtTheEndOfAMatchIsPickedFromTheListAndWatched) {
    Start();
    ASSERT_TRUE(Game.StartMatch());
    for (int t = 0; t < 30; ++t)
        Tick();
    Game.World->MatchOver = 1;
    Tick();
    ASSERT_EQ(Game.GameState, gsMatchEnd);
    for (const TKey key : {keyK, keyE, keyP, keyReturn, keySpace}) {
        TapKey(key);
        Tick();
    }
    ASSERT_TRUE(fs::is_regular_file(Home.Path / "replays/KEP.rpl"));
    ASSERT_EQ(Game.GameState, gsMainMenu);
    const std::vector<uint8_t> setup = Game.Options.Bytes();

    EXPECT_EQ(Clicked(ReplaysLine), gsReplaySelect);
    Click(FirstCentreRow);
    for (int t = 0; t < 20; ++t)
        Tick();
    EXPECT_TRUE(Game.Watching);
    EXPECT_EQ(Game.GameState, gsMatch);
    Platform.Press(keyEscape, true);
    Tick();
    EXPECT_FALSE(Game.Watching);
    EXPECT_EQ(Game.GameState, gsMainMenu);
    EXPECT_EQ(Game.Options.Bytes(), setup);
}

TEST_F(FrontEndTest, TheRulesPageOpensOnTheFirstStartOnlyAndFromItsButtonAndAboutOpensAndCloses) {
    Start(true);
    ASSERT_TRUE(Game.Front.HowToShown) << "a home without Options.DAT";
    EXPECT_EQ(Clicked(ShipArea1), gsMainMenu) << "the click that closes the page acts on nothing under it";
    EXPECT_FALSE(Game.Front.HowToShown);

    Click({540, 468});
    EXPECT_TRUE(Game.Front.HowToShown) << "the HOW TO PLAY button";
    TapKey(keyEscape);
    EXPECT_FALSE(Game.Front.HowToShown);
    Click(AboutButton);
    EXPECT_TRUE(Game.Front.AboutShown);
    Click(AboutButton);
    EXPECT_FALSE(Game.Front.AboutShown) << "the About button opens and closes the credits";
    Click({628, 468}); // Quit saves Options.DAT
    Tick();
    TGame again{Platform, TFiles(FLARONS_GAME_DIR, Home.Path), TCommandLine{}};
    again.Start();
    EXPECT_FALSE(again.Front.HowToShown) << "only the first start opens the page";
}

// Golden screens (tests/replays/frontend.screens): the rules page, the menu and each panel a click
// opens, a match's end screen and the menu over its still.
TEST_F(FrontEndTest, EveryScreenLooksAsRecorded) {
    TGoldenScreens screens{"frontend", {}};
    Start(true);
    Game.MatchSeed = 7;
    Tick();
    screens.Check("rules", Platform.LastPresented);
    Game.Options.Players[1].ShipValid = 0; // marked on its panel
    // Player 1 a veteran: a rank, medals, statistics and more weapons on the panels.
    TPilotRecord& veteran = Game.Options.Players[0];
    veteran.Experience = 13650, veteran.ShotsFired = 200, veteran.LongestBattle = 65;
    veteran.Medals = {1, 0, 2, 1, 0, 3};
    Game.Front.DrawPilotStats(0);
    const TAt newPilot{PilotRowItemX(0) + 4, PilotRowItemY(0) + 4};
    const TAt clicks[] = {ShipArea1, ShipArea1,   ColourArea1, FlagArea2,  ShipArea2,
                          MapLine,   MapsDown,    CavernRow,   Weapons1,   Keys1,
                          Keys2,     ReplaysLine, AboutButton, PilotName1, newPilot};
    const TAt* at = clicks;
    for (const char* label :
         {"menu", "ships-1", "colours-1", "flags-2", "ships-2", "maps", "scrolled", "duel", "weapons-1",
          "keys-1", "keys-2", "replays", "about", "pilots-1", "name-1"}) {
        Click(*at++);
        Tick();
        screens.Check(label, Platform.LastPresented);
    }
    TapKey(keyEscape);
    Game.Options.Players[1].ShipValid = 1;
    TapKey(keyReturn);
    for (int t = 0; t < 30; ++t)
        Tick();
    Game.World->MatchOver = 1;
    for (const char* label : {"end", "menu-after-match"}) {
        Tick();
        screens.Check(label, Platform.LastPresented);
        TapKey(keySpace);
    }
}

} // namespace
