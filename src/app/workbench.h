#pragma once
// The workbench's hold on time (--interactive): pause, one tick at a time, slow motion. Slow
// motion steps on fewer timer ticks with the same time step, so the world passes through
// exactly the states it passes through at full speed.

// Slowest speed: 1 / 2^kSlowest of the scene's rate.
constexpr int kSlowest = 4;

struct Pace {
  bool paused = false;
  int slow = 0;    // the speed is 1 / 2^slow
  int waited = 0;  // timer ticks since the last one that stepped
};

// Whether this timer tick steps the world.
bool stepsThisTick(Pace& pace);

// Space pauses and resumes, '[' halves the speed and ']' doubles it. Returns whether the key
// was one of these.
bool paceKey(Pace& pace, unsigned char key);
