// The keywords for start state, kinematic objects, circles, moments, groups and the library's
// joints, held against the physics they stand for rather than against the code that builds them.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <functional>
#include <memory>

#include "test_support.h"
#include "world/load_scene.h"
#include "world/physics.h"

namespace {

constexpr double kPi = 3.14159265358979323846, kDeg = kPi / 180.0;

class Language : public testing::Test {
 protected:
  Language() { initPhysics(); }  // before any space, so its banner never reaches stdout
  // Builds the scene text, printf-filled; any diagnostic means a line was not taken as meant.
  template <typename... Values>
  void load(const char* text, Values... values) {
    char filled[4096];
    std::snprintf(filled, sizeof filled, text, values...);
    writeFile("scene.txt", filled);
    Reporter report;
    report.print = false, report.collect = true;
    world_ = loadWorld("scene.txt", report);
    for (const Diagnostic& d : report.diagnostics)
      ADD_FAILURE() << "line " << d.place.line << ": " << d.text;
  }
  cpBody* body(const char* name) { return world_->of(*world_->scene->objects.at(name)).body; }
  // Ticks as the viewer steps them, for `seconds`; watch(t) after each.
  void run(double seconds, const std::function<void(double)>& watch = {}) {
    const double tick = 1.0 / world_->fps;
    for (int i = 1; i <= std::lround(seconds / tick); ++i)
      if (stepWorld(*world_, world_->substeps, tick / world_->substeps); watch) watch(i * tick);
  }
  // Mean period of a signal sampled once a tick, from its upward zero crossings (interpolated).
  double period(double seconds, const std::function<double()>& signal) {
    std::vector<double> ups;
    double before = signal(), last_t = 0.0;
    run(seconds, [&](double t) {
      const double now = signal();
      if (before < 0.0 && now >= 0.0)
        ups.push_back(last_t + (t - last_t) * before / (before - now));
      before = now, last_t = t;
    });
    return ups.size() < 3 ? NAN : (ups.back() - ups.front()) / (ups.size() - 1);
  }
  Scratch scratch_;
  std::unique_ptr<World> world_;
};

#define DROP "scene_gravity 0 500\nscene_step_iterations 4\n"

TEST_F(Language, StartVelocityAngleAndSpinCarryOnUnchangedInFreeSpace) {
  for (const char* kind : {"obj_mass 3", "obj_kinematic 1"}) {
    load(
        "new_obj b\nobj_col_circle 0 0 10\nobj_pos 100 200\nobj_velocity 120 -80\n"
        "obj_angle 30\nobj_spin -90\n%s\n",
        kind);
    EXPECT_NEAR(cpBodyGetAngle(body("b")), 30 * kDeg, 1e-6) << kind;
    run(2.0);
    const cpVect p = cpBodyGetPosition(body("b"));
    EXPECT_NEAR(p.x - 100, 240, 240 * 0.005) << kind;
    EXPECT_NEAR(p.y - 200, -160, 160 * 0.005) << kind;
    EXPECT_NEAR(cpBodyGetAngle(body("b")), (30 - 180) * kDeg, 150 * kDeg * 0.005) << kind;
  }
}

TEST_F(Language, KinematicPlatformCarriesALoadAndKeepsItsPace) {
  load(DROP
       "new_obj platform\nobj_kinematic 1\nobj_pos 300 500\nobj_velocity 60 0\n"
       "obj_col_line -150 0 150 0 10\nobj_friction 1\n"
       "new_obj load\nobj_mass 5\nobj_pos 300 470\nobj_col_line -20 0 20 0 20\nobj_friction 1\n");
  cpBody* platform = body("platform");
  double drift = 0;  // from its own straight path: neither the load's weight nor gravity moves it
  run(3.0, [&](double t) {
    const cpVect p = cpBodyGetPosition(platform), v = cpBodyGetVelocity(platform);
    drift = std::max({drift, std::fabs(p.x - 300 - 60 * t), std::fabs(p.y - 500),
                      std::fabs(v.x - 60), std::fabs(v.y), std::fabs(cpBodyGetAngle(platform))});
  });
  EXPECT_LT(drift, 1e-6);
  const cpVect p = cpBodyGetPosition(body("load")), v = cpBodyGetVelocity(body("load"));
  EXPECT_NEAR(v.x, 60, 0.6);   // friction has brought it to the platform's pace
  EXPECT_NEAR(p.y, 470, 1.0);  // still resting on top
  EXPECT_GT(p.x - 300, 0.8 * 180);
}

TEST_F(Language, MassOnASpringOscillatesWithTwoPiRootMOverK) {
  struct Row {
    double mass, stiffness;
    const char* start;  // rest at x 600, or, without a rest length, where it starts (x 620)
    double centre;
  } rows[] = {{2, 50, "obj_pos 620 400\njoint_rest_length 100\n", 600},
              {0.5, 200, "obj_pos 620 400\nobj_velocity 40 0\n", 620}};
  for (const Row& r : rows) {
    load(
        "scene_step_iterations 4\nnew_obj m\nobj_col_circle 0 0 5\nobj_moment 1\nobj_mass %g\n"
        "new_joint_spring\njoint_obj_a m\njoint_anchor_b 500 400\njoint_stiffness %g\n%s",
        r.mass, r.stiffness, r.start);
    const double want = 2 * kPi * std::sqrt(r.mass / r.stiffness);
    const double got = period(6 * want, [&] { return cpBodyGetPosition(body("m")).x - r.centre; });
    EXPECT_NEAR(got, want, 0.02 * want) << r.mass << " on " << r.stiffness;
  }
}

TEST_F(Language, PendulumOnAPivotSwingsWithTwoPiRootLOverG) {
  const double length = 200, g = 500, m = 1, radius = 5, start = 5 * kDeg;
  load(DROP
       "new_obj bob\nobj_col_circle 0 0 5\nobj_moment auto\nobj_pos %f %f\n"
       "new_joint_pivot\njoint_obj_a bob\njoint_pivot 500 100\n",
       500 + length * std::sin(start), 100 + length * std::cos(start));
  // A physical pendulum: the disc's own moment adds to m L^2 about the pivot.
  const double inertia = m * radius * radius / 2 + m * length * length;
  const double want = 2 * kPi * std::sqrt(inertia / (m * g * length));
  const double got = period(3.2 * want, [&] { return cpBodyGetPosition(body("bob")).x - 500; });
  EXPECT_NEAR(got, want, 0.02 * want);
}

TEST_F(Language, MotorHoldsItsRateOnlyWhileTheLoadNeedsLessThanItsMaxForce) {
  // A rod of mass 2 hinged at one end, 100 from its centre, lifted from level at 30 deg/s:
  // gravity's torque there is m g L = 1e5, and less as it rises.
  for (const double factor : {1.05, 0.95}) {
    load(DROP
         "new_obj arm\nobj_mass 2\nobj_col_line -100 0 100 0 5\nobj_moment auto\n"
         "obj_pos 600 300\nobj_spin -30\nobj_velocity 0 %f\n"  // w x r: already at the rate
         "new_joint_pivot\njoint_obj_a arm\njoint_pivot 500 300\n"
         "new_joint_motor\njoint_obj_b arm\njoint_rate -30\njoint_max_force %f\n",
         -30 * kDeg * 100, factor * 1e5);
    double worst = 0;  // relative
    run(2.0, [&](double) {
      worst = std::max(worst, std::fabs(cpBodyGetAngularVelocity(body("arm")) / (-30 * kDeg) - 1));
    });
    if (factor > 1)
      EXPECT_LT(worst, 0.01);
    else
      EXPECT_GT(worst, 0.1) << "too weak a motor kept its rate";
  }
}

TEST_F(Language, RotaryJointsHoldTheSecondEndsAngleAgainstTheFirst) {
  const std::string motor = "new_joint_motor\njoint_obj_b flap\njoint_max_force 1e6\njoint_rate ";
  struct Row {
    std::string joints;
    double want;  // degrees, after two seconds
  } rows[] = {
      {"new_joint_rotary_spring\njoint_obj_b flap\njoint_rest_angle 30\njoint_stiffness "
       "1e6\njoint_damping 1000\n",
       30},
      {"new_joint_rotary_limit\njoint_obj_b flap\njoint_angle_min 10\njoint_angle_max 20\n" +
           (motor + "90\n"),
       20},
      {"new_joint_rotary_limit\njoint_obj_b flap\njoint_angle_min -20\njoint_angle_max -10\n" +
           (motor + "-90\n"),
       -20},
      {"new_joint_ratchet\njoint_obj_b flap\njoint_ratchet 45\n" + (motor + "-90\n"),
       0},  // turns one way only
      {"new_joint_ratchet\njoint_obj_b flap\njoint_ratchet 45\n" + (motor + "90\n"), 180}};
  for (const Row& r : rows) {
    load(
        "new_obj flap\nobj_pos 500 300\nobj_col_circle 0 0 20\nobj_moment auto\n"
        "new_joint_pivot\njoint_obj_b flap\njoint_pivot 500 300\n%s",
        r.joints.c_str());
    run(2.0);
    EXPECT_NEAR(cpBodyGetAngle(body("flap")) / kDeg, r.want, 2.0) << r.joints;
  }
}

TEST_F(Language, GearTurnsTheFirstWheelRatioTimesTheSecond) {
  for (const double ratio : {2.0, -0.5}) {
    load(
        "scene_step_iterations 4\n"
        "new_obj a\nobj_pos 300 300\nobj_col_circle 0 0 50\nobj_moment auto\n"
        "new_obj b\nobj_pos 500 300\nobj_col_circle 0 0 25\nobj_moment auto\n"
        "new_joint_pivot\njoint_obj_a a\njoint_pivot 300 300\n"
        "new_joint_pivot\njoint_obj_a b\njoint_pivot 500 300\n"
        "new_joint_motor\njoint_obj_b a\njoint_rate 90\n"
        "new_joint_gear\njoint_obj_a a\njoint_obj_b b\njoint_ratio %g\n",
        ratio);
    run(2.0);  // the library holds b's angle times the ratio at a's (plus the phase)
    const double a = cpBodyGetAngle(body("a")), b = cpBodyGetAngle(body("b"));
    EXPECT_NEAR(a, kPi, 0.01 * kPi) << ratio;  // the motor's 90 deg/s
    EXPECT_NEAR(b, a / ratio, 0.01 * std::fabs(a / ratio)) << ratio;
  }
}

TEST_F(Language, OneGroupPassesThroughItselfAndHitsOthers) {
  for (const char* other : {"obj_group h\n", ""}) {
    load(
        "new_obj a\nobj_col_circle 0 0 20\nobj_pos 100 300\nobj_velocity 200 0\n"
        "obj_group g\nnew_obj b\nobj_col_circle 0 0 20\nobj_pos 250 300\nobj_group g\n"
        "new_obj c\nobj_col_circle 0 0 20\nobj_pos 500 300\n%s",
        other);
    run(3.0);
    EXPECT_EQ(cpBodyGetVelocity(body("b")).x, 0) << "b was hit by its own group";
    // A plastic hit between equal masses shares the momentum: both go on at half the speed.
    EXPECT_NEAR(cpBodyGetVelocity(body("c")).x, 100, 2) << other;
    EXPECT_NEAR(cpBodyGetVelocity(body("a")).x, 100, 2) << other;
  }
}

TEST_F(Language, GrooveHoldsItsLineAndJoinedObjectsCollideUnlessToldNot) {
  // A slider thrown along a level groove on the world, under gravity: it keeps to the line and
  // stops at the groove's end.
  load(DROP
       "new_obj s\nobj_col_circle 0 0 5\nobj_pos 300 300\nobj_velocity 300 0\n"
       "new_joint_groove\njoint_obj_b s\njoint_groove_a 200 300\njoint_groove_b 500 300\n");
  run(2.0);
  EXPECT_NEAR(cpBodyGetPosition(body("s")).y, 300, 0.5);
  EXPECT_NEAR(cpBodyGetPosition(body("s")).x, 500, 0.5);
  // Two discs on a slide joint thrown at each other: they meet and stop short unless the
  // joint lets them pass through each other.
  for (const char* collide : {"1", "0"}) {
    load(
        "new_obj a\nobj_col_circle 0 0 20\nobj_pos 400 300\nobj_velocity 100 0\nnew_obj b\n"
        "obj_col_circle 0 0 20\nobj_pos 600 300\nobj_velocity -100 0\nnew_joint_slide\n"
        "joint_obj_a a\njoint_obj_b b\njoint_slide_max 300\njoint_collide %s\n",
        collide);
    run(1.5);
    const bool passed = cpBodyGetPosition(body("a")).x > cpBodyGetPosition(body("b")).x;
    EXPECT_EQ(passed, *collide == '0');
  }
}

TEST_F(Language, JointBreaksWhenItsForcePassesTheBreakForceAndNotBefore) {
  // 2 units of mass under 500 of gravity pull with 1000.
  const char* kinds[] = {"new_joint_pivot\njoint_pivot 500 400\n",
                         "new_joint_pin\njoint_anchor_b 500 300\n"};
  for (const char* kind : kinds)
    for (const double force : {1020.0, 980.0}) {
      load(DROP
           "new_obj m\nobj_mass 2\nobj_moment 100\nobj_col_circle 0 0 5\nobj_pos 500 400\n"
           "%sjoint_obj_a m\njoint_break_force %f\n",
           kind, force);
      run(1.0);
      const bool breaks = force < 1000;
      EXPECT_EQ(world_->joints[0].broken, breaks) << kind << force;
      EXPECT_EQ(cpBodyGetPosition(body("m")).y > 600, breaks) << kind << force;
    }
}

TEST_F(Language, AutoMomentSpreadsTheMassOverTheCirclesAndABallRollsAsADisc) {
  struct Row {
    const char* shapes;
    double want;  // for mass 3: m r^2 / 2, plus m d^2 off the centre
  } rows[] = {
      {"obj_col_circle 0 0 10\nobj_moment auto\n", 3 * 50.0},
      {"obj_col_circle 6 8 10\nobj_moment auto\n", 3 * (50.0 + 100)},
      {"obj_col_circle -20 0 10\nobj_col_circle 20 0 10\nobj_moment auto\n", 3 * (50.0 + 400)},
      {"obj_col_circle 0 0 10\nobj_moment 42\n", 42}};
  for (const Row& r : rows) {
    load("new_obj b\nobj_pos 500 300\nobj_mass 3\n%s", r.shapes);
    EXPECT_NEAR(cpBodyGetMoment(body("b")), r.want, 1e-6 * r.want) << r.shapes;
  }
  // A solid disc rolling without slipping down a slope of angle s speeds up at 2/3 g sin s.
  load(DROP
       "new_obj ramp\nobj_mass 0\nobj_col_line 100 200 900 600 5\nobj_friction 1\n"
       "new_obj ball\nobj_col_circle 0 0 20\nobj_moment auto\nobj_friction 1\n"
       "obj_pos %f %f\n",  // 25 out along the ramp's normal (1, -2) / root 5 from (300, 300)
       300 + 25 / std::sqrt(5.0), 300 - 50 / std::sqrt(5.0));
  cpBody* ball = body("ball");
  double early = 0;
  run(1.5, [&](double t) {
    if (std::lround(t * 60) == 30) early = cpvlength(cpBodyGetVelocity(ball));
  });
  const double speed = cpvlength(cpBodyGetVelocity(ball)), want = 2.0 / 3 * 500 / std::sqrt(5.0);
  EXPECT_NEAR(speed - early, want, 0.03 * want);
  EXPECT_NEAR(cpBodyGetAngularVelocity(ball), speed / 20, 0.03 * speed / 20);
}

}  // namespace
