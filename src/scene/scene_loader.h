#pragma once
// Reads a scene file into its description; building it into a world is the world's part.
#include <memory>
#include <string>

#include "scene/report.h"
#include "scene/scene.h"

// Gives the mesh a path names, loaded at most once per scene; called at the line that names it,
// so that mesh messages appear among the scene's own.
using MeshLookup = const Mesh* (*)(Scene& scene, const std::string& path, Reporter& report);

// Reads the settings and declarations. Returns nullptr when the file cannot be opened.
std::unique_ptr<Scene> readScene(const char* path, MeshLookup getMesh, Reporter& report);
