// Ships: writes the ship pictures, the flags and the pilot figure into the game folder.
#include "content/FlagArt.h"
#include "content/GameFolder.h"
#include "content/ShipPainter.h"

#include <cstdlib>

bool WriteShipsAndFlags(const std::string& dir) {
    bool ok = true;
    for (const ShipDesign& design : ShipDesigns()) {
        const Surface ship = PaintShip(design);
        // A ship the game would mark as invalid must stop the build rather than ship.
        if (std::abs(CountShipBodyPixels(ship) - ShipBodyTarget) > ShipBodyTolerance) ok = false;
        ok = ship.SaveToBmp(dir + "/graphics/" + design.Name + "_ship.bmp") && ok;
    }
    for (const FlagPicture& flag : PaintFlags())
        ok = flag.Picture.SaveToBmp(dir + "/graphics/" + flag.Name + "_flag.bmp") && ok;
    ok = PaintPilotFigure().SaveToBmp(dir + "/graphics/menu/flaron.bmp") && ok;
    return ok;
}
