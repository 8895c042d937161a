#pragma once
// The glow: the scene drawn small, halved down a chain of eight textures, and all levels
// added back over black, the blurriest first.
#include "render/view.h"

struct Scroller;
struct Poses;

constexpr int kGlowLevels = 8;
constexpr int kGlowSize = 512;  // level k is (512 >> k) pixels square

struct Glow {
  unsigned int chain[kGlowLevels] = {};  // texture names, largest level first
};

void createGlowChain(Glow& glow);

// The chain's scratch space is the window's lower-left 512 x 512 square; a smaller window
// has no such square, and such a window shows the plain frame instead.
bool glowFitsWindow();

// For a scene that asks for it: its glow_base and glow_mul weigh the levels.
void drawGlowFrame(Glow& glow, const Poses& poses, const Scroller& scroller, const View& view);
