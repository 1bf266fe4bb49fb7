// SelectorsTest: the ship, flag and map lists, pictures, colours and weapons.
#include "CareersTestKit.h"
#include "frontend/PanelDrawing.h"
#include "frontend/PilotFiles.h"
#include "media/Canvas.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace fs = std::filesystem;

namespace {

class Selectors : public TCareersTest {
  protected:
    // A picture of the game folder copied under another name, or a plain one, in the home folder.
    void CopyPicture(const std::string& from, const std::string& to) const {
        fs::create_directories((C.Home.Path / to).parent_path());
        fs::copy_file(fs::path(FLARONS_GAME_DIR) / from, C.Home.Path / to);
    }
    void WritePicture(const std::string& to, int w, int h, uint32_t colour) const {
        Surface s(w, h);
        s.Fill(colour);
        fs::create_directories((C.Home.Path / to).parent_path());
        ASSERT_TRUE(s.SaveToBmp((C.Home.Path / to).string()));
    }
    std::vector<uint8_t> Column(int list, int n) const {
        return {F.WeaponLists.begin() + 25 * list, F.WeaponLists.begin() + 25 * list + n};
    }
    int RowOf(int list, uint8_t weapon) const {
        for (int r = 0; r < 25; ++r)
            if (F.WeaponLists[size_t(25 * list + r)] == weapon) return r;
        return -1;
    }
    // Clicks the backdrop at a row of a weapon column of side s, as the weapon selector is used.
    void PickWeapon(int side, int list, uint8_t weapon) {
        const int row = RowOf(list, weapon);
        ASSERT_GE(row, 0) << "weapon " << int(weapon) << " is not offered";
        TCareers::Click(*F.MainMenu, 440 * side + 40 + 77 * list, 154 + 8 * row + 4);
        F.WeaponPick(side);
    }
};

TEST_F(Selectors, ShipListOffersThePilotsOwnShipsFirstKeepsFortyTwoCharactersAndFlagLabelsSixteen) {
    // An unusable pilot name never becomes part of a path: this is what `pilots\..\` would reach.
    CopyPicture("graphics/arrow_ship.bmp", "x_ship.bmp");
    F.Options.Players[0].Name.Set("..");
    Open(gsShipSelect1);
    for (const std::string& file : F.ListFiles)
        EXPECT_EQ(file.rfind("graphics\\", 0), 0u) << "pilot '..': " << file;

    F.Options.Players[0].Name.Set("ACE");
    CopyPicture("graphics/needle_ship.bmp", "pilots/ACE/zz_ship.bmp");
    Open(gsShipSelect1);
    ASSERT_EQ(F.ListFiles.size(), 7u);
    EXPECT_EQ(F.ListFiles[0], "pilots\\ACE\\zz_ship.bmp");
    EXPECT_EQ(TCareers::ReadCentred(F.PlayerPanels[0], FontCell, 79, 131, 5), "ARROW");
    Choose(0);
    EXPECT_EQ(F.GameState, gsMainMenu);
    EXPECT_EQ(F.Options.Players[0].ShipFile.Str(), "pilots\\ACE\\zz_ship.bmp");
    EXPECT_EQ(F.Options.Players[0].ShipValid, 1);
    EXPECT_FALSE(F.ShipPreviews[0].Empty());

    // A path longer than the record holds is cut; the preview still comes from the whole path.
    const std::string name = "ABCDEFGHIJKLMNO";
    F.Options.Players[0].Name.Set(name);
    CopyPicture("graphics/arrow_ship.bmp", "pilots/" + name + "/averyveryverylongname_ship.bmp");
    Open(gsShipSelect1);
    const std::string full = "pilots\\" + name + "\\averyveryverylongname_ship.bmp";
    ASSERT_EQ(F.ListFiles[0], full);
    F.ShipPreviews[0] = Surface();
    Choose(0);
    EXPECT_EQ(F.Options.Players[0].ShipFile.Str(), full.substr(0, 42));
    EXPECT_FALSE(F.ShipPreviews[0].Empty());

    // Flag labels keep sixteen letters, and a chosen flag is drawn.
    WritePicture("graphics/red_flag.bmp", 32, 24, 0xFF0000);
    WritePicture("graphics/abcdefghijklmnopqrstuvwxyzabcd_flag.bmp", 32, 24, 0x0000FF);
    Open(gsFlagSelect2);
    EXPECT_EQ(TCareers::ReadCentred(F.PlayerPanels[1], FontCell, 79, 115, 16), "ABCDEFGHIJKLMNOP");
    const int row = int(std::find(F.ListFiles.begin(), F.ListFiles.end(), "graphics\\red_flag.bmp") -
                        F.ListFiles.begin());
    ASSERT_LT(row, int(F.ListFiles.size()));
    EXPECT_EQ(TCareers::ReadCentred(F.PlayerPanels[1], FontCell, 79, 115 + 16 * row, 3), "RED");
    Choose(row);
    EXPECT_EQ(F.Options.Players[1].FlagFile.Str(), "graphics\\red_flag.bmp");
    EXPECT_EQ(F.PlayerPanels[1].Pixel(10, 60), 0xFF0000u) << "the new flag is drawn";
}

TEST_F(Selectors, TwelveMapsScrollByOneRow) {
    EXPECT_EQ(DropLast("_flag.bm", 9), "") << "a text shorter than the cut is cut to nothing";
    for (int i = 1; i <= 3; ++i)
        C.Home.Write("maps/m0" + std::to_string(i) + ".map", "");
    Open(gsMapSelect);
    ASSERT_EQ(F.ListFiles.size(), 8u);
    EXPECT_EQ(F.ListFiles[6], "maps\\m01.map");
    EXPECT_EQ(F.ListUpItem, 42);
    EXPECT_EQ(F.ListDownItem, 8);
    EXPECT_EQ(TCareers::ReadCentred(F.OptionsPanel, 10, 102, 17, 5), "ABYSS");

    Choose(F.ListDownItem);
    EXPECT_EQ(F.ListFiles[0], "maps\\Cavern.map");
    EXPECT_EQ(F.ListFiles[7], "maps\\m03.map");
    EXPECT_EQ(F.ListUpItem, 8);
    EXPECT_EQ(F.ListDownItem, 9);
    EXPECT_EQ(TCareers::ReadCentred(F.OptionsPanel, 10, 102, 17, 6), "CAVERN");

    Choose(3);
    EXPECT_EQ(F.Options.MapFile.Str(), "maps\\Glacier.map");
    EXPECT_EQ(F.GameState, gsMainMenu);
}

TEST_F(Selectors, PalettesGiveThePixelUnderThePointerToHelmetShirtAndPants) {
    F.DrawColourPicker(1);
    EXPECT_EQ(TCareers::ReadCentred(F.PlayerPanels[1], FontCell, 79, 248, 12), "PANTS COLOR:");
    // The frame as the front end draws it: the panel over whatever lies behind.
    F.BackSurface.Fill(0x123456);
    F.BackSurface.Draw(22 + 440, 54, F.PlayerPanels[1], true);
    const int points[3][2] = {{500, 200}, {530, 270}, {600, 340}};
    std::array<uint32_t, 3> picked{};
    for (size_t k = 0; k < 3; ++k) {
        TCareers::Click(*F.MainMenu, points[k][0], points[k][1]);
        F.ColourPick(1);
        picked[k] = PixelToWin(F.BackSurface.Pixel(points[k][0], points[k][1]));
    }
    const TPilotRecord& p = F.Options.Players[1];
    EXPECT_EQ((std::array<uint32_t, 3>{p.HelmetColour, p.ShirtColour, p.PantsColour}), picked);
    EXPECT_NE(picked[0], picked[2]) << "different parts of the palette were clicked";
}

TEST_F(Selectors, WeaponsUnlockWithRankAndPickingSelectsOrReplaces) {
    F.Options.Players[0].Experience = 0;
    F.PrepareWeaponLists(0);
    EXPECT_EQ(Column(0, 7), (std::vector<uint8_t>{0, 1, 2, 9, 11, 13, 255}));
    EXPECT_EQ(Column(1, 7), (std::vector<uint8_t>{3, 6, 7, 8, 14, 17, 255}));
    EXPECT_EQ(F.WeaponColumnRects[1], (std::array<uint16_t, 4>{102, 154, 174, 152 + 48}));

    F.Options.Players[1].Experience = 7979; // level 19: everything but the Nuke
    F.PrepareWeaponLists(1);
    EXPECT_EQ(RowOf(1, 18), -1);
    F.Options.Players[1].Experience = 7980; // level 20
    F.PrepareWeaponLists(1);
    EXPECT_EQ(Column(0, 11), (std::vector<uint8_t>{0, 1, 2, 9, 11, 13, 19, 20, 21, 22, 255}));
    EXPECT_EQ(F.WeaponColumnRects[0], (std::array<uint16_t, 4>{465, 154, 537, 152 + 80}));

    // Picking selects a position or replaces the selected weapon.
    TPilotRecord& p = F.Options.Players[1];
    F.WeaponPageSel[1] = 0;
    PickWeapon(1, 1, 6); // Rockets, at position 2 of page 1
    EXPECT_EQ(F.WeaponPageSel[1], 2);
    PickWeapon(1, 1, 18); // the Nuke replaces Rockets
    EXPECT_EQ(p.Weapons[7], 18);
    PickWeapon(1, 0, 19); // page 0 is untouched by page 1's selection
    EXPECT_EQ(p.Weapons[2], 19);
    EXPECT_EQ(F.WeaponPageSel[0], 2);

    // Below the last entry of a column nothing is picked.
    TCareers::Click(*F.MainMenu, 440 + 40, 154 + 8 * 20);
    F.WeaponPick(1);
    EXPECT_EQ(p.Weapons[2], 19);
}

} // namespace
