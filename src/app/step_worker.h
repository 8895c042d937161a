#pragma once
// The world and the one thread that steps it beside the frame. While a step runs the world is
// reachable only through here, and every way to it waits for the step first, so nothing can
// touch the space mid-step.
#include <condition_variable>
#include <memory>
#include <mutex>
#include <thread>

#include "world/world.h"

// One tick of the world, `substeps` steps of dt; returns the milliseconds it took.
double timedStep(World& world, int substeps, double dt);

class StepWorker {
 public:
  StepWorker();
  ~StepWorker();  // waits for the step in flight, ends the thread, frees the world
  StepWorker(const StepWorker&) = delete;
  StepWorker& operator=(const StepWorker&) = delete;

  // The world, once no step runs (waits for one in flight, whose time finish() still
  // returns). nullptr before the first reset.
  World* world();
  // Replaces the world, after the step in flight; the old one is freed.
  void replace(std::unique_ptr<World> world);

  // Starts stepping the world `substeps` times by dt on the worker thread.
  void start(int substeps, double dt);
  bool busy() const { return in_flight_; }
  // Waits for the step in flight. Returns its milliseconds, or a negative number when no step
  // ran since the last call.
  double finish();

 private:
  void wait();
  void run();

  std::unique_ptr<World> world_;
  // Only the owning thread reads or writes these two.
  bool in_flight_ = false;
  double uncollected_ = -1.0;  // milliseconds of a step that ended unseen by finish()
  std::mutex mutex_;
  std::condition_variable wake_, done_;
  bool job_ = false, quit_ = false;  // guarded by mutex_
  int substeps_ = 0;
  double dt_ = 0.0, ms_ = 0.0;
  std::thread thread_;  // last: started once everything it reads exists
};
