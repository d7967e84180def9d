#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "tests/toolkit/edit_log.h"
#include "tests/toolkit/pixels.h"
#include "toolkit/c_anim_knob.h"
#include "toolkit/c_bitmap.h"
#include "toolkit/c_draw_context.h"
#include "toolkit/c_frame.h"
#include "toolkit/c_movie_bitmap.h"
#include "toolkit/c_on_off_button.h"

namespace {

using Events = std::vector<std::string>;
constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();
constexpr CColor kGreen{0, 200, 0, 255};
constexpr CColor kBlue{0, 0, 200, 255};

// Controls attached to an off-screen frame whose editor is the log.
class Controls : public ::testing::Test {
 protected:
  Controls() {
    strip = new CBitmap(CResourceDescription("Strip61.png"));
    onOff = new CBitmap(CResourceDescription("OnOff.png"));
  }
  ~Controls() override {
    frame->forget();
    strip->forget();
    onOff->forget();
  }
  template <typename View>
  View* attach(View* view) {
    frame->addView(view);
    return view;
  }
  // A 58 x 58 knob at (100, 100): its centre is (129, 129).
  CAnimKnob* knob(float value) {
    auto* k = attach(new CAnimKnob(CRect(100, 100, 158, 158), &log, 3, 61, 2, strip));
    k->setValue(value);
    return k;
  }
  CMouseEventResult press(CPoint where, long buttons = kLButton) {
    return frame->onMouseDown(where, buttons);
  }
  void move(CPoint where, long buttons = kLButton) { frame->onMouseMoved(where, buttons); }
  void release(CPoint where) { frame->onMouseUp(where, kLButton); }
  CColor drawnAt(CControl* control, int x, int y) {
    control->setDirty(true);
    frame->idle();
    return pixelAt(frame->getImage(), x, y);
  }

  EditLog log;
  CFrame* frame = new CFrame(CRect(0, 0, 200, 200), nullptr, &log);
  CBitmap* strip;
  CBitmap* onOff;
};

TEST_F(Controls, KnobShowsFloorOfValueTimesLastIndex) {
  CAnimKnob* k = knob(0.0f);
  const std::pair<float, long> cases[] = {
      {0.0f, 0}, {1.0f / 60.0f, 1}, {0.5f, 30}, {59.9f / 60.0f, 59}, {1.0f, 60},
      {-0.3f, 0}, {1.7f, 60}, {kNaN, 0}};
  for (auto [value, index] : cases) {
    k->setValue(value);
    EXPECT_EQ(k->subImageIndex(), index) << value;
  }
  k->setValue(0.5f);
  EXPECT_EQ(drawnAt(k, 101, 101).red, 4 * 30);
  k->setValue(1.0f);
  EXPECT_EQ(drawnAt(k, 101, 101).red, 4 * 60);
}

TEST_F(Controls, MovieBitmapShowsRoundedValue) {
  auto* movie = attach(new CMovieBitmap(CRect(0, 0, 3, 2), &log, 8, 61, 2, strip));
  const std::pair<float, long> cases[] = {
      {0.0f, 0}, {1.0f / 60.0f, 1}, {0.99f, 59}, {1.0f, 60}, {3.0f, 60}, {-1.0f, 0}, {kNaN, 0}};
  for (auto [value, index] : cases) {
    movie->setValue(value);
    EXPECT_EQ(movie->subImageIndex(), index) << value;
  }
  auto* lamp = attach(new CMovieBitmap(CRect(10, 10, 14, 14), &log, 8, 2, 4, onOff));
  lamp->setValue(0.3f);
  EXPECT_EQ(drawnAt(lamp, 11, 11), kGreen);
  lamp->setValue(1.0f);
  EXPECT_EQ(drawnAt(lamp, 11, 11), kBlue);
}

TEST_F(Controls, OnOffButtonShowsUpperHalfOnlyAtZero) {
  auto* button = attach(new COnOffButton(CRect(20, 20, 24, 24), &log, 6, onOff));
  for (auto [value, colour] : {std::pair{0.0f, kGreen}, std::pair{0.3f, kBlue},
                               std::pair{1.0f, kBlue}, std::pair{-1.0f, kBlue}}) {
    button->setValue(value);
    EXPECT_EQ(drawnAt(button, 21, 23), colour) << value;
  }
}

TEST_F(Controls, OnOffButtonToggleIsOneBracketedEdit) {
  auto* button = attach(new COnOffButton(CRect(20, 20, 24, 24), &log, 6, onOff));
  EXPECT_EQ(press({21, 21}), kMouseDownEventHandledButDontNeedMovedOrUpEvents);
  EXPECT_EQ(button->getValue(), 1.0f);
  EXPECT_EQ(log.events, (Events{"begin 6", "changed 6", "end 6"}));
  EXPECT_EQ(log.values, std::vector<float>{1.0f});

  button->setValue(0.3f);
  log.clear();
  press({21, 21});
  EXPECT_EQ(button->getValue(), 0.0f);
  EXPECT_EQ(log.events, (Events{"begin 6", "changed 6", "end 6"}));

  log.clear();
  EXPECT_EQ(press({21, 21}, kRButton), kMouseEventNotHandled);
  EXPECT_EQ(button->getValue(), 0.0f);
  EXPECT_TRUE(log.events.empty());
}

TEST_F(Controls, CircularKnobFollowsTheAngleAroundItsCentre) {
  CAnimKnob* k = knob(0.4f);
  EXPECT_EQ(press({129, 100}), kMouseEventHandled);  // straight up: the middle
  EXPECT_FLOAT_EQ(k->getValue(), 0.5f);
  move({100, 129});  // left: 45 of 270 degrees
  EXPECT_NEAR(k->getValue(), 1.0f / 6.0f, 1e-6);
  move({100, 129});  // no change, no notification
  move({129, 100});
  move({158, 129});  // right: 225 of 270 degrees
  EXPECT_NEAR(k->getValue(), 5.0f / 6.0f, 1e-6);
  release({158, 129});
  EXPECT_EQ(log.events,
            (Events{"begin 3", "changed 3", "changed 3", "changed 3", "changed 3", "end 3"}));
  EXPECT_FLOAT_EQ(log.values[0], 0.5f);
}

TEST_F(Controls, CircularKnobDeadZoneAndJumpsClampInsteadOfWrapping) {
  CAnimKnob* k = knob(0.5f);
  press({129, 100});
  move({120, 158});  // bottom, left of centre: the lower end
  EXPECT_EQ(k->getValue(), 0.0f);
  move({100, 150});  // lower left, just inside the sweep
  const float nearStart = k->getValue();
  EXPECT_GT(nearStart, 0.0f);
  EXPECT_LT(nearStart, 0.1f);
  move({158, 158});  // lower right in one move: stays at the lower end
  EXPECT_EQ(k->getValue(), 0.0f);
  release({158, 158});

  k->setValue(0.5f);
  press({157, 129});
  move({138, 158});  // bottom, right of centre: the upper end
  EXPECT_EQ(k->getValue(), 1.0f);
  move({100, 158});  // a jump down across the dead zone stays at the upper end
  EXPECT_EQ(k->getValue(), 1.0f);
  release({100, 158});
}

TEST_F(Controls, LinearKnobMovesWithPixelsUpAndRight) {
  log.knobMode = kLinearMode;
  CAnimKnob* k = knob(0.5f);
  press({10 + 129, 129});  // where the drag starts does not matter in linear mode
  EXPECT_FLOAT_EQ(k->getValue(), 0.5f);
  move({139, 109});  // 20 up
  EXPECT_FLOAT_EQ(k->getValue(), 0.6f);
  move({149, 109});  // and 10 right
  EXPECT_FLOAT_EQ(k->getValue(), 0.65f);
  move({149, 0});  // far up: clamped
  EXPECT_FLOAT_EQ(k->getValue(), 1.0f);
  move({139, 229});  // 100 down
  EXPECT_FLOAT_EQ(k->getValue(), 0.0f);
  release({139, 229});
  EXPECT_EQ(log.events.front(), "begin 3");
  EXPECT_EQ(log.events.back(), "end 3");
  EXPECT_EQ(log.values.size(), 4u);  // the press itself changed nothing
}

TEST_F(Controls, ShiftMakesLinearDragFinerWithoutJumpWhenPressedMidDrag) {
  log.knobMode = kLinearMode;
  CAnimKnob* k = knob(0.5f);
  press({129, 129}, kLButton | kShift);
  move({129, 99}, kLButton | kShift);  // 30 up at 1/300
  EXPECT_FLOAT_EQ(k->getValue(), 0.6f);
  release({129, 99});

  k->setValue(0.5f);
  press({129, 129});
  move({129, 109});  // 20 up at 1/200
  EXPECT_FLOAT_EQ(k->getValue(), 0.6f);
  move({129, 109}, kLButton | kShift);  // Shift pressed: no jump
  EXPECT_FLOAT_EQ(k->getValue(), 0.6f);
  move({129, 79}, kLButton | kShift);  // 30 more at 1/300
  EXPECT_FLOAT_EQ(k->getValue(), 0.7f);
  release({129, 79});
}

TEST_F(Controls, AltSwapsLinearAndCircularForOneDrag) {
  CAnimKnob* k = knob(0.5f);
  press({129, 129}, kLButton | kAlt);  // circular mode, Alt: linear from the centre
  move({129, 109}, kLButton | kAlt);
  EXPECT_FLOAT_EQ(k->getValue(), 0.6f);
  release({129, 109});

  log.knobMode = kLinearMode;
  press({100, 129}, kLButton | kAlt);  // linear mode, Alt: circular
  EXPECT_NEAR(k->getValue(), 1.0f / 6.0f, 1e-6);
  release({100, 129});

  log.knobMode = kRelativCircularMode;
  press({129, 100});
  EXPECT_FLOAT_EQ(k->getValue(), 0.5f);
  release({129, 100});
}

TEST_F(Controls, ControlClickSetsTheDefaultAsOneEdit) {
  CAnimKnob* k = knob(0.2f);
  EXPECT_EQ(press({110, 110}, kLButton | kControl),
            kMouseDownEventHandledButDontNeedMovedOrUpEvents);
  EXPECT_FLOAT_EQ(k->getValue(), 0.5f);
  EXPECT_EQ(log.events, (Events{"begin 3", "changed 3", "end 3"}));
  move({158, 129});  // no capture: later moves reach nothing
  EXPECT_FLOAT_EQ(k->getValue(), 0.5f);
}

TEST_F(Controls, ControlsHoldTheirOwnBitmapReference) {
  EXPECT_EQ(strip->getNbReference(), 1);
  CAnimKnob* k = knob(0.0f);
  auto* movie = new CMovieBitmap(CRect(0, 0, 3, 2), &log, 8, 61, 2, strip);
  EXPECT_EQ(strip->getNbReference(), 3);
  movie->forget();
  frame->removeAll(true);
  EXPECT_EQ(strip->getNbReference(), 1);
  (void)k;
}

}  // namespace
