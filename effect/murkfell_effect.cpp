#include "effect/murkfell_effect.h"

#include <new>
#include <string_view>

#include "host/aeff_editor.h"
#include "host/copy_string.h"

namespace {

constexpr std::string_view kEffectName = "Orveton Murkfell";
constexpr std::string_view kVendor = "Orveton";
constexpr VstInt32 kVendorVersion = 1030;
constexpr VstInt32 kUniqueId = fourCharCode('q', '2', 'o', '9');

constexpr std::array<std::string_view, kNumParameters> kParameterNames = {
    "", "Gain", "Bass", "Middle", "Treble", "Level", "CabSim", "Bypass", "Led"};

constexpr std::array<float, kLed> kDefaults = {0.0f, 0.5f, 0.5f, 0.5f, 0.5f, 0.5f, 1.0f, 0.0f};

bool isStored(VstInt32 index) { return index >= kGain && index <= kBypass; }

}  // namespace

AudioEffect* createEffectInstance(audioMasterCallback audioMaster) {
  return new (std::nothrow) MurkfellEffect(audioMaster);
}

MurkfellEffect::MurkfellEffect(audioMasterCallback audioMaster)
    : AudioEffectX(audioMaster, 1, kNumParameters) {
  for (VstInt32 index = kGain; index <= kBypass; ++index) {
    stored[index].store(kDefaults[index], std::memory_order_relaxed);
  }
  setNumInputs(1);
  setNumOutputs(1);
  setUniqueID(kUniqueId);
  canProcessReplacing(true);
}

void MurkfellEffect::processReplacing(float** inputs, float** outputs, VstInt32 sampleFrames) {
  if (inputs == nullptr || outputs == nullptr || inputs[0] == nullptr ||
      outputs[0] == nullptr) {
    return;
  }
  for (VstInt32 i = 0; i < sampleFrames; ++i) {
    outputs[0][i] = 0.0f;
  }
}

void MurkfellEffect::setParameter(VstInt32 index, float value) {
  if (isStored(index)) {
    stored[index].store(value, std::memory_order_relaxed);
  }
  if (index == kBypass) {
    setParameterAutomated(kLed, value);
  }
  if (editor != nullptr) {
    editor->setParameter(index, value);
  }
}

float MurkfellEffect::getParameter(VstInt32 index) {
  if (index == kLed) {
    index = kBypass;
  }
  return isStored(index) ? stored[index].load(std::memory_order_relaxed) : 0.0f;
}

void MurkfellEffect::getParameterName(VstInt32 index, char* text) {
  if (index >= kGain && index < kNumParameters) {
    copyString(text, kParameterNames[index], kVstMaxParamStrLen);
  }
}

bool MurkfellEffect::getEffectName(char* name) {
  copyString(name, kEffectName, kVstMaxEffectNameLen);
  return true;
}

bool MurkfellEffect::getVendorString(char* text) {
  copyString(text, kVendor, kVstMaxVendorStrLen);
  return true;
}

bool MurkfellEffect::getProductString(char* text) {
  copyString(text, kEffectName, kVstMaxProductStrLen);
  return true;
}

VstInt32 MurkfellEffect::getVendorVersion() { return kVendorVersion; }

VstPlugCategory MurkfellEffect::getPlugCategory() { return kPlugCategEffect; }
