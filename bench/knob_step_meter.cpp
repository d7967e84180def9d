#include "bench/knob_step_meter.h"

#include <algorithm>
#include <cmath>

#include "core/circuit/audio_taper.h"
#include "core/circuit/circuit_state.h"
#include "core/circuit/coefficient_design.h"
#include "core/circuit/knob_glide.h"
#include "core/circuit/knob_retune.h"
#include "core/circuit/oversampling_factor.h"
#include "core/circuit/process_block.h"

namespace murkfell::knob_steps {

// The circuit as the effect runs it, driven directly.
class Pedal {
 public:
  Pedal(float rate, const KnobSettings& knobs)
      : rate(rate), signal{levelGainFor(0.5f), 1, 0, oversamplingFor(rate)} {
    resetToStartingValues(state);
    recomputeCoefficients(state, rate, signal.oversampling, knobs);
    glide.settle(knobs);
  }

  void play(const float* input, float* output, long frames) {
    glide.process(state, rate, signal, input, output, static_cast<int>(frames));
  }

  void turnTo(const KnobSettings& next, Switching switching) {
    switch (switching) {
      case Switching::plain:
        designGainStage(state, rate, next.gain);
        designToneStack(state, rate, next.bass, next.middle, next.treble);
        glide.settle(next);
        break;
      case Switching::retune:
        retuneKnobs(state, rate, glide.positions(), next);
        glide.settle(next);
        break;
      case Switching::glide:
        glide.glideTo(next, rate);
        break;
    }
  }

 private:
  CircuitState state;
  float rate;
  SignalSettings signal;
  KnobGlide glide;
};

// A whole rendering with one value held, and the pedal just before each instant.
struct StepMeter::Held {
  std::vector<float> output;
  std::vector<Pedal> atInstants;
};

namespace {

constexpr double kFirstInstant = 0.1, kEndMargin = 1.0;  // seconds
constexpr double kWindowSeconds = 0.5, kResidualSeconds = 0.1;

KnobSettings withKnob(Knob knob, float value) {
  KnobSettings knobs;
  float* positions[] = {&knobs.gain, &knobs.bass, &knobs.middle, &knobs.treble};
  *positions[static_cast<int>(knob)] = value;
  return knobs;
}

float peakOf(const float* samples, long count) {
  float peak = 0.0f;
  for (long i = 0; i < count; ++i) peak = std::max(peak, std::fabs(samples[i]));
  return peak;
}

double decibels(double ratio) { return 20.0 * std::log10(ratio); }

}  // namespace

const char* nameOf(Knob knob) {
  static const char* names[] = {"Gain", "Bass", "Middle", "Treble"};
  return names[static_cast<int>(knob)];
}

const char* nameOf(Switching switching) {
  static const char* names[] = {"plain", "retune", "glide"};
  return names[static_cast<int>(switching)];
}

StepMeter::StepMeter(Recording recording, int count, int blockSize) : played(std::move(recording)) {
  const long first = std::lround(kFirstInstant * played.rate);
  const long last =
      static_cast<long>(played.samples.size()) - std::lround(kEndMargin * played.rate);
  for (int i = 0; i < count; ++i) {
    const long instant = first + (last - first) * i / std::max(1, count - 1);
    instants.push_back(instant / blockSize * blockSize);
  }
}

StepMeter::~StepMeter() = default;

const StepMeter::Held& StepMeter::heldThroughout(const KnobSettings& knobs) {
  std::unique_ptr<Held>& entry = held[{knobs.gain, knobs.bass, knobs.middle, knobs.treble}];
  if (entry) return *entry;
  entry = std::make_unique<Held>();
  const long total = static_cast<long>(played.samples.size());
  entry->output.resize(total);
  Pedal pedal(played.rate, knobs);
  long done = 0;
  for (long at : instants) {
    pedal.play(played.samples.data() + done, entry->output.data() + done, at - done);
    entry->atInstants.push_back(pedal);
    done = at;
  }
  pedal.play(played.samples.data() + done, entry->output.data() + done, total - done);
  return *entry;
}

Result StepMeter::measure(const Turn& turn) {
  const double rate = played.rate;
  const long rampFrames = std::lround(turn.rampSeconds * rate);
  const long window = rampFrames + std::lround(kWindowSeconds * rate);
  const long length = window + std::lround(kResidualSeconds * rate);
  const Held& before = heldThroughout(withKnob(turn.knob, turn.from));
  const Held& after = heldThroughout(withKnob(turn.knob, turn.to));
  const float afterPeak = peakOf(after.output.data(), static_cast<long>(after.output.size()));

  Result result;
  std::vector<float> output(length);
  for (std::size_t i = 0; i < instants.size(); ++i) {
    const long at = instants[i];
    Pedal pedal = before.atInstants[i];
    for (long done = 0; done < length;) {
      const long frames = done < rampFrames
                              ? std::min<long>(turn.samplesPerUpdate, rampFrames - done)
                              : length - done;
      const double progress =
          rampFrames > 0 ? std::min(1.0, double(done + frames) / rampFrames) : 1.0;
      const float value = static_cast<float>(turn.from + (turn.to - turn.from) * progress);
      pedal.turnTo(withKnob(turn.knob, value), turn.switching);
      pedal.play(played.samples.data() + at + done, output.data() + done, frames);
      done += frames;
    }
    const float peak = peakOf(output.data(), window);
    const float reference = std::max(peakOf(before.output.data() + at, window),
                                     peakOf(after.output.data() + at, window));
    if (decibels(peak / reference) > result.worstExcessDb) {
      result.worstExcessDb = decibels(peak / reference);
      result.worstInstant = at / rate;
      result.peakAfter = peak;
      result.referencePeak = reference;
    }
    float difference = 0.0f;
    for (long k = window; k < length; ++k)
      difference = std::max(difference, std::fabs(output[k] - after.output[at + k]));
    result.worstResidualDb = std::max(result.worstResidualDb, decibels(difference / afterPeak));
  }
  return result;
}

}  // namespace murkfell::knob_steps
