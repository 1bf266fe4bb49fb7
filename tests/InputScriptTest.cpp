// InputScriptTest: reading input scripts and running them on the headless platform.
#include "media/headless/InputScript.h"
#include "media/FrameTimer.h"
#include "media/Sound.h"
#include "media/headless/HeadlessPlatform.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

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

// The loop's order for one timer tick, as the shell runs it.
void RunTick(THeadlessPlatform& p, uint64_t tick, const Surface& back) {
    p.BeforeTick(tick);
    p.Present(back);
    p.AfterTick(tick, p.Displayed());
}

struct TempDir {
    fs::path Path;
    TempDir() {
        Path = fs::temp_directory_path() /
               ("flarons_script_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "_" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(Path);
        fs::create_directories(Path);
    }
    ~TempDir() {
        std::error_code ec;
        fs::remove_all(Path, ec);
    }
};

} // namespace

TEST(InputScriptParse, ReadsEveryCommandKind) {
    const TInputScript s = TInputScript::Parse("# a run through the menus\n"
                                               "\n"
                                               "0 key space down   # skip the title\n"
                                               "3 key Escape up\n"
                                               "4 mouse 320 -5\n"
                                               "5 button down\n"
                                               "6 button up\n"
                                               "7 click 10 +20\n"
                                               "8 shot out/menu.PNG\r\n"
                                               "9 close\n");
    ASSERT_EQ(s.Commands.size(), 8u);
    const TScriptCommand& key = s.Commands[0];
    EXPECT_EQ(key.Tick, 0u);
    EXPECT_EQ(key.Action, TScriptAction::Key);
    EXPECT_EQ(key.Key, keySpace);
    EXPECT_TRUE(key.Down);
    EXPECT_EQ(key.Line, 3);
    EXPECT_EQ(s.Commands[1].Key, keyEscape);
    EXPECT_FALSE(s.Commands[1].Down);
    EXPECT_EQ(s.Commands[2].Action, TScriptAction::Mouse);
    EXPECT_EQ(s.Commands[2].X, 320);
    EXPECT_EQ(s.Commands[2].Y, -5);
    EXPECT_EQ(s.Commands[3].Action, TScriptAction::Button);
    EXPECT_TRUE(s.Commands[3].Down);
    EXPECT_FALSE(s.Commands[4].Down);
    EXPECT_EQ(s.Commands[5].Action, TScriptAction::Click);
    EXPECT_EQ(s.Commands[5].Y, 20);
    EXPECT_EQ(s.Commands[6].Action, TScriptAction::Shot);
    EXPECT_EQ(s.Commands[6].File, "out/menu.PNG");
    EXPECT_EQ(s.Commands[7].Action, TScriptAction::Close);
    EXPECT_EQ(s.Commands[7].Tick, 9u);
}

TEST(InputScriptParse, KnowsAllTwelveKeys) {
    const char* names[] = {"w",     "a",      "s",  "d",    "tab",  "return",
                           "space", "escape", "up", "down", "left", "right"};
    const TKey keys[] = {keyW,     keyA,      keyS,  keyD,    keyTab,  keyReturn,
                         keySpace, keyEscape, keyUp, keyDown, keyLeft, keyRight};
    for (size_t i = 0; i < 12; ++i) {
        const TInputScript s = TInputScript::Parse(std::string("1 key ") + names[i] + " down");
        ASSERT_EQ(s.Commands.size(), 1u) << names[i];
        EXPECT_EQ(s.Commands[0].Key, keys[i]) << names[i];
    }
}

TEST(InputScriptParse, SortsByTickKeepingTheWrittenOrderWithinATick) {
    const TInputScript s = TInputScript::Parse("5 key w down\n"
                                               "2 key a down\n"
                                               "5 key w up\n"
                                               "2 key a up\n"
                                               "0 close\n");
    ASSERT_EQ(s.Commands.size(), 5u);
    const int lines[] = {5, 2, 4, 1, 3};
    for (size_t i = 0; i < 5; ++i)
        EXPECT_EQ(s.Commands[i].Line, lines[i]) << i;
}

TEST(InputScriptParse, ErrorsNameTheLine) {
    EXPECT_EQ(ErrorOf("0 close\n# fine\n\n\n\n\n7 key q down\n"), "script line 7: unknown key 'q'");
    EXPECT_EQ(ErrorOf("1 jump\n"), "script line 1: unknown command 'jump'");
    EXPECT_EQ(ErrorOf("x key w down\n"), "script line 1: bad tick 'x'");
    EXPECT_EQ(ErrorOf("-1 close\n"), "script line 1: bad tick '-1'");
    EXPECT_EQ(ErrorOf("99999999999999999999999 close\n"),
              "script line 1: bad tick '99999999999999999999999'");
    EXPECT_EQ(ErrorOf("\n2\n"), "script line 2: missing command after the tick");
    EXPECT_EQ(ErrorOf("1 key w\n"), "script line 1: expected 'TICK key NAME down|up'");
    EXPECT_EQ(ErrorOf("1 key w sideways\n"), "script line 1: expected down or up, got 'sideways'");
    EXPECT_EQ(ErrorOf("1 mouse 10\n"), "script line 1: expected 'TICK mouse X Y'");
    EXPECT_EQ(ErrorOf("1 click 10 2y\n"), "script line 1: bad coordinate '2y'");
    EXPECT_EQ(ErrorOf("1 button\n"), "script line 1: expected 'TICK button down|up'");
    EXPECT_EQ(ErrorOf("1 shot picture.bmp\n"), "script line 1: shot file 'picture.bmp' must end in .png");
    EXPECT_EQ(ErrorOf("1 close now\n"), "script line 1: expected 'TICK close'");
    EXPECT_EQ(ErrorOf("# only comments\n\n   \n"), "no error");
}

TEST(InputScriptParse, LoadReadsAFileAndReportsAMissingOne) {
    TempDir dir;
    const fs::path file = dir.Path / "run.txt";
    std::ofstream(file) << "3 close\n";
    EXPECT_EQ(TInputScript::Load(file.string()).Commands.size(), 1u);
    EXPECT_THROW(TInputScript::Load((dir.Path / "absent.txt").string()), TScriptError);
}

TEST(HeadlessPlatform, EveryIdleMakesExactlyOneTimerTickDue) {
    THeadlessPlatform p;
    TFrameTimer timer;
    EXPECT_EQ(p.NowMs(), 0u);
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
    EXPECT_TRUE(p.Active());
    EXPECT_FALSE(p.CloseRequested());
}

TEST(HeadlessPlatform, ClockSecondsWrapsAtAMinute) {
    THeadlessPlatform p;
    EXPECT_EQ(p.ClockSeconds(), 0);
    for (int i = 0; i < 6150; ++i)
        p.Idle(); // 61.5 s
    EXPECT_EQ(p.ClockSeconds(), 1);
}

TEST(HeadlessPlatform, TickZeroCommandsApplyOnceBeforeStartUp) {
    THeadlessPlatform p(TInputScript::Parse("0 mouse 100 50\n0 key space down\n1 key space up\n"));
    p.BeforeTick(0); // before start-up
    // The start-up wait polls many times; it sees the key but must not eat the pointer movement.
    for (int i = 0; i < 3; ++i) {
        const TRawInput startup = p.ReadInput();
        EXPECT_TRUE(startup.Keys[keySpace]);
        EXPECT_EQ(startup.MouseDX, 0);
    }
    p.BeforeTick(0); // the first timer tick: nothing is applied twice
    const TRawInput tick0 = p.ReadInput();
    EXPECT_TRUE(tick0.Keys[keySpace]);
    EXPECT_EQ(tick0.MouseDX, 100);
    EXPECT_EQ(tick0.MouseDY, 50);
    EXPECT_EQ(p.ReadInput().MouseDX, 0);
    p.BeforeTick(1);
    EXPECT_FALSE(p.ReadInput().Keys[keySpace]);
    EXPECT_EQ(p.PointerX(), 100);
}

TEST(HeadlessPlatform, PointerMovesRelativelyAndStaysOnTheScreen) {
    THeadlessPlatform p(
        TInputScript::Parse("1 mouse 700 -30\n2 mouse 600 400\n3 mouse 10 10\n3 mouse 20 30\n"));
    p.BeforeTick(0); // start-up
    p.BeforeTick(1);
    TRawInput r = p.ReadInput();
    EXPECT_EQ(r.MouseDX, 640);
    EXPECT_EQ(r.MouseDY, 0);
    EXPECT_EQ(p.PointerX(), 640);
    p.BeforeTick(2);
    r = p.ReadInput();
    EXPECT_EQ(r.MouseDX, -40);
    EXPECT_EQ(r.MouseDY, 400);
    // Two moves in one tick add up; the movement is handed over once.
    p.BeforeTick(3);
    r = p.ReadInput();
    EXPECT_EQ(r.MouseDX, -580);
    EXPECT_EQ(r.MouseDY, -370);
    EXPECT_EQ(p.ReadInput().MouseDX, 0);
    EXPECT_EQ(p.PointerX(), 20);
    EXPECT_EQ(p.PointerY(), 30);
}

TEST(HeadlessPlatform, ClickPressesAndReleasesTwoTicksLater) {
    THeadlessPlatform p(TInputScript::Parse("2 click 30 40\n10 button down\n12 button up\n"));
    bool held[8] = {};
    for (uint64_t t = 0; t < 8; ++t) {
        p.BeforeTick(t);
        held[t] = p.ReadInput().MouseLeft;
    }
    const bool expected[8] = {false, false, true, true, false, false, false, false};
    for (size_t t = 0; t < 8; ++t)
        EXPECT_EQ(held[t], expected[t]) << "tick " << t;
    EXPECT_EQ(p.PointerX(), 30);
    EXPECT_EQ(p.PointerY(), 40);
    p.BeforeTick(10);
    EXPECT_TRUE(p.ReadInput().MouseLeft);
    p.BeforeTick(12);
    EXPECT_FALSE(p.ReadInput().MouseLeft);
}

TEST(HeadlessPlatform, SkippedTicksStillApplyTheirCommands) {
    THeadlessPlatform p(TInputScript::Parse("3 key w down\n4 key a down\n9 close\n"));
    p.BeforeTick(5);
    const TRawInput r = p.ReadInput();
    EXPECT_TRUE(r.Keys[keyW]);
    EXPECT_TRUE(r.Keys[keyA]);
    EXPECT_FALSE(p.CloseRequested());
    p.BeforeTick(9);
    EXPECT_TRUE(p.CloseRequested());
}

TEST(HeadlessPlatform, PresentKeepsTheFrameAndShotsWriteIt) {
    TempDir dir;
    const fs::path shot = dir.Path / "frame3.png";
    const fs::path bad = dir.Path / "missing" / "frame.png";
    THeadlessPlatform p(TInputScript::Parse("3 shot " + shot.string() + "\n4 shot " + bad.string() + "\n"));
    Surface back(640, 480);
    for (uint64_t t = 0; t < 5; ++t) {
        back.Fill(Rgb(int(t) * 10, 0, 0));
        back.SetPixel(5, 7, Rgb(0, 255, 0));
        RunTick(p, t, back);
        if (t == 2) {
            EXPECT_FALSE(fs::exists(shot));
        }
    }
    back.Fill(0); // the displayed frame is a copy, not the back surface itself
    EXPECT_EQ(p.PresentCount(), 5u);
    EXPECT_EQ(p.Displayed().Pixel(0, 0), Rgb(40, 0, 0));
    ASSERT_TRUE(fs::exists(shot));
    // A PNG with the frame's size in its header.
    std::ifstream in(shot, std::ios::binary);
    unsigned char head[24] = {};
    in.read(reinterpret_cast<char*>(head), 24);
    EXPECT_EQ(head[1], 'P');
    EXPECT_EQ((head[18] << 8) | head[19], 640);
    EXPECT_EQ((head[22] << 8) | head[23], 480);
    ASSERT_EQ(p.FailedShots().size(), 1u);
    EXPECT_EQ(p.FailedShots()[0], bad.string());
}

TEST(HeadlessPlatform, AudioIsMixedAsTheClockAdvances) {
    THeadlessPlatform p;
    TWaveList sounds;
    sounds.Mixer.OutputRate = 44100;
    TWaveItem shot;
    shot.Name = "Shot";
    shot.Wave.Samples.assign(2205, 1000); // 50 ms at 44100
    shot.Wave.SampleRate = 44100;
    sounds.Add(shot).Play(sounds.Mixer);
    p.FeedAudio(sounds.Mixer);
    EXPECT_EQ(p.MixedFrames(), 0u);
    for (int i = 0; i < 4; ++i)
        p.Idle();
    p.FeedAudio(sounds.Mixer);
    EXPECT_EQ(p.MixedFrames(), 1764u); // 40 ms
    EXPECT_TRUE(sounds.Mixer.Voices[0].Playing);
    for (int i = 0; i < 100; ++i)
        p.Idle();
    p.FeedAudio(sounds.Mixer);
    EXPECT_EQ(p.MixedFrames(), 45864u); // 1.04 s, in several passes of the scratch buffer
    EXPECT_FALSE(sounds.Mixer.Voices[0].Playing);
}
