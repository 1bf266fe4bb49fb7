// FrontEnd: the front-end frame, the start-up menus and panels, the lists' scrolling and the way back from a
// match.
#include "frontend/FrontEnd.h"

#include "core/Controls.h"
#include "core/OptionsFile.h"
#include "media/Canvas.h"
#include "media/FrameTimer.h"
#include "media/ImageList.h"
#include "media/Sound.h"
#include "text/Font.h"

#include <algorithm>
#include <iterator>
#include <vector>

namespace {

const char* const MenuCursor = "graphics\\menu\\cursor.bmp";
const char* const KeyLetters = "QWERTYUIOPASDFGHJKLZXCVBNM";

// Main menu item indices, fixed by the order the items are added.
constexpr int miBack = 0;
constexpr int miQuit = 1;
constexpr int miAbout = 2;
constexpr int miBackdrop = 3;
constexpr int miBegin = 4;
constexpr int miWeapons1 = 19;
constexpr int miWeapons2 = 20;
constexpr int miHowTo = 21;

// Options menu item indices.
constexpr int oiMapLine = 0;
constexpr int oiPointsDown = 1;
constexpr int oiPointsUp = 2;
constexpr int oiLivesDown = 3;
constexpr int oiLivesUp = 4;
constexpr int oiReplays = 5;

// The map list and the replay list open in the centre panel, in place of the options.
bool CentreList(uint8_t state) {
    return state == gsMapSelect || state == gsReplaySelect;
}

// The selector buttons in the order a frame tests them, with the state each one opens.
struct TSelectorButton {
    int Item;
    int Side;
    uint8_t Target;
};
constexpr const char* HostChoosesNote = "the host chooses the map and the options";

constexpr TSelectorButton SelectorButtons[] = {
    {9, 0, gsShipSelect1},    {10, 1, gsShipSelect2},   {17, 0, gsPilotSelect1}, {18, 1, gsPilotSelect2},
    {7, 0, gsColourSelect1},  {8, 1, gsColourSelect2},  {5, 0, gsFlagSelect1},   {6, 1, gsFlagSelect2},
    {19, 0, gsWeaponSelect1}, {20, 1, gsWeaponSelect2},
};

// The side a selector state belongs to: 0 or 1, or -1 for the main menu, the map list and the rest.
int SideOf(uint8_t state) {
    switch (state) {
    case gsShipSelect1:
    case gsColourSelect1:
    case gsFlagSelect1:
    case gsPilotSelect1:
    case gsNewPilot1:
    case gsWeaponSelect1:
    case gsControls1:
        return 0;
    case gsShipSelect2:
    case gsColourSelect2:
    case gsFlagSelect2:
    case gsPilotSelect2:
    case gsNewPilot2:
    case gsWeaponSelect2:
    case gsControls2:
        return 1;
    default:
        return -1;
    }
}

bool IsSideListState(uint8_t state) {
    return state == gsShipSelect1 || state == gsShipSelect2 || state == gsFlagSelect1 ||
           state == gsFlagSelect2 || state == gsPilotSelect1 || state == gsPilotSelect2;
}

// The option bytes stay within 0..99, whatever a stored record held.
uint8_t OptionDown(uint8_t v) {
    return (v == 0 || v > 99) ? 99 : uint8_t(v - 1);
}
uint8_t OptionUp(uint8_t v) {
    return v >= 99 ? 0 : uint8_t(v + 1);
}

std::string MenuFile(const std::string& name) {
    return "graphics\\menu\\" + name;
}

int AddButton(TGameMenu& menu, uint16_t x, uint16_t y, const std::string& stem) {
    return menu.AddItem(x, y, MenuFile(stem + "I.bmp"), MenuFile(stem + "H.bmp"), MenuFile(stem + "C.bmp"));
}

int16_t Mouse16(int v) {
    return static_cast<int16_t>(std::clamp(v, -32768, 32767));
}

// Why a match could not start, in place of the hints under the panels: up to two lines, broken
// between words.
void DrawStartError(Surface& back, const TPictureItem& font, const std::string& reason) {
    Canvas canvas(back);
    canvas.BrushColor = 0;
    canvas.FillRect(TRect{14, 422, 626, 454});
    canvas.Release();
    std::string rest = reason;
    for (int line = 0; line < 2 && !rest.empty(); ++line) {
        size_t cut = rest.size();
        while (cut > 0 && TextWidth(font, rest.substr(0, cut)) > 600) {
            const size_t blank = rest.rfind(' ', cut - 1);
            cut = blank == std::string::npos || blank == 0 ? cut - 1 : blank;
        }
        const std::string text = rest.substr(0, cut);
        DrawText(back, font, 320 - TextWidth(font, text) / 2, 425 + 15 * line, text);
        rest = rest.substr(cut < rest.size() && rest[cut] == ' ' ? cut + 1 : cut);
    }
}

} // namespace

TFrontEnd::TFrontEnd(const TFrontEndContext& context) : TFrontEndContext(context) {}

void TFrontEnd::ShowBackButton() {
    if (MainMenu && MainMenu->ItemCount() > miBack) MainMenu->Items[miBack].Visible = true;
}

void TFrontEnd::HideBackButton() {
    if (MainMenu && MainMenu->ItemCount() > miBack) MainMenu->Items[miBack].Visible = false;
}

void TFrontEnd::Prepare() {
    BuildMenus();
    for (size_t p = 0; p < 2; ++p) {
        ShipPreviews[p] = Surface();
        PlayerPanels[p].SetSize(158, 362);
    }
    OptionsPanel.SetSize(205, 162);
    MenuBackground.SetSize(ScreenWidth, ScreenHeight);
    AboutSurface.SetSize(132, 106);
    AboutShown = false;
    LoadShipPicture(0);
    LoadShipPicture(1);
}

void TFrontEnd::DrawStartupPanels() {
    const TPictureItem& font = Images.Find("GreyFont");
    for (int p = 0; p < 2; ++p) {
        const std::string name = Options.Players[size_t(p)].Name.Str();
        DrawText(PlayerPanels[size_t(p)], font, 79 - TextWidth(font, name) / 2, 0, name);
        DrawPilotPicture(p);
        DrawFlagPicture(p);
    }
    DrawPilotStats(0);
    DrawPilotStats(1);
    DrawOptionsPanel();
    DrawAboutText();
}

void TFrontEnd::ReturnToMenu(bool resumable) {
    // Before the first match there is no world to take a still from: the background stays.
    if (World) RefreshMenuBackground();
    if (resumable) ShowBackButton();
    DrawPilotStats(0);
    DrawPilotStats(1);
    DrawOptionsPanel();
}

void TFrontEnd::BuildMenus() {
    ListMenu = std::make_unique<TGameMenu>(Files, MenuCursor, ScreenWidth, ScreenHeight);
    MainMenu = std::make_unique<TGameMenu>(Files, MenuCursor, ScreenWidth, ScreenHeight);
    OptionsMenu = std::make_unique<TGameMenu>(Files, MenuCursor, ScreenWidth, ScreenHeight);
    KeyboardMenu = std::make_unique<TGameMenu>(Files, MenuCursor, ScreenWidth, ScreenHeight);

    TGameMenu& main = *MainMenu;
    AddButton(main, 0, 458, "Back");
    // Back only makes sense once a match has been interrupted.
    main.Items[miBack].Visible = false;
    AddButton(main, 618, 458, "Quit");
    AddButton(main, 595, 458, "About");
    main.AddImageItem(10, 10, MenuFile("Background.bmp"));
    AddButton(main, 280, 379, "Begin");
    main.AddArea(27, 105, 32, 24); // flags
    main.AddArea(467, 105, 32, 24);
    main.AddArea(149, 105, 24, 14); // colours
    main.AddArea(589, 105, 24, 14);
    main.AddArea(69, 89, 64, 64); // ships
    main.AddArea(509, 89, 64, 64);
    for (int side = 0; side < 2; ++side)
        for (int row = 0; row < 3; ++row)
            main.AddArea(uint16_t(23 + 440 * side), uint16_t(182 + 70 * row), 154, 39);
    main.AddArea(22, 55, 158, 15); // pilot names
    main.AddArea(461, 55, 158, 15);
    AddButton(main, 157, 344, "Weap");
    AddButton(main, 596, 344, "Weap");
    AddButton(main, 488, 458, "HowTo"); // miHowTo
    AddControlsButtons(*this);          // their numbers are kept where they are made

    TGameMenu& options = *OptionsMenu;
    options.AddArea(217, 264, 205, 15);
    AddButton(options, 364, 294, "pilvenstre");
    AddButton(options, 400, 294, "pilhoejre");
    AddButton(options, 364, 314, "pilvenstre");
    AddButton(options, 400, 314, "pilhoejre");
    options.AddArea(217, 346, 205, 15);

    TGameMenu& keys = *KeyboardMenu;
    for (int i = 0; i < 26; ++i) {
        const int x = i < 10 ? 15 * i : i < 19 ? 15 * (i - 10) + 7 : 15 * (i - 19) + 15;
        const int y = i < 10 ? 0 : i < 19 ? 15 : 30;
        const std::string stem = MenuFile(std::string("keys\\") + KeyLetters[i]);
        keys.AddItem(uint16_t(x), uint16_t(y), stem + "I.bmp", stem + "H.bmp", stem + "I.bmp");
    }
    keys.AddItem(0, 30, MenuFile("keys\\BSI.bmp"), MenuFile("keys\\BSH.bmp"), MenuFile("keys\\BSI.bmp"));
    keys.AddItem(120, 30, MenuFile("keys\\RetI.bmp"), MenuFile("keys\\RetH.bmp"), MenuFile("keys\\RetI.bmp"));
    keys.OffsetX = 25;
    keys.OffsetY = 314;
}

bool TFrontEnd::ListFrame() {
    // A click on an arrow rebuilds the menu, whose fresh items carry no click for the row loop.
    if (ListMenu->ItemClicked(ListUpItem)) {
        --ListTop;
        BuildListPage();
    }
    if (ListMenu->ItemClicked(ListDownItem)) {
        ++ListTop;
        BuildListPage();
    }
    bool chosen = false;
    for (int i = 0; i < ListMenu->ItemCount(); ++i)
        if (ListMenu->ItemClicked(i)) {
            ChooseListRow(i);
            chosen = true;
        }
    return chosen;
}

void TFrontEnd::Frame() {
    if (HowToShown) {
        HowToFrame();
        return;
    }
    const int16_t dx = Mouse16(Input.Devices.MouseDX);
    const int16_t dy = Mouse16(Input.Devices.MouseDY);
    const bool button = Input.Devices.MouseLeft;
    // Return types into the name entry and binds on the controls screen: there it begins no match.
    const bool bindingWaits = ControlsWaitForPress(*this);
    const bool naming = GameState == gsNewPilot1 || GameState == gsNewPilot2 || bindingWaits;
    if (!Input.Now.Has(menuReturn)) ReturnHeldSinceNaming = false;
    TGameMenu& main = *MainMenu;

    MapPreviewFrame();
    if (AboutShown) AboutFrame();
    main.Draw(BackSurface);

    ++PreviewAngle;
    for (int p = 0; p < 2; ++p) {
        BackSurface.Draw(22 + 440 * p, 54, PlayerPanels[size_t(p)], true);
        const Surface& ship = ShipPreviews[size_t(p)];
        // The two ships turn in opposite directions.
        BackSurface.DrawRotated(101 + 440 * p, 115, ship.Width, ship.Height, ship, ship.ClientRect(), 0.5,
                                0.5, int(PreviewAngle) * (2 * p - 1), true);
        if (Options.Players[size_t(p)].ShipValid == 0)
            Images.Find("NIX!").Draw(BackSurface, 73 + 440 * p, 87, 0);
    }
    BackSurface.Draw(217, 254, OptionsPanel, true);

    std::vector<TSelectorButton> selectors(std::begin(SelectorButtons), std::end(SelectorButtons));
    selectors.push_back({Controls.OpenButtons[0], 0, gsControls1});
    selectors.push_back({Controls.OpenButtons[1], 1, gsControls2});
    for (const TSelectorButton& b : selectors) {
        if (!main.ItemClicked(b.Item) || b.Side == PartnerSide) continue;
        if (SideOf(GameState) == 1 - b.Side) DrawPilotStats(1 - b.Side);
        if (CentreList(GameState)) DrawOptionsPanel();
        if (GameState == b.Target) {
            GameState = gsMainMenu;
            DrawPilotStats(b.Side);
            continue;
        }
        GameState = b.Target;
        switch (b.Target) {
        case gsColourSelect1:
        case gsColourSelect2:
            DrawColourPicker(b.Side);
            break;
        case gsWeaponSelect1:
        case gsWeaponSelect2:
            PrepareWeaponLists(b.Side);
            DrawWeaponPanel(b.Side);
            break;
        case gsControls1:
        case gsControls2:
            OpenControls(*this, b.Side);
            break;
        default:
            ListTop = 0;
            BuildListPage();
            break;
        }
    }

    if (CentreList(GameState)) {
        main.Items[miBegin].Visible = false;
        ListMenu->MoveCursor(dx, dy, button);
        ListMenu->Draw(BackSurface);
        if (ListFrame()) {
            GameState = gsMainMenu;
            OptionsMenu->MoveCursor(0, 0, button);
            DrawOptionsPanel();
        }
    } else {
        main.Items[miBegin].Visible = true;
        // The main pointer moves at the end of the frame; the options panel takes this frame's
        // movement now, so a press sees the pointer where the button went down.
        OptionsMenu->SetCursorPos(main.CursorX, main.CursorY);
        OptionsMenu->MoveCursor(dx, dy, button);
        OptionsMenu->Draw(BackSurface);
    }

    // While a centre list is open the options menu was not updated and may still hold the click
    // that opened the list, so its buttons are left alone.
    for (const auto& [item, list] :
         {std::pair{oiMapLine, gsMapSelect}, std::pair{oiReplays, gsReplaySelect}}) {
        if (CentreList(GameState) || !OptionsMenu->ItemClicked(item)) continue;
        if (HostChooses && item == oiMapLine) {
            MatchStartError = HostChoosesNote;
            continue;
        }
        const int side = SideOf(GameState);
        if (side >= 0) DrawPilotStats(side);
        GameState = list;
        ListTop = 0;
        BuildListPage();
    }
    const struct {
        int Item;
        uint8_t* Value;
        bool Up;
    } arrows[] = {{oiPointsDown, &Options.PointsLimit, false},
                  {oiPointsUp, &Options.PointsLimit, true},
                  {oiLivesDown, &Options.Lives, false},
                  {oiLivesUp, &Options.Lives, true}};
    for (const auto& arrow : arrows) {
        if (CentreList(GameState) || !OptionsMenu->ItemClicked(arrow.Item)) continue;
        if (HostChooses) {
            MatchStartError = HostChoosesNote;
            continue;
        }
        *arrow.Value = arrow.Up ? OptionUp(*arrow.Value) : OptionDown(*arrow.Value);
        DrawOptionsPanel();
    }

    if (IsSideListState(GameState)) {
        ListMenu->MoveCursor(dx, dy, button);
        ListMenu->Draw(BackSurface);
        ListFrame();
    }

    // The palettes and the keyboard cover the weapons button of their side.
    main.Items[miWeapons1].Visible = GameState != gsColourSelect1 && GameState != gsNewPilot1;
    main.Items[miWeapons2].Visible = GameState != gsColourSelect2 && GameState != gsNewPilot2;
    for (int side = 0; side < 2; ++side)
        if (Controls.OpenButtons[size_t(side)] >= 0)
            main.Items[size_t(Controls.OpenButtons[size_t(side)])].Visible =
                main.Items[size_t(side == 0 ? miWeapons1 : miWeapons2)].Visible;

    if (GameState == gsColourSelect1 || GameState == gsColourSelect2) ColourPick(SideOf(GameState));
    if ((GameState == gsWeaponSelect1 || GameState == gsWeaponSelect2) && main.ItemClicked(miBackdrop))
        WeaponPick(SideOf(GameState));
    if (GameState == gsNewPilot1 || GameState == gsNewPilot2) NameEntryFrame(SideOf(GameState));
    if (GameState == gsControls1 || GameState == gsControls2)
        ControlsFrame(*this, SideOf(GameState), dx, dy, button);
    // A Return taken by a waiting binding begins no match until it is let go.
    if (bindingWaits && Input.Now.Has(menuReturn)) ReturnHeldSinceNaming = true;

    main.DrawCursor(BackSurface, uint16_t(std::clamp(FrameTimer.MeasuredFrameRate, 1, 0xFFFF)), CursorRandom);

    if (main.ItemClicked(miBack)) {
        GameState = gsMatch;
        TWaveItem& thrust = Sounds.Find("Thrust");
        thrust.SetVolume(Sounds.Mixer, -10000);
        thrust.Play(Sounds.Mixer);
    }
    if (main.ItemClicked(miQuit)) GameState = gsQuit;
    // Return is read as held, so it starts a match from any panel but the name entry; after a refused
    // start only a new press tries again.
    const bool returnHeld = Input.Now.Has(menuReturn) && !naming && !ReturnHeldSinceNaming;
    if (!returnHeld) MatchStartRefused = false;
    if ((main.ItemClicked(miBegin) || (returnHeld && !MatchStartRefused)) && !StartMatch())
        MatchStartRefused = true;
    if (!MatchStartError.empty() && IsFrontEndState(GameState))
        DrawStartError(BackSurface, Images.Find("Font"), MatchStartError);
    if (main.ItemClicked(miHowTo)) HowToShown = true;
    if (main.ItemClicked(miAbout)) {
        AboutShown = !AboutShown;
        AboutScroll = 0;
        AboutPhase = 3;
    }

    main.MoveCursor(dx, dy, button);
    KeyboardMenu->MoveCursor(dx, dy, button);
}
