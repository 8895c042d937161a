#pragma once
// Turning declared items into bodies, shapes and joints. Each leaves out silently what it
// cannot build.
#include <chipmunk/chipmunk.h>

#include <memory>
#include <vector>

#include "scene/scene.h"
#include "world/limits.h"

// Most segments one rope is built with; a longer rope gets longer segments instead, so that
// no single line can exhaust memory (a 1024 x 768 world needs a few hundred at most).
constexpr int kMaxRopeSegments = 4096;

// Builds the objects, then the ropes, then the joints, within the limits of world/limits.h;
// returns which of them were met.
LimitsMet buildWorld(Scene& scene, std::vector<std::unique_ptr<SceneJoint>>& joints,
                     cpSpace* space);

void buildObject(Scene& scene, SceneObject& object, cpSpace* space);
void buildJoint(SceneJoint& joint, Scene& scene, cpSpace* space);
void buildRope(Scene& scene, SceneRope& rope, cpSpace* space);

// The radius behind a moving object's moment: the smallest scaled distance of a collision
// mesh vertex from the object's origin, capped at 999.
float momentRadius(const SceneObject& object);
