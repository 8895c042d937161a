#pragma once
// The scene's objects and ropes, where their bodies were when the poses were taken.
#include <vector>

#include "scene/scene.h"

struct Pose {
  cpVect p;
  cpFloat angle;
  cpVect rot;  // the angle's cosine and sine as the body keeps them
};

// Where the bodies are drawn, read once a tick, so that a frame never reads a space that
// another thread may be stepping.
struct Poses {
  std::vector<Pose> objects;             // one for each of scene.objects, in its order
  std::vector<std::vector<Pose>> ropes;  // each rope's segments
};

void capturePoses(const Scene& scene, Poses& poses);

// Poses of another scene, with other counts, draw nothing rather than read past their end.
void drawObjects(const Scene& scene, const Poses& poses);
void drawRopes(const Scene& scene, const Poses& poses);
