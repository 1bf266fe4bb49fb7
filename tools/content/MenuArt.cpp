// MenuArt: writes the menu, pointer, keyboard and status-bar pictures of graphics/menu.
#include "content/GameFolder.h"
#include "content/MenuArtHowTo.h"
#include "content/MenuArtScreens.h"
#include "content/MenuArtTitle.h"
#include "content/MenuArtWidgets.h"

#include <filesystem>
#include <string>

namespace {

using namespace menuart;

constexpr const char* LookSuffix[3] = {"I", "H", "C"};
constexpr TLook Looks[3] = {TLook::Idle, TLook::Hover, TLook::Click};

struct TWriter {
    std::string Menu;
    bool Ok = true;
    void Save(const std::string& name, const Surface& s) { Ok = s.SaveToBmp(Menu + name) && Ok; }
    // One file per look: NAME + I/H/C + extension.
    template <typename TMake> void Three(const std::string& name, const std::string& ext, TMake make) {
        for (int k = 0; k < 3; ++k)
            Save(name + LookSuffix[k] + ext, make(Looks[k]));
    }
};

} // namespace

bool WriteMenuArt(const std::string& dir) {
    std::error_code ec;
    std::filesystem::create_directories(std::filesystem::path(dir) / "graphics" / "menu" / "keys", ec);
    TWriter w;
    w.Menu = dir + "/graphics/menu/";

    w.Save("init.bmp", MakeTitlePicture());
    w.Save("cursor.bmp", MakeCursor());
    w.Save("Background.bmp", MakeBackground());
    w.Save("status_bg.bmp", MakeStatusBackground());
    w.Save("status_bars.bmp", MakeStatusBars());
    w.Save("neopalette.bmp", MakePalette());
    w.Save("HowToPage.bmp", MakeHowToPage());
    w.Save("HowToIcons.bmp", MakeHowToIcons());

    w.Three("Back", ".bmp", [](TLook l) { return MakeTextButton(BackSize, "BACK", Face::Big, 1, l); });
    w.Three("Begin", ".bmp", [](TLook l) { return MakeTextButton(BeginSize, "BEGIN", Face::Big, 2, l); });
    w.Three("Quit", ".bmp", [](TLook l) { return MakeIconButton(QuitSize, TIcon::Power, l); });
    w.Three("About", ".bmp", [](TLook l) { return MakeIconButton(AboutSize, TIcon::Question, l); });
    w.Three("HowTo", ".bmp",
            [](TLook l) { return MakeTextButton(HowToSize, "HOW TO PLAY", Face::Big, 1, l); });
    w.Three("Weap", ".bmp", [](TLook l) { return MakeWeaponsButton(l); });
    w.Three("Keys", ".bmp", [](TLook l) { return MakeKeysButton(l); });
    w.Three("KeyDefaults", ".bmp",
            [](TLook l) { return MakeTextButton(ControlsButtonSize, "DEFAULTS", Face::Big, 1, l); });
    w.Three("PadSwap", ".bmp",
            [](TLook l) { return MakeTextButton(ControlsButtonSize, "SWAP PADS", Face::Big, 1, l); });
    w.Three("pilvenstre", ".bmp", [](TLook l) { return MakeIconButton(OptionArrowSize, TIcon::Left, l); });
    w.Three("pilhoejre", ".bmp", [](TLook l) { return MakeIconButton(OptionArrowSize, TIcon::Right, l); });
    w.Three("FileSelect", ".Bmp", [](TLook l) { return MakeListRow(l); });
    w.Three("pilop_green", ".Bmp", [](TLook l) { return MakeScrollArrow(SideArrowSize, true, true, l); });
    w.Three("pilned_green", ".Bmp", [](TLook l) { return MakeScrollArrow(SideArrowSize, false, true, l); });
    w.Three("pilop", ".Bmp", [](TLook l) { return MakeScrollArrow(MapArrowSize, true, false, l); });
    w.Three("pilned", ".Bmp", [](TLook l) { return MakeScrollArrow(MapArrowSize, false, false, l); });

    for (char letter : std::string("QWERTYUIOPASDFGHJKLZXCVBNM")) {
        w.Save(std::string("keys/") + letter + "I.bmp", MakeLetterKey(letter, false));
        w.Save(std::string("keys/") + letter + "H.bmp", MakeLetterKey(letter, true));
    }
    w.Save("keys/BSI.bmp", MakeBackspaceKey(false));
    w.Save("keys/BSH.bmp", MakeBackspaceKey(true));
    w.Save("keys/RetI.bmp", MakeReturnKey(false));
    w.Save("keys/RetH.bmp", MakeReturnKey(true));
    return w.Ok;
}
