// flarons_pilot_matches: headless matches of computer pilots on every shipped map with fixed seeds, and
// a table of how they went: normal against a side that does nothing, hard against easy, normal
// against normal, and normal alone for 10 minutes with lives unlimited (its own wrecks are the figure).
// Each match runs until a side has lost all its lives or the time is up.
#include "app/Game.h"
#include "core/Files.h"
#include "core/GameMath.h"
#include "media/headless/HeadlessPlatform.h"
#include "pilot/ComputerPilot.h"
#include "world/World.h"

#include <algorithm>
#include <array>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;

namespace {

constexpr int MatchFrameRate = 40;

struct TMode {
    const char* Name;
    std::optional<TPilotLevel> First;  // player 1
    std::optional<TPilotLevel> Second; // player 2; none: nobody at the keys
    int Minutes;
    int Lives = 5;          // 0: unlimited, the match runs the whole time
    bool OnlyAsked = false; // played only when named with --mode
};

const TMode Modes[] = {
    {"normal-idle", TPilotLevel::Normal, std::nullopt, 5},
    {"hard-easy", TPilotLevel::Hard, TPilotLevel::Easy, 10},
    {"normal-normal", TPilotLevel::Normal, TPilotLevel::Normal, 10},
    // Hard against easy with the sides swapped: a map that favours a side shows here. Only when asked for.
    {"easy-hard", TPilotLevel::Easy, TPilotLevel::Hard, 10, 5, true},
    {"alone", TPilotLevel::Normal, std::nullopt, 10, 0},
};

struct TResult {
    int Winner = -1; // -1: the time ran out
    double Minutes = 0;
    std::array<int, 2> Wrecks{};     // wrecks of its own doing
    std::array<int, 2> FootDeaths{}; // pilots on foot dead of their own doing
    std::vector<double> ThinkMs;
    std::array<uint32_t, 2> Fired{};
    std::array<uint32_t, 2> Hits{};
    std::array<int, 2> Lives{};
    std::array<uint32_t, 2> Points{};      // a point for each wreck and each pilot killed
    std::array<long, 2> ReachedAt{-1, -1}; // first tick within 150 pixels of the enemy's start; -1 never
};

// The terrain at the end of a match, at half size, with the players' tracks on it (player 1 blue to
// green, player 2 red to yellow, brighter when faster; a pilot on foot paler) and a square where a ship was
// wrecked (white for player 1, magenta for player 2).
void SaveTrack(const TWorld& world, const std::array<std::vector<std::array<float, 3>>, 2>& tracks,
               const std::vector<std::array<float, 3>>& wrecks, const std::string& file) {
    const TTerrain& t = world.TerrainBitmap;
    Surface picture(t.Width / 2, t.Height / 2);
    for (int y = 0; y < picture.Height; ++y)
        for (int x = 0; x < picture.Width; ++x) {
            const uint8_t c = t.Get(2 * x, 2 * y);
            picture.SetPixel(x, y,
                             c == TerrainEmpty   ? Rgb(16, 16, 24)
                             : c == TerrainWater ? Rgb(30, 60, 160)
                             : c == TerrainPad   ? Rgb(230, 200, 40)
                                                 : Rgb(110, 100, 90));
        }
    for (size_t p = 0; p < 2; ++p)
        for (const auto& [x, y, v] : tracks[p]) {
            const int g = std::clamp(int(60 + 40 * v), 60, 255);
            const uint32_t walking = p == 0 ? Rgb(160, 255, 255) : Rgb(255, 180, 255);
            picture.SetPixel(int(x / 2), int(y / 2),
                             v < 0    ? walking
                             : p == 0 ? Rgb(0, g, 255 - g)
                                      : Rgb(255, g, 0));
        }
    for (const auto& [x, y, p] : wrecks)
        for (int d = -3; d <= 3; ++d)
            for (int e = -3; e <= 3; ++e)
                picture.SetPixel(int(x / 2) + d, int(y / 2) + e,
                                 p == 0 ? Rgb(255, 255, 255) : Rgb(255, 0, 255));
    picture.SaveToPng(file);
}

// With --trace and --verbose, one line for each of player p's events in the update just played: a hit on
// the enemy (from where, at what), a wreck, a pilot's death, and landing on or leaving a pad.
void TraceEvents(const TWorld& world, const std::array<TShip, 2>& before, const std::array<uint32_t, 2>& hits,
                 size_t p, long tick, bool homeward) {
    const TShip& b = before[p];
    const TShip& now = world.Ships[p];
    const TShip& e = before[1 - p];
    const double apart = std::hypot(b.X - e.X, b.Y - e.Y);
    auto say = [&](const char* what) {
        std::printf(
            "    %6.1f s  player %zu %-18s%s at %4.0f,%4.0f health %3.0f fuel %3.0f | enemy at %4.0f,%4.0f "
            "health %3.0f%s, %3.0f px off\n",
            double(tick) / MatchFrameRate, p + 1, what, homeward ? " (homeward)" : "", b.X, b.Y, b.Health,
            b.Fuel, e.X, e.Y, e.Health,
            e.OnFoot != 0        ? " on foot"
            : e.AtEnemyBase != 0 ? " on my pad"
            : e.AtOwnBase != 0   ? " home"
                                 : "",
            apart);
    };
    if (world.Match.Players[p].ShotsHitEnemy != hits[p]) say("hits");
    if (b.OnFoot == 0 && now.OnFoot != 0) say("is wrecked");
    if (b.OnFoot != 0 && now.RespawnTimer != 0 && b.RespawnTimer == 0) {
        say("dies on foot");
        std::printf("             speed %.2f,%.2f\n", b.VX, b.VY);
    }
    if (b.AtEnemyBase == 0 && now.AtEnemyBase != 0) say("lands on enemy pad");
    if (b.AtEnemyBase != 0 && now.AtEnemyBase == 0) say("leaves enemy pad");
    if (b.AtOwnBase == 0 && now.AtOwnBase != 0 && b.OnFoot == 0) say("lands home");
}

// Ticks as seconds of match time; -1 for never.
double Seconds(long ticks) {
    return ticks < 0 ? -1.0 : double(ticks) / MatchFrameRate;
}

TResult Play(const fs::path& gameDir, const std::string& mapFile, const TMode& mode, uint32_t seed,
             const std::string& trace, int minutes, bool verbose) {
    TResult r;
    const fs::path home = fs::temp_directory_path() / ("flarons_pilots_" + std::to_string(::getpid()));
    fs::create_directories(home);
    {
        THeadlessPlatform platform;
        TGame game(platform, TFiles(gameDir, home), TCommandLine{});
        game.MatchSeed = seed;
        game.Options = DefaultOptions(game.Files);
        game.Options.MapFile.Set("maps\\" + mapFile);
        game.Options.Lives = uint8_t(mode.Lives);
        game.Options.PointsLimit = 0;
        game.PrepareStartupAssets();
        if (!game.StartMatch()) {
            std::fprintf(stderr, "flarons_pilot_matches: %s could not be started\n", mapFile.c_str());
            return r;
        }
        TWorld& world = *game.World;
        std::array<std::unique_ptr<TComputerPilot>, 2> pilots;
        const std::array<std::optional<TPilotLevel>, 2> levels{mode.First, mode.Second};
        for (size_t p = 0; p < 2; ++p)
            if (levels[p]) {
                pilots[p] = std::make_unique<TComputerPilot>(int(p), *levels[p], world.Rng.Seed);
                pilots[p]->KnowPages(game.Options.Players[p].Weapons);
            }
        // A wreck counts as the pilot's own doing unless the enemy hit the ship in the 3 s before it.
        std::array<long, 2> enemyHitAt{-1000000, -1000000};
        std::array<uint32_t, 2> enemyHits{};
        std::array<std::vector<std::array<float, 3>>, 2> tracks;
        std::vector<std::array<float, 3>> wreckedAt;
        const long frames = long(minutes > 0 ? minutes : mode.Minutes) * 60 * MatchFrameRate;
        long f = 0;
        for (; f < frames && world.MatchOver == 0; ++f) {
            // Nobody watches: the views stay unpainted.
            world.MatchEnded = 1;
            game.FrameTimer.MeasuredFrameRate = MatchFrameRate;
            TTickInput input;
            for (size_t p = 0; p < 2; ++p) {
                if (!pilots[p]) continue;
                const auto t0 = std::chrono::steady_clock::now();
                input.Players[p] = pilots[p]->Think(world, game.PlayerWeapons[p]);
                r.ThinkMs.push_back(
                    std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count());
            }
            game.Input.Before = game.Input.Now;
            game.Input.Now = input;
            const std::array<TShip, 2> before{world.Ships[0], world.Ships[1]};
            const std::array<uint32_t, 2> hitsBefore{world.Match.Players[0].ShotsHitEnemy,
                                                     world.Match.Players[1].ShotsHitEnemy};
            game.MatchFrame();
            for (size_t p = 0; p < 2 && !trace.empty(); ++p) {
                const TShip& b = before[p];
                if (b.RespawnTimer == 0)
                    tracks[p].push_back({b.X, b.Y, b.OnFoot != 0 ? -1.0f : std::hypot(b.VX, b.VY)});
                if (verbose)
                    TraceEvents(world, before, hitsBefore, p, f, pilots[p] && pilots[p]->GoingHome());
            }
            for (size_t p = 0; p < 2; ++p) {
                const TShip& ship = world.Ships[p];
                const TShip& enemy = world.Ships[1 - p];
                if (r.ReachedAt[p] < 0 && ship.OnFoot == 0 && ship.RespawnTimer == 0 &&
                    std::hypot(ship.X - enemy.StartX, ship.Y - enemy.StartY) < 150)
                    r.ReachedAt[p] = f;
                const uint32_t hits = world.Match.Players[1 - p].ShotsHitEnemy;
                if (hits != enemyHits[p]) enemyHitAt[p] = f;
                enemyHits[p] = hits;
                const bool unhurt = f - enemyHitAt[p] > 3 * MatchFrameRate;
                if (before[p].OnFoot != 0 && before[p].RespawnTimer == 0 && ship.RespawnTimer != 0 && unhurt)
                    ++r.FootDeaths[p];
                if (((game.LastWrecked >> (8 * p)) & 0xFF) != 0 && unhurt) {
                    ++r.Wrecks[p];
                    if (!trace.empty()) {
                        const TShip& b = before[p];
                        wreckedAt.push_back({b.X, b.Y, float(p)});
                        std::printf(
                            "    player %zu wrecks itself at tick %ld: %.0f,%.0f speed %.2f,%.2f angle %.0f "
                            "health %.0f fuel %.0f\n",
                            p + 1, f, b.X, b.Y, b.VX, b.VY, b.Angle, b.Health, b.Fuel);
                    }
                }
            }
        }
        r.Minutes = double(f) / MatchFrameRate / 60;
        if (!trace.empty())
            SaveTrack(world, tracks, wreckedAt,
                      trace + "/" + fs::path(mapFile).stem().string() + "-" + mode.Name + "-" +
                          std::to_string(seed) + ".png");
        for (size_t p = 0; p < 2; ++p) {
            r.Fired[p] = world.Match.Players[p].ShotsFired;
            r.Hits[p] = world.Match.Players[p].ShotsHitEnemy;
            r.Lives[p] = world.Ships[p].Lives;
            r.Points[p] = world.Match.Players[p].Points;
        }
        if (world.MatchOver != 0) r.Winner = world.Ships[0].Lives > world.Ships[1].Lives ? 0 : 1;
    }
    std::error_code ec;
    fs::remove_all(home, ec);
    return r;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: flarons_pilot_matches GAME_FOLDER [--matches N] [--map NAME] [--mode "
                             "NAME] [--first SEED] [--verbose 1] [--trace FOLDER] [--minutes N]\n");
        return 2;
    }
    const fs::path gameDir = argv[1];
    int matches = 20;
    int first = 1; // seed of the first match
    std::string only, onlyMode, trace;
    bool verbose = false;
    int length = 0; // minutes a match lasts at most; 0: each pairing's own
    for (int i = 2; i + 1 < argc; i += 2) {
        const std::string key = argv[i], value = argv[i + 1];
        if (key == "--matches") matches = std::max(1, std::atoi(value.c_str()));
        if (key == "--first") first = std::max(1, std::atoi(value.c_str()));
        if (key == "--map") only = value;
        if (key == "--mode") onlyMode = value;
        if (key == "--verbose") verbose = value != "0";
        if (key == "--trace") trace = value;
        if (key == "--minutes") length = std::max(0, std::atoi(value.c_str()));
    }
    // The shipped maps, listed as the game's map list lists them.
    std::vector<std::string> maps = TFiles(gameDir, gameDir).FindFiles("maps\\*.map");
    std::erase_if(maps, [&](const std::string& m) { return !only.empty() && fs::path(m).stem() != only; });
    if (maps.empty()) {
        std::fprintf(stderr, "flarons_pilot_matches: no maps under %s\n", (gameDir / "maps").c_str());
        return 2;
    }
    std::printf(
        "%d matches per map and pairing (5 lives; alone: unlimited), seeds %d..%d; wins of player 1 : "
        "player 2 : time up\n",
        matches, first, first + matches - 1);
    std::printf("%-11s %-14s %-12s %9s %13s %10s %11s\n", "map", "pairing", "wins", "mean min", "wrecks 1/2",
                "foot 1/2", "think ms");
    for (const std::string& map : maps)
        for (const TMode& mode : Modes) {
            if (onlyMode.empty() ? mode.OnlyAsked : onlyMode != mode.Name) continue;
            std::array<int, 3> wins{};
            std::array<int, 2> wrecks{}, foot{};
            double minutes = 0;
            std::vector<double> think;
            for (int k = first; k < first + matches; ++k) {
                const TResult r = Play(gameDir, map, mode, uint32_t(k), trace, length, verbose);
                if (verbose)
                    std::printf(
                        "  seed %d: winner %d (0: time up), %.2f min, lives %d/%d, points %u/%u, shots "
                        "hit/fired %u/%u and %u/%u, own wrecks %d/%d, own deaths on foot %d/%d, at the "
                        "enemy's start after %.1f/%.1f "
                        "s\n",
                        k, r.Winner + 1, r.Minutes, r.Lives[0], r.Lives[1], r.Points[0], r.Points[1],
                        r.Hits[0], r.Fired[0], r.Hits[1], r.Fired[1], r.Wrecks[0], r.Wrecks[1],
                        r.FootDeaths[0], r.FootDeaths[1], Seconds(r.ReachedAt[0]), Seconds(r.ReachedAt[1]));
                ++wins[size_t(r.Winner < 0 ? 2 : r.Winner)];
                wrecks[0] += r.Wrecks[0];
                wrecks[1] += r.Wrecks[1];
                foot[0] += r.FootDeaths[0];
                foot[1] += r.FootDeaths[1];
                minutes += r.Minutes;
                think.insert(think.end(), r.ThinkMs.begin(), r.ThinkMs.end());
            }
            double median = 0;
            if (!think.empty()) {
                std::nth_element(think.begin(), think.begin() + long(think.size() / 2), think.end());
                median = think[think.size() / 2];
            }
            const std::string w =
                std::to_string(wins[0]) + ":" + std::to_string(wins[1]) + ":" + std::to_string(wins[2]);
            const std::string wr = std::to_string(wrecks[0]) + "/" + std::to_string(wrecks[1]);
            const std::string fd = std::to_string(foot[0]) + "/" + std::to_string(foot[1]);
            std::printf("%-11s %-14s %-12s %9.2f %13s %10s %11.3f\n", fs::path(map).stem().c_str(), mode.Name,
                        w.c_str(), minutes / matches, wr.c_str(), fd.c_str(), median);
            std::fflush(stdout);
        }
    return 0;
}
