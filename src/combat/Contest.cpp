// Contest: placeholder until hits, deaths, bases and flags land.
#include "world/World.h"

void TMap::ResolveHits(int, const std::vector<uint16_t>&, TWaveList&) {}
void TMap::ShipCollision(TWaveList&) {}
bool TMap::HandleDeath(int, TWaveList&) { return false; }
void TMap::EnemyBase(int, TWaveList&) {}
void TMap::OwnBase(int, TWaveList&) {}
void TMap::UpdateFlag(int, TWaveList&) {}
void TMap::TimeMedals(int, TWaveList&) {}
void TMap::AwardMedal(int, int, TWaveList&) {}
