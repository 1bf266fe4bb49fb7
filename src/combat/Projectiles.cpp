// Projectiles: placeholder until the projectile rules land.
#include "world/World.h"

void TMap::Spawn(uint8_t, float, float, float, float) {}
void TMap::AdvanceProjectile(int, TWaveList&) {}
void TMap::Emit(TParticleArea&) {}
