#include "app/workbench.h"

#include <algorithm>

bool stepsThisTick(Pace& pace) {
  if (pace.paused || ++pace.waited < (1 << pace.slow)) return false;
  pace.waited = 0;
  return true;
}

bool paceKey(Pace& pace, unsigned char key) {
  switch (key) {
    case ' ': pace.paused = !pace.paused; return true;
    case '[': pace.slow = std::min(pace.slow + 1, kSlowest); return true;
    case ']': pace.slow = std::max(pace.slow - 1, 0); return true;
    default: return false;
  }
}
