#include "process.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

Process::Process(const std::vector<std::string>& argv, const std::string& dir, bool display) {
  // Everything the child needs is made before the fork, which leaves it only system calls.
  std::vector<char*> args, env;
  for (const std::string& arg : argv) args.push_back(const_cast<char*>(arg.c_str()));
  args.push_back(nullptr);
  for (char** var = environ; *var; ++var)
    if (display || std::strncmp(*var, "DISPLAY=", 8) != 0) env.push_back(*var);
  env.push_back(nullptr);
  int out[2], err[2];
  if (pipe2(out, O_CLOEXEC) != 0 || pipe2(err, O_CLOEXEC) != 0) throw std::runtime_error("pipe");
  pid_ = fork();
  if (pid_ < 0) throw std::runtime_error("fork");
  if (pid_ == 0) {
    dup2(out[1], 1);
    dup2(err[1], 2);
    if (chdir(dir.c_str()) != 0) _exit(126);
    execvpe(args[0], args.data(), env.data());
    _exit(127);
  }
  close(out[1]);
  close(err[1]);
  out_fd_ = out[0];
  err_fd_ = err[0];
}

Process::~Process() {
  kill();
  if (out_fd_ >= 0) close(out_fd_);
  if (err_fd_ >= 0) close(err_fd_);
}

bool Process::readSome(int timeout_ms) {
  pollfd fds[2] = {{out_fd_, POLLIN, 0}, {err_fd_, POLLIN, 0}};
  if (out_fd_ < 0 && err_fd_ < 0) return false;
  if (poll(fds, 2, timeout_ms) <= 0) return false;
  std::string* sinks[2] = {&out_, &err_};
  int* owned[2] = {&out_fd_, &err_fd_};
  for (int i = 0; i < 2; ++i) {
    if (!(fds[i].revents & (POLLIN | POLLHUP | POLLERR))) continue;
    char buffer[4096];
    const ssize_t n = read(fds[i].fd, buffer, sizeof buffer);
    if (n > 0) {
      sinks[i]->append(buffer, static_cast<size_t>(n));
    } else {
      close(*owned[i]);
      *owned[i] = -1;
    }
  }
  return true;
}

void Process::pump(int timeout_ms) {
  if (!readSome(timeout_ms) && out_fd_ < 0 && err_fd_ < 0) usleep(timeout_ms * 1000);
  int wstatus = 0;
  if (exited_ || waitpid(pid_, &wstatus, WNOHANG) != pid_) return;
  exited_ = true;
  status_ = WIFEXITED(wstatus) ? WEXITSTATUS(wstatus) : -1;
  // What it wrote just before ending is still in the pipes.
  while (readSome(100)) {
  }
}

bool Process::waitUntil(const std::function<bool()>& done, double seconds) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
  while (!done()) {
    if (exited_ || std::chrono::steady_clock::now() >= deadline) return false;
    pump(20);
  }
  return true;
}

bool Process::waitForOutput(const std::string& text, int count, double seconds) {
  return waitUntil([&] { return countOf(out_, text) >= count; }, seconds);
}

bool Process::waitExit(double seconds) {
  return waitUntil([&] { return exited_; }, seconds);
}

bool Process::running() {
  pump(0);
  return !exited_;
}

void Process::kill() {
  if (pid_ <= 0 || exited_) return;
  ::kill(pid_, SIGKILL);
  waitExit(10);
}

RunResult run(const std::vector<std::string>& argv, const std::string& dir, double seconds, bool display) {
  Process process(argv, dir, display);
  RunResult result;
  result.finished = process.waitExit(seconds);
  process.kill();
  result.status = process.status();
  result.out = process.out();
  result.err = process.err();
  return result;
}

int countOf(const std::string& haystack, const std::string& needle) {
  int count = 0;
  for (size_t at = haystack.find(needle); at != std::string::npos; at = haystack.find(needle, at + 1))
    ++count;
  return count;
}

TempDir::TempDir() {
  char pattern[] = "/tmp/quillmoor-window-XXXXXX";
  if (!mkdtemp(pattern)) throw std::runtime_error("mkdtemp");
  path_ = pattern;
}

TempDir::~TempDir() {
  if (std::getenv("QUILLMOOR_KEEP_TEST_DIRS")) return;  // to look at the pictures afterwards
  std::error_code ignored;
  std::filesystem::remove_all(path_, ignored);
}

void TempDir::write(const std::string& name, const std::string& content) const {
  std::ofstream(file(name), std::ios::binary) << content;
}

std::string TempDir::read(const std::string& name) const {
  std::ostringstream content;
  content << std::ifstream(file(name), std::ios::binary).rdbuf();
  return content.str();
}
