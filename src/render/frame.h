#pragma once
// The fixed drawing state and each frame's picture.
#include "render/view.h"

struct Scroller;
struct Glow;
struct Poses;

// Fixed state and the view's projection (x right, y down).
void initGlState(const View& view = View{});

// Clears the frame and draws the poses' scene into the current viewport, as the view shows
// it, with the scroller over it in the fixed view; only the clear without a scene.
void drawScene(const Poses& poses, const Scroller& scroller, const View& view = View{});

// One frame into the back buffer, plain or through the glow when the scene asks for it.
void drawFrame(const Poses& poses, const Scroller& scroller, Glow& glow,
               const View& view = View{});
