// The pedal without a host: its parameters, its sample rate and the circuit
// they drive. Every plug-in format wraps one Pedal and maps its host's calls
// onto it.
//
// Hand-over: parameters and the sample rate live in atomics that any thread
// may write; the audio thread alone owns the circuit state and, at the start of
// each block, redesigns the coefficient sets whose inputs changed, so no other
// thread ever touches a set the loop is reading. Knob changes glide the running
// circuit to the new values, its capacitors keeping their charge
// (knob_glide.h); values set before the first block after construction or a
// restart take effect at once.
#pragma once

#include <atomic>
#include <cstdint>

#include "core/circuit/circuit_settings.h"
#include "core/circuit/circuit_state.h"
#include "core/circuit/knob_glide.h"
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
  // The host stops and restarts the audio: a restart after a stop begins the
  // circuit afresh at the next block, as a new pedal would; a restart without
  // a stop changes nothing.
  void stop() { stopped.store(true, std::memory_order_relaxed); }
  void restart();

  // Audio thread: one block of mono samples; input may equal output. Null
  // buffers or a count below 1 do nothing.
  void process(const float* input, float* output, int frames);

  // The circuit as the audio thread left it after the last block.
  const CircuitState& circuitState() const { return circuit; }

 private:
  KnobSettings knobs() const;
  SignalSettings signalSettings(int oversamplingFactor) const;
  void redesignWhatChanged();

  ParameterStore parameters;
  std::atomic<float> designRate{44100.0f};
  std::atomic<bool> stopped{false};
  std::atomic<bool> restartPending{false};  // a restart followed a stop

  // Audio thread only (and the constructor).
  CircuitState circuit;
  float designedRate;         // the rate the coefficient sets are designed for
  KnobGlide knobGlide;        // the knob positions they are designed for
  bool startingFresh = true;  // no block processed since construction or restart
};

}  // namespace murkfell
