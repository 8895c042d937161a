// Benchmarks: the tick beside the same world stepped by the bare physics library, drawing,
// reloading and mesh reading. `--smoke` runs each benchmark once at its smallest size.
#include <GL/freeglut.h>
#include <benchmark/benchmark.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "app/frame_loop.h"
#include "app/startup.h"
#include "app/state.h"
#include "render/draw_objects.h"
#include "render/frame.h"
#include "scenes.h"
#include "world/mesh.h"
#include "world/physics.h"

namespace {

std::string g_dir;  // generated scenes, removed at exit
bool g_smoke = false;
bool g_failed = false;  // a benchmark could not do its work: the run fails

void fail(benchmark::State& state, const char* why) {
  g_failed = true;
  state.SkipWithError(why);
}

double cpuSeconds(clockid_t clock = CLOCK_THREAD_CPUTIME_ID) {
  timespec t;
  clock_gettime(clock, &t);
  return t.tv_sec + t.tv_nsec * 1e-9;
}

// Scenes name their meshes relative to the working directory: the scene's own folder here.
bool load(AppState& app, const std::string& file) {
  const size_t slash = file.rfind('/');
  char previous[4096];
  if (!getcwd(previous, sizeof previous) || chdir(file.substr(0, slash).c_str()) != 0) return false;
  SilencedStdout quiet;  // the readers report on the stream the table goes to
  app.options.scene_file = file.c_str() + slash + 1;
  resetWorld(app);
  return chdir(previous) == 0 && app.worker.world()->scene;
}

const char* sceneName(TickScene kind) {
  return kind == TickScene::Pile ? "pile" : kind == TickScene::Ropes ? "ropes" : "squares";
}

// Interleaved, tick by tick, so that both see the same machine load and the same states.
void tickVersusRaw(benchmark::State& state, TickWorld world) {
  const std::string dir = g_dir + "/tick-" + sceneName(world.kind) + std::to_string(world.count) +
                          "x" + std::to_string(world.steps);
  const std::string file = writeTickScene(dir, world);
  AppState app;
  if (!load(app, file)) return fail(state, "cannot load the scene");
  cpSpace* raw = buildRawWorld(world);
  World& ours_world = *app.worker.world();
  const TickPlan plan = planTick(ours_world);
  const double raw_dt = rawStepLength(world);
  double ours = 0, theirs = 0;
  bool ours_first = true;  // taking turns, so that neither always finds the other's cache
  for (auto _ : state) {
    double t[3];
    for (int k = 0; k < 2; ++k) {
      t[k] = cpuSeconds();
      if ((k == 0) == ours_first)
        stepWorld(ours_world, plan.substeps, plan.dt);  // the viewer's tick
      else
        for (int i = 0; i < world.steps; ++i) cpSpaceStep(raw, raw_dt);
    }
    t[2] = cpuSeconds();
    const double first = t[1] - t[0], second = t[2] - t[1];
    const double mine = ours_first ? first : second;
    ours += mine, theirs += ours_first ? second : first;
    state.SetIterationTime(mine);
    ours_first = !ours_first;
  }
  // Same world, same steps: anything but the same states means the comparison is unfair.
  if (stateHash(ours_world.space) != stateHash(raw)) fail(state, "the two worlds diverged");
  state.counters["raw_ms"] = theirs * 1e3 / state.iterations();
  state.counters["ratio"] = ours / theirs;
  freeSpace(raw);
  releaseWorld(app);
}

bool openWindow() {
  static bool open = false;
  if (open) return true;
  if (!std::getenv("DISPLAY")) return false;
  int argc = 1;
  char name[] = "quillmoor_bench";
  char* argv[] = {name, nullptr};
  steadyHeap();  // as the viewer does
  glutInit(&argc, argv);
  glutInitDisplayMode(GLUT_RGB | GLUT_DOUBLE);
  glutInitWindowSize(1024, 768);
  glutCreateWindow("quillmoor_bench");
  glutDisplayFunc([] {});
  for (int i = 0; i < 10; ++i) glutMainLoopEvent();
  initGlState();
  return open = true;
}

// One frame as the display callback draws it, finished by the driver before the clock stops.
void drawFrames(benchmark::State& state, const std::string& file, int settle_ticks) {
  if (!openWindow()) return fail(state, "needs an X display");
  if (!load(g_app, file)) return fail(state, "cannot load the scene");
  World& world = *g_app.worker.world();
  const TickPlan plan = planTick(world);
  for (int i = 0; i < settle_ticks; ++i) stepSpace(world.space, plan.substeps, plan.dt);
  capturePoses(world, g_app.poses);
  // The driver renders on threads of its own: their time counts too, and is steadier than the
  // wall clock on a busy machine.
  const double start = cpuSeconds(CLOCK_PROCESS_CPUTIME_ID);
  for (auto _ : state) {
    onDisplay();
    glFinish();
  }
  state.counters["all_threads_ms"] =
      (cpuSeconds(CLOCK_PROCESS_CPUTIME_ID) - start) * 1e3 / state.iterations();
  releaseWorld(g_app);
}

void drawTriangles(benchmark::State& state) {
  drawFrames(state,
             writeDrawScene(g_dir + "/draw" + std::to_string(state.range(0)), state.range(0)), 0);
}

void drawPile(benchmark::State& state) {
  const TickWorld pile{TickScene::Pile, static_cast<int>(state.range(0)), 1};
  drawFrames(state, writeTickScene(g_dir + "/drawpile" + std::to_string(pile.count), pile), 120);
}

void reload(benchmark::State& state) {
  const std::string file =
      writeDrawScene(g_dir + "/reload" + std::to_string(state.range(0)), state.range(0));
  AppState app;
  for (auto _ : state)
    if (!load(app, file)) {
      fail(state, "cannot load the scene");
      break;
    }
  releaseWorld(app);
}

void readObj(benchmark::State& state) {
  const std::string path = writeObj(g_dir, "read.obj", state.range(0));
  struct stat info;
  stat(path.c_str(), &info);
  Reporter quiet;  // the readers report on the stream the table goes to
  quiet.print = false;
  for (auto _ : state) benchmark::DoNotOptimize(loadMesh(path, quiet));
  state.SetBytesProcessed(state.iterations() * info.st_size);
}

// In smoke runs only the first (smallest) size, once.
template <typename Fn>
void add(const std::string& name, Fn fn, std::vector<long> sizes, benchmark::TimeUnit unit) {
  if (g_smoke) sizes.resize(1);
  for (long size : sizes) {
    benchmark::internal::Benchmark* b =
        benchmark::RegisterBenchmark(name.c_str(), fn)->Arg(size)->Unit(unit);
    if (g_smoke) b->Iterations(1);
  }
}

void addTick(TickScene kind, int count, int steps) {
  const TickWorld world{kind, count, steps};
  const std::string name = std::string("tick_vs_raw/") + sceneName(kind) + "/" +
                           std::to_string(count) + "/steps:" + std::to_string(steps);
  benchmark::internal::Benchmark* b =
      benchmark::RegisterBenchmark(name.c_str(), tickVersusRaw, world)
          ->UseManualTime()
          ->Unit(benchmark::kMillisecond);
  if (g_smoke) b->Iterations(1);
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<char*> args;
  for (int i = 0; i < argc; ++i)
    if (std::strcmp(argv[i], "--smoke") == 0)
      g_smoke = true;
    else
      args.push_back(argv[i]);
  int count = static_cast<int>(args.size());
  char pattern[] = "/tmp/quillmoor-bench-XXXXXX";
  if (!mkdtemp(pattern)) return 1;
  g_dir = pattern;
  initPhysics();

  for (int steps : {1, 4})
    for (int bodies : g_smoke ? std::vector<int>{500} : std::vector<int>{500, 1000, 2000}) {
      if (g_smoke && steps == 4) break;
      addTick(TickScene::Pile, bodies, steps);
    }
  addTick(TickScene::SquaresOnMesh, g_smoke ? 40 : 1000, 1);
  addTick(TickScene::Ropes, g_smoke ? 2 : 40, 8);
  add("draw_triangles", drawTriangles, {10000, 100000}, benchmark::kMillisecond);
  add("draw_pile", drawPile, {2000}, benchmark::kMillisecond);
  add("reload", reload, {100000}, benchmark::kMillisecond);
  add("read_obj", readObj, {200000}, benchmark::kMillisecond);

  benchmark::Initialize(&count, args.data());
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  const std::string command = "rm -rf '" + g_dir + "'";
  return std::system(command.c_str()) == 0 && !g_failed ? 0 : 1;
}
