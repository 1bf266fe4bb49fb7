// HeadlessPlatform: a platform with no window and no sound device, on a virtual clock, driven by a script.
#pragma once

#include "media/Platform.h"
#include "media/headless/InputScript.h"

#include <array>
#include <cstdint>
#include <map>
#include <vector>

// The clock stands still until Idle moves it to the next 10 ms boundary, so every Idle makes exactly
// one timer tick due and a run is the same however fast the machine is.
class THeadlessPlatform : public TPlatform {
  public:
    // Pointer movement is handed over only at the first poll of a timer tick: the polls of the
    // start-up wait would otherwise swallow it, and the game's menu pointer would no longer be
    // where the script put the runner's.
    // The screen point range of the runner's pointer, the same bounds the game's menus clamp to.
    static constexpr int PointerMaxX = 640;
    static constexpr int PointerMaxY = 480;

    explicit THeadlessPlatform(TInputScript script = {});

    uint64_t NowMs() override { return Clock; }
    int ClockSeconds() override { return int((Clock / 1000) % 60); }
    void PumpEvents() override {}
    TRawInput ReadInput() override;
    void Present(const Surface& back) override;
    bool Active() override { return true; }
    bool CloseRequested() override { return Closing; }
    void FeedAudio(TMixer& mixer) override;
    void Idle() override { Clock = (Clock / 10 + 1) * 10; }
    // Applies every script command up to this tick that has not been applied yet, so tick 0's
    // commands take effect once though the loop calls this for tick 0 before start-up and again
    // for the first timer tick. The first call is taken to be the one before start-up.
    void BeforeTick(uint64_t tick) override;
    // Writes the shots of every tick up to this one.
    void AfterTick(uint64_t tick, const Surface& display) override;

    void Rumble(int pad, float strength, int ms) override;
    // The shaking the pad in a place was asked for: strength times milliseconds, summed over the rumbles.
    double RumbleDose(int place) const { return place == 0 || place == 1 ? Rumbles[size_t(place)] : 0; }
    const Surface& Displayed() const { return Display; }
    uint64_t PresentCount() const { return Presents; }
    int PointerX() const { return PointerPosX; }
    int PointerY() const { return PointerPosY; }
    // Shots that could not be written (their file names), reported on stderr as they fail.
    const std::vector<std::string>& FailedShots() const { return ShotFailures; }

  private:
    void Apply(const TScriptCommand& cmd, uint64_t tick);
    void MovePointer(int x, int y);

    TInputScript Script;
    size_t NextInput = 0; // first command not yet applied by BeforeTick
    size_t NextShot = 0;  // first command not yet looked at by AfterTick
    uint64_t Clock = 0;
    bool Closing = false;

    std::array<bool, KeyCount> Keys{};
    std::array<bool, KeyCount> KeysPressed{}; // pressed since the last poll
    bool Button = false;
    bool ButtonPressed = false;
    // Pads by the number the script gives them; places are handed out in connect order.
    std::map<int, TPadState> Pads;
    std::map<int, uint32_t> PadPressed; // buttons pressed since the last poll
    TPadSlots PadPlaces;
    std::array<double, 2> Rumbles{};
    std::vector<uint64_t> ReleaseAt; // ticks at which a click lets go of the button
    int PointerPosX = 0;
    int PointerPosY = 0;
    int PendingDX = 0;
    int PendingDY = 0;
    uint64_t BeforeTickCalls = 0;
    bool TickPollDue = false; // a timer tick has begun and has not polled the mouse yet

    Surface Display;
    uint64_t Presents = 0;
    std::vector<std::string> ShotFailures;

    std::vector<int16_t> Scratch;
    uint64_t FedFrames = 0; // frame position at FedRate up to which audio has been mixed
    int FedRate = 0;
};
