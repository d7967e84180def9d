#include "tools/render/output_format.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <map>

#include "tools/render/render_error.h"

namespace render {
namespace {

std::string lowerCase(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return text;
}

// "wav" for "take.WAV"; empty when the name has no ending.
std::string endingOf(const std::string& path) {
  std::string ending = lowerCase(std::filesystem::path(path).extension().string());
  if (!ending.empty()) {
    ending.erase(0, 1);
  }
  return ending;
}

// The major format for a file ending, from libsndfile's own list plus the
// endings people use that the list spells differently; 0 for none.
int majorFormatForEnding(const std::string& ending) {
  static const std::map<std::string, int> aliases = {
      {"aif", SF_FORMAT_AIFF}, {"ogg", SF_FORMAT_OGG}, {"wave", SF_FORMAT_WAV}};
  if (const auto alias = aliases.find(ending); alias != aliases.end()) {
    return alias->second;
  }
  int count = 0;
  sf_command(nullptr, SFC_GET_FORMAT_MAJOR_COUNT, &count, sizeof(count));
  for (int index = 0; index < count; ++index) {
    SF_FORMAT_INFO info{};
    info.format = index;
    sf_command(nullptr, SFC_GET_FORMAT_MAJOR, &info, sizeof(info));
    if (info.extension != nullptr && ending == info.extension) {
      return info.format;
    }
  }
  return 0;
}

// The kind of file the output's name asks for. No ending, or the input's own
// ending (which the default output name repeats), keeps the input's kind.
int majorFormatFor(const SF_INFO& input, const OutputRequest& request) {
  const std::string ending = endingOf(request.outputPath);
  if (const int named = majorFormatForEnding(ending); named != 0) {
    return named;
  }
  if (ending.empty() || ending == endingOf(request.inputPath)) {
    return input.format & SF_FORMAT_TYPEMASK;
  }
  throw RenderError("cannot write " + request.outputPath + ": \"." + ending +
                    "\" is not an ending of a kind of sound file the renderer knows (try .wav, "
                    ".flac, .aiff or .ogg)");
}

SF_INFO floatFormat(const SF_INFO& output, const std::string& outputPath) {
  SF_INFO floats = output;
  floats.format = (output.format & SF_FORMAT_TYPEMASK) | SF_FORMAT_FLOAT;
  if (!sf_format_check(&floats)) {
    throw RenderError("cannot write " + outputPath +
                      " with floating-point samples: that kind of file does not hold them "
                      "(.wav, .aiff and .caf do)");
  }
  return floats;
}

}  // namespace

SF_INFO outputFormatFor(const SF_INFO& input, const OutputRequest& request) {
  const int inputMajor = input.format & SF_FORMAT_TYPEMASK;
  const int major = majorFormatFor(input, request);

  SF_INFO output{};
  output.samplerate = input.samplerate;
  output.channels = input.channels;
  if (request.floatSamples) {
    output.format = major;
    return floatFormat(output, request.outputPath);
  }
  // The input's encoding and byte order when the container allows them, else
  // the first of the common encodings it takes.
  const int keep = major == inputMajor ? input.format & (SF_FORMAT_SUBMASK | SF_FORMAT_ENDMASK)
                                       : input.format & SF_FORMAT_SUBMASK;
  for (const int encoding : {keep, int{SF_FORMAT_PCM_24}, int{SF_FORMAT_PCM_16},
                             int{SF_FORMAT_VORBIS}, int{SF_FORMAT_FLOAT}}) {
    output.format = major | encoding;
    if (sf_format_check(&output)) {
      return output;
    }
  }
  throw RenderError("cannot write " + request.outputPath + ": that kind of file cannot hold " +
                    std::to_string(input.channels) + " channels at " +
                    std::to_string(input.samplerate) + " Hz");
}

bool clipsAtFullScale(const SF_INFO& format) {
  switch (format.format & SF_FORMAT_SUBMASK) {
    case SF_FORMAT_FLOAT:
    case SF_FORMAT_DOUBLE:
    // Lossy codecs that code the waveform in floating point keep overshoots.
    case SF_FORMAT_VORBIS:
    case SF_FORMAT_OPUS:
      return false;
    default:
      return true;
  }
}

}  // namespace render
