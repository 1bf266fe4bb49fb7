// ShipPainter: the ship designs and the painter that turns a design into a 64 x 64 ship picture.
#pragma once

#include "media/Surface.h"

#include <cstdint>
#include <string>
#include <vector>

// The materials a ship is built of; each is shaded in its own way.
enum class ShipMaterial : uint8_t { None, Hull, Wing, Trim, Glass, Metal, Engine };

// One filled shape of the right half of a ship; it is mirrored about the centre line.
// Coordinates: u is the distance from the centre line, y the picture row (0 at the top).
struct ShipShape {
    enum class Kind : uint8_t { Polygon, Ellipse, Box } Shape = Kind::Polygon;
    ShipMaterial Material = ShipMaterial::Hull;
    std::vector<double> Points; // polygon: u0, y0, u1, y1, ...; ellipse: cu, cy, ru, ry; box: u0, y0, u1, y1
};

struct ShipDesign {
    std::string Name; // file name stem, `arrow` gives `arrow_ship.bmp`
    uint32_t HullColor = 0;
    uint32_t WingColor = 0;
    uint32_t TrimColor = 0;
    uint32_t GlassColor = 0;
    std::vector<ShipShape> Shapes; // later shapes paint over earlier ones
    std::vector<double> Guns;      // u, y pairs: where a barrel ends; u 0 is the centre line
    std::vector<double> Nozzles;   // u, y pairs: where an exhaust ends
    std::vector<double> PanelRows; // rows of recessed panel seams on hull and wings
};

// The body pixels a valid ship picture must have, and how far it may stray.
constexpr int ShipBodyTarget = 984;
constexpr int ShipBodyTolerance = 10;

// Pixels that are neither black nor a pure red nozzle nor a pure green gun.
int CountShipBodyPixels(const Surface& picture);

const std::vector<ShipDesign>& ShipDesigns();
// Paints the design, widened or narrowed until it has the target number of body pixels, with the
// nozzle and gun markers just outside the hull.
Surface PaintShip(const ShipDesign& design);
