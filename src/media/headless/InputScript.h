// InputScript: the scripted input of a headless run, read from a text file of timed commands.
#pragma once

#include "media/Input.h"

#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

// A script that cannot be read or has a bad line; the message names the line ("script line 7: ...").
class TScriptError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

enum class TScriptAction : uint8_t {
    Key,
    Mouse,
    Button,
    Click,
    Shot,
    Close,
    PadConnect,
    PadDisconnect,
    PadButton,
    PadAxis
};

struct TScriptCommand {
    uint64_t Tick = 0;
    TScriptAction Action = TScriptAction::Close;
    TKey Key = keyUp;           // Key
    bool Down = false;          // Key, Button, PadButton
    int Pad = 0;                // Pad*: the pad's number as written, any number from 1 up
    TPadControl Control = padA; // PadButton
    TPadAxis Axis = axisLeftX;  // PadAxis
    int Value = 0;              // PadAxis: -32768 to 32767
    int X = 0;                  // Mouse, Click: screen point
    int Y = 0;
    std::string File; // Shot
    int Line = 0;     // where the command was written, for messages
};

// Lines look like `TICK key NAME down|up`, `TICK mouse X Y`, `TICK button down|up`,
// `TICK click X Y`, `TICK shot FILE.png`, `TICK close`, `TICK pad N connect|disconnect`,
// `TICK pad N button NAME down|up` or `TICK pad N axis NAME VALUE`; `#` starts a comment.
struct TInputScript {
    std::vector<TScriptCommand> Commands; // by tick; commands of one tick in the order written

    static TInputScript Parse(const std::string& text);
    static TInputScript Load(const std::string& path);
};
