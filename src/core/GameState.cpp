// GameState: the front-end set.
#include "core/GameState.h"

bool IsFrontEndState(uint8_t state) {
    switch (state) {
    case gsMainMenu:
    case gsShipSelect1:
    case gsShipSelect2:
    case gsColourSelect1:
    case gsColourSelect2:
    case gsMapSelect:
    case gsReplaySelect:
    case gsFlagSelect1:
    case gsFlagSelect2:
    case gsPilotSelect1:
    case gsPilotSelect2:
    case gsNewPilot1:
    case gsNewPilot2:
    case gsWeaponSelect1:
    case gsWeaponSelect2:
    case gsControls1:
    case gsControls2:
        return true;
    default:
        return false;
    }
}
