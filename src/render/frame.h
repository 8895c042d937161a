#pragma once
// The fixed drawing state and each frame's picture.
struct Scroller;
struct Glow;
struct Poses;

// Fixed state and the world view's projection (x right, y down).
void initGlState();

// Clears the frame and draws the poses' scene into the current viewport; only the clear
// without a scene.
void drawScene(const Poses& poses, const Scroller& scroller);

// One frame into the back buffer, plain or through the glow when the scene asks for it.
void drawFrame(const Poses& poses, const Scroller& scroller, Glow& glow);
