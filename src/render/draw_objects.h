#pragma once
#include "scene/scene.h"

void drawObjects(const Scene& scene);
void drawObject(const SceneObject& object);
void drawMesh(const Mesh* mesh);
void drawRopes(const Scene& scene);
void drawRope(const SceneRope& rope);
