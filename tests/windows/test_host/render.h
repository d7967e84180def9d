// Plays a sound file through the plug-in as a host plays a track: rate and
// block size first, the parameters, then the audio block by block.
#pragma once

#include <string>
#include <utility>
#include <vector>

struct RenderRequest {
  std::string input;
  std::string output;
  float rawRate = 44100.0f;  // for raw input, which carries no rate
  int blockSize = 512;
  std::vector<std::pair<std::string, float>> settings;  // parameter name, value
};

void render(const std::string& pluginPath, const RenderRequest& request);
