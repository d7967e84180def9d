// The pedal's LV2 ports, read by the DSP, the UI and the generator of the
// bundle's data files.
//
// Hosts connect buffers by port index and save sessions and presets by port
// symbol, so once released a port keeps its index and its symbol forever:
// never renumber, rename, reuse or remove one. A new port goes at the end.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

#include "core/parameters.h"

namespace murkfell::lv2 {

enum PortIndex : std::uint32_t {
  kAudioInput = 0,
  kAudioOutput = 1,
  kGainPort = 2,
  kBassPort = 3,
  kMiddlePort = 4,
  kTreblePort = 5,
  kLevelPort = 6,
  kCabSimPort = 7,
  kBypassPort = 8,
  kEnabledPort = 9,  // the host's own bypass: 0 bypasses the pedal
  kNumPorts = 10,
};

enum class PortRole {
  audioInput,
  audioOutput,
  control,  // a stored parameter of the pedal
  enabled,  // the host's bypass switch (lv2:enabled)
};

struct PortInfo {
  PortIndex index;
  std::string_view symbol;
  std::string_view name;
  PortRole role;
  std::optional<ParameterId> parameter;  // for control ports
};

inline constexpr std::array<PortInfo, kNumPorts> kPorts{{
    {kAudioInput, "in", "In", PortRole::audioInput, std::nullopt},
    {kAudioOutput, "out", "Out", PortRole::audioOutput, std::nullopt},
    {kGainPort, "gain", "Gain", PortRole::control, kGain},
    {kBassPort, "bass", "Bass", PortRole::control, kBass},
    {kMiddlePort, "middle", "Middle", PortRole::control, kMiddle},
    {kTreblePort, "treble", "Treble", PortRole::control, kTreble},
    {kLevelPort, "level", "Level", PortRole::control, kLevel},
    {kCabSimPort, "cabsim", "CabSim", PortRole::control, kCabSim},
    {kBypassPort, "bypass", "Bypass", PortRole::control, kBypass},
    {kEnabledPort, "enabled", "Enabled", PortRole::enabled, std::nullopt},
}};

// The control port of a stored parameter; none for the page switch and the lamp.
constexpr std::optional<PortIndex> portOf(std::int32_t parameter) {
  for (const PortInfo& port : kPorts) {
    if (port.parameter && *port.parameter == parameter) return port.index;
  }
  return std::nullopt;
}

// The default a port's value starts from: the parameter's, or enabled.
constexpr float defaultOf(const PortInfo& port) {
  if (port.parameter) return kParameters[*port.parameter].defaultValue;
  return port.role == PortRole::enabled ? 1.0f : 0.0f;
}

// The pedal has one footswitch. The host's bypass works it too: while the host
// has the plug-in disabled the pedal is bypassed whatever the Bypass port says;
// while enabled, the Bypass port's value is used as given.
constexpr float footswitch(float bypassPort, float enabledPort) {
  return isOn(enabledPort) ? bypassPort : 1.0f;
}

namespace detail {

constexpr bool indicesAreStable() {
  for (std::uint32_t i = 0; i < kNumPorts; ++i) {
    if (kPorts[i].index != i) return false;
  }
  return true;
}

constexpr bool symbolsAreUnique() {
  for (std::size_t i = 0; i < kPorts.size(); ++i) {
    for (std::size_t j = i + 1; j < kPorts.size(); ++j) {
      if (kPorts[i].symbol == kPorts[j].symbol) return false;
    }
  }
  return true;
}

// Exactly the stored parameters have a port, each one, named as the pedal names it.
constexpr bool everyStoredParameterHasOnePort() {
  for (const ParameterInfo& info : kParameters) {
    int ports = 0;
    for (const PortInfo& port : kPorts) {
      if (port.parameter && *port.parameter == info.id) {
        ++ports;
        if (port.role != PortRole::control || port.name != info.name) return false;
      }
    }
    if (ports != (info.kind == ParameterKind::stored ? 1 : 0)) return false;
  }
  return true;
}

}  // namespace detail

static_assert(detail::indicesAreStable(), "a port's place in kPorts is its index");
static_assert(detail::symbolsAreUnique(), "port symbols must be unique");
static_assert(detail::everyStoredParameterHasOnePort(),
              "every stored parameter needs exactly one control port");

}  // namespace murkfell::lv2
