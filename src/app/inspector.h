#pragma once
// What the workbench's panels say.
#include <string>
#include <vector>

#include "app/state.h"

// For the object under the point: its name, the scene line that declared it, kind, position,
// angle, velocity, spin, mass and moment; with nothing there, the tick count and what the
// space holds.
std::vector<std::string> inspectorLines(const World& world, cpVect point);

// Every key and button of the workbench.
std::vector<std::string> helpLines();

// "paused", the speed when not 1, the zoom when not 1; empty when none.
std::string statusLine(const AppState& app);
