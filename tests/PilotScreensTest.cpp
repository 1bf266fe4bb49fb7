// PilotScreensTest: the pilot list on the side panel, choosing a pilot and the new-pilot name entry.
#include "CareersTestKit.h"
#include "frontend/PilotFiles.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace fs = std::filesystem;

namespace {

class PilotScreens : public TCareersTest {
  protected:
    void OpenList(int side) { Open(side == 0 ? gsPilotSelect1 : gsPilotSelect2); }
    std::string Label(int side, int row) {
        const std::string& name = F.ListFiles[size_t(row)];
        return TCareers::ReadCentred(F.PlayerPanels[size_t(side)], FontCell, 79, 115 + 16 * row, name.size());
    }
    // Presses on-screen keys (26 is Backspace, 27 Return), each followed by the name entry's frame.
    void Type(int side, const std::string& letters) {
        const std::string keys = "QWERTYUIOPASDFGHJKLZXCVBNM\b\n";
        for (char c : letters) {
            TCareers::ClickItem(*F.KeyboardMenu, int(keys.find(c)));
            F.NameEntryFrame(side);
        }
    }
};

TEST_F(PilotScreens, NinePilotsPageThroughTheListWithItsArrows) {
    for (int i = 1; i <= 9; ++i)
        C.WritePilot(std::string("P") + (i < 10 ? "0" : "") + std::to_string(i));
    OpenList(0);
    ASSERT_EQ(F.ListFiles.size(), 11u);
    EXPECT_EQ(F.ListFiles[3], ComputerRows[2]);
    EXPECT_EQ(F.ListFiles[10], "P07");
    EXPECT_EQ(F.ListDownItem, 11);
    EXPECT_EQ(Label(0, 0), " NEW PILOT ") << "the stars have no cells in the font";

    Choose(F.ListDownItem);
    EXPECT_EQ(F.ListTop, 1);
    EXPECT_EQ(F.ListFiles[10], "P08");
    EXPECT_EQ(F.ListUpItem, 11);
    EXPECT_EQ(Label(0, 3), "P01") << "the page is redrawn, not written over the old one";
    EXPECT_EQ(F.GameState, gsPilotSelect1) << "an arrow never chooses a row";
    Choose(F.ListDownItem);
    EXPECT_EQ(F.ListDownItem, 42);
    Choose(F.ListUpItem);
    EXPECT_EQ(F.ListTop, 1);

    // The other side's pilot is never offered.
    F.Options.Players[1].Name.Set("p03");
    OpenList(0);
    EXPECT_EQ(F.ListFiles[6], "P04");
    EXPECT_EQ(Label(0, 6), "P04");
}

TEST_F(PilotScreens, ChoosingAPilotSavesTheOldOneButNeverUnderAnUnusableName) {
    C.WritePilot("BOB");
    F.Options.Players[0].Experience = 77;
    OpenList(0);
    Choose(4);
    EXPECT_EQ(F.GameState, gsMainMenu);
    EXPECT_EQ(F.Options.Players[0].Name.Str(), "BOB");
    EXPECT_EQ(F.Options.Players[0].Experience, 0u);
    TPilotRecord saved;
    ASSERT_TRUE(LoadPilot(F.Files, saved, "PLAYER 1"));
    EXPECT_EQ(saved.Experience, 77u);
    EXPECT_EQ(TCareers::ReadText(F.PlayerPanels[0], 10, 39, 2, 8), "   BOB  ") << "PLAYER 1 is cleared first";

    // Names from an edited options file that cannot be folders are never saved, and choosing still works.
    F.Options.Players[0].Name.Set("..");
    F.Options.Players[1].Name.Set("");
    OpenList(0);
    Choose(4);
    EXPECT_EQ(F.Options.Players[0].Name.Str(), "BOB");
    EXPECT_FALSE(fs::exists(C.Home.Path / "Pilot.DAT"));
    EXPECT_FALSE(fs::exists(C.Home.Path / "pilots/Pilot.DAT"));

    // A pilot whose record names a folder as its ship and a lost flag flies the first ones found.
    TPilotRecord dented = DefaultPilot(0, "graphics", "graphics\\lost_flag.bmp");
    dented.Name.Set("DENTED");
    std::vector<uint8_t> bytes(PilotRecordSize);
    dented.Write(bytes.data());
    C.Home.Write("pilots/DENTED/Pilot.DAT", bytes);
    OpenList(0);
    Choose(int(std::find(F.ListFiles.begin(), F.ListFiles.end(), "DENTED") - F.ListFiles.begin()));
    const TPilotRecord defaults = DefaultOptions(F.Files).Players[0];
    EXPECT_EQ(F.Options.Players[0].Name.Str(), "DENTED");
    EXPECT_EQ(F.Options.Players[0].ShipFile.Str(), defaults.ShipFile.Str());
    EXPECT_EQ(F.Options.Players[0].FlagFile.Str(), defaults.FlagFile.Str());
}

TEST_F(PilotScreens, TheNewPilotRowOpensTheNameEntryAndReturnCreatesAPilotInPlayerOnesColours) {
    F.Options.Players[1].Experience = 5000;
    OpenList(1);
    Choose(0);
    EXPECT_EQ(F.GameState, gsNewPilot2);
    EXPECT_EQ(F.KeyboardMenu->OffsetX, 465);
    EXPECT_TRUE(fs::exists(C.Home.Path / "pilots/PLAYER 2/Pilot.DAT")) << "the current pilot is saved first";
    Type(1, "NEW");
    F.KeyboardMenu->MoveCursor(0, 0, false); // the last on-screen click is over, as a frame ends it
    // The rest on the keyboard, a slip taken back with Backspace; the Return that confirms the
    // name, even held on, begins no match.
    for (TKey key : {keyB, keyQ, keyBackspace, keyI, keyE, keyReturn}) {
        C.Platform.Press(key, true);
        G.Tick();
        if (key == keyReturn) G.Tick();
        C.Platform.Press(key, false);
        G.Tick();
    }
    const TPilotRecord& p = F.Options.Players[1];
    EXPECT_EQ(F.GameState, gsMainMenu);
    EXPECT_EQ(G.World, nullptr);
    EXPECT_EQ(p.Name.Str(), "NEWBIE");
    EXPECT_EQ(p.PantsColour, DefaultPants[0]);
    EXPECT_EQ(p.Experience, 0u);
    EXPECT_EQ(TCareers::ReadCentred(F.PlayerPanels[1], 10, 79, 0, 6), "NEWBIE");
}

TEST_F(PilotScreens, SixteenTypedLettersKeepFifteenAndTheNameOfAnExistingPilotIsRefused) {
    C.WritePilot("ACE");
    F.Options.Players[0].Experience = 99;
    OpenList(0);
    Choose(0);
    Type(0, "\b\n"); // Backspace and Return on an empty name
    EXPECT_EQ(F.GameState, gsNewPilot1);
    Type(0, "ABCDEFGHIJKLMNOP\b");
    EXPECT_EQ(F.NewPilotName, "ABCDEFGHIJKLMN");
    EXPECT_EQ(TCareers::ReadCentred(F.PlayerPanels[0], FontCell, 78, 173, 15), " ABCDEFGHIJKLMN")
        << "the shorter name is centred afresh on a cleared field";
    Type(0, std::string(14, '\b') + "ACE\n");
    EXPECT_EQ(F.GameState, gsMainMenu);
    EXPECT_EQ(F.Options.Players[0].Name.Str(), "PLAYER 1");
    EXPECT_EQ(F.Options.Players[0].Experience, 99u);
}

} // namespace
