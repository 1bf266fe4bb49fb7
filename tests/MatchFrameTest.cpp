// MatchFrameTest: the match frame's order and rules: time base, controls, weapon pages, engine sound,
// heading wrap, medal notices, the end of a match and the --match quick start.
#include "MatchTestKit.h"
#include "TestSupport.h"

#include "app/Game.h"
#include "core/GameMath.h"
#include "media/Sound.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <initializer_list>
#include <stdexcept>
#include <thread>

namespace {

constexpr std::array<uint8_t, 10> TestWeapons{1, 2, 3, 4, 5, 6, 7, 8, 9, 10};
constexpr uint32_t Page0Highlight = 0x404080; // red 64, green 64, blue 128 as a pixel
constexpr uint32_t Page1Highlight = 0x804040; // red 128, green 64, blue 64

struct MatchFrameFixture : ::testing::Test {
    TTempDir Home;
    TTestPlatform Platform;
    TGame Game{Platform, TFiles(Home.Path, Home.Path), TCommandLine{}};
    TMatchWorld W{800, 600, {200, 300}, {600, 300}};
    TWorld& M = *W.World;

    void SetUp() override {
        Game.Options = M.Match;
        for (size_t p = 0; p < 2; ++p) {
            Game.Options.Players[p].Weapons = TestWeapons;
            Game.PlayerWeapons[p][0].Create(uint8_t(p), 0);
            Game.PlayerWeapons[p][1].Create(uint8_t(p), 6);
        }
        Game.World = std::move(W.Map);
        Game.GameState = gsMatch;
        Game.Sounds.Find("Thrust").Play(Game.Sounds.Mixer);
    }
    // One tick of the game with exactly these keys held.
    void Tick(std::initializer_list<TKey> keys = {}) {
        Platform.Held = TRawInput{};
        for (TKey k : keys)
            Platform.Press(k, true);
        Game.Tick();
    }
    // Ship p on a pad under its own start point, found there by one frame.
    void ParkAtOwnBase(int p) {
        const float x = M.Ships[size_t(p)].StartX;
        W.PaintRow(int(x) - 40, int(x) + 40, 360, TerrainPad);
        W.StandOn(p, x, 360);
        Tick();
        ASSERT_EQ(M.Ships[size_t(p)].AtOwnBase, 1);
    }
    int HighlightedPixels(int p, int page, uint32_t colour) const {
        const Surface& s = M.WeaponNameSurfaces[size_t(p)][size_t(page)];
        return int(std::count(s.Pixels.begin(), s.Pixels.end(), colour));
    }
    TWaveItem& Thrust() { return Game.Sounds.Find("Thrust"); }
};

TEST_F(MatchFrameFixture, TheTimeBaseIgnoresTheMeasuredRateUntilTheCounterComesRound) {
    Game.FrameTimer.MeasuredFrameRate = 10;
    Game.MatchFrameCounter = 0;
    Tick();
    EXPECT_EQ(M.FrameRate, 70);
    Game.FrameTimer.MeasuredFrameRate = 100;
    Tick();
    EXPECT_EQ(M.FrameRate, 100);

    Game.FrameTimer.MeasuredFrameRate = 10;
    Game.MatchFrameCounter = 254;
    Tick();
    EXPECT_EQ(M.FrameRate, 70) << "254 is not yet the end of the start-up window";
    EXPECT_EQ(Game.MatchFrameCounter, 255);
    Tick();
    EXPECT_EQ(M.MinFrameRate, 15);
    EXPECT_EQ(M.FrameRate, 40) << "10 measured: too slow to trust, the default stands in";
    EXPECT_EQ(Game.MatchFrameCounter, 0) << "the byte wraps";
    Game.FrameTimer.MeasuredFrameRate = 16;
    Tick();
    EXPECT_EQ(M.FrameRate, 16);
}

TEST_F(MatchFrameFixture, ADecidedMatchFinishesItsFrameAndAnEndedOneDrawsNoViews) {
    Game.BackSurface.Fill(0x123456);
    M.MatchEnded = 1;
    Game.MatchFrame();
    EXPECT_EQ(Game.BackSurface.Pixel(100, 100), 0x123456u) << "ended: the views are not drawn";
    M.MatchEnded = 0;
    M.MatchOver = 1;
    M.Ships[0].VY = 1;
    const float y = M.Ships[0].Y;
    Game.MatchFrame();
    EXPECT_NE(Game.BackSurface.Pixel(100, 100), 0x123456u);
    EXPECT_EQ(Game.GameState, gsMatchEnd);
    EXPECT_GT(M.Ships[0].Y, y) << "the world still moved in that frame";
    EXPECT_EQ(M.FrameCounter, 2);
}

TEST_F(MatchFrameFixture, ATickAbandonedAfterTheViewsBeganStillPutsThemOnTheScreen) {
    ASSERT_TRUE(Game.ViewWorker.Threaded() || std::thread::hardware_concurrency() < 2);
    // A busy pool, so the views go to the worker; the page font is looked up while it paints, and
    // without it the tick ends there.
    for (size_t i = 0; i < 20000; ++i) {
        TProjectile& r = M.Projectiles[i];
        r.Kind = 5;
        r.X = float(150 + i % 200);
        r.Y = float(200 + i % 150);
        r.R = r.G = r.B = 200;
    }
    const auto images = Game.Images.Items;
    Game.Images.Items.clear();
    Game.BackSurface.Fill(0x123456);
    EXPECT_THROW(Game.MatchFrame(), std::runtime_error);
    Surface alone(640, 480);
    alone.Fill(0x123456);
    M.DrawViews(alone);
    EXPECT_EQ(Game.BackSurface.Pixels, alone.Pixels) << "the views of the world as the tick found it";
    // The worker is free again for the next tick.
    Game.Images.Items = images;
    Game.MatchFrame();
    EXPECT_NE(Game.BackSurface.Pixel(100, 100), 0x123456u);
}

TEST_F(MatchFrameFixture, TabAndSTogetherChangePageZeroOnlyAtTheOwnBase) {
    Tick({keyTab});
    EXPECT_EQ(Game.PageCursor[0], 127) << "no page opens away from the own base";
    EXPECT_EQ(Game.PlayerWeapons[0][0].WeaponId, 0);
    ParkAtOwnBase(0);
    Tick({keyTab, keyS});
    EXPECT_EQ(Game.PageCursor[0], 2);
    EXPECT_EQ(Game.PlayerWeapons[0][0].WeaponId, TestWeapons[2]);
    EXPECT_EQ(Game.PlayerWeapons[0][1].WeaponId, 6) << "page 1 stays shut while Tab is held";
    Tick({keyTab, keyS, keyA});
    EXPECT_EQ(Game.PageCursor[0], 1);
    EXPECT_EQ(Game.PlayerWeapons[0][0].WeaponId, TestWeapons[1]);
    EXPECT_EQ(Game.PlayerWeapons[0][1].WeaponId, 6);
    EXPECT_GT(HighlightedPixels(0, 0, Page0Highlight), 0);
    EXPECT_EQ(HighlightedPixels(0, 1, Page1Highlight), 0);
    EXPECT_EQ(Game.PageCursor[1], 127) << "player 2 is not touched";

    // Letting go of S closes the change; Tab, still held, opens page 0 again on its middle row.
    Tick({keyTab});
    EXPECT_EQ(Game.PageCursor[0], 2);
    EXPECT_EQ(Game.PlayerWeapons[0][0].WeaponId, TestWeapons[2]);
    Tick();
    EXPECT_EQ(Game.PageCursor[0], 127);
    EXPECT_EQ(HighlightedPixels(0, 0, Page0Highlight), 0);
    EXPECT_EQ(HighlightedPixels(0, 1, Page1Highlight), 0);
}

TEST_F(MatchFrameFixture, OpeningAPageArmsItsMiddleRowAtOnce) {
    ParkAtOwnBase(1);
    Tick({keyDown});
    EXPECT_EQ(Game.PageCursor[1], 2);
    EXPECT_EQ(Game.PlayerWeapons[1][1].WeaponId, TestWeapons[7]);
    EXPECT_GT(HighlightedPixels(1, 1, Page1Highlight), 0);
    // Held on, without turn keys, nothing moves.
    Tick({keyDown});
    EXPECT_EQ(Game.PageCursor[1], 2);
    Tick({keyDown, keyRight});
    EXPECT_EQ(Game.PageCursor[1], 3);
    EXPECT_EQ(Game.PlayerWeapons[1][1].WeaponId, TestWeapons[8]);
    // Holding the turn key does not repeat.
    Tick({keyDown, keyRight});
    EXPECT_EQ(Game.PageCursor[1], 3);
}

TEST_F(MatchFrameFixture, RowZeroStaysButIsArmedAgain) {
    ParkAtOwnBase(0);
    Tick({keyTab});
    Tick({keyTab, keyA});
    Tick({keyTab});
    Tick({keyTab, keyA});
    EXPECT_EQ(Game.PageCursor[0], 0);
    Game.PlayerWeapons[0][0].Setup(22);
    Game.PlayerWeapons[0][0].Ammo = 42;
    Tick({keyTab});
    Tick({keyTab, keyA});
    EXPECT_EQ(Game.PageCursor[0], 0);
    EXPECT_EQ(Game.PlayerWeapons[0][0].WeaponId, TestWeapons[0]);
    EXPECT_GE(Game.PlayerWeapons[0][0].Ammo, 42.0f) << "a change keeps the ammunition";
    Tick({keyTab});
    Tick({keyTab, keyD});
    EXPECT_EQ(Game.PageCursor[0], 1);
}

TEST_F(MatchFrameFixture, TheOpenPageHangsUnderTheShipInItsView) {
    ParkAtOwnBase(0);
    // The page is drawn before the update moves the camera.
    const TShip& s = M.Ships[0];
    const int x = std::clamp(int(Round(s.X) - Round(M.ViewX[0])) - 39, 0, 539);
    const int y = std::clamp(int(Round(s.Y) - Round(M.ViewY[0])) + 20, 0, 380);
    Tick({keyTab});
    const Surface& page = M.WeaponNameSurfaces[0][0];
    int shown = 0;
    for (int r = 0; r < page.Height; ++r)
        for (int c = 0; c < page.Width; ++c)
            if (page.Pixel(c, r) != 0) {
                ASSERT_EQ(Game.BackSurface.Pixel(x + c, y + r), page.Pixel(c, r)) << c << "," << r;
                ++shown;
            }
    EXPECT_GT(shown, 0);
}

TEST_F(MatchFrameFixture, NobodyFiresFromTheOwnBaseButFiresAwayFromIt) {
    Game.Options.Players[0].Weapons[2] = 0; // the page opens on the minigun
    ParkAtOwnBase(0);
    for (int i = 0; i < 30; ++i)
        Tick({keyTab});
    ASSERT_EQ(Game.PlayerWeapons[0][0].WeaponId, 0);
    EXPECT_EQ(M.Match.Players[0].ShotsFired, 0u);

    M.Ships[0].Y -= 40; // lifted off the pad
    M.Ships[0].VY = -1;
    for (int i = 0; i < 30; ++i)
        Tick({keyTab});
    EXPECT_GT(M.Match.Players[0].ShotsFired, 0u);
}

TEST_F(MatchFrameFixture, AtTheOwnBaseAShipCannotTurnButAPilotWalks) {
    // Both found at their bases by the last update, in the air so that no feet set them upright.
    TShip& ship = M.Ships[0];
    ship.Angle = 30;
    ship.AtOwnBase = 1;
    TShip& pilot = M.Ships[1];
    pilot.OnFoot = 1;
    pilot.Health = 8;
    pilot.Angle = 256;
    pilot.AtOwnBase = 1;
    Tick({keyA, keyRight});
    EXPECT_EQ(ship.Angle, 30.0);
    EXPECT_EQ(pilot.Angle, 258.0);
    EXPECT_GT(pilot.VX, 0.0f);
    // Off the base (the update cleared the flags) the ship turns again.
    Tick({keyA});
    EXPECT_GT(ship.Angle, 30.0);
}

TEST_F(MatchFrameFixture, AGluedShipCannotThrustOrTurn) {
    TShip& s = M.Ships[0];
    s.Glued = 1;
    s.Angle = 30;
    Tick({keyW, keyA});
    EXPECT_EQ(s.Fuel, 200.0f);
    EXPECT_EQ(s.Angle, 30.0);
    EXPECT_GT(s.VY, 0.0f) << "only gravity";
    // The bug's hold is renewed by the hit rules each update; without it the ship steers again.
    Tick({keyW, keyA});
    EXPECT_LT(s.Fuel, 200.0f);
    EXPECT_GT(s.Angle, 30.0);
}

TEST_F(MatchFrameFixture, AWreckedPlayerWalksOnWithFiveRoundsAndNoSecondWeapon) {
    M.Ships[1].Health = 0;
    Game.PlayerWeapons[0][1].Ammo = 50;
    Tick();
    EXPECT_EQ(M.Ships[1].OnFoot, 1);
    EXPECT_EQ(Game.PlayerWeapons[1][0].Ammo, 5.0f);
    EXPECT_EQ(Game.PlayerWeapons[1][1].Ammo, 0.0f);
    EXPECT_EQ(Game.PlayerWeapons[0][1].Ammo, 50.0f) << "the other player keeps his";
}

TEST_F(MatchFrameFixture, TheEngineSoundPansToWhoeverThrusts) {
    const TMixer& mixer = Game.Sounds.Mixer;
    ASSERT_EQ(Thrust().Buffers.size(), 1u);
    const TVoice& voice = mixer.Voices[Thrust().Buffers[0]];
    float left = 0, right = 0;

    Tick({keyW, keyUp});
    EXPECT_EQ(Thrust().Volume, -520);
    EXPECT_EQ(Thrust().Pan, 0);
    PanGains(-520, 0, left, right);
    EXPECT_FLOAT_EQ(voice.GainLeft, left);
    EXPECT_FLOAT_EQ(voice.GainRight, right);

    Tick({keyW});
    EXPECT_EQ(Thrust().Pan, -10000);
    EXPECT_GT(voice.GainLeft, 10 * voice.GainRight) << "player 1's side only";
    Tick({keyUp});
    EXPECT_EQ(Thrust().Pan, 10000);
    EXPECT_GT(voice.GainRight, 10 * voice.GainLeft);

    Tick();
    EXPECT_EQ(Thrust().Volume, -10000);
    EXPECT_LT(voice.GainLeft + voice.GainRight, 0.001f);

    // Holding thrust with an empty tank: no push and no sound.
    M.Ships[0].Fuel = 0;
    const float vy = M.Ships[0].VY;
    Tick({keyW});
    EXPECT_EQ(Thrust().Volume, -10000);
    EXPECT_GT(M.Ships[0].VY, vy);
}

TEST_F(MatchFrameFixture, TheEnginePitchWobblesOnceEvery256Frames) {
    for (auto [counter, frequency] : {std::pair{63, 11025}, {255, 14025}, {127, 8025}}) {
        Game.MatchFrameCounter = uint8_t(counter);
        Tick();
        EXPECT_EQ(Thrust().Frequency, frequency) << "counter " << counter;
    }
}

TEST_F(MatchFrameFixture, HeadingsWrapBy255AndPilotsKeepTheirFacing) {
    M.Ships[0].Angle = 255.5;
    M.Ships[1].Angle = -0.5;
    Tick();
    EXPECT_DOUBLE_EQ(M.Ships[0].Angle, 0.5);
    EXPECT_DOUBLE_EQ(M.Ships[1].Angle, 254.5);
    M.Ships[1].OnFoot = 1;
    M.Ships[1].Angle = 258;
    M.Ships[1].Health = 8;
    Tick();
    EXPECT_EQ(M.Ships[1].Angle, 258.0);
}

TEST_F(MatchFrameFixture, AMedalShowsWhileItsTimerRunsAndTheScoreIsRedrawnOnlyWhenItChanges) {
    M.MedalImage = {"Medal3", "Medal9"};
    M.MedalTimer = {2, 0};
    Tick();
    EXPECT_EQ(M.MedalTimer[0], 1);
    Surface expected(ScreenWidth, ScreenHeight);
    Game.Images.Find("Medal3").Draw(expected, 0, 386, 0);
    int lit = 0;
    for (int y = 386; y < 430; ++y)
        for (int x = 0; x < 20; ++x)
            if (expected.Pixel(x, y) != 0) {
                ASSERT_EQ(Game.BackSurface.Pixel(x, y), expected.Pixel(x, y));
                ++lit;
            }
    EXPECT_GT(lit, 0);
    Tick();
    EXPECT_EQ(M.MedalTimer[0], 0);
    Tick();
    EXPECT_EQ(M.MedalTimer[0], 0) << "it stops at 0";

    // The score beside it is redrawn only when it changes.
    Game.StatusBar.LastDrawnScore = {0, 0};
    Tick();
    EXPECT_EQ(Game.StatusBar.LastDrawnScore, (std::array<int64_t, 2>{0, 0}));
    M.Match.Players[1].Points = 3;
    Tick();
    EXPECT_EQ(Game.StatusBar.LastDrawnScore, (std::array<int64_t, 2>{0, 3}));
}

// The quick start runs the game's own start-up on the shipped game folder.
struct QuickStart {
    TTempDir Home;
    TTestPlatform Platform;
    TGame Game;
    explicit QuickStart(bool quick, const std::filesystem::path& game)
        : Game(Platform, TFiles(game, Home.Path), Switches(quick)) {
        Platform.Press(keySpace, true);
        Game.Start();
        Platform.Press(keySpace, false);
    }
    static TCommandLine Switches(bool quick) {
        TCommandLine cl;
        cl.QuickMatch = quick;
        return cl;
    }
};

TEST(QuickStartTest, MatchStartsTheMatchRightAfterTheStartUpPanels) {
    QuickStart quick(true, FLARONS_GAME_DIR);
    EXPECT_EQ(quick.Game.GameState, gsStartup);
    quick.Game.Tick();
    EXPECT_EQ(quick.Game.GameState, gsMatch);
    ASSERT_NE(quick.Game.World, nullptr);
    const TWorld* first = quick.Game.World.get();
    quick.Game.Tick();
    EXPECT_EQ(quick.Game.World.get(), first) << "started once, then played";
    EXPECT_EQ(quick.Game.MatchFrameCounter, 1);

    // Without the switch the players meet the menu first.
    QuickStart plain(false, FLARONS_GAME_DIR);
    plain.Game.Tick();
    EXPECT_EQ(plain.Game.GameState, gsMainMenu);
    EXPECT_EQ(plain.Game.World, nullptr);
}

TEST(QuickStartTest, AMatchThatCannotBeBuiltLeavesTheMenu) {
    TTempDir empty; // no maps, ships or pictures at all
    QuickStart quick(true, empty.Path);
    testing::internal::CaptureStderr();
    quick.Game.Tick();
    const std::string said = testing::internal::GetCapturedStderr();
    EXPECT_EQ(quick.Game.GameState, gsMainMenu);
    EXPECT_EQ(quick.Game.World, nullptr);
    EXPECT_NE(said.find("--match"), std::string::npos) << said;
}

} // namespace
