// FuzzMap: any bytes as a map file beside small layer pictures, loaded and its particle areas run.
#include "FuzzFolder.h"

#include "world/MapLoader.h"
#include "world/World.h"
#include "world/WorldError.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const TFuzzFolder folder("map");
    folder.Put("maps/f.map", std::vector<uint8_t>(data, data + size));
    auto world = std::make_unique<TWorld>();
    try {
        world->LoadMap(folder.Files, "maps\\f.map");
    } catch (const TWorldError&) {
        return 0; // a refused map is the one way a map may fail
    }
    // The weather and life of the map for a few frames.
    for (int frame = 0; frame < 3; ++frame)
        for (TParticleArea& area : world->ParticleAreas)
            world->Emit(area);
    return 0;
}
