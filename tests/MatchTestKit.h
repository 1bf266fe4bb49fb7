// MatchTestKit: an empty world of a match, built from a map on disk, with terrain painted in by the test.
#pragma once

#include "CombatTestKit.h"

#include <memory>
#include <utility>
#include <vector>

// CombatWorld of width x height empty pixels, player 1 starting at start1, player 2 at start2, with
// the combat sounds at hand in Waves.
struct TMatchWorld {
    std::unique_ptr<TWorld> Map;
    TWorld* World = nullptr; // the world built here, still reachable once a game has taken it over
    TWaveList Waves = CombatSounds();

    TMatchWorld(int width, int height, std::pair<float, float> start1, std::pair<float, float> start2);

    TShip& Ship(int p) { return World->Ships[size_t(p)]; }
    // Writes a terrain class and a visible pixel for it into the play field.
    void Paint(int x, int y, uint8_t cls, uint32_t pixel = 0x806040);
    // The cells of the terrain row `row` from x0 to x1 inclusive.
    void PaintRow(int x0, int x1, int row, uint8_t cls);
    // The ship's current silhouette and where its pixel (c, r) lies in the world.
    const Surface& Mask(int p);
    std::pair<int, int> WorldCell(int p, int c, int r);
    // Every opaque pixel (c, r) of the current silhouette, rows first.
    std::vector<std::pair<int, int>> OpaquePixels(int p);
    // Puts ship p so that its feet rest on `row`: the row just under its lowest pixel.
    void StandOn(int p, float x, int row);
};
