#include "process.h"

#include <fcntl.h>
#include <png.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>

Background::Background(std::vector<std::string> argv) {
  static int started = 0;
  files = "process-" + std::to_string(++started);
  std::vector<char*> args;
  for (std::string& arg : argv) args.push_back(arg.data());
  args.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 1, (files + ".out").c_str(),
                                   O_WRONLY | O_CREAT | O_TRUNC, 0644);
  posix_spawn_file_actions_addopen(&actions, 2, (files + ".err").c_str(),
                                   O_WRONLY | O_CREAT | O_TRUNC, 0644);
  if (posix_spawnp(&pid, args[0], &actions, nullptr, args.data(), environ) != 0)
    exited = true, status = 127;
  posix_spawn_file_actions_destroy(&actions);
}

Background::~Background() {
  if (running()) kill(pid, SIGKILL), waitpid(pid, nullptr, 0);
}

bool Background::running() {
  int wstatus = 0;
  if (!exited && waitpid(pid, &wstatus, WNOHANG) == pid)
    exited = true, status = WIFEXITED(wstatus) ? WEXITSTATUS(wstatus) : -1;
  return !exited;
}

RunResult run(std::vector<std::string> argv, bool display) {
  if (!display) argv.insert(argv.begin(), {"env", "-u", "DISPLAY"});
  Background child(argv);
  child.waitExit(20);
  return {child.status, child.out(), child.err()};
}

TempDir::TempDir() {
  char pattern[] = "/tmp/quillmoor-window-XXXXXX";
  std::filesystem::current_path(path =
                                    mkdtemp(pattern) ? pattern : "");  // throws when there is none
  for (std::string paint : {"red 1 0 0", "green 0 1 0", "blue 0 0 1", "grey 0.3 0.3 0.3"}) {
    const std::string name = paint.substr(0, paint.find(' '));
    writeFile(name + ".mtl", "newmtl paint\nKd" + paint.substr(name.size()) + "\n");
    writeFile(name + ".obj",
              "mtllib " + name +
                  ".mtl\nusemtl paint\nv -50 0 -50\nv 50 0 -50\nv 50 0 50\nv -50 0 50\n"
                  "f 1 2 3 4\n");
  }
}

Image readPng(const std::string& path) {
  png_image png{};
  png.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_file(&png, path.c_str())) return {};
  png.format = PNG_FORMAT_RGB;
  std::vector<unsigned char> rgb(PNG_IMAGE_SIZE(png));
  if (!png_image_finish_read(&png, nullptr, rgb.data(), 0, nullptr))
    return {};  // it frees png either way
  return {static_cast<int>(png.width), static_cast<int>(png.height), std::move(rgb)};
}
