// flarons_soak: plays every shipped map headless for a long match, once with nobody at the keys and
// once with both ships thrusting, turning and firing at random, and then checks that each base pad
// is still a pad with dry, open air above it, that the spawn points are free and that both flags
// can still be reached from the first base. Prints one table row per map and run.
#include "app/Game.h"
#include "core/Files.h"
#include "core/GameMath.h"
#include "core/PlayerInput.h"
#include "media/headless/HeadlessPlatform.h"
#include "world/World.h"

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <string>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;

namespace {

constexpr int MatchFrameRate = 40;
constexpr int HallRows = 30; // the air over a pad that a landing ship needs
constexpr int Block = 4;     // reachability is searched on blocks of this many pixels a side
constexpr int Clearance = 3; // blocks a side of the square a body needs to pass (12 px)

struct TPad {
    int Row = -1; // first row of the pad, -1 when none was found under the spawn point
    int Left = 0;
    int Right = 0; // exclusive
    uint8_t Class = TerrainPad;
};

struct TRun {
    std::string Map;
    std::string Mode;
    std::array<long, 2> PadWet{};  // cells of water in the hall over the pad
    std::array<bool, 2> PadDry{};  // under 1 % of that hall water: a stray drop or two, no flood
    std::array<bool, 2> PadOpen{}; // the hall over the pad is at least 99 % air or water
    std::array<bool, 2> SpawnFree{};
    bool Reachable = false; // the other base and both flags from the first base
    long WaterStart = 0, WaterEnd = 0, SnowEnd = 0, GlueEnd = 0;
    int Live = 0;
    bool MatchOver = false;
    double MsPerFrame = 0;
};

bool Passable(uint8_t c) {
    return c == TerrainEmpty || c == TerrainWater || c == TerrainSnow;
}

// The pad under a spawn point; on a map without a dot map bases stand on plain rock, and the
// ship's width of it under the spawn point counts as the pad.
TPad FindPad(const TTerrain& t, float x, float y) {
    TPad pad;
    const int cx = int(Round(x));
    for (int row = int(Round(y)); row < t.Height; ++row) {
        const uint8_t c = t.Get(cx, row);
        if (c == TerrainEmpty) continue;
        if (c != TerrainPad && c != TerrainGround) return pad;
        pad.Row = row;
        pad.Class = c;
        pad.Left = cx;
        pad.Right = cx + 1;
        while (t.Get(pad.Left - 1, row) == c && pad.Right - pad.Left < 56)
            --pad.Left;
        while (t.Get(pad.Right, row) == c && pad.Right - pad.Left < 56)
            ++pad.Right;
        return pad;
    }
    return pad;
}

// From the block of the first spawn point, over blocks whose surrounding square is passable.
bool AllReached(const TTerrain& t, const std::vector<std::array<float, 2>>& targets) {
    const int bw = t.Width / Block, bh = t.Height / Block;
    std::vector<uint8_t> open(size_t(bw) * size_t(bh), 0);
    for (int by = 0; by < bh; ++by)
        for (int bx = 0; bx < bw; ++bx) {
            bool all = true;
            for (int y = by * Block; y < (by + 1) * Block && all; ++y)
                for (int x = bx * Block; x < (bx + 1) * Block && all; ++x)
                    all = Passable(t.Get(x, y));
            open[size_t(by) * size_t(bw) + size_t(bx)] = all ? 1 : 0;
        }
    auto fits = [&](int bx, int by) {
        if (bx < 0 || by < 0 || bx + Clearance > bw || by + Clearance > bh) return false;
        for (int y = by; y < by + Clearance; ++y)
            for (int x = bx; x < bx + Clearance; ++x)
                if (open[size_t(y) * size_t(bw) + size_t(x)] == 0) return false;
        return true;
    };
    // The body's square whose middle lies nearest a point, if it fits anywhere close by.
    auto nodeNear = [&](float x, float y, int& nx, int& ny) {
        const int cx = int(x) / Block - Clearance / 2, cy = int(y) / Block - Clearance / 2;
        for (int r = 0; r <= 4; ++r)
            for (int dy = -r; dy <= r; ++dy)
                for (int dx = -r; dx <= r; ++dx)
                    if (fits(cx + dx, cy + dy)) {
                        nx = cx + dx;
                        ny = cy + dy;
                        return true;
                    }
        return false;
    };
    int sx = 0, sy = 0;
    if (targets.empty() || !nodeNear(targets[0][0], targets[0][1], sx, sy)) return false;
    std::vector<uint8_t> seen(open.size(), 0);
    std::vector<int> queue = {sy * bw + sx};
    seen[size_t(queue[0])] = 1;
    for (size_t q = 0; q < queue.size(); ++q) {
        const int x = queue[q] % bw, y = queue[q] / bw;
        const int next[4][2] = {{x + 1, y}, {x - 1, y}, {x, y + 1}, {x, y - 1}};
        for (const auto& n : next) {
            if (!fits(n[0], n[1]) || seen[size_t(n[1] * bw + n[0])]) continue;
            seen[size_t(n[1] * bw + n[0])] = 1;
            queue.push_back(n[1] * bw + n[0]);
        }
    }
    bool all = true;
    for (const auto& target : targets) {
        int nx = 0, ny = 0;
        if (nodeNear(target[0], target[1], nx, ny) && seen[size_t(ny * bw + nx)]) continue;
        std::fprintf(stderr, "  %.0f,%.0f cannot be reached from the first base\n", target[0], target[1]);
        all = false;
    }
    return all;
}

long Count(const TTerrain& t, uint8_t cls) {
    return long(std::count(t.Cells.begin(), t.Cells.end(), cls));
}

// The play field at a size a picture viewer shows whole.
Surface Shrunk(const Surface& s) {
    const int f = std::max(1, (std::max(s.Width, s.Height) + 1599) / 1600);
    Surface out(s.Width / f, s.Height / f);
    for (int y = 0; y < out.Height; ++y)
        for (int x = 0; x < out.Width; ++x)
            out.SetPixel(x, y, s.Pixel(x * f, y * f));
    return out;
}

TRun Soak(const fs::path& gameDir, const std::string& mapFile, bool fight, int minutes,
          const std::string& shots) {
    TRun run;
    run.Map = fs::path(mapFile).stem().string();
    run.Mode = fight ? "fight" : "idle";
    const fs::path home = fs::temp_directory_path() / ("flarons_soak_" + std::to_string(::getpid()));
    fs::create_directories(home);
    {
        THeadlessPlatform platform;
        TGame game(platform, TFiles(gameDir, home), TCommandLine{});
        game.MatchSeed = 20261207;
        game.Options = DefaultOptions(game.Files);
        game.Options.MapFile.Set("maps\\" + mapFile);
        game.Options.Lives = 0; // unlimited: the match runs its full length
        game.Options.PointsLimit = 0;
        game.PrepareStartupAssets();
        if (!game.StartMatch()) {
            std::fprintf(stderr, "flarons_soak: %s could not be started\n", mapFile.c_str());
            return run;
        }
        TWorld& world = *game.World;
        std::array<TPad, 2> pads{};
        std::vector<std::array<float, 2>> targets;
        for (size_t p = 0; p < 2; ++p) {
            pads[p] = FindPad(world.TerrainBitmap, world.Ships[p].StartX, world.Ships[p].StartY);
            targets.push_back({world.Ships[p].StartX, world.Ships[p].StartY});
        }
        for (size_t p = 0; p < 2; ++p)
            targets.push_back({world.Flags[p].HomeX, world.Flags[p].HomeY});
        run.WaterStart = Count(world.TerrainBitmap, TerrainWater);

        std::mt19937 dice(fight ? 4242u : 1u);
        std::uniform_int_distribution<int> percent(0, 99);
        const long frames = long(minutes) * 60 * MatchFrameRate;
        const auto t0 = std::chrono::steady_clock::now();
        for (long f = 0; f < frames; ++f) {
            // Nobody watches: the match frame leaves the views unpainted, as it does once a match has
            // ended, which makes a soak several times faster.
            world.MatchEnded = 1;
            game.Input.Before = game.Input.Now;
            game.FrameTimer.MeasuredFrameRate = MatchFrameRate;
            if (fight && f % 12 == 0)
                for (int p = 0; p < 2; ++p) {
                    const int turn = percent(dice);
                    game.Input.Now.Set(p, actThrust, percent(dice) < 55);
                    game.Input.Now.Set(p, actLeft, turn < 25);
                    game.Input.Now.Set(p, actRight, turn >= 75);
                    game.Input.Now.Set(p, actFire1, percent(dice) < 60);
                    game.Input.Now.Set(p, actFire2, percent(dice) < 30);
                }
            game.MatchFrame();
            if (world.MatchOver != 0) run.MatchOver = true;
        }
        run.MsPerFrame =
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count() /
            double(std::max(frames, 1L));

        const TTerrain& t = world.TerrainBitmap;
        for (size_t p = 0; p < 2; ++p) {
            const TPad& pad = pads[p];
            long water = 0, solid = 0, cells = 0;
            bool stillPad = pad.Row >= 0;
            for (int x = pad.Left; x < pad.Right && stillPad; ++x)
                stillPad = t.Get(x, pad.Row) == pad.Class;
            for (int y = pad.Row - HallRows; y < pad.Row && stillPad; ++y)
                for (int x = pad.Left; x < pad.Right; ++x, ++cells) {
                    water += t.Get(x, y) == TerrainWater;
                    solid += !Passable(t.Get(x, y)) || t.Get(x, y) == TerrainSnow;
                }
            run.PadWet[p] = water;
            run.PadDry[p] = stillPad && water * 100 < cells;
            run.PadOpen[p] = stillPad && solid * 100 <= cells;
            if (water > 0 || !run.PadOpen[p])
                std::fprintf(stderr, "%s %s pad %zu: %s, %ld of %ld cells over it water, %ld not air\n",
                             run.Map.c_str(), run.Mode.c_str(), p + 1, stillPad ? "a pad" : "no pad", water,
                             cells, solid);
            bool free = true;
            const int sx = int(Round(world.Ships[p].StartX)), sy = int(Round(world.Ships[p].StartY));
            for (int y = sy - 12; y <= sy + 8; ++y)
                for (int x = sx - 12; x <= sx + 12; ++x)
                    free = free && t.Get(x, y) == TerrainEmpty;
            run.SpawnFree[p] = free;
        }
        run.Reachable = AllReached(t, targets);
        run.WaterEnd = Count(t, TerrainWater);
        run.SnowEnd = Count(t, TerrainSnow);
        run.GlueEnd = Count(t, TerrainGlue);
        for (const TProjectile& r : world.Projectiles)
            run.Live += r.Kind != 0 ? 1 : 0;
        if (!shots.empty())
            Shrunk(world.MiddleLayer).SaveToPng(shots + "/" + run.Map + "_" + run.Mode + ".png");
    }
    std::error_code ec;
    fs::remove_all(home, ec);
    return run;
}

const char* YesNo(bool b) {
    return b ? "y" : "N";
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr,
                     "usage: flarons_soak GAME_FOLDER [--minutes N] [--map NAME] [--mode idle|fight|both]"
                     " [--shots DIR]\n");
        return 2;
    }
    const fs::path gameDir = argv[1];
    int minutes = 30;
    std::string only, mode = "both", shots;
    for (int i = 2; i + 1 < argc; i += 2) {
        const std::string key = argv[i], value = argv[i + 1];
        if (key == "--minutes") minutes = std::max(1, std::atoi(value.c_str()));
        if (key == "--map") only = value;
        if (key == "--mode") mode = value;
        if (key == "--shots") shots = value;
    }
    // The shipped maps, listed as the game's map list lists them.
    std::vector<std::string> maps = TFiles(gameDir, gameDir).FindFiles("maps\\*.map");
    std::erase_if(maps, [&](const std::string& m) { return !only.empty() && fs::path(m).stem() != only; });
    if (maps.empty()) {
        std::fprintf(stderr, "flarons_soak: no maps under %s\n", (gameDir / "maps").c_str());
        return 2;
    }
    std::printf("%d minutes of match time at %d frames a second per map and run\n", minutes, MatchFrameRate);
    std::printf("%-11s %-5s %-8s %-9s %-7s %-7s %-5s %8s %8s %8s %6s %6s %5s %5s\n", "map", "run", "pads dry",
                "wet cells", "open", "spawns", "reach", "water0", "water", "snow", "glue", "live", "ms/f",
                "ok");
    bool allGood = true;
    for (const std::string& map : maps)
        for (const bool fight : {false, true}) {
            if ((mode == "idle" && fight) || (mode == "fight" && !fight)) continue;
            const TRun r = Soak(gameDir, map, fight, minutes, shots);
            const bool good = r.PadDry[0] && r.PadDry[1] && r.PadOpen[0] && r.PadOpen[1] && r.SpawnFree[0] &&
                              r.SpawnFree[1] && r.Reachable && !r.MatchOver;
            allGood = allGood && good;
            const std::string wet = std::to_string(r.PadWet[0]) + " " + std::to_string(r.PadWet[1]);
            std::printf(
                "%-11s %-5s %s %s      %-9s %s %s     %s %s   %-5s %8ld %8ld %8ld %6ld %6d %5.2f %5s\n",
                r.Map.c_str(), r.Mode.c_str(), YesNo(r.PadDry[0]), YesNo(r.PadDry[1]), wet.c_str(),
                YesNo(r.PadOpen[0]), YesNo(r.PadOpen[1]), YesNo(r.SpawnFree[0]), YesNo(r.SpawnFree[1]),
                YesNo(r.Reachable), r.WaterStart, r.WaterEnd, r.SnowEnd, r.GlueEnd, r.Live, r.MsPerFrame,
                good ? "yes" : "NO");
            std::fflush(stdout);
        }
    return allGood ? 0 : 1;
}
