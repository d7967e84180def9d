// The renderer plays a file exactly as driving the plug-in's record directly
// does: the same samples, bit for bit, for Murkfell and for third-party
// plug-ins, whatever the channel count and block size.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <numeric>

#include "tests/tools/direct_host.h"
#include "tests/tools/sound_files.h"
#include "tests/tools/tool_run.h"

namespace {

constexpr int kRate = 48000;
constexpr int kFrames = 24000 + 17;  // not a multiple of either block size

// Index of the first sample that differs in its bits, or -1.
long firstDifference(const std::vector<float>& a, const std::vector<float>& b) {
  for (std::size_t at = 0; at < std::min(a.size(), b.size()); ++at) {
    if (std::memcmp(&a[at], &b[at], sizeof(float)) != 0) {
      return static_cast<long>(at);
    }
  }
  return a.size() == b.size() ? -1 : static_cast<long>(std::min(a.size(), b.size()));
}

double rms(const std::vector<float>& samples) {
  const double sum = std::inner_product(samples.begin(), samples.end(), samples.begin(), 0.0);
  return std::sqrt(sum / samples.size());
}

struct Layout {
  int channels;
  int blockSize;
};

class MurkfellRender : public testing::TestWithParam<Layout> {};

TEST_P(MurkfellRender, MatchesDrivingTheRecordDirectly) {
  const auto [channels, blockSize] = GetParam();
  const ScratchFolder folder;
  writeSound(folder / "in.wav", kRate, channels, SF_FORMAT_WAV | SF_FORMAT_FLOAT,
             testSignal(kFrames, channels, kRate));

  const ToolRun run = runTool({"in.wav", "out.wav", "--block", std::to_string(blockSize), "--set",
                               "Gain=0.8", "--set", "treble=0.3"},
                              folder.path());
  ASSERT_EQ(run.exitCode, 0) << run.err;

  const Sound in = readSound(folder / "in.wav");
  const Sound out = readSound(folder / "out.wav");
  EXPECT_EQ(out.info.samplerate, kRate);
  EXPECT_EQ(out.info.channels, channels);
  EXPECT_EQ(out.info.format, in.info.format);
  ASSERT_EQ(out.info.frames, kFrames);
  // Gain is parameter 1 and Treble parameter 4 of the plug-in.
  const DirectRun direct{
      MURKFELL_PLUGIN_PATH, "VSTPluginMain", kRate, blockSize, {{1, 0.8f}, {4, 0.3f}}};
  for (int channel = 0; channel < channels; ++channel) {
    const auto expected = playDirectly(direct, {channelOf(in.samples, channels, channel)});
    ASSERT_EQ(expected.size(), 1u);
    EXPECT_EQ(firstDifference(channelOf(out.samples, channels, channel), expected[0]), -1)
        << "channel " << channel;
  }
}

INSTANTIATE_TEST_SUITE_P(MonoAndStereo, MurkfellRender,
                         testing::Values(Layout{1, 64}, Layout{1, 1000}, Layout{2, 64},
                                         Layout{2, 1000}),
                         [](const auto& info) {
                           return std::to_string(info.param.channels) + "ch_block" +
                                  std::to_string(info.param.blockSize);
                         });

// Debian's packaged plug-ins (zam-plugins, dpf-plugins-vst) export their
// entry point under the older name `main`.
TEST(ThirdPartyRender, MonoPluginWithAParameterSetByName) {
  const std::string plugin = "/usr/lib/vst/ZamEQ2-vst.so";
  const ScratchFolder folder;
  writeSound(folder / "in.wav", kRate, 1, SF_FORMAT_WAV | SF_FORMAT_FLOAT,
             testSignal(kFrames, 1, kRate));

  const ToolRun run =
      runTool({"in.wav", "out.wav", "--plugin", plugin, "--set", "MASTER GAIN=1"}, folder.path());
  ASSERT_EQ(run.exitCode, 0) << run.err;

  const Sound in = readSound(folder / "in.wav");
  const Sound out = readSound(folder / "out.wav");
  // Master Gain is the EQ's parameter 10; at 1 it adds 12 dB.
  const auto expected = playDirectly({plugin, "main", kRate, 512, {{10, 1.0f}}}, {in.samples});
  ASSERT_EQ(expected.size(), 1u);
  EXPECT_EQ(firstDifference(out.samples, expected[0]), -1);
  EXPECT_NEAR(rms(out.samples) / rms(in.samples), std::pow(10.0, 12.0 / 20.0), 0.2);
}

TEST(ThirdPartyRender, StereoPluginTakesBothChannelsOfAStereoFile) {
  const std::string plugin = "/usr/lib/vst/3BandEQ-vst.so";
  const ScratchFolder folder;
  writeSound(folder / "in.wav", kRate, 2, SF_FORMAT_WAV | SF_FORMAT_FLOAT,
             testSignal(kFrames, 2, kRate));

  const ToolRun run =
      runTool({"in.wav", "out.wav", "--plugin", plugin, "--set", "master=0.9", "--block", "256"},
              folder.path());
  ASSERT_EQ(run.exitCode, 0) << run.err;

  const Sound in = readSound(folder / "in.wav");
  const Sound out = readSound(folder / "out.wav");
  const auto expected = playDirectly({plugin, "main", kRate, 256, {{3, 0.9f}}},
                                     {channelOf(in.samples, 2, 0), channelOf(in.samples, 2, 1)});
  ASSERT_EQ(expected.size(), 2u);
  for (int channel = 0; channel < 2; ++channel) {
    EXPECT_EQ(firstDifference(channelOf(out.samples, 2, channel), expected[channel]), -1)
        << "channel " << channel;
  }
  EXPECT_GT(rms(out.samples), 2.0 * rms(in.samples));
}

}  // namespace
