// murkfell-render --snapshot: the editor drawn off-screen into a PNG.
#include <cairo.h>
#include <gtest/gtest.h>

#include <cstdint>

#include "tests/tools/tool_run.h"

namespace {

class Snapshot : public ::testing::Test {
 protected:
  // Red, green and blue of one pixel of the written picture.
  std::uint32_t pixel(const std::string& name, int x, int y) {
    cairo_surface_t* image = cairo_image_surface_create_from_png((folder / name).c_str());
    EXPECT_EQ(cairo_surface_status(image), CAIRO_STATUS_SUCCESS);
    EXPECT_EQ(cairo_image_surface_get_width(image), 340);
    EXPECT_EQ(cairo_image_surface_get_height(image), 400);
    cairo_surface_flush(image);
    const unsigned char* row =
        cairo_image_surface_get_data(image) + y * cairo_image_surface_get_stride(image);
    const std::uint32_t value = reinterpret_cast<const std::uint32_t*>(row)[x] & 0xFFFFFF;
    cairo_surface_destroy(image);
    return value;
  }
  static int brightness(std::uint32_t rgb) {
    return static_cast<int>(((rgb >> 16) & 0xFF) + ((rgb >> 8) & 0xFF) + (rgb & 0xFF));
  }

  ScratchFolder folder;
};

TEST_F(Snapshot, ShowsTheLampFollowingTheFootswitch) {
  ASSERT_EQ(runTool({"--snapshot", "active.png"}, folder.path()).exitCode, 0);
  ASSERT_EQ(runTool({"--snapshot", "bypassed.png", "--set", "bypass=1"}, folder.path()).exitCode,
            0);
  EXPECT_GT(brightness(pixel("active.png", 170, 200)), 600) << "lit lamp";
  EXPECT_LT(brightness(pixel("bypassed.png", 170, 200)), 300) << "dark lamp";
}

TEST_F(Snapshot, BackFaceShowsTheInformationPanel) {
  const ToolRun run = runTool({"--snapshot", "back.png", "--info"}, folder.path());
  ASSERT_EQ(run.exitCode, 0) << run.err;
  EXPECT_NE(run.out.find("back.png"), std::string::npos);
  int bright = 0;
  for (int x = 70; x < 270; ++x) {
    bright += brightness(pixel("back.png", x, 232)) > 600;
  }
  EXPECT_GT(bright, 10) << "the title line is drawn in white";
}

TEST_F(Snapshot, UnknownControlLeavesNoPicture) {
  const ToolRun run = runTool({"--snapshot", "x.png", "--set", "Fuzz=1"}, folder.path());
  EXPECT_NE(run.exitCode, 0);
  EXPECT_NE(run.err.find("Fuzz"), std::string::npos);
  EXPECT_TRUE(folder.fileNames().empty());
}

// A file size limit lets the picture's file be made but not filled.
TEST_F(Snapshot, AFailedWriteSaysWhyAndLeavesNoPicture) {
  const ToolRun run =
      runTool({"--snapshot", "pedal.png"}, folder.path(), "ulimit -f 1; trap '' XFSZ;");
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_NE(run.err.find("cannot write the snapshot pedal.png: File too large"), std::string::npos)
      << run.err;
  EXPECT_TRUE(folder.fileNames().empty());
}

TEST_F(Snapshot, TheEndingPngMayBeCapitals) {
  const ToolRun run = runTool({"--snapshot", "PEDAL.PNG"}, folder.path());
  ASSERT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(brightness(pixel("PEDAL.PNG", 170, 200)) > 600, true) << "lit lamp";
}

}  // namespace
