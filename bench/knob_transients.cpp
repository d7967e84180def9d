// Knob-turn transients on the full grid: every knob; the steps 1→0, 0→1,
// 0.5→0.6, 0.5→0.4 and 0.5→0.52 between blocks of 256 and between single
// samples; a host-style ramp 0→1 over 0.3 s with one value per 256-sample
// block and one per sample; each at 40 instants over the built-in riff and
// over a re-plucked string, at 44.1 and 96 kHz. The test suite runs a thinner
// grid (tests/robustness/knob_turn_test.cpp).
//
// Run from the build directory:
//   bench/murkfell_knob_transients [glide|retune|plain|glides]
// glide (the default) is how the effect takes knob changes (knob_glide.h);
// retune carries the capacitor voltages over at once, without the glide;
// plain switches coefficients onto the histories as they stand; glides
// compares longer linear glides, plainly switched, for steps 1→0 and 0→1.
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "bench/knob_step_meter.h"
#include "tools/guitar/repeated_plucks.h"
#include "tools/guitar/riff.h"

using namespace murkfell::knob_steps;

namespace {

constexpr int kInstants = 40;
constexpr Knob kKnobs[] = {Knob::gain, Knob::bass, Knob::middle, Knob::treble};

struct Step {
  float from, to;
};
constexpr Step kSteps[] = {{1.0f, 0.0f}, {0.0f, 1.0f}, {0.5f, 0.6f}, {0.5f, 0.4f}, {0.5f, 0.52f}};

std::vector<Recording> recordings() {
  std::vector<Recording> all;
  for (int rate : {44100, 96000}) {
    all.push_back({"riff", static_cast<float>(rate), guitar::synthesizeRiff(rate)});
    guitar::RepeatedPlucks string(rate, 0.5f);
    std::vector<float> samples(static_cast<std::size_t>(4.8 * rate));
    for (float& sample : samples) sample = string.next();
    all.push_back({"string", static_cast<float>(rate), samples});
  }
  return all;
}

void report(StepMeter& meter, const Turn& turn, const char* label) {
  const Result r = meter.measure(turn);
  std::printf("%-6s %-6s %5.0f  %-12s %-6s %+5.1f dB  (peak %6.3f vs %6.3f at %.3f s)",
              nameOf(turn.knob), meter.recording().name.c_str(), meter.recording().rate, label,
              nameOf(turn.switching), r.worstExcessDb, r.peakAfter, r.referencePeak,
              r.worstInstant);
  if (std::isfinite(r.worstResidualDb)) {
    std::printf("  residual %6.1f dB\n", r.worstResidualDb);
  } else {
    std::printf("  residual none\n");
  }
  std::fflush(stdout);
}

void stepsAndRamps(const Recording& recording, Switching switching) {
  for (int blockSize : {256, 1}) {
    StepMeter meter(recording, kInstants, blockSize);
    for (Knob knob : kKnobs) {
      for (const Step& step : kSteps) {
        char label[64];
        std::snprintf(label, sizeof label, "%g->%g/%d", step.from, step.to, blockSize);
        report(meter, {knob, step.from, step.to, switching}, label);
      }
      char label[64];
      std::snprintf(label, sizeof label, "ramp/%d", blockSize);
      report(meter, {knob, 0.0f, 1.0f, switching, 0.3, blockSize}, label);
    }
  }
}

// Linear glides alone, plainly switched: the knob moves every few samples.
void glides(const Recording& recording) {
  struct Glide {
    Switching switching;
    double seconds;
    int samplesPerUpdate;
  };
  constexpr Glide kGlides[] = {
      {Switching::plain, 0.02, 16}, {Switching::plain, 0.05, 8}, {Switching::plain, 0.1, 16}};
  StepMeter meter(recording, kInstants, 16);
  for (Knob knob : kKnobs) {
    for (const Glide& glide : kGlides) {
      for (const Step& step : {Step{1.0f, 0.0f}, Step{0.0f, 1.0f}}) {
        char label[64];
        std::snprintf(label, sizeof label, "%g->%g %gms/%d", step.from, step.to,
                      glide.seconds * 1000, glide.samplesPerUpdate);
        report(meter,
               {knob, step.from, step.to, glide.switching, glide.seconds, glide.samplesPerUpdate},
               label);
      }
    }
  }
}

}  // namespace

int main(int argc, char** argv) {
  const std::string mode = argc > 1 ? argv[1] : "glide";
  for (const Recording& recording : recordings()) {
    if (mode == "glides") {
      glides(recording);
    } else {
      stepsAndRamps(recording, mode == "plain"    ? Switching::plain
                               : mode == "retune" ? Switching::retune
                                                  : Switching::glide);
    }
  }
}
