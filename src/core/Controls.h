// Controls: which key and pad controls drive each player's actions, and the step that turns the
// devices of one tick into that tick's input.
#pragma once

#include "core/PlayerInput.h"
#include "media/Input.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

struct TPlayerBindings {
    std::array<TKey, ActionCount> Keys{};
    std::array<uint32_t, ActionCount> Pad{}; // bit n: TPadControl n drives the action
    bool operator==(const TPlayerBindings&) const = default;
};

struct TBindings {
    std::array<TPlayerBindings, 2> Players{};
    bool SwapPads = false; // player 1 flies with the second pad to connect, player 2 with the first

    // W A D Tab S and the arrows with Return and Down; on a pad the stick or d-pad turns, A or the
    // right trigger thrusts, X and B fire.
    static TBindings Defaults();
    // The place of the pad a player flies with.
    int PadOf(int player) const { return SwapPads ? 1 - player : player; }
    bool operator==(const TBindings&) const = default;
};

// The input of the current tick as the game keeps it.
struct TInput {
    TRawInput Devices; // as read this tick; the menus take the pointer and keys from here
    TTickInput Now;    // this tick's actions and menu keys
    TTickInput Before; // the tick before
    std::array<bool, KeyCount> KeysBefore{};
    // A key down this tick and not in the tick before, as typing reads keys.
    bool KeyPressed(TKey key) const { return key < KeyCount && Devices.Keys[key] && !KeysBefore[key]; }
    // A new tick's devices and the value the bindings make of them; Now becomes Before.
    void Take(const TRawInput& raw, const TBindings& bindings);
};

// One tick's input from the devices: each player's keys and pad, and the menu keys (Return or a
// pad's Start, space, Escape or a pad's Back).
TTickInput MapInput(const TRawInput& raw, const TBindings& bindings);

// Why a key cannot drive this player's action: it is Escape or space, which the menus need, or it
// drives an action of the other player. Null when the key may be bound.
const char* RefusedKey(const TBindings& bindings, int player, TKey key);

// The controls file: one binding a line, `player1.thrust = w`, `player2.fire1.pad = x righttrigger`,
// `pads = swapped`; `#` starts a comment. Lines that cannot be used are described in problems
// ("controls.ini line 3: unknown key 'qq'") and leave their binding at its default.
TBindings ParseControls(const std::string& text, std::vector<std::string>& problems);
std::string WriteControls(const TBindings& bindings);
