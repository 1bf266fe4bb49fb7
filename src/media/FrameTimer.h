// FrameTimer: the 10 ms frame pacing and the measured frame rate.
#pragma once

#include <cstdint>

class TFrameTimer {
  public:
    int Interval = 10; // milliseconds
    bool Enabled = true;
    int MeasuredFrameRate = 0; // whole ticks per second of the last finished window, 0 before

    // Called from the idle loop: true (and counts the tick) when at least Interval ms have passed
    // since the last tick. A paused timer (no focus) never ticks.
    bool Due(uint64_t nowMs);
    // Counts one tick at nowMs; windows of at least 1000 ms refresh MeasuredFrameRate.
    void Count(uint64_t nowMs);

  private:
    bool Started = false;
    uint64_t LastTick = 0;
    uint64_t WindowStart = 0;
    uint32_t WindowTicks = 0;
};
