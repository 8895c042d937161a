#pragma once
// The scene's objects and ropes, where their bodies were when the poses were taken.
#include <memory>
#include <vector>

#include "world/world.h"

struct Pose {
  cpVect p;
  cpFloat angle;
  cpVect rot;  // the angle's cosine and sine as the body keeps them
};

struct ObjectPose {
  Pose pose;
  const Mesh* mesh;  // as the world draws it; nullptr: not drawn
  bool turned;       // a moving object; a static one is never turned, not even by 0 degrees
};

struct RopePose {
  float seg_len;
  std::vector<Pose> segments;
};

// Everything a frame draws, taken from the world once a tick while no step runs, so that a
// frame never reads a space that another thread may be stepping. The scene is shared with the
// world and never changes.
struct Poses {
  std::shared_ptr<const Scene> scene;  // nullptr: a frame of nothing but the clear
  std::vector<ObjectPose> objects;     // one for each of the scene's objects, in name order
  std::vector<RopePose> ropes;         // one for each rope
};

void capturePoses(const World& world, Poses& poses);

void drawObjects(const Poses& poses);
void drawRopes(const Poses& poses);
