#pragma once
// A moving object held at a point and carried by the cursor: a pivot joint between the object
// and a handle, a body of its own that nothing but the cursor moves, with a force limit that
// grows with the object's mass, so that a held object pushes others but a wall stops it.
#include <chipmunk/chipmunk.h>

#include "world/world.h"

// Acceleration the joint may give the held object: some forty times the usual gravity.
constexpr double kGrabAcceleration = 20000.0;

// Holds the moving object under the point, if there is one; returns whether it did.
bool grabAt(World& world, cpVect point);

// Moves the handle to the cursor's point at the start of a tick of `seconds`, at the speed
// that takes it there in that time.
void moveGrab(World& world, cpVect point, double seconds);

// Lets go: the object keeps the cursor's last speed.
void releaseGrab(World& world);

bool holding(const World& world);
