// MatchTestKit: the empty match world and its painting helpers.
#include "MatchTestKit.h"

#include "core/GameMath.h"

#include <string>

TMatchWorld::TMatchWorld(int width, int height, std::pair<float, float> start1,
                         std::pair<float, float> start2) {
    Folder.WriteStandardPictures();
    Folder.WritePicture("maps\\mid.bmp", Filled(width, height, 0));
    auto number = [](float v) { return std::to_string(v); };
    Folder.WriteText("maps\\t.map",
                     "MIDDLE=mid.bmp\nPLY1X=" + number(start1.first) + "\nPLY1Y=" + number(start1.second) +
                         "\nPLY2X=" + number(start2.first) + "\nPLY2Y=" + number(start2.second) +
                         "\nFLAG1X=20\nFLAG1Y=20\nFLAG2X=40\nFLAG2Y=20\n");
    Map = TWorld::Create(Folder.Files, Font, TestOptions("maps\\t.map"));
    World = Map.get();
    for (const char* name : {"Thrust", "Explo0", "Explo1", "Explo2", "Explo3", "Dirt", "Medal", "Pistol"})
        Waves.Add(TestWave(name, std::string(name) == "Thrust"));
}

void TMatchWorld::Paint(int x, int y, uint8_t cls, uint32_t pixel) {
    World->TerrainBitmap.Set(x, y, cls);
    World->MiddleLayer.SetPixel(x, y, cls == TerrainEmpty ? 0 : pixel);
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

TWaveItem TestWave(const std::string& name, bool looped) {
    TWaveItem item;
    item.Name = name;
    item.Looped = looped;
    item.MaxPlayingCount = 2;
    item.Wave.Samples.assign(64, 0);
    return item;
}
