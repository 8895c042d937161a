#pragma once
// A scene file turned into a world: read, then built into a space.
#include <chipmunk/chipmunk.h>

#include <memory>

#include "scene/diagnostics.h"
#include "scene/scene.h"
#include "world/limits.h"

// Reads the scene file and builds everything it declares into the space: objects in name
// order, then ropes, then joints, in declaration order. Returns nullptr when the file cannot
// be opened. Messages go to standard output; with `diag`, everything the files do not do as
// they appear to is reported there too, and the list of files opened is kept.
std::unique_ptr<Scene> loadScene(const char* path, cpSpace* space, Diagnostics* diag = nullptr);

// The build phase alone, for a scene already read, within the limits of world/limits.h. Each
// limit met is reported once: as a warning with `diag`, else as a line on standard error.
LimitsMet buildScene(Scene& scene, cpSpace* space, Diagnostics* diag = nullptr);
