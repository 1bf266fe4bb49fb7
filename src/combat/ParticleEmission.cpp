// ParticleEmission: the steady emission of a map's weather and life areas into the projectile pool.
#include "core/GameMath.h"
#include "world/World.h"

void TWorld::Emit(TParticleArea& area) {
    const double frameRate = FrameRate > 0 ? double(FrameRate) : double(DefaultFrameRate);
    area.Accumulator = float(double(area.Accumulator) + 40.0 / frameRate * double(area.Rate));
    const int64_t owed = Trunc(area.Accumulator);
    if (owed > 0) {
        // The count of one frame is a byte: 256 owed particles make none, 300 make 44.
        const int count = int(owed % 256);
        for (int i = 0; i < count; ++i) {
            const int32_t x = area.AreaX + Rng.Random(area.AreaWidth);
            const int32_t y = area.AreaY + Rng.Random(area.AreaHeight);
            const double r1 = Rng.RandomReal();
            // The tiny addition keeps a horizontal speed from being exactly 0.
            const double vx = r1 * double(area.RandomXSpeed) + double(area.XSpeed) + 0.0000001;
            const double r2 = Rng.RandomReal();
            const double vy = r2 * double(area.RandomYSpeed) + double(area.YSpeed);
            Spawn(area.ParticleKind, float(x), float(y), float(vx), float(vy));
        }
    }
    area.Accumulator = float(double(area.Accumulator) - double(Trunc(area.Accumulator)));
}
