#pragma once
// Turning declared items into bodies, shapes and joints. Each leaves out what it cannot build
// and says so, with why, in the world's notes.
#include <string>

#include "scene/report.h"
#include "scene/scene.h"
#include "world/world.h"

// Most segments one rope is built with; a longer rope gets longer segments instead, so that
// no single line can exhaust memory (a 1024 x 768 world needs a few hundred at most).
constexpr int kMaxRopeSegments = 4096;

// A positive finite mass makes a body of its own; anything else a static object (an infinite
// mass cannot move).
bool isMoving(const SceneObject& object);
// A moving or kinematic object.
bool hasBody(const SceneObject& object);

void note(World& world, const Source& source, const char* keyword, std::string text);

// The scene's settings as the world steps them: each value the library cannot take keeps its
// default, with a note.
void applySettings(World& world, const SceneSettings& settings);

// Objects count their body and shapes against the limits of world/limits.h; what does not fit
// is left out.
void buildObject(World& world, const SceneObject& object);
void buildRope(World& world, const SceneRope& rope, BuiltRope& built);
void buildJoint(World& world, const SceneJoint& joint, BuiltJoint& built);

// Why a joint's or rope's object gives it no body: static, or never built.
std::string notMovingText(const SceneObject& object, const char* role);
std::string ropeEndsText(const SceneRope& rope);
std::string endsText(const SceneObject* a, const SceneObject* b);
