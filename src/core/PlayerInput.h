// PlayerInput: what both players and the front end ask for in one tick, as a small plain value.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <type_traits>

// A player's five actions.
enum TAction : uint8_t {
    actThrust,
    actLeft,  // turn counter-clockwise, walk left, weapon page row up
    actRight, // turn clockwise, walk right, weapon page row down
    actFire1, // also opens weapon page 1 at the own base
    actFire2, // also opens weapon page 2
    ActionCount
};

// The keys the menus read, whoever presses them.
enum TMenuKey : uint8_t { menuReturn, menuSpace, menuEscape, MenuKeyCount };

// One tick's input: a byte of action bits per player and a byte of menu keys. Replays store it,
// a computer pilot or a partner over the network produces it, and the match reads nothing else.
struct TTickInput {
    std::array<uint8_t, 2> Players{}; // bit n: TAction n held
    uint8_t Menu = 0;                 // bit n: TMenuKey n held

    bool Has(int player, TAction action) const {
        return player >= 0 && player < 2 && ((Players[size_t(player)] >> action) & 1u) != 0;
    }
    bool Has(TMenuKey key) const { return ((Menu >> key) & 1u) != 0; }
    void Set(int player, TAction action, bool held) {
        if (player < 0 || player >= 2) return;
        uint8_t& bits = Players[size_t(player)];
        bits = held ? uint8_t(bits | (1u << action)) : uint8_t(bits & ~(1u << action));
    }
    void Set(TMenuKey key, bool held) {
        Menu = held ? uint8_t(Menu | (1u << key)) : uint8_t(Menu & ~(1u << key));
    }
    bool operator==(const TTickInput&) const = default;
};
static_assert(std::is_trivially_copyable_v<TTickInput> && sizeof(TTickInput) == 3);

// Held now and not in the tick before.
inline bool NewlyPressed(const TTickInput& prev, const TTickInput& now, int player, TAction action) {
    return now.Has(player, action) && !prev.Has(player, action);
}
inline bool Released(const TTickInput& prev, const TTickInput& now, int player, TAction action) {
    return prev.Has(player, action) && !now.Has(player, action);
}
