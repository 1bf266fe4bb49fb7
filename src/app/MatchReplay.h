// MatchReplay: re-running a recorded match as fast as possible to check it, or on screen to watch it.
#pragma once

#include "app/ReplayFiles.h"
#include "core/Replay.h"
#include "media/Input.h"

#include <cstdint>
#include <functional>
#include <string>

class TGame;
class TPlatform;

// Replays the match with the rules only and compares every stored state hash and the result. True
// when all agree; otherwise false and a one-line message naming the first tick that differs, or why
// the replay cannot be played here (its map or pictures changed, the match cannot be set up).
// Every drawEvery-th tick and the last (when drawEvery is not 0) are also drawn as the game shows it, and
// `drawn` is given its number (counted from 1) while the screen holds it.
bool VerifyReplay(TGame& game, const TReplay& replay, std::string& message, size_t drawEvery = 0,
                  const std::function<void(size_t)>& drawn = {});

// A recorded match on screen, one timer tick at a time, as it was played and with sound: space
// pauses, the right arrow doubles the speed up to 8x, the left arrow halves it, Home starts again,
// Escape leaves. The replay's pictures are in place while it lives.
class TReplayWatch {
  public:
    TReplayWatch(TGame& game, TReplay replay);
    // Sets the match up; false with a message when the replay cannot be played here.
    bool Begin(std::string& message);
    // One timer tick with the keys held in it; false when Escape leaves.
    bool Step(const TRawInput& raw);

  private:
    TGame& Game;
    const TReplay Replay;
    const TProvidedPictures Pictures;
    size_t Next = 0;
    int Speed = 1;
    bool Paused = false;
    bool Silenced = false;
    TRawInput Before;
};

// Shows the match as it was played, with sound: space pauses, the right arrow doubles the speed up
// to 8x, the left arrow halves it, Home starts again, Escape (or closing) leaves. Nothing is saved.
// Stops after maxTicks timer ticks when that is not negative; returns the ticks run, or -1 with a
// message when the replay cannot be played here.
int64_t WatchReplay(TGame& game, TPlatform& platform, const TReplay& replay, int64_t maxTicks,
                    std::string& message);
