#pragma once
// The workbench's panels: lines of text over the picture, in window pixels.
#include <string>
#include <vector>

enum class Corner { TopLeft, TopRight, BottomLeft };

// The lines on a dark backing in a corner of the window, in a fixed-size bitmap font.
void drawTextPanel(const std::vector<std::string>& lines, Corner corner);
