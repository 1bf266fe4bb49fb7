// FuzzScript: any bytes as a headless input script.
#include "media/headless/InputScript.h"

#include <cstddef>
#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    try {
        const TInputScript script =
            TInputScript::Parse(std::string(reinterpret_cast<const char*>(data), size));
        // Commands come out in tick order.
        for (size_t i = 1; i < script.Commands.size(); ++i)
            if (script.Commands[i].Tick < script.Commands[i - 1].Tick) __builtin_trap();
    } catch (const TScriptError&) {
        // A malformed line is an error naming its line: the one way a script may fail.
    }
    return 0;
}
