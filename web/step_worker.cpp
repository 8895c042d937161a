// The page has no threads without cross-origin isolation: a step runs at once, where the
// desktop would hand it to its thread, and finish() returns its time.
#include "app/step_worker.h"

StepWorker::StepWorker() = default;

StepWorker::~StepWorker() = default;

World* StepWorker::world() { return world_.get(); }

void StepWorker::replace(std::unique_ptr<World> world) { world_ = std::move(world); }

void StepWorker::start(int substeps, double dt) {
  finish();
  if (world_) uncollected_ = timedStep(*world_, substeps, dt);
}

double StepWorker::finish() {
  const double ms = uncollected_;
  uncollected_ = -1.0;
  return ms;
}
