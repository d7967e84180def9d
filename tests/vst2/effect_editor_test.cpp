// The pedal's effect with its own editor open off-screen: changes the host
// makes from other threads reach the controls at the next idle, and never
// override a later edit made in the window.
#include <gtest/gtest.h>

#include <thread>

#include "formats/vst2/aeff_gui_editor.h"
#include "formats/vst2/murkfell_effect.h"
#include "toolkit/c_control.h"
#include "toolkit/c_frame.h"

namespace {

using namespace murkfell;

// The front panel's views by position: the Gain knob, the footswitch, the lamp.
constexpr long kGainView = 1;
constexpr long kBypassView = 7;
constexpr long kLampView = 8;

class EffectEditor : public ::testing::Test {
 protected:
  void SetUp() override {
    auto* binding = dynamic_cast<AEffGUIEditor*>(effect.getEditor());
    ASSERT_NE(binding, nullptr);
    ASSERT_EQ(dispatch(effEditOpen), 1);
    frame = binding->pedalEditor().getFrame();
    ASSERT_NE(frame, nullptr);
  }
  void TearDown() override { dispatch(effEditClose); }
  VstIntPtr dispatch(VstInt32 opcode) {
    return effect.getAeffect()->dispatcher(effect.getAeffect(), opcode, 0, 0, nullptr, 0.0f);
  }
  float shown(long view) { return dynamic_cast<CControl*>(frame->getView(view))->getValue(); }

  MurkfellEffect effect{nullptr};
  CFrame* frame = nullptr;
};

TEST_F(EffectEditor, QueuedAutomationNeverOverridesALaterWindowEdit) {
  std::thread([this] { effect.setParameter(kGain, 0.2f); }).join();
  frame->onWheel(CPoint(72, 143), 2.0f, 0);  // from the 0.5 still shown
  dispatch(effEditIdle);
  EXPECT_NEAR(effect.getParameter(kGain), 0.7f, 1e-6);
  EXPECT_EQ(shown(kGainView), effect.getParameter(kGain));

  std::thread([this] { effect.setParameter(kPageSwitch, 1.0f); }).join();
  effect.setParameter(kPageSwitch, 0.0f);  // the host's window thread, at once
  dispatch(effEditIdle);
  EXPECT_EQ(frame->getNbViews(), 9);
}

TEST_F(EffectEditor, TheLampFollowsBypassSetFromAnotherThread) {
  for (float bypass : {1.0f, 0.0f}) {
    std::thread([&] { effect.setParameter(kBypass, bypass); }).join();
    EXPECT_EQ(shown(kLampView), 1.0f - bypass) << "changes wait for idle";
    dispatch(effEditIdle);
    EXPECT_EQ(shown(kBypassView), bypass);
    EXPECT_EQ(shown(kLampView), bypass);
  }
}

}  // namespace
