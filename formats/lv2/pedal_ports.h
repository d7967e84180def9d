// The pedal behind the LV2 ports: the host connects buffers to port indices,
// and each run hands the control values to the pedal, then processes the
// audio.
#pragma once

#include <array>
#include <cstdint>

#include "core/pedal.h"
#include "formats/lv2/port_table.h"

namespace murkfell::lv2 {

class PedalPorts {
 public:
  // False for a rate the pedal cannot run at; the instance is then unusable.
  bool setSampleRate(double rate);

  // Any index; unknown ones are ignored, a null buffer disconnects.
  void connect(std::uint32_t port, void* buffer);

  // Audio thread. Without both audio buffers nothing is processed; an
  // unconnected control port counts as its default.
  void run(std::uint32_t frames);

  // The host's activate and deactivate: LV2 asks an activated instance to
  // start afresh, so after a deactivate the circuit begins as a new pedal's
  // would; the first activate changes nothing.
  void activate() { pedalCore.restart(); }
  void deactivate() { pedalCore.stop(); }

  const Pedal& pedal() const { return pedalCore; }

 private:
  float controlValue(PortIndex port) const;
  void handControlsToPedal();

  Pedal pedalCore;
  std::array<float*, kNumPorts> buffers{};
};

}  // namespace murkfell::lv2
