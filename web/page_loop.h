#pragma once
// How the page's front end and its GLUT stand-in share the clock.

// Whether a due timer may run now (not before a world exists).
bool timersMayRun();
// Stops or resumes the viewer's timers; held ones fire on resumption.
void setClockRunning(bool running);
// Draws the current frame at once, instead of at the next animation frame.
void drawNow();
