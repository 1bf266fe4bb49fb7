// FuzzPicture: any bytes as a picture file, under the most generous limit a role has (a map layer).
#include "media/Surface.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    Surface s;
    if (s.LoadFromMemory(data, size, MapLayerLimit)) {
        // A loaded picture is whole: its pixels match its size, and it encodes and reads back alike.
        if (s.Pixels.size() != size_t(s.Width) * size_t(s.Height)) __builtin_trap();
        const std::vector<uint8_t> again = s.EncodeBmp();
        Surface back;
        if (!back.LoadFromMemory(again.data(), again.size(), MapLayerLimit) || back.Pixels != s.Pixels)
            __builtin_trap();
    }
    return 0;
}
