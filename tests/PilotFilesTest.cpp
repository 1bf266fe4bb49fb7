// PilotFilesTest: Pilot.DAT saving and loading, the pilot list pages and new pilots.
#include "frontend/PilotFiles.h"
#include "app/Files.h"
#include "app/OptionsFile.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

namespace fs = std::filesystem;

namespace {

class PilotFilesTest : public ::testing::Test {
  protected:
    fs::path Dir;
    TFiles Files;

    void SetUp() override {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        Dir = fs::temp_directory_path() / (std::string("flarons_pilots_") + info->name());
        fs::remove_all(Dir);
        fs::create_directories(Dir / "pilots");
        fs::create_directories(Dir / "graphics");
        Files = TFiles(Dir, Dir);
    }
    void TearDown() override { fs::remove_all(Dir); }

    void MakePilots(int count) {
        for (int i = 1; i <= count; ++i)
            fs::create_directory(Dir / "pilots" / PilotName(i));
    }
    static std::string PilotName(int i) {
        return std::string("Pilot") + (i < 10 ? "0" : "") + std::to_string(i);
    }

    std::vector<uint8_t> FileBytes(const fs::path& p) {
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

std::vector<uint8_t> RecordBytes(const TPilotRecord& r) {
    std::vector<uint8_t> b(PilotRecordSize);
    r.Write(b.data());
    return b;
}

} // namespace

TEST_F(PilotFilesTest, SaveAndLoadRoundTripByteForByte) {
    fs::create_directory(Dir / "pilots" / "ACE");
    const TPilotRecord saved = PatternRecord("ACE");
    ASSERT_TRUE(SavePilot(Files, saved));
    const fs::path file = Dir / "pilots" / "ACE" / "Pilot.DAT";
    ASSERT_EQ(fs::file_size(file), PilotRecordSize);
    EXPECT_EQ(FileBytes(file), RecordBytes(saved));
    // No temporary is left beside the saved file.
    int entries = 0;
    for ([[maybe_unused]] const auto& e : fs::directory_iterator(Dir / "pilots" / "ACE"))
        ++entries;
    EXPECT_EQ(entries, 1);

    TPilotRecord loaded;
    ASSERT_TRUE(LoadPilot(Files, loaded, "ace"));
    EXPECT_EQ(RecordBytes(loaded), RecordBytes(saved));

    // Saving again replaces the file whole.
    TPilotRecord changed = saved;
    changed.Points = 4242;
    ASSERT_TRUE(SavePilot(Files, changed));
    EXPECT_EQ(FileBytes(file), RecordBytes(changed));
}

TEST_F(PilotFilesTest, LoadingAMissingOrShortFileKeepsWhatItCannotRead) {
    TPilotRecord record = PatternRecord("KEEP");
    const std::vector<uint8_t> before = RecordBytes(record);
    EXPECT_FALSE(LoadPilot(Files, record, "Nobody"));
    EXPECT_EQ(RecordBytes(record), before);

    fs::create_directory(Dir / "pilots" / "Short");
    {
        std::ofstream out(Dir / "pilots" / "Short" / "Pilot.DAT", std::ios::binary);
        out << '\x05' << "SHORT";
    }
    ASSERT_TRUE(LoadPilot(Files, record, "Short"));
    EXPECT_EQ(record.Name.Str(), "SHORT");
    const std::vector<uint8_t> after = RecordBytes(record);
    EXPECT_TRUE(std::equal(after.begin() + 6, after.end(), before.begin() + 6));
}

TEST_F(PilotFilesTest, BadNamesAreNeverUsedAsFolders) {
    // A decoy one folder up that a pilot called ".." would reach.
    std::ofstream(Dir / "Pilot.DAT", std::ios::binary) << "decoy";
    for (const std::string& name :
         std::vector<std::string>{"", ".", "..", "a\\b", "../evil", "x/y", std::string("nul\0x", 5)}) {
        SCOPED_TRACE(name);
        EXPECT_FALSE(ValidPilotName(name));
        TPilotRecord r = PatternRecord(name);
        EXPECT_FALSE(SavePilot(Files, r));
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

TEST_F(PilotFilesTest, AFailedSaveLeavesTheOldFileWhole) {
    fs::create_directory(Dir / "pilots" / "ACE");
    const TPilotRecord first = PatternRecord("ACE");
    ASSERT_TRUE(SavePilot(Files, first));
    // The temporary file cannot be created, so the new record never reaches the disk.
    fs::create_directory(Dir / "pilots" / "ACE" / "Pilot.DAT.tmp");
    TPilotRecord second = first;
    second.Points = 1;
    EXPECT_FALSE(SavePilot(Files, second));
    EXPECT_EQ(FileBytes(Dir / "pilots" / "ACE" / "Pilot.DAT"), RecordBytes(first));
}

TEST_F(PilotFilesTest, SavingMakesAMissingPilotFolderInTheHomeFolder) {
    fs::remove_all(Dir / "pilots");
    ASSERT_TRUE(SavePilot(Files, PatternRecord("Ghost")));
    EXPECT_EQ(fs::file_size(Dir / "pilots" / "Ghost" / "Pilot.DAT"), PilotRecordSize);

    // A pilot that came with the game folder is saved into the home folder and read back from there.
    const fs::path home = Dir / "home";
    fs::create_directories(home);
    const TFiles split(Dir, home);
    TPilotRecord ghost;
    ASSERT_TRUE(LoadPilot(split, ghost, "GHOST"));
    ghost.Points = 77;
    ASSERT_TRUE(SavePilot(split, ghost));
    EXPECT_EQ(fs::file_size(home / "pilots" / "Ghost" / "Pilot.DAT"), PilotRecordSize);
    TPilotRecord again;
    ASSERT_TRUE(LoadPilot(split, again, "Ghost"));
    EXPECT_EQ(again.Points, 77u);
}

TEST_F(PilotFilesTest, APilotOfTheGameFolderCannotBeCreatedAgain) {
    fs::create_directory(Dir / "pilots" / "Veteran");
    const fs::path home = Dir / "home";
    fs::create_directories(home);
    const TFiles split(Dir, home);
    TOptions options;
    options.Players[0] = PatternRecord("Mine");
    EXPECT_FALSE(CreatePilot(split, options, 0, "veteran"));
    EXPECT_EQ(options.Players[0].Name.Str(), "Mine");
    EXPECT_FALSE(fs::exists(home / "Pilots"));
    // A new name is made in the home folder, its Pilots folder first.
    EXPECT_TRUE(CreatePilot(split, options, 0, "Rookie"));
    EXPECT_TRUE(fs::is_directory(home / "Pilots" / "Rookie"));
}

TEST_F(PilotFilesTest, TwelvePilotsFillTwoPagesWithArrows) {
    MakePilots(12);
    const std::vector<std::string> entries = PilotListEntries(Files, "PLAYER 2");
    ASSERT_EQ(entries.size(), 12u);

    const TPilotListPage first = PilotListPage(entries, 0);
    ASSERT_EQ(first.Rows.size(), 11u);
    EXPECT_EQ(first.Rows[0], "*New Pilot*");
    EXPECT_EQ(first.Rows[1], "Pilot01");
    EXPECT_EQ(first.Rows[10], "Pilot10");
    EXPECT_FALSE(first.UpArrow);
    EXPECT_TRUE(first.DownArrow);

    const TPilotListPage second = PilotListPage(entries, 1);
    ASSERT_EQ(second.Rows.size(), 11u);
    EXPECT_EQ(second.Rows.front(), "Pilot01");
    EXPECT_EQ(second.Rows.back(), "Pilot11");
    EXPECT_TRUE(second.UpArrow);
    EXPECT_TRUE(second.DownArrow);

    const TPilotListPage last = PilotListPage(entries, 2);
    EXPECT_EQ(last.Rows.back(), "Pilot12");
    EXPECT_TRUE(last.UpArrow);
    EXPECT_FALSE(last.DownArrow);
}

TEST_F(PilotFilesTest, SmallAndEmptyListsHaveNoDownArrow) {
    const TPilotListPage empty = PilotListPage(PilotListEntries(Files, ""), 0);
    ASSERT_EQ(empty.Rows.size(), 1u);
    EXPECT_TRUE(IsNewPilotRow(empty.Rows[0]));
    EXPECT_TRUE(IsNewPilotRow("*NEW PILOT*"));
    EXPECT_FALSE(IsNewPilotRow("New Pilot"));
    EXPECT_FALSE(empty.DownArrow);

    MakePilots(10);
    const TPilotListPage full = PilotListPage(PilotListEntries(Files, ""), 0);
    EXPECT_EQ(full.Rows.size(), 11u);
    EXPECT_FALSE(full.DownArrow) << "exactly one page";
    const TPilotListPage past = PilotListPage(PilotListEntries(Files, ""), 40);
    EXPECT_TRUE(past.Rows.empty());
    EXPECT_TRUE(past.UpArrow);
    EXPECT_FALSE(past.DownArrow);
}

TEST_F(PilotFilesTest, TheOtherSidesPilotIsNeverOffered) {
    for (const char* name : {"Bob", "ace", "Zed"})
        fs::create_directory(Dir / "pilots" / name);
    const std::vector<std::string> entries = PilotListEntries(Files, "ACE");
    EXPECT_EQ(entries, (std::vector<std::string>{"Bob", "Zed"}));
    const TPilotListPage page = PilotListPage(entries, 0);
    EXPECT_EQ(page.Rows, (std::vector<std::string>{"*New Pilot*", "Bob", "Zed"}));
    // Only the other side's pilot is hidden, not names that merely begin like it.
    fs::create_directory(Dir / "pilots" / "ACES");
    EXPECT_EQ(PilotListEntries(Files, "Ace").size(), 3u);
}

TEST_F(PilotFilesTest, EveryEntryIsListedWhenTheListingHasNoDotEntries) {
    // The path layer leaves out . and ..; the first two pilots must not be skipped in their place.
    MakePilots(3);
    const std::vector<std::string> entries = PilotListEntries(Files, "");
    EXPECT_EQ(entries, (std::vector<std::string>{"Pilot01", "Pilot02", "Pilot03"}));
}

TEST_F(PilotFilesTest, NameEntryKeepsFifteenLetters) {
    std::string name;
    int kept = 0;
    for (int i = 0; i < 16; ++i)
        kept += AppendPilotNameLetter(name, char('A' + i)) ? 1 : 0;
    EXPECT_EQ(kept, 15);
    EXPECT_EQ(name, "ABCDEFGHIJKLMNO");
    EXPECT_TRUE(RemovePilotNameLetter(name));
    EXPECT_EQ(name, "ABCDEFGHIJKLMN");
    std::string empty;
    EXPECT_FALSE(RemovePilotNameLetter(empty));
    EXPECT_TRUE(empty.empty());
}

TEST_F(PilotFilesTest, NewPilotOnSideTwoGetsPlayerOnesColoursAndNoHistory) {
    for (const char* f : {"zulu_ship.bmp", "Alpha_ship.bmp", "moon_flag.bmp", "sun_flag.bmp"})
        std::ofstream(Dir / "graphics" / f) << "x";
    TOptions options;
    TPilotRecord& old = options.Players[1];
    old = PatternRecord("OLD");
    old.ShipValid = 1;
    ASSERT_TRUE(CreatePilot(Files, options, 1, "NEWBIE"));
    EXPECT_TRUE(fs::is_directory(Dir / "pilots" / "NEWBIE"));
    const TPilotRecord& p = options.Players[1];
    EXPECT_EQ(p.Name.Str(), "NEWBIE");
    EXPECT_EQ(p.ShipFile.Str(), "graphics\\Alpha_ship.bmp");
    EXPECT_EQ(p.FlagFile.Str(), "graphics\\moon_flag.bmp");
    EXPECT_EQ(p.PantsColour, 0x22DD00u);
    EXPECT_EQ(p.HelmetColour, 0x00AA11u);
    EXPECT_EQ(p.ShirtColour, 0x11BB11u);
    EXPECT_EQ(p.Weapons, DefaultWeapons);
    EXPECT_EQ(p.ShipValid, 1);
    for (uint32_t c : {p.BattlesFought, p.BattlesWon, p.BattlesDrawn, p.SuccessiveWins, p.ShotsHitEnemy,
                       p.ShotsHitSelf, p.ShotsFired, p.Points, p.Experience, p.FlagsCaptured, p.FlagAttempts,
                       p.PlayingTime, p.LongestBattle, p.OnFootTime})
        EXPECT_EQ(c, 0u);
    for (uint8_t m : p.Medals)
        EXPECT_EQ(m, 0);
    // The file itself appears only with the next save.
    EXPECT_FALSE(fs::exists(Dir / "pilots" / "NEWBIE" / "Pilot.DAT"));
    ASSERT_TRUE(SavePilot(Files, p));
    EXPECT_EQ(fs::file_size(Dir / "pilots" / "NEWBIE" / "Pilot.DAT"), PilotRecordSize);
}

TEST_F(PilotFilesTest, CreatingAnExistingPilotChangesNothing) {
    fs::create_directory(Dir / "pilots" / "Ace");
    TPilotRecord existing = PatternRecord("Ace");
    existing.Points = 99;
    ASSERT_TRUE(SavePilot(Files, existing));
    TOptions options;
    options.Players[0] = PatternRecord("Mine");
    const std::vector<uint8_t> before = RecordBytes(options.Players[0]);
    EXPECT_FALSE(CreatePilot(Files, options, 0, "ACE"));
    EXPECT_EQ(RecordBytes(options.Players[0]), before);
    TPilotRecord onDisk;
    ASSERT_TRUE(LoadPilot(Files, onDisk, "Ace"));
    EXPECT_EQ(onDisk.Points, 99u);
    EXPECT_FALSE(CreatePilot(Files, options, 2, "Other"));
    EXPECT_FALSE(fs::exists(Dir / "pilots" / "Other"));
}
