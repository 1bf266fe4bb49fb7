// Flag: a player's flag with its home, motion, state and 128 pre-rendered waving frames.
#pragma once

#include "media/Surface.h"

#include <array>
#include <cstdint>
#include <string>

class TFiles;

constexpr int FlagFrameCount = 128;

class TFlag {
  public:
    float X = 0; // top of the pole, world pixels
    float Y = 0;
    float VX = 0; // at home also the wind that spreads the cloth
    float VY = 0;
    float HomeX = 0;
    float HomeY = 0;
    double WavePhase = 0;                       // 0 <= WavePhase < 8
    std::array<Surface, FlagFrameCount> Frames; // 0..63 blowing left of the pole, 64..127 right
    uint8_t State = 0;                          // 0 at home, 1 taken, 2 carried

    // Loads the flag picture and builds the frames; raises TWorldError when it cannot be read.
    void Create(const TFiles& files, const std::string& flagFile, float scale);
    void Build(const Surface& picture, float scale);
    void FlagHome();
    // The frame drawn for the current VX and WavePhase.
    int FrameIndex() const;
};

// Frame k of the waving cloth: spread and phase from |k - 63|, mirrored below 64. A picture too
// small to scale gives a 1 x 1 black frame.
Surface MakeFlagFrame(const Surface& picture, int k, float scale);
