// SdlPlatform: the window, display, keyboard, mouse, clock and audio device of a real run, on SDL2.
#pragma once

#include "media/Platform.h"

#include <memory>
#include <string>

struct TSdlOptions {
    bool Windowed = false; // a resizable window instead of the whole desktop
    int WindowWidth = 1280;
    int WindowHeight = 960;
    bool VSync = false; // present waits for the vertical retrace
};

// The platform of a normal run, or null with a one-line reason in error when no display can be opened.
// A missing audio device is not an error: the game then plays silently.
std::unique_ptr<TPlatform> CreateSdlPlatform(const TSdlOptions& options, std::string& error);
