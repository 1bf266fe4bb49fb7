// Selectors: the ship, flag, pilot and map lists, the colour picker, the weapon selector, the options
// panel and the small pictures of the side panels.
#include "frontend/FrontEnd.h"

#include "combat/Weapon.h"
#include "core/Files.h"
#include "core/OptionsFile.h"
#include "core/WeaponNames.h"
#include "frontend/PanelDrawing.h"
#include "frontend/PilotFiles.h"
#include "frontend/Ranks.h"
#include "media/Canvas.h"
#include "media/ImageList.h"
#include "text/Font.h"
#include "world/ShipPicture.h"

#include <algorithm>

namespace {

const TRect SelectorArea{0, 99, 157, 309};
constexpr size_t LabelLength = 16;
constexpr int SideRows = 11;
constexpr int MapRows = 8;
constexpr uint8_t NoArrow = 42;
constexpr uint8_t NoWeapon = 255;
constexpr int ListLength = 25;

// Weapons that only a pilot of some standing may choose; every other weapon is open from level 1.
uint8_t UnlockLevel(int weapon) {
    switch (weapon) {
    case 19:
        return 2;
    case 20:
        return 4;
    case 21:
        return 6;
    case 22:
        return 8;
    case 4:
        return 11;
    case 5:
        return 7;
    case 10:
        return 5;
    case 12:
        return 13;
    case 15:
        return 9;
    case 16:
        return 12;
    case 18:
        return 20;
    default:
        return 1;
    }
}

int SideOfList(uint8_t state) {
    switch (state) {
    case gsShipSelect2:
    case gsFlagSelect2:
    case gsPilotSelect2:
        return 1;
    default:
        return 0;
    }
}

// A fresh list menu whose pointer starts where the main pointer is, so the first movement of the
// mouse is measured from the place the player sees.
void StartListPage(TFrontEnd& f, const std::string& cursorFile) {
    f.ListMenu = std::make_unique<TGameMenu>(f.Files, cursorFile, ScreenWidth, ScreenHeight);
    if (f.MainMenu) f.ListMenu->MoveCursor(f.MainMenu->CursorX, f.MainMenu->CursorY, false);
    f.ListFiles.clear();
    f.ListUpItem = NoArrow;
    f.ListDownItem = NoArrow;
}

void AddRow(TFrontEnd& f, int x, int y) {
    f.ListMenu->AddItem(uint16_t(x), uint16_t(y), "graphics\\menu\\FileSelectI.Bmp",
                        "graphics\\menu\\FileSelectH.Bmp", "graphics\\menu\\FileSelectC.Bmp");
}

void AddArrows(TFrontEnd& f, bool up, bool down, int x, int upY, int downY, const std::string& upImages,
               const std::string& downImages) {
    if (up)
        f.ListUpItem = uint8_t(f.ListMenu->AddItem(uint16_t(x), uint16_t(upY), upImages + "I.Bmp",
                                                   upImages + "H.Bmp", upImages + "C.Bmp"));
    if (down)
        f.ListDownItem = uint8_t(f.ListMenu->AddItem(uint16_t(x), uint16_t(downY), downImages + "I.Bmp",
                                                     downImages + "H.Bmp", downImages + "C.Bmp"));
}

// The pilot's private pictures first, then the common ones, as game paths. A pilot name that
// could not be a folder never becomes part of a path.
std::vector<std::string> PictureFiles(const TFrontEnd& f, int side, const std::string& pattern) {
    std::vector<std::string> paths;
    const std::string name = f.Options.Players[size_t(side)].Name.Str();
    if (ValidPilotName(name)) {
        const std::string folder = "pilots\\" + name + "\\";
        for (const std::string& file : f.Files.FindFiles(folder + pattern))
            paths.push_back(folder + file);
    }
    for (const std::string& file : f.Files.FindFiles("graphics\\" + pattern))
        paths.push_back("graphics\\" + file);
    return paths;
}

void BuildPictureList(TFrontEnd& f, int side, const std::string& pattern) {
    Surface& panel = f.PlayerPanels[size_t(side)];
    StartListPage(f, "graphics\\menu\\cursor.bmp");
    FillBlack(panel, SelectorArea);
    const TPictureItem& font = f.Images.Find("Font");
    const std::vector<std::string> paths = PictureFiles(f, side, pattern);
    const size_t first = std::min<size_t>(f.ListTop, paths.size());
    for (size_t i = first; i < paths.size() && f.ListFiles.size() < size_t(SideRows); ++i) {
        const int r = int(f.ListFiles.size());
        AddRow(f, PilotRowItemX(side), PilotRowItemY(r));
        f.ListFiles.push_back(paths[i]);
        // The label is the name without its `_ship.bmp` or `_flag.bmp` ending.
        const std::string label = KeepFirst(DropLast(PathFileName(paths[i]), 9), LabelLength);
        WriteCentred(panel, font, 79, PilotRowLabelY(r), label);
    }
    AddArrows(f, f.ListTop > 0, first + f.ListFiles.size() < paths.size(), PilotArrowX(side), PilotUpArrowY,
              PilotDownArrowY, "graphics\\menu\\pilop_green", "graphics\\menu\\pilned_green");
}

void BuildPilotList(TFrontEnd& f, int side) {
    Surface& panel = f.PlayerPanels[size_t(side)];
    StartListPage(f, "graphics\\menu\\cursor.bmp");
    FillBlack(panel, SelectorArea);
    const TPictureItem& font = f.Images.Find("Font");
    const std::string other = f.Options.Players[size_t(1 - side)].Name.Str();
    const TPilotListPage page = PilotListPage(PilotListEntries(f.Files, other), f.ListTop);
    for (size_t r = 0; r < page.Rows.size(); ++r) {
        AddRow(f, PilotRowItemX(side), PilotRowItemY(int(r)));
        f.ListFiles.push_back(page.Rows[r]);
        WriteCentred(panel, font, 79, PilotRowLabelY(int(r)), page.Rows[r]);
    }
    AddArrows(f, page.UpArrow, page.DownArrow, PilotArrowX(side), PilotUpArrowY, PilotDownArrowY,
              "graphics\\menu\\pilop_green", "graphics\\menu\\pilned_green");
}

// The map list, or the replay list in the same place and form: the files of a folder by name.
void BuildMapList(TFrontEnd& f, const std::string& folder, const std::string& extension) {
    f.OptionsPanel.Fill(0);
    StartListPage(f, "graphics\\cursor.bmp");
    const TPictureItem& font = f.Images.Find("GreyFont");
    const std::vector<std::string> maps = f.Files.FindFiles(folder + "\\*" + extension);
    const size_t first = std::min<size_t>(f.ListTop, maps.size());
    for (size_t i = first; i < maps.size() && f.ListFiles.size() < size_t(MapRows); ++i) {
        const int r = int(f.ListFiles.size());
        AddRow(f, 239, 270 + 16 * r);
        f.ListFiles.push_back(folder + "\\" + maps[i]);
        WriteCentred(f.OptionsPanel, font, 102, 17 + 16 * r,
                     KeepFirst(DropLast(maps[i], extension.size()), LabelLength));
    }
    AddArrows(f, f.ListTop > 0, first + f.ListFiles.size() < maps.size(), 303, 254, 399,
              "graphics\\menu\\pilop", "graphics\\menu\\pilned");
}

// The ship preview from a picture file, with the exhaust and gun markers made transparent.
void LoadPreview(TFrontEnd& f, int side, const std::string& file) {
    const std::filesystem::path path = f.Files.ForReading(file);
    Surface& preview = f.ShipPreviews[size_t(side)];
    // A picture that cannot be a ship shows no ship rather than the one chosen before.
    if (path.empty() || !preview.LoadFromFile(path.string(), ShipPictureLimit)) {
        preview = Surface();
        return;
    }
    for (uint32_t& px : preview.Pixels) {
        const uint32_t c = px & 0xFFFFFF;
        if (c == 0x00FF00 || c == 0xFF0000) px = 0;
    }
}

} // namespace

void TFrontEnd::BuildListPage() {
    switch (GameState) {
    case gsShipSelect1:
    case gsShipSelect2:
        BuildPictureList(*this, SideOfList(GameState), "*_ship.bmp");
        break;
    case gsFlagSelect1:
    case gsFlagSelect2:
        BuildPictureList(*this, SideOfList(GameState), "*_flag.bmp");
        break;
    case gsPilotSelect1:
    case gsPilotSelect2:
        BuildPilotList(*this, SideOfList(GameState));
        break;
    case gsMapSelect:
        BuildMapList(*this, "maps", ".map");
        break;
    case gsReplaySelect:
        BuildMapList(*this, "replays", ".rpl");
        break;
    default:
        break;
    }
}

void TFrontEnd::ChooseListRow(int row) {
    if (row < 0 || size_t(row) >= ListFiles.size()) return;
    const std::string chosen = ListFiles[size_t(row)];
    const int side = SideOfList(GameState);
    TPilotRecord& pilot = Options.Players[size_t(side)];
    switch (GameState) {
    case gsShipSelect1:
    case gsShipSelect2:
        pilot.ShipFile.Set(chosen);
        LoadPreview(*this, side, chosen);
        pilot.ShipValid = CheckShipPicture(Files, chosen) ? 1 : 0;
        GameState = gsMainMenu;
        DrawPilotStats(side);
        break;
    case gsFlagSelect1:
    case gsFlagSelect2:
        pilot.FlagFile.Set(chosen);
        GameState = gsMainMenu;
        DrawFlagPicture(side);
        DrawPilotStats(side);
        break;
    case gsPilotSelect1:
    case gsPilotSelect2:
        PilotChosen(side, chosen);
        break;
    case gsMapSelect:
        Options.MapFile.Set(chosen);
        GameState = gsMainMenu;
        DrawOptionsPanel();
        break;
    case gsReplaySelect:
        WatchRequest = chosen;
        GameState = gsMainMenu;
        DrawOptionsPanel();
        break;
    default:
        break;
    }
}

void TFrontEnd::LoadShipPicture(int player) {
    LoadPreview(*this, player, Options.Players[size_t(player)].ShipFile.Str());
}

void TFrontEnd::DrawFlagPicture(int player) {
    Surface& panel = PlayerPanels[size_t(player)];
    FillBlack(panel, TRect{5, 50, 37, 74});
    const std::filesystem::path path = Files.ForReading(Options.Players[size_t(player)].FlagFile.Str());
    Surface flag;
    if (path.empty() || !flag.LoadFromFile(path.string(), FlagPictureLimit)) return;
    panel.Draw(5, 50, flag, true);
    // A flag of another size would be cut or stretched in a match: mark it as unusable.
    if (flag.Width != 32 || flag.Height != 24) Images.Find("NIXFLAG").Draw(panel, 5, 50, 0);
}

void TFrontEnd::DrawPilotPicture(int player) {
    const std::filesystem::path path = Files.ForReading("graphics\\menu\\flaron.bmp");
    Surface figure;
    if (path.empty() || !figure.LoadFromFile(path.string(), ShipPictureLimit)) return;
    RecolourPilot(figure, Options.Players[size_t(player)]);
    PlayerPanels[size_t(player)].Draw(127, 50, figure, true);
}

void TFrontEnd::DrawOptionsPanel() {
    OptionsPanel.Fill(0);
    const TPictureItem& font = Images.Find("GreyFont");
    const std::string map = DropLast(DropFirst(Options.MapFile.Str(), 5), 4);
    DrawText(OptionsPanel, font, 10, 10, KeepFirst("MAP: " + map, 47));
    DrawText(OptionsPanel, font, 10, 40, "Points limit:  " + OptionValueText(Options.PointsLimit));
    DrawText(OptionsPanel, font, 10, 60, "Lives:.......  " + OptionValueText(Options.Lives));
    DrawText(OptionsPanel, font, 10, 94, "WATCH REPLAYS");
}

void TFrontEnd::DrawColourPicker(int side) {
    Surface& panel = PlayerPanels[size_t(side)];
    FillBlack(panel, SelectorArea);
    const TPictureItem& font = Images.Find("Font");
    WriteCentred(panel, font, 79, 108, "Helmet color:");
    WriteCentred(panel, font, 79, 178, "Shirt color:");
    WriteCentred(panel, font, 79, 248, "Pants color:");
    const std::filesystem::path path = Files.ForReading("graphics\\menu\\neopalette.bmp");
    Surface palette;
    if (path.empty() || !palette.LoadFromFile(path.string(), MenuPictureLimit)) return;
    for (int y : {128, 198, 268})
        panel.Draw(1, y, palette, true);
}

void TFrontEnd::ColourPick(int side) {
    if (!MainMenu) return;
    TPilotRecord& pilot = Options.Players[size_t(side)];
    const std::array<uint32_t*, 3> targets{&pilot.HelmetColour, &pilot.ShirtColour, &pilot.PantsColour};
    for (int k = 0; k < 3; ++k) {
        if (!MainMenu->ItemClicked(11 + 3 * side + k)) continue;
        // The colour under the pointer in the frame being drawn, whatever shows there.
        *targets[size_t(k)] = PixelToWin(BackSurface.Pixel(MainMenu->CursorX, MainMenu->CursorY));
        DrawPilotPicture(side);
    }
}

void TFrontEnd::PrepareWeaponLists(int side) {
    WeaponLists.fill(NoWeapon);
    std::array<int, 2> counts{0, 0};
    const int level = RankLevel(Options.Players[size_t(side)].Experience);
    for (int w = 0; w < WeaponCount; ++w) {
        TWeapon probe;
        probe.Setup(uint8_t(w));
        const size_t list = probe.LightWeapon != 0 ? 0 : 1;
        if (level < UnlockLevel(w)) continue;
        WeaponLists[list * ListLength + size_t(counts[list])] = uint8_t(w);
        ++counts[list];
    }
    WeaponPageSel = {2, 2};
    for (int k = 0; k < 2; ++k)
        WeaponColumnRects[size_t(k)] = {uint16_t(440 * side + 25 + 77 * k), 154,
                                        uint16_t(440 * side + 97 + 77 * k),
                                        uint16_t(152 + 8 * counts[size_t(k)])};
}

void TFrontEnd::DrawWeaponPanel(int side) {
    Surface& panel = PlayerPanels[size_t(side)];
    FillBlack(panel, SelectorArea);
    const TPictureItem& font = Images.Find("SmallFont");
    const TPilotRecord& pilot = Options.Players[size_t(side)];
    // Page 0 in blue, page 1 in red; the line inside a bar tells the weapon's place in its page.
    const std::array<uint32_t, 2> fills{0x804040, 0x404080};
    const std::array<uint32_t, 2> lines{0x965656, 0x565696};
    for (int i = 0; i < 2 * ListLength; ++i) {
        const uint8_t w = WeaponLists[size_t(i)];
        if (w == NoWeapon) continue;
        const int x0 = 77 * (i / ListLength);
        const int y = 8 * (i % ListLength);
        Canvas canvas(panel);
        for (int j = 0; j < 10; ++j) {
            if (pilot.Weapons[size_t(j)] != w) continue;
            const size_t page = size_t(j / 5);
            if (WeaponPageSel[page] == j % 5) {
                canvas.PenColor = 0x000001;
                canvas.BrushColor = 0x000001;
                canvas.Rectangle(x0 + 2, y + 99, x0 + 77, y + 108);
            }
            canvas.BrushColor = fills[page];
            canvas.FillRect(TRect{x0 + 3, y + 100, x0 + 76, y + 107});
            canvas.PenColor = lines[page];
            canvas.MoveTo(x0 + 3, y + 101 + j % 5);
            canvas.LineTo(x0 + 76, y + 101 + j % 5);
        }
        canvas.Release();
        WriteCentred(panel, font, x0 + 40, y + 101, std::string(WeaponName(w)));
    }
}

void TFrontEnd::WeaponPick(int side) {
    if (!MainMenu) return;
    TPilotRecord& pilot = Options.Players[size_t(side)];
    const int x = MainMenu->CursorX;
    const int y = MainMenu->CursorY;
    for (size_t k = 0; k < 2; ++k) {
        const std::array<uint16_t, 4>& r = WeaponColumnRects[k];
        if (x < r[0] || x > r[2] || y < r[1] || y > r[3]) continue;
        const int row = (y - 154) / 8;
        if (row < 0 || row >= ListLength) continue;
        const uint8_t w = WeaponLists[k * ListLength + size_t(row)];
        if (w == NoWeapon) continue;
        int found = -1;
        for (int j = 0; j < 5; ++j)
            if (pilot.Weapons[5 * k + size_t(j)] == w) found = j;
        if (found >= 0)
            WeaponPageSel[k] = uint8_t(found);
        else
            pilot.Weapons[5 * k + WeaponPageSel[k]] = w;
        DrawWeaponPanel(side);
    }
}
