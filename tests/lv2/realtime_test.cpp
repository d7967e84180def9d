// The LV2 run never allocates, however the controls move.
#include <gtest/gtest.h>

#include <array>
#include <vector>

#include "formats/lv2/pedal_ports.h"
#include "tests/support/allocation_counter.h"
#include "tests/support/guitar_like_signal.h"

namespace {

using namespace murkfell::lv2;

TEST(Lv2RealTime, RunningWithMovingControlsDoesNotAllocate) {
  PedalPorts ports;
  ASSERT_TRUE(ports.setSampleRate(96000.0));
  std::vector<float> input = guitarLikeSignal(256, 96000.0f);
  std::vector<float> output(input.size());
  std::array<float, kNumPorts> controls{};
  for (const PortInfo& port : kPorts) {
    controls[port.index] = defaultOf(port);
    ports.connect(port.index, &controls[port.index]);
  }
  ports.connect(kAudioInput, input.data());
  ports.connect(kAudioOutput, output.data());
  ports.activate();

  resetAudioPathAllocations();
  {
    AudioPath audioThread;
    for (int block = 0; block < 64; ++block) {
      controls[kGainPort] = 0.01f * block;
      controls[kMiddlePort] = 1.0f - 0.01f * block;
      controls[kCabSimPort] = static_cast<float>(block % 2);
      controls[kEnabledPort] = block % 8 == 7 ? 0.0f : 1.0f;
      ports.run(static_cast<std::uint32_t>(input.size()));
    }
  }
  EXPECT_EQ(audioPathAllocations(), 0);
}

}  // namespace
