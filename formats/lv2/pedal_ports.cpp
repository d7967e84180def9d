#include "formats/lv2/pedal_ports.h"

#include <algorithm>
#include <climits>

namespace murkfell::lv2 {

bool PedalPorts::setSampleRate(double rate) {
  return pedalCore.setSampleRate(static_cast<float>(rate));
}

void PedalPorts::connect(std::uint32_t port, void* buffer) {
  if (port < kNumPorts) {
    buffers[port] = static_cast<float*>(buffer);
  }
}

float PedalPorts::controlValue(PortIndex port) const {
  const float* value = buffers[port];
  return value != nullptr ? *value : defaultOf(kPorts[port]);
}

void PedalPorts::handControlsToPedal() {
  for (const PortInfo& port : kPorts) {
    if (port.role == PortRole::control && *port.parameter != kBypass) {
      pedalCore.setParameter(*port.parameter, controlValue(port.index));
    }
  }
  pedalCore.setParameter(kBypass,
                         footswitch(controlValue(kBypassPort), controlValue(kEnabledPort)));
}

void PedalPorts::run(std::uint32_t frames) {
  handControlsToPedal();
  const float* input = buffers[kAudioInput];
  float* output = buffers[kAudioOutput];
  if (input == nullptr || output == nullptr) {
    return;
  }
  // The pedal counts frames in an int; the circuit does not care where a
  // block ends, so a longer run is processed in pieces.
  while (frames > 0) {
    const std::uint32_t piece = std::min<std::uint32_t>(frames, INT_MAX);
    pedalCore.process(input, output, static_cast<int>(piece));
    input += piece;
    output += piece;
    frames -= piece;
  }
}

}  // namespace murkfell::lv2
