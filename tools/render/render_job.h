// Rendering one audio file through a plug-in: one instance per channel group,
// set up and driven block by block as a host drives it, into a new file.
#pragma once

#include <string>
#include <vector>

#include "tools/render/command_line.h"
#include "tools/render/plugin_instance.h"
#include "tools/render/plugin_library.h"

namespace render {

struct ResolvedSetting {
  int index;
  float value;
};

// Finds every named parameter on the plug-in; throws RenderError for a name
// it does not report.
std::vector<ResolvedSetting> resolveSettings(const PluginInstance& plugin,
                                             const std::vector<ParameterSetting>& settings);

void applySettings(PluginInstance& plugin, const std::vector<ResolvedSetting>& settings);

struct RenderPlan {
  const PluginLibrary& library;
  int pluginInputs;
  int pluginOutputs;
  std::vector<ResolvedSetting> settings;
  int blockSize;
  bool floatSamples;  // write 32-bit floats, whatever the input holds
};

struct RenderResult {
  long long frames;
  int sampleRate;
  double wallSeconds;
  // Samples the output file could not hold, and the loudest rendered sample.
  long long clippedSamples;
  double peakDecibels;
};

// Throws RenderError, also when the output would replace the input or the
// input holds less than its header promises; the output file then does not
// appear (and an existing one is left alone).
RenderResult renderFile(const RenderPlan& plan, const std::string& inputPath,
                        const std::string& outputPath);

}  // namespace render
