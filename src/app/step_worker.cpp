#include "app/step_worker.h"

StepWorker::StepWorker() : thread_(&StepWorker::run, this) {}

StepWorker::~StepWorker() {
  wait();
  {
    std::lock_guard<std::mutex> lock(mutex_);
    quit_ = true;
  }
  wake_.notify_one();
  thread_.join();
}

World* StepWorker::world() {
  wait();
  return world_.get();
}

void StepWorker::replace(std::unique_ptr<World> world) {
  wait();
  world_ = std::move(world);
}

void StepWorker::start(int substeps, double dt) {
  finish();
  if (!world_) return;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    substeps_ = substeps;
    dt_ = dt;
    job_ = true;
  }
  in_flight_ = true;
  wake_.notify_one();
}

void StepWorker::wait() {
  if (!in_flight_) return;
  std::unique_lock<std::mutex> lock(mutex_);
  done_.wait(lock, [this] { return !job_; });
  in_flight_ = false;
  uncollected_ = ms_;
}

double StepWorker::finish() {
  wait();
  const double ms = uncollected_;
  uncollected_ = -1.0;
  return ms;
}

void StepWorker::run() {
  std::unique_lock<std::mutex> lock(mutex_);
  for (;;) {
    wake_.wait(lock, [this] { return job_ || quit_; });
    if (quit_) return;
    // The owning thread waits in finish() before it reads or changes the world again.
    World& world = *world_;
    const int substeps = substeps_;
    const double dt = dt_;
    lock.unlock();
    const double ms = timedStep(world, substeps, dt);
    lock.lock();
    ms_ = ms;
    job_ = false;
    done_.notify_one();
  }
}
