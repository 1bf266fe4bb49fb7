// FrameTimer: tick pacing and frame-rate windows.
#include "media/FrameTimer.h"

#include <cmath>

bool TFrameTimer::Due(uint64_t nowMs) {
    if (!Enabled) return false;
    if (!Started) {
        Started = true;
        LastTick = nowMs;
        WindowStart = nowMs;
        return false;
    }
    if (nowMs - LastTick < uint64_t(Interval)) return false;
    // Keep the 10 ms grid rather than restarting it from now, so late wake-ups do not lower the
    // rate; after a long stall (a debugger, a suspended laptop) the grid restarts.
    LastTick += uint64_t(Interval);
    if (nowMs - LastTick >= 5 * uint64_t(Interval)) LastTick = nowMs;
    Count(nowMs);
    return true;
}

void TFrameTimer::Count(uint64_t nowMs) {
    ++WindowTicks;
    const uint64_t elapsed = nowMs - WindowStart;
    if (elapsed >= 1000) {
        MeasuredFrameRate = int(std::nearbyint(double(WindowTicks) * 1000.0 / double(elapsed)));
        WindowTicks = 0;
        WindowStart = nowMs;
    }
}
