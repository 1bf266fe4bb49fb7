// MenuArtWidgets: the small menu pictures: buttons, arrows, list rows, keyboard keys, pointer, palette.
#pragma once

#include "content/MenuArtFont.h"
#include "media/Surface.h"

#include <string>

namespace menuart {

// Idle, highlighted and clicked, in the order of the I, H and C files.
enum class TLook { Idle, Hover, Click };

struct TSize {
    int W = 0;
    int H = 0;
};

// Each size is cut to the room the front end leaves at the item's position: Quit and About share the
// 45 pixels right of x 595, the option arrows flank the two digits that start at x 377, list rows
// are 16 pixels apart, keys 15.
constexpr TSize BackSize{64, 22};
constexpr TSize QuitSize{22, 22};
constexpr TSize AboutSize{22, 22};
constexpr TSize HowToSize{104, 22}; // left of About
constexpr TSize BeginSize{80, 28};
constexpr TSize WeapSize{22, 24};
constexpr TSize KeysSize{22, 24};           // opens the controls screen, left of the panel's foot
constexpr TSize ControlsButtonSize{72, 16}; // Defaults and Swap pads on the controls screen
constexpr TSize OptionArrowSize{12, 15};
constexpr TSize FileRowSize{160, 16};
constexpr TSize SideArrowSize{30, 16};
constexpr TSize MapArrowSize{32, 16};
constexpr TSize KeySize{14, 14};
constexpr TSize ReturnKeySize{29, 14};
constexpr int CursorFrames = 10;
constexpr TSize CursorFrameSize{16, 19};
constexpr TSize PaletteSize{154, 39};

enum class TIcon { Left, Right, Up, Down, Question, Power, Crosshair, Backspace, Keyboard };

// A bevelled steel button with a centred label; the clicked look is sunken and lit orange.
Surface MakeTextButton(TSize size, const std::string& label, Face face, int scale, TLook look);
Surface MakeIconButton(TSize size, TIcon icon, TLook look);
// The weapons button: a gun sight over the word.
Surface MakeWeaponsButton(TLook look);
// The controls button: a small keyboard over the word.
Surface MakeKeysButton(TLook look);
// Scroll arrows; green for the side panels, blue for the map list.
Surface MakeScrollArrow(TSize size, bool up, bool green, TLook look);
// A list row: only its ends and edges are drawn, so the label underneath stays readable.
Surface MakeListRow(TLook look);
// A keyboard key with a letter, or the Backspace and Return keys.
Surface MakeLetterKey(char letter, bool highlighted);
Surface MakeBackspaceKey(bool highlighted);
Surface MakeReturnKey(bool highlighted);
// The pointer strip: frame 0 at rest, frames 1-9 a gleam running from the tip to the tail.
Surface MakeCursor();
// The colour field of the colour picker: hue across, pale to deep down, a grey ramp at the right.
Surface MakePalette();

} // namespace menuart
