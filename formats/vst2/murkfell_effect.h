// The Murkfell pedal as a VST 2.4 effect: identity, the parameter requests and
// the audio of the host mapped onto one Pedal, and the editor attached.
#pragma once

#include "core/pedal.h"
#include "formats/vst2/audio_effect_x.h"

class MurkfellEffect : public AudioEffectX {
 public:
  explicit MurkfellEffect(audioMasterCallback audioMaster);

  void setSampleRate(float newRate) override;
  void suspend() override { pedalCore.stop(); }
  void resume() override { pedalCore.restart(); }
  void processReplacing(float** inputs, float** outputs, VstInt32 sampleFrames) override;

  void setParameter(VstInt32 index, float value) override;
  float getParameter(VstInt32 index) override;
  void getParameterName(VstInt32 index, char* text) override;

  bool getEffectName(char* name) override;
  bool getVendorString(char* text) override;
  bool getProductString(char* text) override;
  VstInt32 getVendorVersion() override;
  VstPlugCategory getPlugCategory() override;

  const murkfell::Pedal& pedal() const { return pedalCore; }

 private:
  murkfell::Pedal pedalCore;
};
