// Input: the keys, pointer and gamepads a platform reports at one poll, and their names.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

// The keys the game can read, whatever the keyboard layout (bound by physical position).
enum TKey : uint8_t {
    keyUp,
    keyDown,
    keyLeft,
    keyRight,
    keyReturn, // the main Return and the keypad's Enter
    keyTab,
    keySpace,
    keyEscape,
    keyBackspace,
    keyA,
    keyB,
    keyC,
    keyD,
    keyE,
    keyF,
    keyG,
    keyH,
    keyI,
    keyJ,
    keyK,
    keyL,
    keyM,
    keyN,
    keyO,
    keyP,
    keyQ,
    keyR,
    keyS,
    keyT,
    keyU,
    keyV,
    keyW,
    keyX,
    keyY,
    keyZ,
    key0,
    key1,
    key2,
    key3,
    key4,
    key5,
    key6,
    key7,
    key8,
    key9,
    keyLeftShift,
    keyRightShift,
    keyLeftCtrl,
    keyRightCtrl,
    keyLeftAlt,
    keyRightAlt,
    keyMinus,
    keyEquals,
    keyLeftBracket,
    keyRightBracket,
    keySemicolon,
    keyApostrophe,
    keyComma,
    keyPeriod,
    keySlash,
    keyBackslash,
    keyGrave,
    keyInsert,
    keyDelete,
    keyHome,
    keyEnd,
    keyPageUp,
    keyPageDown,
    keyPad0,
    keyPad1,
    keyPad2,
    keyPad3,
    keyPad4,
    keyPad5,
    keyPad6,
    keyPad7,
    keyPad8,
    keyPad9,
    keyPadPlus,
    keyPadMinus,
    keyPadMultiply,
    keyPadDivide,
    keyPadPeriod,
    KeyCount
};

// The lower-case name of a key as scripts and the controls file write it ("w", "return", "kp5").
std::string_view KeyName(TKey key);
// The key of a name, in any case; false when no key has it.
bool KeyFromName(std::string_view name, TKey& key);

// The controls of a gamepad in the common layout, buttons first, then the analog directions.
enum TPadControl : uint8_t {
    padA,
    padB,
    padX,
    padY,
    padBack,
    padGuide,
    padStart,
    padLeftStickPress,
    padRightStickPress,
    padLeftShoulder,
    padRightShoulder,
    padDpadUp,
    padDpadDown,
    padDpadLeft,
    padDpadRight,
    PadButtonCount,
    padStickLeft = PadButtonCount, // the left stick pushed past the dead zone
    padStickRight,
    padStickUp,
    padStickDown,
    padLeftTrigger, // a trigger pulled past the dead zone
    padRightTrigger,
    PadControlCount
};

enum TPadAxis : uint8_t {
    axisLeftX,
    axisLeftY,
    axisRightX,
    axisRightY,
    axisLeftTrigger,
    axisRightTrigger,
    PadAxisCount
};

// Name of a control ("a", "start", "dpleft", "stickleft", "righttrigger") and of an axis ("leftx").
std::string_view PadControlName(TPadControl control);
bool PadControlFromName(std::string_view name, TPadControl& control);
bool PadAxisFromName(std::string_view name, TPadAxis& axis);

// A stick or trigger counts as pushed beyond about a quarter of its travel, so a worn stick
// resting off centre does not turn the ship.
constexpr int PadDeadZone = 8000;

// One gamepad as the game sees it: buttons held, axes from -32768 to 32767 (triggers 0 up).
struct TPadState {
    bool Connected = false;
    uint32_t Buttons = 0; // bit n: TPadControl n, for the buttons
    std::array<int16_t, PadAxisCount> Axes{};
    // Every control held now, the analog ones past the dead zone; bit n is TPadControl n.
    uint32_t Held() const;
    bool operator==(const TPadState&) const = default;
};

// Pads are handed to player 1, then player 2, in the order they connect; a pad pulled out frees
// its place, which the next pad to connect takes.
class TPadSlots {
  public:
    // The place given to a newly connected device, or -1 when both are taken (or it has one).
    int Connect(int32_t device);
    // The place the device had, now free, or -1.
    int Disconnect(int32_t device);
    // The place of a device, or -1.
    int SlotOf(int32_t device) const;

  private:
    std::array<int32_t, 2> Devices{-1, -1};
};

// What the platform reports at a poll: keys held now (or pressed since the last poll, so a quick
// tap between two polls is still seen once), the pointer, and the pads in their places.
struct TRawInput {
    std::array<bool, KeyCount> Keys{};
    int MouseDX = 0; // movement since the last poll, in screen pixels
    int MouseDY = 0;
    bool MouseLeft = false;
    bool PointerAbsolute = false; // the pointer is at PointerX, PointerY (a windowed desktop)
    int PointerX = 0;
    int PointerY = 0;
    std::array<TPadState, 2> Pads{};
};
