// ComputerPilot: path finding on a coarse grid of open air, flight by wanted velocity, aiming with lead.
#include "pilot/ComputerPilot.h"

#include "core/PlayerInput.h"
#include "world/World.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <numbers>
#include <queue>

namespace {

constexpr double TurnUnits = 256.0;
constexpr double Up = 64.0;
constexpr int RowsPerTick = 3;      // grid rows rescanned each tick, so blown rock and snow show up
constexpr int ClearanceEvery = 10;  // ticks between rebuilds of the distance to rock
constexpr int ReplanEvery = 12;     // ticks between path searches
constexpr double FightRange = 400;  // pixels
constexpr double SteepRange = 200;  // pixels within which it shoots steeply down
constexpr double PostRange = 110;   // pixels from the enemy it likes to shoot from
constexpr double KeepOff = 44;      // pixels kept between the centres of the two ships
constexpr int PickTicks = 12;       // ticks on the page at the start: open, up to two steps, let go
constexpr double Tilt = 36;         // 256ths of a turn the nose leans from up at most in flight
constexpr double BrakeMargin = 0.7; // share of the full braking the speed plan counts on
constexpr double Gain = 0.15;       // share of the gap to the wanted speed made up in a tick
constexpr int HomeEvery = 40;       // ticks between measurements of the way home
constexpr double HoldFuel = 0.05;   // fuel a tick of holding the ship up takes: a fifth of the push
constexpr double LandingFuel = 10;  // fuel the slow descent onto a pad takes
// The fastest a ship may move to begin settling onto a pad: there the nose leans little and brakes a
// drift slowly (a pass ended by the turn home carried Duel's ship across the enemy's pad into the wall).
constexpr double SettleSpeed = 0.8;
// 256ths of a turn the nose leans at most while settling onto a pad.
constexpr double SettleLean = 10;
// Cells a ship's centre keeps from rock: a ship reaches 16 pixels, two cells, from its centre.
constexpr int MinRoom = 3;
// A parked ship with this much health or less is finished by one burst of the first slot.
constexpr double BurstHealth = 35;
// At a ship standing on its own pad the first slot aims from this health down.
constexpr double ParkedHealth = 75;
// Upward speed a hop reaches before the nose turns to shoot, and the fewest ticks of shooting worth a
// pass.
constexpr double HopSpeed = 3;
constexpr int MinPass = 16;
// Ticks at its post without a pass after which it looks for a post where a pass can begin from rest,
// and what a post where none can costs more then.
constexpr int StallTicks = 80;
constexpr double NoPassCost = 1000;
// Pixels kept across and below the enemy's start point (half as many above) while a new ship of his may
// appear there: while his pilot is out of a ship, or his ship is low enough to be wrecked soon.
constexpr double DropRoom = 48;
constexpr double DropHealth = 50;
// Pixels within which an enemy's ship in sight is fought even on the way to a pad, and the fuel below
// which it flies on all the same.
constexpr double DefendRange = 250;
constexpr double DefendFuel = 25;
// It turns on him for this many ticks after he last hurt it, or while he closes in this fast.
constexpr uint64_t DefendTicks = 80;
constexpr double DefendClosing = 0.5;
// The health a ship may have more than this one and still be fought on the way home, and a hit of the
// heavy second slot: an enemy with no more than that is always fought.
constexpr double DefendOdds = 20;
constexpr double HeavyHit = 40;
// Pixels a pass keeps between the centres of the two ships, whose outlines reach some 16 pixels from
// the centre (in flight it keeps farther off).
constexpr double PassKeepOff = 34;
// On foot: ticks each way of moving is tried for and ticks of braking after it; the fastest climb
// and fall it allows itself, the sideways speed it keeps below in the air, and the pack's fuel it keeps
// for braking falls.
constexpr int FootAhead = 8;
constexpr int FootBrake = 32;
constexpr double FootClimb = 1.0;
constexpr double FootFall = 0.8;
constexpr double FootFallMax = 3;
constexpr double FootAirSpeed = 1.2;
// In open air, this many cells from rock, it flies across faster: hovering costs fuel by the tick, and
// the pack ran dry crossing Glacier's wide hall at the slow speed, dropping its pilot to his death, and
// at 3 across Cavern's hall, short of the ledge of his pad.
constexpr int FootOpenRoom = 4;
constexpr double FootOpenSpeed = 5;
constexpr double FootSpare = 5;
// Pixels of ground looked for below the feet when braking, and a climb's height counted into the fall
// after it.
constexpr int FootScan = 120;
constexpr double FootClimbRoom = 40;
// Ticks without getting this many pixels away after which it stops being careful.
constexpr int FootStuckTicks = 200;
constexpr double FootUnstuck = 16;
// Ticks stuck after which it gives up: his pack fills only on the enemy's pad, so a pilot who cannot
// get on only waits for the enemy to kill him, and it walks into the nearest rock at his height
// within this many pixels to get a new ship at home.
constexpr int FootGiveUpTicks = 800;
constexpr int FootGiveUpReach = 400;
// Share of the push that stops a drift once the ship is upright again (the nose leans, and holds it up).
constexpr double DriftBraking = 0.4;
constexpr int FeelTicks = 12; // ticks ahead the ship's outline is carried along its course
// A grid cell with this many pixels of ground or fewer, with no more in any cell around it, holds loose
// bits hanging in the air (dug-out ground that settled on other loose bits): shot away, they free a way.
constexpr int SpeckPixels = 16;
// Ticks between searches for a way through loose bits, and pixels within which they are shot at, from
// where the way comes some cells short of them.
constexpr int ThroughEvery = 48;
constexpr double SpeckRange = 90;
constexpr size_t SpeckStandOff = 5;
// Pixels it may sink while shooting at them before it climbs back.
constexpr double SpeckSink = 16;

bool Airy(uint8_t cls) {
    return cls == TerrainEmpty || cls == TerrainWater;
}

// a - b as a turn in (-128, 128].
double TurnDiff(double a, double b) {
    double d = std::fmod(a - b, TurnUnits);
    if (d > TurnUnits / 2) d -= TurnUnits;
    if (d <= -TurnUnits / 2) d += TurnUnits;
    return d;
}

// The heading (256ths, 0 = right, 64 = up) of a direction on the screen, where y grows downward.
double HeadingOf(double dx, double dy) {
    return std::atan2(-dy, dx) * TurnUnits / (2 * std::numbers::pi);
}

uint8_t Bit(TAction a) {
    return uint8_t(1u << a);
}

// Classes a ship passes through on its way down to a pad: air, water, and snow, which gives way.
bool Passable(uint8_t cls) {
    return Airy(cls) || cls == TerrainSnow;
}

// Mended, filled up to `fuel` and loaded, near enough: then it lifts off its pad.
bool Full(const TShip& s, const std::array<TWeapon, 2>& weapons, double fuel = 195) {
    return s.Health >= 99 && s.Fuel >= fuel && weapons[0].Ammo >= 95 && weapons[1].Ammo >= 95;
}

// A rate of the rules given per second (as the rules give them, at the map's scale) for one tick.
double PerTick(const TWorld& world, double perSecond) {
    return perSecond / std::max<double>(world.FrameRate, 1) * world.Scale;
}

// The speed it flies at `d` cells from rock: full speed three cells beyond the room a path usually
// keeps, the slowest at that room.
// Hold still while aiming: push when the push along the nose works against the drift and the sinking.
// With the nose turned below level, only when it brings the ship nearer to stopping, which takes half the
// push or more going that way (a push across the need only adds a drift of its own: down a narrow shaft
// it carried the ship into the wall); above level any help will do (held back there too, it won only half
// its matches on Glacier).
bool HoldPush(const TWorld& world, const TShip& s) {
    const double h = s.Angle * 2 * std::numbers::pi / TurnUnits;
    const double wantX = -s.VX * 0.15, wantY = -s.VY * 0.15 - PerTick(world, 4.0);
    const double along = std::cos(h) * wantX - std::sin(h) * wantY;
    const double push = 20.0 / std::max<double>(world.FrameRate, 1) * world.Scale;
    const bool below = std::fabs(TurnDiff(s.Angle, Up)) > TurnUnits / 4;
    return along > (below ? push / 2 : 0.02) && s.Fuel > 0;
}

double RoomSpeed(const TPilotSkill& skill, int d) {
    return skill.RockSpeed +
           (skill.CruiseSpeed - skill.RockSpeed) * std::clamp((d - MinRoom) / 3.0, 0.0, 1.0);
}

// The pad under a start point: its row and its first and last column; false when there is none.
bool PadUnder(const TTerrain& t, double startX, double startY, int& row, int& left, int& right) {
    const int x = int(startX);
    row = int(startY);
    while (row < t.Height && t.Get(x, row) == TerrainEmpty)
        ++row;
    left = right = x;
    while (t.Get(left - 1, row) == TerrainPad)
        --left;
    while (t.Get(right + 1, row) == TerrainPad)
        ++right;
    return t.Get(x, row) == TerrainPad;
}

// The walk key to press for walking `walk` (-1 left, 1 right) at sideways speed vx: in the air only
// the other key brakes a drift, so there it walks only below the speed it keeps to.
int Striding(int walk, double vx, bool standing, double most) {
    return standing || walk * vx < most ? walk : 0;
}

// Distance in cells from every cell to the nearest blocked one (or the edge of the world), by a
// breadth-first spread eight ways from all blocked cells at once; blocked cells are 0. Counted eight ways,
// a distance d leaves at least (d - 1) cells of air between a point of the cell and the rock.
void Spread(const std::vector<uint8_t>& blocked, int w, int h, std::vector<uint8_t>& distance) {
    distance.assign(blocked.size(), 0);
    std::vector<int> queue;
    queue.reserve(blocked.size());
    for (int cy = 0; cy < h; ++cy)
        for (int cx = 0; cx < w; ++cx) {
            const size_t i = size_t(cy) * size_t(w) + size_t(cx);
            const bool edge = cx == 0 || cy == 0 || cx == w - 1 || cy == h - 1;
            distance[i] = blocked[i] != 0 ? 0 : edge ? 1 : 255;
            if (distance[i] <= 1) queue.push_back(int(i));
        }
    for (size_t q = 0; q < queue.size(); ++q) {
        const int i = queue[q];
        const int cx = i % w, cy = i / w;
        const int next[8][2] = {{cx + 1, cy},     {cx - 1, cy},     {cx, cy + 1},     {cx, cy - 1},
                                {cx + 1, cy + 1}, {cx - 1, cy - 1}, {cx - 1, cy + 1}, {cx + 1, cy - 1}};
        for (const auto& nb : next) {
            if (nb[0] < 0 || nb[1] < 0 || nb[0] >= w || nb[1] >= h) continue;
            const size_t j = size_t(nb[1]) * size_t(w) + size_t(nb[0]);
            const uint8_t d = uint8_t(std::min(254, distance[size_t(i)] + 1));
            if (distance[j] <= d) continue;
            distance[j] = d;
            queue.push_back(int(j));
        }
    }
}

// Rows from `feet` down to the first footing in column x, at most `most`.
int FootDrop(const TTerrain& t, int x, int feet, int most) {
    int d = 0;
    while (d < most && !Footing(t.Get(x, feet + d)))
        ++d;
    return d;
}

} // namespace

bool ParsePilotLevel(const std::string& text, TPilotLevel& level) {
    std::string t;
    for (char c : text)
        t += char(std::tolower(static_cast<unsigned char>(c)));
    if (t == "easy")
        level = TPilotLevel::Easy;
    else if (t == "normal")
        level = TPilotLevel::Normal;
    else if (t == "hard")
        level = TPilotLevel::Hard;
    else
        return false;
    return true;
}

TPilotSkill TPilotSkill::Of(TPilotLevel level) {
    switch (level) {
    case TPilotLevel::Easy:
        return TPilotSkill{12, 10, 3.5, 0.6, 45, 40};
    case TPilotLevel::Hard:
        return TPilotSkill{1, 1.2, 5, 0.8, 35, 20};
    case TPilotLevel::Normal:
        break;
    }
    return TPilotSkill{};
}

TComputerPilot::TComputerPilot(int side, TPilotLevel level, uint32_t seed)
    : Side(side == 0 ? 0 : 1), Grade(level), Skill(TPilotSkill::Of(level)) {
    Dice.Seed = seed * 2654435761u + uint32_t(Side) * 40503u + 1u;
}

void TComputerPilot::ScanRows(const TWorld& world, int rows) {
    const TTerrain& t = world.TerrainBitmap;
    const int w = (t.Width + Cell - 1) / Cell;
    const int h = (t.Height + Cell - 1) / Cell;
    if (w != GridW || h != GridH) {
        GridW = w;
        GridH = h;
        Blocked.assign(size_t(w) * size_t(h), 0);
        Rocks.assign(Blocked.size(), 0);
        Distance.assign(Blocked.size(), 0);
        ScanCursor = 0;
        rows = h;
    }
    for (int n = 0; n < rows && GridH > 0; ++n) {
        const int cy = ScanCursor;
        ScanCursor = (ScanCursor + 1) % GridH;
        for (int cx = 0; cx < GridW; ++cx) {
            // Snow is no rock: a ship pushes through it unharmed. The grains of every wreck settle as
            // snow, and counted as rock they closed the narrow stretches of Warren's arch to its paths.
            // Counted up to a few more than loose bits have, so that solid rock costs little.
            int rock = 0;
            for (int y = cy * Cell; y < (cy + 1) * Cell && rock <= SpeckPixels; ++y)
                for (int x = cx * Cell; x < (cx + 1) * Cell && rock <= SpeckPixels; ++x)
                    rock += Passable(t.Get(x, y)) ? 0 : 1;
            const size_t i = size_t(cy) * size_t(GridW) + size_t(cx);
            Blocked[i] = rock > 0 ? 1 : 0;
            Rocks[i] = uint8_t(rock);
        }
    }
}

void TComputerPilot::Clearances() {
    Spread(Blocked, GridW, GridH, Distance);
}

bool TComputerPilot::Open(int cx, int cy) const {
    return cx >= 0 && cy >= 0 && cx < GridW && cy < GridH &&
           Distance[size_t(cy) * size_t(GridW) + size_t(cx)] >= Room;
}

int TComputerPilot::Clearance(double x, double y) const {
    const int cx = int(std::floor(x / Cell)), cy = int(std::floor(y / Cell));
    if (cx < 0 || cy < 0 || cx >= GridW || cy >= GridH) return 0;
    return Distance[size_t(cy) * size_t(GridW) + size_t(cx)];
}

// A way with the usual room when there is one, else one that squeezes through a narrower gap (a ship
// still fits where the centre keeps two cells from rock).
bool TComputerPilot::PlanPath(double fromX, double fromY, double toX, double toY) {
    Room = MinRoom;
    if (Search(fromX, fromY, toX, toY)) return true;
    Room = MinRoom - 1;
    if (Search(fromX, fromY, toX, toY)) return true;
    Room = MinRoom;
    return false;
}

// A* over open cells, eight ways, with a toll on cells close to rock so the path keeps to the middle
// of a passage. Start and goal move to the nearest open cell when they lie in rock.
bool TComputerPilot::Search(double fromX, double fromY, double toX, double toY) {
    Path.clear();
    PathStep = 0;
    if (GridW == 0) return false;
    auto nearestOpen = [&](double x, double y, int& ox, int& oy) {
        const int cx = int(std::floor(x / Cell)), cy = int(std::floor(y / Cell));
        for (int r = 0; r <= 4; ++r)
            for (int dy = -r; dy <= r; ++dy)
                for (int dx = -r; dx <= r; ++dx)
                    if ((std::abs(dx) == r || std::abs(dy) == r) && Open(cx + dx, cy + dy)) {
                        ox = cx + dx;
                        oy = cy + dy;
                        return true;
                    }
        return false;
    };
    int sx = 0, sy = 0, gx = 0, gy = 0;
    if (!nearestOpen(fromX, fromY, sx, sy) || !nearestOpen(toX, toY, gx, gy)) return false;
    const size_t n = size_t(GridW) * size_t(GridH);
    std::vector<int> cost(n, INT32_MAX);
    std::vector<int> from(n, -1);
    using TEntry = std::pair<int, int>; // estimate, cell
    std::priority_queue<TEntry, std::vector<TEntry>, std::greater<>> open;
    const int start = sy * GridW + sx, goal = gy * GridW + gx;
    auto estimate = [&](int cx, int cy) {
        const int dx = std::abs(cx - gx), dy = std::abs(cy - gy);
        return 10 * std::max(dx, dy) + 4 * std::min(dx, dy);
    };
    cost[size_t(start)] = 0;
    open.push({estimate(sx, sy), start});
    while (!open.empty()) {
        const auto [est, i] = open.top();
        open.pop();
        if (i == goal) break;
        const int cx = i % GridW, cy = i / GridW;
        if (est - estimate(cx, cy) > cost[size_t(i)]) continue;
        for (int dy = -1; dy <= 1; ++dy)
            for (int dx = -1; dx <= 1; ++dx) {
                if ((dx == 0 && dy == 0) || !Open(cx + dx, cy + dy)) continue;
                if (dx != 0 && dy != 0 && (!Open(cx + dx, cy) || !Open(cx, cy + dy))) continue;
                const int j = (cy + dy) * GridW + cx + dx;
                const int d = Distance[size_t(j)];
                // Counted from the usual room, so that a squeezing path squeezes only where it must.
                const int toll = d < MinRoom        ? 400
                                 : d == MinRoom     ? 200
                                 : d == MinRoom + 1 ? 40
                                 : d == MinRoom + 2 ? 10
                                                    : 0;
                // A climb costs fuel and is slow to stop (only gravity brakes it): a little dearer.
                const int c = cost[size_t(i)] + (dx != 0 && dy != 0 ? 14 : 10) + toll + (dy < 0 ? 5 : 0);
                if (c >= cost[size_t(j)]) continue;
                cost[size_t(j)] = c;
                from[size_t(j)] = i;
                open.push({c + estimate(cx + dx, cy + dy), j});
            }
    }
    if (cost[size_t(goal)] == INT32_MAX) return false;
    for (int i = goal; i != -1; i = from[size_t(i)])
        Path.push_back(i);
    std::reverse(Path.begin(), Path.end());
    return true;
}

TComputerPilot::TTarget TComputerPilot::CellCentre(int i) const {
    return TTarget{(i % GridW + 0.5) * Cell, (i / GridW + 0.5) * Cell};
}

void TComputerPilot::FollowPath(double x, double y) {
    size_t best = PathStep;
    double nearest = 1e18;
    for (size_t k = PathStep; k < std::min(Path.size(), PathStep + 10); ++k) {
        const TTarget c = CellCentre(Path[k]);
        const double d = std::hypot(c.X - x, c.Y - y);
        if (d < nearest) nearest = d, best = k;
    }
    PathStep = best;
}

// True when the straight line between two points crosses no rock of the play field.
bool TComputerPilot::ClearLine(const TWorld& world, double x0, double y0, double x1, double y1) const {
    const double length = std::hypot(x1 - x0, y1 - y0);
    const int steps = int(length / 3) + 1;
    for (int k = 1; k < steps; ++k) {
        const double f = double(k) / steps;
        if (!Airy(world.TerrainBitmap.Get(int(x0 + (x1 - x0) * f), int(y0 + (y1 - y0) * f)))) return false;
    }
    return true;
}

// True when every point of the line between two points lies at least `need` cells from rock.
bool TComputerPilot::Roomy(double x0, double y0, double x1, double y1, int need) const {
    const int steps = int(std::hypot(x1 - x0, y1 - y0) / (Cell / 2)) + 1;
    for (int k = 0; k <= steps; ++k) {
        const double f = double(k) / steps;
        if (Clearance(x0 + (x1 - x0) * f, y0 + (y1 - y0) * f) < need) return false;
    }
    return true;
}

uint8_t TComputerPilot::TurnToward(double heading, double want, double tolerance) {
    const double d = TurnDiff(want, heading);
    if (d > tolerance) return Bit(actLeft); // the heading grows counter-clockwise
    if (d < -tolerance) return Bit(actRight);
    return 0;
}

// Turns toward the thrust that gives the wanted acceleration (ax, ay) against gravity and thrusts when
// the nose points near enough to it. The nose stays in the upper half, within `tilt` 256ths of straight
// up: gravity does the pulling down, and a ship that never turns over is never a half turn from a push.
uint8_t TComputerPilot::Steer(const TWorld& world, double ax, double ay, bool mayThrust, double tilt) {
    const TShip& s = world.Ships[size_t(Side)];
    return SteerFrom(world, TTarget{s.X, s.Y, s.VX, s.VY}, s.Angle, ax, ay, mayThrust, tilt);
}

uint8_t TComputerPilot::SteerFrom(const TWorld& world, TTarget ship, double angle, double ax, double ay,
                                  bool mayThrust, double tilt) {
    const double rate = std::max<double>(world.FrameRate, 1);
    const double gravity = PerTick(world, 4.0);
    const double push = 20.0 / rate * world.Scale;
    const double tx = ax, ty = std::min(ay - gravity, -0.2 * gravity);
    double want = Up + std::clamp(TurnDiff(HeadingOf(tx, ty), Up), -tilt, tilt);
    // Nose down: back up the nearer way round first, the push is wasted until then.
    const double fromUp = TurnDiff(angle, Up);
    if (std::fabs(fromUp) > 64) want = Up + (fromUp > 0 ? tilt : -tilt);
    // Without fuel there is no push to aim: the nose stays up, so that the feet meet the ground first
    // (a leaning ship's outline reaches lower than its feet, and a pad hurts it).
    if (!mayThrust) want = Up;
    uint8_t bits = TurnToward(angle, want, 2.0);
    const double h = angle * 2 * std::numbers::pi / TurnUnits;
    const double along = tx * std::cos(h) - (ay - gravity) * std::sin(h);
    // Never a push that speeds the ship up while it should slow down: a push from a nose still
    // turning for the braking does that.
    const double faster = std::cos(h) * ship.VX - std::sin(h) * ship.VY;
    const bool slowing = ax * ship.VX + ay * ship.VY < 0;
    if (mayThrust && along > 0.3 * push && !(slowing && faster > 0.2 * std::hypot(ship.VX, ship.VY)))
        bits |= Bit(actThrust);
    return bits;
}

TComputerPilot::TBraking TComputerPilot::Braking(const TWorld& world, const TShip& s, double dx, double dy,
                                                 double tilt) {
    const double rate = std::max<double>(world.FrameRate, 1);
    const double gravity = PerTick(world, 4.0);
    const double push = 20.0 / rate * world.Scale;
    const double length = std::hypot(dx, dy);
    if (length < 1e-6) return TBraking{push - gravity, 0};
    dx /= length;
    dy /= length;
    // The push against the motion, as near as the nose may lean; gravity helps a climb and hinders a
    // fall.
    const double want = HeadingOf(-dx, -dy);
    const double nose = Up + std::clamp(TurnDiff(want, Up), -tilt, tilt);
    const double off = std::fabs(TurnDiff(want, nose)) * 2 * std::numbers::pi / TurnUnits;
    const double thrust = off < std::numbers::pi / 2 ? push * std::cos(off) : 0;
    const double delay = thrust > 0 ? std::fabs(TurnDiff(nose, s.Angle)) / (160 / rate) : 0;
    return TBraking{thrust - gravity * dy, delay};
}

double TComputerPilot::PathSpeed(const TWorld& world, double end) const {
    const TShip& s = world.Ships[size_t(Side)];
    auto roomy = [&](int d) { return RoomSpeed(Skill, d); };
    double best = roomy(Clearance(s.X, s.Y));
    if (Path.empty() || PathStep >= Path.size()) return best;
    auto centre = [&](size_t k) { return CellCentre(Path[std::min(k, Path.size() - 1)]); };
    double mx = s.VX, my = s.VY;
    if (std::hypot(mx, my) < 0.5) {
        const TTarget c = centre(PathStep + 2);
        mx = c.X - s.X;
        my = c.Y - s.Y;
    }
    const TBraking brake = Braking(world, s, mx, my, Tilt);
    const double b = std::max(0.02, BrakeMargin * brake.Rate);
    // The speed from which it slows to `later` within `d` pixels: v * delay + (v² - later²) / 2b = d.
    auto within = [&](double d, double later) {
        d = std::max(0.0, d - Cell);
        const double bd = b * brake.Delay;
        return std::max(later, -bd + std::sqrt(bd * bd + 2 * b * d + later * later));
    };
    double along = 0;
    TTarget before{s.X, s.Y};
    const size_t last = std::min(Path.size(), PathStep + 48);
    for (size_t k = PathStep; k < last; ++k) {
        const TTarget c = centre(k);
        along += std::hypot(c.X - before.X, c.Y - before.Y);
        before = c;
        double limit = roomy(Distance[size_t(Path[k])]);
        // The bend of the path here, from three cells back to three cells on: no slowing for a slight
        // one, the slowest for a quarter turn.
        if (k >= 3 && k + 3 < Path.size()) {
            const TTarget a = centre(k - 3), z = centre(k + 3);
            const double bend =
                std::fabs(TurnDiff(HeadingOf(z.X - c.X, z.Y - c.Y), HeadingOf(c.X - a.X, c.Y - a.Y)));
            limit = std::min(limit, Skill.RockSpeed + (Skill.CruiseSpeed - Skill.RockSpeed) *
                                                          std::clamp(1 - (bend - 12) / 40, 0.0, 1.0));
        }
        best = std::min(best, within(along, limit));
    }
    if (last == Path.size()) best = std::min(best, within(along, end));
    // The present course as well: the ship is seldom right on the path.
    const double v = std::hypot(s.VX, s.VY);
    for (int t = 4; t <= 40 && v > 0.3; t += 4)
        best = std::min(best, within(v * t, roomy(Clearance(s.X + s.VX * t, s.Y + s.VY * t))));
    return best;
}

bool TComputerPilot::InDropZone(const TWorld& world, double x, double y) const {
    const TShip& e = world.Ships[size_t(1 - Side)];
    // Only while a new ship may come: the pilot is out of his, or it may be wrecked soon.
    if (e.OnFoot == 0 && e.RespawnTimer == 0 && e.Health > DropHealth) return false;
    return std::fabs(x - e.StartX) < DropRoom && y > e.StartY - DropRoom / 2 && y < e.StartY + DropRoom;
}

bool TComputerPilot::Recovers(const TWorld& world, double nose, int coast, bool flown) const {
    const TShip& s = world.Ships[size_t(Side)];
    return RecoversFrom(world, TTarget{s.X, s.Y, s.VX, s.VY}, s.Angle, nose, coast, flown);
}

bool TComputerPilot::RecoversFrom(const TWorld& world, TTarget from, double angle, double nose, int coast,
                                  bool flown) const {
    const double rate = std::max<double>(world.FrameRate, 1);
    const double gravity = PerTick(world, 4.0);
    const double push = 20.0 / rate * world.Scale;
    const double turn = 160.0 / rate;
    double x = from.X, y = from.Y, vx = from.VX, vy = from.VY;
    TTarget body{};
    const bool keepOff = EnemyBody(world, body);
    // Coasting, then righting: the nose turns up and the push brakes the fall once it points near up;
    // or as the flight rights it, holding the ship still: the nose turns toward the push that stops
    // the ship and pushes only once it points near enough along it (a nose turning up past level
    // would push the ship sideways, and the flight holds that push back).
    for (int t = 0; t < coast + 120; ++t) {
        bool pushing = false;
        if (t < coast || !flown) {
            angle += std::clamp(TurnDiff(t < coast ? nose : Up, angle), -turn, turn);
            pushing = t >= coast && std::fabs(TurnDiff(angle, Up)) < 48 && vy > -0.5;
        } else {
            const uint8_t bits =
                SteerFrom(world, TTarget{x, y, vx, vy}, angle, -vx * Gain, -vy * Gain, true, Tilt);
            angle += (bits & Bit(actLeft)) != 0 ? turn : (bits & Bit(actRight)) != 0 ? -turn : 0;
            pushing = (bits & Bit(actThrust)) != 0;
        }
        if (pushing) {
            const double h = angle * 2 * std::numbers::pi / TurnUnits;
            vx += std::cos(h) * push;
            vy -= std::sin(h) * push;
        }
        x += vx;
        y += vy;
        vy = (vy + gravity) / 1.01;
        vx /= 1.01;
        if (Clearance(x, y) < MinRoom || InDropZone(world, x, y)) return false;
        // Nor onto the enemy's ship: a pass from over his pad sank into the ship parked there.
        if (keepOff && std::hypot(x - body.X - body.VX * t, y - body.Y - body.VY * t) < PassKeepOff)
            return false;
        if (t < coast || vy > 0 || std::fabs(TurnDiff(angle, Up)) >= 16) continue;
        // Upright and no longer falling: then room along the way it drifts while the push, leaning,
        // stops it.
        const double v = std::hypot(vx, vy);
        const double stop = v * v / (2 * DriftBraking * push) + Cell;
        for (double d = Cell; d < stop; d += Cell)
            if (Clearance(x + vx / v * d, y + vy / v * d) < MinRoom) return false;
        return true;
    }
    return false;
}

bool TComputerPilot::Pass(const TWorld& world, double want) {
    const TShip& s = world.Ships[size_t(Side)];
    const int turning = int(std::fabs(TurnDiff(want, s.Angle)) / 4);
    // A pass under way ends while the righting the flight then does still brings the ship to rest
    // with room: on Swamp a pass that counted on pushing as soon as the nose came near up ended low
    // beside the enemy's pad, and the flight, turning the nose up past level, held the push back and
    // sank the ship onto the pad's edge.
    if (Aiming) return Recovers(world, want, 4, true);
    if (Hopping) {
        // Up to the hop's speed, while one more push still leaves room to shoot and right the ship.
        if (s.VY > -HopSpeed && Recovers(world, want, turning + MinPass + 8, false)) return false;
        Hopping = false;
        return Recovers(world, want, turning + 4, false);
    }
    if (!Recovers(world, want, turning + MinPass, false)) return false;
    // From near rest a hop first: the pass then lasts the rise and the fall.
    Hopping = s.VY > -0.5;
    return !Hopping;
}

bool TComputerPilot::FindPost(const TWorld& world, TTarget enemy) {
    const TShip& s = world.Ships[size_t(Side)];
    double best = 1e18;
    TTarget found{};
    for (int side = -1; side <= 1; side += 2)
        for (int r = 60; r <= 220; r += 16)
            for (int dy = -120; dy <= 24; dy += 12) {
                const TTarget p{enemy.X + side * r, enemy.Y + dy};
                // Never where a new ship of the enemy's appears.
                if (InDropZone(world, p.X, p.Y)) continue;
                // Room to sink a while below it: it shoots as it falls.
                if (Clearance(p.X, p.Y) < MinRoom + 2 || Clearance(p.X, p.Y + 3 * Cell) < MinRoom) continue;
                // About 48 pixels above it: the burst goes on as the ship sinks through the line.
                double cost = std::fabs(r - PostRange) + 1.5 * std::fabs(dy + 48) +
                              0.15 * std::hypot(p.X - s.X, p.Y - s.Y);
                if (cost >= best) continue;
                // Both guns' lines: a little above and below the middle.
                if (!ClearLine(world, p.X, p.Y - 6, enemy.X, enemy.Y - 4) ||
                    !ClearLine(world, p.X, p.Y + 6, enemy.X, enemy.Y + 4))
                    continue;
                // After waiting at its post in vain, rather where a pass from rest can begin, the nose
                // turning toward him while the ship falls (at a post beside Hive's pad, too near the
                // floor of its hall for that, it hovered 30 s); elsewhere passes begin on the way.
                if (PostStalled) {
                    const double want = HeadingOf(enemy.X - p.X, enemy.Y - p.Y);
                    const int turning = int(std::fabs(TurnDiff(want, Up)) / 4);
                    if (!RecoversFrom(world, p, Up, want, turning + MinPass, false)) cost += NoPassCost;
                    if (cost >= best) continue;
                }
                best = cost;
                found = p;
            }
    if (best >= 1e18) return false;
    Post = found;
    return true;
}

bool TComputerPilot::Loose(int cx, int cy) const {
    if (cx <= 0 || cy <= 0 || cx >= GridW - 1 || cy >= GridH - 1) return false;
    if (Blocked[size_t(cy) * size_t(GridW) + size_t(cx)] == 0) return false;
    for (int dy = -1; dy <= 1; ++dy)
        for (int dx = -1; dx <= 1; ++dx)
            if (Rocks[size_t(cy + dy) * size_t(GridW) + size_t(cx + dx)] > SpeckPixels) return false;
    return true;
}

bool TComputerPilot::FindThrough(double fromX, double fromY, TTarget goal) {
    SpeckCell = -1;
    std::vector<uint8_t> open = Blocked;
    bool any = false;
    for (int cy = 0; cy < GridH; ++cy)
        for (int cx = 0; cx < GridW; ++cx)
            if (Loose(cx, cy)) {
                open[size_t(cy) * size_t(GridW) + size_t(cx)] = 0;
                any = true;
            }
    if (!any) return false;
    // The search reads the grid's distances and fills the flight's path: both are kept aside meanwhile.
    std::vector<uint8_t> distance;
    Spread(open, GridW, GridH, distance);
    std::swap(distance, Distance);
    const std::vector<int> path = Path;
    const size_t step = PathStep;
    const int room = Room;
    const bool found = PlanPath(fromX, fromY, goal.X, goal.Y);
    std::swap(distance, Distance);
    const std::vector<int> through = Path;
    const int need = Room;
    Path = path;
    PathStep = step;
    Room = room;
    if (!found) return false;
    // The first cell of that way without the room in the grid as it is, and the loose cell nearest it.
    for (size_t k = 0; k < through.size() && SpeckCell < 0; ++k) {
        const int i = through[k];
        if (Distance[size_t(i)] >= need) continue;
        const int cx = i % GridW, cy = i / GridW;
        int best = INT32_MAX;
        for (int dy = -need; dy <= need; ++dy)
            for (int dx = -need; dx <= need; ++dx)
                if (Loose(cx + dx, cy + dy) && dx * dx + dy * dy < best) {
                    best = dx * dx + dy * dy;
                    SpeckCell = (cy + dy) * GridW + cx + dx;
                }
        const int stand = through[k > SpeckStandOff ? k - SpeckStandOff : 0];
        StandOff = CellCentre(stand);
    }
    return SpeckCell >= 0;
}

bool TComputerPilot::ClearWay(const TWorld& world, TTarget goal, uint8_t& bits) {
    const TShip& s = world.Ships[size_t(Side)];
    if (std::hypot(goal.X - ThroughFor.X, goal.Y - ThroughFor.Y) > 6 * Cell ||
        Ticks - ThroughAt >= ThroughEvery || ThroughAt == 0) {
        ThroughAt = Ticks;
        ThroughFor = goal;
        ClearAim = false;
        // A way with room may have opened meanwhile.
        if (SpeckCell >= 0 && PlanPath(s.X, s.Y, goal.X, goal.Y)) {
            SpeckCell = -1;
            PathGoal = goal;
            PlannedAt = Ticks;
            return false;
        }
        if (!FindThrough(s.X, s.Y, goal)) return false;
    }
    if (SpeckCell < 0) return false;
    // The pixel of ground in that cell nearest the ship; with none left the cell is open again.
    const TTerrain& t = world.TerrainBitmap;
    const int x0 = (SpeckCell % GridW) * Cell, y0 = (SpeckCell / GridW) * Cell;
    double px = 0, py = 0, nearest = 1e18;
    for (int y = y0; y < y0 + Cell; ++y)
        for (int x = x0; x < x0 + Cell; ++x)
            if (!Passable(t.Get(x, y)) && std::hypot(x - s.X, y - s.Y) < nearest) {
                nearest = std::hypot(x - s.X, y - s.Y);
                px = x + 0.5;
                py = y + 0.5;
            }
    if (nearest >= 1e18) {
        Blocked[size_t(SpeckCell)] = 0;
        Rocks[size_t(SpeckCell)] = 0;
        Clearances();
        SpeckCell = -1;
        ClearAim = false;
        ThroughAt = 0; // the next look at once
        return false;
    }
    // In sight (up to the pixel before it) and in range: it aims and shoots from where it hovers,
    // sinking a little, and climbs back to where it waits between the bursts.
    bool sight = nearest < SpeckRange;
    for (double d = 3; d < nearest - 2 && sight; d += 2)
        sight = Passable(t.Get(int(s.X + (px - s.X) * d / nearest), int(s.Y + (py - s.Y) * d / nearest)));
    const double speed = std::hypot(s.VX, s.VY);
    if (!ClearAim && sight && Sweep.Speed > 0 && std::hypot(StandOff.X - s.X, StandOff.Y - s.Y) < 2 * Cell &&
        speed < 0.6) {
        ClearAim = true;
        ClearFrom = s.Y;
    }
    if (ClearAim && (!sight || Sweep.Speed <= 0 || s.Y > ClearFrom + SpeckSink ||
                     Clearance(s.X + s.VX * 8, s.Y + s.VY * 8) < MinRoom - 1))
        ClearAim = false;
    if (!ClearAim) {
        Clearing = true;
        bits = Fly(world, StandOff, false);
        Clearing = false;
        return true;
    }
    const double time = nearest / Sweep.Speed;
    const double want = HeadingOf(px - s.X, py - s.Y - 0.5 * Sweep.Drop * time * time);
    bits = TurnToward(s.Angle, want, 0.5);
    if (HoldPush(world, s)) bits |= Bit(actThrust);
    const double width = std::atan(1.0 / std::max(nearest, 1.0)) * TurnUnits / (2 * std::numbers::pi);
    if (std::fabs(TurnDiff(want, s.Angle)) <= std::max(0.6, width)) bits |= Sweep.Fire;
    return true;
}

uint8_t TComputerPilot::Fly(const TWorld& world, TTarget goal, bool landing) {
    const TShip& s = world.Ships[size_t(Side)];
    // A search that finds no way walks the whole cave: it is tried again only now and then.
    const bool goalMoved = std::hypot(goal.X - PathGoal.X, goal.Y - PathGoal.Y) > 3 * Cell;
    const uint64_t since = Ticks - PlannedAt;
    const bool first = PathGoal.X < -1e8;
    // Shooting away loose bits of ground that close the way: that goes on until the next look for a way.
    const bool throughHere = SpeckCell >= 0 &&
                             std::hypot(goal.X - ThroughFor.X, goal.Y - ThroughFor.Y) <= 6 * Cell &&
                             Ticks - ThroughAt < ThroughEvery;
    if (!Clearing && throughHere) {
        uint8_t bits = 0;
        if (ClearWay(world, goal, bits)) return bits;
    }
    // The spot it shoots loose bits from is a new goal at once: with no way to the enemy's goal the
    // path is empty, and the slow retry would keep the ship where it found the way closed.
    const bool standOffNew = Clearing && goalMoved;
    if (first || standOffNew ||
        (Path.empty() ? since >= 4 * ReplanEvery : (goalMoved && since >= 3) || since >= ReplanEvery)) {
        PlanPath(s.X, s.Y, goal.X, goal.Y);
        PathGoal = goal;
        PlannedAt = Ticks;
    }
    if (!Clearing && Path.empty() && !ClearLine(world, s.X, s.Y, goal.X, goal.Y)) {
        uint8_t bits = 0;
        if (ClearWay(world, goal, bits)) return bits;
    }
    // The next point to fly at: the farthest of the coming path cells in plain sight.
    TTarget aim = goal;
    if (!Path.empty()) {
        FollowPath(s.X, s.Y);
        size_t pick = PathStep;
        // The path's own cells are always fit to fly at; farther ones while the straight line to
        // them keeps as far from rock as the narrowest cell of the path on the way does.
        int need = std::min(Room + 1, Clearance(s.X, s.Y));
        for (size_t k = PathStep + 1; k < std::min(Path.size(), PathStep + 12); ++k) {
            const TTarget c = CellCentre(Path[k]);
            need = std::min<int>(need, Distance[size_t(Path[k])]);
            if (k > PathStep + 1 && !Roomy(s.X, s.Y, c.X, c.Y, need)) break;
            pick = k;
        }
        aim =
            pick + 1 >= Path.size() && Roomy(s.X, s.Y, goal.X, goal.Y, need) ? goal : CellCentre(Path[pick]);
    }
    const double dx = aim.X - s.X, dy = aim.Y - s.Y;
    const double dist = std::hypot(dx, dy);
    const double toGoal = std::hypot(goal.X - s.X, goal.Y - s.Y);
    const int clear = Clearance(s.X, s.Y);
    double speed = PathSpeed(world, landing ? 0.2 : 0.5);
    speed = std::min(speed, std::sqrt(2 * 0.05 * toGoal) + (landing ? 0.2 : 0.5));
    double vx = dist > 0.5 ? dx / dist * speed : 0, vy = dist > 0.5 ? dy / dist * speed : 0;
    double upright = Tilt;
    const bool settling = landing && OverPad(world, goal) && std::hypot(s.VX, s.VY) < SettleSpeed;
    if (settling) {
        // Over the pad: to the spot and straight down, slowly, nose up so the feet meet the pad; it
        // holds its height until it is within a pixel of the spot with the nose straight up, lest it
        // stand beside the pad or touch the enemy's ship parked there (a leaning outline is wider).
        const double off = std::fabs(goal.X - s.X);
        const bool above = off <= 1.5 && std::fabs(TurnDiff(s.Angle, Up)) <= 2;
        vx = std::clamp((goal.X - s.X) * 0.05, -0.4, 0.4);
        vy = above ? std::clamp(0.2 + (goal.Y - s.Y) * 0.01, 0.2, 0.6) : 0;
        // Beside the enemy's ship on its pad: across above it.
        const TShip& e = world.Ships[size_t(1 - Side)];
        const bool across = (e.X - s.X) * (e.X - goal.X) < 0;
        if (off > 3 && e.OnFoot == 0 && e.RespawnTimer == 0 && across && s.Y > e.Y - 48)
            vy = std::clamp((e.Y - 48 - s.Y) * 0.05, -0.6, 0.0);
        upright = off > 1 ? SettleLean : 0;
    }
    // Edging away along the direction (ax, ay), of length 1, while still moving along the way.
    const auto edgeAway = [&](double ax, double ay) {
        const double ux = ax + (dist > 0.5 ? 0.5 * dx / dist : 0);
        const double uy = ay + (dist > 0.5 ? 0.5 * dy / dist : 0);
        const double u = std::max(0.1, std::hypot(ux, uy));
        vx = ux / u * 0.6, vy = uy / u * 0.6;
    };
    // Too near rock: away from it, up the slope of the room around, still edging along the way.
    if (clear < Room && !settling) {
        const int cx = int(std::floor(s.X / Cell)), cy = int(std::floor(s.Y / Cell));
        double gx = 0, gy = 0;
        for (int oy = -2; oy <= 2; ++oy)
            for (int ox = -2; ox <= 2; ++ox) {
                const int d = Clearance((cx + ox + 0.5) * Cell, (cy + oy + 0.5) * Cell);
                gx += ox * d;
                gy += oy * d;
            }
        const double g = std::hypot(gx, gy);
        if (g > 0) edgeAway(gx / g, gy / g);
    }
    // The outline itself: the grid's cells are 8 pixels, and a path squeezing between a root and a
    // heap of earth under it left a pixel or two, so a slow sink or drift onto the heap wrecked a ship
    // low on health. Where its own outline, carried on along the present course, meets ground that
    // hurts within a few ticks, it edges away from the pixels it meets first, still along the way.
    TTarget touch{};
    if (!settling && Touches(world, FeelTicks, touch)) {
        const double ox = s.X - touch.X, oy = s.Y - touch.Y;
        const double o = std::max(0.5, std::hypot(ox, oy));
        edgeAway(ox / o, oy / o);
    }
    // Rock ahead on the present course (the ship holds itself up, so the course is a straight line):
    // stop and back away from it first.
    // Only rock nearer than the ship takes to stop counts: the path's own bends come later.
    const double v = std::hypot(s.VX, s.VY);
    const TBraking stop = Braking(world, s, s.VX, s.VY, Tilt);
    const double stopping = v * stop.Delay + v * v / (2 * std::max(0.02, BrakeMargin * stop.Rate)) + 2 * Cell;
    for (int t = 4; t <= 32 && !settling && v > 0.3 && v * t <= stopping; t += 4) {
        if (Clearance(s.X + s.VX * t, s.Y + s.VY * t) >= Room) continue;
        vx = -s.VX / v * 0.8, vy = -s.VY / v * 0.8;
        break;
    }
    // Ships that touch both lose health fast: keep off the enemy's ship, and off where a new one of his
    // appears (a pilot on foot away from his pad may be run down, the ship feels nothing).
    TTarget body{};
    if (EnemyBody(world, body)) {
        for (int t = 0; t <= (landing ? 8 : 24); t += 4) {
            const double rx = s.X + s.VX * t - body.X - body.VX * t,
                         ry = s.Y + s.VY * t - body.Y - body.VY * t;
            const double r = std::hypot(rx, ry);
            // Landing beside the enemy's ship on its pad, both upright: only their outlines count, and
            // it edges away from his at its height (climbing, it lost the spot and its fuel). A pixel
            // to spare, as the ship drifts as it sinks (it drifted that pixel toward him, and both lost
            // 30 health a tick), but never up to the spot itself: there it hovered until its tank ran dry.
            // Within that pixel it goes on sinking: held at its height there, every push of a nose a
            // step off up slid it on toward him until the outlines met.
            if (landing) {
                const double across = Across[rx < 0 ? 0 : 1];
                const double keep = std::clamp(std::fabs(goal.X - body.X) - 0.5, across, across + 1);
                if (std::fabs(rx) >= keep || std::fabs(ry) > 36) continue;
                vx = rx < 0 ? -0.3 : 0.3;
                if (std::fabs(rx) < across) vy = std::min(vy, 0.0);
                break;
            }
            if (r > KeepOff) continue;
            // Away from him, and up, but not into rock: of the ways up to a quarter turn either side
            // of straight away, the first with room (fleeing an enemy who came up under it in a low
            // corridor, it pushed itself into the roof).
            const double ux = r > 0.5 ? rx / r : 0, uy = r > 0.5 ? ry / r : -1;
            int most = -1;
            for (const double turn : {0.0, 0.8, -0.8, 1.6, -1.6}) {
                const double cx = ux * std::cos(turn) - uy * std::sin(turn),
                             cy = ux * std::sin(turn) + uy * std::cos(turn) - (turn == 0 ? 0.3 : 0);
                const int room = Clearance(s.X + cx * 2 * Cell, s.Y + cy * 2 * Cell);
                if (room > most) most = room, vx = cx, vy = cy;
                if (room >= MinRoom) break;
            }
            break;
        }
    }
    const double ax = (vx - s.VX) * Gain;
    uint8_t bits = Steer(world, ax, (vy - s.VY) * Gain, s.Fuel > 0, upright);
    // Straight down: the nose turns in whole steps and may sit a little off up, and every push then
    // slides the ship sideways (it slid 2 pixels toward the enemy's parked ship as it sank, and its
    // nose leaned to slide back and touched him). Of the headings it reaches this tick that keep the
    // upright outline, the one whose push leans the wanted way.
    // Beside his parked ship also a frame further away from him where that outline clears his: on his
    // right, with the nose a step left of up, only a step right of that pushes away from him (and
    // not one further toward him: pushed toward him, it could not push back).
    if (!settling || upright != 0 || s.Fuel <= 0) return bits;
    // The frame a heading shows, as the ship's own: k frames from upright.
    const auto frameFromUp = [](double a) { return Round(a) / 2 - int64_t(Up) / 2; };
    const bool beside = EnemyBody(world, body) && std::fabs(body.Y - s.Y) < 34;
    const auto fits = [&](double a) {
        const int64_t k = frameFromUp(a);
        if (k >= frameFromUp(Up - 2) && k <= frameFromUp(Up + 2)) return true;
        return beside && std::abs(k) <= 2 && (a < Up) == (s.X > body.X) &&
               FrameApart[s.X < body.X ? 0 : 1][size_t(k + 2)] <= std::fabs(s.X - body.X) - 0.5;
    };
    if (!fits(s.Angle)) return bits;
    const double step = 160.0 / std::max<double>(world.FrameRate, 1);
    const double lean = std::fabs(ax) < 0.002 ? 0 : (ax > 0 ? -4 : 4);
    uint8_t turn = 0;
    double best = 1e9;
    for (const auto& [bit, by] :
         {std::pair<uint8_t, double>{0, 0}, {Bit(actLeft), step}, {Bit(actRight), -step}}) {
        const double a = s.Angle + by;
        if (!fits(a)) continue;
        const double from = TurnDiff(a, Up);
        if (std::fabs(from - lean) < best - 1e-6) best = std::fabs(from - lean), turn = bit;
    }
    return uint8_t((bits & ~(Bit(actLeft) | Bit(actRight))) | turn);
}

bool TComputerPilot::Touches(const TWorld& world, int ticks, TTarget& at) const {
    const TShip& s = world.Ships[size_t(Side)];
    const int frame = s.FrameIndex();
    if (frame < 0 || s.Masks[size_t(frame)].Empty()) return false;
    const Surface& mask = s.Masks[size_t(frame)];
    const TTerrain& t = world.TerrainBitmap;
    for (int k = 1; k <= ticks; ++k) {
        const int left = int(Round(s.X + s.VX * k)) - mask.Width / 2;
        const int top = int(Round(s.Y + s.VY * k)) - mask.Height / 2;
        double sx = 0, sy = 0;
        int n = 0;
        for (int r = 0; r < mask.Height; ++r)
            for (int c = 0; c < mask.Width; ++c) {
                if (!MaskSolid(mask.Pixel(c, r))) continue;
                const uint8_t cls = t.Get(left + c, top + r);
                if (Passable(cls) || cls == TerrainGlue) continue;
                sx += left + c;
                sy += top + r;
                ++n;
            }
        if (n > 0) {
            at = TTarget{sx / n - s.VX * k, sy / n - s.VY * k};
            return true;
        }
    }
    return false;
}

bool TComputerPilot::OverPad(const TWorld& world, TTarget goal) const {
    // It slides across at its height first and then sinks: air across and straight down the sides
    // (snow drifts give way to a ship).
    const TShip& s = world.Ships[size_t(Side)];
    auto open = [&](double x0, double y0, double x1, double y1) {
        const int steps = int(std::hypot(x1 - x0, y1 - y0) / 2) + 1;
        for (int k = 1; k < steps; ++k) {
            const double f = double(k) / steps;
            const uint8_t c = world.TerrainBitmap.Get(int(x0 + (x1 - x0) * f), int(y0 + (y1 - y0) * f));
            if (!Passable(c)) return false;
        }
        return true;
    };
    const double below = goal.Y + 10;
    return std::fabs(goal.X - s.X) < 60 && goal.Y - s.Y > -12 && goal.Y - s.Y < 80 &&
           open(s.X, s.Y - 8, goal.X, s.Y - 8) && open(s.X, s.Y + 8, goal.X, s.Y + 8) &&
           open(goal.X - 9, s.Y, goal.X - 9, below) && open(goal.X + 9, s.Y, goal.X + 9, below);
}

double TComputerPilot::WayFuel(double fromX, double fromY, double x, double y) {
    // The search fills the flight's own path: it is kept aside meanwhile.
    const std::vector<int> path = Path;
    const size_t step = PathStep;
    const int room = Room;
    // Without a way: the usual detour at the slowest.
    double fuel = HoldFuel * 1.6 * std::hypot(x - fromX, y - fromY);
    if (PlanPath(fromX, fromY, x, y)) {
        fuel = 0;
        for (size_t k = 1; k < Path.size(); ++k) {
            const int a = Path[k - 1], b = Path[k];
            const double length = Cell * std::hypot(a % GridW - b % GridW, a / GridW - b / GridW);
            // The way goes at about half the speed its room allows, bends and braking included;
            // going down, gravity does half the holding up.
            const double pace = std::max(1.0, 0.5 * RoomSpeed(Skill, Distance[size_t(b)]));
            fuel += HoldFuel * length / pace * (b / GridW > a / GridW ? 0.5 : 1.0);
        }
    }
    Path = path;
    PathStep = step;
    Room = room;
    return fuel + LandingFuel;
}

void TComputerPilot::HomeWay(const TWorld& world) {
    if (HomeAt != 0 && Ticks - HomeAt < HomeEvery) return;
    HomeAt = Ticks;
    const TShip& s = world.Ships[size_t(Side)];
    HomeFuel = WayFuel(s.X, s.Y, PadX, PadY);
    ChooseSpot(world);
    SpotFuel = Spot.X < 0 ? 1e9 : WayFuel(s.X, s.Y, Spot.X, Spot.Y);
}

void TComputerPilot::FindPads(const TWorld& world) {
    const TTerrain& t = world.TerrainBitmap;
    const TShip& s = world.Ships[size_t(Side)];
    const TShip& e = world.Ships[size_t(1 - Side)];
    // The middle of the own pad under the start point: both feet must stand on it to count.
    int row = 0, left = 0, right = 0;
    const bool pad = PadUnder(t, s.StartX, s.StartY, row, left, right);
    PadX = pad ? (left + right + 1) / 2.0 : s.StartX;
    // Where the ship's centre is when its feet stand on the pad.
    PadY = pad ? row - s.FootY[0] : s.StartY;
    // Two ships side by side touch when their centres come as near as their outlines reach toward
    // each other: this one's over the frames of a nose within 2 of up (a landing one's), the enemy's
    // upright (a parked one's).
    auto reach = [](const TShip& ship, int from, int to, int side) {
        int most = 0;
        for (int f = from; f <= to; ++f) {
            const Surface& m = ship.Masks[size_t(f)];
            for (int y = 0; y < m.Height; ++y)
                for (int x = 0; x < m.Width; ++x)
                    if (MaskSolid(m.Pixel(x, y))) most = std::max(most, side * (x - m.Width / 2));
        }
        return most;
    };
    const int upright = int(Up) / 2, from = int(Up - 2) / 2, to = int(Up + 2) / 2;
    for (int k = -2; k <= 2; ++k) {
        FrameApart[0][size_t(k + 2)] =
            reach(s, upright + k, upright + k, 1) + reach(e, upright, upright, -1) + 1;
        FrameApart[1][size_t(k + 2)] =
            reach(s, upright + k, upright + k, -1) + reach(e, upright, upright, 1) + 1;
    }
    for (size_t side = 0; side < 2; ++side)
        Across[side] = *std::max_element(FrameApart[side].begin() + (from - upright + 2),
                                         FrameApart[side].begin() + (to - upright + 3));
    const int leanFrom = int(Up - SettleLean) / 2, leanTo = int(Up + SettleLean) / 2;
    Leaning[0] = reach(s, leanFrom, leanTo, 1) + reach(e, upright, upright, -1) + 1;
    Leaning[1] = reach(s, leanFrom, leanTo, -1) + reach(e, upright, upright, 1) + 1;
    if (!PadUnder(t, e.StartX, e.StartY, row, left, right)) return;
    EnemyPadLeft = left;
    EnemyPadRight = right;
    EnemyPadRow = row;
    // On the enemy's pad: the left foot on the pad, the right one on firm ground, air around the
    // ship's outline and above it as high as it sinks straight down from (80 pixels), and a pixel to
    // spare each way.
    const int fl = s.FootLeft[0], fr = s.FootRight[0], top = row - s.FootY[0] - 80;
    const int wide = std::max(reach(s, from, to, -1), reach(s, from, to, 1)) + 1;
    auto stands = [&](int x) {
        if (t.Get(x + fl, row) != TerrainPad || !Footing(t.Get(x + fr, row))) return false;
        for (int y = top; y < row; ++y)
            for (int dx = -wide; dx <= wide; ++dx)
                if (!Passable(t.Get(x + dx, y))) return false;
        return true;
    };
    for (int x = left - fl; x <= right - fl; ++x)
        if (stands(x - 1) && stands(x) && stands(x + 1)) Stands.push_back(x);
    Spot.Y = row - s.FootY[0];
}

void TComputerPilot::ChooseSpot(const TWorld& world) {
    const TShip& e = world.Ships[size_t(1 - Side)];
    Spot.X = -1;
    if (Stands.empty()) return;
    // The enemy's ship, or the new one his pilot gets, near its pad; else where it comes back after a
    // wreck. A landing ends within a pixel of the spot.
    TTarget body{};
    const bool near = EnemyBody(world, body) && std::fabs(body.Y - Spot.Y) < 80 &&
                      body.X > Stands.front() - 40 && body.X < Stands.back() + 40;
    const double ex = near ? body.X : e.StartX;
    auto apart = [&](double x) { return Across[x < ex ? 0 : 1] + 1; };
    // Come down low beside him, on its own side where there is room: crossing over him low to the far
    // end of the pad, it sank beside him and touched. From higher up the side does not count (it
    // would change as the ship passes over him).
    const TShip& s = world.Ships[size_t(Side)];
    const bool low = s.Y > Spot.Y - 48;
    double farthest = 0;
    for (const int x : Stands) {
        const double score = std::fabs(x - ex) + (low && (x < ex) == (s.X < ex) ? 1000 : 0);
        if (std::fabs(x - ex) >= apart(x) && score > farthest) {
            farthest = score;
            Spot.X = x;
        }
    }
    // A few pixels in from the end of the pad, where they are to be had, but not so near him that the
    // nose leaning to settle swings the outline into his (on Duel it leaned there to slide onto the
    // spot, touched him, and both ships lost 30 health a tick).
    const int inward = Spot.X < ex ? 1 : -1;
    for (int k = 0; k < 4 && Spot.X >= 0; ++k) {
        const int x = int(Spot.X) + inward;
        if (std::find(Stands.begin(), Stands.end(), x) == Stands.end() ||
            std::fabs(x - ex) < Leaning[x < ex ? 0 : 1] + 1)
            break;
        Spot.X = x;
    }
}

bool TComputerPilot::EnemyBody(const TWorld& world, TTarget& body) const {
    const TShip& e = world.Ships[size_t(1 - Side)];
    // While his pilot waits, the next ship already stands over his start point, and touches.
    if (e.RespawnTimer != 0) {
        body = TTarget{e.StartX, e.StartY};
        return true;
    }
    if (e.OnFoot == 0) {
        body = TTarget{e.X, e.Y, e.VX, e.VY};
        return true;
    }
    // A pilot who reaches his pad gets a new ship where he stands, half a ship toward his start point,
    // at its height: once he is above his pad or about to walk or fall onto it.
    if (EnemyPadRight < EnemyPadLeft || e.X < EnemyPadLeft - 24 || e.X > EnemyPadRight + 24 ||
        e.Y > EnemyPadRow || e.Y < EnemyPadRow - 120)
        return false;
    const double half = e.Frames[0].Width / 2;
    body = TTarget{e.X + (e.StartX < e.X ? -half : half), e.StartY};
    return true;
}

bool TComputerPilot::RefuelAtEnemy() const {
    return Spot.X >= 0 && SpotFuel < HomeFuel;
}

bool TComputerPilot::Defends(const TWorld& world, const std::array<TWeapon, 2>& weapons) const {
    // A ship that flies home from an enemy close behind shows him its tail all the way: while it has
    // rounds and fuel to fight, it turns on him, unless he is much the healthier and more than a heavy
    // hit from a wreck (then the way home is the better chance). Not from a pad, where it is filled up.
    const TShip& s = world.Ships[size_t(Side)];
    const TShip& e = world.Ships[size_t(1 - Side)];
    if (e.RespawnTimer != 0 || e.OnFoot != 0 || s.AtEnemyBase != 0 || s.Fuel < DefendFuel) return false;
    if (weapons[0].ShotsLeft() == 0 && weapons[1].ShotsLeft() == 0) return false;
    if (e.Health > s.Health + DefendOdds && e.Health > HeavyHit) return false;
    const double dx = e.X - s.X, dy = e.Y - s.Y, dist = std::hypot(dx, dy);
    if (dist >= DefendRange || !ClearLine(world, s.X, s.Y, e.X, e.Y)) return false;
    // One that keeps his distance and holds his fire is left behind (two ships hovering in sight of
    // each other would otherwise wait there for ever), unless a heavy hit wrecks him: then the fight is
    // pressed (on Glacier he was often the weaker when it turned home, and it was wrecked on the way).
    const double closing = -((e.VX - s.VX) * dx + (e.VY - s.VY) * dy) / std::max(dist, 1.0);
    return Ticks - HurtAt < DefendTicks || closing > DefendClosing || e.Health <= HeavyHit;
}

uint8_t TComputerPilot::Refuel(const TWorld& world, const std::array<TWeapon, 2>& weapons) {
    const TShip& s = world.Ships[size_t(Side)];
    if (s.AtEnemyBase == 0 && s.AtOwnBase == 0) ChooseSpot(world);
    const bool enemy = RefuelAtEnemy();
    // Beside the enemy's pad it waits, out of the way, while a new ship of his may come: one drops onto
    // his start point, and landing there wrecked both ships and left this pilot on foot far from home.
    // His pilot on foot gets one only at his pad: while he is away it lands (waiting for a pilot stuck
    // on foot far off, it hovered there until its tank ran dry).
    const TShip& e = world.Ships[size_t(1 - Side)];
    TTarget body{};
    // It waits only while the tank holds out: his pilot may stand on the wreck's grains over his pad
    // for seconds before he reaches it, and waiting for him on Hive it fell with an empty tank.
    const bool dropping = e.RespawnTimer != 0 || (e.OnFoot != 0 && EnemyBody(world, body));
    if (enemy && s.AtEnemyBase == 0 && dropping && s.Fuel > 2 * LandingFuel &&
        std::hypot(s.X - Spot.X, s.Y - Spot.Y) < 2 * DropRoom) {
        const double side = s.X < e.StartX ? -1 : 1;
        return Fly(world, TTarget{e.StartX + side * 2 * DropRoom, e.StartY - DropRoom}, false);
    }
    if ((enemy ? s.AtEnemyBase : s.AtOwnBase) == 0)
        return Fly(world, enemy ? Spot : TTarget{PadX, PadY}, true);
    // Sit until mended, filled up and loaded; then lift straight off.
    // Beside a ship parked on its pad it leaves with fuel for a few passes: the wait for a full tank
    // was a tenth of the match there.
    const bool full = Full(s, weapons, enemy && e.AtOwnBase != 0 ? 100 : 195);
    if (full) Homeward = false;
    Lifting = full;
    LiftFrom = s.Y;
    return full ? Bit(actThrust) : 0;
}

uint8_t TComputerPilot::LiftOff(const TWorld& world) {
    const TShip& s = world.Ships[size_t(Side)];
    // Clear of the ships on the pad, or rock right overhead: the fight takes over. Only rock above
    // counts: a wall beside a pad's end does not stop the lift (turned to fight there, the wider
    // outline of a leaning ship touched the enemy's parked beside it).
    bool roof = false;
    for (int dx = -8; dx <= 8 && !roof; dx += 4)
        roof = !ClearLine(world, s.X + dx, s.Y - 17, s.X + dx, s.Y - 41);
    if (s.Y < LiftFrom - 56 || roof) Lifting = false;
    if (!Lifting) return 0;
    uint8_t bits = TurnToward(s.Angle, Up, 2.0);
    if (s.VY > -1.0 && s.Fuel > 0) bits |= Bit(actThrust);
    return bits;
}

// On foot: walk along the path toward the own base and use the pack to climb. A pilot dies at the touch
// of rock, so each tick it tries the few things a person's keys can do (walk either way or stand, with
// or without the pack) for a moment, each followed by braking (the pack against a fall, the other key
// against a drift), and does the one that gets on best among those that touch no rock all the while.
uint8_t TComputerPilot::Walk(const TWorld& world, TTarget goal) {
    const TShip& s = world.Ships[size_t(Side)];
    if (Ticks - PlannedAt >= (Path.empty() ? 4 * ReplanEvery : ReplanEvery)) {
        PlanPath(s.X, s.Y, goal.X, goal.Y);
        PlannedAt = Ticks;
        PathStep = 0;
    }
    // A few cells on from the nearest cell of the path: a point fixed between two searches came
    // nearer as he went, and he slowed down toward it, hovering the longer on the pack's fuel (on
    // Cavern it ran dry short of his pad, over the hall before it, and he fell to his death).
    TTarget next = goal;
    FollowPath(s.X, s.Y);
    if (Path.size() > PathStep + 3) {
        next = CellCentre(Path[PathStep + 3]);
    }
    // Stuck where no careful step gets on (a nook under the path, the pack too low to climb out
    // safely): after a while it walks and climbs straight at the path, as a person would, until it
    // has got away from there.
    const bool givenUp = Ticks - StuckAt > FootGiveUpTicks;
    if (!givenUp && std::hypot(s.X - StuckX, s.Y - StuckY) > FootUnstuck) {
        StuckX = s.X;
        StuckY = s.Y;
        StuckAt = Ticks;
    }
    if (givenUp) {
        // Trapped in Cavern's basin with an empty pack, he floated there while the easy enemy
        // hovered out of sight of him until the match ran out of time.
        const TTerrain& t = world.TerrainBitmap;
        const int x = int(Round(s.X)), y = int(Round(s.Y));
        for (int d = 1; d <= FootGiveUpReach; ++d) {
            if (Footing(t.Get(x - d, y))) return Bit(actLeft);
            if (Footing(t.Get(x + d, y))) return Bit(actRight);
        }
    }
    if (Ticks - StuckAt > FootStuckTicks) {
        uint8_t bits = 0;
        if (next.X < s.X - 2) bits |= Bit(actLeft);
        if (next.X > s.X + 2) bits |= Bit(actRight);
        if (next.Y < s.Y - 6 && s.VY > -FootClimb) bits |= Bit(actThrust);
        return bits;
    }
    const double rate = std::max<double>(world.FrameRate, 1);
    const double scale = world.Scale;
    // Paths keep to the middle of a passage, two or three cells up from its floor: where there is a
    // floor that near below the way point, it walks there; over a pit it keeps the way point's height.
    const int slack = int(MinRoom * Cell * scale);
    const int under = FootDrop(world.TerrainBitmap, int(Round(next.X)), int(Round(next.Y)), slack);
    const double standY = under < slack ? next.Y + under - s.FootY[1] : next.Y;
    // The pack is only filled on the enemy's pad: it climbs while what is left brakes a fall from
    // a little higher than here (falling at the fastest it allows itself, then braking at the pack's
    // lift less gravity, with some to spare).
    const int feet = int(Round(s.Y)) + s.FootY[1];
    const double drop = FootDrop(world.TerrainBitmap, int(Round(s.X)), feet, 400) + FootClimbRoom * scale;
    const double lift = PerTick(world, 3.0), hold = 10.0 / rate * 4.0 / 7.0, fastest = FootFallMax * scale;
    const double landing = FootSpare + (fastest / lift) * 10.0 / rate +
                           hold * std::max(0.0, drop - fastest * fastest / (2 * lift)) / fastest;
    const bool mayClimb = s.Fuel > landing;
    const double airSpeed = (Clearance(s.X, s.Y) >= FootOpenRoom ? FootOpenSpeed : FootAirSpeed) * scale;
    uint8_t best = 0;
    double bestScore = 1e18;
    int bestLasts = -1;
    for (int walk = -1; walk <= 1; ++walk)
        for (int pack = 0; pack <= (mayClimb ? 2 : 1); ++pack) {
            const TFootStep step = Stride(world, walk, pack, airSpeed);
            const double left = std::fabs(step.X - next.X);
            const double rise = std::fabs(step.Y - standY);
            const double score = left + rise + 0.75 * pack + (walk != 0 ? 0.2 : 0);
            if (step.Lasts < bestLasts || (step.Lasts == bestLasts && score >= bestScore)) continue;
            bestLasts = step.Lasts;
            bestScore = score;
            const bool push = s.VY > PackAbove(world, pack, s.X, s.Y);
            const int w = Striding(walk, s.VX, step.Standing, airSpeed);
            best = uint8_t((w < 0 ? Bit(actLeft) : w > 0 ? Bit(actRight) : 0) | (push ? Bit(actThrust) : 0));
        }
    return best;
}

double TComputerPilot::SafeFall(const TWorld& world, double x, double y) const {
    const TShip& s = world.Ships[size_t(Side)];
    const double scale = world.Scale;
    const double d = FootDrop(world.TerrainBitmap, int(Round(x)), int(Round(y)) + s.FootY[1], FootScan);
    const double lift = PerTick(world, 3.0) * BrakeMargin;
    return std::min(FootFallMax * scale, std::sqrt(FootFall * FootFall * scale * scale + 2 * lift * d));
}

double TComputerPilot::PackAbove(const TWorld& world, int pack, double x, double y) const {
    return pack == 2 ? -FootClimb * world.Scale : pack == 1 ? 0.0 : SafeFall(world, x, y);
}

TComputerPilot::TFootStep TComputerPilot::Stride(const TWorld& world, int walk, int pack,
                                                 double airSpeed) const {
    const TShip& s = world.Ships[size_t(Side)];
    const TTerrain& t = world.TerrainBitmap;
    const double rate = std::max<double>(world.FrameRate, 1);
    const double scale = world.Scale;
    double x = s.X, y = s.Y, vx = s.VX, vy = s.VY, fuel = s.Fuel;
    bool right = s.Angle > 257;
    TFootStep out;
    for (int k = 0; k < FootAhead + FootBrake; ++k) {
        const bool trying = k < FootAhead;
        // The feet: standing on footing stops a fall and slows a walk.
        const int cx = int(Round(x));
        const int feet = int(Round(y)) + s.FootY[1];
        const bool standing =
            Footing(t.Get(cx + s.FootLeft[1], feet)) && Footing(t.Get(cx + s.FootRight[1], feet));
        int w = trying ? Striding(walk, vx, standing, airSpeed) : 0;
        const bool thrust = vy > PackAbove(world, trying ? pack : 0, x, y);
        // Braking a drift in the air: the key against it.
        if (!trying && std::fabs(vx) > 0.3 * scale) w = vx > 0 ? -1 : 1;
        if (thrust && fuel > 0) {
            fuel = std::max(0.0, fuel - 10.0 / rate);
            vy -= PerTick(world, 7.0);
        }
        if (w != 0) {
            vx += w * 10.0 / rate * scale;
            right = w > 0;
        }
        if (standing) {
            vx /= 1.5;
            if (vy > 0) vy = 0;
        }
        if (k == 0) out.Standing = standing;
        x += vx;
        y += vy;
        vy += PerTick(world, 4.0);
        vx /= 1.01;
        vy /= 1.01;
        const Surface& mask = s.Masks[size_t(PilotFrame + (right ? 1 : 0))];
        const int left = int(Round(x)) - mask.Width / 2, top = int(Round(y)) - mask.Height / 2;
        bool touch = false;
        for (int r = 0; r < mask.Height && !touch; ++r)
            for (int c = 0; c < mask.Width && !touch; ++c)
                touch = MaskSolid(mask.Pixel(c, r)) && Footing(t.Get(left + c, top + r));
        if (touch) return out;
        // Water holds him up.
        if (t.Get(int(Round(x)), int(Round(y))) == TerrainWater) {
            vy = vy / 1.12 - PerTick(world, 6.0);
            vx /= 1.12;
        } else if (t.Get(int(Round(x)), int(Round(y)) + 1) == TerrainWater) {
            vy -= PerTick(world, 4.0);
        }
        out.Lasts = k + 1;
        if (trying) {
            out.X = x;
            out.Y = y;
        }
    }
    return out;
}

void TComputerPilot::NoteStall(double fromPost) {
    PostWait = Aiming || Hopping || fromPost > 2 * Cell ? 0 : PostWait + 1;
    if (Aiming || Hopping) PostStalled = false;
    if (PostWait > StallTicks) PostStalled = true;
}

uint8_t TComputerPilot::PickWeapons() {
    // Rockets, else homing missiles: 40 health a hit, more than a pad mends in two seconds. Rockets
    // first: they fire faster, and a homing missile that misses turns back for the nearer ship.
    const auto begin = Pages.begin() + 5, end = Pages.end();
    auto row = std::find(begin, end, uint8_t(6));
    if (row == end) row = std::find(begin, end, uint8_t(3));
    const int steps = row == end ? 0 : int(row - begin) - 2; // the page opens on its middle row
    const int tick = PickTick++;
    if (tick > 2 * std::abs(steps)) return 0; // letting go closes the page
    // Each step is a newly pressed turn key with the fire key held; the key is let go in between.
    const uint8_t turn = tick % 2 == 1 ? Bit(steps < 0 ? actLeft : actRight) : 0;
    return uint8_t(Bit(actFire2) | turn);
}

uint8_t TComputerPilot::Think(const TWorld& world, const std::array<TWeapon, 2>& weapons) {
    ++Ticks;
    ScanRows(world, RowsPerTick);
    if (Ticks == 1 || Ticks % ClearanceEvery == 0) Clearances();
    const TShip& s = world.Ships[size_t(Side)];
    const TShip& e = world.Ships[size_t(1 - Side)];
    EnemySeen.push_back(TTarget{e.X, e.Y, e.VX, e.VY});
    while (EnemySeen.size() > size_t(Skill.ReactionTicks) + 1)
        EnemySeen.erase(EnemySeen.begin());
    if (Ticks % 40 == 1) AimJitter = (2 * Dice.RandomReal() - 1) * Skill.AimError;
    if (s.RespawnTimer != 0 || s.Glued != 0) return 0;
    // The gun that shoots loose bits of ground out of the way: the quick first slot, else the second.
    Sweep = TSweep{};
    for (size_t k = 0; k < 2 && Sweep.Speed <= 0; ++k)
        if (weapons[k].ShotsLeft() > 0 && weapons[k].Speed > 0) {
            Sweep.Speed = double(weapons[k].Speed) * world.Scale;
            Sweep.Drop = 0.04 / std::max<double>(world.FrameRate, 1) * ProjectileWeight(weapons[k].Kind);
            Sweep.Fire = weapons[k].IsReady(world) ? Bit(k == 0 ? actFire1 : actFire2) : 0;
        }
    if (s.Health < LastHealth && s.OnFoot == 0) HurtAt = Ticks;
    LastHealth = s.Health;

    if (PadX < 0) FindPads(world);
    const TTarget home{PadX, PadY};
    if (s.OnFoot != 0) return Walk(world, home);
    StuckAt = Ticks; // a pilot on foot is stuck only from when he is out of his ship

    const bool armed = weapons[0].ShotsLeft() > 0 || weapons[1].ShotsLeft() > 0;
    // Low on health, rounds or fuel (besides what the way to the nearer pad takes, the own or the
    // enemy's, which mends and fills up too): it goes there and keeps going until it stands there.
    HomeWay(world);
    const double wayFuel = std::min(HomeFuel, SpotFuel);
    if (s.Health < Skill.ReturnHealth || s.Fuel < Skill.ReturnFuel + wayFuel || !armed) Homeward = true;
    if (s.AtOwnBase != 0) Homeward = false;
    const bool low = Homeward;
    // A ship starts a little above its pad: it settles there first to pick its weapons.
    if (PickTick < 0 && s.AtOwnBase == 0 && Ticks < 60) return 0;
    if (s.AtOwnBase != 0 && PickTick < 0) PickTick = 0;
    if (s.AtOwnBase != 0 && PickTick >= 0 && PickTick <= PickTicks) return PickWeapons();
    if (s.AtOwnBase != 0) {
        // Sit until mended, filled up and loaded; then lift straight off, and beside an enemy's ship on
        // or over the pad, straight up past it (turned toward the fight at once, the leaning outline
        // swung into his: on Hive both lost 60 health, and the ship beside was wrecked).
        const bool full = Full(s, weapons);
        TTarget body{};
        Lifting = full && EnemyBody(world, body) && std::fabs(body.X - s.X) < 2 * KeepOff &&
                  std::fabs(body.Y - s.Y) < KeepOff;
        LiftFrom = s.Y;
        return full ? Bit(actThrust) : 0;
    }
    if (low && !Defends(world, weapons)) return Refuel(world, weapons);
    // Off a pad, straight up past the enemy's ship beside it before turning to fight.
    if (Lifting && s.AtOwnBase == 0) {
        const uint8_t bits = LiftOff(world);
        if (Lifting) return bits;
    }

    const TTarget seen = EnemySeen.front();
    // A ship shot to pieces shows no health for the one update before its pilot is thrown out: the
    // aim stays on it, for the new ship and the pilot come right there.
    const bool enemyUp = e.RespawnTimer == 0;
    const double dx = seen.X - s.X, dy = seen.Y - s.Y;
    const double dist = std::hypot(dx, dy);
    const double rate = std::max<double>(world.FrameRate, 1);
    // A ship wrecked on its own pad costs no life: its pilot gets a new ship there at once, with the
    // pilot's 8 health, which drops from the start point onto the pad. Only a stream of the
    // quick-firing first slot kept on it wrecks that one too, in the air, and then kills the pilot
    // as he falls (two hits). So the heavy second slot (40 a hit) brings a ship down to where a
    // burst of the first slot finishes it, and the first slot aims at a ship that low and at a
    // pilot on foot. At a ship standing on its own pad it aims the first slot from 75 down: the
    // stream is on the spot when the wreck comes and covers the new ship's drop (aimed for the heavy
    // slot's slower shots, it missed the drop, and Hive took 3 of 20 matches to the time; aimed at
    // any health, its first pass at Hive's pad came 14 s later).
    // The other slot fires beside it whenever it is ready.
    auto usable = [&](size_t k) { return weapons[k].ShotsLeft() > 0 && weapons[k].Speed > 0; };
    const bool strong = e.OnFoot == 0 && e.Health > (e.AtOwnBase != 0 ? ParkedHealth : BurstHealth);
    const size_t slot = (strong && usable(1)) || !usable(0) ? 1 : 0;
    const TWeapon& gun = weapons[slot];
    const double shot = double(gun.Speed) * world.Scale;
    // Where both ships will be in a moment: aiming near the enemy's ship risks a collision.
    const double soon = std::hypot(dx + (seen.VX - s.VX) * 16, dy + (seen.VY - s.VY) * 16);
    const bool apart = e.OnFoot != 0 || (dist > KeepOff + 16 && soon > KeepOff + 8);
    const bool inReach = enemyUp && dist < FightRange && shot > 0 && gun.ShotsLeft() > 0 &&
                         ClearLine(world, s.X, s.Y, seen.X, seen.Y);
    // Lead: where the enemy will be when a shot, which carries the ship's own speed, gets there, raised
    // by what gravity pulls the shot down on the way.
    double want = 0;
    if (inReach) {
        const double rvx = seen.VX - s.VX, rvy = seen.VY - s.VY;
        const double drop = 0.04 / rate * ProjectileWeight(gun.Kind);
        double t = dist / shot;
        double ax = dx, ay = dy;
        for (int k = 0; k < 3; ++k) {
            ax = dx + rvx * t;
            ay = dy + rvy * t - 0.5 * drop * t * t;
            t = std::hypot(ax, ay) / shot;
        }
        want = HeadingOf(ax, ay) + AimJitter;
    }
    // Fire whenever the nose points at the enemy, aiming on purpose or not: within a third of the
    // turn the enemy's ship (about 32 pixels) fills at that distance, most of it for the heavy slot,
    // whose blast on the pad beside the ship hurts it too.
    auto fire = [&](uint8_t bits) {
        if (!inReach) return bits;
        const double off = std::fabs(TurnDiff(want, s.Angle));
        const double width = std::atan(16 / std::max(dist, 1.0)) * TurnUnits / (2 * std::numbers::pi);
        if (off > std::max(2.5, slot == 1 ? width * 0.8 : width / 3)) return bits;
        if (gun.IsReady(world)) bits |= Bit(slot == 0 ? actFire1 : actFire2);
        const size_t other = 1 - slot;
        if (usable(other) && weapons[other].IsReady(world)) bits |= Bit(other == 0 ? actFire1 : actFire2);
        return bits;
    };
    // Shoot from a post near the enemy's level: the nose turned sideways does not hold the ship up, so
    // it shoots while it sinks and climbs back to the post between bursts.
    if (enemyUp && (Ticks - PostAt >= 40 || std::hypot(seen.X - PostFor.X, seen.Y - PostFor.Y) > 24)) {
        PostAt = Ticks;
        PostFor = seen;
        if (!FindPost(world, seen)) Post = TTarget{-1e9, -1e9};
    }
    const bool havePost = Post.X > -1e8;
    const double fromPost = std::hypot(Post.X - s.X, Post.Y - s.Y);
    // A pilot on foot, and a pilot waiting for his next ship, get a new ship at their start point:
    // one that appears on this ship wrecks both, and this one lands far from home.
    if ((e.OnFoot != 0 || e.RespawnTimer != 0) && InDropZone(world, s.X, s.Y)) {
        Aiming = Hopping = false;
        const double side = s.X < e.StartX ? -1 : 1;
        return fire(Fly(world, TTarget{e.StartX + side * 2 * DropRoom, e.StartY - DropRoom}, false));
    }
    // A pilot on foot right by it, away from his pad, is run down (a ship that touches him crushes
    // him); farther off, or near his pad, he is shot.
    if (enemyUp && e.OnFoot != 0 && dist < 36 && std::hypot(e.X - e.StartX, e.Y - e.StartY) > 2 * DropRoom)
        return fire(Fly(world, TTarget{seen.X, seen.Y - 6}, false));
    // It shoots in passes, the nose turned from up, while the ship coasts: a pass goes on while the ship
    // can still be righted with room to spare, and from near rest it starts with a hop. Steeply down
    // too, from near: over a pad in a low chamber that is the only way to shoot long enough, and
    // whether the ship can be righted in time is the pass's own question (from afar such passes only
    // slowed the way there).
    const bool steep = std::fabs(TurnDiff(want, Up)) > 120 && dist > SteepRange;
    const bool shootable = inReach && apart && !steep && (dist < 260 || (havePost && fromPost < 40));
    if (!shootable) Hopping = false;
    Aiming = shootable && Pass(world, want);
    NoteStall(fromPost);
    if (Hopping) {
        uint8_t bits = TurnToward(s.Angle, Up, 2.0);
        if (std::fabs(TurnDiff(s.Angle, Up)) < 12 && s.Fuel > 0) bits |= Bit(actThrust);
        return bits;
    }
    if (Aiming) {
        uint8_t bits = TurnToward(s.Angle, want, 1.5);
        // Not up into rock overhead, though: under an overhang the push lifted it into the rock.
        const bool roof = Clearance(s.X + s.VX * 8, s.Y + s.VY * 8 - 2 * Cell) < MinRoom;
        if (HoldPush(world, s) && !roof) bits |= Bit(actThrust);
        return fire(bits);
    }
    // Hunt: make for the post; without one, come within range a little above the enemy; while it is
    // away, wait over its base. Too close to fight where it stands: draw back up and away from it.
    TTarget goal = !enemyUp   ? TTarget{e.StartX, e.StartY - 120}
                   : havePost ? Post
                              : TTarget{seen.X, seen.Y - 80};
    if (enemyUp && dist < 60) goal = TTarget{s.X - dx, s.Y - 60};
    return fire(Fly(world, goal, false));
}
