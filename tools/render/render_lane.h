// One plug-in instance with the buffers that carry its group of the file's
// channels in and out, block by block.
#pragma once

#include <vector>

#include "tools/render/channel_routing.h"
#include "tools/render/plugin_instance.h"

namespace render {

class RenderLane {
 public:
  RenderLane(const PluginLibrary& library, ChannelGroup group, int blockSize);

  PluginInstance& instance() { return plugin; }
  // Plays `frames` (at most the block size) interleaved frames of the file's
  // `channels` through the instance, writing the group's channels of `output`.
  void run(const float* input, float* output, int channels, int frames);

 private:
  PluginInstance plugin;
  ChannelGroup group;
  std::vector<std::vector<float>> inputBuffers;
  std::vector<std::vector<float>> outputBuffers;
  std::vector<float*> inputPins;
  std::vector<float*> outputPins;
};

}  // namespace render
