// HeadlessPlatform: virtual clock, scripted input, captured frames and discarded audio.
#include "media/headless/HeadlessPlatform.h"

#include "media/Sound.h"

#include <algorithm>
#include <iostream>

namespace {
constexpr size_t ScratchFrames = 1024;
}

THeadlessPlatform::THeadlessPlatform(TInputScript script) : Script(std::move(script)) {
    Scratch.assign(ScratchFrames * 2, 0);
}

TRawInput THeadlessPlatform::ReadInput() {
    TRawInput raw;
    // A press is seen by the next poll even when its release came before it.
    for (size_t k = 0; k < KeyCount; ++k)
        raw.Keys[k] = Keys[k] || KeysPressed[k];
    raw.MouseLeft = Button || ButtonPressed;
    KeysPressed = {};
    ButtonPressed = false;
    for (auto& [number, pad] : Pads) {
        const int place = PadPlaces.SlotOf(number);
        if (place < 0) continue;
        raw.Pads[size_t(place)] = pad;
        raw.Pads[size_t(place)].Buttons |= PadPressed[number];
    }
    PadPressed.clear();
    if (TickPollDue) {
        raw.MouseDX = PendingDX;
        raw.MouseDY = PendingDY;
        PendingDX = 0;
        PendingDY = 0;
        TickPollDue = false;
    }
    return raw;
}

void THeadlessPlatform::Present(const Surface& back) {
    // Assignment reuses the pixel storage of the previous frame, so a present is one copy.
    Display = back;
    ++Presents;
}

void THeadlessPlatform::MovePointer(int x, int y) {
    const int nx = std::clamp(x, 0, PointerMaxX);
    const int ny = std::clamp(y, 0, PointerMaxY);
    PendingDX += nx - PointerPosX;
    PendingDY += ny - PointerPosY;
    PointerPosX = nx;
    PointerPosY = ny;
}

void THeadlessPlatform::Apply(const TScriptCommand& cmd, uint64_t tick) {
    switch (cmd.Action) {
    case TScriptAction::Key:
        Keys[size_t(cmd.Key)] = cmd.Down;
        KeysPressed[size_t(cmd.Key)] = KeysPressed[size_t(cmd.Key)] || cmd.Down;
        break;
    case TScriptAction::Mouse:
        MovePointer(cmd.X, cmd.Y);
        break;
    case TScriptAction::Button:
        Button = cmd.Down;
        ButtonPressed = ButtonPressed || cmd.Down;
        break;
    case TScriptAction::Click:
        MovePointer(cmd.X, cmd.Y);
        Button = true;
        ReleaseAt.push_back(tick + 2);
        break;
    case TScriptAction::PadConnect:
        if (Pads.count(cmd.Pad) == 0) {
            Pads[cmd.Pad].Connected = true;
            PadPlaces.Connect(cmd.Pad);
        }
        break;
    case TScriptAction::PadDisconnect:
        Pads.erase(cmd.Pad);
        PadPressed.erase(cmd.Pad);
        PadPlaces.Disconnect(cmd.Pad);
        // A pad that waited for a place takes the one set free.
        for (const auto& [number, pad] : Pads)
            if (PadPlaces.SlotOf(number) < 0) PadPlaces.Connect(number);
        break;
    case TScriptAction::PadButton:
        if (auto pad = Pads.find(cmd.Pad); pad != Pads.end()) {
            const uint32_t bit = 1u << cmd.Control;
            pad->second.Buttons = cmd.Down ? pad->second.Buttons | bit : pad->second.Buttons & ~bit;
            if (cmd.Down) PadPressed[cmd.Pad] |= bit;
        }
        break;
    case TScriptAction::PadAxis:
        if (auto pad = Pads.find(cmd.Pad); pad != Pads.end()) pad->second.Axes[cmd.Axis] = int16_t(cmd.Value);
        break;
    case TScriptAction::Shot:
        break; // taken after the flip, in AfterTick
    case TScriptAction::Close:
        Closing = true;
        break;
    }
}

void THeadlessPlatform::BeforeTick(uint64_t tick) {
    TickPollDue = ++BeforeTickCalls > 1;
    // A click's release comes first, so a command written for the same tick has the last word.
    const size_t before = ReleaseAt.size();
    ReleaseAt.erase(
        std::remove_if(ReleaseAt.begin(), ReleaseAt.end(), [tick](uint64_t t) { return t <= tick; }),
        ReleaseAt.end());
    if (ReleaseAt.size() != before) Button = false;
    for (; NextInput < Script.Commands.size() && Script.Commands[NextInput].Tick <= tick; ++NextInput)
        Apply(Script.Commands[NextInput], Script.Commands[NextInput].Tick);
}

void THeadlessPlatform::AfterTick(uint64_t tick, const Surface& display) {
    for (; NextShot < Script.Commands.size() && Script.Commands[NextShot].Tick <= tick; ++NextShot) {
        const TScriptCommand& cmd = Script.Commands[NextShot];
        if (cmd.Action != TScriptAction::Shot) continue;
        if (!display.SaveToPng(cmd.File)) {
            std::cerr << "script line " << cmd.Line << ": cannot write shot '" << cmd.File << "'\n";
            ShotFailures.push_back(cmd.File);
        }
    }
}

void THeadlessPlatform::Rumble(int pad, float strength, int ms) {
    if (pad == 0 || pad == 1) Rumbles[size_t(pad)] += double(strength) * ms;
}

void THeadlessPlatform::FeedAudio(TMixer& mixer) {
    if (mixer.OutputRate <= 0) return;
    if (mixer.OutputRate != FedRate) {
        // Count from the present moment at the new rate, so a rate change neither skips nor repeats.
        FedRate = mixer.OutputRate;
        FedFrames = Clock * uint64_t(FedRate) / 1000;
    }
    const uint64_t due = Clock * uint64_t(FedRate) / 1000;
    while (FedFrames < due) {
        const size_t n = size_t(std::min<uint64_t>(due - FedFrames, ScratchFrames));
        mixer.Mix(Scratch.data(), n);
        FedFrames += n;
    }
}
