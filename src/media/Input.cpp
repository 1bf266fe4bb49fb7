// Input: key bindings and polling.
#include "media/Input.h"

int TInput::StateOf(TKey key) {
    switch (key) {
    case keyUp: return isUp;
    case keyDown: return isDown;
    case keyLeft: return isLeft;
    case keyRight: return isRight;
    case keyReturn: return isButton(1);
    case keyW: return isButton(10);
    case keyS: return isButton(11);
    case keyA: return isButton(12);
    case keyD: return isButton(13);
    case keyTab: return isButton(14);
    case keySpace: return isButton(20);
    case keyEscape: return isButton(32);
    case KeyCount: break;
    }
    return -1;
}

void TInput::Poll(const TRawInput& raw) {
    TInputStates s;
    for (int k = 0; k < KeyCount; ++k)
        if (raw.Keys[size_t(k)]) s.Set(StateOf(TKey(k)), true);
    States = s;
    MouseDX = raw.MouseDX;
    MouseDY = raw.MouseDY;
    MouseLeft = raw.MouseLeft;
}
