// An audio file opened for reading through libsndfile.
#pragma once

#include <sndfile.h>

#include <string>

namespace render {

class AudioReader {
 public:
  // Throws RenderError for a missing, unreadable or non-audio file.
  explicit AudioReader(const std::string& path);
  ~AudioReader();
  AudioReader(const AudioReader&) = delete;
  AudioReader& operator=(const AudioReader&) = delete;

  const SF_INFO& info() const { return fileInfo; }
  // The frames the file says it holds; more than read() gives when the file
  // was cut off.
  long long promisedFrames() const { return promised; }
  // Reads up to `frames` interleaved frames as floats; fewer only at the end.
  // Throws RenderError on a read failure, saying how far the file was read.
  sf_count_t read(float* interleaved, sf_count_t frames);

 private:
  std::string filePath;
  SF_INFO fileInfo{};
  SNDFILE* file;
  long long promised;
  long long framesRead = 0;
};

}  // namespace render
