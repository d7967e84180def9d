// The editor as a Linux host shows it: the plug-in loaded from its library,
// its window opened inside a parent window of the host's, idle called
// regularly, and real clicks and drags through XTest.
// GoogleTest comes before Xlib, whose macros (None, Bool) would clash with it.
#include <gtest/gtest.h>
// clang-format off
#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>
// clang-format on

#include <chrono>
#include <cstdint>
#include <thread>
#include <utility>

#include "tests/support/dispatch.h"
#include "tests/support/recording_host.h"
#include "tools/vst_loader/vst_library.h"

namespace {

class EditorWindow : public ::testing::Test {
 protected:
  void SetUp() override {
    RecordingHost::instance().reset();
    display = XOpenDisplay(nullptr);
    ASSERT_NE(display, nullptr) << "needs an X server: run the tests under xvfb-run";
    parent = XCreateSimpleWindow(display, DefaultRootWindow(display), 0, 0, 340, 400, 0, 0, 0);
    XMapWindow(display, parent);
    XSync(display, False);
    effect = library.mainEntry()(RecordingHost::callback);
    ASSERT_NE(effect, nullptr);
    ASSERT_EQ(dispatch(effect, effEditOpen, 0, 0,
                       reinterpret_cast<void*>(static_cast<std::uintptr_t>(parent))),
              1);
    ASSERT_TRUE(idleUntil([this] { return childShown(); }));
    RecordingHost::instance().reset();
  }
  void TearDown() override {
    if (effect != nullptr) {
      dispatch(effect, effEditClose);
      dispatch(effect, effClose);
    }
    XDestroyWindow(display, parent);
    XCloseDisplay(display);
  }

  template <typename Condition>
  bool idleUntil(Condition done) {
    for (int i = 0; i < 150; ++i) {
      dispatch(effect, effEditIdle);
      if (done()) {
        return true;
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return false;
  }
  void settle() {
    for (int i = 0; i < 10; ++i) {
      dispatch(effect, effEditIdle);
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
  }
  bool childShown() {
    Window root = 0;
    Window parentOfParent = 0;
    Window* children = nullptr;
    unsigned int count = 0;
    XQueryTree(display, parent, &root, &parentOfParent, &children, &count);
    bool shown = false;
    for (unsigned int i = 0; i < count; ++i) {
      XWindowAttributes attributes{};
      XGetWindowAttributes(display, children[i], &attributes);
      shown = shown || (attributes.map_state == IsViewable && attributes.width == 340 &&
                        attributes.height == 400);
    }
    if (children != nullptr) {
      XFree(children);
    }
    return shown;
  }
  void moveTo(int x, int y) {
    int rootX = 0;
    int rootY = 0;
    Window child = 0;
    XTranslateCoordinates(display, parent, DefaultRootWindow(display), x, y, &rootX, &rootY,
                          &child);
    XTestFakeMotionEvent(display, DefaultScreen(display), rootX, rootY, CurrentTime);
    XFlush(display);
    settle();
  }
  void press(bool down) {
    XTestFakeButtonEvent(display, 1, down ? True : False, CurrentTime);
    XFlush(display);
    settle();
  }
  void click(int x, int y) {
    moveTo(x, y);
    press(true);
    press(false);
  }

  VstLibrary library{MURKFELL_PLUGIN_PATH};
  Display* display = nullptr;
  Window parent = 0;
  AEffect* effect = nullptr;
};

TEST_F(EditorWindow, ClickOnTheFootswitchBypassesTheEffect) {
  click(170, 300);
  EXPECT_EQ(effect->getParameter(effect, 7), 1.0f);
  const auto automated = RecordingHost::instance().requestsWith(audioMasterAutomate);
  ASSERT_EQ(automated.size(), 2u);
  EXPECT_EQ(automated[0].index, 8);
  EXPECT_EQ(automated[1].index, 7);
  ASSERT_EQ(RecordingHost::instance().requestsWith(audioMasterBeginEdit).size(), 1u);
  ASSERT_EQ(RecordingHost::instance().requestsWith(audioMasterEndEdit).size(), 1u);
  EXPECT_EQ(RecordingHost::instance().requestsWith(audioMasterBeginEdit)[0].index, 7);
}

TEST_F(EditorWindow, DraggingTheGainKnobTurnsItUp) {
  // Around the knob's centre (72, 143), from its low end at the lower left,
  // over the top, to the right: well past half way.
  moveTo(50, 165);
  press(true);
  for (const auto& [x, y] : {std::pair{42, 143}, {50, 121}, {72, 113}, {94, 121}, {102, 143}}) {
    moveTo(x, y);
  }
  press(false);
  EXPECT_GT(effect->getParameter(effect, 1), 0.6f);
  EXPECT_EQ(RecordingHost::instance().requestsWith(audioMasterBeginEdit).size(), 1u);
  EXPECT_EQ(RecordingHost::instance().requestsWith(audioMasterEndEdit).size(), 1u);
  EXPECT_FALSE(RecordingHost::instance().requestsWith(audioMasterAutomate).empty());
}

TEST_F(EditorWindow, ClosingTheEffectWithTheWindowOpenIsClean) {
  dispatch(effect, effClose);
  effect = nullptr;
  XSync(display, False);
  EXPECT_FALSE(childShown());
}

}  // namespace
