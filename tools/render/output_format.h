// The format of the rendered file: the input's, unless the output's name asks
// for another kind of file by its ending, or the user asks for floating-point
// samples.
#pragma once

#include <sndfile.h>

#include <string>

namespace render {

struct OutputRequest {
  std::string inputPath;
  std::string outputPath;
  bool floatSamples;
};

// Throws RenderError for an output ending that names no kind of sound file
// (other than the input's own ending), and when libsndfile cannot write that
// kind of file with the input's channels and sample rate, or with floats.
SF_INFO outputFormatFor(const SF_INFO& input, const OutputRequest& request);

// Whether the file stores whole-number samples, which stop at full scale.
bool clipsAtFullScale(const SF_INFO& format);

}  // namespace render
