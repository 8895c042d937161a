#pragma once
// What a physics user would want to be told about a built world: what the build left out or
// replaced, and worlds that will not behave as they look.
#include "scene/report.h"
#include "world/world.h"

// Least physics steps per tick a rope needs not to stretch.
constexpr int kRopeSubsteps = 4;

// The world's build notes and every check, as warnings in the order the items were built,
// the settings first: ropes with too few steps per tick, flat meshes, shapeless moving objects,
// objects out of view, overlaps and frictionless resting contacts at the start.
void checkWorld(const World& world, Reporter& report);
