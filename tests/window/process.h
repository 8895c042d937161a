#pragma once
// Child processes for the window tests: the programs under test and the X tools that drive
// them, with standard output and error captured through pipes while they run.
#include <sys/types.h>

#include <functional>
#include <string>
#include <vector>

class Process {
 public:
  // Starts argv[0] (searched in PATH) in `dir`; `display` false runs it with DISPLAY unset.
  Process(const std::vector<std::string>& argv, const std::string& dir, bool display = true);
  ~Process();  // a child still running is killed and reaped
  Process(const Process&) = delete;
  Process& operator=(const Process&) = delete;

  // Reads output until `text` has appeared `count` times on stdout; false at the deadline or
  // when the child ends first.
  bool waitForOutput(const std::string& text, int count, double seconds);
  // False when the child still runs at the deadline.
  bool waitExit(double seconds);
  bool running();
  void kill();

  const std::string& out() const { return out_; }
  const std::string& err() const { return err_; }
  int status() const { return status_; }  // exit status; -1 while running or after a signal

 private:
  bool waitUntil(const std::function<bool()>& done, double seconds);
  bool readSome(int timeout_ms);  // false when nothing arrived in time
  void pump(int timeout_ms);      // reads what has arrived and notices the exit

  pid_t pid_ = -1;
  int out_fd_ = -1, err_fd_ = -1;
  std::string out_, err_;
  int status_ = -1;
  bool exited_ = false;
};

struct RunResult {
  bool finished = false;  // false when it had to be killed at the deadline
  int status = -1;
  std::string out, err;
};

// Runs a program to its end, killing it after `seconds`.
RunResult run(const std::vector<std::string>& argv, const std::string& dir = ".",
              double seconds = 20, bool display = true);

int countOf(const std::string& haystack, const std::string& needle);

// A fresh directory under /tmp, removed with everything in it at the end.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  const std::string& path() const { return path_; }
  std::string file(const std::string& name) const { return path_ + "/" + name; }
  void write(const std::string& name, const std::string& content) const;
  std::string read(const std::string& name) const;

 private:
  std::string path_;
};
