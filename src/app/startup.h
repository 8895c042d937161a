#pragma once
// Start-up, shared by the viewer and the snapshot tool; only the event loop differs.

// Stdout line-buffered, so that messages appear as they happen also in a pipe or a file.
void prepareOutput();

// glibc's heap at a fixed mmap threshold. The driver allocates and frees its working memory
// at the top of the heap every frame; with the adaptive threshold the heap then shrinks and
// grows again each time, and the page faults cost a large frame a fifth of its time.
void steadyHeap();

// The heap made steady, the window system, a double-buffered RGB window, the glow chain, the
// drawing state and the four callbacks, in that order.
void openWindow(int* argc, char** argv, int width, int height);

struct AppState;

// The library's one-time initialisation and the first reset, as the state's options ask.
void startWorld(AppState& app);

// The viewer's whole start-up up to its event loop. A help option ends the process here.
void startViewer(int* argc, char** argv);
