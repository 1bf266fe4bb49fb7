// World: the world of one match (layers, terrain grid, projectile pool, ships, flags, cameras).
#pragma once

#include "core/GameMath.h"
#include "core/OptionsFile.h"
#include "media/Surface.h"
#include "world/Flag.h"
#include "world/ParticleArea.h"
#include "world/Projectile.h"
#include "world/Ship.h"
#include "world/StateHash.h"
#include "world/Terrain.h"
#include "world/Views.h"

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class TFiles;
struct TPictureItem;
class TWaveList;
class TWorker;

constexpr int ViewWidth = 320;
constexpr int ViewHeight = 430;
constexpr uint32_t ColourValueOne =
    0x010000; // Windows colour value 1 as a pixel: near-black, not transparent
constexpr uint16_t DefaultFrameRate = 40;
constexpr float DefaultScale = 0.5f;

// Where the map puts the players and their flags, in the order the loader returns them.
struct TSpawnPoints {
    std::array<float, 2> PlayerX{};
    std::array<float, 2> PlayerY{};
    std::array<float, 2> FlagX{};
    std::array<float, 2> FlagY{};
};

class TWorld {
  public:
    uint16_t FrameRate = DefaultFrameRate; // set only through SetFrameRate
    Surface BackLayer;                     // opaque; its black is colour value 1
    Surface MiddleLayer;                   // the play field, black transparent
    Surface FrontLayer;
    Surface Divider;                   // 2 x 430, colour value 1
    std::array<TViewWork, 2> ViewWork; // what each view is drawn on
    TTerrain TerrainBitmap;            // MIDDLE width x (MIDDLE height + 1) classes
    float BackParallaxX = 1;
    float BackParallaxY = 1;
    float FrontParallaxX = 1;
    float FrontParallaxY = 1;
    uint8_t SingleScreen = 0;
    uint16_t FrameCounter = 0;
    uint8_t MatchOver = 0;
    uint8_t MatchEnded = 0;
    uint8_t UnlimitedLives = 0;
    std::array<uint16_t, 2> MedalTimer{};
    std::array<std::string, 2> MedalImage;
    TOptions Match{}; // private copy of the options record; this match's counters count here
    uint16_t ProjectileCursor = 0;
    std::vector<TProjectile> Projectiles; // ProjectileCount records, allocated once
    std::vector<TParticleArea> ParticleAreas;
    float Scale = DefaultScale;
    std::array<TShip, 2> Ships;
    std::array<TFlag, 2> Flags;
    std::array<float, 2> ViewX{};
    std::array<float, 2> ViewY{};
    std::array<uint8_t, 3> BackAverage{};                     // red, green, blue
    std::array<std::array<Surface, 2>, 2> WeaponNameSurfaces; // [player][page], 78 x 40
    uint8_t MinFrameRate = 70;
    // Screen shake of the two views: the world update moves it and the views are offset by it.
    std::array<float, 2> ShakeVelX{};
    std::array<float, 2> ShakeVelY{};
    std::array<float, 2> ShakeX{};
    std::array<float, 2> ShakeY{};
    // The match's one generator: every random draw of the rules comes from it, so a match is its
    // seed plus its inputs (replays record the seed, the state hash includes it).
    TRandom Rng;
    TSmokeShades SmokeShades;

    // An empty world: the pool allocated and zero-filled, the view surfaces made, no map.
    TWorld();

    // Builds the complete world of a match from a copy of the options record: map, ships, flags,
    // weapon-name pages, placement, cameras and footprints. Raises TWorldError when a map, picture
    // or number cannot be read; nothing of the partly built world survives.
    // `seed` starts the match's generator before the map is read (its backdrop draws from it).
    static std::unique_ptr<TWorld> Create(const TFiles& files, const TPictureItem& font,
                                          const TOptions& options, uint32_t seed = 0);
    // The same, reporting failure as a message instead: nullptr and `error` filled.
    static std::unique_ptr<TWorld> TryCreate(const TFiles& files, const TPictureItem& font,
                                             const TOptions& options, std::string& error, uint32_t seed = 0);

    void SetFrameRate(uint16_t value) { FrameRate = value > 15 ? value : DefaultFrameRate; }

    // Loads the map file (a game path such as `maps\cave.map`): layers, terrain classes, parallax,
    // background average, scale and particle areas. Raises TWorldError on anything unreadable.
    TSpawnPoints LoadMap(const TFiles& files, const std::string& mapFile);
    // The map file and every picture it names, digested (HashNamedFile) as LoadMap read them, in
    // that order: a replay's content digest goes on from here, without reading them again.
    TStateHash MapContent;

    // Composes both views onto the 640 x 480 target.
    void DrawViews(Surface& target);
    // The same in two halves: Begin takes what the views show of the world now and paints them onto
    // the target, on the worker when there is one and the pool is busy, so the world may be updated
    // meanwhile; Finish waits for them. Nothing may touch the target in between.
    void BeginViews(Surface& target, TWorker* worker);
    void FinishViews(TWorker* worker);
    // Takes what view v shows of the world now into its work.
    void TakeView(size_t v);
    // Copies the play field under the view's camera into its work.
    void CopyField(TViewWork& work) const;
    // Live records when the views last began: a busy pool sends the next views to the worker.
    size_t LiveAtLastViews = ProjectileCount;

    // --- The running match: one step of the world and positional sound (combat/WorldUpdate.cpp).
    // Returns ShipWrecked of player 0 in the low byte and of player 1 in the high byte.
    uint16_t UpdateWorld(TWaveList& waves);
    void PlaySoundAt(TWaveList& waves, const std::string& name, int randomSuffixMax, int distToShip0,
                     int distToShip1, int frequency, int volumePercent);

    // --- Ship flight and terrain contact (combat/Flight.cpp).
    void Thrust(int p);
    void TurnLeft(int p);
    void TurnRight(int p);
    void FollowCamera(int p);
    void CheckFeet(int p);
    void Move(int p);
    void TerrainContact(int p, TWaveList& waves);
    void Float(int p);

    // --- Projectiles, explosions and particle areas (combat/Projectiles.cpp, combat/Explosions.cpp,
    // combat/ParticleEmission.cpp).
    void Spawn(uint8_t kind, float x, float y, float vx, float vy);
    // One bit per slot, set while the slot holds a record, kept in step by every spawn and SetKind:
    // while it is trusted a spawn into a crowded pool finds its slot, and the projectile pass finds
    // the records in use, without walking the 60,000 slots.
    // A match started by the game trusts it from its first tick to its last (nothing there writes a
    // record's Kind but the rules). A world whose pool is written directly does not: each update
    // rebuilds it as it starts and drops it as it returns, and spawns outside the update walk the
    // pool. Whoever writes a trusted pool directly (puts a snapshot back) calls TrustSlotsInUse(true).
    std::vector<uint64_t> SlotsInUse;
    bool SlotsInUseTrusted = false;
    // true: rebuilds the map from the pool and trusts it; false: stops trusting it.
    void TrustSlotsInUse(bool trusted);
    // Every write of a pool record's Kind goes through here.
    void SetKind(TProjectile& p, uint8_t kind) {
        p.Kind = kind;
        const size_t i = size_t(&p - Projectiles.data());
        if (i / 64 >= SlotsInUse.size()) return;
        const uint64_t bit = uint64_t(1) << (i % 64);
        SlotsInUse[i / 64] = kind != 0 ? (SlotsInUse[i / 64] | bit) : (SlotsInUse[i / 64] & ~bit);
    }
    // The projectile pass of the world update: every record in use advanced in slot order by its
    // kind's rule (impacts and terrain changes included), then each still alive within a catching
    // ship's box appended to that ship's candidates.
    void AdvanceAllProjectiles(TWaveList& waves, std::array<std::vector<uint16_t>, 2>& candidates);
    // The same over the slots first..end-1 only.
    void AdvanceProjectiles(int first, int end, TWaveList& waves,
                            std::array<std::vector<uint16_t>, 2>& candidates);
    void Emit(TParticleArea& area);
    // The burst of a timed or powered projectile or a mine; the record is removed.
    void Explode(int slot, TWaveList& waves);
    // The 3 x 3 dig of a laser point or fragment in a solid cell; the record is removed.
    void Dig(int slot);
    // A spark scorching the pixel under it; a fully black pixel vanishes unless it is a pad.
    void Burn(int slot);
    // Loose material, water, glue or a bug coming to rest; the record is removed.
    void Settle(int slot);
    // Moves an impact point back along its path onto the first solid cell it entered.
    void BackToSurface(float& x, float& y, float vx, float vy) const;
    // PlaySoundAt for a sound made at a point of the play field.
    void SoundAtPoint(TWaveList& waves, const std::string& name, int randomSuffixMax, double x, double y,
                      int frequency, int volumePercent);

    // --- Hits, deaths, bases, flags and medals (combat/Contest.cpp).
    void ResolveHits(int p, const std::vector<uint16_t>& candidates, TWaveList& waves);
    void ShipCollision(TWaveList& waves);
    // True when ship p was wrecked (its pilot ejects); false when nothing or only the pilot died.
    bool HandleDeath(int p, TWaveList& waves);
    void EnemyBase(int p, TWaveList& waves);
    void OwnBase(int p, TWaveList& waves);
    void UpdateFlag(int q, TWaveList& waves);
    void TimeMedals(int p, TWaveList& waves);
    void AwardMedal(int p, int k, TWaveList& waves);
    // Slots that hits on ship 0 freed in this update, and the update they belong to: ship 1's list
    // skips them, since a spawn may have refilled them with an unrelated record after the listing.
    std::vector<uint16_t> HitFreedSlots;
    uint64_t HitFreedUpdate = 0;
};

// Sets the counters of one match in a pilot record to 0; the win streak carries across matches.
void ClearMatchCounters(TPilotRecord& pilot);

// Draws the weapon names of one page (weapons 5 page .. 5 page + 4) centred onto a 78 x 40 surface.
void DrawWeaponPage(Surface& page, const TPictureItem& font, const TPilotRecord& pilot, int pageIndex);

// Raises TWorldError unless the game path names a picture within the limit of its role.
void RequirePicture(const TFiles& files, const std::string& winPath, const TPictureLimit& limit,
                    const char* what);
