// An audio file written through libsndfile that appears only when complete.
#pragma once

#include <sndfile.h>

#include <string>

#include "tools/render/pending_file.h"

namespace render {

class AudioWriter {
 public:
  // Throws RenderError when the file cannot be created.
  AudioWriter(const std::string& path, const SF_INFO& format);
  ~AudioWriter();
  AudioWriter(const AudioWriter&) = delete;
  AudioWriter& operator=(const AudioWriter&) = delete;

  void write(const float* interleaved, sf_count_t frames);
  // Finishes the file and puts it in place; throws RenderError.
  void commit();

 private:
  std::string filePath;
  PendingFile pending;
  SF_INFO fileInfo;
  SNDFILE* file;
};

}  // namespace render
