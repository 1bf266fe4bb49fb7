// Input: key and pad names, the pads' digital view and their places.
#include "media/Input.h"

#include <cctype>

namespace {

constexpr std::array<std::string_view, KeyCount> KeyNames{
    "up",         "down",     "left",    "right",    "return",    "tab",      "space",    "escape",
    "backspace",  "a",        "b",       "c",        "d",         "e",        "f",        "g",
    "h",          "i",        "j",       "k",        "l",         "m",        "n",        "o",
    "p",          "q",        "r",       "s",        "t",         "u",        "v",        "w",
    "x",          "y",        "z",       "0",        "1",         "2",        "3",        "4",
    "5",          "6",        "7",       "8",        "9",         "lshift",   "rshift",   "lctrl",
    "rctrl",      "lalt",     "ralt",    "minus",    "equals",    "lbracket", "rbracket", "semicolon",
    "apostrophe", "comma",    "period",  "slash",    "backslash", "grave",    "insert",   "delete",
    "home",       "end",      "pageup",  "pagedown", "kp0",       "kp1",      "kp2",      "kp3",
    "kp4",        "kp5",      "kp6",     "kp7",      "kp8",       "kp9",      "kpplus",   "kpminus",
    "kpmultiply", "kpdivide", "kpperiod"};

constexpr std::array<std::string_view, PadControlCount> PadNames{
    "a",       "b",         "x",          "y",         "back",      "guide",       "start",
    "lstick",  "rstick",    "lshoulder",  "rshoulder", "dpup",      "dpdown",      "dpleft",
    "dpright", "stickleft", "stickright", "stickup",   "stickdown", "lefttrigger", "righttrigger"};

constexpr std::array<std::string_view, PadAxisCount> AxisNames{"leftx",  "lefty",       "rightx",
                                                               "righty", "lefttrigger", "righttrigger"};

bool SameName(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

template <typename T, size_t N>
bool FindName(const std::array<std::string_view, N>& names, std::string_view name, T& value) {
    for (size_t i = 0; i < N; ++i)
        if (SameName(names[i], name)) {
            value = T(i);
            return true;
        }
    return false;
}

} // namespace

std::string_view KeyName(TKey key) {
    return key < KeyCount ? KeyNames[key] : std::string_view("?");
}
bool KeyFromName(std::string_view name, TKey& key) {
    return FindName(KeyNames, name, key);
}

std::string_view PadControlName(TPadControl control) {
    return control < PadControlCount ? PadNames[control] : std::string_view("?");
}
bool PadControlFromName(std::string_view name, TPadControl& control) {
    return FindName(PadNames, name, control);
}

bool PadAxisFromName(std::string_view name, TPadAxis& axis) {
    return FindName(AxisNames, name, axis);
}

uint32_t TPadState::Held() const {
    if (!Connected) return 0;
    uint32_t held = Buttons & ((1u << PadButtonCount) - 1);
    const auto past = [&](TPadControl control, bool pushed) {
        if (pushed) held |= 1u << control;
    };
    past(padStickLeft, Axes[axisLeftX] < -PadDeadZone);
    past(padStickRight, Axes[axisLeftX] > PadDeadZone);
    past(padStickUp, Axes[axisLeftY] < -PadDeadZone);
    past(padStickDown, Axes[axisLeftY] > PadDeadZone);
    past(padLeftTrigger, Axes[axisLeftTrigger] > PadDeadZone);
    past(padRightTrigger, Axes[axisRightTrigger] > PadDeadZone);
    return held;
}

int TPadSlots::Connect(int32_t device) {
    if (SlotOf(device) >= 0) return -1;
    for (size_t s = 0; s < Devices.size(); ++s)
        if (Devices[s] < 0) {
            Devices[s] = device;
            return int(s);
        }
    return -1;
}

int TPadSlots::Disconnect(int32_t device) {
    const int slot = SlotOf(device);
    if (slot >= 0) Devices[size_t(slot)] = -1;
    return slot;
}

int TPadSlots::SlotOf(int32_t device) const {
    if (device < 0) return -1;
    for (size_t s = 0; s < Devices.size(); ++s)
        if (Devices[s] == device) return int(s);
    return -1;
}
