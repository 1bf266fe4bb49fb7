// ContestTest: hits, collisions, wrecks and deaths, points and lives, bases, flags and medals.
#include "combat/Contest.h"
#include "CombatTestKit.h"

#include "core/GameMath.h"
#include "media/Sound.h"
#include "world/Views.h"
#include "world/World.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <tuple>
#include <utility>

namespace {

// An 800 x 600 empty cave with its solid floor, ship 1 at (200, 300), ship 2 at (600, 300), flag 1
// at (150, 280) and flag 2 at (650, 280); map scale 0.5.
struct Contest : ::testing::Test {
    std::unique_ptr<TWorld> Map;
    TWaveList Waves = CombatSounds();

    void SetUp() override {
        Build(TestOptions(""));
        Map->Rng.Seed = 12345;
    }

    void Build(const TOptions& options) { Map = CombatWorld(800, 600, 200, 300, 600, 300, "1", &options); }
    // A fresh world with these lives and points limit, 0 meaning unlimited and none.
    void Build(uint8_t lives, uint8_t pointsLimit) {
        TOptions o = TestOptions("");
        o.Lives = lives;
        o.PointsLimit = pointsLimit;
        Build(o);
    }
    TShip& Ship(int p) { return Map->Ships[size_t(p)]; }
    TPilotRecord& Player(int p) { return Map->Match.Players[size_t(p)]; }
    const Surface& Mask(int p) { return Ship(p).Masks[size_t(Ship(p).FrameIndex())]; }

    // The world position of cell (c, r) of ship p's current silhouette.
    std::pair<float, float> Cell(int p, int c, int r) {
        return {float(Round(Ship(p).X) + c - Mask(p).Width / 2),
                float(Round(Ship(p).Y) + r - Mask(p).Height / 2)};
    }
    // A solid cell of the silhouette near its centre, and an empty one inside its box.
    std::pair<float, float> SolidPoint(int p) {
        const Surface& m = Mask(p);
        EXPECT_TRUE(MaskSolid(m.Pixel(m.Width / 2, m.Height / 2)));
        return Cell(p, m.Width / 2, m.Height / 2);
    }
    std::pair<float, float> ClearPoint(int p) {
        const Surface& m = Mask(p);
        EXPECT_EQ(m.Pixel(1, 1), 0u);
        return Cell(p, 1, 1);
    }

    // Puts a live record of `kind` into `slot`: owner and age in its counter.
    TProjectile& Put(uint16_t slot, uint8_t kind, std::pair<float, float> at, int owner = 1, int age = 9) {
        // Position, velocity, colour, kind, weight, padding, counter and timer.
        return Map->Projectiles[slot] = TProjectile{
                   at.first, at.second, 3, -1.5f, 0, 0, 0, kind, 0, {}, uint32_t(10 * owner + age), 4};
    }
    void Hit(int p, std::vector<uint16_t> slots) { Map->ResolveHits(p, slots, Waves); }

    int Live(uint8_t kind) const { return CountKind(*Map, kind); }
    bool Playing(const std::string& name) { return ::Playing(Waves, name); }
    // The body of ship p is found dead in the update.
    bool Kill(int p) {
        Ship(p).Alive = 0;
        return Map->HandleDeath(p, Waves);
    }
    // Player 1 comes home dragging the enemy's flag.
    void Capture() {
        Map->Flags[1].State = 2;
        Map->OwnBase(0, Waves);
    }
    // Ship p standing on a pad: the flags the feet set.
    void AtBase(int p, bool own) {
        Ship(p).AtOwnBase = own ? 1 : 0;
        Ship(p).AtEnemyBase = own ? 0 : 1;
    }
    // Puts the pilot of ship p on foot (the ship wrecked), where it stands.
    void OnFoot(int p, double angle = 256) {
        Ship(p).OnFoot = 1;
        Ship(p).Angle = angle;
        Ship(p).Health = 8;
        Ship(p).Fuel = 75;
    }
};

// --- Hits ---------------------------------------------------------------------------------------

// The age guard for every kind is in the table of EveryKindHasItsOwnEffect.
// Bullets, rockets, sparks and blood on ships and pilots play out in the golden replays (brawl above
// all); what they never meet are listed records that no longer fit the silhouette.
TEST_F(Contest, CandidatesThatNoLongerFitTheSilhouetteAreSkipped) {
    TProjectile& clear = Put(5, 9, ClearPoint(0));
    // Listed once, these records have since moved far off the ship, or were freed; and an index past
    // the pool never reads anything.
    TProjectile& moved = Put(6, 9, {Ship(0).X + 200, Ship(0).Y});
    Put(7, 9, SolidPoint(0)).Kind = 0;
    Put(8, 9, {Ship(0).X - 1e30f, Ship(0).Y});
    Map->Projectiles[9] = Map->Projectiles[8];
    Map->Projectiles[9].X = std::nanf("");
    Hit(0, {5, 6, 7, 8, 9, 60000, 65535});
    EXPECT_EQ(Ship(0).Health, 100.0f);
    EXPECT_EQ(clear.Kind, 9) << "a miss leaves the bullet flying";
    EXPECT_EQ(moved.Kind, 9);
    EXPECT_EQ(Player(1).ShotsHitEnemy, 0u);
}

TEST_F(Contest, ASlotFreedByOneShipsHitsIsSkippedInTheOtherShipsListOfTheSameUpdateOnly) {
    // The ships overlap, so one bullet was listed for both.
    Ship(1).X = Ship(0).X;
    Ship(1).Y = Ship(0).Y;
    const auto where = SolidPoint(0);
    Put(300, 9, where, 1, 9);
    Hit(0, {300});
    EXPECT_EQ(Ship(0).Health, 95.0f);
    EXPECT_TRUE(Playing("Rico"));
    // A spawn refilled the slot with a rocket of player 1 right over ship 1 before its turn.
    TProjectile& refilled = Put(300, 13, where, 0, 9);
    Hit(1, {300});
    EXPECT_EQ(Ship(1).Health, 100.0f);
    EXPECT_EQ(refilled.Timer, 4.0f);

    // In the next update the same slot, listed afresh, is an ordinary candidate again.
    ++Map->FrameCounter;
    Hit(1, {300});
    EXPECT_EQ(Ship(1).Health, 60.0f);
    EXPECT_EQ(refilled.Timer, -42.0f);

    // Nor is ship 1 held back by an older update's hits when ship 0, waiting to respawn, resolved
    // nothing since.
    Put(300, 9, where, 1, 9);
    Hit(0, {300});
    ++Map->FrameCounter;
    Put(300, 9, where, 0, 9);
    Hit(1, {300});
    EXPECT_EQ(Ship(1).Health, 55.0f);
}

struct TKindCase {
    uint8_t Kind;
    float Health;  // after the hit, from 100
    float VX;      // the ship's, pushed from rest by a record flying at 3 to the right
    uint8_t After; // the record's kind afterwards; 0 when it is used up
    bool Counted;
    bool Guarded; // the ship's own record, younger than nine frames, passes harmlessly
};

TEST_F(Contest, EveryKindHasItsOwnEffectAndOnlyLooseMatterAndSmallBulletsHitTheirOwnShipBeforeItsNinthFrame) {
    const TKindCase cases[] = {
        {9, 95, 0.1f, 0, true, true},     {15, 95, 0.1f, 0, true, true},
        {21, 98, 0.1f, 0, false, false},  {11, 99.5f, 3 / 42.0f, 0, true, true},
        {16, 99.5f, 3, 0, false, true},   {12, 60, 1, 12, true, true},
        {13, 60, 1, 13, true, true},      {18, 60, 1, 18, true, true},
        {20, 60, 1, 20, true, true},      {17, 65, 0, 17, true, true},
        {14, 100, 0, 14, false, true},    {19, 100, 0, 19, false, true},
        {22, 0, 0, 22, false, true},      {23, 100, 0, 23, false, true},
        {24, 99, 1, 255, false, true},    {25, 100, 0, 25, false, true},
        {3, 100, 0, 3, false, false},     {6, 100, 0, 6, false, false},
        {255, 100, 0, 255, false, false}, {4, 100, 0, 4, false, true},
        {5, 100, 0, 5, false, true},      {10, 100, 0, 10, false, true},
        {2, 100, 0, 2, false, true},
    };
    // The enemy's record just fired, then the ship's own eight and nine frames old.
    for (const TKindCase& c : cases)
        for (const auto& [owner, age] : {std::pair{0, 0}, {1, 8}, {1, 9}}) {
            SCOPED_TRACE(testing::Message()
                         << "kind " << int(c.Kind) << ", owner " << owner << ", age " << age);
            TShip& s = Ship(1);
            s.Health = 100;
            s.VX = s.VY = 0;
            s.Glued = 0;
            Player(0).ShotsHitEnemy = Player(1).ShotsHitSelf = 0;
            TProjectile& r = Put(400, c.Kind, SolidPoint(1), owner, age);
            // The walk of the impact particles starts at the hit record, which is still in its slot
            // while they fly and so is found empty afterwards when it is used up.
            Map->ProjectileCursor = 399;
            Hit(1, {400});
            const bool hit = owner == 0 || age == 9 || !c.Guarded;
            EXPECT_FLOAT_EQ(s.Health, hit ? c.Health : 100);
            EXPECT_FLOAT_EQ(s.VX, hit ? c.VX : 0);
            EXPECT_EQ(r.Kind, hit ? c.After : c.Kind);
            EXPECT_EQ(Player(0).ShotsHitEnemy + Player(1).ShotsHitSelf, hit && c.Counted ? 1u : 0u);
        }
}

// Loose earth and snow pushed aside by a ship move in every golden replay, and brawl's rain drops
// splash off the ships (planted faults in the splash fail it).
TEST_F(Contest, RecordsThatStayChangeAsTheirKindSays) {
    const auto at = SolidPoint(1);
    Ship(1).VX = 0.5f;
    Ship(1).VY = -0.25f;

    TProjectile& nuke = Put(1, 22, at, 0, 9);
    Hit(1, {1});
    EXPECT_EQ(nuke.Timer, -4.0f) << "it splits and explodes in the next update";

    Ship(1).Health = 20;
    TProjectile& mine = Put(2, 17, at, 0, 9);
    Hit(1, {2});
    EXPECT_EQ(Ship(1).Health, 0.0f) << "clamped";
    EXPECT_EQ(mine.Timer, -42.0f);

    TProjectile& sentry = Put(3, 19, at, 0, 9);
    TProjectile& bomb = Put(4, 14, at, 0, 9);
    Hit(1, {3, 4});
    EXPECT_EQ(sentry.Timer, 0.0f);
    EXPECT_EQ(bomb.Timer, 0.0f);

    Ship(1).Health = 50;
    TProjectile& glue = Put(5, 23, at, 0, 9);
    Hit(1, {5});
    EXPECT_FLOAT_EQ(Ship(1).VY, -0.25f + 0.5f / Map->FrameRate);
    EXPECT_EQ(glue.VX, Ship(1).VX) << "glue rides along";
    EXPECT_EQ(glue.VY, Ship(1).VY);

    TProjectile& bug = Put(6, 25, at, 0, 9);
    bug.Timer = 1;
    Hit(1, {6});
    EXPECT_EQ(Ship(1).Glued, 1);
    EXPECT_FLOAT_EQ(bug.Timer, 1.0f - 1.0f / Map->FrameRate);
    EXPECT_EQ(bug.VX, Ship(1).VX);

    const float vy = Ship(1).VY;
    Put(7, 24, at, 0, 9);
    Hit(1, {7});
    EXPECT_FLOAT_EQ(Ship(1).VY, vy - 0.5f);
    EXPECT_TRUE(Playing("Dirt"));
}

// --- Ship against ship --------------------------------------------------------------------------

// Ships ramming each other (thirty each, velocities swapped, sparks) and crushing pilots play out in
// the golden replay brawl; the overlap's edges, a body not alive and two pilots meeting do not.
TEST_F(Contest, ShipsCompareOnlyTheOverlapRectangleFromItsTopLeftCorner) {
    // Five-pixel silhouettes, each solid at one cell: the overlap is ox = 4 - |dx| wide (at most
    // 4) and oy = 4 - |dy| high, so the last column or row of the common box is never compared.
    const struct {
        int DX, DY;
        int A[2], B[2]; // the solid cell (column, row) of each silhouette
        bool Touch;
    } cases[] = {
        {0, 0, {3, 2}, {3, 2}, true},  {0, 0, {4, 2}, {4, 2}, false}, {0, 0, {2, 4}, {2, 4}, false},
        {3, 0, {3, 2}, {0, 2}, true},  {3, 0, {4, 2}, {1, 2}, false}, {0, 3, {2, 3}, {2, 0}, true},
        {0, 3, {2, 4}, {2, 1}, false}, {-3, 0, {0, 2}, {3, 2}, true},
    };
    for (const auto& c : cases) {
        for (int p = 0; p < 2; ++p) {
            TShip& s = Ship(p);
            s.X = 100 + float(p * c.DX);
            s.Y = 100 + float(p * c.DY);
            s.Health = 100;
            s.Alive = 1;
            Surface mask(5, 5);
            const int* at = p == 0 ? c.A : c.B;
            mask.SetPixel(at[0], at[1], 0xFFFFFF);
            s.Masks[size_t(s.FrameIndex())] = mask;
        }
        Map->ShipCollision(Waves);
        EXPECT_EQ(Ship(0).Health, c.Touch ? 70.0f : 100.0f) << c.DX << "," << c.DY << " " << c.A[0] << c.A[1];
    }
}

TEST_F(Contest, TwoPilotsBleedAndLoseTwoEachAndABodyNotAliveIsNotPushed) {
    OnFoot(0, 258);
    OnFoot(1);
    Ship(1).X = Ship(0).X;
    Ship(1).Y = Ship(0).Y;
    Ship(0).Alive = Ship(1).Alive = 1;
    Ship(0).VY = 1;
    const int blood = Live(255);
    Map->ShipCollision(Waves);
    EXPECT_EQ(Ship(0).Alive, 1);
    EXPECT_EQ(Ship(1).Alive, 1);
    EXPECT_EQ(Ship(0).Health, 6.0f);
    EXPECT_EQ(Ship(1).Health, 6.0f);
    EXPECT_EQ(Ship(1).VY, 1.0f);
    EXPECT_EQ(Live(255), blood + Mask(0).Width + 1);

    Ship(1).Alive = 0;
    Map->ShipCollision(Waves);
    EXPECT_EQ(Ship(0).Health, 6.0f);
}

// --- Wrecks, deaths, points and lives -----------------------------------------------------------

// Wrecks and deaths with their points, lives, the match's end at the last life, respawn, the pilot
// thrown clear and the flag a dead pilot drops play out in the golden replays; unlimited lives and a
// points limit do not.
TEST_F(Contest, UnlimitedLivesNeverEndTheMatchAndAPointsLimitDoes) {
    Build(0, 0);
    for (int i = 0; i < 20; ++i)
        Kill(0);
    EXPECT_EQ(Map->MatchOver, 0) << "unlimited lives never end it";
    EXPECT_EQ(Ship(0).Lives, 0);
    EXPECT_EQ(Player(1).Points, 20u);

    // A limit is reached by kills exactly and by captures or more.
    Build(0, 2);
    Kill(0);
    EXPECT_EQ(Map->MatchOver, 0) << "limit 2, one point";
    Kill(0);
    EXPECT_EQ(Map->MatchOver, 1) << "limit 2: the pilot's death is the second point";
    Build(0, 4);
    AtBase(0, true);
    Capture();
    EXPECT_EQ(Player(0).Points, 5u);
    EXPECT_EQ(Map->MatchOver, 1) << "a capture may pass the limit";
}

// --- Bases --------------------------------------------------------------------------------------

TEST_F(Contest, ACaptureNeedsTheOwnFlagAtHome) {
    AtBase(0, true);
    TFlag& enemyFlag = Map->Flags[1];
    enemyFlag.State = 2;
    enemyFlag.X = 230;
    for (uint8_t own : {1, 2}) {
        Map->Flags[0].State = own;
        Map->OwnBase(0, Waves);
        EXPECT_EQ(Player(0).Points, 0u);
        EXPECT_EQ(enemyFlag.State, 2) << "the dragged flag keeps following";
    }
    Map->Flags[0].State = 0;
    Map->OwnBase(0, Waves);
    EXPECT_EQ(Player(0).Points, 5u);
    EXPECT_EQ(Player(0).FlagsCaptured, 1u);
    // A flag only taken, not yet dragged, is no capture either.
    enemyFlag.State = 1;
    Map->OwnBase(0, Waves);
    EXPECT_EQ(Player(0).Points, 5u);
}

// Captures, and a pilot dragging the flag home on foot and given a new ship beside his pad, play
// out in the golden replays; the enemy's pad, which their pilots never visit, does not.
TEST_F(Contest, BasesRepairOnlyTheLivingAndOnlyUpToTheirTops) {
    struct Case {
        bool OnFoot, AtBase;
        float Health, Fuel, WantHealth, WantFuel;
    };
    const float f = Map->FrameRate;
    // A ship mends 5 health and 10 fuel a second up to 100 and 200, a pilot on foot 2 and 2 up to 8
    // and 75; the dead are not healed, and nobody away from the base.
    const Case cases[] = {{false, true, 50, 10, 50 + 5 / f, 10 + 10 / f},
                          {false, true, 99.99f, 199.99f, 100, 200},
                          {false, true, 0, 10, 0, 10 + 10 / f},
                          {true, true, 7.99f, 74.99f, 8, 75},
                          {true, true, 3, 10, 3 + 2 / f, 10 + 2 / f},
                          {true, true, 0, 10, 0, 10 + 2 / f},
                          {true, false, 3, 10, 3, 10}};
    for (const Case& c : cases) {
        TShip& s = Ship(0);
        if (c.OnFoot) OnFoot(0);
        AtBase(0, false);
        if (!c.AtBase) s.AtEnemyBase = 0;
        s.Health = c.Health;
        s.Fuel = c.Fuel;
        Map->EnemyBase(0, Waves);
        EXPECT_FLOAT_EQ(s.Health, c.WantHealth) << c.OnFoot << " " << c.Health;
        EXPECT_FLOAT_EQ(s.Fuel, c.WantFuel) << c.OnFoot << " " << c.Fuel;
    }
}

// --- Medals -------------------------------------------------------------------------------------

TEST_F(Contest, TheCaptureMedalIsAnnouncedOncePerMatch) {
    AtBase(0, true);
    Capture();
    Capture();
    EXPECT_EQ(Map->MedalTimer[0], 0);
    Capture();
    EXPECT_EQ(Player(0).Medals[0], 1);
    EXPECT_EQ(Map->MedalTimer[0], 3 * Map->FrameRate);
    EXPECT_EQ(Map->MedalImage[0], "Medal0");
    EXPECT_TRUE(Playing("Medal"));

    // A new life, three more captures: the medal is held already and not announced again.
    Map->MedalTimer[0] = 0;
    Ship(0).CapturesThisLife = 0;
    for (int i = 0; i < 3; ++i)
        Capture();
    EXPECT_EQ(Map->MedalTimer[0], 0);
    EXPECT_EQ(Player(0).Medals[0], 1);
    // The next grade is new.
    for (int i = 0; i < 3; ++i)
        Capture();
    EXPECT_EQ(Player(0).Medals[1], 1);
    EXPECT_EQ(Map->MedalImage[0], "Medal1");
    EXPECT_EQ(Player(0).Points, 45u);
}

TEST_F(Contest, SurvivalAndRaidMedalsAreAnnouncedEveryTimeTheUpdateFindsThem) {
    // Seconds alive, seconds at the enemy base, the medal announced ("" for none); 900 twice.
    const std::tuple<uint32_t, uint32_t, std::string> cases[] = {
        {300, 0, "Medal6"},  {600, 0, "Medal7"},   {900, 0, "Medal8"},   {900, 0, "Medal8"},
        {301, 10, "Medal9"}, {301, 20, "Medal10"}, {301, 30, "Medal11"}, {301, 11, ""}};
    for (const auto& [life, raid, image] : cases) {
        Map->MedalTimer[1] = 0;
        Map->MedalImage[1] = "";
        Ship(1).LifeSeconds = life;
        Ship(1).EnemyBaseSeconds = raid;
        Map->TimeMedals(1, Waves);
        EXPECT_EQ(Map->MedalImage[1], image) << life << " " << raid;
        EXPECT_EQ(Map->MedalTimer[1], image.empty() ? 0 : 3 * Map->FrameRate) << life << " " << raid;
    }
    for (int k : {6, 7, 8, 9, 10, 11})
        EXPECT_EQ(Player(1).Medals[size_t(k)], 1) << k;
    EXPECT_EQ(Player(0).Medals, (std::array<uint8_t, MedalCount>{}));
}

// --- Flags --------------------------------------------------------------------------------------

TEST_F(Contest, OnlyTheEnemyTakesTheFlagUpCloseAndDragsItOnceFarAway) {
    // The wave, the cloth spreading at home and the dragged flag's swing play out in the golden
    // replays; the distances at which it is taken and dragged are checked at their edges.
    TFlag& flag = Map->Flags[0];
    TShip& taker = Ship(1);
    Ship(0).X = flag.X; // the owner standing on it takes nothing
    Ship(0).Y = flag.Y;
    Map->UpdateFlag(0, Waves);
    EXPECT_EQ(flag.State, 0);

    taker.X = flag.X + 31; // beyond 60 x 0.5
    taker.Y = flag.Y;
    Map->UpdateFlag(0, Waves);
    EXPECT_EQ(flag.State, 0);
    taker.X = flag.X + 29;
    Map->UpdateFlag(0, Waves);
    EXPECT_EQ(flag.State, 1);
    EXPECT_EQ(Player(1).FlagAttempts, 1u);
    EXPECT_EQ(Player(0).FlagAttempts, 0u);

    // Hovering between 30 and 50 pixels away leaves it standing taken.
    taker.X = flag.X + 45;
    for (int i = 0; i < 10; ++i)
        Map->UpdateFlag(0, Waves);
    EXPECT_EQ(flag.State, 1);
    EXPECT_EQ(flag.X, 150.0f);
    EXPECT_EQ(Player(1).FlagAttempts, 1u);

    taker.X = flag.X + 51;
    Map->UpdateFlag(0, Waves);
    EXPECT_EQ(flag.State, 2);
    EXPECT_EQ(flag.VX, 0.0f);
    EXPECT_TRUE(Playing("CTFsnup"));

    // Disabled flags stay put.
    TOptions o = TestOptions("");
    o.FlagsDisabled = 1;
    Build(o);
    Ship(1).X = Map->Flags[0].X;
    Ship(1).Y = Map->Flags[0].Y;
    Map->UpdateFlag(0, Waves);
    EXPECT_EQ(Map->Flags[0].State, 0);
    EXPECT_EQ(Map->Flags[0].VX, 0.0f);
}

// A record gone astray (not a number, infinite, absurdly far) gives no view pixel and no mask cell
// rather than an undefined conversion to int; each guard alone must hold.
TEST(ContestGuards, BrokenOrFarPositionsGiveNoViewPixelAndNoMaskCell) {
    int out = 0;
    EXPECT_TRUE(ViewPixel(105.4, 100, out) && out == 5);
    EXPECT_TRUE(MaskCell(101, 100, 8, out) && out == 5);
    const double nan = std::nan(""), far = 1e9;
    for (const auto& [a, b] : {std::pair{nan, 0.0}, {0.0, nan}, {far, 0.0}, {0.0, -far}}) {
        EXPECT_FALSE(ViewPixel(a, b, out)) << a << " " << b;
        EXPECT_FALSE(MaskCell(a, b, 8, out)) << a << " " << b;
    }
}

} // namespace
