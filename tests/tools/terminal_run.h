// Runs murkfell-render on a pseudo-terminal, as in a terminal window, and
// presses Ctrl-C when asked.
#pragma once

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

struct TerminalRun {
  int exitCode;        // -1 when a signal ended the tool
  std::string screen;  // everything the tool and the terminal's echo wrote
};

struct TerminalSetup {
  int columns;                           // 0: the terminal reports no size
  std::vector<std::string> environment;  // NAME=VALUE added to the test's own
  // Asked with the screen so far after every read; Ctrl-C is pressed once it
  // says yes. Never pressed when empty.
  std::function<bool(const std::string& screen)> pressCtrlCWhen;
};

TerminalRun runOnTerminal(const std::vector<std::string>& arguments,
                          const std::filesystem::path& workFolder, const TerminalSetup& setup);
