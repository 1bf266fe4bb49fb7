// ComputerPilot: a pilot flown by the computer, which reads the world and answers with one side's action
// bits.
#pragma once

#include "combat/Weapon.h"
#include "core/GameMath.h"
#include "core/PilotRecord.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

class TShip;
class TWorld;

enum class TPilotLevel : uint8_t { Easy, Normal, Hard };

// "easy", "normal" or "hard" in any letter case; false for anything else.
bool ParsePilotLevel(const std::string& text, TPilotLevel& level);

// What a level changes: how late it sees, how well it aims and how carefully it flies. The rules
// are the same for every level.
struct TPilotSkill {
    int ReactionTicks = 4;  // the enemy is seen as it was this many ticks ago
    double AimError = 3;    // largest aim error, in 256ths of a turn
    double CruiseSpeed = 5; // pixels a tick in open air
    double RockSpeed = 0.8; // pixels a tick next to rock
    double ReturnHealth = 35;
    double ReturnFuel = 30; // besides what the way home takes
    static TPilotSkill Of(TPilotLevel level);
};

// One side flown by the computer. It only reads the world, never draws from the match's random
// generator (its own is seeded from the match seed), and answers with the bits a person's controls
// would give, so the match treats both alike.
class TComputerPilot {
  public:
    TComputerPilot(int side, TPilotLevel level, uint32_t seed);

    // This side's action bits for the coming tick (bit n: TAction n held).
    uint8_t Think(const TWorld& world, const std::array<TWeapon, 2>& weapons);

    TPilotLevel Level() const { return Grade; }
    // Low on health, fuel or rounds, it is on its way to a pad (for the match tool's traces).
    bool GoingHome() const { return Homeward; }

    // The side's two weapon pages (five weapon numbers each), from which it picks at its base.
    void KnowPages(const std::array<uint8_t, 10>& pages) { Pages = pages; }

    static constexpr int Cell = 8; // side of a grid cell in pixels

  private:
    struct TTarget {
        double X = 0;
        double Y = 0;
        double VX = 0;
        double VY = 0;
    };
    void ScanRows(const TWorld& world, int rows);
    void Clearances();
    bool Open(int cx, int cy) const;
    int Clearance(double x, double y) const;
    bool PlanPath(double fromX, double fromY, double toX, double toY);
    bool Search(double fromX, double fromY, double toX, double toY);
    // The middle of grid cell `i` (row-major index), in pixels.
    TTarget CellCentre(int i) const;
    // Moves `PathStep` on to the path's cell nearest (x, y) among the next few.
    void FollowPath(double x, double y);
    bool Roomy(double x0, double y0, double x1, double y1, int need) const;
    bool ClearLine(const TWorld& world, double x0, double y0, double x1, double y1) const;
    uint8_t Fly(const TWorld& world, TTarget goal, bool landing);
    // A cell of a few loose pixels of ground with no more around it (see SpeckPixels).
    bool Loose(int cx, int cy) const;
    // A way to `goal` counting loose cells as open; on it, the loose cell that closes the way first
    // (`SpeckCell`) and the path cell some cells short of it to shoot from (`StandOff`).
    bool FindThrough(double fromX, double fromY, TTarget goal);
    // No way with room leads to `goal`: when loose bits of ground close it, flies to where it shoots
    // them from and shoots them away (the bits in `bits`); false when there are none to shoot.
    bool ClearWay(const TWorld& world, TTarget goal, uint8_t& bits);
    // Whether the ship's outline, carried on along its present course, meets ground that hurts within
    // `ticks` ticks; `at` is then the middle of the pixels it meets first, as seen from where it is now.
    bool Touches(const TWorld& world, int ticks, TTarget& at) const;
    // Near enough above the pad spot `goal`, with nothing but air straight below the ship's sides.
    bool OverPad(const TWorld& world, TTarget goal) const;
    uint8_t Walk(const TWorld& world, TTarget goal);
    // Where a few ticks of walking `walk` (-1 left, 0 none, 1 right; in the air only below `airSpeed`
    // sideways) with the pack used as `pack` says (see PackAbove) take the pilot on foot, and how many
    // ticks of that and of braking after it (the pack against a fall, the other key against a drift)
    // pass before he touches rock, which kills him.
    struct TFootStep {
        double X = 0;
        double Y = 0;
        bool Standing = false; // on his feet now
        int Lasts = 0;
    };
    TFootStep Stride(const TWorld& world, int walk, int pack, double airSpeed) const;
    // The pack is pushed while the pilot moves down faster than this: 0 braking a fall (see SafeFall),
    // 1 keeping his height, 2 climbing slowly.
    double PackAbove(const TWorld& world, int pack, double x, double y) const;
    // The fastest the pilot at (x, y) may fall: what the pack can still brake before the ground below.
    double SafeFall(const TWorld& world, double x, double y) const;
    // The fuel the way round the rock to (x, y) takes, landing included: hovering costs about 0.05 a
    // tick, and each cell of the way is flown at about the speed its room allows.
    double WayFuel(double fromX, double fromY, double x, double y);
    // Now and then: the fuel the ways to the own pad and to the spot on the enemy's take.
    void HomeWay(const TWorld& world);
    // The pads under both start points, and on the enemy's the spot farthest from its parked ship
    // where both feet stand (the enemy's pad fills the tank too, and does not stop firing).
    void FindPads(const TWorld& world);
    // The spot on the enemy's pad farthest from the enemy's ship (or its pilot, or its start when
    // it is away); X -1 when none is far enough.
    void ChooseSpot(const TWorld& world);
    // Where the enemy's ship is, or where a new one of his is about to be: over his start point while
    // he waits for it, and where his pilot on foot stands once he reaches his pad. False when there is
    // none to keep off (his pilot away from the pad may be run down).
    bool EnemyBody(const TWorld& world, TTarget& body) const;
    // Just off the enemy's pad: straight up, slowly, past the ship parked there; 0 once done.
    uint8_t LiftOff(const TWorld& world);
    // Where it refuels: the pad whose way takes less fuel; true while it is the enemy's.
    bool RefuelAtEnemy() const;
    // On its way to a pad, whether it turns on the enemy's ship instead: one near and in sight, not
    // much the healthier, that has just hit it, closes in on it or is a heavy hit from a wreck.
    bool Defends(const TWorld& world, const std::array<TWeapon, 2>& weapons) const;
    // Flies to the pad and sits there until mended, filled up and loaded; then lifts straight off.
    uint8_t Refuel(const TWorld& world, const std::array<TWeapon, 2>& weapons);
    uint8_t Steer(const TWorld& world, double ax, double ay, bool mayThrust, double tilt);
    // The same for a ship at `ship` (with its velocity) whose nose points at `angle`.
    static uint8_t SteerFrom(const TWorld& world, TTarget ship, double angle, double ax, double ay,
                             bool mayThrust, double tilt);
    // How fast the ship slows down moving along (dx, dy): the deceleration the push (nose within
    // `tilt` of up) and gravity give, and the ticks the nose takes to turn to that push first.
    struct TBraking {
        double Rate = 0;
        double Delay = 0;
    };
    static TBraking Braking(const TWorld& world, const TShip& s, double dx, double dy, double tilt);
    // The fastest the ship may go now: slow enough to come down, before each coming cell of the path,
    // to what that cell's room and the turn of the path there allow (and to `end` at its end).
    double PathSpeed(const TWorld& world, double end) const;
    // A place to shoot at the enemy from: roomy, with room to sink, a clear line of fire, a little above.
    bool FindPost(const TWorld& world, TTarget enemy);
    // Whether a ship there may touch a new ship of the enemy's, which appears over his start point
    // and drops onto his pad.
    bool InDropZone(const TWorld& world, double x, double y) const;
    // Whether the ship, coasting `coast` ticks without a push while its nose turns toward `nose`, can
    // then turn upright and stop its fall and its drift keeping the usual room from rock, and from
    // the enemy's start point and his ship, all the way: righted with the nose straight toward up, or
    // (`flown`) as the flight's steering rights it.
    bool Recovers(const TWorld& world, double nose, int coast, bool flown) const;
    // The same for a ship at `from` (with its velocity) whose nose points at `angle`.
    bool RecoversFrom(const TWorld& world, TTarget from, double angle, double nose, int coast,
                      bool flown) const;
    // Whether to aim at `want` this tick: a pass goes on while the ship can still be righted, and
    // begins, after a hop when the ship is near rest, when there is room for a pass worth it.
    bool Pass(const TWorld& world, double want);
    // Marks the post stalled once the ship has waited at it a while without beginning a pass, and no
    // longer once a pass begins.
    void NoteStall(double fromPost);
    // Heading of the ship turned toward `want` (256ths); left/right bits.
    static uint8_t TurnToward(double heading, double want, double tolerance);
    // On the own base at the start: holds the second fire key to open that page and steps to the
    // rockets (else the homing missiles), as a person does; 0 once done.
    uint8_t PickWeapons();

    int Side = 0;
    TPilotLevel Grade = TPilotLevel::Normal;
    TPilotSkill Skill;
    TRandom Dice;
    uint64_t Ticks = 0;
    // The coarse grid: cells with any rock in them, and each cell's distance in cells to rock.
    int GridW = 0;
    int GridH = 0;
    int ScanCursor = 0;
    std::vector<uint8_t> Blocked;
    std::vector<uint8_t> Distance;
    std::vector<uint8_t> Rocks; // pixels of ground in each cell, counted up to a few more than loose bits
    // Shooting loose bits out of the way to `ThroughFor`, found at tick `ThroughAt`: the cell shot at
    // (-1: none), where it waits, whether it aims now and the height it began at.
    int SpeckCell = -1;
    TTarget ThroughFor{-1e9, -1e9};
    uint64_t ThroughAt = 0;
    TTarget StandOff{};
    bool ClearAim = false;
    bool Clearing = false; // flying to `StandOff`
    double ClearFrom = 0;
    struct TSweep {
        double Speed = 0; // the shot's speed, 0 without rounds
        double Drop = 0;  // the pull of gravity on it a tick
        uint8_t Fire = 0; // its fire key when ready
    };
    TSweep Sweep;
    std::vector<int> Path; // cell indices from the ship toward the goal
    size_t PathStep = 0;
    int Room = 3; // cells the path keeps from rock: 3, or 2 through a narrow gap
    TTarget PathGoal{-1e9, -1e9};
    uint64_t PlannedAt = 0;
    std::vector<TTarget> EnemySeen; // the enemy's recent places, oldest first
    double AimJitter = 0;
    TTarget Post{-1e9, -1e9}; // where it shoots from, chosen for the enemy's place `PostFor`
    TTarget PostFor{-1e9, -1e9};
    uint64_t PostAt = 0;
    int PostWait = 0;         // ticks at its post without a pass
    bool PostStalled = false; // waited there in vain: a post where a pass can begin from rest
    bool Aiming = false;      // turned toward the enemy to shoot, last tick
    bool Hopping = false;     // pushing straight up to shoot on the rise and the fall that follow
    bool Homeward = false;    // low on health, fuel or rounds: going home until it stands there
    double PadX = -1;         // middle of the own pad, found at the first tick
    double PadY = 0;          // the ship's centre when it stands there
    std::vector<int> Stands;  // where the ship's centre may stand on the enemy's pad, left to right
    int EnemyPadLeft = 0;     // the enemy's pad: first and last column and its row; none while
    int EnemyPadRight = -1;   // right < left
    int EnemyPadRow = 0;
    // Two ships side by side, this one left of the enemy's and right of it, whose centres are this
    // far apart never touch.
    std::array<int, 2> Across{19, 19};
    // The same with this one's nose leaning as far as it does to settle onto a pad.
    std::array<int, 2> Leaning{19, 19};
    // The same for each frame of this one's outline from two frames right of up to two left.
    std::array<std::array<int, 5>, 2> FrameApart{};
    TTarget Spot{-1, 0};  // the ship's centre standing there, away from the enemy; X -1: none
    bool Lifting = false; // just off the enemy's pad, from height `LiftFrom`
    double LiftFrom = 0;
    double StuckX = 0; // the pilot on foot has kept near here since tick `StuckAt`
    double StuckY = 0;
    uint64_t StuckAt = 0;
    double LastHealth = 0; // the ship's health last tick, and the tick it last lost some
    uint64_t HurtAt = 0;
    double HomeFuel = 0;   // fuel the way home takes, measured at tick `HomeAt`
    double SpotFuel = 1e9; // fuel the way to `Spot` takes
    uint64_t HomeAt = 0;
    std::array<uint8_t, 10> Pages = DefaultWeapons;
    int PickTick = -1; // ticks into picking the second slot's weapon; -1 before it starts
};
