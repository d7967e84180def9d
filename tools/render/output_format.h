// The format of the rendered file: the input's, unless the output's name asks
// for another kind of file by its ending.
#pragma once

#include <sndfile.h>

#include <string>

namespace render {

// Throws RenderError when libsndfile cannot write that kind of file with the
// input's channels and sample rate.
SF_INFO outputFormatFor(const SF_INFO& input, const std::string& outputPath);

}  // namespace render
