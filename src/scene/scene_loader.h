#pragma once
#include <chipmunk/chipmunk.h>

#include <memory>

#include "scene/scene.h"

// Reads the scene file and builds everything it declares into the space. Returns nullptr
// when the file cannot be opened. Messages go to standard output.
std::unique_ptr<Scene> loadScene(const char* path, cpSpace* space);
