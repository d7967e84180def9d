// The editor built off-screen: its views, their values and rectangles, how it
// follows parameter changes and how user edits reach its controller.
#include "editor/murkfell_editor.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <thread>
#include <vector>

#include "core/parameter_store.h"
#include "editor/murkfell_label.h"
#include "editor/panel_geometry.h"
#include "resources/resource_table.h"
#include "toolkit/c_anim_knob.h"
#include "toolkit/c_frame.h"
#include "toolkit/c_movie_bitmap.h"
#include "toolkit/c_on_off_button.h"

namespace {

using namespace murkfell;

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

// Stands in for a plug-in format: stores the values, tells the editor of
// every change (the lamp with Bypass, as the shells do) and logs what the
// editor asks of it.
class RecordingController : public EditorController {
 public:
  float parameter(std::int32_t index) override { return values.get(index); }
  void setParameterFromEditor(std::int32_t index, float value) override {
    log.push_back("set " + std::to_string(index) + " " + std::to_string(value));
    if (echoesEdits) {
      change(index, value);
    } else {
      values.set(index, value);
    }
  }
  bool beginEdit(std::int32_t index) override {
    log.push_back("begin " + std::to_string(index));
    return true;
  }
  bool endEdit(std::int32_t index) override {
    log.push_back("end " + std::to_string(index));
    return true;
  }
  void hostIdle() override { log.push_back("idle"); }

  // A change from the host, on any thread.
  void change(std::int32_t index, float value) {
    values.set(index, value);
    editor->parameterChanged(index, value);
    if (index == kBypass) editor->parameterChanged(kLed, value);
  }

  ParameterStore values;
  MurkfellEditor* editor = nullptr;
  // Whether the editor hears of its own edits again, as a VST 2.4 effect
  // tells it; other formats need not.
  bool echoesEdits = true;
  std::vector<std::string> log;
};

class Editor : public ::testing::Test {
 protected:
  void SetUp() override {
    controller.editor = &editor;
    ASSERT_TRUE(editor.open(nullptr));
    frame = editor.getFrame();
    ASSERT_NE(frame, nullptr);
    ASSERT_EQ(frame->getNbViews(), kFrontViews);
    for (int i = 0; i < kFrontViews; ++i) {
      front[i] = dynamic_cast<CControl*>(frame->getView(i));
      ASSERT_NE(front[i], nullptr) << "view " << i;
    }
  }

  void click(CCoord x, CCoord y, long buttons = kLButton) {
    CPoint where(x, y);
    frame->onMouseDown(where, buttons);
    frame->onMouseUp(where, buttons);
    editor.idle();
  }
  void hostSets(std::int32_t index, float value) {
    controller.change(index, value);
    editor.idle();
  }

  RecordingController controller;
  MurkfellEditor editor{controller, findImage};
  CFrame* frame = nullptr;
  CControl* front[kFrontViews] = {};
};

TEST(EditorSize, IsFixedAndKnownBeforeAnyWindow) {
  EXPECT_EQ(MurkfellEditor::kSize, CRect(0, 0, 340, 400));
}

TEST_F(Editor, FrontPanelOpensWithTheControllersValues) {
  const std::int32_t tags[kFrontViews] = {kPageSwitch, kGain,   kLevel,  kBass, kMiddle,
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
  hostSets(kMiddle, 0.7f);
  EXPECT_EQ(front[kMiddleKnob]->getValue(), 0.7f);
  EXPECT_EQ(front[kBassKnob]->getValue(), 0.5f);
  hostSets(kBypass, 1.0f);
  EXPECT_EQ(front[kBypassSwitch]->getValue(), 1.0f);
  EXPECT_EQ(front[kLamp]->getValue(), 1.0f) << "the lamp follows the footswitch";
  for (std::int32_t index : {9, -1, 100}) {
    editor.parameterChanged(index, 0.25f);
  }
  editor.idle();
  for (int i = kGainKnob; i <= kTrebleKnob; ++i) {
    EXPECT_EQ(front[i]->getValue(), i == kMiddleKnob ? 0.7f : 0.5f);
  }
  EXPECT_EQ(frame->getNbViews(), kFrontViews);
}

TEST_F(Editor, PageValuesTurnThePedalOver) {
  for (float page : {0.25f, std::nanf("")}) {
    hostSets(kPageSwitch, page);
    ASSERT_EQ(frame->getNbViews(), 2);
    EXPECT_EQ(frame->getView(0), front[kPage]);
    auto* panel = dynamic_cast<MurkfellLabel*>(frame->getView(1));
    ASSERT_NE(panel, nullptr);
    EXPECT_FALSE(panel->getMouseEnabled());
    CRect area;
    EXPECT_EQ(front[kPage]->getMouseableArea(area), CRect(0, 0, 340, 400));
    EXPECT_EQ(front[kPage]->getValue(), 1.0f) << "the background shows the back face";

    hostSets(kGain, 0.9f);  // reaches the detached knob
    hostSets(kPageSwitch, 0.0f);
    ASSERT_EQ(frame->getNbViews(), kFrontViews);
    EXPECT_EQ(front[kPage]->getValue(), 0.0f);
    EXPECT_EQ(frame->getView(kGainKnob), front[kGainKnob]);
    EXPECT_EQ(front[kGainKnob]->getValue(), 0.9f);
    hostSets(kGain, 0.5f);
  }
}

TEST_F(Editor, ClickingTheFootswitchIsOneEditAndLightsTheLamp) {
  click(170, 300);
  EXPECT_EQ(front[kBypassSwitch]->getValue(), 1.0f);
  EXPECT_EQ(front[kLamp]->getValue(), 1.0f);
  EXPECT_EQ(controller.values.get(kBypass), 1.0f);
  EXPECT_EQ(controller.log,
            (std::vector<std::string>{"begin 7", "set 7 1.000000", "end 7", "idle"}));
}

TEST_F(Editor, TheLogoTurnsThePedalOverAndAnyClickTurnsItBack) {
  click(60, 330);
  EXPECT_EQ(frame->getNbViews(), 2);
  EXPECT_EQ(controller.log,
            (std::vector<std::string>{"begin 0", "set 0 1.000000", "end 0", "idle"}))
      << "the face turns whether or not the host keeps the page value";
  click(170, 190);  // over the information panel, which does not take the mouse
  EXPECT_EQ(frame->getNbViews(), kFrontViews);
  click(20, 20);  // outside the logo on the front: nothing
  EXPECT_EQ(frame->getNbViews(), kFrontViews);
}

TEST_F(Editor, DraggingTheGainKnobSetsGainStepByStep) {
  VSTGUIEditorInterface::setKnobMode(kLinearMode);
  CPoint where(72, 143);
  frame->onMouseDown(where, kLButton);
  for (int step = 1; step <= 5; ++step) {
    CPoint moved(72, 143 - 8 * step);
    frame->onMouseMoved(moved, kLButton);
  }
  frame->onMouseUp(where, kLButton);
  VSTGUIEditorInterface::setKnobMode(kCircularMode);

  EXPECT_GT(controller.values.get(kGain), 0.6f);
  EXPECT_EQ(front[kGainKnob]->getValue(), controller.values.get(kGain));
  // Each step is set, then the host gets idle time.
  const std::vector<std::string>& log = controller.log;
  ASSERT_EQ(log.size(), 12u);
  EXPECT_EQ(log.front(), "begin 1");
  EXPECT_EQ(log.back(), "end 1");
  float last = 0.5f;
  for (std::size_t i = 1; i + 1 < log.size(); i += 2) {
    ASSERT_EQ(log[i].rfind("set 1 ", 0), 0u) << log[i];
    EXPECT_EQ(log[i + 1], "idle");
    const float value = std::stof(log[i].substr(6));
    EXPECT_GT(value, last);
    last = value;
  }
}

TEST_F(Editor, ChangesWaitForIdleAndShowTheControllersLatestValue) {
  std::thread automation([this] {
    controller.change(kTreble, 0.1f);
    controller.change(kPageSwitch, 1.0f);
  });
  automation.join();
  EXPECT_EQ(front[kTrebleKnob]->getValue(), 0.5f);
  EXPECT_EQ(frame->getNbViews(), kFrontViews);
  controller.values.set(kTreble, 0.7f);  // a later value, not announced yet
  editor.idle();
  EXPECT_EQ(front[kTrebleKnob]->getValue(), 0.7f);
  EXPECT_EQ(frame->getNbViews(), 2);
}

// Automation queues a value on its own thread; before the next idle the user
// sets another on the window thread, which the controller does not echo. The
// knob must end up showing what the controller holds, not the queued value.
TEST_F(Editor, QueuedAutomationNeverOverridesALaterUserEdit) {
  controller.echoesEdits = false;
  std::thread([this] { controller.change(kGain, 0.2f); }).join();
  const CPoint overGain(72, 143);
  frame->onWheel(overGain, 2.0f, 0);  // from the 0.5 the knob still shows
  editor.idle();
  EXPECT_NEAR(controller.values.get(kGain), 0.7f, 1e-6);
  EXPECT_EQ(front[kGainKnob]->getValue(), controller.values.get(kGain));

  frame->onWheel(overGain, -1.0f, 0);
  std::thread([this] { controller.change(kGain, 0.2f); }).join();  // the later one wins
  editor.idle();
  EXPECT_EQ(front[kGainKnob]->getValue(), 0.2f);
  EXPECT_EQ(controller.values.get(kGain), 0.2f);

  // The face likewise: the host's window thread turns it back at once.
  std::thread([this] { controller.change(kPageSwitch, 1.0f); }).join();
  controller.change(kPageSwitch, 0.0f);
  editor.idle();
  EXPECT_EQ(frame->getNbViews(), kFrontViews);
}

TEST_F(Editor, TheLampFollowsBypassSetOnAnotherThread) {
  for (float bypass : {1.0f, 0.0f}) {
    std::thread([&] { controller.change(kBypass, bypass); }).join();
    EXPECT_EQ(front[kLamp]->getValue(), 1.0f - bypass) << "changes wait for idle";
    editor.idle();
    EXPECT_EQ(front[kBypassSwitch]->getValue(), bypass);
    EXPECT_EQ(front[kLamp]->getValue(), bypass);
  }
}

TEST_F(Editor, ArrowKeysStepTheKnobUnderThePointer) {
  CKeyCode up{0, kVirtualKeyUp, 0};
  EXPECT_FALSE(editor.onKeyDown(up)) << "no knob under the pointer, none touched";
  CPoint overTreble(239, 71);
  frame->onMouseMoved(overTreble, 0);
  EXPECT_TRUE(editor.onKeyDown(up));
  EXPECT_TRUE(editor.onKeyUp(up));
  CKeyCode space{' ', kVirtualKeyNone, 0};
  EXPECT_FALSE(editor.onKeyDown(space)) << "the host keeps its own shortcuts";
  EXPECT_EQ(controller.log,
            (std::vector<std::string>{"begin 4", "set 4 0.600000", "end 4", "idle"}));
  editor.close();
  EXPECT_FALSE(editor.onKeyDown(up));
}

TEST_F(Editor, ControlClickOnAKnobAtItsDefaultSetsNothing) {
  click(72, 143, kLButton | kControl);
  EXPECT_EQ(controller.log, (std::vector<std::string>{"begin 1", "end 1"}));
  hostSets(kGain, 0.9f);
  click(72, 143, kLButton | kControl);
  EXPECT_EQ(controller.values.get(kGain), 0.5f);
  EXPECT_EQ(controller.log.size(), 6u);  // begin, set, end, idle
}

TEST_F(Editor, ReopeningReadsTheValuesAfresh) {
  editor.close();
  EXPECT_EQ(editor.getFrame(), nullptr);
  controller.change(kGain, 0.3f);
  std::thread([this] { controller.change(kPageSwitch, 1.0f); }).join();
  ASSERT_TRUE(editor.open(nullptr));
  editor.idle();
  CFrame* reopened = editor.getFrame();
  ASSERT_NE(reopened, nullptr);
  ASSERT_EQ(reopened->getNbViews(), kFrontViews) << "always opens on the front panel";
  EXPECT_EQ(dynamic_cast<CControl*>(reopened->getView(kGainKnob))->getValue(), 0.3f);
}

TEST_F(Editor, OpenCloseCyclesOnEitherFace) {
  for (int cycle = 0; cycle < 20; ++cycle) {
    hostSets(kPageSwitch, cycle % 2 == 0 ? 1.0f : 0.0f);
    editor.close();
    editor.close();
    EXPECT_TRUE(editor.open(nullptr));
    EXPECT_TRUE(editor.open(nullptr));
  }
  EXPECT_NE(editor.getFrame(), nullptr);
  // The editor's destructor closes the window that is still open.
}

TEST(EditorClosed, ParameterChangesBeforeOpeningAreHarmless) {
  RecordingController controller;
  MurkfellEditor editor{controller, findImage};
  controller.editor = &editor;
  for (std::int32_t index = -1; index <= 9; ++index) {
    editor.parameterChanged(index, 0.3f);
  }
  editor.idle();
  editor.close();
  EXPECT_FALSE(editor.isOpen());
}

}  // namespace
