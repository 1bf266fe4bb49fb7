// CombatTestKit: small in-memory worlds, silent sounds and a projectile pass for the combat tests.
#pragma once

#include "WorldTestKit.h"

#include "media/Sound.h"
#include "world/World.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

// A world whose MIDDLE picture is w x h and black (all empty), ship 1 at (ship1X, ship1Y), ship 2 at
// (ship2X, ship2Y), each flag 50 pixels outwards and 20 up from its ship; mapScale is the SCALE= key
// (2 gives Scale 1). Built through TWorld::Create with `options` (TestOptions when none), frame rate 40.
std::unique_ptr<TWorld> CombatWorld(int w, int h, float ship1X, float ship1Y, float ship2X, float ship2Y,
                                    const std::string& mapScale = "1", const TOptions* options = nullptr);

// Every sound the combat rules name, each a short silent recording; the engine's Thrust loops.
TWaveList CombatSounds();

// Writes a terrain class and its MIDDLE pixel together, as the rules do.
void PutCell(TWorld& map, int x, int y, uint8_t cls, uint32_t pixel);
// Fills the rectangle [x0, x1) x [y0, y1) with one class and pixel.
void PutBlock(TWorld& map, int x0, int y0, int x1, int y1, uint8_t cls, uint32_t pixel);

// One projectile pass of the world update: every live slot in slot order.
void AdvanceAll(TWorld& map, TWaveList& waves);
// The record in one slot advanced by its kind's rule, nothing else.
void AdvanceSlot(TWorld& map, int slot, TWaveList& waves);
// Live records of one kind (0 counts every live record).
int CountKind(const TWorld& map, uint8_t kind);
// Whether any buffer of the named sound is playing.
bool Playing(TWaveList& waves, const std::string& name);

// A 400 x 300 world of open air with the ships near its top corners and its sounds, for tests that
// put records in it and run whole projectile passes.
struct TCombatTest : testing::Test {
    std::unique_ptr<TWorld> Map = CombatWorld(400, 300, 20, 20, 380, 20);
    TWaveList Waves = CombatSounds();
    // Spawns a record and gives its slot.
    int Put(uint8_t kind, float x, float y, float vx = 0, float vy = 0) {
        Map->Spawn(kind, x, y, vx, vy);
        return Map->ProjectileCursor;
    }
    void Frames(int n) {
        for (int i = 0; i < n; ++i)
            AdvanceAll(*Map, Waves);
    }
};
