// Every failure ends with one line on stderr naming the problem, a non-zero
// exit and no output file, not even a half-written one; every file already
// there is left as it was.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <map>
#include <ostream>

#include "tests/tools/sound_files.h"
#include "tests/tools/tool_run.h"

namespace {

struct Failure {
  const char* name;
  std::vector<std::string> arguments;
  const char* message;
};

// ctest's listing shows the command line rather than the record's bytes.
void PrintTo(const Failure& failure, std::ostream* out) {
  for (const std::string& argument : failure.arguments) *out << argument << ' ';
}

class RenderFailure : public testing::TestWithParam<Failure> {};

// Each file's bytes by name, links followed.
std::map<std::string, std::string> contentsOf(const ScratchFolder& folder) {
  std::map<std::string, std::string> contents;
  for (const std::string& name : folder.fileNames()) {
    if (!std::filesystem::is_regular_file(folder / name)) {
      continue;
    }
    std::ifstream stream(folder / name, std::ios::binary);
    contents[name] = {std::istreambuf_iterator<char>(stream), std::istreambuf_iterator<char>()};
  }
  return contents;
}

// A recording whose end was cut off: its header still promises all of it.
void writeCutOff(const std::filesystem::path& path, int format, std::uintmax_t keptBytes) {
  writeSound(path, 44100, 1, format, testSignal(4410, 1, 44100));
  std::filesystem::resize_file(path, keptBytes);
}

TEST_P(RenderFailure, SaysWhyExitsNonZeroAndLeavesNoOutput) {
  const ScratchFolder folder;
  writeSound(folder / "mono.wav", 44100, 1, SF_FORMAT_WAV | SF_FORMAT_PCM_16,
             testSignal(4410, 1, 44100));
  writeSound(folder / "stereo.wav", 44100, 2, SF_FORMAT_WAV | SF_FORMAT_PCM_16,
             testSignal(4410, 2, 44100));
  std::ofstream(folder / "notes.txt") << "these are not samples\n";
  std::ofstream(folder / "broken.so") << "this is not a library\n";
  std::filesystem::create_directory(folder / "takes");
  std::filesystem::create_symlink("mono.wav", folder / "link.wav");
  // 44 bytes of header and 500 of the 4410 16-bit frames.
  writeCutOff(folder / "cut.wav", SF_FORMAT_WAV | SF_FORMAT_PCM_16, 44 + 1000);
  writeCutOff(folder / "cut.aiff", SF_FORMAT_AIFF | SF_FORMAT_PCM_16, 2000);
  const std::vector<std::string> before = folder.fileNames();
  const std::map<std::string, std::string> contentsBefore = contentsOf(folder);

  const ToolRun run = runTool(GetParam().arguments, folder.path());

  EXPECT_NE(run.exitCode, 0);
  EXPECT_NE(run.err.find(GetParam().message), std::string::npos) << run.err;
  EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << run.err;
  EXPECT_EQ(folder.fileNames(), before);
  EXPECT_EQ(contentsOf(folder), contentsBefore);
  EXPECT_TRUE(std::filesystem::is_symlink(folder / "link.wav"));
  EXPECT_TRUE(std::filesystem::is_empty(folder / "takes"));
}

INSTANTIATE_TEST_SUITE_P(
    Errors, RenderFailure,
    testing::Values(
        Failure{"MissingInput", {"absent.wav", "out.wav"}, "absent.wav: No such file"},
        Failure{"FolderAsInput", {"takes", "out.wav"}, "it is a folder"},
        Failure{"NonAudioInput", {"notes.txt", "out.wav"}, "not an audio file"},
        Failure{"OutputInMissingFolder", {"mono.wav", "gone/out.wav"}, "cannot write gone/out.wav"},
        Failure{"OutputIsAFolder", {"mono.wav", "takes"}, "cannot write takes: it is a folder"},
        Failure{"UnknownParameter",
                {"mono.wav", "out.wav", "--set", "Fuzz=0.5"},
                "no parameter called \"Fuzz\""},
        Failure{"ValueNotANumber", {"mono.wav", "out.wav", "--set", "Gain=loud"}, "not a number"},
        Failure{"ValueOutOfRange", {"mono.wav", "out.wav", "--set", "Gain=8"}, "between 0 and 1"},
        Failure{"UnknownOption", {"mono.wav", "out.wav", "--fuzz"}, "unknown option --fuzz"},
        Failure{"BadBlockSize", {"mono.wav", "out.wav", "--block", "0"}, "--block needs"},
        Failure{"RateForARecording",
                {"mono.wav", "out.wav", "--rate", "48000"},
                "--rate belongs to the built-in riff: \"mono.wav\" plays at its own rate"},
        Failure{
            "RateForASnapshot", {"--snapshot", "pedal.png", "--rate", "48000"}, "leave out --rate"},
        Failure{"PluginDoesNotLoad",
                {"mono.wav", "out.wav", "--plugin", "broken.so"},
                "cannot load the plug-in broken.so"},
        Failure{"PluginWithoutEntryPoint",
                {"mono.wav", "out.wav", "--plugin", FAKE_NO_ENTRY_PLUGIN},
                "no VSTPluginMain entry point"},
        Failure{"PluginThatRefuses",
                {"mono.wav", "out.wav", "--plugin", FAKE_REFUSING_PLUGIN},
                "refused to start"},
        Failure{"PluginWithTooManyInputs",
                {"stereo.wav", "out.wav", "--plugin", FAKE_WIDE_PLUGIN},
                "has 6 audio inputs"},
        Failure{"OutputIsTheInput",
                {"mono.wav", "mono.wav"},
                "cannot write mono.wav: it is the input file mono.wav"},
        Failure{"OutputIsTheInputByAnotherPath",
                {"mono.wav", "takes/../mono.wav"},
                "it is the input file mono.wav"},
        Failure{"OutputLinksToTheInput", {"mono.wav", "link.wav"}, "it is the input file"},
        Failure{"InputLinksToTheOutput", {"link.wav", "mono.wav"}, "it is the input file"},
        Failure{"CutOffWav",
                {"cut.wav", "out.wav"},
                "cut.wav ended early: its header promises 0.10 s (4410 frames) but it holds "
                "0.01 s (500 frames)"},
        Failure{"CutOffAiff",
                {"cut.aiff", "out.aiff"},
                "cut.aiff ended early: its header promises 0.10 s (4410 frames)"},
        Failure{"UnknownOutputEnding", {"mono.wav", "out.xyz"}, "\".xyz\" is not an ending"},
        Failure{"FloatIntoFlac",
                {"mono.wav", "out.flac", "--float"},
                "cannot write out.flac with floating-point samples"},
        Failure{"InfoWithoutSnapshot", {"--info"}, "--info belongs to --snapshot"},
        Failure{
            "SnapshotNotPng", {"--snapshot", "pedal.jpg"}, "name it FILE.png, not \"pedal.jpg\""},
        Failure{"SnapshotWithInput",
                {"mono.wav", "--snapshot", "pedal.png"},
                "--snapshot draws a picture and plays nothing"},
        Failure{"SnapshotInMissingFolder",
                {"--snapshot", "gone/pedal.png"},
                "cannot write gone/pedal.png: No such file or directory"},
        // Without an input file the riff is not written either.
        Failure{"RiffWithUnknownParameter", {"--set", "Fuzz=0.5"}, "no parameter called"},
        Failure{"RiffWithBrokenPlugin", {"--plugin", "broken.so"}, "cannot load the plug-in"},
        Failure{"RiffRateTooLow", {"--rate", "7999"}, "--rate needs a whole number"},
        Failure{"RiffRateNotWhole", {"--rate", "44100.5"}, "not \"44100.5\""}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
