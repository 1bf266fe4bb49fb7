// Scoring: wrecks and pilot deaths with their debris, points and lives, the two bases, the
// capture-the-flag game and the medals won during play.
#include "combat/Contest.h"
#include "core/GameMath.h"
#include "media/Sound.h"
#include "world/World.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double ShipFullHealth = 100;
constexpr double ShipFullFuel = 200;
constexpr double PilotFullHealth = 8;
constexpr double PilotFullFuel = 75;
constexpr double FacingLeft = 256;

// Adds `step` to a value below `top`, never past it.
float TopUp(float value, double step, double top) {
    if (double(value) >= top) return value;
    return float(std::min(double(value) + step, top));
}

// A kill counts for the enemy; reaching the limit exactly decides the match.
void KillPoint(TWorld& map, int p) {
    TPilotRecord& enemy = map.Match.Players[size_t(1 - p)];
    ++enemy.Points;
    if (enemy.Points == map.Match.PointsLimit) map.MatchOver = 1;
}

// The body breaks up where its silhouette was: three grains per pixel in the ship's own colours
// and a spark for a wreck, two drops of blood per pixel for a pilot.
void Debris(TWorld& map, const TShip& ship, int frame, bool wreck) {
    const Surface& mask = ship.Masks[size_t(frame)];
    const Surface& picture = ship.Frames[size_t(frame)];
    const int grains = ship.OnFoot + 2;
    const double left = double(ship.X) - mask.Width / 2;
    const double top = double(ship.Y) - mask.Height / 2;
    for (int r = 0; r < mask.Height; ++r) {
        for (int c = 0; c < mask.Width; ++c) {
            if (!MaskSolid(mask.Pixel(c, r))) continue;
            const double x = left + c;
            const double y = top + r;
            for (int i = 0; i < grains; ++i) {
                const double rx = map.Rng.RandomReal();
                const double ry = map.Rng.RandomReal();
                TProjectile& grain = SpawnRecord(map, 6, x, y, double(ship.VX) + 0.2 * rx - 0.1,
                                                 double(ship.VY) + 0.2 * ry - 0.1);
                const int32_t weight = map.Rng.Random(20);
                grain.Weight = uint8_t(10 + weight);
                if (wreck) {
                    const uint32_t px = picture.Pixel(c, r);
                    grain.R = uint8_t(px >> 16);
                    grain.G = uint8_t(px >> 8);
                    grain.B = uint8_t(px);
                } else {
                    const int32_t dark = map.Rng.Random(42);
                    grain.R = uint8_t(255 - dark);
                    grain.G = 0;
                    grain.B = 0;
                }
            }
            if (wreck) {
                const double rx = map.Rng.RandomReal();
                const double vx = double(ship.VX) + 22 * (rx - 0.5) * double(map.Scale);
                const double ry = map.Rng.RandomReal();
                const double vy = double(ship.VY) + 22 * (ry - 0.5) * double(map.Scale);
                SpawnRecord(map, 4, x, y, vx, vy);
            }
        }
    }
}

double Distance(double x0, double y0, double x1, double y1) {
    const double dx = x1 - x0;
    const double dy = y1 - y0;
    return std::sqrt(dx * dx + dy * dy);
}

} // namespace

bool TWorld::HandleDeath(int p, TWaveList& waves) {
    if (p < 0 || p > 1) return false;
    TShip& ship = Ships[size_t(p)];
    if (ship.Alive != 0) return false;
    // The debris comes from the silhouette the body died in.
    const int frame = ship.FrameIndex();
    const bool wreck = ship.OnFoot == 0;
    if (wreck) {
        const int32_t f = Rng.Random(10000);
        PlayAtShip(*this, waves, p, "Explo", 3, 18000 + f, 100);
        ship.OnFoot = 1;
        ship.Health = float(PilotFullHealth);
        ship.Fuel = float(PilotFullFuel);
    } else {
        const int32_t f = Rng.Random(10000);
        PlayAtShip(*this, waves, p, "FLDeath", 0, 18000 + f, 100);
        ship.RespawnTimer = uint16_t(2 * FrameRate);
        ship.OnFoot = 0;
        ship.Health = 75;
        ship.Fuel = 50;
    }
    if (frame >= 0) Debris(*this, ship, frame, wreck);

    if (wreck) {
        // The pilot is thrown clear, back the way the ship came.
        ship.X = float(double(ship.X) - ship.VX);
        ship.Y = float(double(ship.Y) - ship.VY);
        ship.VX = float(-double(ship.VX) / 2);
        ship.VY = float(-double(ship.VY) / 2);
        ship.Angle = FacingLeft;
        KillPoint(*this, p);
        return true;
    }

    ship.VX = 0;
    ship.VY = 0;
    ship.X = ship.StartX;
    ship.Y = ship.StartY;
    ship.Angle = 64;
    KillPoint(*this, p);
    // A dead pilot drops the enemy's flag; it flies home.
    Flags[size_t(1 - p)].FlagHome();
    ship.CapturesThisLife = 0;
    ship.LifeSeconds = 0;
    if (ship.Lives > 0) {
        --ship.Lives;
        if (ship.Lives == 0) MatchOver = 1;
    }
    return false;
}

void TWorld::EnemyBase(int p, TWaveList&) {
    if (p < 0 || p > 1) return;
    TShip& ship = Ships[size_t(p)];
    if (ship.AtEnemyBase == 0) return;
    const double rate = FrameRate;
    if (ship.OnFoot == 1) {
        if (ship.Health > 0) ship.Health = TopUp(ship.Health, 2 / rate, PilotFullHealth);
        ship.Fuel = TopUp(ship.Fuel, 2 / rate, PilotFullFuel);
    } else {
        if (ship.Health > 0) ship.Health = TopUp(ship.Health, 5 / rate, ShipFullHealth);
        ship.Fuel = TopUp(ship.Fuel, 10 / rate, ShipFullFuel);
    }
}

void TWorld::OwnBase(int p, TWaveList& waves) {
    if (p < 0 || p > 1) return;
    TShip& ship = Ships[size_t(p)];
    if (ship.AtOwnBase == 0) return;
    TFlag& enemyFlag = Flags[size_t(1 - p)];
    TPilotRecord& pilot = Match.Players[size_t(p)];

    // A capture counts only while the own flag stands at home.
    if (enemyFlag.State == 2 && Flags[size_t(p)].State == 0) {
        enemyFlag.FlagHome();
        pilot.Points += 5;
        if (Match.PointsLimit != 0 && pilot.Points >= Match.PointsLimit) MatchOver = 1;
        ++pilot.FlagsCaptured;
        ++ship.CapturesThisLife;
        PlayAtShip(*this, waves, p, "CTFcapture", 0, 0, 100);
        const int captures = ship.CapturesThisLife;
        if (captures == 3 || captures == 6 || captures == 9) {
            const int k = captures / 3 - 1;
            // Announced once a match; a later run of captures keeps the medal quietly.
            if (pilot.Medals[size_t(k)] == 0)
                AwardMedal(p, k, waves);
            else
                pilot.Medals[size_t(k)] = 1;
        }
    }

    if (ship.OnFoot == 1) {
        // The new ship stands beside the pilot, towards the start point.
        ship.OnFoot = 0;
        ship.VX = 0;
        ship.VY = 0;
        const int half = ship.Frames[0].Width / 2;
        ship.X = float(double(ship.X) + (ship.StartX < ship.X ? -half : half));
        ship.Y = ship.StartY;
        ship.Angle = 64;
    }

    if (ship.Health > 0) ship.Health = TopUp(ship.Health, 15.0 / FrameRate, ShipFullHealth);
    ship.Fuel = TopUp(ship.Fuel, 40.0 / FrameRate, ShipFullFuel);
}

void TWorld::UpdateFlag(int q, TWaveList& waves) {
    if (q < 0 || q > 1 || Match.FlagsDisabled != 0) return;
    TFlag& flag = Flags[size_t(q)];
    const int e = 1 - q;
    const TShip& taker = Ships[size_t(e)];
    const double reach = Distance(flag.X, flag.Y, taker.X, taker.Y);
    switch (flag.State) {
    case 0:
        if (flag.VX < 1) flag.VX = float(std::min(double(flag.VX) + FrameRate * 0.0001, 1.0));
        if (reach < 60 * double(Scale)) {
            flag.State = 1;
            ++Match.Players[size_t(e)].FlagAttempts;
        }
        break;
    case 1:
        // Taken, it stays put until the taker pulls the strings tight.
        if (reach > 100 * double(Scale)) {
            flag.VX = 0;
            flag.State = 2;
            PlayAtPlace(*this, waves, flag.X, flag.Y, "CTFsnup", 0, 100);
        }
        break;
    case 2: {
        double vx = flag.VX;
        double vy = flag.VY;
        vx += vx / 10;
        vy += vy / 10;
        vy += 0.03;
        vx += (double(taker.X) - flag.X) / 60;
        vy += (double(taker.Y) - flag.Y) / 60;
        vx /= 1.2;
        vy /= 1.2;
        flag.VX = float(vx);
        flag.VY = float(vy);
        flag.X = float(double(flag.X) + flag.VX);
        flag.Y = float(double(flag.Y) + flag.VY);
        break;
    }
    default:
        break;
    }
    double phase = flag.WavePhase + std::sqrt(std::fabs(double(flag.VX))) * 20 / FrameRate;
    if (!std::isfinite(phase)) phase = 0;
    while (phase >= 8)
        phase -= 8;
    flag.WavePhase = phase;
}

void TWorld::TimeMedals(int p, TWaveList& waves) {
    if (p < 0 || p > 1) return;
    const TShip& ship = Ships[size_t(p)];
    const uint32_t life = ship.LifeSeconds;
    if (life == 300 || life == 600 || life == 900) AwardMedal(p, int(5 + life / 300), waves);
    const uint32_t raid = ship.EnemyBaseSeconds;
    if (raid == 10 || raid == 20 || raid == 30) AwardMedal(p, int(8 + raid / 10), waves);
}

void TWorld::AwardMedal(int p, int k, TWaveList& waves) {
    if (p < 0 || p > 1 || k < 0 || k >= MedalCount) return;
    Match.Players[size_t(p)].Medals[size_t(k)] = 1;
    MedalTimer[size_t(p)] = uint16_t(3 * FrameRate);
    MedalImage[size_t(p)] = "Medal" + std::to_string(k);
    PlayAtShip(*this, waves, p, "Medal", 0, 0, 100);
}
