#pragma once
// The one line of stroke-font text that scrolls across the view.
#include <string>

struct SceneSettings;

struct Scroller {
  std::string text;
  float x = 0.0f;      // world x where the text's baseline starts
  float width = 0.0f;  // world width of the text at the current scale
};

// Puts the text back at the view's right edge and measures it (the stroke font needs an
// initialised window system).
void measureScrollerText(Scroller& scroller, float scale);

// Draws the text and, under it, its black shadow.
void drawScroller(const Scroller& scroller, const SceneSettings& settings);
