// Platform: what the game needs from a window system, clock and audio device (SDL or headless).
#pragma once

#include "media/Input.h"
#include "media/Surface.h"

#include <cstdint>

class TMixer;

class TPlatform {
  public:
    virtual ~TPlatform() = default;
    TPlatform() = default;
    TPlatform(const TPlatform&) = delete;
    TPlatform& operator=(const TPlatform&) = delete;

    // Millisecond clock (virtual in headless runs).
    virtual uint64_t NowMs() = 0;
    // The seconds field of the time of day, for the title wait.
    virtual int ClockSeconds() = 0;
    // Handles pending window-system events (focus, close, Alt+Enter, key and mouse changes).
    virtual void PumpEvents() = 0;
    // The keys held now and the mouse movement since the last call.
    virtual TRawInput ReadInput() = 0;
    // Shows the 640 x 480 back surface; the surface keeps its contents.
    virtual void Present(const Surface& back) = 0;
    // True while the game has the focus (the frame timer runs only then).
    virtual bool Active() = 0;
    // True once the window system or a signal asked the game to close.
    virtual bool CloseRequested() = 0;
    // Keeps the audio device fed from the mixer; silent platforms may drop the samples.
    virtual void FeedAudio(TMixer& mixer) = 0;
    // Waits a little when no tick is due (a headless platform advances its clock instead).
    virtual void Idle() = 0;
    // Frame hooks for scripted runs: before a tick's poll and after its flip.
    virtual void BeforeTick(uint64_t /*tick*/) {}
    virtual void AfterTick(uint64_t /*tick*/, const Surface& /*display*/) {}
    // Shakes the pad in this place (0 or 1) at a strength from 0 to 1, where the pad can.
    virtual void Rumble(int /*pad*/, float /*strength*/, int /*ms*/) {}
    // Shows or hides the mouse pointer over the window.
    virtual void ShowPointer(bool /*show*/) {}
};
