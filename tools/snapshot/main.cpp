// Renders a scene to a PNG through the viewer's own start-up, reset, tick, input and
// drawing; only the event loop is replaced by the actions of the command line.
#include <GL/freeglut.h>

#include <cerrno>
#include <climits>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <strings.h>
#include <string>
#include <vector>

#include "app/common_options.h"
#include "app/frame_loop.h"
#include "app/mouse.h"
#include "app/startup.h"
#include "app/state.h"
#include "png_writer.h"
#include "world/state_json.h"

namespace {

const char kUsage[] =
    "usage: quillmoor-snapshot [-C DIR] [--scene FILE] [--size WxH] [--fullscreen]\n"
    "                          [--debug | --overlap] [--interactive]\n"
    "                          [--ticks N] [--move X,Y] [--key K] [--press X,Y]\n"
    "                          [--drag X,Y] [--release] [--wheel X,Y,CLICKS] [--pan DX,DY] ...\n"
    "                          --out FILE.png [--frames N [--every K]] [--state FILE]\n"
    "       quillmoor-snapshot --version\n"
    "\n"
    "Starts as the viewer does (window, drawing state, physics, first scene reset), then\n"
    "performs --ticks, --move and --key in the order given (each may repeat): N timer\n"
    "ticks without waiting (each steps, then takes the poses, as the viewer's --debug\n"
    "ticks do), one passive mouse motion at window pixel X,Y, one key press (a single\n"
    "character, esc, or space). Then draws one frame and writes it as an RGB PNG.\n"
    "\n"
    "  -C DIR         change to DIR before reading anything (scene, meshes, --out)\n"
    "  --scene FILE   scene file (default scene.txt)\n"
    "  --size WxH     window size in pixels (default 1024x768)\n"
    "  --fullscreen   as the viewer's --fullscreen: requests full screen and sets the flag\n"
    "                 the cursor rule reads; the picture keeps the --size given\n"
    "  --debug        as the viewer's --debug: collision shapes, joints and rope segments\n"
    "                 drawn over the picture\n"
    "  --overlap      tick as the viewer's timer does without --debug: each tick's step\n"
    "                 runs on the physics thread while the frame is drawn, so the bodies\n"
    "                 are drawn one tick behind (where N-1 plain ticks leave them; the\n"
    "                 scroller is not behind); mouse motions during a step act after it.\n"
    "                 Not with --debug\n"
    "  --interactive  as the viewer's --interactive: the workbench's keys act (space\n"
    "                 pauses and resumes, '.' steps one tick while paused, '[' and ']'\n"
    "                 halve and double the speed), and --ticks are paced as the viewer's\n"
    "                 timer ticks are; and the steps below act\n"
    "  --press X,Y    (with --interactive) left button down at window pixel X,Y: grabs\n"
    "                 the moving object there\n"
    "  --drag X,Y     a motion to X,Y with the button held: carries it, or pans\n"
    "  --release      left button up where the pointer last was: lets go\n"
    "  --wheel X,Y,CLICKS  mouse wheel at X,Y: zooms in (positive) or out about it\n"
    "  --pan DX,DY    a right-button drag by DX,DY pixels from the window's middle\n"
    "  --out FILE     the PNG to write (required)\n"
    "  --frames N     write N pictures instead of one, as FILE-0001.png, FILE-0002.png, ...\n"
    "                 (FILE without its .png): the first after the actions, then one\n"
    "  --every K      every K ticks (default 1)\n"
    "  --state FILE   after the run, write where every object is and which joints broke\n"
    "                 as one JSON object: {\"tick\": ticks stepped, \"objects\": [{\"name\",\n"
    "                 \"kind\" (moving, kinematic or static), \"x\", \"y\", \"angle\", \"vx\",\n"
    "                 \"vy\", \"spin\"}, ...] in name order, \"joints\": [{\"line\", \"kind\",\n"
    "                 \"broken\"}, ...] in scene order}; angles in degrees\n"
    "  --version      print the version and exit\n"
    "  -h, --help     this text\n"
    "\n"
    "Standard output carries the viewer's own messages. Exit status: 0 on success, 1 when\n"
    "there is no display or a PNG cannot be written, 2 for a malformed command line or a\n"
    "directory that cannot be entered.\n";

enum class ActionKind { Ticks, Move, Key, Press, Drag, Release, Wheel, Pan };
struct Action {
  ActionKind kind;
  int a = 0, b = 0, c = 0;
};

struct Options {
  const char* scene_file = "scene.txt";
  int width = kWorldWidth, height = kWorldHeight;
  bool fullscreen = false;
  bool debug = false;
  bool overlap = false;  // ticks through the viewer's timer, the step beside the frame
  bool interactive = false;
  const char* out = nullptr;
  const char* state = nullptr;  // JSON of the world after the run
  int frames = 0;  // 0: one picture named exactly --out
  int every = 1;
  std::vector<Action> actions;
};

[[noreturn]] void fail(int status, const char* format, ...) {
  std::fprintf(stderr, "quillmoor-snapshot: ");
  va_list args;
  va_start(args, format);
  std::vfprintf(stderr, format, args);
  va_end(args);
  std::fprintf(stderr, "\n");
  std::exit(status);
}

void onGlutError(const char* format, va_list args) {
  std::fprintf(stderr, "quillmoor-snapshot: ");
  std::vfprintf(stderr, format, args);
  std::fprintf(stderr, " (is there a display?)\n");
  std::exit(1);
}

// Reads a whole decimal integer from the start of text; false when there is none or it is out
// of range. `end` receives where reading stopped.
bool readInt(const char* text, int& value, const char*& end) {
  char* stop = nullptr;
  errno = 0;
  const long number = std::strtol(text, &stop, 10);
  end = stop;
  if (stop == text || errno == ERANGE || number < INT_MIN || number > INT_MAX) return false;
  value = static_cast<int>(number);
  return true;
}

// Reads "<int><sep><int>", or "<int>" when separator is 0, exactly; false for anything else.
bool parseInts(const char* text, char separator, int& a, int& b) {
  const char* end = nullptr;
  if (!readInt(text, a, end)) return false;
  if (separator == 0) return *end == '\0';
  return *end == separator && readInt(end + 1, b, end) && *end == '\0';
}

Options parseOptions(int argc, char** argv) {
  Options options;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "-h" || arg == "--help") {
      std::fputs(kUsage, stdout);
      std::exit(0);
    }
    if (arg == "--fullscreen") {
      options.fullscreen = true;
      continue;
    }
    if (arg == "--debug") {
      options.debug = true;
      continue;
    }
    if (arg == "--overlap") {
      options.overlap = true;
      continue;
    }
    if (arg == "--interactive") {
      options.interactive = true;
      continue;
    }
    if (arg == "--release") {
      options.actions.push_back({ActionKind::Release});
      continue;
    }
    if (i + 1 >= argc) fail(2, "%s needs a value (try --help)", arg.c_str());
    const char* value = argv[++i];
    int a = 0, b = 0;
    if (arg == "--scene") {
      options.scene_file = value;
    } else if (arg == "--out") {
      options.out = value;
    } else if (arg == "--state") {
      options.state = value;
    } else if (arg == "--size") {
      if (!parseInts(value, 'x', a, b) || a < 1 || b < 1 || a > 8192 || b > 8192)
        fail(2, "--size wants WxH with W and H from 1 to 8192, not '%s'", value);
      options.width = a;
      options.height = b;
    } else if (arg == "--ticks") {
      if (!parseInts(value, 0, a, b) || a < 0)
        fail(2, "--ticks wants a count of 0 or more, not '%s'", value);
      options.actions.push_back({ActionKind::Ticks, a});
    } else if (arg == "--move") {
      if (!parseInts(value, ',', a, b))
        fail(2, "--move wants X,Y in window pixels, not '%s'", value);
      options.actions.push_back({ActionKind::Move, a, b});
    } else if (arg == "--press" || arg == "--drag") {
      if (!parseInts(value, ',', a, b))
        fail(2, "%s wants X,Y in window pixels, not '%s'", arg.c_str(), value);
      options.actions.push_back({arg == "--press" ? ActionKind::Press : ActionKind::Drag, a, b});
    } else if (arg == "--pan") {
      if (!parseInts(value, ',', a, b)) fail(2, "--pan wants DX,DY in window pixels, not '%s'", value);
      options.actions.push_back({ActionKind::Pan, a, b});
    } else if (arg == "--wheel") {
      const char* comma = std::strrchr(value, ',');
      int clicks = 0;
      const char* end = nullptr;
      if (!comma || !parseInts(std::string(value, comma).c_str(), ',', a, b) ||
          !readInt(comma + 1, clicks, end) || *end != '\0' || clicks < -99 || clicks > 99)
        fail(2, "--wheel wants X,Y,CLICKS (clicks from -99 to 99), not '%s'", value);
      options.actions.push_back({ActionKind::Wheel, a, b, clicks});
    } else if (arg == "--frames" || arg == "--every") {
      if (!parseInts(value, 0, a, b) || a < 1 || a > 99999)
        fail(2, "%s wants a count from 1 to 99999, not '%s'", arg.c_str(), value);
      (arg == "--frames" ? options.frames : options.every) = a;
    } else if (arg == "--key") {
      if (std::strcmp(value, "esc") == 0) {
        a = 27;
      } else if (std::strcmp(value, "space") == 0) {
        a = ' ';
      } else if (std::strlen(value) == 1) {
        a = static_cast<unsigned char>(value[0]);
      } else {
        fail(2, "--key wants one character or esc, not '%s'", value);
      }
      options.actions.push_back({ActionKind::Key, a});
    } else {
      fail(2, "unknown option '%s' (try --help)", arg.c_str());
    }
  }
  if (!options.out) fail(2, "--out FILE.png is required (try --help)");
  if (options.every != 1 && options.frames == 0) fail(2, "--every needs --frames (try --help)");
  // The viewer steps before drawing under --debug, which draws from the space itself.
  if (options.overlap && options.debug)
    fail(2, "--overlap cannot go with --debug: the viewer never overlaps under --debug");
  return options;
}

// The pointer's last window position, where --release lets go.
int pointer_x = 0, pointer_y = 0;

void perform(const Action& action, bool overlap) {
  const int x = action.a, y = action.b;
  if (action.kind == ActionKind::Move || action.kind == ActionKind::Press ||
      action.kind == ActionKind::Drag || action.kind == ActionKind::Wheel)
    pointer_x = x, pointer_y = y;
  switch (action.kind) {
    case ActionKind::Ticks:
      // --overlap never meets --debug, so timerTick takes its overlapped branch.
      for (int i = 0; i < action.a; ++i) overlap ? timerTick(g_app) : pacedTick(g_app);
      break;
    case ActionKind::Move: onPassiveMotion(action.a, action.b); break;
    case ActionKind::Key: onKeyboard(static_cast<unsigned char>(action.a), 0, 0); break;
    case ActionKind::Press: onMouse(GLUT_LEFT_BUTTON, GLUT_DOWN, x, y); break;
    case ActionKind::Drag: onMotion(x, y); break;
    case ActionKind::Release: onMouse(GLUT_LEFT_BUTTON, GLUT_UP, pointer_x, pointer_y); break;
    case ActionKind::Wheel:
      for (int i = 0; i < std::abs(action.c); ++i) onMouse(action.c > 0 ? 3 : 4, GLUT_DOWN, x, y);
      break;
    case ActionKind::Pan: {  // a right-button drag from the window's middle
      const int cx = glutGet(GLUT_WINDOW_WIDTH) / 2, cy = glutGet(GLUT_WINDOW_HEIGHT) / 2;
      onMouse(GLUT_RIGHT_BUTTON, GLUT_DOWN, cx, cy);
      onMotion(cx + x, cy + y);
      onMouse(GLUT_RIGHT_BUTTON, GLUT_UP, cx + x, cy + y);
      break;
    }
  }
}

// The picture in the back buffer as RGB rows, top row first.
std::vector<unsigned char> drawAndRead(int width, int height) {
  drawCurrentFrame(g_app);
  std::vector<unsigned char> pixels(static_cast<size_t>(width) * height * 3);
  glReadBuffer(GL_BACK);
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glReadPixels(0, 0, width, height, GL_RGB, GL_UNSIGNED_BYTE, pixels.data());
  // OpenGL's first row is the bottom one; a PNG's is the top one.
  std::vector<unsigned char> rows(pixels.size());
  const size_t stride = static_cast<size_t>(width) * 3;
  for (int y = 0; y < height; ++y)
    std::memcpy(&rows[y * stride], &pixels[(height - 1 - y) * stride], stride);
  return rows;
}

// FILE-0001.png for frame 1 of --out FILE.png.
std::string frameName(const std::string& out, int frame) {
  const bool png = out.size() >= 4 && strcasecmp(out.c_str() + out.size() - 4, ".png") == 0;
  char number[16];
  std::snprintf(number, sizeof number, "-%04d.png", frame);
  return (png ? out.substr(0, out.size() - 4) : out) + number;
}

// The world's state as JSON, once no step runs.
void writeState(const char* path) {
  if (!path) return;
  const World* world = g_app.worker.world();
  const std::string json = world ? stateJson(*world) : stateJson(World());
  FILE* file = std::fopen(path, "wb");
  const bool written = file && std::fwrite(json.data(), 1, json.size(), file) == json.size();
  if (!file || std::fclose(file) != 0 || !written) fail(1, "cannot write '%s'", path);
}

}  // namespace

int main(int argc, char** argv) {
  handleCommonOptions(
      &argc, argv, "quillmoor-snapshot",
      {{"--scene", "--size", "--ticks", "--move", "--key", "--out", "--frames", "--every",
        "--state", "--press", "--drag", "--wheel", "--pan"},
       {"-h", "--help"}});
  const Options options = parseOptions(argc, argv);
  prepareOutput();
  glutInitErrorFunc(onGlutError);
  int glut_argc = 1;
  openWindow(&glut_argc, argv, options.width, options.height);
  if (options.fullscreen) glutFullScreen();
  g_app.options.scene_file = options.scene_file;
  g_app.options.fullscreen = options.fullscreen;
  g_app.options.debug = options.debug;
  g_app.options.interactive = options.interactive;
  startWorld(g_app);
  for (const Action& action : options.actions) perform(action, options.overlap);

  const int width = glutGet(GLUT_WINDOW_WIDTH), height = glutGet(GLUT_WINDOW_HEIGHT);
  if (options.frames == 0) {
    const std::vector<unsigned char> rows = drawAndRead(width, height);
    writeState(options.state);
    releaseWorld(g_app);
    if (!writePng(options.out, width, height, rows)) fail(1, "cannot write '%s'", options.out);
    return 0;
  }
  for (int frame = 1; frame <= options.frames; ++frame) {
    if (frame > 1) perform({ActionKind::Ticks, options.every}, options.overlap);
    const std::string name = frameName(options.out, frame);
    if (!writePng(name, width, height, drawAndRead(width, height)))
      fail(1, "cannot write '%s'", name.c_str());
  }
  writeState(options.state);
  releaseWorld(g_app);
  return 0;
}
