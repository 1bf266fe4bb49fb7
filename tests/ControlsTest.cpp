// ControlsTest: the controls file, the mapping of keys and pads to each tick's input, and matches
// flown with pads alone.
#include "TestSupport.h"

#include "app/Game.h"
#include "core/Controls.h"
#include "media/headless/HeadlessPlatform.h"
#include "world/World.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

namespace {

TEST(ControlsFile, WrittenBindingsReadBackAndUnusableLinesKeepTheirDefaults) {
    TBindings moved = TBindings::Defaults();
    // Keys swapped between the players survive: the check runs once the whole file is read.
    moved.Players[0].Keys[actThrust] = keyUp;
    moved.Players[1].Keys[actThrust] = keyW;
    moved.Players[0].Keys[actFire2] = keyPad5;
    moved.Players[1].Pad[actFire1] = 1u << padY | 1u << padLeftTrigger;
    moved.Players[0].Pad[actLeft] = 0;
    moved.SwapPads = true;
    std::vector<std::string> problems;
    EXPECT_EQ(ParseControls(WriteControls(moved), problems), moved);
    EXPECT_TRUE(problems.empty()) << problems.front();
    EXPECT_EQ(ParseControls("\tplayer1.thrust\t=\tq\r\n", problems).Players[0].Keys[actThrust], keyQ);

    const TBindings defaults = TBindings::Defaults();
    const struct {
        const char* Text;
        std::vector<std::string> Problems;
        std::function<bool(const TBindings&)> Holds;
    } cases[] = {
        {"player1.thrust = q\nplayer1.left = qq\n\x01\xff\x7f\nplayer3.fire1 = e\nplayer2.jump = e\n",
         {"controls.ini line 2: unknown key 'qq'",
          "controls.ini line 3: expected 'name = value', got '\x01\xff\x7f'",
          "controls.ini line 4: unknown binding 'player3.fire1'",
          "controls.ini line 5: unknown binding 'player2.jump'"},
         [&](const TBindings& b) {
             return b.Players[0].Keys[actThrust] == keyQ && b.Players[0].Keys[actLeft] == keyA &&
                    b.Players[1] == defaults.Players[1];
         }},
        {"player1.fire1 = escape\nplayer2.left = SPACE\nplayer2.right = d\nplayer1.fire2 = x\n",
         {"controls.ini line 1: key 'escape' refused: Escape and space belong to the menus",
          "controls.ini line 2: key 'space' refused: Escape and space belong to the menus",
          "controls.ini line 3: key 'd' refused: the other player uses this key"},
         [&](const TBindings& b) {
             return b.Players[0].Keys[actFire1] == keyTab && b.Players[1] == defaults.Players[1] &&
                    b.Players[0].Keys[actFire2] == keyX;
         }},
        {"player1.thrust.pad = a nosuch\nplayer2.fire2.pad = y\npads = sideways\n# pads = swapped\n",
         {"controls.ini line 1: unknown pad control 'nosuch'",
          "controls.ini line 3: pads must be 'normal' or 'swapped', not 'sideways'"},
         [&](const TBindings& b) {
             return b.Players[0].Pad == defaults.Players[0].Pad && b.Players[1].Pad[actFire2] == 1u << padY &&
                    !b.SwapPads;
         }},
    };
    for (const auto& c : cases) {
        std::vector<std::string> found;
        const TBindings b = ParseControls(c.Text, found);
        EXPECT_EQ(found, c.Problems) << c.Text;
        EXPECT_TRUE(c.Holds(b)) << c.Text;
    }
}

TEST(ControlsMapping, KeysAndPadsDriveTheirOwnPlayerAndTheMenus) {
    TBindings swapped = TBindings::Defaults();
    swapped.SwapPads = true;
    const auto pad = [](size_t place, TPadControl button, TPadAxis axis = axisLeftX, int value = 0) {
        TRawInput raw;
        raw.Pads[place].Connected = true;
        if (button < PadButtonCount) raw.Pads[place].Buttons = 1u << button;
        raw.Pads[place].Axes[axis] = int16_t(value);
        return raw;
    };
    const auto keys = [](std::initializer_list<TKey> held) {
        TRawInput raw;
        for (TKey k : held)
            raw.Keys[k] = true;
        return raw;
    };
    TRawInput unplugged = pad(0, padA);
    unplugged.Pads[0].Connected = false;
    const struct {
        TRawInput Raw;
        bool Swap;
        uint8_t Player1, Player2, Menu;
    } cases[] = {
        {keys({keyW, keyS, keyReturn}), false, 1 << actThrust | 1 << actFire2, 1 << actFire1,
         1 << menuReturn},
        {keys({keySpace, keyEscape, keyDown}), false, 0, 1 << actFire2, 1 << menuSpace | 1 << menuEscape},
        {pad(0, padA), false, 1 << actThrust, 0, 0},
        {pad(0, padA), true, 0, 1 << actThrust, 0},
        {pad(1, padDpadRight), false, 0, 1 << actRight, 0},
        {pad(1, padStart), false, 0, 0, 1 << menuReturn},
        {pad(0, padBack), true, 0, 0, 1 << menuEscape},
        {pad(0, PadButtonCount, axisLeftX, -PadDeadZone), false, 0, 0, 0}, // resting inside the dead zone
        {pad(0, PadButtonCount, axisLeftX, -PadDeadZone - 1), false, 1 << actLeft, 0, 0},
        {pad(1, PadButtonCount, axisRightTrigger, 32767), false, 0, 1 << actThrust, 0},
        {pad(1, PadButtonCount, axisLeftTrigger, 32767), false, 0, 0, 0}, // not bound
        {unplugged, false, 0, 0, 0},
    };
    for (size_t i = 0; i < std::size(cases); ++i) {
        const TTickInput in = MapInput(cases[i].Raw, cases[i].Swap ? swapped : TBindings::Defaults());
        EXPECT_EQ(in.Players[0], cases[i].Player1) << "case " << i;
        EXPECT_EQ(in.Players[1], cases[i].Player2) << "case " << i;
        EXPECT_EQ(in.Menu, cases[i].Menu) << "case " << i;
    }
}

// Bindings kept across a restart are checked by the controls screen's test below.
TEST(ControlsFile, TheGameStartsADamagedFileWithTheDefaultsAndOneMessage) {
    TTempDir home;
    TTestPlatform platform;
    TGame second(platform, TFiles(home.Path, home.Path), TCommandLine{});
    second.Bindings.Players[0].Keys[actThrust] = keyPad8; // what an earlier file held
    home.Write("controls.ini", std::string("player1.thrust = \x89PNG\x1a\x00\x7f", 24));
    testing::internal::CaptureStderr();
    second.LoadBindings();
    const std::string err = testing::internal::GetCapturedStderr();
    EXPECT_EQ(second.Bindings, TBindings::Defaults());
    EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 1) << err;
    EXPECT_EQ(err.rfind("flarons: controls.ini line 1: unknown key", 0), 0u) << err;
}

// A headless run through the game's own loop: start-up, then a quick match, tick by tick.
struct TScriptedRun {
    TTempDir Home;
    THeadlessPlatform Platform;
    TGame Game;
    uint64_t NextTick = 0;

    explicit TScriptedRun(const std::string& script, bool quickMatch = true)
        : Platform(TInputScript::Parse("0 key space down\n1 key space up\n" + script)),
          Game(Platform, TFiles(FLARONS_GAME_DIR, Home.Path), [&] {
              TCommandLine cl;
              cl.QuickMatch = quickMatch;
              return cl;
          }()) {
        Platform.BeforeTick(0);
        Game.Start();
    }
    void RunTo(uint64_t tick) {
        for (; NextTick < tick; ++NextTick) {
            Platform.BeforeTick(NextTick);
            Game.Tick();
        }
    }
    const TShip& Ship(int p) const { return Game.World->Ships[size_t(p)]; }
    uint32_t Shots(int p) const { return Game.World->Match.Players[size_t(p)].ShotsFired; }
};

TEST(ControlsPads, PadsAloneFireBothShipsAPadPluggedBackInFliesOnAndHitsShakeIt) {
    TScriptedRun run("0 pad 4 connect\n0 pad 9 connect\n"
                     "2 pad 4 axis righttrigger 30000\n2 pad 9 button a down\n"
                     "60 pad 4 axis righttrigger 0\n60 pad 9 button a up\n"
                     "70 pad 4 button x down\n70 pad 9 button b down\n"
                     "100 pad 4 button x up\n100 pad 9 button b up\n"
                     "110 pad 4 disconnect\n"
                     "120 pad 4 connect\n121 pad 4 button x down\n150 pad 4 button x up\n");
    run.RunTo(2);
    ASSERT_EQ(run.Game.GameState, gsMatch);
    run.RunTo(100);
    EXPECT_GT(run.Shots(0), 0u);
    EXPECT_GT(run.Shots(1), 0u);

    run.RunTo(120);
    const uint32_t before = run.Shots(0);
    run.RunTo(150);
    EXPECT_GT(run.Shots(0), before) << "the pad plugged back in still fires for player 1";

    // Ships laid on each other lose health on every tick they touch: player 1's pad shakes as the
    // ship's hits begin (0.4 for 120 ms), hard at the wreck (full for 400 ms) and as the pilot's hits
    // begin, not on every tick.
    const double rumbles = run.Platform.RumbleDose(0);
    run.Game.World->Ships[1].X = run.Ship(0).X;
    run.Game.World->Ships[1].Y = run.Ship(0).Y;
    run.RunTo(162);
    EXPECT_NEAR(run.Platform.RumbleDose(0) - rumbles, 0.4 * 120 + 400 + 0.4 * 120, 0.01);
}

TEST(ControlsScreen, ThrustBoundByClicksAndAKeyPressFliesWithThatKeyAloneAndSurvivesARestart) {
    // Escape closes the rules page of a first start; Keys button, the thrust row; Escape and player 2's Up
    // are refused and the row keeps waiting for I; Return starts the match; W then I are held.
    TScriptedRun run("2 key escape down\n3 key escape up\n"
                     "5 click 38 355\n12 click 60 175\n18 key escape down\n19 key escape up\n"
                     "21 key up down\n22 key up up\n24 key i down\n25 key i up\n"
                     "28 key return down\n29 key return up\n40 key w down\n80 key w up\n"
                     "81 key i down\n120 key i up\n",
                     false);
    run.RunTo(23);
    EXPECT_EQ(run.Game.GameState, gsControls1) << "Escape waits with the binding";
    EXPECT_EQ(run.Game.Front.Controls.Message.rfind("UP REFUSED", 0), 0u) << run.Game.Front.Controls.Message;
    EXPECT_EQ(run.Game.Bindings, TBindings::Defaults());
    run.RunTo(30);
    ASSERT_EQ(run.Game.GameState, gsMatch);
    EXPECT_EQ(run.Game.Bindings.Players[0].Keys[actThrust], keyI);
    const double restY = run.Ship(0).Y;
    run.RunTo(80);
    const double afterW = run.Ship(0).Y;
    EXPECT_GE(afterW, restY) << "W no longer thrusts";
    run.RunTo(120);
    EXPECT_LT(run.Ship(0).Y, afterW - 20) << "I thrusts";

    TGame second(run.Platform, TFiles(FLARONS_GAME_DIR, run.Home.Path), TCommandLine{});
    second.LoadBindings();
    EXPECT_EQ(second.Bindings, run.Game.Bindings);
}

} // namespace
