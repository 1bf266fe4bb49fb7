// MatchFrameTest: the match frame's order and rules not seen in a replay's state: time base, drawing,
// weapon pages, engine sound, the end of a match, the --match quick start, and the shipped replays
// played through the rules tick by tick.
#include "MatchTestKit.h"
#include "TestSupport.h"

#include "app/Game.h"
#include "app/MatchReplay.h"
#include "app/ReplayFiles.h"
#include "media/Sound.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <initializer_list>
#include <map>
#include <stdexcept>
#include <thread>

namespace {

constexpr std::array<uint8_t, 10> TestWeapons{1, 2, 3, 4, 5, 6, 7, 8, 9, 10};

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
    TWaveItem& Thrust() { return Game.Sounds.Find("Thrust"); }
};

TEST_F(MatchFrameFixture, TheTimeBaseIgnoresTheMeasuredRateUntilTheCounterComesRound) {
    for (const auto& [counter, measured, rate] : {std::tuple{0, 10, 70}, {0, 100, 100}, {254, 10, 70}}) {
        Game.MatchFrameCounter = uint8_t(counter);
        Game.FrameTimer.MeasuredFrameRate = uint16_t(measured);
        Tick();
        EXPECT_EQ(M.FrameRate, rate) << counter << " " << measured;
    }
    Tick();
    EXPECT_EQ(M.FrameRate, 40) << "10 measured after the window: too slow to trust, the default stands in";
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
    const float y = M.Ships[0].Y;
    Game.MatchFrame();
    EXPECT_NE(Game.BackSurface.Pixel(100, 100), 0x123456u);
    EXPECT_EQ(Game.GameState, gsMatchEnd);
    EXPECT_GT(M.Ships[0].Y, y) << "the world still moved in that frame";
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

TEST_F(MatchFrameFixture, TheOpenPageIsHighlightedAndArmsItsMiddleRowOnlyAtTheOwnBase) {
    Tick({keyTab});
    EXPECT_EQ(Game.PageCursor[0], 127) << "no page opens away from the own base";
    const float x0 = M.Ships[0].StartX;
    W.PaintRow(int(x0) - 40, int(x0) + 40, 360, TerrainPad);
    W.StandOn(0, x0, 360);
    Tick();
    ASSERT_EQ(M.Ships[0].AtOwnBase, 1);
    Tick({keyTab});
    EXPECT_EQ(Game.PlayerWeapons[0][0].WeaponId, TestWeapons[2]) << "the middle row is armed at once";
    const Surface& page = M.WeaponNameSurfaces[0][0];
    EXPECT_GT(std::count(page.Pixels.begin(), page.Pixels.end(), 0x404080u), 0) << "page 0's highlight";
}

TEST_F(MatchFrameFixture, AGluedShipCannotThrustOrTurnAndAPilotKeepsItsFacing) {
    TShip& s = M.Ships[0];
    s.Glued = 1;
    s.Angle = 30;
    M.Ships[1].OnFoot = 1;
    M.Ships[1].Angle = 258;
    M.Ships[1].Health = 8;
    Tick({keyW, keyA});
    EXPECT_EQ(s.Fuel, 200.0f);
    EXPECT_EQ(s.Angle, 30.0);
    EXPECT_EQ(M.Ships[1].Angle, 258.0) << "no wrap by 255 on foot";
    // The bug's hold is renewed by the hit rules each update; without it the ship steers again.
    Tick({keyW, keyA});
    EXPECT_LT(s.Fuel, 200.0f);
    EXPECT_GT(s.Angle, 30.0);
}

TEST_F(MatchFrameFixture, TheEngineSoundPansToWhoeverThrusts) {
    const TVoice& voice = Game.Sounds.Mixer.Voices[Thrust().Buffers.at(0)];
    Tick({keyW, keyUp});
    EXPECT_EQ(Thrust().Volume, -520);
    EXPECT_EQ(Thrust().Pan, 0);
    EXPECT_GT(std::min(voice.GainLeft, voice.GainRight), 0.5f) << "the mixer plays it in both ears";
    Tick({keyW});
    EXPECT_EQ(Thrust().Pan, -10000);
    Tick({keyUp});
    EXPECT_EQ(Thrust().Pan, 10000);
    Tick();
    EXPECT_EQ(Thrust().Volume, -10000);
    EXPECT_LT(voice.GainLeft + voice.GainRight, 0.01f);
    // Holding thrust with an empty tank: no push and no sound.
    M.Ships[0].Fuel = 0;
    Tick({keyW});
    EXPECT_EQ(Thrust().Volume, -10000);
}

// The quick start runs the game's own start-up on a game folder.
struct QuickStart {
    TTempDir Home;
    TTestPlatform Platform;
    TGame Game;
    explicit QuickStart(bool quick, const std::filesystem::path& game)
        : Game(Platform, TFiles(game, Home.Path), Switches(quick)) {
        Platform.Press(keySpace, true);
        Game.Start();
        Platform.Press(keySpace, false);
        Game.Tick();
    }
    static TCommandLine Switches(bool quick) {
        TCommandLine cl;
        cl.QuickMatch = quick;
        return cl;
    }
};

TEST(QuickStartTest, MatchStartsTheMatchRightAfterTheStartUpPanelsOrLeavesTheMenuWhenItCannot) {
    QuickStart quick(true, FLARONS_GAME_DIR);
    EXPECT_EQ(quick.Game.GameState, gsMatch);
    const TWorld* first = quick.Game.World.get();
    ASSERT_NE(first, nullptr);
    quick.Game.Tick();
    EXPECT_EQ(quick.Game.World.get(), first) << "started once, then played";

    TTempDir empty; // no maps, ships or pictures at all
    testing::internal::CaptureStderr();
    QuickStart broken(true, empty.Path);
    const std::string said = testing::internal::GetCapturedStderr();
    EXPECT_EQ(broken.Game.GameState, gsMainMenu);
    EXPECT_EQ(broken.Game.World, nullptr);
    EXPECT_NE(said.find("--match"), std::string::npos) << said;
}

// Whole recorded matches (every weapon, wrecks, pilots on foot, flags, settling earth, water, snow,
// glue and ants between them) must still play out exactly, hash for hash, as they were recorded
// (CTest runs them through the command line's --verify as well), and every 50th tick and the last the
// screen, views and status bar, must look as recorded (tests/replays/NAME.screens).
// A golden replay loaded beside a game whose status bar has its pictures, as the screen shows it.
struct TRecordedMatch {
    TTempDir Home;
    TTestPlatform Platform;
    TGame Game{Platform, TFiles(FLARONS_GAME_DIR, Home.Path), TCommandLine{}};
    TReplay Replay;
    std::string Message;
    bool Loaded = false;
    explicit TRecordedMatch(const std::string& name) {
        Game.StatusBar.Load(Game.Files);
        Loaded = LoadReplayFile(std::string(FLARONS_REPLAY_DIR "/") + name + ".rpl", Replay, Message);
    }
};

TEST(GoldenReplay, TheRecordedMatchesStillPlayOutTickByTick) {
    for (const char* name : {"duel", "glacier", "hive", "brawl"}) {
        TRecordedMatch match(name);
        ASSERT_TRUE(match.Loaded) << match.Message;
        TGame& game = match.Game;
        std::string& message = match.Message;
        TGoldenScreens screens{name, {}};
        const auto look = [&](size_t tick) {
            screens.Check("tick-" + std::to_string(tick), game.BackSurface);
        };
        EXPECT_TRUE(VerifyReplay(game, match.Replay, message, 50, look)) << name << ": " << message;
    }
}

// Watching at 8x draws the last tick of each timer tick as verifying draws it, and the replay's last.
TEST(GoldenReplay, WatchedAtEightTimesTheSpeedTheLastTickOfEachStepIsOnTheScreen) {
    TRecordedMatch match("duel");
    ASSERT_TRUE(match.Loaded) << match.Message;
    TGame& game = match.Game;
    const TReplay& replay = match.Replay;
    std::string& message = match.Message;
    std::map<size_t, uint64_t> verified;
    ASSERT_TRUE(VerifyReplay(game, replay, message, 8,
                             [&](size_t t) { verified[t] = ScreenDigest(game.BackSurface); }));
    const size_t last = replay.Ticks.size();
    ASSERT_NE(last % 8, 0u) << "the last step is a short one";
    TReplayWatch watch(game, replay);
    ASSERT_TRUE(watch.Begin(message));
    // Paused, three presses of the right arrow; the last press of space and its release run 8 ticks each.
    for (const TKey key : {keySpace, keyRight, keyRight, keyRight, keySpace})
        for (const bool down : {true, false}) {
            TRawInput raw;
            raw.Keys[key] = down;
            watch.Step(raw);
        }
    for (size_t tick = 16; tick <= last; tick += 8, watch.Step(TRawInput{}))
        ASSERT_EQ(ScreenDigest(game.BackSurface), verified[tick]) << tick;
    EXPECT_EQ(ScreenDigest(game.BackSurface), verified[last]) << "the last tick is drawn";
}

} // namespace
