// CareersTestKit: the game object, clicks and text reading of the career screen tests.
#include "CareersTestKit.h"

#include "core/OptionsFile.h"
#include "frontend/PilotFiles.h"

namespace {
const std::string CellChars = "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789.,:'-/%()";
}

TCareers::TCareers() {
    Game = std::make_unique<TGame>(Platform, TFiles(FLARONS_GAME_DIR, Home.Path), TCommandLine{});
    Game->Front.Options = DefaultOptions(Game->Front.Files);
    Game->Front.Prepare();
}

void TCareers::UseCellFont(const std::string& name, int cellWidth, int height) {
    for (TPictureItem& item : Game->Images.Items)
        if (item.Name == name) item = MakeCellFont(name, cellWidth, height, int(CellChars.size()));
}

std::string TCareers::ReadText(const Surface& target, int cellWidth, int x, int y, size_t length) {
    std::string text;
    for (size_t i = 0; i < length; ++i) {
        const uint32_t px = target.Pixel(x + int(i) * cellWidth, y);
        text += px == 0 ? ' ' : px <= CellChars.size() ? CellChars[px - 1] : '?';
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

void TCareers::WritePilot(const std::string& name) const {
    TPilotRecord pilot = DefaultPilot(0, "graphics\\arrow_ship.bmp", "graphics\\sun_flag.bmp");
    pilot.Name.Set(name);
    std::vector<uint8_t> bytes(PilotRecordSize, 0);
    pilot.Write(bytes.data());
    Home.Write("pilots/" + name + "/Pilot.DAT", bytes);
}

void TCareersTest::SetUp() {
    C.UseCellFont("Font", FontCell, 10);
    C.UseCellFont("GreyFont", 10, 15);
}

void TCareersTest::Open(uint8_t state) {
    F.GameState = state;
    F.ListTop = 0;
    F.BuildListPage();
}

void TCareersTest::Choose(int row) {
    TCareers::ClickItem(*F.ListMenu, row);
    F.ListFrame();
}
