// murkfell-render: a small VST 2.4 host that plays audio files, or a built-in
// guitar riff, through a plug-in and writes the result.
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

#include "tools/guitar/riff.h"
#include "tools/render/audio_writer.h"
#include "tools/render/command_line.h"
#include "tools/render/editor_snapshot.h"
#include "tools/render/host_callback.h"
#include "tools/render/plugin_instance.h"
#include "tools/render/plugin_library.h"
#include "tools/render/plugin_listing.h"
#include "tools/render/render_error.h"
#include "tools/render/render_job.h"

namespace fs = std::filesystem;
using namespace render;

namespace {

constexpr const char* kCleanRiffName = "murkfell-clean.wav";
constexpr const char* kProcessedRiffName = "murkfell-processed.wav";

std::string pluginBesideTool() {
  std::error_code error;
  const fs::path tool = fs::read_symlink("/proc/self/exe", error);
  return (tool.parent_path() / "murkfell.so").string();
}

// IN's name with "-murkfell" added, in the current folder, which is where the
// user is looking (IN's own folder may not even be writable).
std::string outputNameFor(const std::string& input) {
  const fs::path path(input);
  return (path.stem().string() + "-murkfell" + path.extension().string());
}

void writeCleanRiff(const std::string& path, int sampleRate) {
  const std::vector<float> riff = guitar::synthesizeRiff(sampleRate);
  SF_INFO format{};
  format.samplerate = sampleRate;
  format.channels = 1;
  format.format = SF_FORMAT_WAV | SF_FORMAT_PCM_24;
  AudioWriter writer(path, format);
  writer.write(riff.data(), static_cast<sf_count_t>(riff.size()));
  writer.commit();
}

void printSummary(const RenderResult& result) {
  if (result.frames == 0) {
    std::printf("rendered no audio: the input holds no samples\n");
    return;
  }
  const double audioSeconds = static_cast<double>(result.frames) / result.sampleRate;
  std::printf("rendered %.2f s of audio in %.3f s: real-time factor %.1fx\n", audioSeconds,
              result.wallSeconds, audioSeconds / std::max(result.wallSeconds, 1e-6));
}

// The result is written, so this is a warning: the exit status stays 0.
void warnAboutClipping(const RenderResult& result) {
  if (result.clippedSamples > 0) {
    std::fprintf(stderr,
                 "murkfell-render: warning: %lld samples went beyond full scale and were "
                 "clipped (peak %+.1f dBFS); --float keeps them\n",
                 result.clippedSamples, result.peakDecibels);
  }
}

int run(const RenderOptions& options) {
  if (options.help) {
    std::cout << helpText();
    return 0;
  }
  if (options.snapshot) {
    writeEditorSnapshot(*options.snapshot, options.settings, options.backFace);
    std::printf("wrote %s\n", fs::absolute(*options.snapshot).c_str());
    return 0;
  }
  const std::string pluginPath = options.plugin.value_or(pluginBesideTool());
  setHostSettings({44100.0f, options.blockSize});
  const PluginLibrary library(pluginPath);

  RenderPlan plan{library, 0, 0, {}, options.blockSize, options.floatSamples};
  {
    // A first instance, as hosts make when they scan a plug-in: its shape and
    // parameter names are known before any file is touched.
    PluginInstance probe(library);
    plan.settings = resolveSettings(probe, options.settings);
    if (options.list) {
      applySettings(probe, plan.settings);
      printListing(std::cout, pluginPath, probe);
      return 0;
    }
    plan.pluginInputs = probe.inputCount();
    plan.pluginOutputs = probe.outputCount();
  }

  if (options.input) {
    const std::string output = options.output.value_or(outputNameFor(*options.input));
    const RenderResult result = renderFile(plan, *options.input, output);
    std::printf("wrote %s\n", fs::absolute(output).c_str());
    printSummary(result);
    warnAboutClipping(result);
    return 0;
  }
  writeCleanRiff(kCleanRiffName, options.riffRate.value_or(guitar::kRiffSampleRate));
  const RenderResult result = renderFile(plan, kCleanRiffName, kProcessedRiffName);
  std::printf("clean riff:  %s\n", fs::absolute(kCleanRiffName).c_str());
  std::printf("processed:   %s\n", fs::absolute(kProcessedRiffName).c_str());
  printSummary(result);
  warnAboutClipping(result);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  try {
    return run(parseCommandLine(std::vector<std::string>(argv + 1, argv + argc)));
  } catch (const UsageError& error) {
    std::fprintf(stderr, "murkfell-render: %s (murkfell-render --help explains)\n", error.what());
    return 2;
  } catch (const RenderError& error) {
    std::fprintf(stderr, "murkfell-render: %s\n", error.what());
    return 1;
  }
}
