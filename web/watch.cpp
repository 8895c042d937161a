// A page has no files on disk to watch: its editor reloads the scene itself.
#include "app/watch.h"

void reportReset(AppState&) {}
void prepareWatch(AppState&) {}
void armWatchTimer() {}
