// ControlsScreen: a player's controls on the side panel: the five actions with their keys and pad
// controls, binding by a press, the defaults, the pads' order and a live test of the keys held now.
#pragma once

#include "frontend/Menu.h"

#include <array>
#include <cstdint>
#include <memory>
#include <string>

class TFrontEnd;

struct TControlsScreen {
    std::array<int, 2> OpenButtons{-1, -1}; // the main-menu buttons that open each side's screen
    std::unique_ptr<TGameMenu> Menu;        // the five action rows, Defaults and Swap pads
    int Waiting = -1;                       // the action the next key or pad press binds, -1 for none
    uint32_t PadBefore = 0;                 // the controls of the player's pad held the tick before
    std::string Message;                    // what the last press did, or why it was refused
};

// The two buttons that open the screens, added to the main menu at the foot of each side panel.
void AddControlsButtons(TFrontEnd& f);
void OpenControls(TFrontEnd& f, int side);
// One frame of the open screen: its pointer, rows and buttons, a waiting binding and the key test.
void ControlsFrame(TFrontEnd& f, int side, int16_t dx, int16_t dy, bool button);
// While a binding waits for a press, Return, Escape and a pad's Start and Back go to it: they
// neither begin a match nor leave the screen.
bool ControlsWaitForPress(const TFrontEnd& f);
