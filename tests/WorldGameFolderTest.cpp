// WorldGameFolderTest: every map of the generated game folder builds a world with open spawn points.
#include "core/Files.h"
#include "core/GameMath.h"
#include "core/OptionsFile.h"
#include "media/ImageList.h"
#include "world/World.h"

#include <gtest/gtest.h>

namespace {

TEST(WorldGameFolder, EveryShippedMapBuildsAWorldWithTheShipsInTheOpen) {
    const TFiles files(FLARONS_GAME_DIR,
                       std::filesystem::temp_directory_path() / "flarons_world_gamefolder_home");
    const std::vector<std::string> maps = files.FindFiles("maps\\*.map");
    ASSERT_GE(maps.size(), 3u);
    TPictureItem font;
    font.Picture.SetSize(8 * 45, 8);
    font.PatternWidth = font.PatternHeight = 8;
    for (const std::string& name : maps) {
        TOptions o = DefaultOptions(files);
        o.MapFile.Set("maps\\" + name);
        std::string error;
        // How long a world takes to build is the benchmark's business (bench/, BuildWorld).
        const auto w = TWorld::TryCreate(files, font, o, error);
        ASSERT_NE(w, nullptr) << name << ": " << error;
        for (const TShip& s : w->Ships) {
            const uint8_t cls = w->TerrainBitmap.Get(int(Round(s.X)), int(Round(s.Y)));
            EXPECT_TRUE(cls == TerrainEmpty || cls == TerrainWater) << name << " spawn " << s.X << "," << s.Y;
        }
    }
}

} // namespace
