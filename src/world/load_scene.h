#pragma once
// A scene file turned into a world: read, then built.
#include <memory>

#include "scene/report.h"
#include "world/world.h"

// Reads the scene file and builds its world. When the file cannot be opened, the world is
// empty and has no scene. When diagnostics are collected, everything the files do not do as
// they appear to is reported, and so is each limit the build met; otherwise each limit met is
// a line on standard error (standard output carries only the viewer's own lines).
std::unique_ptr<World> loadWorld(const char* path, Reporter& report);
