// The editor as a Linux host shows it: the plug-in loaded from its library,
// its window opened inside a parent window of the host's, idle called
// regularly, and real clicks, drags, wheel turns and keys through XTest. Keys
// reach the host's window, which passes them on as a host does.
// GoogleTest comes before Xlib, whose macros (None, Bool) would clash with it.
#include <gtest/gtest.h>
// clang-format off
#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>
// clang-format on

#include <chrono>
#include <cstdint>
#include <thread>
#include <utility>
#include <vector>

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
    XSelectInput(display, parent, KeyPressMask | KeyReleaseMask);
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
  void wheel(unsigned int button) {
    XTestFakeButtonEvent(display, button, True, CurrentTime);
    XTestFakeButtonEvent(display, button, False, CurrentTime);
    XFlush(display);
    settle();
  }
  void holdKey(KeySym key, bool down) {
    XTestFakeKeyEvent(display, XKeysymToKeycode(display, key), down ? True : False, CurrentTime);
    XFlush(display);
  }
  void type(KeySym key) {
    holdKey(key, true);
    holdKey(key, false);
  }
  // Plays the host's part for keys: those that reach its window go to the
  // editor through the dispatcher; the answers say which the editor took.
  std::vector<VstIntPtr> passKeysOn() {
    XSync(display, False);
    std::vector<VstIntPtr> answers;
    while (XPending(display) > 0) {
      XEvent event;
      XNextEvent(display, &event);
      if (event.type != KeyPress && event.type != KeyRelease) continue;
      const KeySym key = XLookupKeysym(&event.xkey, 0);
      VstInt32 character = 0;
      VstIntPtr virtualKey = 0;
      switch (key) {
        case XK_Up:
          virtualKey = VKEY_UP;
          break;
        case XK_Down:
          virtualKey = VKEY_DOWN;
          break;
        default:
          character = static_cast<VstInt32>(key);  // Latin-1 keys name their character
      }
      const float modifiers = (event.xkey.state & ShiftMask) ? MODIFIER_SHIFT : 0;
      answers.push_back(dispatch(effect, event.type == KeyPress ? effEditKeyDown : effEditKeyUp,
                                 character, virtualKey, nullptr, modifiers));
    }
    return answers;
  }
  std::vector<VstInt32> opcodesSent() {
    std::vector<VstInt32> opcodes;
    for (const HostRequest& request : RecordingHost::instance().requests()) {
      opcodes.push_back(request.opcode);
    }
    return opcodes;
  }

  VstLibrary library{MURKFELL_PLUGIN_PATH};
  Display* display = nullptr;
  Window parent = 0;
  AEffect* effect = nullptr;
};

using Opcodes = std::vector<VstInt32>;

TEST_F(EditorWindow, ClickOnTheFootswitchBypassesTheEffect) {
  click(170, 300);
  EXPECT_EQ(effect->getParameter(effect, 7), 1.0f);
  EXPECT_EQ(opcodesSent(), (Opcodes{audioMasterBeginEdit, audioMasterAutomate, audioMasterAutomate,
                                    audioMasterEndEdit, audioMasterIdle}));
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
  // The host gets idle time after every step of the drag.
  const Opcodes sent = opcodesSent();
  for (std::size_t i = 0; i < sent.size(); ++i) {
    if (sent[i] == audioMasterAutomate) {
      ASSERT_LT(i + 1, sent.size());
      EXPECT_EQ(sent[i + 1], audioMasterIdle);
    }
  }
}

// Level at 0.2 pressed at 3 o'clock, Gain at 0.9 pressed at 8 o'clock: each
// goes where the pointer is, not to an end.
TEST_F(EditorWindow, APressOnAKnobTakesItToThePointer) {
  effect->setParameter(effect, 5, 0.2f);
  effect->setParameter(effect, 1, 0.9f);
  settle();
  click(295, 143);
  EXPECT_NEAR(effect->getParameter(effect, 5), 5.0f / 6.0f, 0.01f);
  click(47, 157);
  EXPECT_NEAR(effect->getParameter(effect, 1), 0.058f, 0.01f);
}

TEST_F(EditorWindow, WheelOverEachKnobStepsItsOwnParameter) {
  const std::pair<int, int> centres[] = {{72, 143}, {100, 71}, {170, 71}, {239, 71}, {267, 143}};
  for (VstInt32 index = 1; index <= 5; ++index) {  // Gain, Bass, Middle, Treble, Level
    const auto [x, y] = centres[index - 1];
    moveTo(x, y);
    RecordingHost::instance().reset();
    wheel(5);
    EXPECT_FLOAT_EQ(effect->getParameter(effect, index), 0.4f);
    ASSERT_EQ(opcodesSent(), (Opcodes{audioMasterBeginEdit, audioMasterAutomate, audioMasterEndEdit,
                                      audioMasterIdle}));
    for (const HostRequest& request : RecordingHost::instance().requests()) {
      if (request.opcode != audioMasterIdle) {
        EXPECT_EQ(request.index, index);
      }
    }
  }
  moveTo(72, 143);
  wheel(4);
  holdKey(XK_Shift_L, true);
  wheel(4);
  holdKey(XK_Shift_L, false);
  EXPECT_FLOAT_EQ(effect->getParameter(effect, 1), 0.51f);
}

TEST_F(EditorWindow, ArrowKeysStepTheKnobUnderThePointerOthersStayTheHosts) {
  XSetInputFocus(display, parent, RevertToPointerRoot, CurrentTime);
  moveTo(239, 71);  // Treble
  type(XK_Up);
  type(XK_a);
  holdKey(XK_Shift_L, true);
  type(XK_Down);
  holdKey(XK_Shift_L, false);
  // Down and up of: Up, a, Shift, Down, Shift (the host passes on every key).
  EXPECT_EQ(passKeysOn(), (std::vector<VstIntPtr>{1, 1, 0, 0, 0, 1, 1, 0}));
  EXPECT_FLOAT_EQ(effect->getParameter(effect, 4), 0.59f);
  EXPECT_EQ(opcodesSent(), (Opcodes{audioMasterBeginEdit, audioMasterAutomate, audioMasterEndEdit,
                                    audioMasterIdle, audioMasterBeginEdit, audioMasterAutomate,
                                    audioMasterEndEdit, audioMasterIdle}));
}

TEST_F(EditorWindow, ControlClickSetsTheDefaultOnlyWhenItChanges) {
  holdKey(XK_Control_L, true);
  click(72, 143);  // Gain already at 0.5
  holdKey(XK_Control_L, false);
  EXPECT_EQ(opcodesSent(), (Opcodes{audioMasterBeginEdit, audioMasterEndEdit}));
  effect->setParameter(effect, 1, 0.9f);
  settle();
  holdKey(XK_Control_L, true);
  click(72, 143);
  holdKey(XK_Control_L, false);
  EXPECT_EQ(effect->getParameter(effect, 1), 0.5f);
  EXPECT_EQ(RecordingHost::instance().requestsWith(audioMasterAutomate).size(), 1u);
}

TEST_F(EditorWindow, ClosingTheEffectWithTheWindowOpenIsClean) {
  dispatch(effect, effClose);
  effect = nullptr;
  XSync(display, False);
  EXPECT_FALSE(childShown());
}

}  // namespace
