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
  const SceneObject* object;
  Pose pose;
  const Mesh* mesh;  // as the world draws it; nullptr: not drawn
  bool turned;       // a body's, or a static object's start angle other than 0
};

// A joint drawn in its colour: the world points of its two anchors.
struct JointPose {
  const SceneJoint* joint;
  cpVect a, b;
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
  std::vector<JointPose> joints;       // joints given a colour, as long as they hold
};

void capturePoses(const World& world, Poses& poses);

void drawObjects(const Poses& poses);
void drawRopes(const Poses& poses);
void drawJoints(const Poses& poses);

// The world points a joint joins: its anchors as the library holds them (for a groove, the
// groove's middle and the slider), or, for joints on angles alone, the two bodies' centres.
void jointAnchors(cpConstraint* joint, cpVect& a, cpVect& b);

// A zigzag of `teeth` points across the line from a to b, `width` to each side, ends included.
std::vector<cpVect> zigzag(cpVect a, cpVect b, double width, int teeth);
