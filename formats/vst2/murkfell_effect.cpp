#include "formats/vst2/murkfell_effect.h"

#include <bit>
#include <cstdint>
#include <new>
#include <string_view>

#include "core/circuit/audio_taper.h"
#include "core/circuit/coefficient_design.h"
#include "core/circuit/oversampling_factor.h"
#include "editor/murkfell_editor.h"
#include "formats/vst2/aeff_editor.h"
#include "formats/vst2/copy_string.h"

namespace {

constexpr std::string_view kEffectName = "Orveton Murkfell";
constexpr std::string_view kVendor = "Orveton";
constexpr VstInt32 kVendorVersion = 1030;
constexpr VstInt32 kUniqueId = fourCharCode('q', '2', 'o', '9');

constexpr std::array<std::string_view, kNumParameters> kParameterNames = {
    "", "Gain", "Bass", "Middle", "Treble", "Level", "CabSim", "Bypass", "Led"};

constexpr std::array<float, kLed> kDefaults = {0.0f, 0.5f, 0.5f, 0.5f, 0.5f, 0.5f, 1.0f, 0.0f};

// Rates outside this range make the designs divide by zero or run unstable;
// every rate a real host uses lies well inside it.
constexpr float kLowestRate = 1000.0f;
constexpr float kHighestRate = 1000000.0f;

bool isStored(VstInt32 index) { return index >= kGain && index <= kBypass; }

// Bit equality, so a NaN knob counts as unchanged once designed.
bool same(float a, float b) {
  return std::bit_cast<std::uint32_t>(a) == std::bit_cast<std::uint32_t>(b);
}

}  // namespace

AudioEffect* createEffectInstance(audioMasterCallback audioMaster) {
  return new (std::nothrow) MurkfellEffect(audioMaster);
}

MurkfellEffect::MurkfellEffect(audioMasterCallback audioMaster)
    : AudioEffectX(audioMaster, 1, kNumParameters) {
  murkfell::resetToStartingValues(circuit);
  for (VstInt32 index = kGain; index <= kBypass; ++index) {
    values[index].store(kDefaults[index], std::memory_order_relaxed);
  }
  designedRate = sampleRate;
  knobGlide.settle(knobs());
  murkfell::recomputeCoefficients(circuit, sampleRate, murkfell::oversamplingFor(sampleRate),
                                  knobGlide.positions());
  setNumInputs(1);
  setNumOutputs(1);
  setUniqueID(kUniqueId);
  canProcessReplacing(true);
  // The editor attaches itself to the effect; without memory for it the
  // effect simply works without one.
  [[maybe_unused]] auto* newEditor = new (std::nothrow) MurkfellEditor(this);
}

void MurkfellEffect::setSampleRate(float newRate) {
  if (!(newRate >= kLowestRate && newRate <= kHighestRate)) {
    return;
  }
  AudioEffectX::setSampleRate(newRate);
  designRate.store(newRate, std::memory_order_relaxed);
}

int MurkfellEffect::oversampling() const {
  return murkfell::oversamplingFor(designRate.load(std::memory_order_relaxed));
}

murkfell::KnobSettings MurkfellEffect::knobs() const {
  return {stored(kGain), stored(kBass), stored(kMiddle), stored(kTreble)};
}

// A switch is on for any value but exactly zero; NaN counts as on.
murkfell::SignalSettings MurkfellEffect::signalSettings(int oversamplingFactor) const {
  return {murkfell::levelGainFor(stored(kLevel)), stored(kCabSim) != 0.0f ? 1 : 0,
          stored(kBypass) != 0.0f ? 1 : 0, oversamplingFactor};
}

void MurkfellEffect::suspend() { suspended.store(true, std::memory_order_relaxed); }

void MurkfellEffect::resume() {
  if (suspended.exchange(false, std::memory_order_relaxed)) {
    restartPending.store(true, std::memory_order_release);
  }
}

void MurkfellEffect::redesignWhatChanged() {
  const float rate = designRate.load(std::memory_order_relaxed);
  const murkfell::KnobSettings now = knobs();
  if (startingFresh || !same(rate, designedRate)) {
    murkfell::recomputeCoefficients(circuit, rate, murkfell::oversamplingFor(rate), now);
    knobGlide.settle(now);
    designedRate = rate;
  } else {
    knobGlide.glideTo(now, rate);
  }
}

void MurkfellEffect::processReplacing(float** inputs, float** outputs, VstInt32 sampleFrames) {
  if (inputs == nullptr || outputs == nullptr || inputs[0] == nullptr || outputs[0] == nullptr ||
      sampleFrames <= 0) {
    return;
  }
  if (restartPending.load(std::memory_order_acquire) &&
      restartPending.exchange(false, std::memory_order_acquire)) {
    murkfell::resetToStartingValues(circuit);
    startingFresh = true;
  }
  redesignWhatChanged();
  startingFresh = false;
  const int factor = murkfell::oversamplingFor(designedRate);
  knobGlide.process(circuit, designedRate, signalSettings(factor), inputs[0], outputs[0],
                    sampleFrames);
}

void MurkfellEffect::setParameter(VstInt32 index, float value) {
  if (isStored(index)) {
    values[index].store(value, std::memory_order_relaxed);
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
  return isStored(index) ? stored(index) : 0.0f;
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
