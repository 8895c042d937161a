#include "world/state_json.h"

#include <cmath>
#include <cstdio>

#include "world/builders.h"

namespace {

constexpr double kDegrees = 180.0 / 3.14159265358979323846;

// Shortest text that reads back as the same double; null for what JSON cannot hold.
std::string number(double value) {
  if (!std::isfinite(value)) return "null";
  char text[32];
  for (int digits = 15; digits <= 17; ++digits) {
    std::snprintf(text, sizeof text, "%.*g", digits, value);
    if (std::strtod(text, nullptr) == value) break;
  }
  return text;
}

// Length of the well-formed UTF-8 sequence at p (at most `left` bytes), 0 when there is none.
size_t utf8Length(const unsigned char* p, size_t left) {
  const size_t n = p[0] < 0x80 ? 1 : (p[0] >> 5) == 0x6 ? 2 : (p[0] >> 4) == 0xE ? 3
                                  : (p[0] >> 3) == 0x1E ? 4 : 0;
  if (n == 0 || n > left) return 0;
  for (size_t i = 1; i < n; ++i)
    if ((p[i] & 0xC0) != 0x80) return 0;
  return n;
}

// A JSON string; a byte that is not part of well-formed UTF-8 becomes U+FFFD.
std::string quoted(const std::string& text) {
  std::string out = "\"";
  const auto* p = reinterpret_cast<const unsigned char*>(text.data());
  for (size_t i = 0; i < text.size();) {
    const unsigned char c = p[i];
    const size_t n = utf8Length(p + i, text.size() - i);
    if (n == 0) {
      out += "\\ufffd", ++i;
    } else if (c == '"' || c == '\\') {
      out += '\\', out += static_cast<char>(c), ++i;
    } else if (c < 0x20) {
      char escaped[8];
      std::snprintf(escaped, sizeof escaped, "\\u%04x", c);
      out += escaped, ++i;
    } else {
      out.append(text, i, n), i += n;
    }
  }
  return out + "\"";
}

const char* kindName(JointKind kind) {
  switch (kind) {
    case JointKind::Pin: return "pin";
    case JointKind::Slide: return "slide";
    case JointKind::Pivot: return "pivot";
    case JointKind::Groove: return "groove";
    case JointKind::Spring: return "spring";
    case JointKind::RotarySpring: return "rotary_spring";
    case JointKind::RotaryLimit: return "rotary_limit";
    case JointKind::Ratchet: return "ratchet";
    case JointKind::Gear: return "gear";
    case JointKind::Motor: return "motor";
  }
  return "";
}

}  // namespace

std::string stateJson(const World& world) {
  std::string out = "{\"tick\": " + std::to_string(world.ticks) + ", \"objects\": [";
  const Scene* scene = world.scene.get();
  const char* separator = "";
  if (scene)
    for (const auto& [name, object] : scene->objects) {
      const cpBody* body = world.of(*object).body;
      const char* kind = object->kinematic ? "kinematic" : isMoving(*object) ? "moving" : "static";
      // An object without a body stays as declared.
      const cpVect p = body ? cpBodyGetPosition(body) : object->pos;
      const cpVect v = body ? cpBodyGetVelocity(body) : cpvzero;
      const double angle = body ? cpBodyGetAngle(body) * kDegrees : object->angle;
      const double spin = body ? cpBodyGetAngularVelocity(body) * kDegrees : 0.0;
      out += separator + std::string("\n  {\"name\": ") + quoted(name) + ", \"kind\": \"" + kind +
             "\", \"x\": " + number(p.x) + ", \"y\": " + number(p.y) + ", \"angle\": " +
             number(angle) + ", \"vx\": " + number(v.x) + ", \"vy\": " + number(v.y) +
             ", \"spin\": " + number(spin) + "}";
      separator = ",";
    }
  out += "],\n \"joints\": [";
  separator = "";
  if (scene)
    for (size_t i = 0; i < scene->joints.size(); ++i) {
      const SceneJoint& joint = *scene->joints[i];
      out += separator + std::string("\n  {\"line\": ") + std::to_string(joint.source.line) +
             ", \"kind\": \"" + kindName(joint.kind) +
             "\", \"broken\": " + (world.joints[i].broken ? "true" : "false") + "}";
      separator = ",";
    }
  return out + "]}\n";
}
