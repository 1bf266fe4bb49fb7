// DeterminismTest: a scripted fight on a shipped map always ends in the same world, down to the last
// bit of every record, terrain cell and pixel, so that work on the speed of the rules is caught the
// moment it changes what the players see.
#include "TestSupport.h"

#include "app/Game.h"
#include "core/GameMath.h"
#include "world/StateHash.h"
#include "world/World.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <vector>

namespace {

// Weapon pairs of the two players, phase after phase: bullets, rockets, nukes, snow, glue, lasers,
// nano-fighters, grenades, sentries, mines, homing shots, snow bombs, rubber bullets and bugs.
constexpr uint8_t Phases[][4] = {
    {0, 5, 6, 0},   {19, 20, 20, 19}, {18, 2, 2, 18}, {8, 14, 14, 8},   {16, 17, 17, 16},
    {10, 3, 3, 10}, {7, 21, 21, 7},   {22, 6, 5, 22}, {12, 15, 11, 13},
};
constexpr int LiftOffFrames = 40;
constexpr int PhaseFrames = 60;
constexpr int PhaseCount = int(sizeof Phases / sizeof Phases[0]);

struct TScriptedFight {
    TTempDir Home;
    TTestPlatform Platform;
    std::unique_ptr<TGame> Game;
    std::vector<uint8_t> StartTerrain;

    TScriptedFight() {
        const TFiles files(FLARONS_GAME_DIR, Home.Path);
        Game = std::make_unique<TGame>(Platform, files, TCommandLine{});
        Game->MatchSeed = 777;
        Game->Options = DefaultOptions(Game->Files);
        Game->Options.MapFile.Set("maps\\Abyss.map");
        Game->Options.Lives = 0;
        Game->PrepareStartupAssets();
        Game->RecordMatches = false; // the frames are stepped one by one, not played and recorded
        EXPECT_TRUE(Game->StartMatch());
        StartTerrain = Game->World->TerrainBitmap.Cells;
    }

    // Holds the keys of one frame and runs it; both players thrust, turn and fire by the script.
    void Frame(int f, bool draw) {
        TRawInput raw;
        const bool lift = f < LiftOffFrames;
        raw.Keys[keyW] = lift || f % 7 < 3;
        raw.Keys[keyUp] = lift || f % 5 < 2;
        raw.Keys[keyA] = !lift && f % 40 < 9;
        raw.Keys[keyD] = !lift && f % 40 >= 25 && f % 40 < 31;
        raw.Keys[keyRight] = !lift && f % 30 < 6;
        raw.Keys[keyLeft] = !lift && f % 30 >= 17 && f % 30 < 22;
        raw.Keys[keyTab] = !lift && f % 3 != 0;
        raw.Keys[keyS] = !lift && f % 4 == 1;
        raw.Keys[keyReturn] = !lift && f % 2 == 0;
        raw.Keys[keyDown] = !lift && f % 5 == 3;
        if (f >= LiftOffFrames && (f - LiftOffFrames) % PhaseFrames == 0) {
            const uint8_t* w = Phases[(f - LiftOffFrames) / PhaseFrames];
            for (uint8_t p = 0; p < 2; ++p)
                for (size_t k = 0; k < 2; ++k) {
                    TWeapon& weapon = Game->PlayerWeapons[p][k];
                    weapon.Create(p, w[2 * p + k]);
                    weapon.Cooldown = 100; // ready at once, even the nuke
                }
        }
        Game->Input.Take(raw, Game->Bindings);
        Game->StepMatch(Game->ReadMatchTick(), draw);
    }

    // The views, pages and status bar are painted every eighth frame and on the last one: no rule
    // reads the screen, the digest takes the last one, and the painted frames still cover every
    // phase of the fight, should painting ever touch the world.
    void Run() {
        const int frames = LiftOffFrames + PhaseCount * PhaseFrames;
        for (int f = 0; f < frames; ++f)
            Frame(f, f % 8 == 0 || f + 1 == frames);
        // The script must really fight: shots from both sides and ground blown or dug away.
        for (size_t p = 0; p < 2; ++p)
            EXPECT_GT(Game->World->Match.Players[p].ShotsFired, 50u);
        EXPECT_NE(Game->World->TerrainBitmap.Cells, StartTerrain);
    }

    // The whole state of the match as replays digest it, the composed screen and the random
    // generator's next draw.
    uint64_t Digest() const {
        TStateHash h;
        h.Add(Game->MatchStateHash());
        h.Vector(Game->BackSurface.Pixels);
        TRandom rng = Game->World->Rng;
        const int32_t next = rng.Random(1 << 30);
        h.Add(next);
        return h.Value();
    }

    // Every slot of the pool filled with sparks, smoke, earth, snow, water and bullets around both
    // ships, and a few frames run with the pool full, where each spawn overwrites.
    void FillThePool() {
        TWorld& m = *Game->World;
        constexpr uint8_t Kinds[] = {4, 5, 255, 6, 3, 9, 4, 5};
        for (size_t i = 0; i < ProjectileCount; ++i) {
            const TShip& near = m.Ships[i % 2];
            const double a = m.Rng.Random(256), speed = m.Rng.RandomReal();
            const float x = float(near.X - 300 + m.Rng.Random(600)),
                        y = float(near.Y - 250 + m.Rng.Random(500));
            m.Spawn(Kinds[i % 8], x, y, float(2 * speed * TurnCos(int64_t(a))),
                    float(2 * speed * TurnSin(int64_t(a))));
        }
        EXPECT_EQ(std::count_if(m.Projectiles.begin(), m.Projectiles.end(),
                                [](const TProjectile& r) { return r.Kind != 0; }),
                  long(ProjectileCount));
        for (int f = 0; f < 12; ++f)
            Frame(LiftOffFrames + f, f % 4 == 3);
    }
};

// Taken from the rules in their written order on the shipped Abyss map, through the replays' state
// hash; work on their speed must keep them, and a change here means the world no longer runs as it did.
constexpr uint64_t ExpectedDigest = 14021461597440750627ull;
constexpr uint64_t ExpectedFullPoolDigest = 13212143515467612634ull;

// The fight twice in one run, then the full pool after the second one.
TEST(Determinism, TheScriptedFightAndAFullPoolAfterItRunAsTheyAlwaysDid) {
    uint64_t first = 0;
    {
        TScriptedFight fight;
        fight.Run();
        first = fight.Digest();
    }
    TScriptedFight fight;
    fight.Run();
    EXPECT_EQ(fight.Digest(), first) << "the same fight twice must give the same world";
    EXPECT_EQ(first, ExpectedDigest) << "the scripted fight must end in its recorded digest";
    fight.FillThePool();
    EXPECT_EQ(fight.Digest(), ExpectedFullPoolDigest) << "a full pool must run to its recorded digest";
}

} // namespace

namespace {

// Slots whose bit in the map of slots in use disagrees with the record's Kind.
int SlotsOutOfStep(const TWorld& m) {
    int wrong = 0;
    for (size_t i = 0; i < ProjectileCount; ++i) {
        const bool bit = ((m.SlotsInUse[i / 64] >> (i % 64)) & 1u) != 0;
        wrong += bit != (m.Projectiles[i].Kind != 0) ? 1 : 0;
    }
    return wrong;
}

// Every frame of the fight frees and fills slots through the rules, the hits and the weapons; the
// map of slots in use is kept from frame to frame and must match the pool after each one, or a
// spawn would take a slot the walk would not have and the pass would skip or advance wrong records.
TEST(Determinism, TheMapOfSlotsInUseKeepsStepWithThePool) {
    TScriptedFight fight;
    TWorld& m = *fight.Game->World;
    long most = 0;
    for (int f = 0; f < LiftOffFrames + PhaseCount * PhaseFrames; ++f) {
        fight.Frame(f, false);
        ASSERT_EQ(m.SlotsInUse.size(), (ProjectileCount + 63) / 64);
        ASSERT_EQ(SlotsOutOfStep(m), 0) << "frame " << f;
        ASSERT_TRUE(m.SlotsInUseTrusted) << "a match keeps its map between frames";
        most = std::max<long>(most, std::count_if(m.Projectiles.begin(), m.Projectiles.end(),
                                                  [](const TProjectile& r) { return r.Kind != 0; }));
    }
    EXPECT_GT(most, 1000) << "the fight must fill and free a good part of the pool";
    // A pool written by hand between frames (a snapshot put back) is seen once the map is rebuilt.
    for (TProjectile& r : m.Projectiles)
        r.Kind = r.Kind == 0 ? 4 : r.Kind;
    m.Projectiles[123].Kind = 0;
    m.ProjectileCursor = 122;
    m.TrustSlotsInUse(true);
    EXPECT_EQ(SlotsOutOfStep(m), 0);
    m.Spawn(4, 10, 10, 0, 0);
    EXPECT_EQ(m.ProjectileCursor, 123);
}

// A full pool in the update: every spawn overwrites the slot the cursor stands on.
TEST(Determinism, AFullPoolOverwritesTheCursorSlotInTheUpdate) {
    TScriptedFight fight;
    TWorld& m = *fight.Game->World;
    for (TProjectile& r : m.Projectiles)
        r = TProjectile{}, r.Kind = 8; // resting records of no rule: nothing frees them
    m.ProjectileCursor = 500;
    m.TrustSlotsInUse(true);
    m.Spawn(4, 10, 10, 0, 0);
    EXPECT_EQ(m.ProjectileCursor, 500);
    EXPECT_EQ(m.Projectiles[500].Kind, 4);
    m.SetKind(m.Projectiles[59999], 0);
    m.Spawn(5, 10, 10, 0, 0);
    EXPECT_EQ(m.ProjectileCursor, 59999) << "the walk goes forward first";
    m.SetKind(m.Projectiles[7], 0);
    m.Spawn(5, 10, 10, 0, 0);
    EXPECT_EQ(m.ProjectileCursor, 7) << "and wraps round past the last slot";
    m.SetKind(m.Projectiles[7], 0);
    m.Spawn(5, 10, 10, 0, 0);
    EXPECT_EQ(m.ProjectileCursor, 7) << "the start slot itself is taken only when nothing else is free";
    m.TrustSlotsInUse(false);
}

} // namespace
