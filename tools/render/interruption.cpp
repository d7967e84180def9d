#include "tools/render/interruption.h"

#include <termios.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>

namespace render {
namespace {

constexpr std::array<int, 3> kInterruptions = {SIGINT, SIGTERM, SIGHUP};

// Read by the signal handler, so plain memory it can use without allocating;
// one pending file and one open line at a time in this tool.
std::array<char, 4096> pendingPath{};
volatile std::sig_atomic_t openLine = -1;

// A drawn progress bar leaves its line open; so does the "^C" a terminal
// echoes when Ctrl-C is pressed.
int lineToEnd(int signal) {
  if (openLine >= 0) {
    return openLine;
  }
  termios settings{};
  return signal == SIGINT && tcgetattr(STDERR_FILENO, &settings) == 0 ? STDERR_FILENO : -1;
}

void tidyUpAndExit(int signal) {
  if (pendingPath[0] != '\0') {
    unlink(pendingPath.data());
  }
  if (const int line = lineToEnd(signal); line >= 0) {
    const ssize_t written = write(line, "\n", 1);
    (void)written;
  }
  _exit(128 + signal);
}

void watchInterruptions() {
  static const bool installed = [] {
    for (const int signal : kInterruptions) {
      std::signal(signal, tidyUpAndExit);
    }
    return true;
  }();
  (void)installed;
}

}  // namespace

int createRemovedOnInterruption(std::string& pattern) {
  watchInterruptions();
  sigset_t interruptions;
  sigemptyset(&interruptions);
  for (const int signal : kInterruptions) {
    sigaddset(&interruptions, signal);
  }
  sigset_t previous;
  sigprocmask(SIG_BLOCK, &interruptions, &previous);
  const int fd = mkstemp(pattern.data());
  const int error = errno;
  if (fd >= 0 && pattern.size() < pendingPath.size()) {
    std::memcpy(pendingPath.data(), pattern.c_str(), pattern.size() + 1);
  }
  sigprocmask(SIG_SETMASK, &previous, nullptr);
  errno = error;
  return fd;
}

void keepOnInterruption() { pendingPath[0] = '\0'; }

void endLineOnInterruption(int descriptor) {
  watchInterruptions();
  openLine = descriptor;
}

}  // namespace render
