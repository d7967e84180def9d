// The one-command demonstration, and how the files a user names are treated.
#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <iterator>
#include <sstream>

#include "core/parameters.h"
#include "tests/tools/direct_host.h"
#include "tests/tools/sound_files.h"
#include "tests/tools/tool_run.h"
#include "tools/guitar/plucked_string.h"
#include "tools/guitar/riff.h"

namespace {

std::string bytesOf(const std::filesystem::path& path) {
  std::ifstream stream(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(stream), std::istreambuf_iterator<char>()};
}

std::vector<std::string> namesIn(const std::filesystem::path& folder) {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    names.push_back(entry.path().filename().string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

TEST(DefaultRiff, WritesTheCleanAndProcessedRiffHereAndSaysWhere) {
  const ScratchFolder folder;
  const ToolRun run = runTool({}, folder.path());
  ASSERT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(folder.fileNames(),
            (std::vector<std::string>{"murkfell-clean.wav", "murkfell-processed.wav"}));
  EXPECT_NE(run.out.find((folder / "murkfell-clean.wav").string()), std::string::npos) << run.out;
  EXPECT_NE(run.out.find((folder / "murkfell-processed.wav").string()), std::string::npos);
  const std::string lastLine = run.out.substr(run.out.rfind('\n', run.out.size() - 2) + 1);
  EXPECT_NE(lastLine.find("rendered 4.80 s of audio"), std::string::npos) << lastLine;
  EXPECT_NE(lastLine.find("real-time factor"), std::string::npos) << lastLine;

  const Sound clean = readSound(folder / "murkfell-clean.wav");
  EXPECT_EQ(clean.info.samplerate, 44100);
  EXPECT_EQ(clean.info.channels, 1);
  float peak = 0.0f;
  for (const float sample : clean.samples) {
    peak = std::max(peak, std::abs(sample));
  }
  EXPECT_NEAR(peak, 0.5f, 1e-3f);
  // The processed riff is exactly the clean file played through the plug-in.
  const Sound processed = readSound(folder / "murkfell-processed.wav");
  const auto expected =
      playDirectly({MURKFELL_PLUGIN_PATH, "VSTPluginMain", 44100, 512, {}}, {clean.samples});
  ASSERT_EQ(expected.size(), 1u);
  ASSERT_EQ(processed.samples.size(), expected[0].size());
  // The file stores 24-bit samples, so compare at that resolution.
  for (std::size_t at = 0; at < expected[0].size(); ++at) {
    ASSERT_NEAR(processed.samples[at], std::clamp(expected[0][at], -1.0f, 1.0f), 1.0 / (1 << 22))
        << "sample " << at;
  }

  const ScratchFolder again;
  ASSERT_EQ(runTool({}, again.path()).exitCode, 0);
  EXPECT_EQ(bytesOf(again / "murkfell-clean.wav"), bytesOf(folder / "murkfell-clean.wav"));
}

// Synthesized at the rate asked for, not resampled, and played at that rate.
TEST(DefaultRiff, PlaysAtTheRateAskedFor) {
  const ScratchFolder folder;
  const ToolRun run = runTool({"--rate", "96000", "--float", "--set", "Gain=0.8"}, folder.path());
  ASSERT_EQ(run.exitCode, 0) << run.err;
  EXPECT_NE(run.out.find("rendered 4.80 s of audio"), std::string::npos) << run.out;

  const Sound clean = readSound(folder / "murkfell-clean.wav");
  EXPECT_EQ(clean.info.samplerate, 96000);
  const std::vector<float> riff = guitar::synthesizeRiff(96000);
  ASSERT_EQ(clean.samples.size(), riff.size());
  for (std::size_t at = 0; at < riff.size(); ++at) {
    ASSERT_NEAR(clean.samples[at], riff[at], 1.0 / (1 << 22)) << "sample " << at;
  }
  const Sound processed = readSound(folder / "murkfell-processed.wav");
  EXPECT_EQ(processed.info.samplerate, 96000);
  const auto expected =
      playDirectly({MURKFELL_PLUGIN_PATH, "VSTPluginMain", 96000, 512, {{murkfell::kGain, 0.8f}}},
                   {clean.samples});
  EXPECT_EQ(processed.samples, expected[0]);
}

// The period of the strongest repetition, to a fraction of a sample.
double measuredPeriod(const std::vector<double>& samples, int shortest, int longest) {
  const auto correlation = [&](int lag) {
    double sum = 0.0;
    for (std::size_t at = 0; at + lag < samples.size(); ++at) {
      sum += samples[at] * samples[at + lag];
    }
    return sum;
  };
  int best = shortest;
  for (int lag = shortest; lag <= longest; ++lag) {
    if (correlation(lag) > correlation(best)) {
      best = lag;
    }
  }
  const double left = correlation(best - 1);
  const double middle = correlation(best);
  const double right = correlation(best + 1);
  return best + 0.5 * (left - right) / (left - 2.0 * middle + right);
}

TEST(PluckedString, SoundsAtItsPitchAndDiesAwayWhenMuted) {
  for (const double frequency : {82.41, 110.0, 329.63}) {
    guitar::PluckedString string({frequency, 44100.0, 0.8, 3.0, 7});
    std::vector<double> samples(8192);
    for (double& sample : samples) {
      sample = string.next();
    }
    const double period = 44100.0 / frequency;
    EXPECT_NEAR(
        measuredPeriod(samples, static_cast<int>(period * 0.8), static_cast<int>(period * 1.2)),
        period, period * 5e-4)
        << frequency << " Hz";

    string.mute();
    for (int at = 0; at < 44100 / 5; ++at) {
      string.next();
    }
    EXPECT_LT(std::abs(string.next()), 1e-3) << frequency << " Hz";
  }
}

TEST(OutputFiles, KeepTheInputsFormatUnlessTheNameAsksForAnother) {
  const ScratchFolder folder;
  writeSound(folder / "take.wav", 44100, 2, SF_FORMAT_WAV | SF_FORMAT_PCM_16,
             testSignal(4410, 2, 44100));
  writeSound(folder / "take.flac", 96000, 1, SF_FORMAT_FLAC | SF_FORMAT_PCM_24,
             testSignal(4410, 1, 96000));

  ASSERT_EQ(runTool({"take.wav"}, folder.path()).exitCode, 0);
  ASSERT_EQ(runTool({"take.flac", "as.aiff"}, folder.path()).exitCode, 0);
  ASSERT_EQ(runTool({"take.wav", "as.ogg"}, folder.path()).exitCode, 0);

  const Sound same = readSound(folder / "take-murkfell.wav");
  EXPECT_EQ(same.info.format, SF_FORMAT_WAV | SF_FORMAT_PCM_16);
  EXPECT_EQ(same.info.channels, 2);
  EXPECT_EQ(same.info.frames, 4410);
  const Sound aiff = readSound(folder / "as.aiff");
  EXPECT_EQ(aiff.info.format, SF_FORMAT_AIFF | SF_FORMAT_PCM_24);
  EXPECT_EQ(aiff.info.samplerate, 96000);
  const Sound ogg = readSound(folder / "as.ogg");
  EXPECT_EQ(ogg.info.format, SF_FORMAT_OGG | SF_FORMAT_VORBIS);
  EXPECT_EQ(ogg.info.channels, 2);
}

TEST(OutputFiles, AnUnknownEndingThatIsTheInputsOwnKeepsTheInputsKind) {
  const ScratchFolder folder;
  writeSound(folder / "take.snd", 44100, 1, SF_FORMAT_AU | SF_FORMAT_PCM_16,
             testSignal(4410, 1, 44100));
  const ToolRun run = runTool({"take.snd"}, folder.path());
  ASSERT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(readSound(folder / "take-murkfell.snd").info.format, SF_FORMAT_AU | SF_FORMAT_PCM_16);
}

class Overloads : public testing::Test {
 protected:
  // The fake stereo plug-in doubles its second pin: 0.9 in, 1.8 out there.
  ToolRun renderDoubled(std::vector<std::string> options) {
    writeSound(folder / "loud.wav", 44100, 2, SF_FORMAT_WAV | SF_FORMAT_PCM_16,
               std::vector<float>(2000, 0.9f));
    std::vector<std::string> arguments = {"loud.wav",         "out.wav", "--plugin",
                                          FAKE_STEREO_PLUGIN, "--set",   "scale=1"};
    arguments.insert(arguments.end(), options.begin(), options.end());
    return runTool(arguments, folder.path());
  }
  std::vector<float> doubledChannel() {
    return channelOf(readSound(folder / "out.wav").samples, 2, 1);
  }

  ScratchFolder folder;
};

TEST_F(Overloads, ClipAtFullScaleInIntegerFilesWithAWarningThatCountsThem) {
  const ToolRun run = renderDoubled({});
  ASSERT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(run.err,
            "murkfell-render: warning: 1000 samples went beyond full scale and were clipped "
            "(peak +5.1 dBFS); --float keeps them\n");
  const std::vector<float> doubled = doubledChannel();
  ASSERT_EQ(doubled.size(), 1000u);
  for (const float sample : doubled) {
    ASSERT_GT(sample, 0.99f);
  }
}

TEST_F(Overloads, SurviveInAFloatFile) {
  const ToolRun run = renderDoubled({"--float"});
  ASSERT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(run.err, "");
  EXPECT_EQ(readSound(folder / "out.wav").info.format, SF_FORMAT_WAV | SF_FORMAT_FLOAT);
  const std::vector<float> doubled = doubledChannel();
  ASSERT_EQ(doubled.size(), 1000u);
  for (const float sample : doubled) {
    ASSERT_NEAR(sample, 1.8f, 1e-3f);
  }
}

// A link named as OUT is written through: what it points to gets the result.
TEST(OutputFiles, ALinkIsWrittenThroughAndStays) {
  const ScratchFolder folder;
  writeSound(folder / "take.wav", 44100, 1, SF_FORMAT_WAV | SF_FORMAT_PCM_16,
             testSignal(4410, 1, 44100));
  std::filesystem::create_directories(folder / "takes");
  std::filesystem::create_directories(folder / "links");
  writeSound(folder / "takes/old.wav", 48000, 2, SF_FORMAT_WAV | SF_FORMAT_FLOAT,
             testSignal(100, 2, 48000));
  std::filesystem::create_symlink("../takes/old.wav", folder / "links/old.wav");
  std::filesystem::create_symlink("../takes/new.wav", folder / "links/new.wav");

  for (const std::string name : {"old.wav", "new.wav"}) {
    const ToolRun run = runTool({"take.wav", "links/" + name}, folder.path());
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_TRUE(std::filesystem::is_symlink(folder / "links" / name)) << name;
    const Sound written = readSound(folder / "takes" / name);
    EXPECT_EQ(written.info.frames, 4410) << name;
    EXPECT_EQ(written.info.channels, 1) << name;
  }
  EXPECT_EQ(namesIn(folder / "links"), (std::vector<std::string>{"new.wav", "old.wav"}));
  EXPECT_EQ(namesIn(folder / "takes"), (std::vector<std::string>{"new.wav", "old.wav"}));
}

}  // namespace

namespace {

TEST(Help, NamesEveryControlTheHostKeepsWithItsStartingValueAndFitsATerminal) {
  const ScratchFolder folder;
  const ToolRun run = runTool({"--help"}, folder.path());
  ASSERT_EQ(run.exitCode, 0) << run.err;
  for (const murkfell::ParameterInfo& info : murkfell::kParameters) {
    if (info.kind != murkfell::ParameterKind::stored) continue;
    std::ostringstream line;
    line << info.name << ' ';
    EXPECT_NE(run.out.find(line.str()), std::string::npos) << info.name;
  }
  std::istringstream lines(run.out);
  for (std::string line; std::getline(lines, line);) {
    EXPECT_LE(line.size(), 80u) << line;
  }
}

}  // namespace
