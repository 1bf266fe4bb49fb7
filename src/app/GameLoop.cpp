// GameLoop: start-up, the paced ticks, and the paths that end the program.
#include "app/GameLoop.h"

#include "app/Form.h"
#include "media/Platform.h"

uint64_t RunGame(TForm1& form, TPlatform& platform, int64_t maxTicks) {
    // Script commands for tick 0 are in force during start-up (space held skips the title wait).
    platform.BeforeTick(0);
    form.DXDrawInitializeSurface();
    uint64_t tick = 0;
    while (!form.Closed) {
        platform.PumpEvents();
        if (platform.CloseRequested()) {
            form.SaveAndClose();
            break;
        }
        form.DXTimer.Enabled = platform.Active();
        platform.FeedAudio(form.DXWaveList.Mixer);
        if (!form.DXTimer.Due(platform.NowMs())) {
            platform.Idle();
            continue;
        }
        if (maxTicks >= 0 && tick >= uint64_t(maxTicks)) break;
        platform.BeforeTick(tick);
        form.DXTimerTimer();
        platform.AfterTick(tick, form.DXDraw);
        ++tick;
    }
    return tick;
}
