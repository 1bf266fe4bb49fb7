// Input: the 36 logical input states, their key bindings and the mouse of one poll.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

// The keys the game reads, whatever the keyboard layout (bound by physical position).
enum TKey : uint8_t {
    keyUp,
    keyDown,
    keyLeft,
    keyRight,
    keyReturn,
    keyW,
    keyS,
    keyA,
    keyD,
    keyTab,
    keySpace,
    keyEscape,
    KeyCount
};

// State numbers: up, down, left, right, then buttons 1 to 32.
constexpr int isUp = 0;
constexpr int isDown = 1;
constexpr int isLeft = 2;
constexpr int isRight = 3;
constexpr int isButton(int n) { return 3 + n; }
constexpr int InputStateCount = 36;

// The 36-bit set of held states.
struct TInputStates {
    uint64_t Bits = 0;
    bool Has(int state) const { return state >= 0 && state < InputStateCount && ((Bits >> state) & 1u) != 0; }
    void Set(int state, bool down) {
        if (state < 0 || state >= InputStateCount) return;
        if (down)
            Bits |= uint64_t(1) << state;
        else
            Bits &= ~(uint64_t(1) << state);
    }
    bool operator==(const TInputStates&) const = default;
};

// What the platform reports at a poll: keys held now, mouse movement since the last poll.
struct TRawInput {
    std::array<bool, KeyCount> Keys{};
    int MouseDX = 0;
    int MouseDY = 0;
    bool MouseLeft = false;
};

class TInput {
  public:
    TInputStates States;
    int MouseDX = 0;
    int MouseDY = 0;
    bool MouseLeft = false;

    // The logical state a key drives: arrows to up/down/left/right, Return button 1, W S A D
    // buttons 10 to 13, Tab 14, space 20, Escape 32.
    static int StateOf(TKey key);
    void Poll(const TRawInput& raw);
};

inline bool NewlyPressed(const TInputStates& prev, const TInputStates& now, int state) {
    return now.Has(state) && !prev.Has(state);
}
inline bool Released(const TInputStates& prev, const TInputStates& now, int state) {
    return prev.Has(state) && !now.Has(state);
}
