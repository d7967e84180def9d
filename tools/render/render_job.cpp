#include "tools/render/render_job.h"

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <memory>

#include "tools/render/audio_reader.h"
#include "tools/render/audio_writer.h"
#include "tools/render/channel_routing.h"
#include "tools/render/clipping_meter.h"
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

namespace {

// Rendering into the file that is being read would lose the recording; links
// and other names for the same file count as the same file.
void requireAnotherFile(const std::string& inputPath, const std::string& outputPath) {
  std::error_code error;
  if (std::filesystem::equivalent(inputPath, outputPath, error)) {
    throw RenderError("cannot write " + outputPath + ": it is the input file " + inputPath +
                      ", which would be lost; name another OUT");
  }
}

std::string secondsAndFrames(long long frames, int sampleRate) {
  char text[64];
  std::snprintf(text, sizeof(text), "%.2f s (%lld frames)",
                static_cast<double>(frames) / sampleRate, frames);
  return text;
}

void requireWholeInput(const std::string& inputPath, long long promised, long long read,
                       int sampleRate) {
  if (read < promised) {
    throw RenderError(inputPath + " ended early: its header promises " +
                      secondsAndFrames(promised, sampleRate) + " but it holds " +
                      secondsAndFrames(read, sampleRate) +
                      "; the file was cut off, so nothing was written");
  }
}

}  // namespace

RenderResult renderFile(const RenderPlan& plan, const std::string& inputPath,
                        const std::string& outputPath) {
  requireAnotherFile(inputPath, outputPath);
  AudioReader reader(inputPath);
  const SF_INFO& format = reader.info();
  const auto sampleRate = static_cast<float>(format.samplerate);
  const std::vector<ChannelGroup> groups =
      routeChannels(format.channels, plan.pluginInputs, plan.pluginOutputs);
  const SF_INFO outputFormat = outputFormatFor(format, {inputPath, outputPath, plan.floatSamples});
  AudioWriter writer(outputPath, outputFormat);

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
  const long long promised = reader.promisedFrames();
  ProgressMeter progress(promised, stderr);
  ClippingMeter clipping;
  long long done = 0;
  while (const sf_count_t frames = reader.read(input.data(), plan.blockSize)) {
    for (auto& lane : lanes) {
      lane->run(input.data(), output.data(), format.channels, static_cast<int>(frames));
    }
    clipping.measure(output.data(), static_cast<std::size_t>(frames) * format.channels);
    writer.write(output.data(), frames);
    done += frames;
    progress.update(done);
  }
  progress.finish();
  requireWholeInput(inputPath, promised, done, format.samplerate);
  // Suspend and close every instance before the file is declared done.
  lanes.clear();
  writer.commit();
  const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - started;
  return {done, format.samplerate, elapsed.count(),
          clipsAtFullScale(outputFormat) ? clipping.clippedSamples() : 0, clipping.peakDecibels()};
}

}  // namespace render
