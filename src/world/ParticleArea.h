// ParticleArea: one weather or life emitter of a map (rain, snow, water, ants, glue).
#pragma once

#include <cstdint>

// Filled by the map loader from a PARTICLEAREA block; every field is 0 until its key is read.
struct TParticleArea {
    uint16_t AreaX = 0;
    uint16_t AreaY = 0;
    uint16_t AreaWidth = 0;
    uint16_t AreaHeight = 0;
    float XSpeed = 0;
    float YSpeed = 0;
    float RandomXSpeed = 0;
    float RandomYSpeed = 0;
    uint8_t ParticleKind = 0; // 0 when the type word was not recognised: such an area shows nothing
    float Rate = 0;           // particles per frame at 40 frames per second
    float Accumulator = 0;    // the fraction of a particle owed from earlier frames
};

// The projectile kinds a map's PA_TYPE= can name.
constexpr uint8_t ParticleSnow = 1;
constexpr uint8_t ParticleAnt = 2;
constexpr uint8_t ParticleWater = 3;
constexpr uint8_t ParticleRain = 7;
constexpr uint8_t ParticleGlue = 23;
