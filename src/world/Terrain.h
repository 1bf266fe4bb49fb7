// Terrain: the class grid of the play field, one byte per MIDDLE pixel plus a row below the world.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

// Terrain classes; settled loose material writes its projectile kind, so the two share one number space.
constexpr uint8_t TerrainEmpty = 0;
constexpr uint8_t TerrainWater = 3;
constexpr uint8_t TerrainSnow = 6;
constexpr uint8_t TerrainPad = 8;
constexpr uint8_t TerrainGlue = 23;
constexpr uint8_t TerrainBug = 25;
constexpr uint8_t TerrainGround = 255;

// Classes a foot sinks into: water, snow and glue give no footing.
constexpr bool Footing(uint8_t cls) {
    return cls != TerrainEmpty && cls != TerrainWater && cls != TerrainSnow && cls != TerrainGlue;
}

// Every rule reads and writes the grid through Get and Set: outside the grid is solid ground, as
// the row under the world is, so nothing can fly, dig or settle out of it, and writes there are dropped.
class TTerrain {
  public:
    int Width = 0;  // set through SetSize, never negative
    int Height = 0; // MIDDLE height + 1
    std::vector<uint8_t> Cells;

    // Allocates the grid once, every cell empty.
    void SetSize(int w, int h);
    // Width and Height are never negative, so one unsigned comparison a side does.
    bool Contains(int x, int y) const {
        return unsigned(x) < unsigned(Width) && unsigned(y) < unsigned(Height);
    }
    uint8_t Get(int x, int y) const {
        return Contains(x, y) ? Cells[size_t(y) * size_t(Width) + size_t(x)] : TerrainGround;
    }
    void Set(int x, int y, uint8_t cls) {
        if (Contains(x, y)) Cells[size_t(y) * size_t(Width) + size_t(x)] = cls;
    }
    // Direct access to one row for the loops that sweep the grid; nullptr outside.
    uint8_t* Row(int y) {
        return (y >= 0 && y < Height) ? Cells.data() + size_t(y) * size_t(Width) : nullptr;
    }
    const uint8_t* Row(int y) const {
        return (y >= 0 && y < Height) ? Cells.data() + size_t(y) * size_t(Width) : nullptr;
    }
};
