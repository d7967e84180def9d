#include "tools/render/pending_file.h"

#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <filesystem>

#include "tools/render/render_error.h"

namespace render {
namespace {

// The temporary file a signal handler must remove; one at a time in this tool.
std::array<char, 4096> pendingPath{};

void removePendingAndExit(int signal) {
  if (pendingPath[0] != '\0') {
    unlink(pendingPath.data());
  }
  _exit(128 + signal);
}

void watchInterruptions() {
  static const bool installed = [] {
    for (const int signal : {SIGINT, SIGTERM, SIGHUP}) {
      std::signal(signal, removePendingAndExit);
    }
    return true;
  }();
  (void)installed;
}

void rememberPending(const std::string& path) {
  pendingPath.fill('\0');
  if (path.size() < pendingPath.size()) {
    std::memcpy(pendingPath.data(), path.data(), path.size());
  }
}

// mkstemp creates the file readable by its owner only; the finished file gets
// the permissions any new file of the user would have.
void giveUsualPermissions(int fd) {
  const mode_t mask = umask(0);
  umask(mask);
  fchmod(fd, 0666 & ~mask);
}

std::string errorText(const std::string& path) { return path + ": " + std::strerror(errno); }

}  // namespace

PendingFile::PendingFile(std::string path) : finalPath(std::move(path)) {
  if (std::filesystem::is_directory(finalPath)) {
    throw RenderError("cannot write " + finalPath + ": it is a folder");
  }
  const std::filesystem::path target(finalPath);
  const std::filesystem::path folder = target.has_parent_path() ? target.parent_path() : ".";
  std::string hiddenName = ".";
  hiddenName.append(target.filename().string()).append(".XXXXXX");
  temporaryPath = (folder / hiddenName).string();
  watchInterruptions();
  fd = mkstemp(temporaryPath.data());
  if (fd < 0) {
    throw RenderError("cannot write " + errorText(finalPath));
  }
  rememberPending(temporaryPath);
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
  if (!closed || std::rename(temporaryPath.c_str(), finalPath.c_str()) != 0) {
    const std::string reason = errorText(finalPath);
    unlink(temporaryPath.c_str());
    rememberPending("");
    throw RenderError("cannot write " + reason);
  }
  rememberPending("");
}

void PendingFile::discard() {
  close(fd);
  fd = -1;
  unlink(temporaryPath.c_str());
  rememberPending("");
}

}  // namespace render
