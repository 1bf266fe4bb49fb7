// CareersTestKit: the game object, menus, clicks and text reading of the career screen tests.
#include "CareersTestKit.h"

#include "core/OptionsFile.h"
#include "frontend/PilotFiles.h"

#include <cctype>

namespace {
const std::string CellChars = "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789.,:'-/%()";
}

std::string Upper(std::string text) {
    for (char& c : text)
        c = char(std::toupper(static_cast<unsigned char>(c)));
    return text;
}

TCareers::TCareers() {
    Game = std::make_unique<TGame>(Platform, TFiles(FLARONS_GAME_DIR, Home.Path), TCommandLine{});
    TFrontEnd& f = Game->Front;
    f.Options = DefaultOptions(f.Files);
    f.PlayerPanels[0].SetSize(158, 362);
    f.PlayerPanels[1].SetSize(158, 362);
    f.OptionsPanel.SetSize(205, 162);
    f.MenuBackground.SetSize(ScreenWidth, ScreenHeight);
    const std::string menu = "graphics\\menu\\";
    f.MainMenu = std::make_unique<TGameMenu>(f.Files, menu + "cursor.bmp", 640, 480);
    TGameMenu& m = *f.MainMenu;
    m.AddItem(0, 458, menu + "BackI.bmp", menu + "BackH.bmp", menu + "BackC.bmp");
    m.AddItem(618, 458, menu + "QuitI.bmp", menu + "QuitH.bmp", menu + "QuitC.bmp");
    m.AddItem(595, 458, menu + "AboutI.bmp", menu + "AboutH.bmp", menu + "AboutC.bmp");
    m.AddImageItem(10, 10, menu + "Background.bmp");
    m.AddItem(280, 379, menu + "BeginI.bmp", menu + "BeginH.bmp", menu + "BeginC.bmp");
    m.AddArea(27, 105, 32, 24);
    m.AddArea(467, 105, 32, 24);
    m.AddArea(149, 105, 24, 14);
    m.AddArea(589, 105, 24, 14);
    m.AddArea(69, 89, 64, 64);
    m.AddArea(509, 89, 64, 64);
    for (int side = 0; side < 2; ++side)
        for (int k = 0; k < 3; ++k)
            m.AddArea(uint16_t(23 + 440 * side), uint16_t(182 + 70 * k), 154, 39);
    m.AddArea(22, 55, 158, 15);
    m.AddArea(461, 55, 158, 15);
    m.AddItem(157, 344, menu + "WeapI.bmp", menu + "WeapH.bmp", menu + "WeapC.bmp");
    m.AddItem(596, 344, menu + "WeapI.bmp", menu + "WeapH.bmp", menu + "WeapC.bmp");
    m.Items[0].Visible = false;

    f.OptionsMenu = std::make_unique<TGameMenu>(f.Files, menu + "cursor.bmp", 640, 480);
    f.OptionsMenu->AddArea(217, 264, 205, 15);
    for (int row = 0; row < 2; ++row) {
        f.OptionsMenu->AddItem(364, uint16_t(294 + 20 * row), menu + "pilvenstreI.bmp",
                               menu + "pilvenstreH.bmp", menu + "pilvenstreC.bmp");
        f.OptionsMenu->AddItem(400, uint16_t(294 + 20 * row), menu + "pilhoejreI.bmp",
                               menu + "pilhoejreH.bmp", menu + "pilhoejreC.bmp");
    }
    f.ListMenu = std::make_unique<TGameMenu>(f.Files, menu + "cursor.bmp", 640, 480);

    f.KeyboardMenu = std::make_unique<TGameMenu>(f.Files, menu + "cursor.bmp", 640, 480);
    TGameMenu& k = *f.KeyboardMenu;
    k.OffsetY = 314;
    const std::string letters = "QWERTYUIOPASDFGHJKLZXCVBNM";
    for (int i = 0; i < 26; ++i) {
        const int x = i < 10 ? 15 * i : i < 19 ? 15 * (i - 10) + 7 : 15 * (i - 19) + 15;
        const int y = i < 10 ? 0 : i < 19 ? 15 : 30;
        const std::string key = menu + "keys\\" + letters[size_t(i)];
        k.AddItem(uint16_t(x), uint16_t(y), key + "I.bmp", key + "H.bmp", key + "I.bmp");
    }
    k.AddItem(0, 30, menu + "keys\\BSI.bmp", menu + "keys\\BSH.bmp", menu + "keys\\BSI.bmp");
    k.AddItem(120, 30, menu + "keys\\RetI.bmp", menu + "keys\\RetH.bmp", menu + "keys\\RetI.bmp");
}

void TCareers::UseCellFont(const std::string& name, int cellWidth, int height) {
    for (TPictureItem& item : Game->Images.Items)
        if (item.Name == name) item = MakeCellFont(name, cellWidth, height, int(CellChars.size()));
}

std::string TCareers::ReadText(const Surface& target, int cellWidth, int x, int y, size_t length) {
    std::string text;
    for (size_t i = 0; i < length; ++i) {
        const uint32_t px = target.Pixel(x + int(i) * cellWidth, y);
        if (px == 0)
            text += ' ';
        else if (px <= CellChars.size())
            text += CellChars[px - 1];
        else
            text += '?';
    }
    return text;
}

std::string TCareers::ReadCentred(const Surface& target, int cellWidth, int x, int y, size_t length) {
    return ReadText(target, cellWidth, x - int(length) * cellWidth / 2, y, length);
}

void TCareers::Click(TGameMenu& menu, int x, int y) {
    menu.MoveCursor(int16_t(x - menu.CursorX), int16_t(y - menu.CursorY), true);
    menu.MoveCursor(0, 0, false);
}

void TCareers::ClickItem(TGameMenu& menu, int index) {
    const TGameMenuItem& item = menu.Items[size_t(index)];
    Click(menu, menu.OffsetX + item.X + 1, menu.OffsetY + item.Y + 1);
}

void TCareers::ServeList() {
    TFrontEnd& f = Game->Front;
    if (f.ListMenu->ItemClicked(f.ListUpItem)) {
        --f.ListTop;
        f.BuildListPage();
    }
    if (f.ListMenu->ItemClicked(f.ListDownItem)) {
        ++f.ListTop;
        f.BuildListPage();
    }
    for (int i = 0; i < f.ListMenu->ItemCount(); ++i)
        if (f.ListMenu->ItemClicked(i)) f.ChooseListRow(i);
}

void TCareers::WritePilot(const std::string& name) const {
    TPilotRecord pilot = DefaultPilot(0, "graphics\\arrow_ship.bmp", "graphics\\sun_flag.bmp");
    pilot.Name.Set(name);
    std::vector<uint8_t> bytes(PilotRecordSize, 0);
    pilot.Write(bytes.data());
    Home.Write("pilots/" + name + "/Pilot.DAT", bytes);
}
