#pragma once
// The scene's objects and ropes, where their bodies are now.
#include "scene/scene.h"

void drawObjects(const Scene& scene);
void drawRopes(const Scene& scene);
