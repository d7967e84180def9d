#include "tools/render/pending_file.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "tools/render/interruption.h"
#include "tools/render/render_error.h"

namespace fs = std::filesystem;

namespace render {
namespace {

// As many links in a row as the system itself follows before giving up.
constexpr int kMostLinks = 40;

std::string errorText(const std::string& path, int error = errno) {
  return path + ": " + std::strerror(error);
}

// The file a name stands for once its links are followed; the name itself
// when it is no link. A link may point to a file that does not exist yet.
fs::path followLinks(const std::string& name) {
  fs::path path(name);
  for (int hop = 0; hop < kMostLinks; ++hop) {
    std::error_code error;
    if (!fs::is_symlink(fs::symlink_status(path, error))) {
      return path;
    }
    const fs::path target = fs::read_symlink(path, error);
    if (error) {
      throw RenderError("cannot write " + errorText(name, error.value()));
    }
    path = target.is_absolute() ? target : path.parent_path() / target;
  }
  throw RenderError("cannot write " + errorText(name, ELOOP));
}

// mkstemp creates the file readable by its owner only; the finished file gets
// the permissions any new file of the user would have.
void giveUsualPermissions(int fd) {
  const mode_t mask = umask(0);
  umask(mask);
  fchmod(fd, 0666 & ~mask);
}

}  // namespace

PendingFile::PendingFile(std::string path)
    : finalPath(std::move(path)), replacedPath(followLinks(finalPath)) {
  if (fs::is_directory(replacedPath)) {
    throw RenderError("cannot write " + finalPath + ": it is a folder");
  }
  const fs::path folder = replacedPath.has_parent_path() ? replacedPath.parent_path() : ".";
  std::string hiddenName = ".";
  hiddenName.append(replacedPath.filename().string()).append(".XXXXXX");
  temporaryPath = (folder / hiddenName).string();
  fd = createRemovedOnInterruption(temporaryPath);
  if (fd < 0) {
    throw RenderError("cannot write " + errorText(finalPath));
  }
  giveUsualPermissions(fd);
}

PendingFile::~PendingFile() {
  if (fd >= 0) {
    discard();
  }
}

void PendingFile::commit() {
  const bool closed = close(fd) == 0;
  fd = -1;
  if (!closed || std::rename(temporaryPath.c_str(), replacedPath.c_str()) != 0) {
    const std::string reason = errorText(finalPath);
    unlink(temporaryPath.c_str());
    keepOnInterruption();
    throw RenderError("cannot write " + reason);
  }
  keepOnInterruption();
}

void PendingFile::discard() {
  close(fd);
  fd = -1;
  unlink(temporaryPath.c_str());
  keepOnInterruption();
}

}  // namespace render
