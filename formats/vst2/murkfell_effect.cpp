#include "formats/vst2/murkfell_effect.h"

#include <new>

#include "core/identity.h"
#include "formats/vst2/aeff_gui_editor.h"
#include "formats/vst2/copy_string.h"

using namespace murkfell;

namespace {

constexpr VstInt32 kUniqueId = fourCharCode('q', '2', 'o', '9');

}  // namespace

AudioEffect* createEffectInstance(audioMasterCallback audioMaster) {
  return new (std::nothrow) MurkfellEffect(audioMaster);
}

MurkfellEffect::MurkfellEffect(audioMasterCallback audioMaster)
    : AudioEffectX(audioMaster, 1, kNumParameters) {
  setNumInputs(1);
  setNumOutputs(1);
  setUniqueID(kUniqueId);
  canProcessReplacing(true);
  // The editor attaches itself to the effect; without memory for it the
  // effect simply works without one.
  [[maybe_unused]] auto* newEditor = new (std::nothrow) AEffGUIEditor(this);
}

void MurkfellEffect::setSampleRate(float newRate) {
  if (pedalCore.setSampleRate(newRate)) {
    AudioEffectX::setSampleRate(newRate);
  }
}

void MurkfellEffect::processReplacing(float** inputs, float** outputs, VstInt32 sampleFrames) {
  if (inputs == nullptr || outputs == nullptr) {
    return;
  }
  pedalCore.process(inputs[0], outputs[0], sampleFrames);
}

void MurkfellEffect::setParameter(VstInt32 index, float value) {
  pedalCore.setParameter(index, value);
  if (index == kBypass) {
    setParameterAutomated(kLed, value);
  }
  if (editor != nullptr) {
    editor->setParameter(index, value);
  }
}

float MurkfellEffect::getParameter(VstInt32 index) { return pedalCore.parameter(index); }

void MurkfellEffect::getParameterName(VstInt32 index, char* text) {
  if (isParameter(index) && !kParameters[index].name.empty()) {
    copyString(text, kParameters[index].name, kVstMaxParamStrLen);
  }
}

bool MurkfellEffect::getEffectName(char* name) {
  copyString(name, kProductName, kVstMaxEffectNameLen);
  return true;
}

bool MurkfellEffect::getVendorString(char* text) {
  copyString(text, kVendorName, kVstMaxVendorStrLen);
  return true;
}

bool MurkfellEffect::getProductString(char* text) {
  copyString(text, kProductName, kVstMaxProductStrLen);
  return true;
}

VstInt32 MurkfellEffect::getVendorVersion() { return kVendorVersion; }

VstPlugCategory MurkfellEffect::getPlugCategory() { return kPlugCategEffect; }
