#pragma once
// Scenes for the benchmarks, generated as files at run time, and for the tick scenes the same
// world built straight in the physics library, shape for shape and in the same order, so that
// both step to the same states.
#include <chipmunk/chipmunk.h>

#include <string>

enum class TickScene { Pile, SquaresOnMesh, Ropes };

struct TickWorld {
  TickScene kind;
  int count;  // bodies in the pile, squares, or ropes
  int steps;  // substeps per tick
};

// Writes the scene and its meshes into `dir` (created if needed); returns the scene file.
std::string writeTickScene(const std::string& dir, const TickWorld& world);

// The scene's world built by hand into a fresh space, with its settings.
cpSpace* buildRawWorld(const TickWorld& world);

// What a tick of the scene steps: `world.steps` steps of this length.
double rawStepLength(const TickWorld& world);

// 100 static objects drawing `triangles` triangles in all, through ten different meshes.
std::string writeDrawScene(const std::string& dir, int triangles);

// An OBJ file of `triangles` coloured triangles; returns its path.
std::string writeObj(const std::string& dir, const std::string& name, int triangles);
