// How parameter changes travel: to the stored values, to the editor, and to
// the host as automation, in the order hosts and the status lamp rely on.
#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "formats/vst2/murkfell_effect.h"
#include "formats/vst2/aeff_editor.h"
#include "tests/support/recording_host.h"

namespace {

class RecordingEditor : public AEffEditor {
 public:
  using AEffEditor::AEffEditor;
  void setParameter(VstInt32 index, float value) override { told.emplace_back(index, value); }
  std::vector<std::pair<VstInt32, float>> told;
};

class Automation : public ::testing::Test {
 protected:
  void SetUp() override { RecordingHost::instance().reset(); }

  std::vector<std::pair<VstInt32, float>> automated() {
    std::vector<std::pair<VstInt32, float>> reports;
    for (const HostRequest& request : RecordingHost::instance().requestsWith(audioMasterAutomate)) {
      EXPECT_EQ(request.effect, effect.getAeffect());
      reports.emplace_back(request.index, request.opt);
    }
    return reports;
  }

  RecordingEditor* attachEditor() {
    auto* editor = new RecordingEditor(&effect);
    effect.setEditor(editor);  // the effect owns it from here
    return editor;
  }

  MurkfellEffect effect{RecordingHost::callback};
  using Reports = std::vector<std::pair<VstInt32, float>>;
};

TEST_F(Automation, HostSettingBypassReportsOnlyTheLamp) {
  RecordingEditor* editor = attachEditor();
  effect.setParameter(kBypass, 1.0f);
  EXPECT_EQ(automated(), (Reports{{kLed, 1.0f}}));
  EXPECT_EQ(editor->told, (Reports{{kLed, 1.0f}, {kBypass, 1.0f}}));
  EXPECT_EQ(effect.getParameter(kBypass), 1.0f);
  EXPECT_EQ(effect.getParameter(kLed), 1.0f);
}

TEST_F(Automation, UserEditOfBypassReportsLampThenSwitch) {
  effect.setParameterAutomated(kBypass, 1.0f);
  EXPECT_EQ(automated(), (Reports{{kLed, 1.0f}, {kBypass, 1.0f}}));
}

TEST_F(Automation, UserEditOfAKnobReportsItsValue) {
  effect.setParameterAutomated(kGain, 0.8f);
  EXPECT_EQ(automated(), (Reports{{kGain, 0.8f}}));
  EXPECT_EQ(effect.getParameter(kGain), 0.8f);
}

TEST_F(Automation, EditorIsToldOfEveryIndexAsReceived) {
  RecordingEditor* editor = attachEditor();
  for (VstInt32 index : {0, 3, 8, 9, -1}) {
    effect.setParameter(index, 0.25f);
  }
  EXPECT_EQ(editor->told, (Reports{{0, 0.25f}, {3, 0.25f}, {8, 0.25f}, {9, 0.25f}, {-1, 0.25f}}));
  EXPECT_TRUE(automated().empty());
}

TEST_F(Automation, EditBracketsAndIdleReachTheHost) {
  effect.beginEdit(kGain);
  effect.endEdit(kGain);
  effect.masterIdle();
  const auto& requests = RecordingHost::instance().requests();
  ASSERT_EQ(requests.size(), 3u);
  EXPECT_EQ(requests[0].opcode, audioMasterBeginEdit);
  EXPECT_EQ(requests[0].index, kGain);
  EXPECT_EQ(requests[1].opcode, audioMasterEndEdit);
  EXPECT_EQ(requests[1].index, kGain);
  EXPECT_EQ(requests[2].opcode, audioMasterIdle);
}

TEST(AutomationWithoutHost, NullCallbackStillSetsAndTellsTheEditor) {
  MurkfellEffect effect{nullptr};
  auto* editor = new RecordingEditor(&effect);
  effect.setEditor(editor);
  effect.setParameterAutomated(kBypass, 1.0f);
  EXPECT_EQ(effect.getParameter(kBypass), 1.0f);
  EXPECT_EQ(editor->told.size(), 2u);
  EXPECT_FALSE(effect.beginEdit(kGain));
  EXPECT_FALSE(effect.endEdit(kGain));
  effect.masterIdle();
}

}  // namespace
