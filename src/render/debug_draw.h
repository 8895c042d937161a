#pragma once
// --debug: the physics as it is, drawn over the normal picture: collision shapes (moving and
// static in their own colours), pin and slide joints between their anchors, the scene's other
// joints each in a picture of its kind, rope segments.
#include "render/view.h"

struct World;

void drawPhysicsDebug(const World& world, const View& view = View{});
