#include <gtest/gtest.h>

#include "world/physics.h"

int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  // Before any test makes a space, so the library's banner never reaches captured output.
  initPhysics();
  return RUN_ALL_TESTS();
}
