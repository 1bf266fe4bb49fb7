// RecordsTest: the pilot and options records byte for byte, their defaults and Options.DAT.
#include "TestSupport.h"
#include "core/Files.h"
#include "core/OptionsFile.h"

#include <gtest/gtest.h>

#include <numeric>

namespace {

uint32_t U32At(const std::vector<uint8_t>& b, size_t at) {
    return uint32_t(b[at]) | (uint32_t(b[at + 1]) << 8) | (uint32_t(b[at + 2]) << 16) |
           (uint32_t(b[at + 3]) << 24);
}

std::vector<uint8_t> Pattern(size_t n, uint8_t seed) {
    std::vector<uint8_t> bytes(n);
    for (size_t i = 0; i < n; ++i)
        bytes[i] = uint8_t(seed + i * 37 + (i >> 3));
    return bytes;
}

TEST(Records, PilotRecordRoundTripsEveryByteIncludingPaddingAndAnOverlongName) {
    std::vector<uint8_t> in = Pattern(PilotRecordSize, 5);
    in[0] = 7; // a sensible name length; the tail beyond it is kept as garbage
    TPilotRecord r;
    r.Read(in.data());
    std::vector<uint8_t> out(PilotRecordSize, 0xEE);
    r.Write(out.data());
    EXPECT_EQ(in, out);

    // An overlong length byte reads as the capacity and is kept.
    in.assign(PilotRecordSize, 'x');
    in[0] = 200;
    r.Read(in.data());
    EXPECT_EQ(r.Name.Str().size(), 42u);
    out.assign(PilotRecordSize, 0);
    r.Write(out.data());
    EXPECT_EQ(out, in) << "an untouched record is written back unchanged, length byte 200 included";
    r.Name.Set(std::string(60, 'N'));
    EXPECT_EQ(r.Name.Length, 42);
}

TEST(Records, PilotFieldsSitAtTheirOffsets) {
    TPilotRecord r = DefaultPilot(1, "graphics\\a_ship.bmp", "graphics\\a_flag.bmp");
    r.ShipValid = 1;
    r.BattlesFought = 0x01020304;
    r.OnFootTime = 77;
    r.Medals[17] = 1;
    std::vector<uint8_t> b(PilotRecordSize, 0);
    r.Write(b.data());
    EXPECT_EQ(b[0], 8);
    EXPECT_EQ(std::string(b.begin() + 1, b.begin() + 9), "PLAYER 2");
    EXPECT_EQ(b[43], 19);
    EXPECT_EQ(std::string(b.begin() + 44, b.begin() + 63), "graphics\\a_ship.bmp");
    EXPECT_EQ(std::string(b.begin() + 87, b.begin() + 106), "graphics\\a_flag.bmp");
    EXPECT_EQ(b[129], 1);
    EXPECT_EQ(U32At(b, 132), 0x01020304u);
    EXPECT_EQ(U32At(b, 184), 77u);
    EXPECT_EQ(b[188 + 17], 1);
    EXPECT_EQ(U32At(b, 212), 0xAA1100u) << "player 2's helmet";
    EXPECT_EQ(std::vector<uint8_t>(b.begin() + 220, b.begin() + 230),
              (std::vector<uint8_t>{9, 11, 0, 13, 2, 3, 14, 6, 7, 8}));
}

TEST(Records, OptionsRecordRoundTripsAndPlacesItsOwnFields) {
    std::vector<uint8_t> in = Pattern(OptionsRecordSize, 11);
    in[0] = 3;
    in[232] = 4;
    in[464] = 9;
    TOptions o;
    o.Read(in.data());
    EXPECT_EQ(o.Bytes(), in);
    EXPECT_EQ(o.FlagsDisabled, in[507]);
    EXPECT_EQ(o.PointsLimit, in[508]);
    EXPECT_EQ(o.Lives, in[509]);
    EXPECT_EQ(o.Players[1].Name.Length, 4);
}

TEST(Records, DefaultsTakeTheFirstShipFlagAndMapInNameOrder) {
    TTempDir game;
    EXPECT_EQ(DefaultOptions(TFiles(game.Path, game.Path)).MapFile.Str(), "maps\\")
        << "no maps: the folder alone";
    game.Write("graphics/zebra_ship.bmp", "");
    game.Write("graphics/Arrow_ship.bmp", "");
    game.Write("graphics/moon_flag.bmp", "");
    game.Write("maps/Zulu.map", "");
    game.Write("maps/alpha.map", "");
    const TOptions o = DefaultOptions(TFiles(game.Path, game.Path));
    EXPECT_EQ(o.Players[0].ShipFile.Str(), "graphics\\Arrow_ship.bmp");
    EXPECT_EQ(o.Players[1].FlagFile.Str(), "graphics\\moon_flag.bmp");
    EXPECT_EQ(o.MapFile.Str(), "maps\\alpha.map");
    EXPECT_EQ(o.Bytes()[509], 5) << "five lives";
}

TEST(Records, AShortOrDamagedOptionsFileKeepsWhatItCanAndLosesTheTemporariesOfAKilledSave) {
    TTempDir home;
    const TFiles files(home.Path, home.Path);
    for (const char* name :
         {"graphics/b_ship.bmp", "graphics/a_flag.bmp", "graphics/z_flag.bmp", "maps/m.map"})
        home.Write(name, "");
    TOptions stored = DefaultOptions(files);
    stored.Players[0].Name.Set("ACE");
    stored.Players[0].ShipFile.Set("graphics"); // a folder, as a damaged or hand-edited record can hold
    stored.Players[0].FlagFile.Set("graphics\\z_flag.bmp");
    stored.Players[0].Points = 77;
    std::vector<uint8_t> part = stored.Bytes();
    part.resize(300);
    home.Write("Options.DAT", part);
    home.Write("Options.DAT.tmp", "cut off");
    home.Write("pilots/ACE/Pilot.DAT.tmp", "cut off");

    TOptions o;
    EXPECT_TRUE(LoadOptions(o, files));
    EXPECT_EQ(o.Players[0].Name.Str(), "ACE");
    EXPECT_EQ(o.Players[0].Points, 77u);
    EXPECT_EQ(o.Players[0].ShipFile.Str(), "graphics\\b_ship.bmp") << "unusable: the default";
    EXPECT_EQ(o.Players[0].FlagFile.Str(), "graphics\\z_flag.bmp") << "usable: kept";
    EXPECT_EQ(o.Players[1].FlagFile.Str(), "graphics\\a_flag.bmp") << "beyond the file: the default";
    EXPECT_EQ(o.MapFile.Str(), "maps\\m.map");
    EXPECT_EQ(o.Players[1].Weapons, (std::array<uint8_t, 10>{}));
    EXPECT_EQ(o.Lives, 0) << "the defaults are not applied to what the file holds";
    EXPECT_FALSE(std::filesystem::exists(home.Path / "Options.DAT.tmp"));
    EXPECT_FALSE(std::filesystem::exists(home.Path / "pilots/ACE/Pilot.DAT.tmp"));
}

} // namespace
