// PilotFilesTest: Pilot.DAT saving and loading, the pilot list pages and new pilots.
#include "frontend/PilotFiles.h"
#include "TestSupport.h"
#include "core/Files.h"
#include "core/OptionsFile.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

namespace fs = std::filesystem;

namespace {

class PilotFilesTest : public ::testing::Test {
  protected:
    TTempDir Temp;
    fs::path Dir = Temp.Path;
    TFiles Files{Dir, Dir};

    void SetUp() override {
        fs::create_directories(Dir / "pilots");
        fs::create_directories(Dir / "graphics");
    }

    // Folders Pilot01..PilotNN; those already there are left alone.
    void MakePilots(int count) {
        for (int i = 1; i <= count; ++i)
            fs::create_directory(Dir / "pilots" / ((i < 10 ? "Pilot0" : "Pilot") + std::to_string(i)));
    }
    static std::vector<uint8_t> FileBytes(const fs::path& p) {
        std::ifstream in(p, std::ios::binary);
        return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
};

// A record whose every byte differs from its neighbours, padding included.
TPilotRecord PatternRecord(const std::string& name) {
    std::vector<uint8_t> bytes(PilotRecordSize);
    for (size_t i = 0; i < bytes.size(); ++i)
        bytes[i] = uint8_t(i * 7 + 3);
    TPilotRecord r;
    r.Read(bytes.data());
    r.Name.Set(name);
    return r;
}

// A page as "rows first..last", then its arrows.
std::string Shape(const TPilotListPage& page) {
    std::string s = std::to_string(page.Rows.size());
    if (!page.Rows.empty()) s += " " + page.Rows.front() + ".." + page.Rows.back();
    return s + (page.UpArrow ? " up" : "") + (page.DownArrow ? " down" : "");
}

std::vector<uint8_t> RecordBytes(const TPilotRecord& r) {
    std::vector<uint8_t> b(PilotRecordSize);
    r.Write(b.data());
    return b;
}

} // namespace

TEST_F(PilotFilesTest, SavesRoundTripAFailedOneLeavesTheOldFileWholeAndShortLoadsKeepTheRest) {
    fs::create_directory(Dir / "pilots" / "ACE");
    const TPilotRecord saved = PatternRecord("ACE");
    ASSERT_TRUE(SavePilot(Files, saved));
    const fs::path file = Dir / "pilots" / "ACE" / "Pilot.DAT";
    ASSERT_EQ(fs::file_size(file), PilotRecordSize);
    EXPECT_EQ(FileBytes(file), RecordBytes(saved));
    const auto entries = std::distance(fs::directory_iterator(file.parent_path()), fs::directory_iterator());
    EXPECT_EQ(entries, 1) << "no temporary is left beside the saved file";

    TPilotRecord loaded;
    ASSERT_TRUE(LoadPilot(Files, loaded, "ace"));
    EXPECT_EQ(RecordBytes(loaded), RecordBytes(saved));

    TPilotRecord changed = saved;
    changed.Points = 4242;
    ASSERT_TRUE(SavePilot(Files, changed));

    // The temporary file cannot be created, so the next record never reaches the disk.
    fs::create_directory(Dir / "pilots" / "ACE" / "Pilot.DAT.tmp");
    TPilotRecord failed = changed;
    failed.Points = 1;
    EXPECT_FALSE(SavePilot(Files, failed));
    EXPECT_EQ(FileBytes(file), RecordBytes(changed));

    // Loading a missing or short file keeps what it cannot read.
    TPilotRecord record = PatternRecord("KEEP");
    const std::vector<uint8_t> before = RecordBytes(record);
    EXPECT_FALSE(LoadPilot(Files, record, "Nobody"));
    EXPECT_EQ(RecordBytes(record), before);

    fs::create_directory(Dir / "pilots" / "Short");
    std::ofstream(Dir / "pilots" / "Short" / "Pilot.DAT", std::ios::binary) << '\x05' << "SHORT";
    ASSERT_TRUE(LoadPilot(Files, record, "Short"));
    EXPECT_EQ(record.Name.Str(), "SHORT");
    const std::vector<uint8_t> after = RecordBytes(record);
    EXPECT_TRUE(std::equal(after.begin() + 6, after.end(), before.begin() + 6));
}

TEST_F(PilotFilesTest, BadNamesAreNeverUsedAsFolders) {
    // A decoy one folder up that a pilot called ".." would reach.
    std::ofstream(Dir / "Pilot.DAT", std::ios::binary) << "decoy";
    for (const std::string& name : std::vector<std::string>{"", ".", "..", "a\\b", "../evil", "x/y",
                                                            "*CPU Hard*", std::string("nul\0x", 5)}) {
        SCOPED_TRACE(name);
        EXPECT_FALSE(ValidPilotName(name));
        EXPECT_FALSE(SavePilot(Files, PatternRecord(name)));
        TOptions options;
        options.Players[0] = PatternRecord("Before");
        EXPECT_FALSE(CreatePilot(Files, options, 0, name));
        EXPECT_EQ(options.Players[0].Name.Str(), "Before");
        TPilotRecord loaded = PatternRecord("Untouched");
        EXPECT_FALSE(LoadPilot(Files, loaded, name));
        EXPECT_EQ(loaded.Name.Str(), "Untouched");
    }
    // Nothing was written anywhere: not beside the pilots, not above them.
    EXPECT_EQ(FileBytes(Dir / "Pilot.DAT"), (std::vector<uint8_t>{'d', 'e', 'c', 'o', 'y'}));
    EXPECT_FALSE(fs::exists(Dir / "pilots" / "Pilot.DAT"));
    EXPECT_FALSE(fs::exists(Dir / "evil"));
    EXPECT_TRUE(fs::is_empty(Dir / "pilots"));
    EXPECT_TRUE(ValidPilotName("ACE"));
    EXPECT_TRUE(ValidPilotName("..ACE.."));
}

// A taken name in the home folder is refused by the name entry (PilotScreensTest).
TEST_F(PilotFilesTest, NewPilotsAndSavedGameFolderPilotsGoToTheHomeFolderAndANameThereIsTaken) {
    fs::create_directory(Dir / "pilots" / "Ace");
    TOptions options;
    options.Players[0] = PatternRecord("Mine");
    const std::vector<uint8_t> before = RecordBytes(options.Players[0]);
    EXPECT_FALSE(CreatePilot(Files, options, 2, "Other"));
    EXPECT_FALSE(fs::exists(Dir / "pilots" / "Other"));
    fs::create_directories(Dir / "home");
    const TFiles split(Dir, Dir / "home");
    EXPECT_FALSE(CreatePilot(split, options, 0, "ace"));
    EXPECT_EQ(RecordBytes(options.Players[0]), before);
    EXPECT_FALSE(fs::exists(Dir / "home" / "Pilots"));
    EXPECT_TRUE(CreatePilot(split, options, 0, "Rookie"));
    EXPECT_TRUE(fs::is_directory(Dir / "home" / "Pilots" / "Rookie"));

    // Saving makes a missing pilot folder; a pilot that came with the game folder is saved into the
    // home folder and read back from there.
    fs::remove_all(Dir / "pilots");
    ASSERT_TRUE(SavePilot(Files, PatternRecord("Ghost")));
    EXPECT_EQ(fs::file_size(Dir / "pilots" / "Ghost" / "Pilot.DAT"), PilotRecordSize);
    TPilotRecord ghost;
    ASSERT_TRUE(LoadPilot(split, ghost, "GHOST"));
    ghost.Points = 77;
    ASSERT_TRUE(SavePilot(split, ghost));
    EXPECT_EQ(fs::file_size(Dir / "home" / "Pilots" / "Ghost" / "Pilot.DAT"), PilotRecordSize);
    TPilotRecord again;
    ASSERT_TRUE(LoadPilot(split, again, "Ghost"));
    EXPECT_EQ(again.Points, 77u);
}

TEST_F(PilotFilesTest, ListPagesOfferTheNewPilotRowAndArrowsAsThePilotsGrow) {
    EXPECT_EQ(Shape(PilotListPage(PilotListEntries(Files, ""), 0)), "4 *New Pilot*..*CPU Hard*");

    MakePilots(7);
    EXPECT_EQ(Shape(PilotListPage(PilotListEntries(Files, ""), 0)), "11 *New Pilot*..Pilot07")
        << "exactly one page";
    EXPECT_EQ(Shape(PilotListPage(PilotListEntries(Files, ""), 40)), "0 up");

    MakePilots(12);
    const std::vector<std::string> entries = PilotListEntries(Files, "PLAYER 2");
    ASSERT_EQ(entries.size(), 12u);
    EXPECT_EQ(Shape(PilotListPage(entries, 0)), "11 *New Pilot*..Pilot07 down");
    EXPECT_EQ(Shape(PilotListPage(entries, 4)), "11 Pilot01..Pilot11 up down");
    EXPECT_EQ(Shape(PilotListPage(entries, 5)), "11 Pilot02..Pilot12 up");
}

TEST_F(PilotFilesTest, NewPilotOnSideTwoGetsPlayerOnesColoursAndNoHistory) {
    for (const char* f : {"zulu_ship.bmp", "Alpha_ship.bmp", "moon_flag.bmp", "sun_flag.bmp"})
        std::ofstream(Dir / "graphics" / f) << "x";
    TOptions options;
    options.Players[1] = PatternRecord("OLD");
    options.Players[1].ShipValid = 1;
    ASSERT_TRUE(CreatePilot(Files, options, 1, "NEWBIE"));
    const TPilotRecord& p = options.Players[1];
    EXPECT_EQ(p.Name.Str(), "NEWBIE");
    EXPECT_EQ(p.ShipFile.Str(), "graphics\\Alpha_ship.bmp");
    EXPECT_EQ(p.FlagFile.Str(), "graphics\\moon_flag.bmp");
    EXPECT_EQ(p.HelmetColour, 0x00AA11u);
    EXPECT_EQ(p.Weapons, DefaultWeapons);
    for (uint32_t c : {p.BattlesFought, p.BattlesWon, p.BattlesDrawn, p.SuccessiveWins, p.ShotsHitEnemy,
                       p.ShotsHitSelf, p.ShotsFired, p.Points, p.Experience, p.FlagsCaptured, p.FlagAttempts,
                       p.PlayingTime, p.LongestBattle, p.OnFootTime})
        EXPECT_EQ(c, 0u);
    EXPECT_EQ(p.Medals, decltype(p.Medals){});
    EXPECT_FALSE(fs::exists(Dir / "pilots" / "NEWBIE" / "Pilot.DAT")) << "the file comes with the next save";
}
