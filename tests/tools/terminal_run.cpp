#include "tests/tools/terminal_run.h"

#include <poll.h>
#include <pty.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>

extern char** environ;

namespace {

constexpr auto kLongestRun = std::chrono::seconds(60);
constexpr int kPollMilliseconds = 20;
constexpr char kCtrlC = '\x03';

// The test's environment without COLUMNS, which the setup decides, plus its own.
std::vector<std::string> environmentFor(const TerminalSetup& setup) {
  std::vector<std::string> variables;
  for (char** variable = environ; *variable != nullptr; ++variable) {
    if (std::strncmp(*variable, "COLUMNS=", 8) != 0) {
      variables.emplace_back(*variable);
    }
  }
  variables.insert(variables.end(), setup.environment.begin(), setup.environment.end());
  return variables;
}

std::vector<char*> pointersTo(std::vector<std::string>& texts) {
  std::vector<char*> pointers;
  for (std::string& text : texts) {
    pointers.push_back(text.data());
  }
  pointers.push_back(nullptr);
  return pointers;
}

}  // namespace

TerminalRun runOnTerminal(const std::vector<std::string>& arguments,
                          const std::filesystem::path& workFolder, const TerminalSetup& setup) {
  std::vector<std::string> command = {MURKFELL_RENDER_PATH};
  command.insert(command.end(), arguments.begin(), arguments.end());
  std::vector<std::string> variables = environmentFor(setup);
  // Prepared before the fork: the child only changes folder and runs the tool.
  const std::vector<char*> argv = pointersTo(command);
  const std::vector<char*> envp = pointersTo(variables);
  const std::string folder = workFolder.string();

  winsize size{};
  size.ws_row = 24;
  size.ws_col = static_cast<unsigned short>(setup.columns);
  int terminal = -1;
  const pid_t child = forkpty(&terminal, nullptr, nullptr, setup.columns > 0 ? &size : nullptr);
  if (child == 0) {
    if (chdir(folder.c_str()) == 0) {
      execve(argv[0], argv.data(), envp.data());
    }
    _exit(127);
  }
  if (child < 0) {
    return {-1, "forkpty failed: " + std::string(std::strerror(errno))};
  }

  TerminalRun run{-1, ""};
  bool pressed = false;
  const auto deadline = std::chrono::steady_clock::now() + kLongestRun;
  while (std::chrono::steady_clock::now() < deadline) {
    pollfd wait{terminal, POLLIN, 0};
    if (poll(&wait, 1, kPollMilliseconds) > 0) {
      char buffer[4096];
      const ssize_t got = read(terminal, buffer, sizeof(buffer));
      if (got <= 0) {
        break;  // the tool has gone and the terminal has hung up
      }
      run.screen.append(buffer, static_cast<std::size_t>(got));
    }
    if (!pressed && setup.pressCtrlCWhen && setup.pressCtrlCWhen(run.screen)) {
      pressed = write(terminal, &kCtrlC, 1) == 1;
    }
  }
  if (std::chrono::steady_clock::now() >= deadline) {
    kill(child, SIGKILL);
  }
  int status = 0;
  waitpid(child, &status, 0);
  close(terminal);
  run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return run;
}
