// Runs murkfell-render as a user would, in a scratch folder of its own.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

struct ToolRun {
  int exitCode;
  std::string out;
  std::string err;
};

// A fresh, empty folder that is removed with the object.
class ScratchFolder {
 public:
  ScratchFolder();
  ~ScratchFolder();
  const std::filesystem::path& path() const { return folder; }
  std::filesystem::path operator/(const std::string& name) const { return folder / name; }
  // Names of the files in the folder, hidden ones included.
  std::vector<std::string> fileNames() const;

 private:
  std::filesystem::path folder;
};

// Runs the tool with `arguments` from inside `workFolder`.
ToolRun runTool(const std::vector<std::string>& arguments, const std::filesystem::path& workFolder,
                const std::string& environment = "");
