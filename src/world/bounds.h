#pragma once
// What a scene may ask of the physics library. The library checks only that values are
// finite; finite but huge ones overflow inside its solver and collision code and end the
// process with its debug abort (measured: a collision vertex at 1e20 aborts where 1e18 does
// not; a body scaled by 1e30 or anchored at 1e38 aborts on its first steps). The bounds
// below are far beyond anything a 1024 x 768 world shows and far inside what the library
// takes; an item with a value outside them is left out, as a non-finite one is.
#include <chipmunk/chipmunk.h>

#include <cmath>
#include <cstddef>
#include <string>

// Largest coordinate a scene can place anything at: positions, anchors, collision line ends
// and radii, mesh vertices after scaling, slide limits. A thousand times the world's size
// and twelve orders of magnitude below where collisions fail.
constexpr double kMaxCoordinate = 1e6;

// Bodies pushed or flung further out at run time are held at this coordinate. Larger than
// kMaxCoordinate so that objects falling out of a real scene take half an hour to arrive
// (at gravity 500), and still nine orders below where collisions fail.
constexpr double kMaxBodyCoordinate = 1e9;

// Largest object scale: turns a vertex at 0.1 into one at 1000.
constexpr double kMaxScale = 1e4;

// Masses of moving objects and rope segments. Each inverse mass and inverse moment stays
// below 1e9, so a contact impulse cannot overflow the speeds it changes.
constexpr double kMinMass = 1e-6;
constexpr double kMaxMass = 1e9;
constexpr double kMinMoment = 1e-9;
constexpr double kMaxMoment = 1e18;

inline bool withinCoordinate(double value) { return std::fabs(value) <= kMaxCoordinate; }
inline bool withinCoordinate(cpVect v) { return withinCoordinate(v.x) && withinCoordinate(v.y); }
inline bool withinMass(double mass) { return mass >= kMinMass && mass <= kMaxMass; }
inline bool withinMoment(double moment) { return moment >= kMinMoment && moment <= kMaxMoment; }
inline bool withinScale(double scale) { return std::fabs(scale) <= kMaxScale; }

// Why a value leaves its item out, for the checker: "<what> is not finite" or "... is out of
// bounds".
inline std::string beyondText(const char* what, bool finite) {
  return std::string(what) + (finite ? " is out of bounds" : " is not finite");
}
