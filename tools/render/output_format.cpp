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

}  // namespace

SF_INFO outputFormatFor(const SF_INFO& input, const std::string& outputPath) {
  std::string ending = lowerCase(std::filesystem::path(outputPath).extension().string());
  if (!ending.empty()) {
    ending.erase(0, 1);
  }
  const int inputMajor = input.format & SF_FORMAT_TYPEMASK;
  const int requested = majorFormatForEnding(ending);
  const int major = requested != 0 ? requested : inputMajor;

  SF_INFO output{};
  output.samplerate = input.samplerate;
  output.channels = input.channels;
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
  throw RenderError("cannot write " + outputPath + ": that kind of file cannot hold " +
                    std::to_string(input.channels) + " channels at " +
                    std::to_string(input.samplerate) + " Hz");
}

}  // namespace render
