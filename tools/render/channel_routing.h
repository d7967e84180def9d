// Which channels of the file each plug-in instance plays.
//
// A plug-in whose inputs and outputs match the file's channels (a stereo
// plug-in on a stereo file) gets one instance for the whole file, channel i on
// pin i. Otherwise a plug-in with one or two inputs gets one instance per
// channel: the channel goes to every input and the first output comes back.
// Any other plug-in has more inputs than the tool can feed.
#pragma once

#include <vector>

namespace render {

struct ChannelGroup {
  int firstChannel;
  int channelCount;
};

// Throws RenderError for a plug-in the file's channels cannot feed.
std::vector<ChannelGroup> routeChannels(int fileChannels, int pluginInputs, int pluginOutputs);

}  // namespace render
