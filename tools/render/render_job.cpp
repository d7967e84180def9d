#include "tools/render/render_job.h"

#include <chrono>
#include <cstdio>
#include <memory>

#include "tools/render/audio_reader.h"
#include "tools/render/audio_writer.h"
#include "tools/render/channel_routing.h"
#include "tools/render/host_callback.h"
#include "tools/render/output_format.h"
#include "tools/render/progress_meter.h"
#include "tools/render/render_error.h"
#include "tools/render/render_lane.h"

namespace render {

std::vector<ResolvedSetting> resolveSettings(const PluginInstance& plugin,
                                             const std::vector<ParameterSetting>& settings) {
  std::vector<ResolvedSetting> resolved;
  for (const ParameterSetting& setting : settings) {
    const auto index = plugin.findParameter(setting.name);
    if (!index) {
      throw RenderError("the plug-in has no parameter called \"" + setting.name +
                        "\" (murkfell-render --list shows its parameters)");
    }
    resolved.push_back({*index, setting.value});
  }
  return resolved;
}

void applySettings(PluginInstance& plugin, const std::vector<ResolvedSetting>& settings) {
  for (const ResolvedSetting& setting : settings) {
    plugin.setParameter(setting.index, setting.value);
  }
}

RenderResult renderFile(const RenderPlan& plan, const std::string& inputPath,
                        const std::string& outputPath) {
  AudioReader reader(inputPath);
  const SF_INFO& format = reader.info();
  const auto sampleRate = static_cast<float>(format.samplerate);
  const std::vector<ChannelGroup> groups =
      routeChannels(format.channels, plan.pluginInputs, plan.pluginOutputs);
  AudioWriter writer(outputPath, outputFormatFor(format, outputPath));

  const auto started = std::chrono::steady_clock::now();
  setHostSettings({sampleRate, plan.blockSize});
  std::vector<std::unique_ptr<RenderLane>> lanes;
  for (const ChannelGroup& group : groups) {
    auto lane = std::make_unique<RenderLane>(plan.library, group, plan.blockSize);
    lane->instance().prepare(sampleRate, plan.blockSize);
    applySettings(lane->instance(), plan.settings);
    lane->instance().resume();
    lanes.push_back(std::move(lane));
  }

  const std::size_t blockSamples = static_cast<std::size_t>(plan.blockSize) * format.channels;
  std::vector<float> input(blockSamples);
  std::vector<float> output(blockSamples);
  ProgressMeter progress(format.frames, stderr);
  long long done = 0;
  while (const sf_count_t frames = reader.read(input.data(), plan.blockSize)) {
    for (auto& lane : lanes) {
      lane->run(input.data(), output.data(), format.channels, static_cast<int>(frames));
    }
    writer.write(output.data(), frames);
    done += frames;
    progress.update(done);
  }
  progress.finish();
  // Suspend and close every instance before the file is declared done.
  lanes.clear();
  writer.commit();
  const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - started;
  return {done, format.samplerate, elapsed.count()};
}

}  // namespace render
