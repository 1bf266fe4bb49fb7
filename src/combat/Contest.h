// Contest: the small pieces that hits, collisions, deaths, bases and flags share.
#pragma once

#include "core/GameMath.h"

#include <cstdint>
#include <string>

class TWorld;
class TWaveList;
struct TProjectile;

// The mask cell under a world position, seen from a body centred at `centre`; false when the
// position is wild or the cell lies outside a mask of `size` pixels.
bool MaskCell(double position, double centre, int size, int& cell);

// Whole pixels between two points, as the positional sound wants them.
int SoundDistance(double x0, double y0, double x1, double y1);

// A sound made by ship p: 0 for its own distance, the distance between the ships for the other.
void PlayAtShip(TWorld& map, TWaveList& waves, int p, const std::string& name, int randomSuffixMax,
                int frequency, int volumePercent);
// A sound made at a point of the play field.
void PlayAtPlace(TWorld& map, TWaveList& waves, double x, double y, const std::string& name, int frequency,
                 int volumePercent);

// Spawns one record and hands back the slot it landed in, so the caller can colour it.
TProjectile& SpawnRecord(TWorld& map, uint8_t kind, double x, double y, double vx, double vy);
// Colours a freshly spawned drop of blood and gives it its weight.
void MakeBlood(TRandom& rng, TProjectile& drop);
