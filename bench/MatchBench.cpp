// MatchBench: how long a match frame takes on the largest shipped map with an empty pool, a full
// pool and a nuke chain, how long a match takes to set up, and how fast a replay verifies.
#include "app/Game.h"
#include "app/MatchReplay.h"
#include "core/GameMath.h"
#include "media/headless/HeadlessPlatform.h"
#include "pilot/ComputerPilot.h"
#include "world/World.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <stdexcept>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;

namespace {

// The shipped map whose play field has the most pixels, as a game path.
std::string LargestMap() {
    const fs::path maps = fs::path(FLARONS_GAME_DIR) / "maps";
    std::string best;
    long long bestArea = -1;
    for (const auto& entry : fs::directory_iterator(maps)) {
        if (entry.path().extension() != ".map") continue;
        std::ifstream in(entry.path());
        std::string line;
        while (std::getline(in, line)) {
            if (line.rfind("MIDDLE=", 0) != 0) continue;
            std::string name = line.substr(7);
            while (!name.empty() && (name.back() == '\r' || name.back() == ' '))
                name.pop_back();
            Surface middle;
            if (middle.LoadFromFile((maps / name).string(), MapLayerLimit) &&
                (long long)middle.Width * middle.Height > bestArea) {
                bestArea = (long long)middle.Width * middle.Height;
                best = "maps\\" + entry.path().filename().string();
            }
            break;
        }
    }
    if (best.empty()) throw std::runtime_error("no maps under " + maps.string());
    return best;
}

// The moving parts of one body, enough to put a match back where it was.
struct TBodyState {
    float X = 0, Y = 0, VX = 0, VY = 0, Health = 0, Fuel = 0;
    double Angle = 0;
    uint8_t OnFoot = 0, Lives = 0, Glued = 0;
    uint16_t RespawnTimer = 0;
};

struct TFlagState {
    float X = 0, Y = 0, VX = 0, VY = 0;
    double WavePhase = 0;
    uint8_t State = 0;
};

// A game started as the front end starts it, on the largest map, with a snapshot to return to.
class TBenchGame {
  public:
    TBenchGame()
        : Home(fs::temp_directory_path() / ("flarons_bench_" + std::to_string(::getpid()))),
          Game(Platform, TFiles(FLARONS_GAME_DIR, MakeHome(Home)), TCommandLine{}) {
        Game.MatchSeed = 20240601;
        Game.Options = DefaultOptions(Game.Files);
        Game.Options.MapFile.Set(LargestMap());
        Game.Options.Lives = 0;
        Game.RecordMatches = false;
        Game.PrepareStartupAssets();
        if (!Game.StartMatch()) throw std::runtime_error("the match could not be started");
        Save();
    }
    ~TBenchGame() {
        std::error_code ec;
        fs::remove_all(Home, ec);
    }

    TWorld& Map() { return *Game.World; }

    void Save() {
        TWorld& m = Map();
        Pool = m.Projectiles;
        Cursor = m.ProjectileCursor;
        Terrain = m.TerrainBitmap.Cells;
        Middle = m.MiddleLayer.Pixels;
        Counters = m.Match;
        for (size_t p = 0; p < 2; ++p) {
            const TShip& s = m.Ships[p];
            Bodies[p] = TBodyState{s.X,     s.Y,      s.VX,    s.VY,    s.Health,      s.Fuel,
                                   s.Angle, s.OnFoot, s.Lives, s.Glued, s.RespawnTimer};
            const TFlag& f = m.Flags[p];
            FlagStates[p] = TFlagState{f.X, f.Y, f.VX, f.VY, f.WavePhase, f.State};
        }
    }
    // The snapshot, its terrain included, with the pool put back as `pool` and its cursor.
    void RestoreWithPool(const std::vector<TProjectile>& pool, uint16_t cursor) {
        Restore(true);
        std::copy(pool.begin(), pool.end(), Map().Projectiles.begin());
        Map().ProjectileCursor = cursor;
        Map().TrustSlotsInUse(true);
    }
    void Restore(bool terrain) {
        TWorld& m = Map();
        std::copy(Pool.begin(), Pool.end(), m.Projectiles.begin());
        m.ProjectileCursor = Cursor;
        m.TrustSlotsInUse(true); // the pool was put back by hand
        if (terrain) {
            std::copy(Terrain.begin(), Terrain.end(), m.TerrainBitmap.Cells.begin());
            std::copy(Middle.begin(), Middle.end(), m.MiddleLayer.Pixels.begin());
        }
        m.Match = Counters;
        m.MatchOver = 0;
        m.MatchEnded = 0;
        for (size_t p = 0; p < 2; ++p) {
            TShip& s = m.Ships[p];
            const TBodyState& b = Bodies[p];
            s.X = b.X, s.Y = b.Y, s.VX = b.VX, s.VY = b.VY, s.Health = b.Health, s.Fuel = b.Fuel;
            s.Angle = b.Angle, s.OnFoot = b.OnFoot, s.Lives = b.Lives, s.Glued = b.Glued;
            s.RespawnTimer = b.RespawnTimer;
            TFlag& f = m.Flags[p];
            const TFlagState& g = FlagStates[p];
            f.X = g.X, f.Y = g.Y, f.VX = g.VX, f.VY = g.VY, f.WavePhase = g.WavePhase, f.State = g.State;
        }
    }

    int Live() const {
        int n = 0;
        for (const TProjectile& r : Game.World->Projectiles)
            n += r.Kind != 0 ? 1 : 0;
        return n;
    }

    fs::path Home;
    THeadlessPlatform Platform;
    TGame Game;

  private:
    static fs::path MakeHome(const fs::path& home) {
        fs::create_directories(home);
        return home;
    }
    std::vector<TProjectile> Pool;
    uint16_t Cursor = 0;
    std::vector<uint8_t> Terrain;
    std::vector<uint32_t> Middle;
    TOptions Counters{};
    std::array<TBodyState, 2> Bodies{};
    std::array<TFlagState, 2> FlagStates{};
};

TBenchGame& Game() {
    static TBenchGame game;
    return game;
}

// The mean length of the runs of one kind among the live records in slot order: what the
// branches of the projectile rules see. The game spawns in bursts (an explosion's sparks, a dig's
// earth), so its runs are long: about 11 at the peak of a nuke chain.
double KindRun(const TWorld& map) {
    int live = 0, runs = 0, previous = -1;
    for (const TProjectile& r : map.Projectiles) {
        if (r.Kind == 0) continue;
        ++live;
        runs += r.Kind != previous ? 1 : 0;
        previous = r.Kind;
    }
    return runs == 0 ? 0 : double(live) / runs;
}

// Fills every slot with what a busy fight leaves in the air around both players: sparks, smoke,
// loose earth and snow, water and bullets, each in an empty cell. They come in bursts of one kind
// of 1 to `burst` records about one player, as the game spawns them; a burst of 1 draws every
// slot's kind on its own, which the game never does, and is the worst case for the rules.
void FillPool(TWorld& map, int burst) {
    const int w = map.TerrainBitmap.Width;
    const int h = map.TerrainBitmap.Height - 1;
    const double scale = map.Scale;
    int placed = 0;
    int tries = 0;
    int left = 0;
    int pick = 0;
    size_t player = 0;
    while (placed < int(ProjectileCount) && tries < 50 * int(ProjectileCount)) {
        ++tries;
        if (left == 0) {
            left = 1 + map.Rng.Random(std::max(burst, 1));
            pick = map.Rng.Random(100);
            player = 1 - player;
        }
        const TShip& near = map.Ships[player];
        const int x = int(near.X) - 500 + map.Rng.Random(1000);
        const int y = int(near.Y) - 350 + map.Rng.Random(700);
        if (x < 1 || y < 1 || x >= w - 1 || y >= h - 1 || map.TerrainBitmap.Get(x, y) != TerrainEmpty)
            continue;
        const double a = map.Rng.Random(256);
        const double speed = map.Rng.RandomReal();
        uint8_t kind = 4;
        double vx = 0, vy = 0;
        if (pick < 30) { // sparks of explosions and exhausts
            vx = (4 * speed - 2) * TurnCos(int64_t(a));
            vy = (4 * speed - 2) * TurnSin(int64_t(a));
        } else if (pick < 50) { // smoke
            kind = 5;
            vx = 0.4 * speed - 0.2;
            vy = -0.4 * speed;
        } else if (pick < 65) { // dug-out earth
            kind = 255;
            vx = speed - 0.5;
            vy = -speed;
        } else if (pick < 75) { // snow pushed about
            kind = 6;
            vx = 0.2 * speed - 0.1;
        } else if (pick < 85) { // water
            kind = 3;
            vx = 0.2 * speed - 0.1;
        } else { // bullets of both players
            kind = 9;
            vx = 14 * scale * TurnCos(int64_t(a));
            vy = -14 * scale * TurnSin(int64_t(a));
        }
        map.Spawn(kind, float(x), float(y), float(vx), float(vy));
        TProjectile& r = map.Projectiles[map.ProjectileCursor];
        if (kind == 9) r.Counter = uint32_t(10 * player + 9);
        ++placed;
        --left;
    }
}

void MatchFrameEmptyPool(benchmark::State& state) {
    TBenchGame& game = Game();
    for (auto _ : state) {
        state.PauseTiming();
        game.Restore(false);
        state.ResumeTiming();
        game.Game.MatchFrame();
    }
}

// The three parts of a frame: the whole match frame, the world update alone, both views alone.
enum TFramePart { WholeFrame, WorldUpdateOnly, ViewsOnly };

void FullPool(benchmark::State& state) {
    TBenchGame& game = Game();
    game.Restore(true);
    FillPool(game.Map(), int(state.range(1)));
    const std::vector<TProjectile> full = game.Map().Projectiles;
    const uint16_t cursor = game.Map().ProjectileCursor;
    state.counters["live"] = game.Live();
    state.counters["kind_run"] = KindRun(game.Map());
    const auto part = TFramePart(state.range(0));
    for (auto _ : state) {
        state.PauseTiming();
        game.RestoreWithPool(full, cursor);
        state.ResumeTiming();
        if (part == WholeFrame) game.Game.MatchFrame();
        if (part == WorldUpdateOnly) game.Map().UpdateWorld(game.Game.Sounds);
        if (part == ViewsOnly) {
            game.Map().BeginViews(game.Game.BackSurface, &game.Game.ViewWorker);
            game.Map().FinishViews(&game.Game.ViewWorker);
        }
    }
    game.Restore(true);
}

// A nuke dropped beside player 1, from its impact until the air is quiet again; the counters give
// the frames of the chain and their times.
void NukeChain(benchmark::State& state) {
    TBenchGame& game = Game();
    std::vector<double> frames;
    int peak = 0;
    for (auto _ : state) {
        state.PauseTiming();
        game.Restore(true);
        TWorld& map = game.Map();
        const TShip& ship = map.Ships[0];
        map.Spawn(22, ship.X + 80 * map.Scale, ship.Y - 40 * map.Scale, 0, 2);
        // Until it lands the frames are ordinary ones.
        for (int i = 0; i < 2000; ++i) {
            bool falling = false;
            for (const TProjectile& r : map.Projectiles)
                falling = falling || (r.Kind == 22 && r.Timer >= 4);
            if (!falling) break;
            game.Game.MatchFrame();
        }
        frames.clear();
        peak = 0;
        state.ResumeTiming();
        for (int i = 0; i < 6000; ++i) {
            const auto t0 = std::chrono::steady_clock::now();
            game.Game.MatchFrame();
            frames.push_back(
                std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count());
            state.PauseTiming();
            // Quiet: the last nuke, fragment, spark, smoke puff and clod of earth are gone.
            int live = 0, busy = 0;
            for (const TProjectile& r : map.Projectiles) {
                live += r.Kind != 0 ? 1 : 0;
                busy += (r.Kind == 22 || r.Kind == 16 || r.Kind == 4 || r.Kind == 5 || r.Kind == 255) ? 1 : 0;
            }
            if (live > peak) state.counters["kind_run_at_peak"] = KindRun(map);
            peak = std::max(peak, live);
            const bool quiet = busy == 0;
            state.ResumeTiming();
            if (quiet) break;
        }
    }
    std::vector<double> sorted = frames;
    std::sort(sorted.begin(), sorted.end());
    double sum = 0;
    for (double f : frames)
        sum += f;
    state.counters["frames"] = double(frames.size());
    state.counters["peak_live"] = peak;
    state.counters["frame_ms_mean"] = frames.empty() ? 0 : sum / double(frames.size());
    state.counters["frame_ms_median"] = sorted.empty() ? 0 : sorted[sorted.size() / 2];
    state.counters["frame_ms_max"] = sorted.empty() ? 0 : sorted.back();
    game.Restore(true);
}

void BuildWorld(benchmark::State& state) {
    TBenchGame& game = Game();
    for (auto _ : state) {
        auto map = TWorld::Create(game.Game.Files, game.Game.Images.Find("GreenFont"), game.Game.Options);
        benchmark::DoNotOptimize(map.get());
    }
}

void StartMatch(benchmark::State& state) {
    TBenchGame& game = Game();
    for (auto _ : state) {
        if (!game.Game.StartMatch()) state.SkipWithError("the match could not be started");
    }
    game.Save();
}

// A fight of `ticks` ticks on the largest map played through the match frame and recorded: both
// players thrust, turn and fire as the determinism guard's script does.
TReplay RecordFight(TGame& game, int ticks) {
    game.MatchSeed = 20240602;
    game.Options = DefaultOptions(game.Files);
    game.Options.MapFile.Set(LargestMap());
    game.Options.Lives = 0;
    game.PrepareStartupAssets();
    if (!game.StartMatch()) throw std::runtime_error("the match could not be started");
    for (int f = 0; f < ticks; ++f) {
        TRawInput raw;
        raw.Keys[keyW] = f < 40 || f % 7 < 3;
        raw.Keys[keyUp] = f < 40 || f % 5 < 2;
        raw.Keys[keyA] = f >= 40 && f % 40 < 9;
        raw.Keys[keyRight] = f >= 40 && f % 30 < 6;
        raw.Keys[keyTab] = f >= 40 && f % 3 != 0;
        raw.Keys[keyReturn] = f >= 40 && f % 2 == 0;
        game.FrameTimer.MeasuredFrameRate = 100;
        game.Input.Take(raw, game.Bindings);
        game.MatchFrame();
    }
    game.SaveRecording(ReplayAbandoned);
    return game.Recording;
}

// Verifying a recorded fight of 3000 ticks on the largest map: the rules only, a state hash every
// 100 ticks. The counter gives ticks per second.
void VerifyFight(benchmark::State& state) {
    const fs::path home = fs::temp_directory_path() / ("flarons_bench_verify_" + std::to_string(::getpid()));
    fs::create_directories(home);
    THeadlessPlatform platform;
    TReplay replay;
    {
        TGame recorder(platform, TFiles(FLARONS_GAME_DIR, home), TCommandLine{});
        replay = RecordFight(recorder, 3000);
    }
    for (auto _ : state) {
        TGame game(platform, TFiles(FLARONS_GAME_DIR, home), TCommandLine{});
        std::string message;
        if (!VerifyReplay(game, replay, message)) state.SkipWithError(message.c_str());
    }
    state.counters["ticks_per_second"] = benchmark::Counter(
        double(replay.Ticks.size()) * double(state.iterations()), benchmark::Counter::kIsRate);
    std::error_code ec;
    fs::remove_all(home, ec);
}

// Verification with the pool full: 100 ticks of the rules and one state hash, as a verification
// runs them, on every slot in use.
void VerifyFullPool(benchmark::State& state) {
    TBenchGame& game = Game();
    game.Restore(true);
    FillPool(game.Map(), 16);
    const std::vector<TProjectile> full = game.Map().Projectiles;
    const uint16_t cursor = game.Map().ProjectileCursor;
    const std::array<uint8_t, 2> held{uint8_t(1u << actThrust | 1u << actFire1),
                                      uint8_t(1u << actFire1 | 1u << actRight)};
    const TMatchTick tick{held, held, 100};
    for (auto _ : state) {
        state.PauseTiming();
        game.RestoreWithPool(full, cursor);
        state.ResumeTiming();
        for (int i = 0; i < 100; ++i)
            game.Game.StepMatch(tick, false);
        benchmark::DoNotOptimize(game.Game.MatchStateHash());
    }
    state.counters["ticks_per_second"] =
        benchmark::Counter(100.0 * double(state.iterations()), benchmark::Counter::kIsRate);
    game.Restore(true);
}

// The computer pilot's thinking, timed a tick at a time while it flies a minute of a match on the
// largest map against a side that does nothing: the median tick and the slowest one.
void PilotThink(benchmark::State& state) {
    TBenchGame& game = Game();
    std::vector<double> ms;
    for (auto _ : state) {
        game.Restore(true);
        TComputerPilot pilot(0, TPilotLevel::Normal, game.Map().Rng.Seed);
        ms.clear();
        TMatchTick tick;
        tick.FrameRate = 40;
        for (int t = 0; t < 2400; ++t) {
            const auto start = std::chrono::steady_clock::now();
            const uint8_t bits = pilot.Think(game.Map(), game.Game.PlayerWeapons[0]);
            ms.push_back(
                std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
            tick.Previous = tick.Actions;
            tick.Actions = {bits, 0};
            game.Game.StepMatch(tick, false);
        }
    }
    std::sort(ms.begin(), ms.end());
    state.counters["median_ms"] = ms[ms.size() / 2];
    state.counters["slowest_ms"] = ms.back();
    game.Restore(true);
}

} // namespace

BENCHMARK(PilotThink)->Unit(benchmark::kMillisecond)->Iterations(1)->UseRealTime();
BENCHMARK(VerifyFight)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();
BENCHMARK(VerifyFullPool)->Unit(benchmark::kMillisecond)->Iterations(5)->UseRealTime();
BENCHMARK(MatchFrameEmptyPool)->Unit(benchmark::kMillisecond);
// Bursts of up to 16 records as in a fight, then every slot's kind drawn on its own.
BENCHMARK(FullPool)
    ->Unit(benchmark::kMillisecond)
    ->ArgNames({"part", "burst"})
    ->ArgsProduct({{WholeFrame, WorldUpdateOnly, ViewsOnly}, {16, 1}});
BENCHMARK(NukeChain)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BuildWorld)->Unit(benchmark::kMillisecond);
BENCHMARK(StartMatch)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
