#include <gtest/gtest.h>

#include <vector>

#include "host/audio_effect_x.h"
#include "tests/toolkit/test_views.h"
#include "toolkit/aeff_gui_editor.h"
#include "toolkit/c_anim_knob.h"
#include "toolkit/c_frame.h"

namespace {

struct HostCall {
  VstInt32 opcode;
  VstInt32 index;
};
std::vector<HostCall> hostCalls;

VstIntPtr recordingHost(AEffect*, VstInt32 opcode, VstInt32 index, VstIntPtr, void*, float) {
  hostCalls.push_back({opcode, index});
  return 1;
}

class PlainEffect : public AudioEffectX {
 public:
  PlainEffect() : AudioEffectX(recordingHost, 1, 9) {}
};

// Counts the views the editor's frame disposes of.
class CountedView : public CView {
 public:
  CountedView(const CRect& size, int& disposed) : CView(size), disposed(disposed) {}
  ~CountedView() override { ++disposed; }

 private:
  int& disposed;
};

// An editor that builds an off-screen frame with one knob (tag 3) and a view
// whose drawing calls back into the editor's idle.
class TestEditor : public AEffGUIEditor {
 public:
  explicit TestEditor(AudioEffect* effect) : AEffGUIEditor(effect) {
    rect = ERect{0, 0, 400, 340};
  }
  bool open(void* ptr) override {
    AEffGUIEditor::open(ptr);
    frame = new CFrame(CRect(0, 0, 340, 400), nullptr, this);
    frame->addView(new CAnimKnob(CRect(0, 0, 58, 58), nullptr, 3, 61, 58, nullptr));
    frame->addView(new ReenteringView(this, disposedViews));
    return true;
  }
  int disposedViews = 0;
  int nestedIdles = 0;

 private:
  class ReenteringView : public CountedView {
   public:
    ReenteringView(TestEditor* editor, int& disposed)
        : CountedView(CRect(0, 0, 10, 10), disposed), editor(editor) {}
    void draw(CDrawContext*) override {
      ++editor->nestedIdles;
      editor->idle();
    }

   private:
    TestEditor* editor;
  };
};

class EditorBinding : public ::testing::Test {
 protected:
  EditorBinding() { hostCalls.clear(); }
  ~EditorBinding() override { delete effect; }
  VstIntPtr dispatch(VstInt32 opcode, VstInt32 index = 0, VstIntPtr value = 0,
                     void* ptr = nullptr) {
    return effect->getAeffect()->dispatcher(effect->getAeffect(), opcode, index, value, ptr, 0);
  }
  PlainEffect* effect = new PlainEffect;
  TestEditor* editor = new TestEditor(effect);
};

TEST_F(EditorBinding, AttachesItselfAsTheEffectsEditor) {
  EXPECT_EQ(effect->getEditor(), editor);
  EXPECT_TRUE(effect->getAeffect()->flags & effFlagsHasEditor);
  ERect* rect = nullptr;
  EXPECT_EQ(dispatch(effEditGetRect, 0, 0, &rect), 1);  // before any window exists
  ASSERT_NE(rect, nullptr);
  EXPECT_EQ(rect->right - rect->left, 340);
  EXPECT_EQ(rect->bottom - rect->top, 400);
}

TEST_F(EditorBinding, KeysAreNotTakenAndKnobModeIsProcessWide) {
  EXPECT_EQ(dispatch(effEditKeyDown, 'a'), 0);
  EXPECT_EQ(dispatch(effEditKeyUp, 'a'), 0);

  EXPECT_EQ(editor->getKnobMode(), kCircularMode);
  EXPECT_EQ(dispatch(effSetEditKnobMode, 0, kLinearMode), 1);
  PlainEffect second;
  auto* other = new AEffGUIEditor(&second);
  EXPECT_EQ(other->getKnobMode(), kLinearMode);
  other->setKnobMode(kCircularMode);
  EXPECT_EQ(editor->getKnobMode(), kCircularMode);
}

TEST_F(EditorBinding, KnobEditReachesTheHostAsBeginAndEnd) {
  ASSERT_EQ(dispatch(effEditOpen), 1);
  CPoint where(29, 0);
  editor->getFrame()->onMouseDown(where, kLButton);
  editor->getFrame()->onMouseUp(where, kLButton);
  ASSERT_EQ(hostCalls.size(), 2u);
  EXPECT_EQ(hostCalls[0].opcode, audioMasterBeginEdit);
  EXPECT_EQ(hostCalls[0].index, 3);
  EXPECT_EQ(hostCalls[1].opcode, audioMasterEndEdit);
  EXPECT_EQ(hostCalls[1].index, 3);

  editor->doIdleStuff();
  EXPECT_EQ(hostCalls.back().opcode, audioMasterIdle);
}

TEST_F(EditorBinding, IdleDoesNotReenterItself) {
  dispatch(effEditIdle);  // closed: nothing to do
  EXPECT_EQ(editor->nestedIdles, 0);
  dispatch(effEditOpen);
  EXPECT_TRUE(editor->isOpen());
  dispatch(effEditIdle);
  EXPECT_EQ(editor->nestedIdles, 1);  // the view's own call came back at once
}

TEST_F(EditorBinding, CloseDisposesTheFrameAndItsViews) {
  dispatch(effEditOpen);
  dispatch(effEditClose);
  EXPECT_FALSE(editor->isOpen());
  EXPECT_EQ(editor->getFrame(), nullptr);
  EXPECT_EQ(editor->disposedViews, 1);
  dispatch(effEditClose);  // a second close is harmless
  dispatch(effEditIdle);

  dispatch(effEditOpen);  // reopened, then the effect closed with the window open
  delete effect;
  effect = nullptr;
}

}  // namespace
