#pragma once
// What a physics user would want to be told about a scene: items the builders leave out or
// change, and worlds that will not behave as they look. Only with a diagnostics record.
#include <chipmunk/chipmunk.h>

#include <string>

#include "scene/diagnostics.h"
#include "scene/scene.h"

// Least physics steps per tick a rope needs not to stretch.
constexpr int kRopeSubsteps = 4;

extern const char* const kNoSegmentCount;

// "<item> is left out: <why>" and "<item>: <what>", at the line that set `keyword` for the
// item ("": its declaration).
void leftOut(Diagnostics* diag, const SceneObject* object, const char* keyword,
             const std::string& why);
void leftOut(Diagnostics* diag, const SceneJoint* joint, const char* keyword,
             const std::string& why);
void leftOut(Diagnostics* diag, const SceneRope* rope, const char* keyword, const std::string& why);
void replaced(Diagnostics* diag, const void* item, const char* keyword, const std::string& what);

// Why a joint's or rope's object gives it no body: static, or never built.
std::string notMovingText(const Diagnostics* diag, const SceneObject& object, const char* role);
std::string ropeEndsText(const Diagnostics* diag, const SceneRope& rope);

// Bounciness and friction the builder uses in place of the values given.
void reportSurfaceValues(Diagnostics* diag, const SceneObject& object, double bounciness,
                         double friction);

// Settings the viewer replaces or caps when it uses them.
void checkSettings(const Scene& scene, Diagnostics* diag);

// A joint end (before the joint is built) or a rope end (after) tied to the world at a point
// the author likely did not mean: outside the view, or near the origin rather than near the
// static object it names. Also a pin joint of length 0.
void checkJointEnds(const SceneJoint& joint, Diagnostics* diag);
void checkRopeEnds(const SceneRope& rope, Diagnostics* diag);

// Marks the shapes just built for an object with it, so later checks can name them.
void tagShapes(Scene& scene, SceneObject& object);

// The built world: shapeless moving objects, objects out of view, overlaps and frictionless
// resting contacts at the start, flat meshes, ropes with too few steps per tick.
void checkWorld(Scene& scene, cpSpace* space, Diagnostics* diag);
