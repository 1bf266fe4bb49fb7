// PilotScreens: choosing a pilot from the list, the new-pilot name entry and saving both pilots.
#include "frontend/FrontEnd.h"

#include "core/Controls.h"
#include "core/OptionsFile.h"
#include "frontend/PanelDrawing.h"
#include "frontend/PilotFiles.h"
#include "media/Canvas.h"
#include "media/ImageList.h"
#include "text/Font.h"

namespace {

constexpr const char* KeyLetters = "QWERTYUIOPASDFGHJKLZXCVBNM";
constexpr int LetterKeys = 26;
constexpr int BackspaceKey = 26;
constexpr int ReturnKey = 27;

void OpenNameEntry(TFrontEnd& f, int side) {
    f.GameState = side == 0 ? gsNewPilot1 : gsNewPilot2;
    if (f.KeyboardMenu) f.KeyboardMenu->OffsetX = int16_t(25 + 440 * side);
    Surface& panel = f.PlayerPanels[size_t(side)];
    FillBlack(panel, TRect{0, 90, 157, 308});
    Canvas canvas(panel);
    canvas.PenColor = 0x008000;
    canvas.BrushColor = 0;
    canvas.Rectangle(2, 170, 154, 191);
    canvas.Release();
    WriteCentred(panel, f.Images.Find("Font"), 79, 150, "New pilot name:");
    f.NewPilotName.clear();
}

void DrawTypedName(TFrontEnd& f, int side) {
    Surface& panel = f.PlayerPanels[size_t(side)];
    FillBlack(panel, TRect{3, 171, 153, 190});
    WriteCentred(panel, f.Images.Find("Font"), 78, 173, f.NewPilotName);
}

} // namespace

void TFrontEnd::SavePilots() {
    // A failed save loses only that record; the other pilot is still written.
    for (const TPilotRecord& pilot : Options.Players)
        SavePilot(Files, pilot);
}

void TFrontEnd::RedrawPilotSide(int side) {
    Surface& panel = PlayerPanels[size_t(side)];
    FillBlack(panel, TRect{0, 0, 157, 15});
    WriteCentred(panel, Images.Find("GreyFont"), 79, 0, Options.Players[size_t(side)].Name.Str());
    DrawFlagPicture(side);
    LoadShipPicture(side);
    DrawPilotPicture(side);
    DrawPilotStats(side);
}

void TFrontEnd::PilotChosen(int side, const std::string& row) {
    TPilotRecord& pilot = Options.Players[size_t(side)];
    SavePilot(Files, pilot);
    if (IsNewPilotRow(row)) {
        OpenNameEntry(*this, side);
        return;
    }
    TPilotLevel level = TPilotLevel::Normal;
    if (IsComputerRow(row, level)) {
        // The computer flies the ship, flag and weapons the side had, under the row's name, from
        // empty statistics.
        pilot.Name.Set(row);
        pilot.ClearCounters();
        GameState = gsMainMenu;
        RedrawPilotSide(side);
        return;
    }
    // A pilot whose ship or flag is gone flies the first ones found rather than none.
    if (LoadPilot(Files, pilot, row)) UseDefaultsForUnusablePaths(pilot, Files);
    GameState = gsMainMenu;
    RedrawPilotSide(side);
}

void TFrontEnd::NameEntryFrame(int side) {
    if (!KeyboardMenu) return;
    KeyboardMenu->Draw(BackSurface);
    // Letters come from the on-screen keys and from the keyboard alike.
    if (NewPilotName.size() < NewPilotNameCapacity) {
        for (int key = 0; key < LetterKeys; ++key) {
            if (!KeyboardMenu->ItemClicked(key)) continue;
            if (!AppendPilotNameLetter(NewPilotName, KeyLetters[key])) break;
            DrawTypedName(*this, side);
        }
        for (int key = keyA; key <= keyZ; ++key) {
            if (!Input.KeyPressed(TKey(key))) continue;
            if (!AppendPilotNameLetter(NewPilotName, char('A' + (key - keyA)))) break;
            DrawTypedName(*this, side);
        }
    }
    if (NewPilotName.empty()) return;
    if (KeyboardMenu->ItemClicked(BackspaceKey) || Input.KeyPressed(keyBackspace)) {
        RemovePilotNameLetter(NewPilotName);
        DrawTypedName(*this, side);
    }
    // Return confirms the name; it begins no match until it has been let go.
    const bool returnPressed = Input.Now.Has(menuReturn) && !Input.Before.Has(menuReturn);
    if (KeyboardMenu->ItemClicked(ReturnKey) || returnPressed) {
        ReturnHeldSinceNaming = Input.Now.Has(menuReturn);
        // A name that is taken, or cannot be a folder, leaves the current pilot as it was.
        CreatePilot(Files, Options, side, NewPilotName);
        GameState = gsMainMenu;
        RedrawPilotSide(side);
    }
}
