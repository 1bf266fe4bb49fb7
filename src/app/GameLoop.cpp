// GameLoop: start-up, the paced ticks, and the paths that end the program.
#include "app/GameLoop.h"

#include "app/Game.h"
#include "media/Platform.h"

uint64_t RunGame(TGame& game, TPlatform& platform, int64_t maxTicks) {
    // Script commands for tick 0 are in force during start-up (space held skips the title wait).
    platform.BeforeTick(0);
    game.Start();
    uint64_t tick = 0;
    while (!game.Closed) {
        platform.PumpEvents();
        if (platform.CloseRequested()) {
            game.SaveAndClose();
            break;
        }
        game.FrameTimer.Enabled = platform.Active();
        platform.FeedAudio(game.Sounds.Mixer);
        if (!game.FrameTimer.Due(platform.NowMs())) {
            platform.Idle();
            continue;
        }
        if (maxTicks >= 0 && tick >= uint64_t(maxTicks)) break;
        platform.BeforeTick(tick);
        game.Tick();
        platform.AfterTick(tick, game.BackSurface);
        ++tick;
    }
    return tick;
}
