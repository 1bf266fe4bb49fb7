// ReplayTest: a played match is recorded, verifies, and is watched exactly as it was seen; damaged
// or altered replays are refused with one line.
#include "TestSupport.h"

#include "app/Game.h"
#include "app/MatchReplay.h"
#include "app/ReplayFiles.h"
#include "core/GameMath.h"
#include "world/World.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <stdexcept>
#include <utility>

#include <unistd.h>

namespace fs = std::filesystem;

namespace {

constexpr int Ticks = 330;
constexpr int ShotTicks[] = {25, 180, 329};

// A platform that keeps the screen after the chosen ticks.
struct TShotPlatform : TTestPlatform {
    std::vector<Surface> Shots;
    void AfterTick(uint64_t tick, const Surface& display) override {
        for (const int t : ShotTicks)
            if (uint64_t(t) == tick) Shots.push_back(display);
    }
};

std::unique_ptr<TGame> NewGame(TPlatform& platform, const fs::path& home) {
    return std::make_unique<TGame>(platform, TFiles(FLARONS_GAME_DIR, home), TCommandLine{});
}

// The bytes of the n-th shared ship picture.
std::vector<uint8_t> SharedShip(const TFiles& files, size_t n) {
    return files.Read("graphics\\" + files.FindFiles("graphics\\*_ship.bmp").at(n), PictureFileLimit).Bytes;
}

// A match on the small map, played through the match frame as the loop would run it: both players
// change weapons on their pages at their bases, lift off, turn and fire; the measured frame rate
// changes half-way and the frame counter comes round. Left with Escape at the end. Player 1 flies
// a private ship from the pilot's own folder.
struct TPlayedMatch {
    TTempDir Home;
    TTestPlatform Platform;
    std::unique_ptr<TGame> Game = NewGame(Platform, Home.Path);
    std::vector<Surface> Shots;
    TReplay Replay;
    std::string LoadError;

    TPlayedMatch() {
        Game->MatchSeed = 4242;
        Game->Options = DefaultOptions(Game->Files);
        Game->Options.MapFile.Set("maps\\Duel.map");
        Home.Write("pilots/ACE/ace_ship.bmp", SharedShip(Game->Files, 1));
        Game->Options.Players[0].ShipFile.Set("pilots\\ACE\\ace_ship.bmp");
        Game->PrepareStartupAssets();
        Game->StatusBar.Load(Game->Files);
        Game->MatchFrameCounter = 200;
        EXPECT_TRUE(Game->StartMatch());
        for (int f = 0; f < Ticks; ++f) {
            TRawInput raw;
            const bool atBase = f < 40;
            raw.Keys[keyTab] = atBase ? f < 30 : f % 3 != 0;
            raw.Keys[keyReturn] = atBase ? f < 34 : f % 2 == 0;
            raw.Keys[keyA] = (f >= 10 && f < 13) || (!atBase && f % 40 < 9);
            raw.Keys[keyD] = (f >= 20 && f < 22) || (!atBase && f % 40 >= 25 && f % 40 < 31);
            raw.Keys[keyLeft] = (f >= 15 && f < 18) || (!atBase && f % 30 >= 17 && f % 30 < 22);
            raw.Keys[keyRight] = !atBase && f % 30 < 6;
            raw.Keys[keyW] = !atBase && f % 7 < 4;
            raw.Keys[keyUp] = !atBase && f % 5 < 3;
            raw.Keys[keyS] = !atBase && f % 4 == 1;
            raw.Keys[keyDown] = !atBase && f % 5 == 3;
            Game->FrameTimer.MeasuredFrameRate = f < 150 ? 100 : 60;
            Game->Input.Take(raw, Game->Bindings);
            Game->MatchFrame();
            for (const int t : ShotTicks)
                if (t == f) Shots.push_back(Game->BackSurface);
        }
        Game->GameState = gsMatch;
        Game->HandleEscape();
        const fs::path folder = Home.Path / "replays";
        for (const auto& entry : fs::directory_iterator(folder))
            EXPECT_TRUE(LoadReplayFile(entry.path(), Replay, LoadError)) << LoadError;
    }
};

// Makes a file pass the checksum.
void Reseal(std::vector<uint8_t>& bytes) {
    const uint64_t v = ReplayChecksum(bytes.data(), bytes.size() - 8);
    for (size_t i = 0; i < 8; ++i)
        bytes[bytes.size() - 8 + i] = uint8_t(v >> (8 * i));
}

TEST(Replay, ARecordedMatchVerifiesIsWatchedAsItWasPlayedAndDamagedCopiesAreRefused) {
    TPlayedMatch played;
    ASSERT_EQ(played.Replay.Ticks.size(), size_t(Ticks));
    EXPECT_EQ(played.Replay.Result.How, ReplayAbandoned);
    EXPECT_GT(played.Game->World->Match.Players[0].ShotsFired +
                  played.Game->World->Match.Players[1].ShotsFired,
              20u);

    // Played on another machine with the same map, whose pilot ACE has another ship under that name:
    // the ship the replay carries is flown, and the player's own file stays as it was.
    TTempDir other;
    other.Write("pilots/ACE/ace_ship.bmp", SharedShip(played.Game->Files, 0));
    TTestPlatform quiet;
    std::string message;
    EXPECT_TRUE(VerifyReplay(*NewGame(quiet, other.Path), played.Replay, message)) << message;

    TShotPlatform watching;
    EXPECT_EQ(WatchReplay(*NewGame(watching, other.Path), watching, played.Replay, Ticks, message), Ticks)
        << message;
    EXPECT_EQ(ReadFileBounded(other.Path / "pilots/ACE/ace_ship.bmp", PictureFileLimit).Bytes,
              SharedShip(played.Game->Files, 0));
    std::error_code ec; // the folder the pictures were put in is gone
    EXPECT_EQ(std::distance(fs::directory_iterator(other.Path / "replays", ec), fs::directory_iterator()), 0);
    ASSERT_EQ(watching.Shots.size(), played.Shots.size());
    for (size_t i = 0; i < played.Shots.size(); ++i)
        EXPECT_TRUE(watching.Shots[i].Pixels == played.Shots[i].Pixels) << "tick " << ShotTicks[i];

    // One tick of thrust more is found at the next stored hash.
    TReplay altered = played.Replay;
    altered.Ticks[120].Actions[0] ^= (1u << actThrust);
    EXPECT_FALSE(VerifyReplay(*NewGame(quiet, played.Home.Path), altered, message));
    EXPECT_NE(message.find("at tick 200 (it agreed at tick 100)"), std::string::npos) << message;

    // Damaged or foreign files are refused with one line.
    const std::vector<uint8_t> whole = WriteReplay(played.Replay);
    TReplay read;
    std::string error;
    ASSERT_TRUE(ReadReplay(whole, read, error)) << error;
    EXPECT_EQ(WriteReplay(read), whole);

    const auto refused = [&](const std::vector<uint8_t>& bytes, const std::string& why,
                             const std::string& what) {
        std::string e;
        TReplay r;
        EXPECT_FALSE(ReadReplay(bytes, r, e)) << what;
        EXPECT_NE(e.find(why), std::string::npos) << what << ": " << e;
        EXPECT_EQ(e.find('\n'), std::string::npos) << what;
    };
    for (size_t n = 0; n < whole.size(); n += 7)
        refused(std::vector<uint8_t>(whole.begin(), whole.begin() + std::ptrdiff_t(n)), "",
                "cut at " + std::to_string(n));
    for (size_t i = 0; i < whole.size(); i += 5) {
        std::vector<uint8_t> flipped = whole;
        flipped[i] ^= uint8_t(1u << (i % 8));
        refused(flipped, "", "flipped byte " + std::to_string(i));
    }
    std::vector<uint8_t> later = whole;
    later[8] = 3;
    refused(later, "replay format 3 is not one this game reads", "version");
    // Files made to pass the checksum: a tick count beyond any match, and runs that overrun it.
    ASSERT_EQ(read.Start.Pictures.size(), 1u);
    const size_t picture = 8 + 2 + 1 + std::strlen(ReplayGameVersion) + 4 + OptionsRecordSize + 8 + 3 + 40;
    const size_t tickCount =
        picture + 1 + 1 + read.Start.Pictures[0].Path.size() + 4 + read.Start.Pictures[0].Bytes.size();
    struct TForged {
        size_t At;
        uint8_t Byte;
        const char* Why;
    };
    for (const TForged& f :
         {TForged{picture + 2, 'x', "a picture no pilot uses"},
          TForged{tickCount + 3, 0xFF, "too many ticks"}, TForged{tickCount + 8 + 3, 0x7F, "runs"},
          TForged{tickCount + 4 + 3, 0x40, "runs do not fit"}}) {
        std::vector<uint8_t> forged = whole;
        forged[f.At] = f.Byte;
        Reseal(forged);
        refused(forged, f.Why, f.Why);
    }
    // Cut after the count of state hashes and sealed again: the count promises more than is left.
    std::vector<uint8_t> cut(whole.begin(), whole.end() - std::ptrdiff_t(8 + 25 + 8 * read.Hashes.size()));
    cut.resize(cut.size() + 8);
    Reseal(cut);
    refused(cut, "state hashes do not match", "hashes cut off");

    // The same map name with other contents: refused before anything is run.
    std::vector<uint8_t> map = played.Game->Files.Read("maps\\Duel.map", TextFileLimit).Bytes;
    ASSERT_FALSE(map.empty());
    map.push_back(' ');
    played.Home.Write("maps/Duel.map", map);
    EXPECT_FALSE(VerifyReplay(*NewGame(quiet, played.Home.Path), played.Replay, error));
    EXPECT_NE(error.find("not those the match was played with"), std::string::npos) << error;
}

// A fault in a tick (here the input device) leaves the match for the menu; the recording keeps the
// ticks played whole before it, and verifies up to there.
struct TFaultyPlatform : TTestPlatform {
    bool Broken = false;
    TRawInput ReadInput() override { return Broken ? throw std::runtime_error("input lost") : Held; }
};

TEST(Replay, AMatchStoppedByAFaultKeepsItsReplay) {
    TTempDir home;
    TFaultyPlatform platform;
    const std::unique_ptr<TGame> game = NewGame(platform, home.Path);
    game->MatchSeed = 7;
    game->Options = DefaultOptions(game->Files);
    game->PrepareStartupAssets();
    game->StatusBar.Load(game->Files);
    ASSERT_TRUE(game->StartMatch());
    platform.Held.Keys[keyUp] = true;
    for (int t = 0; t < 150; ++t)
        game->Tick();
    platform.Broken = true;
    game->Tick();
    EXPECT_EQ(game->GameState, gsMainMenu);
    TReplay replay;
    std::string message;
    for (const auto& entry : fs::directory_iterator(home.Path / "replays"))
        EXPECT_TRUE(LoadReplayFile(entry.path(), replay, message)) << message;
    EXPECT_EQ(replay.Result.How, ReplayFaulted);
    EXPECT_EQ(replay.Ticks.size(), 150u);
    TTestPlatform quiet;
    EXPECT_TRUE(VerifyReplay(*NewGame(quiet, home.Path), replay, message)) << message;
}

// Picture folders of games that crashed go as a game starts; those of running games, names that are
// not a process's and the replays stay.
TEST(Replay, PicturesLeftByAGameThatNoLongerRunsAreRemoved) {
    TTempDir home;
    const std::string self = std::to_string(getpid()), parent = std::to_string(getppid());
    const std::pair<std::string, bool> folders[] = {
        {".pictures-" + self, true},      {".pictures-" + parent, true}, {".pictures-999999999", false},
        {".pictures-99999999999", false}, {".pictures-12x", true},       {"match-1.rpl", true}};
    for (const auto& [name, kept] : folders)
        home.Write("replays/" + name + "/pilots/ACE/ace_ship.bmp", "BM");
    RemoveLeftoverPictures(home.Path);
    for (const auto& [name, kept] : folders)
        EXPECT_EQ(fs::exists(home.Path / "replays" / name), kept) << name;
}

// The newest automatic replays are kept (two here), and one kept under a name of its own always.
TEST(Replay, PruningKeepsTheNewestAutomaticReplaysAndEveryNamedOne) {
    TTempDir home;
    const std::pair<std::string, bool> files[] = {
        {"match-1.rpl", false}, {"match-2.rpl", true}, {"match-3.rpl", true}, {"KEEP.rpl", true}};
    for (const auto& [name, kept] : files)
        home.Write("replays/" + name, "x");
    PruneReplays(TFiles(home.Path, home.Path), 2);
    for (const auto& [name, kept] : files)
        EXPECT_EQ(fs::exists(home.Path / "replays" / name), kept) << name;
}

// Matches saved within one second get numbered names, which still sort in the order they were played.
TEST(Replay, NamesOfMatchesSavedTogetherSortInTheirOrder) {
    TTempDir home;
    std::string last;
    for (int i = 0; i < 3; ++i) {
        const std::string name = NewReplayName(TFiles(home.Path, home.Path));
        EXPECT_GT(name, last);
        home.Write("replays/" + name.substr(name.find('\\') + 1), "x");
        last = name;
    }
}

} // namespace
