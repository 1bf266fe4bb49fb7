// ShellTest: start-up, the tick's fixed order, Escape, quitting and the command line.
#include "TestSupport.h"
#include "app/Game.h"
#include "core/GameFolders.h"
#include "media/Canvas.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <tuple>
#include <utility>
#include <vector>

namespace fs = std::filesystem;

namespace {

struct Shell {
    TTempDir Home;
    TTestPlatform Platform;
    TGame Game;
    explicit Shell(const TCommandLine& cl = TCommandLine{})
        : Game(Platform, TFiles(Home.Path, Home.Path), cl) {
        // The shell only needs a panel font and the engine sound; test-made ones stand in.
        if (Game.Images.TryFind("GreyFont") == nullptr) Game.Images.Add(MakeCellFont("GreyFont", 10, 15, 44));
        if (Game.Sounds.TryFind("Thrust") == nullptr) {
            TWaveItem thrust;
            thrust.Name = "Thrust";
            thrust.Looped = true;
            thrust.Wave.Samples.assign(100, 1000);
            Game.Sounds.Add(thrust);
        }
    }
    void StartQuickly() {
        Platform.Press(keySpace, true);
        Game.Start();
        Platform.Press(keySpace, false);
    }
};

TEST(Shell, SpaceSkipsTheTitleThenTheWipeAndTheFirstTickOnlyPreparesPanels) {
    Shell s;
    s.Platform.Clock = 250;
    s.StartQuickly();
    EXPECT_LE(s.Platform.Clock, 1010u) << "space skips the title wait but not the final one";
    EXPECT_EQ(s.Game.GameState, gsStartup);
    EXPECT_TRUE(fs::is_directory(s.Home.Path / "Pilots/PLAYER 1"));
    EXPECT_EQ(std::count(s.Game.BackSurface.Pixels.begin(), s.Game.BackSurface.Pixels.end(), 0u), 640 * 480);

    // The first tick prepares the panels and blits nothing.
    s.Game.BackSurface.Fill(0x123456);
    s.Game.Tick();
    EXPECT_EQ(s.Game.GameState, gsMainMenu);
    const std::vector<uint32_t>& shown = s.Platform.LastPresented.Pixels;
    EXPECT_EQ(std::count(shown.begin(), shown.end(), 0x123456u), 640 * 480);
}

TEST(Shell, EscapeReturnsToTheMainMenuFromEverywhereButMenuAndEndScreenStopsTheEngineAndHoldsOffAQuit) {
    Shell s;
    s.StartQuickly();
    s.Game.Tick();
    s.Platform.Press(keyEscape, true);
    const std::pair<uint8_t, uint8_t> escapes[] = {{gsMatchEnd, gsMatchEnd},
                                                   {gsMatch, gsMainMenu},
                                                   {gsWeaponSelect2, gsMainMenu},
                                                   {gsNewPilot1, gsMainMenu}};
    for (const auto& [from, to] : escapes) {
        s.Game.GameState = from;
        s.Game.Tick();
        EXPECT_EQ(s.Game.GameState, to) << "from state " << int(from);
    }
    // Leaving a match by Escape silences the engine.
    TWaveItem& thrust = s.Game.Sounds.Find("Thrust");
    thrust.Play(s.Game.Sounds.Mixer);
    ASSERT_TRUE(s.Game.Sounds.Mixer.Voices[thrust.Buffers.at(0)].Playing);
    s.Game.GameState = gsMatch;
    s.Game.Tick();
    EXPECT_FALSE(s.Game.Sounds.Mixer.Voices[thrust.Buffers.at(0)].Playing);

    // Quitting saves at the next tick, unless Escape is held.
    s.Game.Options.Lives = 9;
    s.Game.GameState = gsQuit;
    s.Game.Tick();
    EXPECT_EQ(s.Game.GameState, gsMainMenu);
    EXPECT_FALSE(s.Game.Closed);
    EXPECT_FALSE(fs::exists(s.Home.Path / "Options.DAT"));

    s.Platform.Press(keyEscape, false);
    s.Game.GameState = gsQuit;
    const int presents = s.Platform.Presents;
    s.Game.Tick();
    EXPECT_TRUE(s.Game.Closed);
    EXPECT_EQ(s.Platform.Presents, presents + 1) << "the quitting tick still flips";
    ASSERT_EQ(fs::file_size(s.Home.Path / "Options.DAT"), 512u);
    TOptions saved;
    LoadOptions(saved, TFiles(s.Home.Path, s.Home.Path));
    EXPECT_EQ(saved.Lives, 9);
}

TEST(Shell, ALookupErrorAbandonsTheTickAndIsReportedOnce) {
    Shell s;
    s.StartQuickly();
    s.Game.Images.Items.clear();
    const int presents = s.Platform.Presents;
    testing::internal::CaptureStderr();
    s.Game.Tick();
    s.Game.Tick();
    const std::string err = testing::internal::GetCapturedStderr();
    EXPECT_EQ(s.Game.GameState, gsStartup) << "the panel step never finished";
    EXPECT_EQ(s.Platform.Presents, presents) << "no flip after the error";
    EXPECT_EQ(err, "flarons: Image 'GreyFont' not found\n");
}

TEST(Shell, CommandLineSwitchesMatchInAnyCaseAndBadNumbersAreErrors) {
    const TCommandLine c = ParseCommandLine({"-VSync", "-FPS", "--Frames", "12", "--seed", "7", "whatever"});
    EXPECT_EQ(std::make_tuple(c.VSync, c.ShowFrameRate, c.Frames, c.HasSeed, c.Seed, c.Error),
              std::make_tuple(true, true, 12, true, 7u, std::string()));
    for (const auto& bad : {std::vector<std::string>{"--frames"}, {"--frames", "-3"}, {"--seed", "x1"}})
        EXPECT_FALSE(ParseCommandLine(bad).Error.empty()) << bad[0];
    EXPECT_EQ(ParseCommandLine({"--home", "/tmp/h"}).Home, "/tmp/h");
}

TEST(Shell, InstalledCopiesSaveInTheUsersDataFolderBuildFolderCopiesBesideTheProgram) {
    TTempDir t;
    const fs::path bin = t.Path / "usr/bin", data = t.Path / "usr/share/flarons",
                   build = t.Path / "build/game";
    fs::create_directories(bin);
    fs::create_directories(data);
    fs::create_directories(build);
    struct Case {
        fs::path Program;
        std::string HomeOption;
        const char* XdgDataHome;
        const char* UserHome;
        fs::path Game, Home;
    };
    const std::string xdg = (t.Path / "xdg").string(), user = (t.Path / "me").string();
    const Case cases[] = {
        {bin, "", xdg.c_str(), user.c_str(), data, t.Path / "xdg/flarons"},
        {bin, "", nullptr, user.c_str(), data, t.Path / "me/.local/share/flarons"},
        {bin, "", "relative/data", user.c_str(), data, t.Path / "me/.local/share/flarons"},
        {bin, (t.Path / "mine").string(), xdg.c_str(), user.c_str(), data, t.Path / "mine"},
        {build, "", xdg.c_str(), user.c_str(), build, build},
    };
    for (const Case& c : cases) {
        const TGameFolders f =
            FindGameFolders(c.Program, "../share/flarons", c.HomeOption, c.XdgDataHome, c.UserHome);
        EXPECT_EQ(f.Game, c.Game) << c.Program << " " << (c.XdgDataHome ? c.XdgDataHome : "-");
        EXPECT_EQ(f.Home, c.Home) << c.Program << " " << (c.XdgDataHome ? c.XdgDataHome : "-");
    }
}

} // namespace
