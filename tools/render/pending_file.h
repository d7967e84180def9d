// A file that appears under its name only when it is complete: it is written
// as a temporary file beside its final path and renamed into place on commit.
// Without a commit, and on Ctrl-C or termination, the temporary file is removed.
#pragma once

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

  std::string finalPath;
  std::string temporaryPath;
  int fd;
};

}  // namespace render
