// Knob turns while a guitar plays, measured as a listener would notice them
// (bench/knob_step_meter.h): the peak in the half second after a turn stays
// within 1 dB of the larger steady peak of the same passage with the old or
// the new value held, and half a second after the turn the output is that of
// the new value to −60 dB. Every knob; steps 1→0, 0→1, 0.5→0.6, 0.5→0.4 and
// 0.5→0.52 between blocks of 256; a host-style ramp 0→1 over 0.3 s, one value
// per block; the large steps and the ramp between single samples on the riff
// too; over the built-in riff and a re-plucked string at 44.1 and 96 kHz, at a
// few instants each. The full grid, 40 instants and every case on both
// recordings, is bench/knob_transients.cpp.
#include <gtest/gtest.h>

#include <vector>

#include "bench/knob_step_meter.h"
#include "tools/guitar/repeated_plucks.h"
#include "tools/guitar/riff.h"

namespace murkfell::knob_steps {
namespace {

constexpr int kInstants = MURKFELL_TRANSIENT_INSTANTS;
constexpr Knob kKnobs[] = {Knob::gain, Knob::bass, Knob::middle, Knob::treble};

struct Step {
  float from, to;
};

// 2 s of each, to keep the run short: the riff's last single notes and its
// strummed chord, and four plucks of the string.
constexpr double kSeconds = 2.0;

Recording riff(int rate) {
  const std::vector<float> whole = guitar::synthesizeRiff(rate);
  const auto first = whole.begin() + static_cast<long>(1.2 * rate);
  return {"riff", static_cast<float>(rate),
          std::vector<float>(first, first + static_cast<long>(kSeconds * rate))};
}

Recording string(int rate) {
  guitar::RepeatedPlucks source(rate, 0.5f);
  std::vector<float> samples(static_cast<std::size_t>(kSeconds * rate));
  for (float& sample : samples) sample = source.next();
  return {"string", static_cast<float>(rate), samples};
}

void expectClean(StepMeter& meter, const Turn& turn) {
  const Result r = meter.measure(turn);
  SCOPED_TRACE(testing::Message() << nameOf(turn.knob) << ' ' << turn.from << "->" << turn.to
                                  << (turn.rampSeconds > 0 ? " ramp" : "") << " on "
                                  << meter.recording().name << " at " << meter.recording().rate
                                  << " Hz, worst at " << r.worstInstant << " s: peak "
                                  << r.peakAfter << " against " << r.referencePeak);
  EXPECT_LE(r.worstExcessDb, 1.0);
  EXPECT_LE(r.worstResidualDb, -60.0);
}

class KnobTransients : public testing::TestWithParam<int> {};

TEST_P(KnobTransients, TurnsBetweenBlocksStayWithinADecibel) {
  constexpr Step kSteps[] = {{1.0f, 0.0f}, {0.0f, 1.0f}, {0.5f, 0.6f}, {0.5f, 0.4f}, {0.5f, 0.52f}};
  for (const Recording& recording : {riff(GetParam()), string(GetParam())}) {
    StepMeter meter(recording, kInstants, 256);
    for (Knob knob : kKnobs) {
      for (const Step& step : kSteps) expectClean(meter, {knob, step.from, step.to});
      expectClean(meter, {knob, 0.0f, 1.0f, Switching::glide, 0.3, 256});
    }
  }
}

TEST_P(KnobTransients, TurnsBetweenSingleSamplesStayWithinADecibel) {
  StepMeter meter(riff(GetParam()), kInstants - 1, 1);
  for (Knob knob : kKnobs) {
    expectClean(meter, {knob, 1.0f, 0.0f});
    expectClean(meter, {knob, 0.0f, 1.0f});
    expectClean(meter, {knob, 0.0f, 1.0f, Switching::glide, 0.3, 1});
  }
}

INSTANTIATE_TEST_SUITE_P(Rates, KnobTransients, testing::Values(44100, 96000),
                         [](const testing::TestParamInfo<int>& info) {
                           return std::to_string(info.param) + "Hz";
                         });

}  // namespace
}  // namespace murkfell::knob_steps
