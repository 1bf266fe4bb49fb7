// DamagedFilesTest: every loader meets a folder, a FIFO and a link to /dev/zero where its file should be.
#include "WorldTestKit.h"

#include "core/OptionsFile.h"
#include "frontend/PilotFiles.h"
#include "media/headless/InputScript.h"
#include "world/ShipPicture.h"
#include "world/World.h"

#include <gtest/gtest.h>

#include <functional>
#include <sys/stat.h>

namespace {

namespace fs = std::filesystem;

enum class Stand { Folder, Fifo, DevZero };

// Puts something that is no file where the game path points, in place of what stood there.
void PlaceAt(const fs::path& where, Stand stand) {
    fs::remove_all(where);
    fs::create_directories(where.parent_path());
    switch (stand) {
    case Stand::Folder:
        fs::create_directories(where / "inside");
        break;
    case Stand::Fifo:
        ASSERT_EQ(::mkfifo(where.c_str(), 0600), 0);
        break;
    case Stand::DevZero:
        fs::create_symlink("/dev/zero", where);
        break;
    }
}

struct TLoaderCase {
    const char* File; // the game path replaced
    // Runs the loader on the damaged folder; it must neither throw, hang nor exhaust memory.
    std::function<void(TWorldFolder&, const TPictureItem&)> Check;
};

void NoWorld(TWorldFolder& f, const TPictureItem& font, const std::string& mentioned) {
    std::string error;
    EXPECT_EQ(TWorld::TryCreate(f.Files, font, TestOptions("maps\\t.map"), error), nullptr);
    EXPECT_NE(error.find(mentioned), std::string::npos) << error;
}

TEST(DamagedFiles, NoLoaderThrowsWaitsOrReadsForeverOnAFolderAFifoOrADevice) {
    const TLoaderCase cases[] = {
        {"Options.DAT",
         [](TWorldFolder& f, const TPictureItem&) {
             TOptions o;
             EXPECT_FALSE(LoadOptions(o, f.Files));
             EXPECT_EQ(o.Bytes(), DefaultOptions(f.Files).Bytes());
         }},
        {"pilots\\ACE\\Pilot.DAT",
         [](TWorldFolder& f, const TPictureItem&) {
             TPilotRecord r = DefaultPilot(0, "a", "b");
             EXPECT_FALSE(LoadPilot(f.Files, r, "ACE"));
             EXPECT_EQ(r.ShipFile.Str(), "a") << "the record is untouched";
         }},
        {"maps\\t.map", [](TWorldFolder& f, const TPictureItem& font) { NoWorld(f, font, "t.map"); }},
        {"maps\\mid.bmp", [](TWorldFolder& f, const TPictureItem& font) { NoWorld(f, font, "mid.bmp"); }},
        {"graphics\\test_ship.bmp",
         [](TWorldFolder& f, const TPictureItem& font) {
             EXPECT_FALSE(CheckShipPicture(f.Files, "graphics\\test_ship.bmp"));
             NoWorld(f, font, "test_ship");
         }},
        {"graphics\\test_flag.bmp",
         [](TWorldFolder& f, const TPictureItem& font) { NoWorld(f, font, "test_flag"); }},
        {"script.txt",
         [](TWorldFolder& f, const TPictureItem&) {
             EXPECT_THROW(TInputScript::Load((f.Root / "script.txt").string()), TScriptError);
         }},
    };
    const TPictureItem font = TestFont();
    for (const TLoaderCase& c : cases)
        for (Stand stand : {Stand::Folder, Stand::Fifo, Stand::DevZero}) {
            SCOPED_TRACE(std::string(c.File) + " as " + std::to_string(int(stand)));
            TWorldFolder folder;
            folder.WriteStandardPictures();
            folder.WritePicture("maps\\mid.bmp", Filled(640, 430, 0));
            folder.WriteText("maps\\t.map", "MIDDLE=mid.bmp\n");
            PlaceAt(folder.Files.ForWriting(c.File), stand);
            c.Check(folder, font);
        }
}

} // namespace
