#pragma once
// Reads a scene file into its records; building them into a world is the world's part.
#include <memory>
#include <string>

#include "scene/diagnostics.h"
#include "scene/scene.h"

// Gives the mesh a path names, loaded at most once per scene; called at the line that names it,
// so that mesh messages appear among the scene's own.
using MeshLookup = const Mesh* (*)(Scene& scene, const std::string& path, Diagnostics* diag);

// Reads the settings and declarations. Returns nullptr when the file cannot be opened.
// Messages go to standard output; with `diag`, every line that does not do what it appears to
// say is reported there as well.
std::unique_ptr<Scene> readScene(const char* path, MeshLookup getMesh, Diagnostics* diag = nullptr);
