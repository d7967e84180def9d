// The Murkfell overdrive as a VST 2.4 effect: identity, parameters, sample
// rate, and the hand-over of their changes to the circuit model.
//
// Hand-over: every parameter and the sample rate live in atomics that any
// thread may write; the audio thread alone owns the circuit state and, at the
// start of each block, redesigns the coefficient sets whose inputs changed, so
// no other thread ever touches a set the loop is reading. Knob changes glide
// the running circuit to the new values, its capacitors keeping their charge
// (knob_glide.h); values set before the first block after construction or a
// restart take effect at once. A resume after a suspend restarts the circuit
// from its starting values.
#pragma once

#include <array>
#include <atomic>

#include "core/circuit/circuit_settings.h"
#include "core/circuit/circuit_state.h"
#include "core/circuit/knob_glide.h"
#include "core/parameter_ids.h"
#include "formats/vst2/audio_effect_x.h"

class MurkfellEffect : public AudioEffectX {
 public:
  explicit MurkfellEffect(audioMasterCallback audioMaster);

  void setSampleRate(float newRate) override;
  void suspend() override;
  void resume() override;
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
  murkfell::KnobSettings knobs() const;
  murkfell::SignalSettings signalSettings(int oversamplingFactor) const;
  float stored(VstInt32 index) const { return values[index].load(std::memory_order_relaxed); }
  void redesignWhatChanged();

  // Knob and switch values at indices kGain..kBypass, exactly as set.
  std::array<std::atomic<float>, kLed> values;
  std::atomic<float> designRate{44100.0f};
  std::atomic<bool> suspended{false};
  std::atomic<bool> restartPending{false};  // a resume followed a suspend

  // Audio thread only (and the constructor).
  murkfell::CircuitState circuit;
  float designedRate;             // the rate the coefficient sets are designed for
  murkfell::KnobGlide knobGlide;  // the knob positions they are designed for
  bool startingFresh = true;      // no block processed since construction or restart
};
