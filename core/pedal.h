// The pedal without a host: its parameters, its sample rate and the circuit
// they drive. Every plug-in format wraps one Pedal and maps its host's calls
// onto it.
//
// Hand-over: parameters and the sample rate live in atomics that any thread
// may write; the audio thread alone owns the circuit state and, at the start of
// each block, redesigns the coefficient sets whose inputs changed, so no other
// thread ever touches a set the loop is reading.
#pragma once

#include <atomic>
#include <cstdint>

#include "core/circuit/circuit_settings.h"
#include "core/circuit/circuit_state.h"
#include "core/parameter_store.h"

namespace murkfell {

class Pedal {
 public:
  // Rates outside this range make the designs divide by zero or run unstable;
  // every rate a real host uses lies well inside it.
  static constexpr float kLowestRate = 1000.0f;
  static constexpr float kHighestRate = 1000000.0f;

  // Default parameters at 44100 Hz, the circuit at rest.
  Pedal();

  // Any thread.
  void setParameter(std::int32_t index, float value) { parameters.set(index, value); }
  float parameter(std::int32_t index) const { return parameters.get(index); }
  // Takes a rate inside the usable range and answers true; refuses any other.
  bool setSampleRate(float rate);
  float sampleRate() const { return designRate.load(std::memory_order_relaxed); }
  // Sub-samples per host sample at the current rate.
  int oversampling() const;

  // Audio thread: one block of mono samples; input may equal output. Null
  // buffers or a count below 1 do nothing.
  void process(const float* input, float* output, int frames);

  // The circuit as the audio thread left it after the last block.
  const CircuitState& circuitState() const { return circuit; }

 private:
  // The inputs the current coefficient sets were designed from.
  struct DesignInputs {
    float sampleRate;
    KnobSettings knobs;
  };

  KnobSettings knobs() const;
  SignalSettings signalSettings(int oversamplingFactor) const;
  void redesignWhatChanged();

  ParameterStore parameters;
  std::atomic<float> designRate{44100.0f};

  // Audio thread only (and the constructor).
  CircuitState circuit;
  DesignInputs designed;
};

}  // namespace murkfell
