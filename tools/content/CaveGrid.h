// CaveGrid: the terrain classes of a generated map, shaped by noise, carving and stamped bases.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

// The classes a dot map can give; the numbers are the game's terrain classes.
enum class Cell : uint8_t { Empty = 0, Water = 3, Snow = 6, Pad = 8, Ground = 255 };

struct BasePlace {
    int SpawnX = 0;
    int SpawnY = 0;
    int FlagX = 0; // top of the flag pole
    int FlagY = 0;
    int PadLeft = 0;
    int PadRight = 0; // exclusive
    int FloorY = 0;   // first row of the pad
};

class CaveGrid {
  public:
    int Width = 0;
    int Height = 0;
    std::vector<Cell> Cells;

    CaveGrid(int w, int h);
    bool Inside(int x, int y) const { return x >= 0 && y >= 0 && x < Width && y < Height; }
    Cell At(int x, int y) const {
        return Inside(x, y) ? Cells[size_t(y) * size_t(Width) + size_t(x)] : Cell::Ground;
    }
    void Set(int x, int y, Cell c) {
        if (Inside(x, y)) Cells[size_t(y) * size_t(Width) + size_t(x)] = c;
    }
    bool Solid(int x, int y) const { return At(x, y) != Cell::Empty && At(x, y) != Cell::Water; }

    // Rock wherever the noise is above the threshold; features of about featureSize pixels.
    void NoiseRock(uint32_t seed, double featureSize, double threshold);
    // A ragged rock frame, so nothing leaves the world sideways or through the ceiling.
    void Border(int thickness, uint32_t seed);
    // Fills (c != Empty) or clears an ellipse whose rim wobbles by up to a quarter of its size.
    void Ellipse(double cx, double cy, double rx, double ry, Cell c, uint32_t seed, double wobble = 0.25);
    void Rect(int x0, int y0, int x1, int y1, Cell c);
    // A winding tunnel through the points, about radius wide on each side.
    void Tunnel(const std::vector<double>& xy, double radius, uint32_t seed);
    // Fills holes and removes crumbs smaller than the given sizes.
    void Tidy(int minRock, int minHole);
    // Stalactites under ceilings and stubby stalagmites on floors.
    void Dripstones(uint32_t seed, double density);
    // A bowl of rock whose rim is the row surfaceY, with air above it, filled with water over the
    // lowest `fill` of its depth (1: brim-full). The rest is room for what rain and drips bring.
    void Basin(int cx, int surfaceY, int halfWidth, int depth, uint32_t seed, double fill = 1.0);
    // A flat rock shelf with a pad of padWidth on it and a clear hall above; the flag stands on
    // the shelf on the side given by flagRight.
    // hallHigh is the half height of the hall cleared above the pad: the default leaves room to lift
    // off and turn; where the cave around a base is low, a taller hall lets an attacker shoot down
    // into it and still right itself.
    BasePlace Base(int padCenterX, int floorY, int padWidth, bool flagRight, double shipHalf, uint32_t seed,
                   int hallHigh = 66);
    // Snow lying on the upward faces of rock inside the rectangle, thickness varying with noise.
    void SnowCover(int x0, int y0, int x1, int y1, int minDepth, int maxDepth, uint32_t seed);
};
