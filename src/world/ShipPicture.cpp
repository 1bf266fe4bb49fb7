// ShipPicture: ship picture check and pilot recolouring.
#include "world/ShipPicture.h"

#include "core/Files.h"
#include "core/PilotRecord.h"

#include <cstdlib>

bool ShipPictureValid(const Surface& picture) {
    if (picture.Width > ShipMaxSide || picture.Height > ShipMaxSide) return false;
    int body = 0;
    for (uint32_t px : picture.Pixels) {
        const uint32_t c = px & 0xFFFFFF;
        if (c != 0 && c != 0xFF0000 && c != 0x00FF00) ++body;
    }
    return std::abs(body - ShipBodyPixels) <= ShipBodyTolerance;
}

bool CheckShipPicture(const TFiles& files, const std::string& shipFile) {
    const auto path = files.ForReading(shipFile);
    if (path.empty()) return true;
    Surface picture;
    if (!picture.LoadFromFile(path.string(), ShipPictureLimit)) return false;
    return ShipPictureValid(picture);
}

void RecolourPilot(Surface& surface, const TPilotRecord& pilot) {
    const uint32_t pants = WinToPixel(pilot.PantsColour);
    const uint32_t shirt = WinToPixel(pilot.ShirtColour);
    const uint32_t helmet = WinToPixel(pilot.HelmetColour);
    for (uint32_t& px : surface.Pixels) {
        const uint32_t c = px & 0xFFFFFF;
        if (c == 0xFF0000)
            px = pants;
        else if (c == 0x00FF00)
            px = shirt;
        else if (c == 0x0000FF)
            px = helmet;
    }
}
