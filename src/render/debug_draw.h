#pragma once
// --debug: the physics as it is, drawn over the normal picture: collision shapes (moving and
// static in their own colours), pin and slide joints between their anchors, rope segments.
struct World;

void drawPhysicsDebug(const World& world);
