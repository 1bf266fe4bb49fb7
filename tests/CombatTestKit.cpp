// CombatTestKit: small in-memory worlds, silent sounds and a projectile pass for the combat tests.
#include "CombatTestKit.h"

namespace {
// Map keys take decimal numbers; the world keeps no file open once built, so the folder may go.
std::string Number(float v) {
    return std::to_string(v);
}
} // namespace

std::unique_ptr<TWorld> CombatWorld(int w, int h, float ship1X, float ship1Y, float ship2X, float ship2Y,
                                    const std::string& mapScale, const TOptions* options) {
    TWorldFolder folder;
    folder.WriteStandardPictures();
    folder.WritePicture("maps\\mid.bmp", Filled(w, h, 0));
    folder.WriteText("maps\\c.map", "MIDDLE=mid.bmp\nSCALE=" + mapScale + "\nPLY1X=" + Number(ship1X) +
                                        "\nPLY1Y=" + Number(ship1Y) + "\nPLY2X=" + Number(ship2X) +
                                        "\nPLY2Y=" + Number(ship2Y) + "\nFLAG1X=" + Number(ship1X - 50) +
                                        "\nFLAG1Y=" + Number(ship1Y - 20) + "\nFLAG2X=" +
                                        Number(ship2X + 50) + "\nFLAG2Y=" + Number(ship2Y - 20) + "\n");
    TOptions o = options ? *options : TestOptions("");
    o.MapFile.Set("maps\\c.map");
    auto map = TWorld::Create(folder.Files, TestFont(), o);
    map->SetFrameRate(40);
    return map;
}

TWaveList CombatSounds() {
    TWaveList waves;
    for (const char* name : {"Explo0", "Explo1",  "Explo2",     "Explo3",  "Dirt",    "Pistol",  "Minigun",
                             "Laser",  "Homing",  "Rocket",     "Nano",    "Shotgun", "Grenade", "Rico",
                             "FLHit",  "FLDeath", "CTFcapture", "CTFsnup", "Medal",   "Thrust"}) {
        TWaveItem item;
        item.Name = name;
        item.Looped = std::string(name) == "Thrust";
        item.Wave.Samples.assign(16, 0);
        waves.Add(item);
    }
    return waves;
}

void PutCell(TWorld& map, int x, int y, uint8_t cls, uint32_t pixel) {
    map.TerrainBitmap.Set(x, y, cls);
    map.MiddleLayer.SetPixel(x, y, pixel);
}

void PutBlock(TWorld& map, int x0, int y0, int x1, int y1, uint8_t cls, uint32_t pixel) {
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x)
            PutCell(map, x, y, cls, pixel);
}

void AdvanceAll(TWorld& map, TWaveList& waves) {
    std::array<std::vector<uint16_t>, 2> candidates;
    map.AdvanceAllProjectiles(waves, candidates);
}

void AdvanceSlot(TWorld& map, int slot, TWaveList& waves) {
    std::array<std::vector<uint16_t>, 2> candidates;
    map.AdvanceProjectiles(slot, slot + 1, waves, candidates);
}

int CountKind(const TWorld& map, uint8_t kind) {
    int n = 0;
    for (const TProjectile& p : map.Projectiles)
        if (p.Kind != 0 && (kind == 0 || p.Kind == kind)) ++n;
    return n;
}

bool Playing(TWaveList& waves, const std::string& name) {
    for (size_t b : waves.Find(name).Buffers)
        if (waves.Mixer.Voices[b].Playing) return true;
    return false;
}
