#pragma once
// Turning declared items into bodies, shapes and joints. Each leaves out silently what it
// cannot build.
#include <chipmunk/chipmunk.h>

#include "scene/scene.h"
#include "world/limits.h"

// Most segments one rope is built with; a longer rope gets longer segments instead, so that
// no single line can exhaust memory (a 1024 x 768 world needs a few hundred at most).
constexpr int kMaxRopeSegments = 4096;

// Builds the objects, then the ropes, then the declared joints, within the limits of
// world/limits.h (the scene's step and solver counts may be lowered); returns which were met.
LimitsMet buildWithinLimits(Scene& scene, cpSpace* space);

// Counts its shapes and body against the budget; what does not fit is left out.
void buildObject(Scene& scene, SceneObject& object, cpSpace* space, BuildBudget& budget);
void buildJoint(SceneJoint& joint, Scene& scene, cpSpace* space);
void buildRope(Scene& scene, SceneRope& rope, cpSpace* space);
