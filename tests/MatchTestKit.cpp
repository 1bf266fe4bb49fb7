// MatchTestKit: the empty match world and its painting helpers.
#include "MatchTestKit.h"

#include "core/GameMath.h"

TMatchWorld::TMatchWorld(int width, int height, std::pair<float, float> start1,
                         std::pair<float, float> start2)
    : Map(CombatWorld(width, height, start1.first, start1.second, start2.first, start2.second)),
      World(Map.get()) {
    World->SetFrameRate(42); // the rate a newly created world runs at until the match measures its own
}

void TMatchWorld::Paint(int x, int y, uint8_t cls, uint32_t pixel) {
    PutCell(*World, x, y, cls, cls == TerrainEmpty ? 0 : pixel);
}

void TMatchWorld::PaintRow(int x0, int x1, int row, uint8_t cls) {
    for (int x = x0; x <= x1; ++x)
        Paint(x, row, cls);
}

const Surface& TMatchWorld::Mask(int p) {
    return Ship(p).Masks[size_t(Ship(p).FrameIndex())];
}

std::pair<int, int> TMatchWorld::WorldCell(int p, int c, int r) {
    const Surface& m = Mask(p);
    return {int(Round(Ship(p).X)) + c - m.Width / 2, int(Round(Ship(p).Y)) + r - m.Height / 2};
}

std::vector<std::pair<int, int>> TMatchWorld::OpaquePixels(int p) {
    std::vector<std::pair<int, int>> out;
    const Surface& m = Mask(p);
    for (int r = 0; r < m.Height; ++r)
        for (int c = 0; c < m.Width; ++c)
            if ((m.Pixel(c, r) & 0xFFFFFF) != 0) out.emplace_back(c, r);
    return out;
}

void TMatchWorld::StandOn(int p, float x, int row) {
    TShip& s = Ship(p);
    s.X = x;
    s.Y = float(row - s.FootY[s.OnFoot != 0 ? 1 : 0]);
    s.VX = 0;
    s.VY = 0;
}
