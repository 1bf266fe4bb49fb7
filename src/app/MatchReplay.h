// MatchReplay: re-running a recorded match as fast as possible to check it, or on screen to watch it.
#pragma once

#include "core/Replay.h"

#include <cstdint>
#include <string>

class TGame;
class TPlatform;

// Replays the match with the rules only and compares every stored state hash and the result. True
// when all agree; otherwise false and a one-line message naming the first tick that differs, or why
// the replay cannot be played here (its map or pictures changed, the match cannot be set up).
bool VerifyReplay(TGame& game, const TReplay& replay, std::string& message);

// Shows the match as it was played, with sound: space pauses, the right arrow doubles the speed up
// to 8x, the left arrow halves it, Home starts again, Escape (or closing) leaves. Nothing is saved.
// Stops after maxTicks timer ticks when that is not negative; returns the ticks run, or -1 with a
// message when the replay cannot be played here.
int64_t WatchReplay(TGame& game, TPlatform& platform, const TReplay& replay, int64_t maxTicks,
                    std::string& message);
