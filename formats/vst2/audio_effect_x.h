// The version-2 level of the effect base: the later host requests and their
// defaults, and the host calls that frame user edits.
#pragma once

#include "formats/vst2/audio_effect.h"

class AudioEffectX : public AudioEffect {
 public:
  using AudioEffect::AudioEffect;

  VstIntPtr dispatcher(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr,
                       float opt) override;

  virtual bool canParameterBeAutomated(VstInt32 /*index*/) { return true; }
  virtual bool setBypass(bool /*onOff*/) { return false; }
  virtual bool getEffectName(char* /*name*/) { return false; }
  virtual bool getVendorString(char* /*text*/) { return false; }
  virtual bool getProductString(char* /*text*/) { return false; }
  virtual VstInt32 getVendorVersion() { return 0; }
  virtual VstInt32 canDo(char* /*text*/) { return 0; }
  virtual VstInt32 getVstVersion() { return kVstVersion; }
  virtual VstPlugCategory getPlugCategory() { return kPlugCategUnknown; }
  virtual VstInt32 getTailSize() { return 0; }
  virtual VstInt32 getCurrentMidiProgram() { return -1; }
  // Hands out no arrangement: both locations the host names are cleared.
  virtual bool getSpeakerArrangement(void** inputArrangement, void** outputArrangement);
  virtual VstInt32 setTotalSampleToProcess(VstInt32 value) { return value; }

  virtual bool beginEdit(VstInt32 index);
  virtual bool endEdit(VstInt32 index);
};
