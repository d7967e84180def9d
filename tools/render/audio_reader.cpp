#include "tools/render/audio_reader.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>

#include "tools/render/header_length.h"
#include "tools/render/render_error.h"

namespace render {
namespace {

// libsndfile says little about why a file would not open; the system says
// more for the plain cases of a missing or unreadable file.
void requireReadableFile(const std::string& path) {
  if (std::filesystem::is_directory(path)) {
    throw RenderError("cannot read " + path + ": it is a folder, not an audio file");
  }
  const int fd = open(path.c_str(), O_RDONLY);
  if (fd < 0) {
    throw RenderError("cannot read " + path + ": " + std::strerror(errno));
  }
  close(fd);
}

}  // namespace

AudioReader::AudioReader(const std::string& path) : filePath(path) {
  requireReadableFile(path);
  file = sf_open(path.c_str(), SFM_READ, &fileInfo);
  if (file == nullptr) {
    throw RenderError("cannot read " + path + ": not an audio file libsndfile knows (" +
                      sf_strerror(nullptr) + ")");
  }
  promised = std::max<long long>(fileInfo.frames, framesPromisedByHeader(path).value_or(0));
}

AudioReader::~AudioReader() { sf_close(file); }

sf_count_t AudioReader::read(float* interleaved, sf_count_t frames) {
  sf_count_t done = 0;
  while (done < frames) {
    const sf_count_t got =
        sf_readf_float(file, interleaved + done * fileInfo.channels, frames - done);
    if (got <= 0) {
      break;
    }
    done += got;
  }
  framesRead += done;
  if (sf_error(file) != SF_ERR_NO_ERROR) {
    char where[80];
    std::snprintf(where, sizeof(where), " after %.2f s of its %.2f s",
                  static_cast<double>(framesRead) / fileInfo.samplerate,
                  static_cast<double>(promised) / fileInfo.samplerate);
    throw RenderError("cannot read " + filePath + where + ": " + sf_strerror(file));
  }
  return done;
}

}  // namespace render
