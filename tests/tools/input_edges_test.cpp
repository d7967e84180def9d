// Inputs at the edges: no samples at all, and headers that leave the length open.
#include <gtest/gtest.h>

#include <fstream>

#include "tests/tools/sound_files.h"
#include "tests/tools/tool_run.h"

namespace {

TEST(InputEdges, AnEmptyRecordingGivesAnEmptyFileAndSaysSo) {
  const ScratchFolder folder;
  writeSound(folder / "empty.wav", 44100, 1, SF_FORMAT_WAV | SF_FORMAT_PCM_24, {});
  const ToolRun run = runTool({"empty.wav", "out.wav"}, folder.path());
  ASSERT_EQ(run.exitCode, 0) << run.err;
  EXPECT_NE(run.out.find("rendered no audio: the input holds no samples"), std::string::npos)
      << run.out;
  EXPECT_EQ(run.out.find("real-time factor"), std::string::npos) << run.out;
  const Sound out = readSound(folder / "out.wav");
  EXPECT_EQ(out.info.frames, 0);
  EXPECT_EQ(out.info.format, SF_FORMAT_WAV | SF_FORMAT_PCM_24);
}

// A recorder that streams to disk writes the data length last; until then
// the header holds all ones, which promises nothing.
TEST(InputEdges, AnUnfinishedWavHeaderIsNoCutOff) {
  const ScratchFolder folder;
  writeSound(folder / "streamed.wav", 44100, 1, SF_FORMAT_WAV | SF_FORMAT_PCM_16,
             testSignal(4410, 1, 44100));
  {
    std::fstream file(folder / "streamed.wav", std::ios::in | std::ios::out | std::ios::binary);
    file.seekp(40);  // the data chunk's length
    file.write("\xff\xff\xff\xff", 4);
  }
  const ToolRun run = runTool({"streamed.wav", "out.wav"}, folder.path());
  ASSERT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(run.err, "");
  EXPECT_EQ(readSound(folder / "out.wav").info.frames, 4410);
}

TEST(InputEdges, AFlacCutOffMidStreamSaysHowFarItWasRead) {
  const ScratchFolder folder;
  writeSound(folder / "take.flac", 44100, 1, SF_FORMAT_FLAC | SF_FORMAT_PCM_16,
             testSignal(44100, 1, 44100));
  std::filesystem::resize_file(folder / "take.flac",
                               std::filesystem::file_size(folder / "take.flac") / 2);
  const ToolRun run = runTool({"take.flac", "out.wav"}, folder.path());
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_NE(run.err.find("cannot read take.flac after 0."), std::string::npos) << run.err;
  EXPECT_NE(run.err.find(" s of its 1.00 s"), std::string::npos) << run.err;
  EXPECT_EQ(folder.fileNames(), std::vector<std::string>{"take.flac"});
}

}  // namespace
