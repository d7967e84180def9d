#include "tools/render/channel_routing.h"

#include <string>

#include "tools/render/render_error.h"

namespace render {
namespace {

constexpr int kMostInputsPerChannel = 2;

}  // namespace

std::vector<ChannelGroup> routeChannels(int fileChannels, int pluginInputs, int pluginOutputs) {
  if (pluginInputs < 1) {
    throw RenderError("the plug-in has no audio input, so there is nothing to play through it");
  }
  if (pluginOutputs < 1) {
    throw RenderError("the plug-in has no audio output");
  }
  if (fileChannels > 1 && pluginInputs == fileChannels && pluginOutputs >= fileChannels) {
    return {{0, fileChannels}};
  }
  if (pluginInputs > kMostInputsPerChannel) {
    throw RenderError("the plug-in has " + std::to_string(pluginInputs) +
                      " audio inputs; murkfell-render feeds plug-ins with 1 or 2 inputs, or with "
                      "one input per channel of the file (" +
                      std::to_string(fileChannels) + ")");
  }
  std::vector<ChannelGroup> groups;
  for (int channel = 0; channel < fileChannels; ++channel) {
    groups.push_back({channel, 1});
  }
  return groups;
}

}  // namespace render
