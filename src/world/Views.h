// Views: drawing the two players' views of the world and the dots of the projectile pool.
#pragma once

#include "media/Surface.h"
#include "world/Projectile.h"

#include <vector>

// Clears `dots` and plots one pixel of its colour per live record 0..highest seen from the camera
// (cameraX, cameraY); records off the surface are skipped.
void DrawDots(Surface& dots, const std::vector<TProjectile>& pool, int highest, float cameraX, float cameraY);

// A world position seen from a camera coordinate: both taken to the nearest integer first.
// False when the position is too far off to be on any screen.
bool ViewPixel(double position, double camera, int& out);
