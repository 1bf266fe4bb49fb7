// GameState: names and the front-end set.
#include "core/GameState.h"

const char* GameStateName(uint8_t state) {
    static const char* const names[GameStateCount] = {
        "gsMainMenu",      "gsMatch",         "gsQuit",         "gsStartup",      "gsShipSelect1",  "gsShipSelect2",
        "gsColourSelect1", "gsColourSelect2", "gsMapSelect",    "gsFlagSelect1",  "gsFlagSelect2",  "gsMatchEnd",
        "gsPilotSelect1",  "gsPilotSelect2",  "gsNewPilot1",    "gsNewPilot2",    "gsWeaponSelect1", "gsWeaponSelect2"};
    return state < GameStateCount ? names[state] : "?";
}

bool IsFrontEndState(uint8_t state) {
    switch (state) {
    case gsMainMenu:
    case gsShipSelect1:
    case gsShipSelect2:
    case gsColourSelect1:
    case gsColourSelect2:
    case gsMapSelect:
    case gsFlagSelect1:
    case gsFlagSelect2:
    case gsPilotSelect1:
    case gsPilotSelect2:
    case gsNewPilot1:
    case gsNewPilot2:
    case gsWeaponSelect1:
    case gsWeaponSelect2: return true;
    default: return false;
    }
}
