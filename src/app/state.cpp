#include "app/state.h"

AppState g_app;
