// Flight: placeholder until ship flight lands.
#include "world/World.h"

void TMap::Thrust(int) {}
void TMap::TurnLeft(int) {}
void TMap::TurnRight(int) {}
void TMap::FollowCamera(int) {}
void TMap::CheckFeet(int) {}
void TMap::Move(int) {}
void TMap::TerrainContact(int, TWaveList&) {}
void TMap::Float(int) {}
