#pragma once
// Turning declared items into bodies, shapes and joints. Each leaves out silently what it
// cannot build.
#include <chipmunk/chipmunk.h>

#include "scene/diagnostics.h"
#include "scene/scene.h"
#include "world/limits.h"

// Most segments one rope is built with; a longer rope gets longer segments instead, so that
// no single line can exhaust memory (a 1024 x 768 world needs a few hundred at most).
constexpr int kMaxRopeSegments = 4096;

// With `diag`, each also reports what it leaves out or replaces, and why. Objects count their
// body and shapes against the budget of world/limits.h; what does not fit is left out.
void buildObject(Scene& scene, SceneObject& object, cpSpace* space, BuildBudget& budget,
                 Diagnostics* diag = nullptr);
void buildJoint(SceneJoint& joint, Scene& scene, cpSpace* space, Diagnostics* diag = nullptr);
void buildRope(Scene& scene, SceneRope& rope, cpSpace* space, Diagnostics* diag = nullptr);
