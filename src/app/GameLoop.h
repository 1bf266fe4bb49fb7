// GameLoop: the idle loop that drives the frame timer, start-up and closing on any platform.
#pragma once

#include <cstdint>

class TGame;
class TPlatform;

// Runs start-up and then one tick per due timer event until the game closes. A close request from
// the window system saves like the quit step. maxTicks >= 0 stops after that many ticks without
// saving (as a kill would). Returns the number of ticks run.
uint64_t RunGame(TGame& game, TPlatform& platform, int64_t maxTicks);
