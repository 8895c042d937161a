#include "app/mouse.h"

#include <GL/glu.h>
#include <GL/glut.h>

#include <cmath>
#include <limits>

#include "world/grab.h"
#include "world/physics.h"

cpVect mouseToWorld(int x, int y) {
  glLoadIdentity();
  GLdouble modelview[16], projection[16];
  GLint viewport[4];
  glGetDoublev(GL_MODELVIEW_MATRIX, modelview);
  glGetDoublev(GL_PROJECTION_MATRIX, projection);
  glGetIntegerv(GL_VIEWPORT, viewport);
  return unprojectMouse(x, y, glutGet(GLUT_WINDOW_HEIGHT), modelview, projection, viewport);
}

cpVect unprojectMouse(int x, int y, int window_height, const double modelview[16],
                      const double projection[16], const int viewport[4]) {
  GLdouble wx, wy, wz;
  gluUnProject(x, window_height - y, 0.0, modelview, projection, viewport, &wx, &wy, &wz);
  return cpv(wx, wy);
}

cpVect mouseImpulse(cpVect previous, cpVect point, float force, float fps) {
  const float k = force * fps;
  return cpv((point.x - previous.x) * k, (point.y - previous.y) * k);
}

bool impulseAllowed(cpVect j, float force_max) {
  const float sum = static_cast<float>(j.x * j.x + j.y * j.y);
  const float length = std::sqrt(sum);
  return length < force_max;
}

void applyMouseImpulse(cpShape* shape, cpVect, cpFloat, cpVect, void* data) {
  cpBody* body = shape ? cpShapeGetBody(shape) : nullptr;
  if (!body || !data || cpBodyGetType(body) != CP_BODY_TYPE_DYNAMIC) return;
  const auto& query = *static_cast<const MouseImpulseQuery*>(data);
  const cpVect j = query.impulse;
  // The offset in the body's own frame: the world offset turned back by the body's angle.
  const cpVect d = cpvsub(query.point, cpBodyGetPosition(body));
  const cpVect rot = cpBodyGetRotation(body);
  const cpVect r = cpv(d.x * rot.x + d.y * rot.y, d.y * rot.x - d.x * rot.y);
  const cpVect v = cpvadd(cpBodyGetVelocity(body), cpvmult(j, 1.0 / cpBodyGetMass(body)));
  const double w =
      cpBodyGetAngularVelocity(body) + (1.0 / cpBodyGetMoment(body)) * (r.x * j.y - r.y * j.x);
  // The library aborts on a non-finite velocity; such a push is dropped.
  if (!isFinite(v) || !std::isfinite(w)) return;
  cpBodySetVelocity(body, v);
  cpBodySetAngularVelocity(body, w);
}

void pushAt(AppState& app, cpVect point) {
  const World* world = app.worker.world();
  if (world && world->scene) {
    const SceneSettings& s = world->scene->settings;
    MouseImpulseQuery query{
        point, mouseImpulse(app.previous_mouse, point, s.mouse_impulse_force, world->fps)};
    // Too large a push is ignored as a whole, never clamped.
    // The library reports shapes strictly closer than the maximum distance; the smallest
    // positive one counts a point on an edge (distance 0) as inside, and nothing outside.
    const double on_edge = std::numeric_limits<double>::denorm_min();
    if (impulseAllowed(query.impulse, s.mouse_impulse_force_max))
      cpSpacePointQuery(world->space, point, on_edge, CP_SHAPE_FILTER_ALL, applyMouseImpulse,
                        &query);
  }
  app.previous_mouse = point;
}

void mouseMoved(AppState& app, cpVect point) {
  if (app.worker.busy())
    app.queued_pushes.push_back(point);  // pushed once the step is over
  else
    pushAt(app, point);
}

void onPassiveMotion(int x, int y) { mouseMoved(g_app, pointerToWorld(g_app, x, y)); }

cpVect pointerToWorld(const AppState& app, int x, int y) {
  if (!app.options.interactive) return mouseToWorld(x, y);
  return windowToWorld(app.view, x, y, glutGet(GLUT_WINDOW_WIDTH), glutGet(GLUT_WINDOW_HEIGHT));
}

void mouseButton(AppState& app, int button, bool down, int x, int y) {
  if (!app.options.interactive) return;
  const cpVect point = pointerToWorld(app, x, y);
  World* world = app.worker.world();  // waits for a step in flight
  switch (button) {
    case GLUT_LEFT_BUTTON:
      app.cursor = point;
      if (world) down ? void(grabAt(*world, point)) : releaseGrab(*world);
      break;
    case GLUT_RIGHT_BUTTON:
      app.panning = down, app.pan_x = x, app.pan_y = y;
      break;
    case 3:
    case 4:
      if (down) zoomAbout(app.view, point, button == 3 ? 1 : -1);
      break;
  }
  glutPostRedisplay();
}

void mouseDragged(AppState& app, int x, int y) {
  if (!app.options.interactive) return;
  if (app.panning) {
    panBy(app.view, x - app.pan_x, y - app.pan_y, glutGet(GLUT_WINDOW_WIDTH),
          glutGet(GLUT_WINDOW_HEIGHT));
    app.pan_x = x, app.pan_y = y;
  }
  app.cursor = pointerToWorld(app, x, y);
  glutPostRedisplay();
}

void onMouse(int button, int state, int x, int y) {
  mouseButton(g_app, button, state == GLUT_DOWN, x, y);
}

void onMotion(int x, int y) { mouseDragged(g_app, x, y); }
