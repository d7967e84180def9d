// The Murkfell overdrive as a VST 2.4 effect: identity, parameters, sample
// rate, and the hand-over of their changes to the circuit model.
//
// Hand-over: every parameter and the sample rate live in atomics that any
// thread may write; the audio thread alone owns the circuit state and, at the
// start of each block, redesigns the coefficient sets whose inputs changed, so
// no other thread ever touches a set the loop is reading.
#pragma once

#include <array>
#include <atomic>

#include "core/circuit/circuit_settings.h"
#include "core/circuit/circuit_state.h"
#include "core/parameter_ids.h"
#include "formats/vst2/audio_effect_x.h"

class MurkfellEffect : public AudioEffectX {
 public:
  explicit MurkfellEffect(audioMasterCallback audioMaster);

  void setSampleRate(float newRate) override;
  void processReplacing(float** inputs, float** outputs, VstInt32 sampleFrames) override;

  void setParameter(VstInt32 index, float value) override;
  float getParameter(VstInt32 index) override;
  void getParameterName(VstInt32 index, char* text) override;

  bool getEffectName(char* name) override;
  bool getVendorString(char* text) override;
  bool getProductString(char* text) override;
  VstInt32 getVendorVersion() override;
  VstPlugCategory getPlugCategory() override;

  // Sub-samples per host sample at the current rate.
  int oversampling() const;
  // The circuit as the audio thread left it after the last block.
  const murkfell::CircuitState& circuitState() const { return circuit; }

 private:
  // The inputs the current coefficient sets were designed from.
  struct DesignInputs {
    float sampleRate;
    murkfell::KnobSettings knobs;
  };

  murkfell::KnobSettings knobs() const;
  murkfell::SignalSettings signalSettings(int oversamplingFactor) const;
  float stored(VstInt32 index) const { return values[index].load(std::memory_order_relaxed); }
  void redesignWhatChanged();

  // Knob and switch values at indices kGain..kBypass, exactly as set.
  std::array<std::atomic<float>, kLed> values;
  std::atomic<float> designRate{44100.0f};

  // Audio thread only (and the constructor).
  murkfell::CircuitState circuit;
  DesignInputs designed;
};
