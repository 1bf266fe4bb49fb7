// CommandLine: the switches the game understands.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct TCommandLine {
    bool VSync = false;         // "-vsync": every flip waits for the vertical retrace
    bool ShowFrameRate = false; // "-fps"
    bool Windowed = false;      // "--windowed": a window instead of the whole desktop
    bool Headless = false;      // "--headless": no window, no sound, virtual clock
    bool QuickMatch = false;    // "--match": straight into a match with the current options
    bool Help = false;          // "--help"
    std::string Script;         // "--script FILE"
    int64_t Frames = -1;        // "--frames N": stop after N ticks without saving; -1 = run on
    bool HasSeed = false;
    uint32_t Seed = 0;    // "--seed N"
    std::string Home;     // "--home DIR": where Options.DAT and pilots\ live
    std::string Replay;   // "--replay FILE": watch a recorded match
    bool Verify = false;  // "--verify": with --replay, re-run the match and check it
    uint8_t Computer = 0; // "--computer 1|2|both": bit p set when the computer flies player p + 1
    // "--level easy|normal|hard": how well the computer flies
    std::string Level = "normal";
    bool Host = false;      // "--host [PORT]": wait for a partner on another machine
    std::string Join;       // "--join HOST[:PORT]": play with the partner hosting there
    bool PortGiven = false; // else the default port
    uint16_t Port = 0;      // the port of either; --host 0: a free one, which the game prints
    // "--silence-limit MS" (for tests, not in the usage): a partner silent this long is gone.
    uint32_t SilenceLimitMs = 0; // 0 = the game's 5 seconds
    std::string Error;           // set when a switch is malformed
};

// Switches compare in any letter case; parameters the game does not know are ignored. A switch
// that needs a value and has none, or a bad number, sets Error.
TCommandLine ParseCommandLine(const std::vector<std::string>& args);
std::string UsageText();
