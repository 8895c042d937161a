#include "app/inspector.h"

#include <cmath>
#include <cstdio>

#include "app/stats.h"
#include "world/builders.h"

namespace {

constexpr double kDegrees = 180.0 / 3.14159265358979323846;

std::string format(const char* pattern, double a, double b = 0.0) {
  char text[96];
  std::snprintf(text, sizeof text, pattern, a, b);
  return text;
}

const SceneObject* objectAt(const World& world, cpVect point) {
  cpPointQueryInfo info;
  cpShape* shape = cpSpacePointQueryNearest(world.space, point, 0.0, CP_SHAPE_FILTER_ALL, &info);
  return shape ? static_cast<const SceneObject*>(cpShapeGetUserData(shape)) : nullptr;
}

}  // namespace

std::vector<std::string> inspectorLines(const World& world, cpVect point) {
  const SceneObject* object = world.scene ? objectAt(world, point) : nullptr;
  if (!object) {
    const SpaceCounts counts = countSpace(world.space);
    return {"tick " + std::to_string(world.ticks),
            std::to_string(counts.bodies) + " bodies, " + std::to_string(counts.shapes) +
                " shapes, " + std::to_string(counts.constraints) + " joints"};
  }
  const cpBody* body = world.of(*object).body;
  const char* kind = object->kinematic ? "kinematic" : body ? "moving" : "static";
  std::vector<std::string> lines{
      object->name + "  (" + world.scene->path + ":" + std::to_string(object->source.line) + ")",
      kind};
  if (!body) return lines;
  const cpVect p = cpBodyGetPosition(body), v = cpBodyGetVelocity(body);
  lines.push_back(format("position %.1f, %.1f", p.x, p.y));
  lines.push_back(format("angle %.1f deg", cpBodyGetAngle(body) * kDegrees));
  lines.push_back(format("velocity %.1f, %.1f", v.x, v.y));
  lines.push_back(format("spin %.1f deg/s", cpBodyGetAngularVelocity(body) * kDegrees));
  if (!object->kinematic)
    lines.push_back(format("mass %g, moment %g", cpBodyGetMass(body), cpBodyGetMoment(body)));
  return lines;
}

std::vector<std::string> helpLines() {
  return {"space   pause / resume",
          ".       one tick while paused",
          "[ ]     half / double speed",
          "left    grab, drag, let go",
          "wheel   zoom about the cursor",
          "right   drag to pan",
          "0       the fixed view again",
          "i       inspector",
          "d       debug view",
          "h       this help",
          "r       reload    Esc  quit"};
}

std::string statusLine(const AppState& app) {
  std::string status;
  auto add = [&](const std::string& part) { status += (status.empty() ? "" : "  ") + part; };
  if (app.pace.paused) add("paused");
  if (app.pace.slow > 0) add("speed 1/" + std::to_string(1 << app.pace.slow));
  if (app.view.zoom != 1.0) add(format("zoom %.3g", app.view.zoom));
  return status;
}
