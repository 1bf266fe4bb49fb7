// WorldMapTest: the map file's keys and numbers, terrain classes, painting, parallax and particle areas.
#include "WorldTestKit.h"

#include "core/GameMath.h"
#include "world/MapLoader.h"
#include "world/World.h"
#include "world/WorldError.h"

#include <gtest/gtest.h>

#include <array>
#include <clocale>
#include <memory>
#include <string>
#include <vector>

namespace {

// A world with only the map loaded, as Create leaves it right after the loader.
struct WorldMap : ::testing::Test {
    TWorldFolder Folder;
    std::unique_ptr<TWorld> Map = std::make_unique<TWorld>();

    TSpawnPoints Load(const std::string& text, const std::string& name = "maps\\t.map") {
        Folder.WriteText(name, text);
        return Map->LoadMap(Folder.Files, name);
    }
    void Middle(int w, int h, uint32_t pixel = 0) {
        Folder.WritePicture("maps\\mid.bmp", Filled(w, h, pixel));
    }
};

TEST(WorldMapKeys, MatchOnTheUpperCasedLineStartKeepTheValueAndLoseTheLineEnds) {
    EXPECT_EQ(MapKeyValue("back=Cave.bmp", "BACK="), "Cave.bmp");
    EXPECT_EQ(MapKeyValue("BaCk=x", "BACK="), "x");
    EXPECT_FALSE(MapKeyValue(" BACK=x", "BACK="));
    EXPECT_FALSE(MapKeyValue("BACK", "BACK="));
    EXPECT_EQ(MapKeyValue("BACK=  two blanks ", "BACK="), "  two blanks ");
    EXPECT_EQ(MapKeyValue("PARTICLEAREA 1", "PARTICLEAREA"), " 1");
    // The value stops after 50 characters.
    EXPECT_EQ(MapKeyValue("MIDDLE=" + std::string(60, 'a'), "MIDDLE=")->size(), 50u);

    EXPECT_EQ(SplitMapLines("A=1\r\nB=2\nC=3\r\n\r\nD=4"),
              (std::vector<std::string>{"A=1", "B=2", "C=3", "", "D=4"}));
    EXPECT_EQ(SplitMapLines("A=1\rB=2\r\rC=3\r"), (std::vector<std::string>{"A=1", "B=2", "", "C=3"}));
    EXPECT_EQ(MapFolder("maps\\cave.map"), "maps\\");
    EXPECT_EQ(MapFolder("c:cave.map"), "c:");
    EXPECT_EQ(MapFolder("cave.map"), "");
}

TEST(WorldMapNumbers, UseTheDotWhateverTheLocale) {
    // A locale with a decimal comma must not change how maps read.
    const char* old = std::setlocale(LC_NUMERIC, nullptr);
    const std::string saved = old ? old : "C";
    std::setlocale(LC_NUMERIC, "de_DE.UTF-8");
    EXPECT_FLOAT_EQ(ParseMapDecimal("1.5", "SCALE="), 1.5f);
    std::setlocale(LC_NUMERIC, saved.c_str());
    EXPECT_FLOAT_EQ(ParseMapDecimal(" -2.25 ", "K"), -2.25f);
    EXPECT_FLOAT_EQ(ParseMapDecimal("+3", "K"), 3.0f);
    EXPECT_FLOAT_EQ(ParseMapDecimal(".5", "K"), 0.5f);
    EXPECT_FLOAT_EQ(ParseMapDecimal("1e2", "K"), 100.0f);
    for (const char* bad : {"", "1,5", "abc", "1.5x", "--1", "nan", "inf", "1e40"})
        EXPECT_THROW(ParseMapDecimal(bad, "K"), TWorldError) << bad;
    EXPECT_EQ(ParseMapInteger(" 42", "K"), 42);
    EXPECT_EQ(ParseMapInteger("-7", "K"), -7);
    for (const char* bad : {"4.5", "", "x", "99999999999"})
        EXPECT_THROW(ParseMapInteger(bad, "K"), TWorldError) << bad;
}

TEST_F(WorldMap, KeysAreCaseInsensitiveButNothingMayStandBeforeThem) {
    Middle(400, 500);
    Folder.WritePicture("maps\\back.bmp", Filled(720, 600, Rgb(10, 20, 30)));
    TSpawnPoints s = Load("middle=mid.bmp\n BACK=missing.bmp\nbAcK=back.bmp\nply1x=12.5\nPLY1Y=7\n"
                          "Ply2X=100\nPLY2Y=200\nFLAG1X=3\nflag2y=4\n");
    EXPECT_EQ(Map->MiddleLayer.Width, 400);
    EXPECT_EQ(Map->BackLayer.Width, 720);
    using Spots = std::array<float, 4>;
    EXPECT_EQ((Spots{s.PlayerX[0], s.PlayerY[0], s.PlayerX[1], s.PlayerY[1]}), (Spots{12.5f, 7, 100, 200}));
    EXPECT_EQ((Spots{s.FlagX[0], s.FlagY[0], s.FlagX[1], s.FlagY[1]}), (Spots{3, 0, 0, 4}));

    // Missing spawn points start at the centre of the world.
    s = Load("MIDDLE=mid.bmp\nPLY2X=30\n");
    EXPECT_EQ((Spots{s.PlayerX[0], s.PlayerY[0], s.PlayerX[1], s.PlayerY[1]}), (Spots{200, 250, 30, 250}));

    // The scale is half the map's value.
    for (auto [key, scale] :
         {std::pair{"", 0.5f}, {"SCALE=1\n", 0.5f}, {"SCALE=2\n", 1.0f}, {"SCALE=4\n", 2.0f}}) {
        Load(std::string("MIDDLE=mid.bmp\n") + key);
        EXPECT_FLOAT_EQ(Map->Scale, scale) << key;
    }
}

TEST_F(WorldMap, UnusableNumbersAndMissingFilesAreLoadErrors) {
    Middle(320, 430);
    Folder.WritePicture("maps\\back.bmp", Filled(10, 10, Rgb(1, 2, 3)));
    Folder.WriteText("maps\\broken.bmp", "BM this is no bitmap");
    for (const char* bad :
         {"SCALE=0", "SCALE=-1", "SCALE=NaN", "SCALE=4.01", "SCALE=5", "SCALE=inf", "PLY1X=1e999",
          "PLY1X=12,5", "FLAG2Y=x", "DOTMAP=nothere.bmp", "FRONT=broken.bmp",
          "BACK=  back.bmp",    // blanks after the key belong to the file name
          "BACK=", "DOTMAP=\\", // the map's own folder is no picture
          "PLY1X=3e38", "FLAG2Y=-1000001", "PARTICLEAREA\nPA_PERSECOND=1e30", "PARTICLEAREA\nPA_XSPEED=-2e6"})
        EXPECT_THROW(Load(std::string("MIDDLE=mid.bmp\n") + bad + "\n"), TWorldError) << bad;
    EXPECT_THROW(Map->LoadMap(Folder.Files, "maps\\none.map"), TWorldError);
    EXPECT_THROW(Map->LoadMap(Folder.Files, "maps\\"), TWorldError);
    EXPECT_THROW(Load("PLY1X=1\n"), TWorldError); // no MIDDLE=
    EXPECT_THROW(Load("MIDDLE=nothere.bmp\n"), TWorldError);
}

TEST_F(WorldMap, PicturesAreFoundBesideTheMapWhateverTheirCase) {
    Folder.WritePicture("maps\\sub\\Mid.BMP", Filled(330, 440, Rgb(1, 1, 1)));
    Load("MIDDLE=mid.bmp\n", "maps\\sub\\x.map");
    EXPECT_EQ(Map->MiddleLayer.Width, 330);
}

// Particle areas (their block, place, size, rate, kind and speeds, the y spread read from the
// second PA_RANDOMXSPEED=) drive the rain, snow and drips of the golden replays' maps; a planted fault
// in any of them fails the replays. What the shipped maps never hold is checked here.
TEST_F(WorldMap, UnknownParticleWordsGiveKindZeroAndNegativePlacesWrap) {
    Middle(320, 430);
    Load("MIDDLE=mid.bmp\nPARTICLEAREA\nPA_TYPE=LAVA\nPA_X=-1\n");
    ASSERT_EQ(Map->ParticleAreas.size(), 1u);
    EXPECT_EQ(Map->ParticleAreas[0].ParticleKind, 0);
    EXPECT_EQ(Map->ParticleAreas[0].AreaX, 65535);
}

TEST_F(WorldMap, ParallaxFactorsMeetTheEdgesTogetherAndNoBackStandsStill) {
    Folder.WritePicture("maps\\mid.bmp", Filled(1600, 430, Rgb(0, 0, 0)));
    Folder.WritePicture("maps\\back.bmp", Filled(960, 800, Rgb(5, 5, 5)));
    Folder.WritePicture("maps\\front.bmp", Filled(2240, 300, Rgb(5, 5, 5)));
    Load("MIDDLE=mid.bmp\nBACK=back.bmp\nFRONT=front.bmp\n");
    EXPECT_FLOAT_EQ(Map->BackParallaxX, 0.5f);
    EXPECT_FLOAT_EQ(Map->BackParallaxY, 1.0f); // the MIDDLE layer is no taller than a view
    EXPECT_FLOAT_EQ(Map->FrontParallaxX, 1.5f);
    EXPECT_FLOAT_EQ(Map->FrontParallaxY, 1.0f);

    Folder.WritePicture("maps\\mid.bmp", Filled(320, 930, Rgb(0, 0, 0)));
    Load("MIDDLE=mid.bmp\nBACK=back.bmp\nFRONT=front.bmp\n");
    EXPECT_FLOAT_EQ(Map->BackParallaxX, 1.0f); // 320 wide: whatever the BACK width
    EXPECT_FLOAT_EQ(Map->BackParallaxY, 370.0f / 500.0f);
    EXPECT_FLOAT_EQ(Map->FrontParallaxY, 1.0f); // FRONT no taller than a view

    // Without BACK the background stays empty and black, and still.
    Map = std::make_unique<TWorld>();
    Folder.WritePicture("maps\\mid.bmp", Filled(800, 600, Rgb(0, 0, 0)));
    Load("MIDDLE=mid.bmp\n");
    EXPECT_TRUE(Map->BackLayer.Empty());
    EXPECT_FLOAT_EQ(Map->BackParallaxX, 1.0f);
    EXPECT_FLOAT_EQ(Map->BackParallaxY, 1.0f);
    EXPECT_EQ(Map->BackAverage, (std::array<uint8_t, 3>{0, 0, 0}));
}

TEST_F(WorldMap, BackBlackBecomesColourValueOneAndTheAverageIsTakenOfThePicture) {
    Middle(320, 430);
    Surface back = Filled(7, 5, Rgb(30, 60, 200));
    back.SetPixel(0, 0, 0);
    Folder.WritePicture("maps\\back.bmp", back);
    Load("MIDDLE=mid.bmp\nBACK=back.bmp\n");
    // Drawn from the picture: near its one colour whatever the draws (the one black pixel counts as 0).
    EXPECT_TRUE(Map->BackAverage[2] >= 180 && Map->BackAverage[2] <= 200 && Map->BackAverage[0] <= 30);
    EXPECT_EQ(Map->BackLayer.Pixel(0, 0), ColourValueOne);
    EXPECT_EQ(Map->BackLayer.Pixel(1, 0), Rgb(30, 60, 200));
}

TEST_F(WorldMap, WithoutDotMapTheMiddleGivesGroundAndAFloorUnderTheWorld) {
    Surface mid(4, 3);
    mid.SetPixel(1, 0, Rgb(1, 0, 0));
    mid.SetPixel(3, 2, Rgb(90, 90, 90));
    Folder.WritePicture("maps\\mid.bmp", mid);
    Load("MIDDLE=mid.bmp\n");
    const TTerrain& t = Map->TerrainBitmap;
    ASSERT_EQ(t.Width, 4);
    ASSERT_EQ(t.Height, 4);
    EXPECT_EQ(t.Get(0, 0), TerrainEmpty);
    EXPECT_EQ(t.Get(1, 0), TerrainGround);
    EXPECT_EQ(t.Get(3, 2), TerrainGround);
    EXPECT_EQ(t.Get(2, 2), TerrainEmpty);
    for (int x = 0; x < 4; ++x)
        EXPECT_EQ(t.Get(x, 3), TerrainGround) << x;
}

TEST_F(WorldMap, DotMapColoursGiveClassesAndPaintSnowAndWater) {
    // Row 0: the listed triples; row 1: water on odd and even cells; row 2: snow over a painted cell.
    Surface dots(6, 3);
    dots.SetPixel(0, 0, Rgb(0, 255, 255));   // water
    dots.SetPixel(1, 0, Rgb(255, 255, 0));   // ground
    dots.SetPixel(2, 0, Rgb(255, 0, 255));   // water
    dots.SetPixel(3, 0, Rgb(255, 255, 255)); // snow
    dots.SetPixel(4, 0, Rgb(254, 254, 254)); // empty
    dots.SetPixel(5, 0, Rgb(255, 0, 0));     // base pad
    dots.SetPixel(0, 1, Rgb(0, 0, 255));     // water, x + y odd
    dots.SetPixel(1, 1, Rgb(0, 0, 255));     // water, x + y even
    dots.SetPixel(2, 1, Rgb(0, 255, 0));     // ground
    dots.SetPixel(0, 2, Rgb(255, 255, 255)); // snow over a painted MIDDLE pixel
    dots.SetPixel(1, 2, Rgb(255, 255, 255)); // snow over black
    Surface mid(6, 3);
    mid.Fill(Rgb(0, 0, 0));
    mid.SetPixel(0, 2, Rgb(7, 8, 9));
    mid.SetPixel(0, 1, Rgb(50, 60, 70));
    Folder.WritePicture("maps\\mid.bmp", mid);
    Folder.WritePicture("maps\\dots.bmp", dots);

    Load("MIDDLE=mid.bmp\nDOTMAP=dots.bmp\n");
    const TTerrain& t = Map->TerrainBitmap;
    const std::array<uint8_t, 6> row0{TerrainWater, TerrainGround, TerrainWater,
                                      TerrainSnow,  TerrainEmpty,  TerrainPad};
    for (int x = 0; x < 6; ++x)
        EXPECT_EQ(t.Get(x, 0), row0[size_t(x)]) << x;
    EXPECT_EQ(t.Get(0, 1), TerrainWater);
    EXPECT_EQ(t.Get(2, 1), TerrainGround);
    EXPECT_EQ(t.Get(3, 1), TerrainEmpty);

    // Snow is painted a light grey drawn at random. (The blues of even water cells are painted in
    // every golden replay's map, where a planted fault in them fails the replays.)
    const Surface& m = Map->MiddleLayer;
    const auto snow = [&](int x, int y) {
        const uint32_t c = m.Pixel(x, y);
        return c == Rgb(c & 0xFF, c & 0xFF, c & 0xFF) && (c & 0xFF) >= 248;
    };
    EXPECT_TRUE(snow(3, 0) && snow(1, 2));
    EXPECT_EQ(m.Pixel(0, 1), 0u);           // odd water cells are cleared even over a painted pixel
    EXPECT_EQ(m.Pixel(0, 2), Rgb(7, 8, 9)); // snow keeps what is drawn already
    EXPECT_EQ(m.Pixel(1, 0), 0u);           // ground is not painted
    // The dot map does not cover the row under the world: it is empty.
    EXPECT_EQ(t.Height, 4);
    EXPECT_EQ(t.Get(0, 3), TerrainEmpty);
}

TEST_F(WorldMap, ADotMapSmallerThanTheWorldLeavesTheRestEmpty) {
    Middle(10, 10, Rgb(80, 80, 80));
    Folder.WritePicture("maps\\dots.bmp", Filled(4, 4, Rgb(0, 255, 0)));
    Load("MIDDLE=mid.bmp\nDOTMAP=dots.bmp\n");
    EXPECT_EQ(Map->TerrainBitmap.Get(3, 3), TerrainGround);
    EXPECT_EQ(Map->TerrainBitmap.Get(4, 3), TerrainEmpty);
    EXPECT_EQ(Map->TerrainBitmap.Get(3, 4), TerrainEmpty);
}

TEST(WorldTerrain, OutsideTheGridIsGroundAndWritesThereAreDropped) {
    TTerrain t;
    t.SetSize(3, 2);
    t.Set(1, 1, TerrainWater);
    EXPECT_EQ(t.Get(1, 1), TerrainWater);
    for (auto [x, y] : {std::pair{-1, 0}, {3, 0}, {0, -1}, {0, 2}, {-100000, 100000}}) {
        EXPECT_EQ(t.Get(x, y), TerrainGround);
        t.Set(x, y, TerrainSnow);
    }
    int nonEmpty = 0;
    for (uint8_t c : t.Cells)
        nonEmpty += c != TerrainEmpty;
    EXPECT_EQ(nonEmpty, 1);
    EXPECT_EQ(t.Row(2), nullptr);
    EXPECT_EQ(t.Row(1)[1], TerrainWater);
}

} // namespace
