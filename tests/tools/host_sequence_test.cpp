// What a plug-in sees of the renderer: the calls a host makes, in a host's
// order, and which channels of the file reach which of its pins.
#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <sstream>

#include "tests/tools/sound_files.h"
#include "tests/tools/tool_run.h"

namespace {

constexpr int kRate = 48000;

// The logged calls, grouped by instance number (0: calls before an instance exists).
std::map<int, std::vector<std::string>> callsByInstance(const std::filesystem::path& log) {
  std::map<int, std::vector<std::string>> calls;
  std::ifstream stream(log);
  int instance = 0;
  std::string call;
  while (stream >> instance && std::getline(stream >> std::ws, call)) {
    calls[instance].push_back(call);
  }
  return calls;
}

struct Rendered {
  ToolRun run;
  Sound in;
  Sound out;
  std::map<int, std::vector<std::string>> calls;
};

Rendered renderThrough(const std::string& plugin, int channels, int frames,
                       std::vector<std::string> options) {
  const ScratchFolder folder;
  writeSound(folder / "in.wav", kRate, channels, SF_FORMAT_WAV | SF_FORMAT_FLOAT,
             testSignal(frames, channels, kRate));
  std::vector<std::string> arguments = {"in.wav", "out.wav", "--plugin", plugin};
  arguments.insert(arguments.end(), options.begin(), options.end());
  Rendered rendered;
  rendered.run = runTool(arguments, folder.path(), "MURKFELL_FAKE_LOG=calls.log");
  rendered.in = readSound(folder / "in.wav");
  rendered.out = readSound(folder / "out.wav");
  rendered.calls = callsByInstance(folder / "calls.log");
  return rendered;
}

std::vector<float> scaled(std::vector<float> samples, float factor) {
  for (float& sample : samples) {
    sample *= factor;
  }
  return samples;
}

TEST(HostSequence, EachInstanceIsOpenedSetUpRunAndClosedInOrder) {
  const Rendered rendered =
      renderThrough(FAKE_MONO_PLUGIN, 2, 1000, {"--block", "300", "--set", "scale=0.5"});
  ASSERT_EQ(rendered.run.exitCode, 0) << rendered.run.err;

  // Instance 1 is the scan before the file is read; 2 and 3 play one channel each.
  ASSERT_EQ(rendered.calls.size(), 4u);
  EXPECT_EQ(rendered.calls.at(1), (std::vector<std::string>{"open", "close"}));
  const std::vector<std::string> expected = {
      "open",        "rate 48000",  "block 300",   "set 0 0.5", "mains 1", "process 300",
      "process 300", "process 300", "process 100", "mains 0",   "close"};
  EXPECT_EQ(rendered.calls.at(2), expected);
  EXPECT_EQ(rendered.calls.at(3), expected);
  // Before each instance exists the plug-in asks the host's version and rate.
  const std::vector<std::string> queries = {"version 2400", "asked rate 44100",
                                            "version 2400", "asked rate 48000",
                                            "version 2400", "asked rate 48000"};
  EXPECT_EQ(rendered.calls.at(0), queries);
}

TEST(ChannelRouting, MonoPluginPlaysEachChannelOnItsOwnInstance) {
  const Rendered rendered = renderThrough(FAKE_MONO_PLUGIN, 3, 700, {"--set", "Scale=0.5"});
  ASSERT_EQ(rendered.run.exitCode, 0) << rendered.run.err;
  EXPECT_EQ(rendered.calls.size(), 5u);  // the version queries, the scan, three channels
  EXPECT_EQ(rendered.out.samples, scaled(rendered.in.samples, 0.5f));
}

TEST(ChannelRouting, StereoPluginGetsTheChannelsOfAStereoFileOnItsPins) {
  const Rendered rendered = renderThrough(FAKE_STEREO_PLUGIN, 2, 700, {"--set", "Scale=0.5"});
  ASSERT_EQ(rendered.run.exitCode, 0) << rendered.run.err;
  EXPECT_EQ(rendered.calls.size(), 3u);  // the version queries, the scan, one instance
  // The fake doubles its second pin, so a swap or a copy of one channel shows.
  EXPECT_EQ(channelOf(rendered.out.samples, 2, 0),
            scaled(channelOf(rendered.in.samples, 2, 0), 0.5f));
  EXPECT_EQ(channelOf(rendered.out.samples, 2, 1),
            scaled(channelOf(rendered.in.samples, 2, 1), 1.0f));
}

TEST(ChannelRouting, StereoPluginOnAMonoFileKeepsItsFirstOutput) {
  const Rendered rendered = renderThrough(FAKE_STEREO_PLUGIN, 1, 700, {"--set", "Scale=0.5"});
  ASSERT_EQ(rendered.run.exitCode, 0) << rendered.run.err;
  EXPECT_EQ(rendered.out.info.channels, 1);
  EXPECT_EQ(rendered.out.samples, scaled(rendered.in.samples, 0.5f));
}

}  // namespace
