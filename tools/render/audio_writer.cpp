#include "tools/render/audio_writer.h"

#include "tools/render/render_error.h"

namespace render {

AudioWriter::AudioWriter(const std::string& path, const SF_INFO& format)
    : filePath(path), pending(path), fileInfo(format) {
  file = sf_open_fd(pending.descriptor(), SFM_WRITE, &fileInfo, SF_FALSE);
  if (file == nullptr) {
    throw RenderError("cannot write " + path + ": " + sf_strerror(nullptr));
  }
  // Integer formats clip what lies beyond full scale instead of wrapping it
  // around into loud clicks.
  sf_command(file, SFC_SET_CLIPPING, nullptr, SF_TRUE);
}

AudioWriter::~AudioWriter() {
  if (file != nullptr) {
    sf_close(file);
  }
}

void AudioWriter::write(const float* interleaved, sf_count_t frames) {
  if (sf_writef_float(file, interleaved, frames) != frames) {
    throw RenderError("cannot write " + filePath + ": " + sf_strerror(file));
  }
}

void AudioWriter::commit() {
  const int closed = sf_close(file);
  file = nullptr;
  if (closed != 0) {
    throw RenderError("cannot write " + filePath + ": " + sf_strerror(nullptr));
  }
  pending.commit();
}

}  // namespace render
