#include <gtest/gtest.h>

#include <limits>

#include "resources/resource_table.h"
#include "tests/toolkit/edit_log.h"
#include "tests/toolkit/pixels.h"
#include "toolkit/c_anim_knob.h"
#include "toolkit/c_bitmap.h"
#include "toolkit/c_frame.h"
#include "toolkit/c_movie_bitmap.h"
#include "toolkit/c_on_off_button.h"

namespace {

using Events = std::vector<std::string>;
constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();
constexpr CColor kGreen{0, 200, 0, 255};
constexpr CColor kBlue{0, 0, 200, 255};

// Controls on an off-screen frame whose editor is the log. The knob is
// 58 x 58 at (100, 100), so its centre is (129, 129).
class Controls : public ::testing::Test {
 protected:
  ~Controls() override {
    frame->forget();
    strip->forget();
    onOff->forget();
  }
  CAnimKnob* knob(float value) {
    auto* k = new CAnimKnob(CRect(100, 100, 158, 158), &log, 3, 61, 2, strip);
    frame->addView(k);
    k->setValue(value);
    return k;
  }
  void press(CPoint where, long buttons = kLButton) { frame->onMouseDown(where, buttons); }
  void move(CPoint where, long buttons = kLButton) { frame->onMouseMoved(where, buttons); }
  void release(CPoint where) { frame->onMouseUp(where, kLButton); }
  CColor shownAt(CControl* control, float value, int x, int y) {
    control->setValue(value);
    frame->idle();
    return pixelAt(frame->getImage(), x, y);
  }

  EditLog log;
  CFrame* frame = new CFrame(CRect(0, 0, 200, 200), nullptr, &log);
  CBitmap* strip = new CBitmap(murkfell::findImage("Strip61.png"));  // red 4k in frame k
  CBitmap* onOff = new CBitmap(murkfell::findImage("OnOff.png"));    // green over blue
};

TEST_F(Controls, SubImageChoiceOfKnobMovieAndOnOffButton) {
  CAnimKnob* k = knob(0.0f);
  for (auto [value, index] : {std::pair{0.0f, 0L},
                              {1.0f / 60.0f, 1L},
                              {0.5f, 30L},
                              {59.9f / 60.0f, 59L},
                              {1.0f, 60L},
                              {-0.3f, 0L},
                              {1.7f, 60L},
                              {kNaN, 0L}}) {
    k->setValue(value);
    EXPECT_EQ(k->subImageIndex(), index) << "knob at " << value;
  }
  EXPECT_EQ(shownAt(k, 0.5f, 101, 101).red, 4 * 30);

  auto* movie = new CMovieBitmap(CRect(0, 0, 3, 2), &log, 8, 61, 2, strip);
  frame->addView(movie);
  for (auto [value, index] : {std::pair{0.0f, 0L},
                              {1.0f / 60.0f, 1L},
                              {0.99f, 59L},
                              {3.0f, 60L},
                              {-1.0f, 0L},
                              {kNaN, 0L}}) {
    movie->setValue(value);
    EXPECT_EQ(movie->subImageIndex(), index) << "movie at " << value;
  }

  auto* button = new COnOffButton(CRect(20, 20, 24, 24), &log, 6, onOff);
  frame->addView(button);
  EXPECT_EQ(shownAt(button, 0.0f, 21, 23), kGreen);
  EXPECT_EQ(shownAt(button, 0.3f, 21, 23), kBlue);
  EXPECT_EQ(shownAt(button, 1.0f, 21, 23), kBlue);
  EXPECT_EQ(onOff->getNbReference(), 2);  // the button holds its own
}

TEST_F(Controls, OnOffButtonToggleIsOneBracketedEditWithoutCapture) {
  auto* button = new COnOffButton(CRect(20, 20, 24, 24), &log, 6, onOff);
  frame->addView(button);
  press({21, 21});
  EXPECT_EQ(button->getValue(), 1.0f);
  move({21, 21});  // not captured: the move reaches no one
  // The host gets idle time after each click.
  EXPECT_EQ(log.events, (Events{"begin 6", "changed 6", "end 6", "idle"}));
  EXPECT_EQ(log.values, std::vector<float>{1.0f});

  button->setValue(0.3f);
  press({21, 21});
  EXPECT_EQ(button->getValue(), 0.0f);
  press({21, 21}, kRButton);
  EXPECT_EQ(button->getValue(), 0.0f);
  EXPECT_EQ(log.events.size(), 8u);
}

TEST_F(Controls, CircularKnobFollowsTheAngleFromPressToRelease) {
  CAnimKnob* k = knob(0.4f);
  press({129, 100});  // straight up: the middle
  EXPECT_FLOAT_EQ(k->getValue(), 0.5f);
  move({100, 129});  // left: 45 of 270 degrees
  EXPECT_NEAR(k->getValue(), 1.0f / 6.0f, 1e-6);
  move({100, 129});  // no change, no notification
  move({129, 100});
  move({158, 129});  // right: 225 of 270 degrees (captured beyond the knob's edge)
  EXPECT_NEAR(k->getValue(), 5.0f / 6.0f, 1e-6);
  release({158, 129});
  // Each change of a drag gives the host idle time.
  EXPECT_EQ(log.events, (Events{"begin 3", "changed 3", "idle", "changed 3", "idle", "changed 3",
                                "idle", "changed 3", "idle", "end 3"}));
}

// Wherever the press lands, the knob takes the value at the pointer's angle,
// whatever it showed before: never an end unless the pointer points there.
TEST_F(Controls, CircularPressGoesToThePointerNeverToAnEnd) {
  CAnimKnob* k = knob(0.0f);
  const std::pair<CPoint, float> spots[] = {{{100, 129}, 1.0f / 6.0f},  // 9 o'clock
                                            {{108, 108}, 1.0f / 3.0f},
                                            {{129, 100}, 0.5f},  // 12 o'clock
                                            {{150, 108}, 2.0f / 3.0f},
                                            {{157, 129}, 5.0f / 6.0f}};  // 3 o'clock
  for (float before : {0.0f, 0.2f, 0.5f, 0.9f, 1.0f}) {
    for (const auto& [where, pointed] : spots) {
      k->setValue(before);
      press(where);
      EXPECT_NEAR(k->getValue(), pointed, 1e-6) << "from " << before << " at " << where.h;
      release(where);
    }
  }
  // In the dead zone the pointer is at an end, and the press goes there.
  k->setValue(0.9f);
  press({120, 157});
  EXPECT_EQ(k->getValue(), 0.0f);
  release({120, 157});

  // From a press at 3 o'clock a drag follows the pointer over the top.
  k->setValue(0.2f);
  press({157, 129});
  move({129, 100});
  EXPECT_FLOAT_EQ(k->getValue(), 0.5f);
  move({100, 129});
  EXPECT_NEAR(k->getValue(), 1.0f / 6.0f, 1e-6);
  release({100, 129});
}

TEST_F(Controls, WheelNotchesAndArrowKeysStepTheKnobAsSingleEdits) {
  CAnimKnob* k = knob(0.5f);
  EXPECT_TRUE(frame->onWheel(CPoint(129, 129), 1.0f, 0));
  EXPECT_FLOAT_EQ(k->getValue(), 0.6f);
  EXPECT_EQ(log.events, (Events{"begin 3", "changed 3", "end 3", "idle"}));
  frame->onWheel(CPoint(129, 129), -2.0f, kShift);  // two notches down, finer
  EXPECT_FLOAT_EQ(k->getValue(), 0.58f);

  CKeyCode up{0, kVirtualKeyUp, 0}, left{0, kVirtualKeyLeft, kShift},
      letter{'a', kVirtualKeyNone, 0};
  EXPECT_EQ(k->onKeyDown(up), kKeyEventHandled);
  EXPECT_FLOAT_EQ(k->getValue(), 0.68f);
  EXPECT_EQ(k->onKeyDown(left), kKeyEventHandled);
  EXPECT_FLOAT_EQ(k->getValue(), 0.67f);
  EXPECT_EQ(k->onKeyUp(up), kKeyEventHandled);  // the release of a key it took
  EXPECT_EQ(k->onKeyDown(letter), kKeyEventNotHandled);
  EXPECT_EQ(k->onKeyUp(letter), kKeyEventNotHandled);
  EXPECT_EQ(log.values.size(), 4u);  // one report per step

  // At an end a step is taken but changes nothing, so no edit is reported.
  log.clear();
  k->setValue(1.0f);
  EXPECT_EQ(k->onKeyDown(up), kKeyEventHandled);
  EXPECT_TRUE(frame->onWheel(CPoint(129, 129), 1.0f, 0));
  EXPECT_TRUE(log.events.empty());
  // Steps start from what the knob shows: out of range at its end, NaN at 0.
  for (auto [shown, after] : {std::pair{1.7f, 0.9f}, {-0.4f, 0.0f}, {kNaN, 0.0f}}) {
    k->setValue(shown);
    frame->onWheel(CPoint(129, 129), -1.0f, 0);
    EXPECT_FLOAT_EQ(k->getValue(), after) << "from " << shown;
  }
  EXPECT_EQ(log.values.size(), 3u);
}

TEST_F(Controls, CircularKnobDeadZoneAndJumpsClampInsteadOfWrapping) {
  CAnimKnob* k = knob(0.5f);
  press({129, 100});
  move({120, 158});  // bottom, left of centre: the lower end
  EXPECT_EQ(k->getValue(), 0.0f);
  move({100, 150});  // lower left, just inside the sweep
  EXPECT_NEAR(k->getValue(), 0.034f, 0.001f);
  move({158, 158});  // to the lower right in one move: stays at the lower end
  EXPECT_EQ(k->getValue(), 0.0f);
  release({158, 158});

  k->setValue(0.5f);
  press({157, 129});
  move({138, 158});  // bottom, right of centre: the upper end
  EXPECT_EQ(k->getValue(), 1.0f);
  move({100, 158});
  EXPECT_EQ(k->getValue(), 1.0f);
  release({100, 158});
}

TEST_F(Controls, LinearKnobMovesWithPixelsUpAndRightShiftFinerAltSwapped) {
  log.knobMode = kLinearMode;
  CAnimKnob* k = knob(0.5f);
  press({139, 129});  // where a linear drag starts does not matter
  EXPECT_FLOAT_EQ(k->getValue(), 0.5f);
  move({139, 109});  // 20 up
  EXPECT_FLOAT_EQ(k->getValue(), 0.6f);
  move({149, 109});  // and 10 right
  EXPECT_FLOAT_EQ(k->getValue(), 0.65f);
  move({149, 109}, kLButton | kShift);  // Shift pressed mid-drag: no jump
  EXPECT_FLOAT_EQ(k->getValue(), 0.65f);
  move({149, 79}, kLButton | kShift);  // 30 more at 1/300
  EXPECT_FLOAT_EQ(k->getValue(), 0.75f);
  move({149, 0}, kLButton | kShift);  // clamped
  EXPECT_FLOAT_EQ(k->getValue(), 1.0f);
  release({149, 0});
  EXPECT_EQ(log.values.size(), 4u);  // the press and the Shift change moved nothing

  k->setValue(0.5f);
  press({100, 129}, kLButton | kAlt);  // Alt: circular for this drag
  EXPECT_NEAR(k->getValue(), 1.0f / 6.0f, 1e-6);
  release({100, 129});
  log.knobMode = kCircularMode;
  press({129, 129}, kLButton | kAlt);  // and linear in circular mode
  move({129, 109}, kLButton | kAlt);
  EXPECT_NEAR(k->getValue(), 1.0f / 6.0f + 0.1f, 1e-6);
  release({129, 109});
}

TEST_F(Controls, ControlClickSetsTheDefaultAsOneEdit) {
  CAnimKnob* k = knob(0.2f);
  press({110, 110}, kLButton | kControl);
  EXPECT_FLOAT_EQ(k->getValue(), 0.5f);
  EXPECT_EQ(log.events, (Events{"begin 3", "changed 3", "end 3", "idle"}));
  move({157, 129});  // no capture
  EXPECT_FLOAT_EQ(k->getValue(), 0.5f);

  log.clear();
  press({110, 110}, kLButton | kControl);  // already at the default: no change to report
  EXPECT_EQ(log.events, (Events{"begin 3", "end 3"}));
}

}  // namespace
