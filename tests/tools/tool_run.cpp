#include "tests/tools/tool_run.h"

#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <sstream>

namespace fs = std::filesystem;

namespace {

std::string quoted(const std::string& text) {
  std::ostringstream result;
  result << '\'';
  for (const char c : text) {
    if (c == '\'') {
      result << "'\\''";
    } else {
      result << c;
    }
  }
  result << '\'';
  return result.str();
}

std::string contentsOf(const fs::path& path) {
  std::ifstream stream(path);
  std::stringstream text;
  text << stream.rdbuf();
  return text.str();
}

}  // namespace

ScratchFolder::ScratchFolder() {
  std::string pattern = (fs::temp_directory_path() / "murkfell-render-test.XXXXXX").string();
  folder = mkdtemp(pattern.data());
}

ScratchFolder::~ScratchFolder() { fs::remove_all(folder); }

std::vector<std::string> ScratchFolder::fileNames() const {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(folder)) {
    names.push_back(entry.path().filename().string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

ToolRun runTool(const std::vector<std::string>& arguments, const fs::path& workFolder,
                const std::string& environment) {
  const ScratchFolder streams;
  std::ostringstream command;
  command << "cd " << quoted(workFolder.string()) << " && " << environment << ' '
          << quoted(MURKFELL_RENDER_PATH);
  for (const std::string& argument : arguments) {
    command << ' ' << quoted(argument);
  }
  command << " >" << quoted((streams / "out").string()) << " 2>"
          << quoted((streams / "err").string());
  const int status = std::system(command.str().c_str());
  return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, contentsOf(streams / "out"),
          contentsOf(streams / "err")};
}
