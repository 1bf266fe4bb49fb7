// WeaponTest: the weapon catalogue, ammunition and cooldown, and firing on foot, single and linked.
// Most weapons fire, from both ships and on foot, in the determinism guard's fight; these tests keep
// the limits and what that fight leaves out.
#include "CombatTestKit.h"
#include "TestSupport.h"

#include "combat/Weapon.h"
#include "core/GameMath.h"
#include "world/StateHash.h"

#include <gtest/gtest.h>

#include <cmath>
#include <tuple>

namespace {

// A freshly created weapon that has waited `cooldown` seconds since its last shot.
TWeapon Armed(uint8_t owner, uint8_t id, float cooldown) {
    TWeapon w;
    w.Create(owner, id);
    w.Cooldown = cooldown;
    return w;
}

struct Weapons : ::testing::Test {
    std::unique_ptr<TWorld> Map = CombatWorld(400, 300, 100, 150, 300, 150);
    TWaveList Waves = CombatSounds();
    TShip& Ship = Map->Ships[0];

    void SetUp() override {
        Map->Rng.Seed = 7;
        Ship.VX = Ship.VY = 0;
        Ship.Angle = 0; // pointing right
    }
    // Live records in spawn order of the shots fired so far (the pool starts empty, or cleared).
    std::vector<TProjectile> Shots() const {
        std::vector<TProjectile> out;
        for (const TProjectile& p : Map->Projectiles)
            if (p.Kind != 0) out.push_back(p);
        return out;
    }
    const TProjectile& Last() const { return Map->Projectiles[Map->ProjectileCursor]; }
    uint32_t Fired(int p = 0) const { return Map->Match.Players[size_t(p)].ShotsFired; }
    void Tick(TWeapon& w, int frames) {
        for (int i = 0; i < frames; ++i)
            w.Tick(40, *Map);
    }
};

TEST_F(Weapons, LaterSetupsKeepTheAmmunitionAndNumbersPastTheCatalogueNeverFire) {
    // Past the catalogue only the defaults are set; what the previous weapon left behind stays.
    TWeapon w = Armed(1, 13, 3); // linked shotgun
    w.Ammo = 37;
    w.Setup(23);
    EXPECT_EQ(w.WeaponId, 23);
    EXPECT_EQ(w.LightWeapon, 1);
    EXPECT_EQ(w.Linked, 0);
    EXPECT_EQ(w.Cooldown, 0.0f);
    EXPECT_EQ(w.Kind, 9);
    EXPECT_EQ(w.SoundName, "Shotgun");
    EXPECT_EQ(w.Ammo, 37.0f);
    // Changing weapons at the base keeps the slot's ammunition; a part of a shot is no shot.
    w.Setup(3);
    EXPECT_EQ(w.Ammo, 37.0f);
    EXPECT_EQ(w.LightWeapon, 0);
    EXPECT_EQ(w.ShotsLeft(), 3);
    w.Ammo = 9.9f;
    w.AmmoCost = 10;
    EXPECT_EQ(w.ShotsLeft(), 0);

    // A number without a row has no cost: no shots (and no division by zero), and it never fires.
    TWeapon none = Armed(0, 200, 100);
    EXPECT_EQ(none.AmmoCost, 0.0f);
    EXPECT_EQ(none.ShotsLeft(), 0);
    EXPECT_FALSE(none.IsReady(*Map));
    EXPECT_FALSE(none.Fire(*Map, Waves));
    EXPECT_EQ(CountKind(*Map, 0), 0);
    EXPECT_EQ(Fired(), 0u);
    for (const TVoice& v : Waves.Mixer.Voices)
        EXPECT_FALSE(v.Playing);
    EXPECT_EQ(none.Ammo, 100.0f);
}

TEST_F(Weapons, RechargeAddsThirtyPerDivisorAndAShotWaitsForTheWholeDelay) {
    // Ammunition before, divisor, whether the top was passed, ammunition after. A divisor of 0
    // counts as 1, and exactly 100 is not over the top.
    const std::tuple<float, double, bool, float> recharges[] = {
        {10, 0, false, 40},   {10, 40, false, 10.75f}, {70, 1, false, 100},
        {100, 1, false, 100}, {90, 1, true, 100},
    };
    TWeapon w = Armed(0, 0, 0);
    for (const auto& [before, divisor, top, after] : recharges) {
        w.Ammo = before;
        EXPECT_EQ(w.Recharge(divisor), top) << before << " / " << divisor;
        EXPECT_EQ(w.Ammo, after) << before << " / " << divisor;
    }

    // An empty weapon holding its cooldown at 0 while a pilot on foot keeps counting plays out in
    // every golden replay (planted faults in either fail them); the ready test is checked here.
    w = Armed(0, 3, 0);
    w.Ammo = 10;
    w.Cooldown = 0;
    // Forty single-precision steps of 0.025 fall just short of 1: the shot comes a frame later.
    Tick(w, 40);
    EXPECT_FALSE(w.IsReady(*Map));
    Tick(w, 1);
    EXPECT_TRUE(w.IsReady(*Map));
    EXPECT_TRUE(w.Fire(*Map, Waves));
    EXPECT_EQ(w.Ammo, 0.0f);
}

TEST_F(Weapons, ALinkedWeaponFiresAllGunsForTheirWholeCost) {
    // Ship 2 has two guns. A single weapon takes them in turn in the golden replays.
    TShip& ship2 = Map->Ships[1];
    ship2.Guns = {TMarker{64, 6}, TMarker{192, 6}}; // left and right of the nose when pointing right
    ship2.GunIndex = 1;
    ship2.Angle = 0;
    // A linked minigun on two guns: twice the cost and twice the delay, one bullet per gun.
    TWeapon linked = Armed(1, 1, 1);
    linked.Ammo = 1.9f;
    EXPECT_FALSE(linked.IsReady(*Map));
    EXPECT_FALSE(linked.Fire(*Map, Waves));
    linked.Ammo = 2;
    linked.Cooldown = 0.19f;
    EXPECT_FALSE(linked.Fire(*Map, Waves));
    linked.Cooldown = 0.2f;
    EXPECT_TRUE(linked.IsReady(*Map));
    const uint32_t before = Fired(1);
    ASSERT_TRUE(linked.Fire(*Map, Waves));
    EXPECT_EQ(linked.Ammo, 0.0f);
    EXPECT_EQ(Fired(1), before + 2);
    EXPECT_EQ(ship2.GunIndex, 1); // back where it started
    const auto shots = Shots();
    ASSERT_EQ(shots.size(), 2u);
    // The gun after the current one fires first: gun 0, above the nose.
    EXPECT_NEAR(shots[0].Y, ship2.Y - 6, 1e-4);
    EXPECT_NEAR(shots[1].Y, ship2.Y + 6, 1e-4);
}

// Where a pilot's shots leave and how fast they fly fails the golden replays when changed; the waits
// between shots, the free ammunition and the aim without a direction are checked here.
TEST_F(Weapons, PilotOnFootFiresForFreeWithItsOwnRules) {
    Ship.OnFoot = 1;
    TWeapon light = Armed(0, 0, 0.09f);
    light.Ammo = 0;
    EXPECT_FALSE(light.Fire(*Map, Waves));
    light.Cooldown = 0.1f;
    ASSERT_TRUE(light.Fire(*Map, Waves));
    EXPECT_EQ(Last().Kind, 9);
    EXPECT_EQ(light.Ammo, 0.0f);
    EXPECT_EQ(Fired(), 1u);

    // The heavy shot is a homing missile; with both bodies on one point it has no direction to aim
    // in, and no division by zero.
    Map->Ships[1].X = Ship.X;
    Map->Ships[1].Y = Ship.Y;
    TWeapon heavy = Armed(0, 18, 1.4f);
    EXPECT_FALSE(heavy.Fire(*Map, Waves));
    heavy.Cooldown = 1.5f;
    ASSERT_TRUE(heavy.Fire(*Map, Waves));
    EXPECT_EQ(Last().Kind, 12);
    EXPECT_EQ(Last().VX, 0.0f);
    EXPECT_EQ(Last().VY, 0.0f);
    EXPECT_EQ(heavy.Ammo, 100.0f);
}

TEST_F(Weapons, FiringPlaysTheWeaponSoundLoudAtTheFiringShip) {
    TWeapon w = Armed(0, 14, 1);
    ASSERT_TRUE(w.Fire(*Map, Waves));
    const TWaveItem& grenade = Waves.Find("Grenade");
    EXPECT_EQ(grenade.Volume, 0); // own distance 0: full volume
    EXPECT_EQ(grenade.Pan, -200); // the other ship 200 pixels away: panned to player 1's side
    EXPECT_GE(grenade.Frequency, 18000);
    EXPECT_LT(grenade.Frequency, 22000);
    Map->Ships[1].OnFoot = 1;
    TWeapon pilot = Armed(1, 14, 2);
    ASSERT_TRUE(pilot.Fire(*Map, Waves));
    EXPECT_EQ(Waves.Find("Pistol").Pan, 200);
}

// Each weapon fired once from the left ship through water at the right one, rock behind it, and a
// second of the rules after it must leave the world as recorded (tests/replays/weapons.screens).
TEST(WeaponShots, EachWeaponFiredOnceLeavesTheRecordedWorld) {
    TGoldenScreens worlds{"weapons", {}};
    TWaveList waves = CombatSounds();
    for (uint8_t id = 0; id < WeaponCount; ++id) {
        const auto map = CombatWorld(400, 300, 100, 150, 300, 150);
        map->Rng.Seed = 7;
        map->Ships[0].Angle = 0;
        PutBlock(*map, 180, 120, 220, 180, TerrainWater, Rgb(20, 40, 200)); // a pool on the way
        PutBlock(*map, 340, 0, 400, 300, TerrainGround, Rgb(120, 90, 60));  // rock behind the target
        TWeapon w = Armed(0, id, 100);
        EXPECT_TRUE(w.Fire(*map, waves)) << int(id);
        for (int f = 0; f < 40; ++f)
            map->UpdateWorld(waves);
        TStateHash h;
        HashWorld(h, *map);
        h.Add(w.Ammo);
        worlds.Check("weapon-" + std::to_string(id), h.Value());
    }
}

} // namespace
