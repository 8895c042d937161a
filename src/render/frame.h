#pragma once
// The fixed drawing state and each frame's picture.
struct Scene;
struct Scroller;

// Fixed state and the 1024 x 768 world projection (x right, y down).
void initGlState();

// Clears the frame and draws the scene into the current viewport; only the clear without a scene.
void drawScene(const Scene* scene, const Scroller& scroller);

// One frame of the current scene into the back buffer, plain or through the glow.
void drawFrame();

// The display callback: drawFrame, then the buffer swap.
void onDisplay();
