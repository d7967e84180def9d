#include "formats/vst2/aeff_gui_editor.h"

#include "formats/vst2/audio_effect_x.h"
#include "toolkit/c_frame.h"

AEffGUIEditor::AEffGUIEditor(AudioEffect* effect) : AEffEditor(effect) {
  if (effect != nullptr) {
    effect->setEditor(this);
  }
}

AEffGUIEditor::~AEffGUIEditor() { destroyFrame(); }

bool AEffGUIEditor::getRect(ERect** rectOut) {
  *rectOut = &rect;
  return true;
}

bool AEffGUIEditor::open(void* ptr) {
  systemWindow = ptr;
  return true;
}

void AEffGUIEditor::close() {
  destroyFrame();
  systemWindow = nullptr;
}

void AEffGUIEditor::destroyFrame() {
  CFrame* closing = frame;
  frame = nullptr;
  if (closing != nullptr) {
    closing->forget();
  }
}

void AEffGUIEditor::idle() {
  if (inIdleStuff || frame == nullptr) {
    return;
  }
  inIdleStuff = true;
  frame->idle();
  inIdleStuff = false;
}

bool AEffGUIEditor::setKnobMode(VstInt32 mode) {
  knobMode = mode;
  return true;
}

void AEffGUIEditor::doIdleStuff() {
  if (effect != nullptr) {
    effect->masterIdle();
  }
}

bool AEffGUIEditor::beginEdit(long index) {
  auto* effectX = dynamic_cast<AudioEffectX*>(effect);
  return effectX != nullptr && effectX->beginEdit(static_cast<VstInt32>(index));
}

bool AEffGUIEditor::endEdit(long index) {
  auto* effectX = dynamic_cast<AudioEffectX*>(effect);
  return effectX != nullptr && effectX->endEdit(static_cast<VstInt32>(index));
}
