// FilesTest: the Windows-path layer on a case-sensitive file system.
#include "core/Files.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

namespace fs = std::filesystem;

namespace {

TEST(Files, ComponentsMatchWhateverTheirCaseButAnExactNameWins) {
    TTempDir game;
    game.Write("Graphics/Menu/Init.BMP", "x");
    game.Write("maps/a.map", "lower");
    game.Write("maps/A.map", "upper");
    TFiles files(game.Path, game.Path);
    EXPECT_EQ(files.ForReading("graphics\\menu\\init.bmp"), game.Path / "Graphics/Menu/Init.BMP");
    EXPECT_EQ(files.ForReading("GRAPHICS/MENU/INIT.BMP"), game.Path / "Graphics/Menu/Init.BMP");
    EXPECT_TRUE(files.ForReading("graphics\\menu\\missing.bmp").empty());
    EXPECT_TRUE(files.ForReading("").empty());
    EXPECT_TRUE(files.ForReading("graphics\\..\\graphics\\menu\\init.bmp").empty())
        << "no walking out of a folder";
    EXPECT_EQ(files.ForReading("maps\\A.map").filename(), "A.map");
    EXPECT_EQ(files.ForReading("maps\\a.map").filename(), "a.map");
}

TEST(Files, HomeIsReadBeforeTheGameFolderWrittenAloneAndSearchedWithItInCaseInsensitiveOrderWithoutDots) {
    TTempDir game, home;
    game.Write("Options.DAT", "game");
    game.Write("maps/x.map", "x");
    game.Write("maps/b.map", "");
    game.Write("maps/C.MAP", "");
    game.Write("maps/readme.txt", "");
    home.Write("options.dat", "home");
    home.Write("Maps/a.Map", "");
    home.Write("Maps/B.map", "");
    TFiles files(game.Path, home.Path);
    EXPECT_EQ(files.ForReading("Options.DAT"), home.Path / "options.dat");
    EXPECT_EQ(files.ForReading("maps\\x.map"), game.Path / "maps/x.map");
    EXPECT_EQ(files.ForWriting("OPTIONS.DAT"), home.Path / "options.dat") << "an existing file is reused";
    EXPECT_EQ(files.ForWriting("pilots\\NEW\\Pilot.DAT"), home.Path / "pilots/NEW/Pilot.DAT");
    EXPECT_EQ(files.FindFiles("maps\\*.map"), (std::vector<std::string>{"a.Map", "B.map", "C.MAP", "x.map"}));
    EXPECT_TRUE(files.FindFiles("nothing\\*.map").empty());

    fs::create_directories(home.Path / "pilots/zed");
    fs::create_directories(home.Path / "pilots/Anna");
    home.Write("pilots/notes", "");
    EXPECT_EQ(files.FindFiles("pilots\\*.*"), (std::vector<std::string>{"Anna", "notes", "zed"}));
}

TEST(Files, WildcardsIgnoreCaseMatchWholeNamesAndStarDotStarMatchesEveryName) {
    EXPECT_TRUE(TFiles::WildcardMatch("*_ship.bmp", "Red_Ship.BMP"));
    EXPECT_FALSE(TFiles::WildcardMatch("*_ship.bmp", "red_ship.bmp.bak"));
    EXPECT_TRUE(TFiles::WildcardMatch("*.*", "folder"));
    EXPECT_TRUE(TFiles::WildcardMatch("a?c", "ABC"));
    EXPECT_FALSE(TFiles::WildcardMatch("a?c", "ac"));
    EXPECT_TRUE(TFiles::WildcardMatch("*a*b*", "xxaYYbZZ"));
}

TEST(Files, FoldersAreCreatedOnceWhateverTheCase) {
    TTempDir home;
    TFiles files(home.Path, home.Path);
    EXPECT_TRUE(files.CreateFolder("Pilots"));
    EXPECT_FALSE(files.CreateFolder("pilots")) << "Pilots and pilots are the same folder";
    EXPECT_FALSE(files.CreateFolder("Pilots\\.")) << "nor is one made where a folder is";
    EXPECT_TRUE(files.CreateFolder("pilots\\PLAYER 1"));
    EXPECT_TRUE(fs::is_directory(home.Path / "Pilots/PLAYER 1"));
    EXPECT_FALSE(files.CreateFolder("missing\\deeper")) << "one folder at a time";
    EXPECT_FALSE(files.CreateFolder(""));
}

TEST(Files, AtomicWritesReplaceWholeOrLeaveTheOldFile) {
    TTempDir home;
    TFiles files(home.Path, home.Path);
    ASSERT_TRUE(files.WriteFileAtomic("Options.DAT", {1, 2, 3}));
    EXPECT_EQ(files.Read("options.dat", 3).Bytes, (std::vector<uint8_t>{1, 2, 3}));

    // A temporary file that cannot be made (a folder stands in its place) fails the save.
    fs::create_directories(home.Path / "Options.DAT.tmp");
    EXPECT_FALSE(files.WriteFileAtomic("Options.DAT", {9, 9, 9, 9}));
    EXPECT_EQ(files.Read("Options.DAT", 3).Bytes, (std::vector<uint8_t>{1, 2, 3}));
    EXPECT_FALSE(files.WriteFileAtomic("nofolder\\x.dat", {1})) << "a missing folder is not created";
}

} // namespace
