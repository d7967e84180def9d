// The Murkfell overdrive as a VST 2.4 effect: identity, parameters and the
// hand-over of parameter changes to the circuit model on the audio thread.
#pragma once

#include <array>
#include <atomic>

#include "effect/parameter_ids.h"
#include "host/audio_effect_x.h"

class MurkfellEffect : public AudioEffectX {
 public:
  explicit MurkfellEffect(audioMasterCallback audioMaster);

  void processReplacing(float** inputs, float** outputs, VstInt32 sampleFrames) override;

  void setParameter(VstInt32 index, float value) override;
  float getParameter(VstInt32 index) override;
  void getParameterName(VstInt32 index, char* text) override;

  bool getEffectName(char* name) override;
  bool getVendorString(char* text) override;
  bool getProductString(char* text) override;
  VstInt32 getVendorVersion() override;
  VstPlugCategory getPlugCategory() override;

 private:
  // Stored knob and switch values, indices kGain..kBypass; written by any
  // thread, read by the audio thread.
  std::array<std::atomic<float>, kLed> stored;
};
