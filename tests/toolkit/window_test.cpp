// The frame in a real X11 window, driven like a host does: the test plays the
// host, lending a parent window and calling idle; clicks come through XTest.
// GoogleTest comes before Xlib, whose macros (None, Bool) would clash with it.
#include <gtest/gtest.h>
// clang-format off
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
// clang-format on

#include <chrono>
#include <thread>

#include "resources/resource_table.h"
#include "tests/toolkit/edit_log.h"
#include "tests/toolkit/test_views.h"
#include "toolkit/c_anim_knob.h"
#include "toolkit/c_bitmap.h"
#include "toolkit/c_frame.h"
#include "toolkit/c_on_off_button.h"

namespace {

using Events = std::vector<std::string>;

class ChildWindow : public ::testing::Test {
 protected:
  void SetUp() override {
    // The server resets for a moment whenever its last client leaves, as
    // between two test processes; a host never meets that, a test may.
    for (int attempt = 0; attempt < 50 && host == nullptr; ++attempt) {
      host = XOpenDisplay(nullptr);
      if (host == nullptr) std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    ASSERT_NE(host, nullptr) << "needs an X server: run the tests under xvfb-run";
    parent = XCreateSimpleWindow(host, DefaultRootWindow(host), 0, 0, 340, 400, 0, 0, 0);
    XMapWindow(host, parent);
    XSync(host, False);
    frame = new CFrame(CRect(0, 0, 340, 400), reinterpret_cast<void*>(parent), &log);
    frame->addView(new SolidView(CRect(0, 0, 340, 400), CColor{40, 40, 40, 255}));
    auto* image = new CBitmap(murkfell::findImage("OnOff.png"));
    button = new COnOffButton(CRect(100, 100, 104, 104), &log, 6, image);
    frame->addView(button);
    image->forget();
    knob = new CAnimKnob(CRect(200, 200, 258, 258), &log, 2, 61, 58, nullptr);
    frame->addView(knob);
    idleUntil([this] { return viewable() && pixel(101, 101) == 0x00C800; });
  }
  void TearDown() override {
    if (frame != nullptr) frame->forget();
    if (host != nullptr) {
      XDestroyWindow(host, parent);
      XCloseDisplay(host);
    }
  }

  // Calls idle as a host does, about 50 times a second, until `done` or 2 s.
  template <typename Condition>
  bool idleUntil(Condition done) {
    for (int i = 0; i < 100; ++i) {
      frame->idle();
      if (done()) return true;
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return false;
  }
  bool viewable() {
    XWindowAttributes attributes{};
    return frame->getWindowId() != 0 &&
           XGetWindowAttributes(host, frame->getWindowId(), &attributes) != 0 &&
           attributes.map_state == IsViewable;
  }
  unsigned long pixel(int x, int y) {
    XImage* image = XGetImage(host, frame->getWindowId(), x, y, 1, 1, AllPlanes, ZPixmap);
    if (image == nullptr) return ~0ul;
    const unsigned long value = XGetPixel(image, 0, 0) & 0xFFFFFF;
    XDestroyImage(image);
    return value;
  }
  void pointer(int x, int y) {
    XTestFakeMotionEvent(host, DefaultScreen(host), x, y, CurrentTime);
    XFlush(host);
  }
  void button1(bool down) {
    XTestFakeButtonEvent(host, 1, down ? True : False, CurrentTime);
    XFlush(host);
  }
  unsigned childCount() {
    Window root, parentOfParent, *children = nullptr;
    unsigned int count = 0;
    XQueryTree(host, parent, &root, &parentOfParent, &children, &count);
    if (children != nullptr) XFree(children);
    return count;
  }

  Display* host = nullptr;
  Window parent = 0;
  EditLog log;
  CFrame* frame = nullptr;
  COnOffButton* button = nullptr;
  CAnimKnob* knob = nullptr;
};

TEST_F(ChildWindow, OpensInsideTheParentAsAnXEmbedClient) {
  ASSERT_TRUE(viewable());
  EXPECT_EQ(childCount(), 1u);
  Atom type = None;
  int format = 0;
  unsigned long count = 0, remaining = 0;
  unsigned char* data = nullptr;
  const Atom info = XInternAtom(host, "_XEMBED_INFO", False);
  ASSERT_EQ(XGetWindowProperty(host, frame->getWindowId(), info, 0, 2, False, info, &type, &format,
                               &count, &remaining, &data),
            Success);
  ASSERT_EQ(count, 2u);
  EXPECT_EQ(reinterpret_cast<long*>(data)[1] & 1, 1);  // mapped
  XFree(data);
  EXPECT_EQ(pixel(10, 10), 0x282828ul);  // drawn by the first idle
}

TEST_F(ChildWindow, ClickReachesTheListenerAndIsRedrawn) {
  pointer(102, 102);
  button1(true);
  button1(false);
  ASSERT_TRUE(idleUntil([this] { return log.events.size() == 4; }));
  EXPECT_EQ(log.events, (Events{"begin 6", "changed 6", "end 6", "idle"}));
  EXPECT_EQ(button->getValue(), 1.0f);
  EXPECT_TRUE(idleUntil([this] { return pixel(101, 101) == 0x0000C8; }));  // lower half
}

TEST_F(ChildWindow, DragTurnsAKnobBetweenPressAndRelease) {
  pointer(229, 200);  // straight above the centre: the middle of the range
  button1(true);
  pointer(200, 229);  // left of the centre
  ASSERT_TRUE(idleUntil([this] { return log.values.size() == 2; }));
  EXPECT_FLOAT_EQ(log.values[0], 0.5f);
  EXPECT_NEAR(knob->getValue(), 1.0f / 6.0f, 1e-6);
  button1(false);
  ASSERT_TRUE(idleUntil([this] { return log.events.back() == "end 2"; }));
  EXPECT_EQ(log.events.front(), "begin 2");
}

TEST_F(ChildWindow, KeysFollowThePointerIntoAndOutOfTheWindow) {
  CKeyCode up{0, kVirtualKeyUp, 0};
  pointer(229, 229);  // hovering over the knob, not touching it
  ASSERT_TRUE(idleUntil([&] { return frame->onKeyDown(up) == kKeyEventHandled; }));
  EXPECT_FLOAT_EQ(knob->getValue(), 0.1f);
  pointer(600, 600);  // outside the window: no view under it, none touched
  XSync(host, False);
  for (int i = 0; i < 5; ++i) frame->idle();
  EXPECT_EQ(frame->onKeyDown(up), kKeyEventNotHandled);
  EXPECT_FLOAT_EQ(knob->getValue(), 0.1f);
}

TEST_F(ChildWindow, CloseLeavesNoWindow) {
  frame->forget();
  frame = nullptr;
  XSync(host, False);
  EXPECT_EQ(childCount(), 0u);
}

TEST_F(ChildWindow, ParentVanishingUnderAnOpenFrameIsSurvived) {
  XDestroyWindow(host, parent);
  XSync(host, False);
  parent = XCreateSimpleWindow(host, DefaultRootWindow(host), 0, 0, 1, 1, 0, 0, 0);
  frame->setDirty(true);
  for (int i = 0; i < 5; ++i) {
    frame->idle();  // draws into a window that is gone: trapped, not fatal
  }
  EXPECT_EQ(frame->getWindowId(), 0u);
  frame->forget();
  frame = nullptr;
}

}  // namespace
