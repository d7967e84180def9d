#include "formats/vst2/aeff_gui_editor.h"

#include "formats/vst2/audio_effect_x.h"
#include "formats/vst2/vst_key.h"
#include "resources/resource_table.h"

AEffGUIEditor::AEffGUIEditor(AudioEffectX* effect)
    : AEffEditor(effect),
      effectX(effect),
      rect{static_cast<std::int16_t>(MurkfellEditor::kSize.top),
           static_cast<std::int16_t>(MurkfellEditor::kSize.left),
           static_cast<std::int16_t>(MurkfellEditor::kSize.bottom),
           static_cast<std::int16_t>(MurkfellEditor::kSize.right)},
      editor(*this, murkfell::findImage) {
  effect->setEditor(this);
}

bool AEffGUIEditor::getRect(ERect** rectOut) {
  *rectOut = &rect;
  return true;
}

bool AEffGUIEditor::open(void* parentWindow) {
  systemWindow = parentWindow;
  return editor.open(parentWindow);
}

void AEffGUIEditor::close() {
  editor.close();
  systemWindow = nullptr;
}

bool AEffGUIEditor::onKeyDown(VstKeyCode& key) {
  CKeyCode toolkitCode = toolkitKey(key);
  return editor.onKeyDown(toolkitCode);
}

bool AEffGUIEditor::onKeyUp(VstKeyCode& key) {
  CKeyCode toolkitCode = toolkitKey(key);
  return editor.onKeyUp(toolkitCode);
}

bool AEffGUIEditor::setKnobMode(VstInt32 mode) {
  VSTGUIEditorInterface::setKnobMode(mode);
  return true;
}

void AEffGUIEditor::setParameter(VstInt32 index, float value) {
  editor.parameterChanged(index, value);
}

float AEffGUIEditor::parameter(std::int32_t index) { return effectX->getParameter(index); }

void AEffGUIEditor::setParameterFromEditor(std::int32_t index, float value) {
  effectX->setParameterAutomated(index, value);
}

bool AEffGUIEditor::beginEdit(std::int32_t index) { return effectX->beginEdit(index); }

bool AEffGUIEditor::endEdit(std::int32_t index) { return effectX->endEdit(index); }

void AEffGUIEditor::hostIdle() { effectX->masterIdle(); }
