// WorldGameFolderTest: every map of the generated game folder builds a world with open spawn points.
#include "core/Files.h"
#include "core/GameMath.h"
#include "core/OptionsFile.h"
#include "media/ImageList.h"
#include "world/World.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>

namespace {

TPictureItem PlainFont() {
    TPictureItem font;
    font.Picture.SetSize(8 * 45, 8);
    font.Picture.Fill(0xFFFFFF);
    font.PatternWidth = 8;
    font.PatternHeight = 8;
    return font;
}

TEST(WorldGameFolder, EveryShippedMapBuildsAWorld) {
    const std::filesystem::path home =
        std::filesystem::temp_directory_path() / "flarons_world_gamefolder_home";
    std::filesystem::create_directories(home);
    const TFiles files(FLARONS_GAME_DIR, home);
    const std::vector<std::string> maps = files.FindFiles("maps\\*.map");
    const std::vector<std::string> ships = files.FindFiles("graphics\\*_ship.bmp");
    const std::vector<std::string> flags = files.FindFiles("graphics\\*_flag.bmp");
    if (maps.empty() || ships.empty() || flags.empty()) GTEST_SKIP() << "the game folder has no maps yet";
    std::filesystem::create_directories("/tmp/flarons_maps");
    for (const std::string& name : maps) {
        TOptions o;
        for (size_t p = 0; p < 2; ++p)
            o.Players[p] = DefaultPilot(int(p), "graphics\\" + ships[p % ships.size()],
                                        "graphics\\" + flags[p % flags.size()]);
        o.MapFile.Set("maps\\" + name);
        o.Lives = 5;
        std::string error;
        // How long a world takes to build is the benchmark's business (bench/, BuildWorld).
        const auto w = TWorld::TryCreate(files, PlainFont(), o, error);
        ASSERT_NE(w, nullptr) << name << ": " << error;
        std::printf("%s: %d x %d\n", name.c_str(), w->MiddleLayer.Width, w->MiddleLayer.Height);
        for (const TShip& s : w->Ships) {
            const uint8_t cls = w->TerrainBitmap.Get(int(Round(s.X)), int(Round(s.Y)));
            EXPECT_TRUE(cls == TerrainEmpty || cls == TerrainWater) << name << " spawn " << s.X << "," << s.Y;
        }
        // Both views at their spawn points, for a look.
        if (!w->SingleScreen)
            for (size_t v = 0; v < 2; ++v) {
                w->ViewX[v] =
                    std::clamp(w->Ships[v].X - 160.0f, 0.0f, float(std::max(0, w->MiddleLayer.Width - 320)));
                w->ViewY[v] =
                    std::clamp(w->Ships[v].Y - 215.0f, 0.0f, float(std::max(0, w->MiddleLayer.Height - 430)));
            }
        Surface screen(640, 480);
        w->DrawViews(screen);
        screen.SaveToPng("/tmp/flarons_maps/" + name + ".png");
    }
}

} // namespace
