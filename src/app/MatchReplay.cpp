// MatchReplay: recording the match being played, and verifying or watching a recorded one.
#include "app/MatchReplay.h"

#include "app/Game.h"
#include "app/ReplayFiles.h"
#include "core/GameMath.h"
#include "media/MediaError.h"
#include "media/Platform.h"
#include "world/StateHash.h"
#include "world/World.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>

TReplayStart TGame::CaptureMatchStart(bool content) const {
    TReplayStart s;
    s.RandomSeed = MatchSeed;
    s.Options = Options;
    if (content) s.ContentHash = MatchContentHash(Files, Options);
    s.Pictures = PrivatePictures(Files, Options);
    s.FrameCounter = MatchFrameCounter;
    s.PageCursor = PageCursor;
    for (size_t p = 0; p < 2; ++p)
        for (size_t k = 0; k < 2; ++k) {
            const TWeapon& w = PlayerWeapons[p][k];
            s.Weapons[p][k] = TReplayWeapon{w.WeaponId, w.Owner, w.Cooldown, w.Ammo};
        }
    return s;
}

void TGame::ApplyMatchStart(const TReplayStart& s) {
    Options = s.Options;
    MatchSeed = s.RandomSeed;
    MatchFrameCounter = s.FrameCounter;
    PageCursor = s.PageCursor;
    for (size_t p = 0; p < 2; ++p)
        for (size_t k = 0; k < 2; ++k) {
            const TReplayWeapon& from = s.Weapons[p][k];
            TWeapon& w = PlayerWeapons[p][k];
            w.Create(from.Owner, from.WeaponId);
            w.Cooldown = from.Cooldown;
            w.Ammo = from.Ammo;
        }
}

uint64_t TGame::MatchStateHash() const {
    TStateHash h;
    if (World) HashWorld(h, *World);
    for (const auto& slots : PlayerWeapons)
        for (const TWeapon& w : slots)
            h.Add(w.WeaponId), h.Add(w.Owner), h.Add(w.Cooldown), h.Add(w.Ammo);
    h.Add(PageCursor), h.Add(MatchFrameCounter), h.Add(World ? World->Rng.Seed : 0u);
    return h.Value();
}

void TGame::RecordMatchTick(const TMatchTick& tick) {
    if (RecordingName.empty()) return;
    Recording.Ticks.push_back(tick);
    if (Recording.Ticks.size() % ReplayHashInterval == 0) Recording.Hashes.push_back(MatchStateHash());
    if (GameState == gsMatchEnd) {
        SaveRecording(ReplayEnded);
        Front.LastReplay = RecordingName;
        RecordingName.clear();
    }
}

void TGame::SaveRecording(uint8_t how) {
    if (RecordingName.empty() || !World) return;
    Recording.Result = TReplayResult{how, {}, 0};
    if (how != ReplayFaulted) {
        Recording.Result.Points = {World->Match.Players[0].Points, World->Match.Players[1].Points};
        Recording.Result.FinalHash = MatchStateHash();
    }
    Files.CreateFolder(ReplayFolder);
    if (!Files.WriteFileAtomic(RecordingName, WriteReplay(Recording)))
        std::fprintf(stderr, "flarons: could not save the replay %s\n", RecordingName.c_str());
    PruneReplays(Files, KeptReplays);
}

namespace {

// The replay's pictures must be in place (TProvidedPictures) for as long as the match runs.
bool SetUp(TGame& game, const TReplay& replay, const TProvidedPictures& pictures, std::string& message) {
    const TOptions& options = replay.Start.Options;
    if (!pictures.Ok()) {
        message = "the pilots' pictures the replay carries cannot be put under " +
                  (game.Files.HomeDir / ReplayFolder).string();
        return false;
    }
    // The world is built first and the files it read are digested as it reads them, so the map's
    // large pictures are read once; a world that cannot be built is told apart by reading them.
    game.RecordMatches = false;
    game.ApplyMatchStart(replay.Start);
    const bool built = game.StartMatch();
    const uint64_t content = built ? MatchContentHash(game.Files, options, game.World->MapContent)
                                   : MatchContentHash(game.Files, options);
    if (content != replay.Start.ContentHash) {
        message = "the map " + options.MapFile.Str() +
                  ", its pictures or the pilots' ship and flag pictures " +
                  "are not those the match was played with";
        return false;
    }
    if (!built) message = "the match cannot be set up";
    return built;
}

} // namespace

bool VerifyReplay(TGame& game, const TReplay& replay, std::string& message, size_t drawEvery,
                  const std::function<void(size_t)>& drawn) {
    const TProvidedPictures pictures(game.Files, replay.Start.Pictures);
    if (!SetUp(game, replay, pictures, message)) return false;
    for (size_t i = 0; i < replay.Ticks.size(); ++i) {
        const size_t done = i + 1;
        const bool draw = drawEvery != 0 && (done % drawEvery == 0 || done == replay.Ticks.size());
        game.StepMatch(replay.Ticks[i], draw);
        if (draw && drawn) drawn(done);
        if (done % ReplayHashInterval != 0) continue;
        if (game.MatchStateHash() != replay.Hashes[done / ReplayHashInterval - 1]) {
            message = "the match differs from the recording at tick " + std::to_string(done) +
                      " (it agreed at tick " + std::to_string(done - ReplayHashInterval) + ")";
            return false;
        }
    }
    const TWorld& world = *game.World;
    const std::array<int64_t, 2> points{world.Match.Players[0].Points, world.Match.Players[1].Points};
    if (replay.Result.How == ReplayFaulted) {
        message = "the replay verifies up to tick " + std::to_string(replay.Ticks.size()) +
                  ", where the match was stopped by a fault";
        return true;
    }
    if (game.MatchStateHash() != replay.Result.FinalHash || points != replay.Result.Points) {
        message =
            "the match differs from the recording at its last tick, " + std::to_string(replay.Ticks.size());
        return false;
    }
    message = "the replay verifies: " + std::to_string(replay.Ticks.size()) + " ticks, " +
              std::to_string(points[0]) + " to " + std::to_string(points[1]);
    return true;
}

TReplayWatch::TReplayWatch(TGame& game, TReplay replay)
    : Game(game), Replay(std::move(replay)), Pictures(game.Files, Replay.Start.Pictures) {}

bool TReplayWatch::Begin(std::string& message) {
    Next = 0;
    Silenced = false;
    return SetUp(Game, Replay, Pictures, message);
}

bool TReplayWatch::Step(const TRawInput& raw) {
    const TRawInput before = Before;
    Before = raw;
    const auto pressed = [&](TKey key) { return raw.Keys[key] && !before.Keys[key]; };
    if (pressed(keyEscape)) return false;
    if (pressed(keySpace)) Paused = !Paused;
    if (pressed(keyRight)) Speed = std::min(Speed * 2, 8);
    if (pressed(keyLeft)) Speed = std::max(Speed / 2, 1);
    try {
        std::string message;
        if (pressed(keyHome) && !Begin(message)) return false;
        // At higher speeds only the last tick of a timer tick is drawn.
        for (int k = 0; k < Speed && !Paused && Next < Replay.Ticks.size(); ++k) {
            const bool draw = k == Speed - 1 || Next + 1 == Replay.Ticks.size();
            Game.StepMatch(Replay.Ticks[Next++], draw);
        }
        if (Next == Replay.Ticks.size() && !Silenced) {
            Game.Sounds.Find("Thrust").Stop(Game.Sounds.Mixer);
            Silenced = true;
        }
    } catch (const TMediaError& e) {
        std::fprintf(stderr, "flarons: %s\n", e.what());
    }
    return true;
}

int64_t WatchReplay(TGame& game, TPlatform& platform, const TReplay& replay, int64_t maxTicks,
                    std::string& message) {
    platform.BeforeTick(0);
    platform.ShowPointer(false);
    game.StatusBar.Load(game.Files);
    TReplayWatch watch(game, replay);
    if (!watch.Begin(message)) return -1;
    int64_t tick = 0;
    while (!platform.CloseRequested()) {
        platform.PumpEvents();
        game.FrameTimer.Enabled = platform.Active();
        platform.FeedAudio(game.Sounds.Mixer);
        if (!game.FrameTimer.Due(platform.NowMs())) {
            platform.Idle();
            continue;
        }
        if (maxTicks >= 0 && tick >= maxTicks) break;
        platform.BeforeTick(uint64_t(tick));
        const TRawInput raw = platform.ReadInput();
        game.Input.Take(raw, game.Bindings);
        if (!watch.Step(raw)) break;
        game.Flip();
        platform.AfterTick(uint64_t(tick), game.BackSurface);
        ++tick;
    }
    return tick;
}

void TGame::WatchFrame(const TRawInput& raw) {
    if (!Watching) {
        // A replay chosen from the list: what the players had set up is put back afterwards.
        const std::string path = std::move(Front.WatchRequest);
        Front.WatchRequest.clear();
        TReplay replay;
        std::string message;
        const std::filesystem::path file = Files.ForReading(path);
        if (file.empty() || !LoadReplayFile(file, replay, message)) {
            Front.MatchStartError = file.empty() ? path + " is gone" : message;
            return;
        }
        BeforeWatching = CaptureMatchStart();
        Watching = std::make_unique<TReplayWatch>(*this, std::move(replay));
        if (!Watching->Begin(message)) {
            EndWatching();
            Front.MatchStartError = message;
        }
        return;
    }
    if (!Watching->Step(raw)) EndWatching();
}

void TGame::EndWatching() {
    ViewWorker.Wait();
    Watching.reset();
    ApplyMatchStart(BeforeWatching);
    RecordMatches = true;
    Sounds.Find("Thrust").Stop(Sounds.Mixer);
    GameState = gsMainMenu;
    Front.HideBackButton();
    Front.ReturnToMenu(false);
}
