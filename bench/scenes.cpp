#include "scenes.h"

#include <sys/stat.h>

#include <cmath>
#include <fstream>
#include <sstream>
#include <utility>
#include <vector>

namespace {

struct Tri {
  cpVect a, b, c;
};

// One triangle body for the pile, a square of two triangles for the mesh floor scene.
const Tri kTriangle[] = {{{-10, -8}, {10, -8}, {0, 9}}};
const Tri kSquare[] = {{{-8, -8}, {8, -8}, {8, 8}}, {{-8, -8}, {8, 8}, {-8, 8}}};
constexpr int kFloorSegments = 64;
constexpr double kFriction = 0.5, kBounce = 0.25, kFloorFriction = 0.75;

std::vector<Tri> floorTriangles() {
  std::vector<Tri> tris;
  const double w = 1024.0 / kFloorSegments;
  for (int i = 0; i < kFloorSegments; ++i) {
    const cpVect top0 = cpv(i * w, 700 + (i % 2) * 6),
                 top1 = cpv((i + 1) * w, 700 + (i + 1) % 2 * 6);
    const cpVect bottom0 = cpv(i * w, 760), bottom1 = cpv((i + 1) * w, 760);
    tris.push_back({top0, top1, bottom1});
    tris.push_back({top0, bottom1, bottom0});
  }
  return tris;
}

std::string objText(const Tri* tris, size_t n) {
  std::ostringstream out;
  for (size_t i = 0; i < n; ++i)
    for (cpVect v : {tris[i].a, tris[i].b, tris[i].c}) out << "v " << v.x << " 0 " << v.y << "\n";
  for (size_t i = 0; i < n; ++i)
    out << "f " << 3 * i + 1 << " " << 3 * i + 2 << " " << 3 * i + 3 << "\n";
  return out.str();
}

void writeFile(const std::string& path, const std::string& text) { std::ofstream(path) << text; }

// Body positions: rows of `columns` from the floor upwards, every other row shifted.
cpVect gridPoint(int i, int columns, double dx, double dy, double top) {
  return cpv(40 + (i % columns) * dx + (i / columns) % 2 * dx / 3, top - (i / columns) * dy);
}

cpVect pilePoint(int i) { return gridPoint(i, 40, 24, 22, 720); }
cpVect squarePoint(int i) { return gridPoint(i, 40, 24, 20, 670); }
cpVect ropeAnchor(int i) { return cpv(20 + i * 25, 100); }
cpVect ropeWeight(int i) { return cpvadd(ropeAnchor(i), cpv(144, 192)); }  // 240 away

char name[16];
const char* bodyName(int i) { return std::snprintf(name, sizeof name, "b%05d", i), name; }

const char* kWalls =
    "new_obj wall_floor\nobj_mass 0\nobj_col_line 0 750 1024 750 5\nobj_friction 0.75\n"
    "new_obj wall_left\nobj_mass 0\nobj_col_line 0 -2000 0 750 5\nobj_friction 0.75\n"
    "new_obj wall_right\nobj_mass 0\nobj_col_line 1024 -2000 1024 750 5\nobj_friction 0.75\n";

// What the scene reader's builder does with a collision triangle: clockwise corners.
void addTriangle(cpSpace* space, cpBody* body, Tri t, double friction, double bounce) {
  if ((t.b.x - t.a.x) * (t.c.y - t.a.y) - (t.b.y - t.a.y) * (t.c.x - t.a.x) > 0)
    std::swap(t.b, t.c);
  const cpVect corners[3] = {t.a, t.b, t.c};
  cpShape* shape = cpSpaceAddShape(space, cpPolyShapeNew(body, 3, corners, cpTransformIdentity, 0));
  cpShapeSetElasticity(shape, bounce);
  cpShapeSetFriction(shape, friction);
}

void addSegment(cpSpace* space, cpVect a, cpVect b) {
  cpShape* shape = cpSpaceAddShape(space, cpSegmentShapeNew(cpSpaceGetStaticBody(space), a, b, 5));
  cpShapeSetElasticity(shape, 0);
  cpShapeSetFriction(shape, kFloorFriction);
}

// A unit-mass body whose moment comes from its nearest collision vertex, as the builder does.
cpBody* addBody(cpSpace* space, const Tri* tris, size_t n, cpVect at) {
  float r = 999.0f;
  for (size_t i = 0; i < n; ++i)
    for (cpVect v : {tris[i].a, tris[i].b, tris[i].c})
      r = std::fmin(r, std::sqrt(static_cast<float>(v.x * v.x + v.y * v.y)));
  cpBody* body = cpSpaceAddBody(space, cpBodyNew(1.0f, cpMomentForCircle(1.0f, 0, r, cpvzero)));
  cpBodySetPosition(body, at);
  return body;
}

// What the rope builder does for a rope from a body's origin to a fixed point.
void addRope(cpSpace* space, cpBody* body_a, cpVect end) {
  const cpVect start = cpBodyLocalToWorld(body_a, cpvzero);
  const cpVect d = cpvsub(end, start);
  const float length = std::sqrt(static_cast<float>(d.x * d.x + d.y * d.y));
  const cpVect u = cpvmult(d, 1.0 / length);
  const int count = static_cast<int>(std::trunc(length / 10.0f)) + 1;
  const float seg_len = length / count;
  auto along = [&](double segments) { return cpvadd(start, cpvmult(u, segments * seg_len)); };
  const double moment = cpMomentForCircle(0.1f, 0.0, 1.0, cpvzero);
  std::vector<cpBody*> segments;
  for (int i = 0; i < count; ++i) {
    cpBody* segment = cpSpaceAddBody(space, cpBodyNew(0.1f, moment));
    cpBodySetPosition(segment, along(i + 0.5));
    cpBodySetAngle(segment, std::atan2(u.y, u.x));
    segments.push_back(segment);
  }
  for (int i = 0; i < count; ++i) {
    cpBody* previous = i == 0 ? body_a : segments[i - 1];
    cpBody* next = i == count - 1 ? cpSpaceGetStaticBody(space) : segments[i + 1];
    cpSpaceAddConstraint(space, cpPivotJointNew(segments[i], previous, along(i)));
    cpSpaceAddConstraint(space, cpPivotJointNew(segments[i], next, along(i + 1.0)));
  }
}

}  // namespace

std::string writeTickScene(const std::string& dir, const TickWorld& world) {
  mkdir(dir.c_str(), 0755);
  std::ostringstream s;
  s << "scene_fps 60\nscene_step_iterations " << world.steps
    << "\nscene_solver_iterations 10\nscene_gravity 0 500\n";
  if (world.kind == TickScene::Ropes) {
    for (int i = 0; i < world.count; ++i) {
      const cpVect w = ropeWeight(i), a = ropeAnchor(i);
      s << "new_obj " << bodyName(i) << "\nobj_pos " << w.x << " " << w.y << "\nnew_rope\n"
        << "rope_obj_a " << bodyName(i) << "\nrope_anchor_b " << a.x << " " << a.y << "\n";
    }
  } else {
    const bool pile = world.kind == TickScene::Pile;
    writeFile(dir + "/body.obj", pile ? objText(kTriangle, 1) : objText(kSquare, 2));
    for (int i = 0; i < world.count; ++i) {
      const cpVect p = pile ? pilePoint(i) : squarePoint(i);
      s << "new_obj " << bodyName(i) << "\nobj_mesh body.obj\nobj_col_mesh body.obj\nobj_pos "
        << p.x << " " << p.y << "\nobj_friction 0.5\nobj_bounciness 0.25\n";
    }
    if (!pile) {
      const std::vector<Tri> floor = floorTriangles();
      writeFile(dir + "/floor.obj", objText(floor.data(), floor.size()));
      s << "new_obj terrain\nobj_mass 0\nobj_mesh floor.obj\nobj_col_mesh floor.obj\n"
           "obj_friction 0.75\n";
    }
    s << kWalls;
  }
  writeFile(dir + "/scene.txt", s.str());
  return dir + "/scene.txt";
}

cpSpace* buildRawWorld(const TickWorld& world) {
  cpSpace* space = cpSpaceNew();
  cpSpaceSetIterations(space, 10);
  cpSpaceSetGravity(space, cpv(0, 500));
  cpSpaceSetDamping(space, 1.0f);
  if (world.kind == TickScene::Ropes) {
    std::vector<cpBody*> weights;
    for (int i = 0; i < world.count; ++i)
      weights.push_back(addBody(space, nullptr, 0, ropeWeight(i)));
    for (int i = 0; i < world.count; ++i) addRope(space, weights[i], ropeAnchor(i));
    return space;
  }
  const bool pile = world.kind == TickScene::Pile;
  const Tri* tris = pile ? kTriangle : kSquare;
  const size_t n = pile ? 1 : 2;
  for (int i = 0; i < world.count; ++i) {
    cpBody* body = addBody(space, tris, n, pile ? pilePoint(i) : squarePoint(i));
    for (size_t k = 0; k < n; ++k) addTriangle(space, body, tris[k], kFriction, kBounce);
  }
  // Objects are built in name order: "terrain" before the "wall_" lines.
  if (!pile)
    for (const Tri& t : floorTriangles())
      addTriangle(space, cpSpaceGetStaticBody(space), t, kFloorFriction, 0);
  addSegment(space, cpv(0, 750), cpv(1024, 750));
  addSegment(space, cpv(0, -2000), cpv(0, 750));
  addSegment(space, cpv(1024, -2000), cpv(1024, 750));
  return space;
}

double rawStepLength(const TickWorld& world) { return (1.0 / 60.0f) / world.steps; }

std::string writeObj(const std::string& dir, const std::string& name, int triangles) {
  // A strip of quads in rows, four materials taking turns by row.
  const int columns = std::max(1, static_cast<int>(std::sqrt(triangles / 2.0 * 4 / 3)));
  std::ostringstream s;
  s << "mtllib colors.mtl\n";
  const int quads = (triangles + 1) / 2, rows = (quads + columns - 1) / columns;
  for (int r = 0; r <= rows; ++r)
    for (int c = 0; c <= columns; ++c)
      s << "v " << -48 + 96.0 * c / columns << " 0 " << -36 + 72.0 * r / rows << "\n";
  for (int q = 0, made = 0; q < quads; ++q) {
    const int r = q / columns, c = q % columns, v = r * (columns + 1) + c + 1;
    if (c == 0) s << "usemtl m" << r % 4 << "\n";
    s << "f " << v << " " << v + 1 << " " << v + columns + 2 << "\n";
    if (++made < triangles)
      s << "f " << v << " " << v + columns + 2 << " " << v + columns + 1 << "\n";
    ++made;
  }
  writeFile(dir + "/colors.mtl",
            "newmtl m0\nKd 0.9 0.3 0.2\nnewmtl m1\nKd 0.2 0.7 0.9\nnewmtl m2\nKd 0.95 0.85 0.3\n"
            "newmtl m3\nKd 0.5 0.9 0.4\n");
  writeFile(dir + "/" + name, s.str());
  return dir + "/" + name;
}

std::string writeDrawScene(const std::string& dir, int triangles) {
  mkdir(dir.c_str(), 0755);
  std::ostringstream s;
  for (int m = 0; m < 10; ++m) writeObj(dir, "grid" + std::to_string(m) + ".obj", triangles / 100);
  for (int i = 0; i < 100; ++i)
    s << "new_obj " << bodyName(i) << "\nobj_mass 0\nobj_mesh grid" << i % 10 << ".obj\nobj_pos "
      << 60 + (i % 10) * 100 << " " << 50 + (i / 10) * 75 << "\n";
  writeFile(dir + "/scene.txt", s.str());
  return dir + "/scene.txt";
}
