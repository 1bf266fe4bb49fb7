// ControlsScreen: the controls panel of a player, drawn on that player's side panel.
#include "frontend/ControlsScreen.h"

#include "core/Controls.h"
#include "frontend/FrontEnd.h"
#include "frontend/PanelDrawing.h"
#include "media/Canvas.h"
#include "media/ImageList.h"
#include "text/Font.h"

#include <algorithm>
#include <cctype>
#include <vector>

namespace {

// Panel rows: the title, the five actions, the message, the buttons, the keyboard and the pad line.
constexpr int TitleY = 99;
constexpr int RowY = 116; // the first action row; rows are 16 pixels apart
constexpr int MessageY = 198;
constexpr int ButtonY = 213;
constexpr int KeyboardY = 233;
constexpr int LegendY = 275;
constexpr int PadLineY = 283;
constexpr int KeyColumn = 36;
constexpr int PadColumn = 86;
constexpr int DefaultsItem = ActionCount;
constexpr int SwapItem = ActionCount + 1;

constexpr const char* ActionLabels[ActionCount] = {"THRUST", "LEFT", "RIGHT", "FIRE 1", "FIRE 2"};
// Short names of the pad controls, so that two fit beside a key name on a row.
constexpr const char* PadLabels[PadControlCount] = {
    "A",      "B",      "X",      "Y",      "BACK",    "GUIDE",   "START",   "LSTICK",  "RSTICK", "LB", "RB",
    "DPAD-U", "DPAD-D", "DPAD-L", "DPAD-R", "STICK-L", "STICK-R", "STICK-U", "STICK-D", "LT",     "RT"};

std::string Upper(std::string_view text) {
    std::string out(text);
    for (char& c : out)
        c = char(std::toupper(static_cast<unsigned char>(c)));
    return out;
}

std::string PadText(uint32_t controls) {
    std::string out;
    // Appended piece by piece: GCC 12 at -O3 misreads a sum of temporaries as an overlapping copy.
    for (int c = 0; c < PadControlCount; ++c) {
        if (((controls >> c) & 1u) == 0) continue;
        if (!out.empty()) out += ' ';
        out += PadLabels[c];
    }
    return out.empty() ? "-" : out;
}

int PanelX(int side) {
    return 22 + 440 * side;
}

// One key of the drawn keyboard, in panel pixels.
struct TKeyCell {
    TKey Key;
    int X, Y, W, H;
};
struct TRowKey {
    TKey Key; // KeyCount leaves a gap
    int W;
};

// A small keyboard: the main block, the six keys over the arrows and the keypad, keys five pixels
// wide with a pixel between them.
std::vector<TKeyCell> KeyboardCells() {
    constexpr TKey gap = KeyCount;
    using TRows = std::vector<std::vector<TRowKey>>;
    const TRows block = {
        {{keyGrave, 5},
         {key1, 5},
         {key2, 5},
         {key3, 5},
         {key4, 5},
         {key5, 5},
         {key6, 5},
         {key7, 5},
         {key8, 5},
         {key9, 5},
         {key0, 5},
         {keyMinus, 5},
         {keyEquals, 5},
         {keyBackspace, 11}},
        {{keyTab, 8},
         {keyQ, 5},
         {keyW, 5},
         {keyE, 5},
         {keyR, 5},
         {keyT, 5},
         {keyY, 5},
         {keyU, 5},
         {keyI, 5},
         {keyO, 5},
         {keyP, 5},
         {keyLeftBracket, 5},
         {keyRightBracket, 5},
         {keyBackslash, 8}},
        {{gap, 10},
         {keyA, 5},
         {keyS, 5},
         {keyD, 5},
         {keyF, 5},
         {keyG, 5},
         {keyH, 5},
         {keyJ, 5},
         {keyK, 5},
         {keyL, 5},
         {keySemicolon, 5},
         {keyApostrophe, 5},
         {keyReturn, 12}},
        {{keyLeftShift, 13},
         {keyZ, 5},
         {keyX, 5},
         {keyC, 5},
         {keyV, 5},
         {keyB, 5},
         {keyN, 5},
         {keyM, 5},
         {keyComma, 5},
         {keyPeriod, 5},
         {keySlash, 5},
         {keyRightShift, 14}},
        {{keyLeftCtrl, 8},
         {gap, 8},
         {keyLeftAlt, 8},
         {keySpace, 35},
         {keyRightAlt, 8},
         {gap, 8},
         {keyRightCtrl, 8}},
    };
    const TRows nav = {
        {{keyInsert, 5}, {keyHome, 5}, {keyPageUp, 5}},
        {{keyDelete, 5}, {keyEnd, 5}, {keyPageDown, 5}},
        {},
        {{gap, 5}, {keyUp, 5}},
        {{keyLeft, 5}, {keyDown, 5}, {keyRight, 5}},
    };
    const TRows pad = {
        {{gap, 5}, {keyPadDivide, 5}, {keyPadMultiply, 5}, {keyPadMinus, 5}},
        {{keyPad7, 5}, {keyPad8, 5}, {keyPad9, 5}},
        {{keyPad4, 5}, {keyPad5, 5}, {keyPad6, 5}},
        {{keyPad1, 5}, {keyPad2, 5}, {keyPad3, 5}},
        {{keyPad0, 11}, {keyPadPeriod, 5}},
    };
    std::vector<TKeyCell> cells;
    const auto lay = [&](const TRows& rows, int left) {
        for (size_t r = 0; r < rows.size(); ++r) {
            int x = left;
            for (const TRowKey& k : rows[r]) {
                if (k.Key != gap) cells.push_back({k.Key, x, KeyboardY + 8 * int(r), k.W, 7});
                x += k.W + 1;
            }
        }
    };
    lay(block, 10);
    lay(nav, 103);
    lay(pad, 123);
    // The keypad's plus stands two rows high at the right of 7 8 9 and 4 5 6.
    cells.push_back({keyPadPlus, 141, KeyboardY + 8, 5, 15});
    return cells;
}

// The label a key carries on the small keyboard: its letter, digit or sign, when the font has one.
std::string KeyCap(TKey key) {
    if (key >= keyA && key <= keyZ) return std::string(1, char('A' + (key - keyA)));
    if (key >= key0 && key <= key9) return std::string(1, char('0' + (key - key0)));
    if (key >= keyPad0 && key <= keyPad9) return std::string(1, char('0' + (key - keyPad0)));
    switch (key) {
    case keyMinus:
    case keyPadMinus:
        return "-";
    case keyComma:
        return ",";
    case keyPeriod:
    case keyPadPeriod:
        return ".";
    case keySlash:
    case keyPadDivide:
        return "/";
    case keyApostrophe:
        return "'";
    case keyPadMultiply:
        return "*";
    default:
        return "";
    }
}

TControlsScreen& Screen(TFrontEnd& f) {
    return f.Controls;
}

void Save(TFrontEnd& f) {
    if (!f.SaveBindings()) f.Controls.Message = "COULD NOT SAVE CONTROLS.INI";
}

// The title, the rows with the current bindings, the message and the legend, on the side panel.
void DrawControlsPanel(TFrontEnd& f, int side) {
    Surface& panel = f.PlayerPanels[size_t(side)];
    FillBlack(panel, TRect{0, TitleY, 158, 290});
    WriteCentred(panel, f.Images.Find("Font"), 79, TitleY, "Controls");
    const TPictureItem& grey = f.Images.Find("SmallFont");
    const TPictureItem& green = f.Images.Find("GreenFont");
    const TPictureItem& blue = f.Images.Find("BlueFont");
    const TPlayerBindings& b = f.Bindings.Players[size_t(side)];
    for (int a = 0; a < ActionCount; ++a) {
        const int y = RowY + 16 * a + 5;
        DrawText(panel, grey, 5, y, ActionLabels[a]);
        if (a == f.Controls.Waiting) {
            DrawText(panel, green, KeyColumn, y, "PRESS A KEY OR PAD BUTTON");
            continue;
        }
        DrawText(panel, green, KeyColumn, y, Upper(KeyName(b.Keys[size_t(a)])));
        DrawText(panel, blue, PadColumn, y, PadText(b.Pad[size_t(a)]));
    }
    // The message is broken into two lines of at most 38 letters, between words.
    std::string rest = f.Controls.Message;
    for (int line = 0; line < 2 && !rest.empty(); ++line) {
        size_t cut = rest.size() <= 38 ? rest.size() : rest.rfind(' ', 38);
        if (cut == std::string::npos || cut == 0) cut = std::min<size_t>(38, rest.size());
        WriteCentred(panel, green, 79, MessageY + 7 * line, rest.substr(0, cut));
        rest = DropFirst(rest, cut + (cut < rest.size() && rest[cut] == ' ' ? 1 : 0));
    }
    WriteCentred(panel, grey, 79, LegendY,
                 std::string("GREEN YOURS, BLUE PLAYER ") + char('2' - side) + "'S, LIT HELD");
}

// Binds a newly pressed key or pad control to the waiting action, or says why it cannot.
void TakePress(TFrontEnd& f, int side, uint32_t padPressed) {
    TControlsScreen& s = Screen(f);
    TPlayerBindings& b = f.Bindings.Players[size_t(side)];
    const size_t action = size_t(s.Waiting);
    for (int k = 0; k < KeyCount; ++k) {
        const TKey key = TKey(k);
        if (!f.Input.KeyPressed(key)) continue;
        if (const char* why = RefusedKey(f.Bindings, side, key)) {
            s.Message = Upper(KeyName(key)) + " REFUSED: " + Upper(why);
            return;
        }
        // A key of another of the player's own actions changes places with the old one.
        for (TKey& other : b.Keys)
            if (other == key) other = b.Keys[action];
        b.Keys[action] = key;
        s.Message = std::string(ActionLabels[action]) + " IS NOW " + Upper(KeyName(key));
        s.Waiting = -1;
        Save(f);
        return;
    }
    for (int c = 0; c < PadControlCount; ++c) {
        if (((padPressed >> c) & 1u) == 0) continue;
        if (c == padStart || c == padBack) {
            s.Message = "START AND BACK BELONG TO THE MENUS";
            return;
        }
        b.Pad[action] = 1u << c;
        s.Message = std::string(ActionLabels[action]) + " IS NOW PAD " + PadLabels[c];
        s.Waiting = -1;
        Save(f);
        return;
    }
}

void ResetToDefaults(TFrontEnd& f, int side) {
    const TPlayerBindings defaults = TBindings::Defaults().Players[size_t(side)];
    TBindings reset = f.Bindings;
    reset.Players[size_t(side)] = defaults;
    for (TKey key : defaults.Keys)
        if (RefusedKey(reset, side, key) != nullptr) {
            f.Controls.Message =
                Upper(KeyName(key)) + " IS PLAYER " + char('2' - side) + "'S NOW: CHANGE IT THERE FIRST";
            return;
        }
    f.Bindings = reset;
    f.Controls.Message = "DEFAULT CONTROLS";
    Save(f);
}

// The keys held now light up; the player's own keys are green, the other player's blue.
void DrawKeyTest(TFrontEnd& f, int side) {
    const TPictureItem& font = f.Images.Find("SmallFont");
    const int left = PanelX(side);
    const int top = 54;
    Canvas canvas(f.BackSurface);
    for (const TKeyCell& cell : KeyboardCells()) {
        // Canvas colours are 0x00BBGGRR: slate, green, blue and orange.
        uint32_t colour = 0x3C3028;
        for (int p = 0; p < 2; ++p)
            for (TKey key : f.Bindings.Players[size_t(p)].Keys)
                if (key == cell.Key) colour = p == side ? 0x2E6A1E : 0x783E1E;
        if (f.Input.Devices.Keys[cell.Key]) colour = 0x309AFF;
        canvas.BrushColor = colour;
        canvas.FillRect(TRect{left + cell.X, top + cell.Y, left + cell.X + cell.W, top + cell.Y + cell.H});
    }
    canvas.Release();
    for (const TKeyCell& cell : KeyboardCells())
        DrawText(f.BackSurface, font, left + cell.X + (cell.W - 3) / 2, top + cell.Y + 1, KeyCap(cell.Key));

    const int place = f.Bindings.PadOf(side);
    const TPadState& pad = f.Input.Devices.Pads[size_t(place)];
    const std::string line = "PAD " + std::to_string(place + 1) + ": " +
                             (pad.Connected ? "HELD " + (pad.Held() ? PadText(pad.Held()) : "NOTHING")
                                            : std::string("NOT CONNECTED"));
    WriteCentred(f.BackSurface, f.Images.Find("BlueFont"), left + 79, top + PadLineY, line);
}

} // namespace

void AddControlsButtons(TFrontEnd& f) {
    for (int side = 0; side < 2; ++side)
        f.Controls.OpenButtons[size_t(side)] =
            f.MainMenu->AddItem(uint16_t(27 + 440 * side), 344, "graphics\\menu\\KeysI.bmp",
                                "graphics\\menu\\KeysH.bmp", "graphics\\menu\\KeysC.bmp");
}

void OpenControls(TFrontEnd& f, int side) {
    TControlsScreen& s = Screen(f);
    s.Menu = std::make_unique<TGameMenu>(f.Files, "graphics\\menu\\cursor.bmp", ScreenWidth, ScreenHeight);
    s.Menu->OffsetX = int16_t(PanelX(side) - 1);
    s.Menu->OffsetY = 54;
    if (f.MainMenu) s.Menu->SetCursorPos(f.MainMenu->CursorX, f.MainMenu->CursorY);
    for (int a = 0; a < ActionCount; ++a)
        s.Menu->AddItem(0, uint16_t(RowY + 16 * a), "graphics\\menu\\FileSelectI.Bmp",
                        "graphics\\menu\\FileSelectH.Bmp", "graphics\\menu\\FileSelectC.Bmp");
    for (const auto& [x, stem] : {std::pair{5, "KeyDefaults"}, std::pair{82, "PadSwap"}})
        s.Menu->AddItem(uint16_t(x), ButtonY, std::string("graphics\\menu\\") + stem + "I.bmp",
                        std::string("graphics\\menu\\") + stem + "H.bmp",
                        std::string("graphics\\menu\\") + stem + "C.bmp");
    s.Waiting = -1;
    s.PadBefore = f.Input.Devices.Pads[size_t(f.Bindings.PadOf(side))].Held();
    s.Message = "CLICK AN ACTION, THEN PRESS ITS KEY OR PAD BUTTON";
    DrawControlsPanel(f, side);
}

void ControlsFrame(TFrontEnd& f, int side, int16_t dx, int16_t dy, bool button) {
    TControlsScreen& s = Screen(f);
    if (!s.Menu || (side != 0 && side != 1)) return;
    const uint32_t padHeld = f.Input.Devices.Pads[size_t(f.Bindings.PadOf(side))].Held();
    const uint32_t padPressed = padHeld & ~s.PadBefore;
    s.PadBefore = padHeld;
    bool changed = false;
    if (s.Waiting >= 0) {
        const std::string before = s.Message;
        TakePress(f, side, padPressed);
        changed = s.Message != before || s.Waiting < 0;
    }

    s.Menu->SetCursorPos(f.MainMenu->CursorX, f.MainMenu->CursorY);
    s.Menu->MoveCursor(dx, dy, button);
    s.Menu->Draw(f.BackSurface);
    for (int a = 0; a < ActionCount; ++a)
        if (s.Menu->ItemClicked(a)) {
            // A second click on the waiting action gives up waiting.
            s.Waiting = s.Waiting == a ? -1 : a;
            s.Message = s.Waiting < 0 ? "" : "PRESS THE NEW KEY OR PAD BUTTON, OR CLICK THE ROW AGAIN";
            changed = true;
        }
    if (s.Menu->ItemClicked(DefaultsItem)) {
        s.Waiting = -1;
        ResetToDefaults(f, side);
        changed = true;
    }
    if (s.Menu->ItemClicked(SwapItem)) {
        f.Bindings.SwapPads = !f.Bindings.SwapPads;
        s.Waiting = -1;
        s.PadBefore = f.Input.Devices.Pads[size_t(f.Bindings.PadOf(side))].Held();
        s.Message = "PLAYER " + std::to_string(side + 1) + " NOW FLIES WITH PAD " +
                    std::to_string(f.Bindings.PadOf(side) + 1);
        Save(f);
        changed = true;
    }
    if (changed) DrawControlsPanel(f, side);
    DrawKeyTest(f, side);
}

bool ControlsWaitForPress(const TFrontEnd& f) {
    return (f.GameState == gsControls1 || f.GameState == gsControls2) && f.Controls.Waiting >= 0;
}
