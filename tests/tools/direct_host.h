// Drives a plug-in's effect record directly, the way the VST 2.4 interface
// prescribes, as the reference the renderer's output is compared with.
#pragma once

#include <string>
#include <utility>
#include <vector>

struct DirectRun {
  std::string pluginPath;
  std::string entryName = "VSTPluginMain";
  float sampleRate;
  int blockSize;
  std::vector<std::pair<int, float>> parameters;  // index, value
};

// Plays the input pins (one buffer each, equally long) through one fresh
// instance and gives back every output pin.
std::vector<std::vector<float>> playDirectly(const DirectRun& run,
                                             std::vector<std::vector<float>> inputs);
