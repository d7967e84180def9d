// The editor built off-screen: its views, their values and rectangles, how it
// follows parameter changes and how user edits reach the effect and host.
#include "editor/murkfell_editor.h"

#include <gtest/gtest.h>

#include <cmath>
#include <thread>
#include <utility>
#include <vector>

#include "editor/murkfell_label.h"
#include "editor/panel_geometry.h"
#include "formats/vst2/murkfell_effect.h"
#include "tests/support/recording_host.h"
#include "toolkit/c_anim_knob.h"
#include "toolkit/c_frame.h"
#include "toolkit/c_movie_bitmap.h"
#include "toolkit/c_on_off_button.h"

namespace {

// The front panel's views in the order they lie, back to front.
enum FrontView {
  kPage,
  kGainKnob,
  kLevelKnob,
  kBassKnob,
  kMiddleKnob,
  kTrebleKnob,
  kCabSimSwitch,
  kBypassSwitch,
  kLamp,
  kFrontViews
};

class Editor : public ::testing::Test {
 protected:
  void SetUp() override {
    RecordingHost::instance().reset();
    ASSERT_NE(editor(), nullptr);
    ASSERT_EQ(effect.dispatcher(effEditOpen, 0, 0, nullptr, 0.0f), 1);
    frame = editor()->getFrame();
    ASSERT_NE(frame, nullptr);
    ASSERT_EQ(frame->getNbViews(), kFrontViews);
    for (int i = 0; i < kFrontViews; ++i) {
      front[i] = dynamic_cast<CControl*>(frame->getView(i));
      ASSERT_NE(front[i], nullptr) << "view " << i;
    }
    RecordingHost::instance().reset();
  }

  MurkfellEditor* editor() { return dynamic_cast<MurkfellEditor*>(effect.getEditor()); }

  void click(CCoord x, CCoord y, long buttons = kLButton) {
    CPoint where(x, y);
    frame->onMouseDown(where, buttons);
    frame->onMouseUp(where, buttons);
  }

  std::vector<std::pair<VstInt32, VstInt32>> hostRequests() const {
    std::vector<std::pair<VstInt32, VstInt32>> requests;
    for (const HostRequest& request : RecordingHost::instance().requests()) {
      requests.emplace_back(request.opcode, request.index);
    }
    return requests;
  }

  MurkfellEffect effect{RecordingHost::callback};
  CFrame* frame = nullptr;
  CControl* front[kFrontViews] = {};
};

TEST_F(Editor, TheEffectAnnouncesItsEditorAndItsSize) {
  EXPECT_NE(effect.getAeffect()->flags & effFlagsHasEditor, 0);
  ERect* rect = nullptr;
  EXPECT_EQ(effect.dispatcher(effEditGetRect, 0, 0, &rect, 0.0f), 1);
  ASSERT_NE(rect, nullptr);
  EXPECT_EQ(rect->top, 0);
  EXPECT_EQ(rect->left, 0);
  EXPECT_EQ(rect->bottom, 400);
  EXPECT_EQ(rect->right, 340);
}

TEST_F(Editor, FrontPanelOpensWithTheEffectsValues) {
  const VstInt32 tags[kFrontViews] = {kPageSwitch, kGain,   kLevel,  kBass, kMiddle,
                                      kTreble,     kCabSim, kBypass, kLed};
  for (int i = 0; i < kFrontViews; ++i) {
    EXPECT_EQ(front[i]->getTag(), tags[i]) << "view " << i;
  }
  EXPECT_NE(dynamic_cast<COnOffButton*>(front[kPage]), nullptr);
  EXPECT_NE(dynamic_cast<CAnimKnob*>(front[kGainKnob]), nullptr);
  EXPECT_NE(dynamic_cast<CMovieBitmap*>(front[kLamp]), nullptr);
  CRect area;
  EXPECT_EQ(front[kPage]->getMouseableArea(area), CRect(40, 320, 150, 370));
  for (int knob = kGainKnob; knob <= kTrebleKnob; ++knob) {
    EXPECT_EQ(front[knob]->getValue(), 0.5f);
  }
  EXPECT_EQ(front[kCabSimSwitch]->getValue(), 1.0f);
  EXPECT_EQ(front[kBypassSwitch]->getValue(), 0.0f);
  EXPECT_EQ(front[kLamp]->getValue(), 0.0f);
}

TEST_F(Editor, ControlsSitWhereTheArtworkPutsThem) {
  EXPECT_EQ(front[kPage]->getViewSize(), CRect(0, 0, 340, 400));
  EXPECT_EQ(front[kGainKnob]->getViewSize(), CRect(43, 114, 101, 172));
  EXPECT_EQ(front[kLevelKnob]->getViewSize(), CRect(238, 114, 296, 172));
  EXPECT_EQ(front[kBassKnob]->getViewSize(), CRect(71, 42, 129, 100));
  EXPECT_EQ(front[kMiddleKnob]->getViewSize(), CRect(141, 42, 199, 100));
  EXPECT_EQ(front[kTrebleKnob]->getViewSize(), CRect(210, 42, 268, 100));
  EXPECT_EQ(front[kCabSimSwitch]->getViewSize(), CRect(156, 139, 184, 167));
  EXPECT_EQ(front[kBypassSwitch]->getViewSize(), CRect(140, 265, 200, 325));
  EXPECT_EQ(front[kLamp]->getViewSize(), CRect(162, 192, 178, 208));
}

TEST(PanelGeometry, SizesRoundTowardZero) {
  EXPECT_EQ(knobRect(CPoint(72, 143), 57), CRect(44, 115, 101, 172));
  EXPECT_EQ(knobRect(CPoint(72, 143), 0), CRect(72, 143, 72, 143));
  EXPECT_EQ(switchRect(CPoint(170, 153), 28, 56), CRect(156, 139, 184, 167));
  EXPECT_EQ(switchRect(CPoint(170, 153), 0, 0), CRect(170, 153, 170, 153));
  EXPECT_EQ(switchRect(CPoint(170, 295), 61, 118), CRect(140, 266, 201, 325));
}

TEST_F(Editor, EachIndexMovesItsOwnControl) {
  effect.setParameter(kMiddle, 0.7f);
  EXPECT_EQ(front[kMiddleKnob]->getValue(), 0.7f);
  EXPECT_EQ(front[kBassKnob]->getValue(), 0.5f);
  effect.setParameter(kBypass, 1.0f);
  EXPECT_EQ(front[kBypassSwitch]->getValue(), 1.0f);
  EXPECT_EQ(front[kLamp]->getValue(), 1.0f) << "the lamp follows the footswitch";
  for (VstInt32 index : {9, -1, 100}) {
    editor()->setParameter(index, 0.25f);
  }
  for (int i = kGainKnob; i <= kTrebleKnob; ++i) {
    EXPECT_EQ(front[i]->getValue(), i == kMiddleKnob ? 0.7f : 0.5f);
  }
  EXPECT_EQ(frame->getNbViews(), kFrontViews);
}

TEST_F(Editor, PageValuesTurnThePedalOver) {
  for (float page : {0.25f, std::nanf("")}) {
    effect.setParameter(kPageSwitch, page);
    ASSERT_EQ(frame->getNbViews(), 2);
    EXPECT_EQ(frame->getView(0), front[kPage]);
    auto* panel = dynamic_cast<MurkfellLabel*>(frame->getView(1));
    ASSERT_NE(panel, nullptr);
    EXPECT_FALSE(panel->getMouseEnabled());
    CRect area;
    EXPECT_EQ(front[kPage]->getMouseableArea(area), CRect(0, 0, 340, 400));
    EXPECT_EQ(front[kPage]->getValue(), 1.0f) << "the background shows the back face";
    EXPECT_EQ(effect.getParameter(kPageSwitch), 0.0f);

    effect.setParameter(kGain, 0.9f);  // reaches the detached knob
    effect.setParameter(kPageSwitch, 0.0f);
    ASSERT_EQ(frame->getNbViews(), kFrontViews);
    EXPECT_EQ(front[kPage]->getValue(), 0.0f);
    EXPECT_EQ(frame->getView(kGainKnob), front[kGainKnob]);
    EXPECT_EQ(front[kGainKnob]->getValue(), 0.9f);
    effect.setParameter(kGain, 0.5f);
  }
}

TEST_F(Editor, ClickingTheFootswitchBypassesAndReportsLampThenSwitch) {
  click(170, 300);
  EXPECT_EQ(front[kBypassSwitch]->getValue(), 1.0f);
  EXPECT_EQ(front[kLamp]->getValue(), 1.0f);
  EXPECT_EQ(effect.getParameter(kBypass), 1.0f);
  const std::vector<std::pair<VstInt32, VstInt32>> expected = {{audioMasterBeginEdit, kBypass},
                                                               {audioMasterAutomate, kLed},
                                                               {audioMasterAutomate, kBypass},
                                                               {audioMasterEndEdit, kBypass}};
  EXPECT_EQ(hostRequests(), expected);
}

TEST_F(Editor, TheLogoTurnsThePedalOverAndAnyClickTurnsItBack) {
  click(60, 330);
  EXPECT_EQ(frame->getNbViews(), 2);
  click(170, 190);  // over the information panel, which does not take the mouse
  EXPECT_EQ(frame->getNbViews(), kFrontViews);
  click(20, 20);  // outside the logo on the front: nothing
  EXPECT_EQ(frame->getNbViews(), kFrontViews);
}

TEST_F(Editor, DraggingTheGainKnobAutomatesGain) {
  effect.dispatcher(effSetEditKnobMode, 0, 2, nullptr, 0.0f);  // linear
  CPoint where(72, 143);
  frame->onMouseDown(where, kLButton);
  for (int step = 1; step <= 5; ++step) {
    CPoint moved(72, 143 - 8 * step);
    frame->onMouseMoved(moved, kLButton);
  }
  frame->onMouseUp(where, kLButton);
  effect.dispatcher(effSetEditKnobMode, 0, 0, nullptr, 0.0f);

  EXPECT_GT(effect.getParameter(kGain), 0.6f);
  EXPECT_EQ(front[kGainKnob]->getValue(), effect.getParameter(kGain));
  const auto& requests = RecordingHost::instance().requests();
  ASSERT_GE(requests.size(), 3u);
  EXPECT_EQ(requests.front().opcode, audioMasterBeginEdit);
  EXPECT_EQ(requests.back().opcode, audioMasterEndEdit);
  float last = 0.5f;
  for (std::size_t i = 1; i + 1 < requests.size(); ++i) {
    EXPECT_EQ(requests[i].opcode, audioMasterAutomate);
    EXPECT_EQ(requests[i].index, kGain);
    EXPECT_GT(requests[i].opt, last);
    last = requests[i].opt;
  }
}

TEST_F(Editor, ChangesFromOtherThreadsWaitForIdle) {
  std::thread automation([this] {
    effect.setParameter(kTreble, 0.1f);
    effect.setParameter(kPageSwitch, 1.0f);
  });
  automation.join();
  EXPECT_EQ(front[kTrebleKnob]->getValue(), 0.5f);
  EXPECT_EQ(frame->getNbViews(), kFrontViews);
  effect.dispatcher(effEditIdle, 0, 0, nullptr, 0.0f);
  EXPECT_EQ(front[kTrebleKnob]->getValue(), 0.1f);
  EXPECT_EQ(frame->getNbViews(), 2);
}

TEST_F(Editor, ReopeningReadsTheValuesAfresh) {
  effect.dispatcher(effEditClose, 0, 0, nullptr, 0.0f);
  EXPECT_EQ(editor()->getFrame(), nullptr);
  effect.setParameter(kGain, 0.3f);
  std::thread([this] { effect.setParameter(kPageSwitch, 1.0f); }).join();
  ASSERT_EQ(effect.dispatcher(effEditOpen, 0, 0, nullptr, 0.0f), 1);
  effect.dispatcher(effEditIdle, 0, 0, nullptr, 0.0f);
  CFrame* reopened = editor()->getFrame();
  ASSERT_NE(reopened, nullptr);
  ASSERT_EQ(reopened->getNbViews(), kFrontViews) << "always opens on the front panel";
  EXPECT_EQ(dynamic_cast<CControl*>(reopened->getView(kGainKnob))->getValue(), 0.3f);
}

TEST_F(Editor, OpenCloseCyclesOnEitherFace) {
  for (int cycle = 0; cycle < 20; ++cycle) {
    effect.setParameter(kPageSwitch, cycle % 2 == 0 ? 1.0f : 0.0f);
    effect.dispatcher(effEditClose, 0, 0, nullptr, 0.0f);
    effect.dispatcher(effEditClose, 0, 0, nullptr, 0.0f);
    EXPECT_EQ(effect.dispatcher(effEditOpen, 0, 0, nullptr, 0.0f), 1);
    EXPECT_EQ(effect.dispatcher(effEditOpen, 0, 0, nullptr, 0.0f), 1);
  }
  EXPECT_NE(editor()->getFrame(), nullptr);
  // The effect's destructor closes the window that is still open.
}

TEST(EditorClosed, ParameterChangesBeforeOpeningAreHarmless) {
  MurkfellEffect effect{nullptr};
  for (VstInt32 index = -1; index <= 9; ++index) {
    effect.setParameter(index, 0.3f);
  }
  effect.dispatcher(effEditIdle, 0, 0, nullptr, 0.0f);
  effect.dispatcher(effEditClose, 0, 0, nullptr, 0.0f);
  EXPECT_EQ(effect.getEditor()->isOpen(), false);
}

}  // namespace
