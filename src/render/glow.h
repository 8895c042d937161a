#pragma once
// The glow: the scene drawn small, halved down a chain of eight textures, and all levels
// added back over black, the blurriest first.
struct Scene;
struct Scroller;

constexpr int kGlowLevels = 8;
constexpr int kGlowSize = 512;  // level k is (512 >> k) pixels square

void createGlowChain();

// The chain's scratch space is the window's lower-left 512 x 512 square; a smaller window
// has no such square, and such a window shows the plain frame instead.
bool glowFitsWindow();

void drawGlowFrame(const Scene& scene, const Scroller& scroller);

void glowCapture();
void glowDownsample();
void glowComposite(float base, float mul);
void glowRestore();
