// WorldUpdate: one step of the running world in its fixed order, and the positional sound.
#include "core/GameMath.h"
#include "media/Sound.h"
#include "world/World.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

uint16_t TWorld::UpdateWorld(TWaveList& waves) {
    // Within the update every record is written through the rules, which keep the map of slots in
    // use in step. A world that did not trust it before trusts it only until the update returns.
    struct TTrustForTheUpdate {
        TWorld& World;
        const bool Kept;
        explicit TTrustForTheUpdate(TWorld& world) : World(world), Kept(world.SlotsInUseTrusted) {
            if (!Kept) World.TrustSlotsInUse(true);
        }
        ~TTrustForTheUpdate() {
            if (!Kept) World.TrustSlotsInUse(false);
        }
        TTrustForTheUpdate(const TTrustForTheUpdate&) = delete;
        TTrustForTheUpdate& operator=(const TTrustForTheUpdate&) = delete;
    } const trust(*this);
    // View shake: a damped spring per view. One screen shared by both players shakes as one.
    if (SingleScreen != 0) {
        const double meanX = (double(ShakeVelX[0]) + ShakeVelX[1]) / 2;
        const double meanY = (double(ShakeVelY[0]) + ShakeVelY[1]) / 2;
        ShakeX[0] = float(ShakeX[0] + meanX);
        ShakeY[0] = float(ShakeY[0] + meanY);
        ShakeX[1] = ShakeX[0];
        ShakeY[1] = ShakeY[0];
    } else {
        for (size_t i = 0; i < 2; ++i) {
            ShakeX[i] += ShakeVelX[i];
            ShakeY[i] += ShakeVelY[i];
        }
    }
    for (size_t i = 0; i < 2; ++i) {
        ShakeVelX[i] = float((ShakeVelX[i] - ShakeX[i] / 5.0) / 1.1);
        ShakeVelY[i] = float((ShakeVelY[i] - ShakeY[i] / 5.0) / 1.1);
    }

    // Once per second. Reaching or passing the rate counts, so a rate that drops between two
    // frames cannot leave the counter climbing past it for minutes.
    ++FrameCounter;
    if (FrameCounter >= FrameRate) {
        for (size_t p = 0; p < 2; ++p) {
            TShip& s = Ships[p];
            TPilotRecord& pilot = Match.Players[p];
            ++pilot.PlayingTime;
            if (s.AtEnemyBase != 0)
                ++s.EnemyBaseSeconds;
            else
                s.EnemyBaseSeconds = 0;
            if (s.OnFoot == 1 && s.RespawnTimer == 0) ++pilot.OnFootTime;
            ++s.LifeSeconds;
            TimeMedals(int(p), waves);
        }
        FrameCounter = 0;
    }

    if (Match.FlagsDisabled == 0) {
        UpdateFlag(0, waves);
        UpdateFlag(1, waves);
    }

    for (TParticleArea& area : ParticleAreas)
        Emit(area);

    // Projectiles, then the cheap box test that picks the few worth a pixel-exact hit test.
    std::array<std::vector<uint16_t>, 2> candidates;
    AdvanceAllProjectiles(waves, candidates);

    for (TShip& s : Ships) {
        if (s.Health > 0) {
            s.Alive = 1;
            s.Glued = 0;
            s.AtOwnBase = 0;
            s.AtEnemyBase = 0;
        } else {
            s.Alive = 0;
        }
    }

    std::array<uint8_t, 2> wrecked{};
    for (size_t p = 0; p < 2; ++p) {
        TShip& s = Ships[p];
        const int pi = int(p);
        if (s.RespawnTimer != 0) {
            --s.RespawnTimer;
            if (s.RespawnTimer == 0 && MatchOver != 0) MatchEnded = 1;
            continue;
        }
        ResolveHits(pi, candidates[p], waves);
        if (SingleScreen == 0) FollowCamera(pi);
        CheckFeet(pi);
        Move(pi);
        TerrainContact(pi, waves);
        if (p == 0 && Ships[0].Alive != 0 && Ships[1].Alive != 0) ShipCollision(waves);
        if (s.Alive == 0 && HandleDeath(pi, waves)) wrecked[p] = 1;
        Float(pi);
        if (s.AtEnemyBase != 0) EnemyBase(pi, waves);
        if (s.AtOwnBase != 0) OwnBase(pi, waves);
    }
    return uint16_t(wrecked[0] | (wrecked[1] << 8));
}

void TWorld::PlaySoundAt(TWaveList& waves, const std::string& name, int randomSuffixMax, int distToShip0,
                         int distToShip1, int frequency, int volumePercent) {
    std::string full = name;
    if (randomSuffixMax > 0) {
        const int32_t suffix = Rng.Random(randomSuffixMax + 1);
        full += std::to_string(suffix);
    }
    TWaveItem& item = waves.Find(full);
    item.SetFrequency(waves.Mixer, frequency);
    // Distances are 16-bit; a farther one is simply as far as can be, never wrapped round to near.
    const int d0 = std::clamp(distToShip0, 0, 65535);
    const int d1 = std::clamp(distToShip1, 0, 65535);
    const int volume = std::max(0, 10000 - std::min(d0, d1)) * volumePercent / 100 - 10000;
    const int pan = std::clamp(d0 - d1, -10000, 10000);
    item.SetVolume(waves.Mixer, volume);
    item.SetPan(waves.Mixer, pan);
    item.Play(waves.Mixer);
    if (!full.empty() && full[0] == 'E') {
        const double r0 = Rng.RandomReal();
        ShakeVelX[0] = float(ShakeVelX[0] + 10 * r0 / std::max(1, d0));
        const double r1 = Rng.RandomReal();
        ShakeVelY[0] = float(ShakeVelY[0] + 10 * r1 / std::max(1, d0));
        const double r2 = Rng.RandomReal();
        ShakeVelX[1] = float(ShakeVelX[1] + 10 * r2 / std::max(1, d1));
        const double r3 = Rng.RandomReal();
        ShakeVelY[1] = float(ShakeVelY[1] + 10 * r3 / std::max(1, d1));
    }
}
