// The progress bar: its width in any terminal, and the line it leaves behind
// when Ctrl-C stops a render.
#include <gtest/gtest.h>

#include <algorithm>

#include "tests/tools/sound_files.h"
#include "tests/tools/terminal_run.h"
#include "tests/tools/tool_run.h"
#include "tools/render/progress_meter.h"

namespace {

TEST(ProgressLine, LeavesTheLastColumnFreeAtEveryWidth) {
  for (int columns = 1; columns <= 200; ++columns) {
    for (const double fraction : {0.0, 0.37, 1.0}) {
      const std::string line = render::progressLine(fraction, columns);
      EXPECT_LT(static_cast<int>(line.size()), columns) << columns << " columns: " << line;
    }
  }
}

TEST(ProgressLine, ShrinksTheBarThenShowsThePercentageAlone) {
  EXPECT_EQ(render::progressLine(0.5, 80),
            '[' + std::string(20, '#') + std::string(20, '-') + "]  50%");
  EXPECT_EQ(render::progressLine(1.0, 30), '[' + std::string(22, '#') + "] 100%");
  EXPECT_EQ(render::progressLine(0.25, 12), " 25%");
  EXPECT_EQ(render::progressLine(0.25, 4), "");
}

// A render that lasts several seconds: a slowed stand-in plug-in on a long
// file, in small blocks.
class ProgressOnTerminal : public testing::Test {
 protected:
  void SetUp() override {
    writeSound(folder / "long.wav", 44100, 1, SF_FORMAT_WAV | SF_FORMAT_PCM_16,
               testSignal(300000, 1, 44100));
  }

  TerminalRun renderSlowly(int columns, std::vector<std::string> environment,
                           std::function<bool(const std::string&)> pressCtrlCWhen) {
    environment.push_back("MURKFELL_FAKE_DELAY_US=2000");
    return runOnTerminal({"long.wav", "out.wav", "--plugin", FAKE_MONO_PLUGIN, "--block", "64"},
                         folder.path(), {columns, environment, pressCtrlCWhen});
  }

  static bool barsDrawn(const std::string& screen, int count) {
    return std::count(screen.begin(), screen.end(), '%') >= count;
  }

  ScratchFolder folder;
};

// Each drawn state of the bar, without the terminal's echo of Ctrl-C.
std::vector<std::string> barLines(const std::string& screen) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (start < screen.size()) {
    const std::size_t end = std::min(screen.find_first_of("\r\n", start), screen.size());
    std::string line = screen.substr(start, end - start);
    if (const std::size_t echo = line.find("^C"); echo != std::string::npos) {
      line.resize(echo);
    }
    if (line.find('%') != std::string::npos) {
      lines.push_back(line);
    }
    start = end + 1;
  }
  return lines;
}

TEST_F(ProgressOnTerminal, TheBarFitsTheTerminalOrColumns) {
  const TerminalRun reported =
      renderSlowly(30, {}, [](const std::string& screen) { return barsDrawn(screen, 3); });
  const TerminalRun fromColumns = renderSlowly(
      0, {"COLUMNS=30"}, [](const std::string& screen) { return barsDrawn(screen, 3); });
  for (const TerminalRun& run : {reported, fromColumns}) {
    const std::vector<std::string> lines = barLines(run.screen);
    ASSERT_GE(lines.size(), 3u) << run.screen;
    for (const std::string& line : lines) {
      EXPECT_EQ(line.size(), 29u) << line;
      EXPECT_EQ(line.front(), '[') << line;
    }
  }
}

TEST_F(ProgressOnTerminal, CtrlCEndsTheBarsLineAndLeavesNoFile) {
  const TerminalRun run =
      renderSlowly(80, {}, [](const std::string& screen) { return barsDrawn(screen, 2); });
  EXPECT_EQ(run.exitCode, 130);
  ASSERT_FALSE(barLines(run.screen).empty()) << run.screen;
  // The bar stays with the echoed ^C after it; the shell's prompt goes below.
  EXPECT_TRUE(run.screen.ends_with("^C\r\n")) << run.screen;
  EXPECT_EQ(folder.fileNames(), std::vector<std::string>{"long.wav"});
}

TEST_F(ProgressOnTerminal, CtrlCBeforeAnyBarEndsTheEchoedLine) {
  // Pressed as soon as the output's temporary file exists.
  const TerminalRun run =
      renderSlowly(80, {}, [this](const std::string&) { return folder.fileNames().size() > 1; });
  EXPECT_EQ(run.exitCode, 130);
  EXPECT_EQ(run.screen, "^C\r\n");
  EXPECT_EQ(folder.fileNames(), std::vector<std::string>{"long.wav"});
}

}  // namespace
