// A file that appears under its name only when it is complete: it is written
// as a temporary file beside its final path and renamed into place on commit.
// Without a commit, and on Ctrl-C or termination, the temporary file is removed.
// A name that is a symbolic link is written through: the file it points to is
// replaced and the link stays.
#pragma once

#include <filesystem>
#include <string>

namespace render {

class PendingFile {
 public:
  // Throws RenderError when the folder of finalPath cannot take a new file.
  explicit PendingFile(std::string finalPath);
  ~PendingFile();
  PendingFile(const PendingFile&) = delete;
  PendingFile& operator=(const PendingFile&) = delete;

  int descriptor() const { return fd; }
  // Closes the descriptor and renames the file into place; throws RenderError.
  void commit();

 private:
  void discard();

  std::string finalPath;               // as the user named it, for messages
  std::filesystem::path replacedPath;  // where the file goes, after following links
  std::string temporaryPath;
  int fd;
};

}  // namespace render
