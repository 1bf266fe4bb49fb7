// InputScriptTest: reading input scripts and running them on the headless platform.
#include "media/headless/InputScript.h"
#include "TestSupport.h"
#include "app/Game.h"
#include "app/GameLoop.h"
#include "media/FrameTimer.h"
#include "media/headless/HeadlessPlatform.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

namespace fs = std::filesystem;

namespace {

std::string ErrorOf(const std::string& text) {
    try {
        TInputScript::Parse(text);
    } catch (const TScriptError& e) {
        return e.what();
    }
    return "no error";
}

// What the game reads at one timer tick.
TRawInput InputAt(THeadlessPlatform& p, uint64_t tick) {
    p.BeforeTick(tick);
    return p.ReadInput();
}

using TXY = std::pair<int, int>;
TXY Move(const TRawInput& r) {
    return {r.MouseDX, r.MouseDY};
}
TXY Pointer(const THeadlessPlatform& p) {
    return {p.PointerX(), p.PointerY()};
}

// A scripted run that notes, after every tick, the screen and where the game's menu pointer is.
struct TPointerLog : THeadlessPlatform {
    using THeadlessPlatform::THeadlessPlatform;
    const TGame* Game = nullptr;
    std::vector<std::tuple<int, int, int>> After; // per tick: state, pointer x, pointer y
    void AfterTick(uint64_t tick, const Surface& display) override {
        THeadlessPlatform::AfterTick(tick, display);
        After.emplace_back(Game->GameState, Game->Front.MainMenu->CursorX, Game->Front.MainMenu->CursorY);
    }
};

} // namespace

TEST(InputScriptParse, ReadsEveryCommandKindSortsByTickAndErrorsNameTheLine) {
    const TInputScript s =
        TInputScript::Parse("# a run through the menus\n\n0 key space down   # skip the title\n"
                            "3 key Escape up\n4 mouse 320 -5\n5 button down\n6 button up\n"
                            "7 click 10 +20\n8 shot out/menu.PNG\r\n9 close\n");
    // Per command: action, key, down, x, y, file, line.
    std::vector<std::tuple<TScriptAction, TKey, bool, int, int, std::string, int>> read;
    for (const TScriptCommand& c : s.Commands)
        read.emplace_back(c.Action, c.Key, c.Down, c.X, c.Y, c.File, c.Line);
    using A = TScriptAction;
    const TKey k = TScriptCommand{}.Key;
    EXPECT_EQ(read, (decltype(read){{A::Key, keySpace, true, 0, 0, "", 3},
                                    {A::Key, keyEscape, false, 0, 0, "", 4},
                                    {A::Mouse, k, false, 320, -5, "", 5},
                                    {A::Button, k, true, 0, 0, "", 6},
                                    {A::Button, k, false, 0, 0, "", 7},
                                    {A::Click, k, false, 10, 20, "", 8},
                                    {A::Shot, k, false, 0, 0, "out/menu.PNG", 9},
                                    {A::Close, k, false, 0, 0, "", 10}}));
    // Commands run by tick; within one tick they keep the order they were written in.
    const TInputScript sorted =
        TInputScript::Parse("5 key w down\n2 key a down\n5 key w up\n2 key a up\n0 close\n");
    std::vector<int> lines;
    for (const TScriptCommand& c : sorted.Commands)
        lines.push_back(c.Line);
    EXPECT_EQ(lines, (std::vector<int>{5, 2, 4, 1, 3}));

    // Errors name the line, and Load reports a missing file.
    EXPECT_EQ(ErrorOf("0 close\n# fine\n\n\n\n\n7 key qq down\n"), "script line 7: unknown key 'qq'");
    EXPECT_EQ(ErrorOf("\n2\n"), "script line 2: missing command after the tick");
    for (const char* bad :
         {"1 jump", "x key w down", "-1 close", "99999999999999999999999 close", "1 key w",
          "1 key w sideways", "1 mouse 10", "1 click 10 2y", "1 button", "1 shot picture.bmp", "1 close now"})
        EXPECT_EQ(ErrorOf(bad).rfind("script line 1: ", 0), 0u) << bad;
    EXPECT_EQ(ErrorOf("# only comments\n\n   \n"), "no error");
    TTempDir dir;
    dir.Write("run.txt", std::string("3 close\n"));
    EXPECT_EQ(TInputScript::Load((dir.Path / "run.txt").string()).Commands.size(), 1u);
    EXPECT_THROW(TInputScript::Load((dir.Path / "absent.txt").string()), TScriptError);
}

TEST(HeadlessPlatform, EveryIdleMakesExactlyOneTimerTickDueAndTheClockWrapsAtAMinute) {
    THeadlessPlatform p;
    TFrameTimer timer;
    EXPECT_FALSE(timer.Due(p.NowMs())); // the first look only starts the timer
    int ticks = 0;
    for (int i = 0; i < 1000; ++i) {
        p.Idle();
        if (timer.Due(p.NowMs())) ++ticks;
        EXPECT_FALSE(timer.Due(p.NowMs()));
    }
    EXPECT_EQ(ticks, 1000);
    EXPECT_EQ(p.NowMs(), 10000u);
    EXPECT_EQ(timer.MeasuredFrameRate, 100);
    for (int i = 0; i < 5150; ++i) // to 61.5 s
        p.Idle();
    EXPECT_EQ(p.ClockSeconds(), 1);
}

TEST(HeadlessPlatform, TickZeroCommandsApplyOnceSkippedTicksApplyThePointerStaysOnScreenAndNoPressIsLost) {
    THeadlessPlatform p(TInputScript::Parse("0 mouse 100 50\n0 key space down\n1 key space up\n"));
    p.BeforeTick(0); // before start-up
    // The start-up wait polls many times; it sees the key but must not eat the pointer movement.
    for (int i = 0; i < 3; ++i) {
        const TRawInput startup = p.ReadInput();
        EXPECT_TRUE(startup.Keys[keySpace]);
        EXPECT_EQ(startup.MouseDX, 0);
    }
    const TRawInput tick0 = InputAt(p, 0); // the first timer tick: nothing is applied twice
    EXPECT_TRUE(tick0.Keys[keySpace]);
    EXPECT_EQ(Move(tick0), TXY(100, 50));
    EXPECT_FALSE(InputAt(p, 1).Keys[keySpace]);

    THeadlessPlatform skipping(TInputScript::Parse("3 key w down\n4 key a down\n9 close\n"));
    const TRawInput late = InputAt(skipping, 5);
    EXPECT_TRUE(late.Keys[keyW] && late.Keys[keyA]);
    EXPECT_FALSE(skipping.CloseRequested());
    skipping.BeforeTick(9);
    EXPECT_TRUE(skipping.CloseRequested());

    // The pointer moves relatively and stays on the screen.
    THeadlessPlatform m(
        TInputScript::Parse("1 mouse 700 -30\n2 mouse 600 400\n3 mouse 10 10\n3 mouse 20 30\n"));
    m.BeforeTick(0); // start-up
    EXPECT_EQ(Move(InputAt(m, 1)), TXY(640, 0));
    EXPECT_EQ(m.PointerX(), 640);
    EXPECT_EQ(Move(InputAt(m, 2)), TXY(-40, 400));
    // Two moves in one tick add up; the movement is handed over once.
    EXPECT_EQ(Move(InputAt(m, 3)), TXY(-580, -370));
    EXPECT_EQ(m.ReadInput().MouseDX, 0);
    EXPECT_EQ(Pointer(m), TXY(20, 30));

    // A click presses at its tick and lets go two ticks later.
    THeadlessPlatform c(TInputScript::Parse("2 click 30 40\n10 button down\n12 button up\n"));
    const bool expected[8] = {false, false, true, true, false, false, false, false};
    for (uint64_t t = 0; t < 8; ++t)
        EXPECT_EQ(InputAt(c, t).MouseLeft, expected[t]) << "tick " << t;
    EXPECT_EQ(Pointer(c), TXY(30, 40));

    // A press let go before the next poll is still seen by that poll, once.
    THeadlessPlatform quick(
        TInputScript::Parse("0 pad 3 connect\n2 button down\n2 button up\n2 key q down\n"
                            "2 key q up\n2 pad 3 button start down\n2 pad 3 button start up\n"));
    quick.BeforeTick(0);
    for (uint64_t t = 1; t < 4; ++t) {
        const TRawInput in = InputAt(quick, t);
        EXPECT_EQ(in.MouseLeft, t == 2) << "tick " << t;
        EXPECT_EQ(in.Keys[keyQ], t == 2) << "tick " << t;
        EXPECT_EQ(in.Pads[0].Held(), t == 2 ? 1u << padStart : 0u) << "tick " << t;
    }
}

TEST(HeadlessPlatform, TheGamesPointerIsWhereTheScriptPutItAroundAMatch) {
    // Moved while the start-up panels are prepared and during a match, the pointer is where the
    // script says when the menus are back.
    TTempDir home;
    TPointerLog run(TInputScript::Parse("0 key space down\n0 mouse 120 90\n2 key space up\n"
                                        "3 key escape down\n4 key escape up\n" // the rules page
                                        "5 key return down\n6 key return up\n10 mouse 500 400\n"
                                        "15 key escape down\n16 key escape up\n20 mouse 300 269\n"));
    TGame game(run, TFiles(FLARONS_GAME_DIR, home.Path), TCommandLine{});
    run.Game = &game;
    ASSERT_EQ(RunGame(game, run, 25), 25u);
    using TAt = std::tuple<int, int, int>;
    EXPECT_EQ(run.After[4], TAt(gsMainMenu, 120, 90));
    EXPECT_EQ(run.After[12], TAt(gsMatch, 500, 400));
    EXPECT_EQ(run.After[24], TAt(gsMainMenu, 300, 269));
}

TEST(HeadlessPlatform, PresentKeepsACopyOfTheFrameAndShotsWriteIt) {
    TTempDir dir;
    const fs::path shot = dir.Path / "frame3.png", bad = dir.Path / "missing" / "frame.png";
    THeadlessPlatform p(TInputScript::Parse("3 shot " + shot.string() + "\n4 shot " + bad.string() + "\n"));
    Surface back(640, 480);
    for (uint64_t t = 0; t < 5; ++t) {
        back.Fill(Rgb(int(t) * 10, 0, 0));
        // The loop's order for one timer tick, as the shell runs it.
        p.BeforeTick(t);
        p.Present(back);
        p.AfterTick(t, p.Displayed());
        EXPECT_EQ(fs::exists(shot), t >= 3) << "tick " << t;
    }
    back.Fill(0); // the displayed frame is a copy, not the back surface itself
    EXPECT_EQ(p.PresentCount(), 5u);
    EXPECT_EQ(p.Displayed().Pixel(0, 0), Rgb(40, 0, 0));
    EXPECT_EQ(p.FailedShots(), std::vector<std::string>{bad.string()});
}
