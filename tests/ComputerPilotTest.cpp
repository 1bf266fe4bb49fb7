// ComputerPilotTest: a computer pilot flies a real match through the game's own tick and changes the
// match only through the bits it presses.
#include "TestSupport.h"

#include "app/Game.h"
#include "core/GameMath.h"
#include "world/World.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <memory>
#include <tuple>
#include <utility>
#include <vector>

namespace {

struct TPilotMatch {
    TTempDir Home;
    TTestPlatform Platform;
    std::unique_ptr<TGame> Game;

    TPilotMatch(uint8_t computer, const char* map, uint32_t seed, const char* level = "normal") {
        TCommandLine line;
        line.Computer = computer;
        line.Level = level;
        Game = std::make_unique<TGame>(Platform, TFiles(FLARONS_GAME_DIR, Home.Path), line);
        Game->MatchSeed = seed;
        Game->Options = DefaultOptions(Game->Files);
        Game->Options.MapFile.Set(map);
        Game->Options.Lives = 5;
        Game->Options.PointsLimit = 0;
        Game->PrepareStartupAssets();
        EXPECT_TRUE(Game->StartMatch());
    }
    TWorld& World() { return *Game->World; }
    // One tick of the match with `devices` as what the controls give; the views stay unpainted.
    void Tick(const TTickInput& devices) {
        World().MatchEnded = 1;
        Game->FrameTimer.MeasuredFrameRate = 40;
        Game->Input.Before = Game->Input.Now;
        Game->Input.Now = devices;
        Game->MatchFrame();
    }
};

// The computer first picks its second slot's weapon on its pad's page, through the fire and turn keys
// (homing missiles two rows above where the page opens, without rockets), then lifts its ship off the
// pad and away without touching rock.
TEST(ComputerPilot, PicksItsWeaponAndLiftsOffItsPadWithoutHarm) {
    TPilotMatch match(1, "maps\\Duel.map", 5);
    std::array<uint8_t, 10> pages = DefaultWeapons;
    std::copy_n(std::array<uint8_t, 5>{3, 14, 8, 7, 16}.begin(), 5, pages.begin() + 5);
    match.Game->Options.Players[0].Weapons = pages;
    match.Game->ComputerPilots[0]->KnowPages(pages);
    const TShip& me = match.World().Ships[0];
    const float startX = me.StartX, startY = me.StartY;
    for (int t = 0; t < 200; ++t)
        match.Tick(TTickInput{});
    EXPECT_GT(std::hypot(me.X - startX, me.Y - startY), 80.0f) << "never left the pad";
    EXPECT_EQ(me.OnFoot, 0);
    EXPECT_EQ(me.Health, 100.0f);
    EXPECT_EQ(match.Game->PlayerWeapons[0][1].WeaponId, 3);
}

// On Cavern the only way to the enemy passes a gap narrower than the room the pilot likes to keep
// from rock: it squeezes through rather than hover before it for the whole match, through snow too,
// which is no rock to a ship (the grains of wrecks settle as snow, and closed Warren's arch to it),
// and past loose bits of ground hanging in the air, which it shoots away (on Warren's arch they kept
// both sides apart until the time ran out).
TEST(ComputerPilot, SqueezesThroughANarrowGapOnTheWayToTheEnemy) {
    TPilotMatch match(1, "maps\\Cavern.map", 1);
    TTerrain& t = match.World().TerrainBitmap;
    for (int y = 0, x = 940; y < t.Height; x = x < 980 ? x + 1 : 940, y += x == 940 ? 1 : 0)
        if (t.Get(x, y) == TerrainEmpty) t.Set(x, y, TerrainSnow);
    // Loose pixels of ground hanging across the way after it close it too: it flies along a way to
    // where it shoots them from and shoots them away (it flew straight at that spot, into rock).
    for (int y = 1800; y < 2150; y += 24)
        if (t.Get(1150, y) == TerrainEmpty) t.Set(1150, y, TerrainGround);
    int wrecks = 0;
    for (int t = 0; t < 1400 && match.World().Ships[0].X < 1250; ++t, match.Tick(TTickInput{}))
        wrecks += (match.Game->LastWrecked & 0xFF) != 0 ? 1 : 0;
    EXPECT_TRUE(match.World().Ships[0].X > 1250 && wrecks == 0)
        << "stopped before the gap at x 960 or the pixels at x 1150, or wrecked " << wrecks << " times";
}

// It passes under Warren's thin root over earth heaped up under it without a touch, where its outline
// has a pixel to spare above and below: the grid's cells are 8 pixels, and slow sinks and drifts onto
// such heaps wrecked ships low on health.
TEST(ComputerPilot, PassesLowOverAHeapOfEarthWithoutTouchingIt) {
    TPilotMatch match(1, "maps\\Warren.map", 1, "hard");
    TTerrain& t = match.World().TerrainBitmap;
    for (int x = 330; x <= 385; ++x)
        for (int y = 178 + std::abs(x - 357) / 2; y < 200; ++y)
            if (t.Get(x, y) == TerrainEmpty) t.Set(x, y, TerrainGround);
    TShip& me = match.World().Ships[0];
    for (int t = 0; t < 900 && (t <= 80 || me.X < 420); ++t, match.Tick(TTickInput{}))
        if (t == 80) std::tie(me.X, me.Y, me.VX, me.VY) = std::tuple(300, 158, 0.5f, 0);
    EXPECT_TRUE(me.X >= 420 && me.Health == 100) << "at x " << me.X << " with health " << me.Health;
}

// Alone, it reaches the enemy's start soon and unharmed: it flies the open stretches fast (crawling,
// it took 19 seconds on Swamp, and on Abyss its fuel turned it home before it got there). On the
// long ways of Flagrun, Glacier and Hive it keeps fuel for the way to the nearer pad, the enemy's
// too (kept for 0.05 a pixel of the way home, it turned back halfway); on Hive it fills up on the
// enemy's pad, and on Flagrun it fights under an overhang that its push while aiming lifted it into.
TEST(ComputerPilot, ReachesTheEnemysStartSoonWithoutWrecking) {
    const std::tuple<const char*, int, bool> cases[] = {{"maps\\Swamp.map", 520, false},
                                                        {"maps\\Abyss.map", 1300, false},
                                                        {"maps\\Flagrun.map", 2100, false},
                                                        {"maps\\Glacier.map", 2000, false},
                                                        {"maps\\Hive.map", 3100, true}};
    for (const auto& [map, ticks, refuels] : cases) {
        TPilotMatch match(1, map, 1);
        const TShip& me = match.World().Ships[0];
        const TShip& enemy = match.World().Ships[1];
        int reached = -1, wrecks = 0, atEnemyBase = 0;
        for (int t = 0; t < ticks; ++t) {
            match.Tick(TTickInput{});
            wrecks += (match.Game->LastWrecked & 0xFF) != 0 ? 1 : 0;
            atEnemyBase += me.AtEnemyBase;
            if (reached < 0 && std::hypot(me.X - enemy.StartX, me.Y - enemy.StartY) < 150) reached = t;
        }
        // Reached, wrecks, refuelled on the enemy's pad.
        EXPECT_EQ(std::tuple(reached >= 0, wrecks, atEnemyBase > 0), std::tuple(true, 0, refuels)) << map;
    }
}

// Coasting up under Flagrun's low roof, with the enemy's ship coming up under it fast, it draws away
// from him along the roof, not up into it (it pushed itself into the rock and was wrecked).
TEST(ComputerPilot, DrawsAwayFromAShipUnderItWithoutRisingIntoTheRoof) {
    for (int k = 0; k < 6; ++k) {
        TPilotMatch match(1, "maps\\Flagrun.map", 1);
        TShip &me = match.World().Ships[0], &enemy = match.World().Ships[1];
        int wrecks = 0;
        for (int t = 0; t < 200; ++t, match.Tick(TTickInput{})) {
            if (t == 80)
                std::tie(me.X, me.Y, me.VX, me.VY, me.Angle) =
                    std::tuple(635.6f + float(k % 3) * 3, 220.4f + float(k / 3) * 4, 0.37f, -0.68f, 100);
            if (t >= 80 && t < 100)
                std::tie(enemy.X, enemy.Y, enemy.VX, enemy.VY) =
                    std::tuple(657.9f - 2.1f * float(t - 80), 256.1f + 0.6f * float(t - 80), -2.1f, 0.6f);
            wrecks += (match.Game->LastWrecked & 0xFF) != 0 ? 1 : 0;
        }
        EXPECT_EQ(wrecks, 0) << "starting " << k % 3 * 3 << " right and " << k / 3 * 4 << " down";
    }
}

// A ship wrecked on its own pad costs no life: its pilot gets a new ship there at once. Only a
// stream of the quick-firing slot, kept on through the new ship's drop onto the pad and the pilot's
// fall, takes lives from a side that does nothing: the stream goes on through the wreck, and the
// passes it shoots in last while the ship can still be righted. On Hive and Warren the pad is the
// floor of a low chamber, and the ship starts over it (`over` pixels up): it shoots steeply down
// from there (with the nose near straight down it held its fire, and hovered beside the pad) and
// holds still without pushing itself sideways (down Warren's shaft it pushed itself into the wall).
TEST(ComputerPilot, TakesLivesFromAShipSittingOnItsPad) {
    const std::tuple<const char*, uint32_t, float> cases[] = {{"maps\\Hive.map", 3, 0},
                                                              {"maps\\Duel.map", 5, 0},
                                                              {"maps\\Hive.map", 5, 30},
                                                              {"maps\\Swamp.map", 7, 0},
                                                              {"maps\\Warren.map", 1, 30}};
    for (const auto& [map, seed, over] : cases) {
        TPilotMatch match(1, map, seed);
        TShip &me = match.World().Ships[0], &idle = match.World().Ships[1];
        for (int t = 0; t < 4000 && idle.Lives > 3; ++t, match.Tick(TTickInput{}))
            if (over > 0 && t == 80) std::tie(me.X, me.Y) = std::tuple(idle.StartX, idle.StartY - over);
        EXPECT_LE(idle.Lives, 3) << "fewer than two lives taken in 100 seconds on " << map << ", seed "
                                 << seed;
    }
    // On Hive (seed 6) it comes to a post beside the pad too near the floor of its hall for a pass from
    // rest, and moves on to another rather than hover there (its first hit came after 94 seconds).
    TPilotMatch hive(1, "maps\\Hive.map", 6);
    for (int t = 0; t < 1900 && hive.World().Match.Players[0].ShotsHitEnemy == 0; ++t)
        hive.Tick(TTickInput{});
    EXPECT_GT(hive.World().Match.Players[0].ShotsHitEnemy, 0u) << "no hit in 47 seconds on Hive";
}

// Low on fuel by the enemy's pad, it fills up there beside his ship, parked a little off his start point
// either way, and never touches it (it stood a pixel too near, and both ships lost 30 health a tick;
// sinking onto a spot a pixel clear of him, it drifted that pixel toward him).
// Beside a parked ship it leaves with half a tank (waiting for a full one cost Hive matches). Turned
// home falling, nose down, out of a pass over his pad, it brakes before it settles onto the pad (it
// came at 1.8 pixels a tick, leaned the nose too little to stop and slid into Duel's right wall).
// Sinking close beside him, nose a step off up either way, it neither slides into him nor crosses
// over him low to the far end of the pad; on his right with the nose a step left of up, every push of
// which slides it toward him, it still comes down onto its spot (held up there, it slid into him).
TEST(ComputerPilot, RefuelsBesideTheEnemysParkedShipWithoutTouchingIt) {
    const std::tuple<float, float, float, float, float, float> cases[] = {
        {-0.75f, -70, -50, 0, 64, 30}, {0.5f, -70, -50, 0, 64, 30}, {0.5f, -10, -86, 0.4f, 202, 45},
        {0, 20, -30, 0.2f, 66, 30},    {0, -19, -22, 0.2f, 62, 30}, {0, 30, -37, 0.2f, 65, 30},
    };
    for (const auto& [off, dx, dy, vy, angle, fuel0] : cases) {
        TPilotMatch match(1, "maps\\Duel.map", 1);
        TShip &me = match.World().Ships[0], &enemy = match.World().Ships[1];
        // Ticks on his pad; his ship's least health until it lifted off (a touch costs 30 a tick); when
        // that was, with what fuel, and its fastest climb in the 20 ticks after (slowly: a ship parked
        // beside it).
        int sat = 0, left = -1;
        float rise = 0, fuel = 0, his = 100;
        for (int t = 0; t < 2000; ++t, match.Tick(TTickInput{})) {
            if (t == 80)
                std::tie(enemy.X, me.X, me.Y, me.VX, me.VY, me.Angle, me.Fuel) =
                    std::tuple(enemy.X + off, enemy.StartX + dx, enemy.StartY + dy, 0, vy, angle, fuel0);
            sat += me.AtEnemyBase != 0;
            if (t > 80 && left < 0) his = std::min(his, enemy.Health);
            if (sat > 0 && left < 0 && me.AtEnemyBase == 0) std::tie(left, fuel) = std::tuple(t, me.Fuel);
            if (left > 0 && t < left + 20) rise = std::min(rise, me.VY);
        }
        EXPECT_TRUE(sat > 250 && his > 80 && rise > -1.6f && fuel > 95 && fuel < 150)
            << "off by " << off << " from " << dx << "," << dy << ": " << sat << " ticks, his health down to "
            << his << ", lifted off at tick " << left << " with fuel " << fuel << ", climbing " << rise;
    }
}

// Mended and filled up on its own pad beside the enemy's ship, parked there to refuel a little off
// either side, it lifts straight up past him (turned toward the fight at once, the leaning outline
// swung into his: on Hive both lost 60 health, and the ship beside was wrecked).
TEST(ComputerPilot, LiftsOffItsPadStraightUpPastAShipParkedBeside) {
    for (const float dx : {-16.0f, -19.0f, 16.0f, 19.0f}) {
        TPilotMatch match(1, "maps\\Hive.map", 15);
        TShip &me = match.World().Ships[0], &enemy = match.World().Ships[1];
        float least = 100;
        for (int t = 0; t < 200; ++t, match.Tick(TTickInput{})) {
            // He hangs there sinking onto the pad, unharmed by its shots: only a touch (30 health a
            // tick) costs it health.
            if (t >= 40)
                std::tie(enemy.X, enemy.Y, enemy.VX, enemy.VY, enemy.Angle, enemy.Health) =
                    std::tuple(me.StartX + dx, me.StartY - 6, 0, 0.2f, 64, 100);
            if (t > 40) least = std::min(least, me.Health);
        }
        EXPECT_TRUE(least == 100 && me.Y < me.StartY - 40)
            << "with him " << dx << " px off: its health down to " << least << ", at height " << me.Y;
    }
}

// Low on fuel by the enemy's pad while his pilot is on foot, it lands there and fills up: at once while
// he is far from the pad (a new ship of his comes only at his pad: it waited beside the pad for a pilot
// stuck on foot far off until its tank ran dry), and while he hangs over the pad once its tank allows
// no more waiting (he may stand on the grains of his wreck for seconds: on Hive it fell, tank empty).
TEST(ComputerPilot, RefuelsAtTheEnemysPadWhileHisPilotIsOnFoot) {
    for (const bool far : {true, false}) {
        TPilotMatch match(1, "maps\\Duel.map", 1);
        TShip &me = match.World().Ships[0], &enemy = match.World().Ships[1];
        int sat = 0;
        for (int t = 0; t < 1000; ++t, match.Tick(TTickInput{})) {
            if (t == 80)
                std::tie(enemy.OnFoot, enemy.Health, me.X, me.Y, me.Fuel) =
                    std::tuple(1, 8, enemy.StartX - 70, enemy.StartY - 50, 30);
            // He hangs in the air, on foot, over the far pad or over his own.
            if (t >= 80)
                std::tie(enemy.X, enemy.Y, enemy.VX, enemy.VY) =
                    far ? std::tuple(me.StartX, me.StartY - 60, 0.0f, 0.0f)
                        : std::tuple(enemy.StartX, enemy.StartY - 30, 0.0f, 0.0f);
            sat += me.AtEnemyBase != 0 && enemy.OnFoot == 1;
        }
        EXPECT_TRUE(sat > 0 && me.OnFoot == 0)
            << "never landed on his pad, or wrecked, while his pilot was on foot "
            << (far ? "far off" : "over his pad");
    }
}

// Low on health and on its way home, it turns on a hurt ship that comes at it rather than show him its
// tail (it flew home, 40 pixels nearer in 90 ticks).
TEST(ComputerPilot, TurnsOnAShipThatComesAtItOnItsWayHome) {
    TPilotMatch match(1, "maps\\Duel.map", 1);
    TShip &me = match.World().Ships[0], &enemy = match.World().Ships[1];
    float from = 0; // where it turned homeward: home is to the left
    for (int t = 0; t < 390; ++t, match.Tick(TTickInput{})) {
        if (t == 300) std::tie(me.Health, enemy.Health, from) = std::tuple(20, 30, me.X);
        if (t >= 300)
            std::tie(enemy.X, enemy.Y, enemy.VX, enemy.VY) = std::tuple(me.X + 140 - (t - 300), me.Y, -1, 0);
    }
    EXPECT_GT(me.X, from - 5);
}

// A pilot on foot high over the ground, drifting, his pack not full, comes down braked by it and walks
// home alive (falling freely he hit the ground at 6 pixels a tick and died); over Glacier's wide hall he
// flies across fast enough for his pack (at the slow pace of narrow ways it ran dry halfway, and he fell).
TEST(ComputerPilot, PilotOnFootComesDownBrakedAndWalksHome) {
    const std::tuple<const char*, float, float, float, int, float> cases[] = {
        {"maps\\Duel.map", 150, -230, 40, 1200, 0}, {"maps\\Glacier.map", 1200, -315, 75, 480, 1000}};
    for (const auto& [map, dx, dy, fuel, ticks, past] : cases) {
        TPilotMatch match(1, map, 1);
        TShip& me = match.World().Ships[0];
        for (int t = 0; t < ticks && me.Lives == 5 && (t <= 80 || me.OnFoot == 1);
             ++t, match.Tick(TTickInput{}))
            if (t == 80)
                std::tie(me.OnFoot, me.Health, me.Fuel, me.Angle, me.X, me.Y, me.VX, me.VY) =
                    std::tuple(1, 8, fuel, 256, me.StartX + dx, me.StartY + dy, 1, 0);
        EXPECT_TRUE(me.Lives == 5 && (me.OnFoot == 0 || me.X < past)) << map;
    }
}

// Floating in Cavern's basin with an empty pack, where the overhanging rim keeps him in, he gives up
// after a while and swims into the rim for a new ship (he floated there until the time ran out).
TEST(ComputerPilot, PilotOnFootTrappedWithAnEmptyPackGivesUp) {
    TPilotMatch match(1, "maps\\Cavern.map", 1);
    TShip& me = match.World().Ships[0];
    for (int t = 0; t < 1600 && me.Lives == 5; ++t, match.Tick(TTickInput{}))
        if (t == 80)
            std::tie(me.OnFoot, me.Health, me.Fuel, me.Angle, me.X, me.Y, me.VX, me.VY) =
                std::tuple(1, 8, 0, 256, 1526, 1972, 0, 0);
    EXPECT_EQ(int(me.Lives), 4) << "still on foot at " << me.X << ", " << me.Y;
}

// Thrown out at the east end of Cavern's hall with a pack less than full, he flies it across and
// climbs onto his pad's ledge (the pack ran dry short of it and he fell to his death).
TEST(ComputerPilot, PilotOnFootCrossesCavernsHallHome) {
    TPilotMatch match(1, "maps\\Cavern.map", 1, "hard");
    TShip& me = match.World().Ships[0];
    for (int t = 0; t < 2000 && me.Lives == 5 && (t <= 80 || me.OnFoot != 0); ++t, match.Tick(TTickInput{}))
        if (t == 80)
            std::tie(me.OnFoot, me.Health, me.Fuel, me.Angle, me.X, me.Y, me.VX, me.VY) =
                std::tuple(1, 8, 65, 256, 1314, 1932, 0, 0);
    EXPECT_EQ(int(me.Lives), 5);
    EXPECT_EQ(int(me.OnFoot), 0) << "still on foot at " << me.X << ", " << me.Y;
}

// The pilot never draws from the match's generator: a person pressing the same bits tick by tick gets
// the same generator state after every tick and the same ships at the end.
TEST(ComputerPilot, PlaysTheSameMatchAsAPersonPressingItsBits) {
    constexpr int Ticks = 900;
    std::vector<uint8_t> bits;
    std::vector<uint32_t> states;
    TPilotMatch computer(1, "maps\\Duel.map", 9);
    for (int t = 0; t < Ticks; ++t) {
        computer.Tick(TTickInput{});
        bits.push_back(computer.Game->Input.Now.Players[0]);
        states.push_back(computer.World().Rng.Seed);
    }
    EXPECT_GT(computer.World().Match.Players[0].ShotsFired, 0u);
    TPilotMatch person(0, "maps\\Duel.map", 9);
    for (int t = 0; t < Ticks; ++t) {
        TTickInput keys;
        keys.Players[0] = bits[size_t(t)];
        person.Tick(keys);
        ASSERT_EQ(person.World().Rng.Seed, states[size_t(t)]) << "tick " << t;
    }
    for (size_t p = 0; p < 2; ++p) {
        EXPECT_EQ(person.World().Ships[p].X, computer.World().Ships[p].X);
        EXPECT_EQ(person.World().Ships[p].Y, computer.World().Ships[p].Y);
        EXPECT_EQ(person.World().Ships[p].Health, computer.World().Ships[p].Health);
    }
}

// How the computer flies, aims and chooses is kept as recorded: both sides flown at one level, the
// bits they press digested tick by tick. A change on purpose records the digest the failure prints.
TEST(ComputerPilot, PlaysAsRecordedAtEveryLevel) {
    const struct {
        const char* Map;
        const char* Level;
        uint64_t Digest;
    } cases[] = {{"maps\\Duel.map", "hard", 11056945361217247299ull},
                 {"maps\\Duel.map", "easy", 7046805649994932845ull},
                 {"maps\\Swamp.map", "normal", 9836692974252717763ull}};
    for (const auto& c : cases) {
        TPilotMatch match(3, c.Map, 11, c.Level);
        uint64_t digest = 1469598103934665603ull;
        for (int t = 0; t < 1000; ++t) {
            match.Tick(TTickInput{});
            for (const uint8_t bits : match.Game->Input.Now.Players)
                digest = (digest ^ bits) * 1099511628211ull;
        }
        EXPECT_EQ(digest, c.Digest) << c.Map << " at level " << c.Level << " now gives " << digest;
    }
}

} // namespace
