#include "tools/render/render_lane.h"

#include <algorithm>

namespace render {
namespace {

std::vector<float*> pinsOf(std::vector<std::vector<float>>& buffers) {
  std::vector<float*> pins;
  for (auto& buffer : buffers) {
    pins.push_back(buffer.data());
  }
  return pins;
}

}  // namespace

RenderLane::RenderLane(const PluginLibrary& library, ChannelGroup channels, int blockSize)
    : plugin(library),
      group(channels),
      inputBuffers(plugin.inputCount(), std::vector<float>(blockSize)),
      outputBuffers(plugin.outputCount(), std::vector<float>(blockSize)),
      inputPins(pinsOf(inputBuffers)),
      outputPins(pinsOf(outputBuffers)) {}

void RenderLane::run(const float* input, float* output, int channels, int frames) {
  for (std::size_t pin = 0; pin < inputBuffers.size(); ++pin) {
    const int channel = group.firstChannel + static_cast<int>(pin) % group.channelCount;
    for (int frame = 0; frame < frames; ++frame) {
      inputBuffers[pin][frame] = input[frame * channels + channel];
    }
  }
  // A plug-in that leaves an output alone gives silence there, not old audio.
  for (auto& buffer : outputBuffers) {
    std::fill(buffer.begin(), buffer.end(), 0.0f);
  }
  plugin.process(inputPins.data(), outputPins.data(), frames);
  for (int pin = 0; pin < group.channelCount; ++pin) {
    const int channel = group.firstChannel + pin;
    for (int frame = 0; frame < frames; ++frame) {
      output[frame * channels + channel] = outputBuffers[pin][frame];
    }
  }
}

}  // namespace render
