#pragma once
// The physics library as this program uses it: one-time set-up, spaces, stepping. The only
// file that reaches into the library's private structures (the speed guard, where the public
// setters measured too dear).
#include <chipmunk/chipmunk.h>

#include <cmath>
#include <cstdio>
#include <cstdint>

// Highest solver iteration count and substep count a scene can ask for: more would only
// freeze the window for minutes per tick.
constexpr int kMaxSolverIterations = 1000;
constexpr int kMaxSubsteps = 1000;

// Fastest linear (world units per second) and angular (radians per second) speed a body
// keeps between steps. Far beyond anything a scene shows, it only stops runaway values
// (elasticity or damping above 1, extreme masses) from overflowing into the library's
// abort on a non-finite body.
constexpr double kMaxBodySpeed = 1e9;

inline bool isFinite(cpVect v) { return std::isfinite(v.x) && std::isfinite(v.y); }

// Standard output (or the stream given) goes to /dev/null while one of these lives, flushed
// on both sides.
struct SilencedStdout {
  explicit SilencedStdout(FILE* stream = stdout);
  ~SilencedStdout();
  SilencedStdout(const SilencedStdout&) = delete;
  SilencedStdout& operator=(const SilencedStdout&) = delete;
  FILE* stream;
  int saved;
};

// The library's one-time initialisation. Its debug build prints a banner on standard output
// with the first space of a process; that happens here, with standard output silenced.
void initPhysics();

cpSpace* newSpace();

// Frees the space with every body, shape and constraint in it.
void freeSpace(cpSpace* space);

// Every moving body this program makes passes through here: it keeps the body's speeds
// finite and below kMaxBodySpeed at every step.
void guardBody(cpBody* body);
// A kinematic body's speeds are its own and never integrated; only its place is held.
void guardKinematicBody(cpBody* body);

enum class ShapeKind { Circle, Segment, Polygon };
ShapeKind shapeKind(const cpShape* shape);

// FNV-1a over the bytes of every body's position, angle and velocities, in the space's order:
// two worlds with the same hash have moved the same, to the last bit.
uint64_t stateHash(cpSpace* space);

// Steps the space `substeps` times by dt; nothing happens for a count of 0 or below.
void stepSpace(cpSpace* space, int substeps, double dt);
