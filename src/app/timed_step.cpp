// Apart from the worker so a build without threads can step the same way.
#include "app/stats.h"
#include "app/step_worker.h"
#include "world/physics.h"

double timedStep(World& world, int substeps, double dt) {
  const double begin = nowSeconds();
  stepWorld(world, substeps, dt);
  return (nowSeconds() - begin) * 1e3;
}
