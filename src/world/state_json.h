#pragma once
// Where everything in a world is, as one JSON object, for tests, scripts and authors:
// {"tick": N, "objects": [...], "joints": [...]}. Objects come in name order, joints in scene
// order; angles are degrees, spins degrees per second.
#include <string>

#include "world/world.h"

std::string stateJson(const World& world);
