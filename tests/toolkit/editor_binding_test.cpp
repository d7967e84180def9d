#include <gtest/gtest.h>

#include <vector>

#include "formats/vst2/audio_effect_x.h"
#include "formats/vst2/aeff_gui_editor.h"
#include "toolkit/c_anim_knob.h"
#include "toolkit/c_frame.h"

namespace {

struct HostCall {
  VstInt32 opcode;
  VstInt32 index;
};
std::vector<HostCall> calls;

VstIntPtr recordingHost(AEffect*, VstInt32 opcode, VstInt32 index, VstIntPtr, void*, float) {
  calls.push_back({opcode, index});
  return 1;
}

class PlainEffect : public AudioEffectX {
 public:
  PlainEffect() : AudioEffectX(recordingHost, 1, 9) {}
};

// An editor whose off-screen frame holds a knob (tag 3) and a view that calls
// back into the editor's idle while it is drawn and counts its disposal.
class TestEditor : public AEffGUIEditor {
 public:
  explicit TestEditor(AudioEffect* effect) : AEffGUIEditor(effect) { rect = ERect{0, 0, 400, 340}; }
  // Closes here, while the views can still reach this editor.
  ~TestEditor() override { close(); }
  bool open(void* ptr) override {
    AEffGUIEditor::open(ptr);
    frame = new CFrame(CRect(0, 0, 340, 400), nullptr, this);
    frame->addView(new CAnimKnob(CRect(0, 0, 58, 58), nullptr, 3, 61, 58, nullptr));
    frame->addView(new ReenteringView(*this));
    return true;
  }
  int nestedIdles = 0;
  int disposedViews = 0;

 private:
  class ReenteringView : public CView {
   public:
    explicit ReenteringView(TestEditor& editor) : CView(CRect(0, 0, 10, 10)), editor(editor) {}
    ~ReenteringView() override { ++editor.disposedViews; }
    void draw(CDrawContext*) override {
      ++editor.nestedIdles;
      editor.idle();
    }

   private:
    TestEditor& editor;
  };
};

class EditorBinding : public ::testing::Test {
 protected:
  EditorBinding() { calls.clear(); }
  ~EditorBinding() override { delete effect; }
  VstIntPtr dispatch(VstInt32 opcode, VstInt32 index = 0, VstIntPtr value = 0,
                     void* ptr = nullptr) {
    return effect->getAeffect()->dispatcher(effect->getAeffect(), opcode, index, value, ptr, 0);
  }
  PlainEffect* effect = new PlainEffect;
  TestEditor* editor = new TestEditor(effect);
};

TEST_F(EditorBinding, AttachesItselfAndAnswersTheHostsRequests) {
  EXPECT_EQ(effect->getEditor(), editor);
  EXPECT_TRUE(effect->getAeffect()->flags & effFlagsHasEditor);
  ERect* rect = nullptr;
  EXPECT_EQ(dispatch(effEditGetRect, 0, 0, &rect), 1);  // before any window exists
  ASSERT_NE(rect, nullptr);
  EXPECT_EQ(rect->right - rect->left, 340);
  EXPECT_EQ(rect->bottom - rect->top, 400);
  EXPECT_EQ(dispatch(effEditKeyDown, 'a'), 0);
  EXPECT_EQ(dispatch(effEditKeyUp, 'a'), 0);

  EXPECT_EQ(editor->getKnobMode(), kCircularMode);
  EXPECT_EQ(dispatch(effSetEditKnobMode, 0, kLinearMode), 1);
  PlainEffect second;
  auto* other = new AEffGUIEditor(&second);  // owned by `second`
  EXPECT_EQ(other->getKnobMode(), kLinearMode);
  other->setKnobMode(kCircularMode);
  EXPECT_EQ(editor->getKnobMode(), kCircularMode);
}

TEST_F(EditorBinding, KnobEditReachesTheHostAsBeginAndEnd) {
  ASSERT_EQ(dispatch(effEditOpen), 1);
  CPoint where(29, 0);
  editor->getFrame()->onMouseDown(where, kLButton);
  editor->getFrame()->onMouseUp(where, kLButton);
  ASSERT_EQ(calls.size(), 2u);
  EXPECT_EQ(calls[0].opcode, audioMasterBeginEdit);
  EXPECT_EQ(calls[0].index, 3);
  EXPECT_EQ(calls[1].opcode, audioMasterEndEdit);
  EXPECT_EQ(calls[1].index, 3);

  editor->doIdleStuff();
  EXPECT_EQ(calls.back().opcode, audioMasterIdle);
}

TEST_F(EditorBinding, IdleDoesNotReenterItself) {
  dispatch(effEditIdle);  // closed: nothing to do
  EXPECT_EQ(editor->nestedIdles, 0);
  dispatch(effEditOpen);
  dispatch(effEditIdle);
  EXPECT_EQ(editor->nestedIdles, 1);  // the view's own call came back at once
}

TEST_F(EditorBinding, CloseDisposesTheFrameAndItsViewsAndMayBeRepeated) {
  dispatch(effEditOpen);
  EXPECT_TRUE(editor->isOpen());
  dispatch(effEditClose);
  EXPECT_FALSE(editor->isOpen());
  EXPECT_EQ(editor->getFrame(), nullptr);
  EXPECT_EQ(editor->disposedViews, 1);
  dispatch(effEditClose);
  dispatch(effEditIdle);
  // Reopened, then the effect closes with the window open: leak-checked runs
  // see the frame go with the editor.
  dispatch(effEditOpen);
}

}  // namespace
