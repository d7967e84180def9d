// The renderer's command line: what the user asked for, and the help text.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace render {

struct ParameterSetting {
  std::string name;
  float value;
};

struct RenderOptions {
  std::optional<std::string> input;
  std::optional<std::string> output;
  std::optional<std::string> plugin;  // the murkfell.so beside the tool when absent
  int blockSize = 512;
  std::optional<int> riffRate;  // the built-in riff at another sample rate
  std::vector<ParameterSetting> settings;
  std::optional<std::string> snapshot;  // draw the editor into this PNG instead
  bool backFace = false;                // the snapshot shows the information view
  bool floatSamples = false;            // the result holds 32-bit floats
  bool list = false;
  bool help = false;
};

// Throws UsageError for an unknown option, a missing or malformed value, more
// than two file names, or options that do not go together.
RenderOptions parseCommandLine(const std::vector<std::string>& arguments);

std::string helpText();

}  // namespace render
