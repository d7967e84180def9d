#include "formats/vst2/audio_effect_x.h"

#include <cmath>

#include "formats/vst2/aeff_editor.h"

namespace {

// The key modifier travels in the float argument: its integer part, low byte.
// Values an integer cannot hold carry no modifier.
unsigned char modifierFromOpt(float opt) {
  if (!(std::fabs(opt) < 2147483648.0f)) {
    return 0;
  }
  return static_cast<unsigned char>(static_cast<VstInt32>(opt) & 0xFF);
}

VstKeyCode keyCodeOf(VstInt32 index, VstIntPtr value, float opt) {
  return VstKeyCode{index, static_cast<unsigned char>(value & 0xFF), modifierFromOpt(opt)};
}

// Requests that hand over a text buffer answer 0 without one.
bool needsPointer(VstInt32 opcode) {
  switch (opcode) {
    case effGetEffectName:
    case effGetVendorString:
    case effGetProductString:
    case effCanDo:
      return true;
    default:
      return false;
  }
}

}  // namespace

bool AudioEffectX::getSpeakerArrangement(void** inputArrangement, void** outputArrangement) {
  if (inputArrangement != nullptr) {
    *inputArrangement = nullptr;
  }
  if (outputArrangement != nullptr) {
    *outputArrangement = nullptr;
  }
  return false;
}

bool AudioEffectX::beginEdit(VstInt32 index) { return callHost(audioMasterBeginEdit, index) != 0; }

bool AudioEffectX::endEdit(VstInt32 index) { return callHost(audioMasterEndEdit, index) != 0; }

VstIntPtr AudioEffectX::dispatcher(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr,
                                   float opt) {
  if (ptr == nullptr && needsPointer(opcode)) {
    return 0;
  }
  switch (opcode) {
    case effCanBeAutomated:
      return canParameterBeAutomated(index) ? 1 : 0;
    case effGetPlugCategory:
      return getPlugCategory();
    case effSetBypass:
      return setBypass(value != 0) ? 1 : 0;
    case effGetEffectName:
      return getEffectName(static_cast<char*>(ptr)) ? 1 : 0;
    case effGetVendorString:
      return getVendorString(static_cast<char*>(ptr)) ? 1 : 0;
    case effGetProductString:
      return getProductString(static_cast<char*>(ptr)) ? 1 : 0;
    case effGetVendorVersion:
      return getVendorVersion();
    case effCanDo:
      return canDo(static_cast<char*>(ptr));
    case effGetTailSize:
      return getTailSize();
    case effGetVstVersion:
      return getVstVersion();
    case effEditKeyDown:
      if (editor != nullptr) {
        VstKeyCode key = keyCodeOf(index, value, opt);
        return editor->onKeyDown(key) ? 1 : 0;
      }
      return 0;
    case effEditKeyUp:
      if (editor != nullptr) {
        VstKeyCode key = keyCodeOf(index, value, opt);
        return editor->onKeyUp(key) ? 1 : 0;
      }
      return 0;
    case effSetEditKnobMode:
      return editor != nullptr && editor->setKnobMode(static_cast<VstInt32>(value)) ? 1 : 0;
    case effGetCurrentMidiProgram:
      return getCurrentMidiProgram();
    case effGetSpeakerArrangement:
      getSpeakerArrangement(reinterpret_cast<void**>(value), static_cast<void**>(ptr));
      return 0;
    case effSetTotalSampleToProcess:
      return setTotalSampleToProcess(static_cast<VstInt32>(value));
    default:
      return AudioEffect::dispatcher(opcode, index, value, ptr, opt);
  }
}
