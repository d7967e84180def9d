// Every failure ends with one line on stderr naming the problem, a non-zero
// exit and no output file, not even a half-written one.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>

#include "tests/tools/sound_files.h"
#include "tests/tools/tool_run.h"

namespace {

struct Failure {
  const char* name;
  std::vector<std::string> arguments;
  const char* message;
};

class RenderFailure : public testing::TestWithParam<Failure> {};

TEST_P(RenderFailure, SaysWhyExitsNonZeroAndLeavesNoOutput) {
  const ScratchFolder folder;
  writeSound(folder / "mono.wav", 44100, 1, SF_FORMAT_WAV | SF_FORMAT_PCM_16,
             testSignal(4410, 1, 44100));
  writeSound(folder / "stereo.wav", 44100, 2, SF_FORMAT_WAV | SF_FORMAT_PCM_16,
             testSignal(4410, 2, 44100));
  std::ofstream(folder / "notes.txt") << "these are not samples\n";
  std::ofstream(folder / "broken.so") << "this is not a library\n";
  std::filesystem::create_directory(folder / "takes");
  const std::vector<std::string> before = folder.fileNames();

  const ToolRun run = runTool(GetParam().arguments, folder.path());

  EXPECT_NE(run.exitCode, 0);
  EXPECT_NE(run.err.find(GetParam().message), std::string::npos) << run.err;
  EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << run.err;
  EXPECT_EQ(folder.fileNames(), before);
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
        // Without an input file the riff is not written either.
        Failure{"RiffWithUnknownParameter", {"--set", "Fuzz=0.5"}, "no parameter called"},
        Failure{"RiffWithBrokenPlugin", {"--plugin", "broken.so"}, "cannot load the plug-in"}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
