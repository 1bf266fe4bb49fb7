// GameState: the program-wide byte that says which screen runs.
#pragma once

#include <cstdint>

enum TGameState : uint8_t {
    gsMainMenu = 0,
    gsMatch = 1,
    gsQuit = 2,
    gsStartup = 3,
    gsShipSelect1 = 4,
    gsShipSelect2 = 5,
    gsColourSelect1 = 6,
    gsColourSelect2 = 7,
    gsMapSelect = 8,
    gsFlagSelect1 = 9,
    gsFlagSelect2 = 10,
    gsMatchEnd = 11,
    gsPilotSelect1 = 12,
    gsPilotSelect2 = 13,
    gsNewPilot1 = 14,
    gsNewPilot2 = 15,
    gsWeaponSelect1 = 16,
    gsWeaponSelect2 = 17,
    gsControls1 = 18,
    gsControls2 = 19,
    gsReplaySelect = 20, // the list of replays in the centre panel, as the map list
};

// The front-end screens: the main menu and every side or centre panel.
bool IsFrontEndState(uint8_t state);
