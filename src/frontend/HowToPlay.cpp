// HowToPlay: the page of rules a new player needs, in two columns beside small pictures.
#include "frontend/FrontEnd.h"

#include "core/Controls.h"
#include "core/Files.h"
#include "media/FrameTimer.h"
#include "media/ImageList.h"
#include "text/Font.h"

#include <algorithm>
#include <array>
#include <filesystem>

namespace {

constexpr int IconSize = 32;
constexpr int LinePitch = 8;

struct TRule {
    const char* Heading;
    std::array<const char*, 4> Lines;
};

// In the order of the pictures in HowToIcons.bmp; the first five fill the left column. The fonts
// have letters, digits and . , : ' - / % ( ) * only.
constexpr std::array<TRule, 9> Rules = {{
    {"Controls",
     {"Player 1 flies in the left view, player 2 in the right.",
      "Player 1: W thrust, A and D turn, Tab and S fire.",
      "Player 2: Up thrust, Left and Right turn, Return and Down",
      "fire (default keys). Escape: the menu, Back resumes."}},
    {"Thrust and gravity",
     {"Your ship pushes only the way its nose points, and gravity",
      "pulls it down all the time: turn, then thrust in short",
      "bursts. Thrust burns fuel. Flying into rock wrecks the ship.", ""}},
    {"Land gently",
     {"Your base is the pad in your colour. Come down slowly and",
      "level: touching down too fast wrecks the ship, even on", "your own pad.", ""}},
    {"Your base",
     {"Resting on your own pad repairs, refuels and rearms the",
      "ship. There a held fire key opens that weapon page: turn", "left and right to pick a weapon.", ""}},
    {"Your own shots",
     {"Blasts and homing missiles hurt the ship that fired them:",
      "a missile that loses its target may come back for you.", "", ""}},
    {"Pilots on foot",
     {"A wrecked ship throws its pilot out. Turn keys walk, thrust",
      "lifts the jet pack, fire still shoots. Reach your own pad",
      "for a new ship. A pilot who is shot dies: a life is lost.", ""}},
    {"Lives and points",
     {"Wreck the other ship or shoot its pilot to score. The",
      "match ends at the points limit or when a player loses the",
      "last life (both set under match setup, NO: no limit).", "More points wins."}},
    {"Flags",
     {"Fly close to the other player's flag to grab it: it follows",
      "your ship. Bring it to your own pad while your own flag", "is at home: a capture is worth 5 points.",
      ""}},
    {"Ranks",
     {"Every match earns your pilot experience, and each new rank",
      "unlocks more weapons on the weapon pages and in the", "weapon menu (the WEAP button of your panel).",
      ""}},
}};

// Where rule k starts: the left column holds five rules, the right four.
TRect RuleArea(size_t k) {
    const int column = k < 5 ? 0 : 1;
    const int row = column == 0 ? int(k) : int(k) - 5;
    const int x = 20 + 310 * column;
    const int y = 66 + 76 * row;
    return TRect{x, y, x + 290, y + 72};
}

} // namespace

void TFrontEnd::HowToFrame() {
    if (!HowToMenu) {
        HowToMenu =
            std::make_unique<TGameMenu>(Files, "graphics\\menu\\cursor.bmp", ScreenWidth, ScreenHeight);
        HowToMenu->AddArea(0, 0, ScreenWidth, ScreenHeight);
    }
    const auto load = [this](const char* file, Surface& into) {
        const std::filesystem::path path = Files.ForReading(file);
        if (into.Empty() && !path.empty()) into.LoadFromFile(path.string(), MenuPictureLimit);
    };
    load("graphics\\menu\\HowToPage.bmp", HowToPage);
    load("graphics\\menu\\HowToIcons.bmp", HowToIcons);
    BackSurface.Fill(0);
    BackSurface.Draw(0, 0, HowToPage, false);
    const TPictureItem& heading = Images.Find("Font");
    const TPictureItem& body = Images.Find("SmallFont");
    for (size_t k = 0; k < Rules.size(); ++k) {
        const TRect area = RuleArea(k);
        BackSurface.DrawRect(area.Left, area.Top, HowToIcons,
                             TRect{IconSize * int(k), 0, IconSize * int(k + 1), IconSize}, true);
        DrawText(BackSurface, heading, area.Left + IconSize + 8, area.Top + 4, Rules[k].Heading);
        for (size_t line = 0; line < Rules[k].Lines.size(); ++line)
            DrawText(BackSurface, body, area.Left + IconSize + 8, area.Top + 24 + LinePitch * int(line),
                     Rules[k].Lines[line]);
    }

    // The page takes the pointer; the menus under it see no button, so the closing click acts on
    // nothing below.
    TGameMenu& main = *MainMenu;
    const int16_t dx = int16_t(std::clamp(Input.Devices.MouseDX, -32768, 32767));
    const int16_t dy = int16_t(std::clamp(Input.Devices.MouseDY, -32768, 32767));
    HowToMenu->SetCursorPos(main.CursorX, main.CursorY);
    HowToMenu->MoveCursor(dx, dy, Input.Devices.MouseLeft);
    main.MoveCursor(dx, dy, false);
    main.DrawCursor(BackSurface, uint16_t(std::clamp(FrameTimer.MeasuredFrameRate, 1, 0xFFFF)), CursorRandom);
    const bool escape = Input.Now.Has(menuEscape) && !Input.Before.Has(menuEscape);
    if (escape || HowToMenu->ItemClicked(0)) HowToShown = false;
}
