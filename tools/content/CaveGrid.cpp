// CaveGrid: noise-shaped caves with carved halls and tunnels, tidied so every hollow is flyable.
#include "content/CaveGrid.h"

#include "content/ArtNoise.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

CaveGrid::CaveGrid(int w, int h) : Width(std::max(w, 0)), Height(std::max(h, 0)) {
    Cells.assign(size_t(Width) * size_t(Height), Cell::Empty);
}

void CaveGrid::NoiseRock(uint32_t seed, double featureSize, double threshold) {
    for (int y = 0; y < Height; ++y)
        for (int x = 0; x < Width; ++x) {
            const double n = Fbm(x / featureSize, y / featureSize, 5, seed);
            Set(x, y, n > threshold ? Cell::Ground : Cell::Empty);
        }
}

void CaveGrid::Border(int thickness, uint32_t seed) {
    for (int y = 0; y < Height; ++y)
        for (int x = 0; x < Width; ++x) {
            const int edge = std::min(std::min(x, Width - 1 - x), std::min(y, Height - 1 - y));
            if (edge >= thickness * 2) continue;
            const double t = thickness * (0.45 + 0.9 * Fbm(x / 45.0, y / 45.0, 3, seed));
            if (edge < t) Set(x, y, Cell::Ground);
        }
}

void CaveGrid::Ellipse(double cx, double cy, double rx, double ry, Cell c, uint32_t seed, double wobble) {
    const int x0 = int(cx - rx * (1 + wobble)) - 1, x1 = int(cx + rx * (1 + wobble)) + 1;
    const int y0 = int(cy - ry * (1 + wobble)) - 1, y1 = int(cy + ry * (1 + wobble)) + 1;
    for (int y = std::max(y0, 0); y <= std::min(y1, Height - 1); ++y)
        for (int x = std::max(x0, 0); x <= std::min(x1, Width - 1); ++x) {
            const double dx = (x + 0.5 - cx) / rx, dy = (y + 0.5 - cy) / ry;
            const double angle = std::atan2(dy, dx);
            // The rim wobbles with noise read around a circle, so it closes without a seam.
            const double rim =
                1.0 +
                wobble * (2.0 * Fbm(2.0 + std::cos(angle) * 1.6, 2.0 + std::sin(angle) * 1.6, 3, seed) - 1.0);
            if (dx * dx + dy * dy <= rim * rim) Set(x, y, c);
        }
}

void CaveGrid::Rect(int x0, int y0, int x1, int y1, Cell c) {
    for (int y = std::max(y0, 0); y < std::min(y1, Height); ++y)
        for (int x = std::max(x0, 0); x < std::min(x1, Width); ++x)
            Set(x, y, c);
}

void CaveGrid::Tunnel(const std::vector<double>& xy, double radius, uint32_t seed) {
    double travelled = 0.0;
    for (size_t i = 0; i + 3 < xy.size(); i += 2) {
        const double ax = xy[i], ay = xy[i + 1], bx = xy[i + 2], by = xy[i + 3];
        const double len = std::hypot(bx - ax, by - ay);
        const int steps = std::max(1, int(len / 6.0));
        for (int s = 0; s <= steps; ++s) {
            const double t = double(s) / steps;
            const double d = travelled + len * t;
            // The centre line sways sideways and the width breathes, so tunnels look dug by water.
            const double sway = (Fbm(d / 140.0, 0.5, 2, seed) - 0.5) * radius * 1.2;
            const double nx = len > 0 ? -(by - ay) / len : 0.0, ny = len > 0 ? (bx - ax) / len : 0.0;
            const double r = radius * (0.8 + 0.45 * Fbm(d / 90.0, 7.5, 2, seed + 9));
            const double cx = ax + (bx - ax) * t + nx * sway * std::sin(3.14159 * t);
            const double cy = ay + (by - ay) * t + ny * sway * std::sin(3.14159 * t);
            for (int y = int(cy - r); y <= int(cy + r); ++y)
                for (int x = int(cx - r); x <= int(cx + r); ++x)
                    if ((x - cx) * (x - cx) + (y - cy) * (y - cy) <= r * r) Set(x, y, Cell::Empty);
        }
        travelled += len;
    }
}

void CaveGrid::Tidy(int minRock, int minHole) {
    std::vector<int> label(Cells.size(), -1);
    std::vector<int> queue;
    for (size_t start = 0; start < Cells.size(); ++start) {
        if (label[start] >= 0) continue;
        const Cell kind = Cells[start];
        if (kind != Cell::Ground && kind != Cell::Empty) continue;
        queue.clear();
        queue.push_back(int(start));
        label[start] = 1;
        bool touchesEdge = false;
        for (size_t q = 0; q < queue.size(); ++q) {
            const int i = queue[q];
            const int x = i % Width, y = i / Width;
            if (x == 0 || y == 0 || x == Width - 1 || y == Height - 1) touchesEdge = true;
            const int nb[4][2] = {{x + 1, y}, {x - 1, y}, {x, y + 1}, {x, y - 1}};
            for (const auto& n : nb) {
                if (!Inside(n[0], n[1])) continue;
                const size_t j = size_t(n[1]) * size_t(Width) + size_t(n[0]);
                if (label[j] < 0 && Cells[j] == kind) {
                    label[j] = 1;
                    queue.push_back(int(j));
                }
            }
        }
        const int limit = kind == Cell::Ground ? minRock : minHole;
        if (int(queue.size()) < limit && !(kind == Cell::Ground && touchesEdge))
            for (int i : queue)
                Cells[size_t(i)] = kind == Cell::Ground ? Cell::Empty : Cell::Ground;
    }
}

void CaveGrid::Dripstones(uint32_t seed, double density) {
    ArtRandom rnd(seed);
    for (int y = 1; y < Height - 1; ++y)
        for (int x = 8; x < Width - 8; ++x) {
            const bool ceiling = At(x, y) == Cell::Ground && At(x, y + 1) == Cell::Empty;
            const bool floor = At(x, y) == Cell::Ground && At(x, y - 1) == Cell::Empty;
            const double roll = rnd.Real();
            if (ceiling && roll < density) {
                const int len = 10 + rnd.Below(34);
                const double half = 2.0 + rnd.Real() * 4.5;
                for (int k = 0; k < len; ++k) {
                    const int w = std::max(1, int(half * (1.0 - double(k) / len) + 0.5));
                    for (int dx = -w; dx < w; ++dx)
                        if (At(x + dx, y + 1 + k) == Cell::Empty) Set(x + dx, y + 1 + k, Cell::Ground);
                }
                x += int(half * 3);
            } else if (floor && roll < density * 0.6) {
                const int len = 5 + rnd.Below(16);
                const double half = 2.5 + rnd.Real() * 4.0;
                for (int k = 0; k < len; ++k) {
                    const int w = std::max(1, int(half * (1.0 - double(k) / len) + 0.5));
                    for (int dx = -w; dx < w; ++dx)
                        if (At(x + dx, y - 1 - k) == Cell::Empty) Set(x + dx, y - 1 - k, Cell::Ground);
                }
                x += int(half * 3);
            }
        }
}

void CaveGrid::Basin(int cx, int surfaceY, int halfWidth, int depth, uint32_t seed, double fill) {
    // A mound of rock that holds the bowl, so the water never hangs in the air.
    Ellipse(cx, surfaceY + depth + 30, halfWidth + 70, depth + 60, Cell::Ground, seed + 3, 0.2);
    Ellipse(cx, surfaceY - 40, halfWidth + 30, 50, Cell::Empty, seed, 0.1);
    // The rock of the bowl, with a low lip beside its mouth but never over it, or the rain would
    // run off a lid instead of filling the lake.
    for (int y = surfaceY - 2; y < surfaceY + depth + 14; ++y)
        for (int x = cx - halfWidth - 14; x <= cx + halfWidth + 14; ++x) {
            const double dx = (x + 0.5 - cx) / (halfWidth + 12.0), dy = (y + 0.5 - surfaceY) / (depth + 12.0);
            const bool mouth = y < surfaceY && std::abs(x - cx) < halfWidth;
            if (dx * dx + dy * dy <= 1.0 && !mouth) Set(x, y, Cell::Ground);
        }
    for (int y = surfaceY; y < surfaceY + depth; ++y)
        for (int x = cx - halfWidth; x <= cx + halfWidth; ++x) {
            const double dx = (x + 0.5 - cx) / halfWidth, dy = (y + 0.5 - surfaceY) / depth;
            if (dx * dx + dy * dy <= 1.0)
                Set(x, y, y >= surfaceY + depth * (1.0 - fill) ? Cell::Water : Cell::Empty);
        }
}

BasePlace CaveGrid::Base(int padCenterX, int floorY, int padWidth, bool flagRight, double shipHalf,
                         uint32_t seed, int hallHigh) {
    BasePlace b;
    b.PadLeft = padCenterX - padWidth / 2;
    b.PadRight = b.PadLeft + padWidth;
    b.FloorY = floorY;
    // The shelf: flat on top, rounded underneath.
    Ellipse(padCenterX, floorY + 14, padWidth / 2.0 + 58, 34, Cell::Ground, seed, 0.15);
    Rect(b.PadLeft - 54, floorY, b.PadRight + 54, floorY + 16, Cell::Ground);
    // A clear hall above it, roomy enough to lift off and turn.
    Ellipse(padCenterX + (flagRight ? 12 : -12), floorY + 14 - hallHigh, padWidth / 2.0 + 80, hallHigh,
            Cell::Empty, seed + 1, 0.12);
    Rect(b.PadLeft - 50, floorY - 74, b.PadRight + 50, floorY, Cell::Empty);
    Rect(b.PadLeft, floorY, b.PadRight, floorY + 6, Cell::Pad);
    b.SpawnX = padCenterX;
    b.SpawnY = floorY - int(std::ceil(shipHalf)) - 6;
    b.FlagX = flagRight ? b.PadRight + 12 : b.PadLeft - 27;
    b.FlagY = floorY - 13;
    return b;
}

void CaveGrid::SnowCover(int x0, int y0, int x1, int y1, int minDepth, int maxDepth, uint32_t seed) {
    for (int x = std::max(x0, 0); x < std::min(x1, Width); ++x)
        for (int y = std::max(y0, 1); y < std::min(y1, Height); ++y) {
            if (At(x, y) != Cell::Ground || At(x, y - 1) != Cell::Empty) continue;
            const int depth = minDepth + int((maxDepth - minDepth) * Fbm(x / 40.0, y / 40.0, 3, seed));
            for (int k = 1; k <= depth && At(x, y - k) == Cell::Empty; ++k)
                Set(x, y - k, Cell::Snow);
        }
}
