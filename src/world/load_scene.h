#pragma once
// A scene file turned into a world: read, then built into a space.
#include <chipmunk/chipmunk.h>

#include <memory>

#include "scene/diagnostics.h"
#include "scene/scene.h"

// Reads the scene file and builds everything it declares into the space: objects in name
// order, then ropes, then joints, in declaration order. Returns nullptr when the file cannot
// be opened. Messages go to standard output; with `diag`, everything the files do not do as
// they appear to is reported there too, and the list of files opened is kept.
std::unique_ptr<Scene> loadScene(const char* path, cpSpace* space, Diagnostics* diag = nullptr);

// The build phase alone, for a scene already read.
void buildScene(Scene& scene, cpSpace* space, Diagnostics* diag = nullptr);
