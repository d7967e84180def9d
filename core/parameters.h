// The pedal's parameters: one table that every format, the editor, the tools
// and the tests read. The index is what hosts save and automate, and the tag
// of the editor control that edits it, so the order never changes.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

namespace murkfell {

enum ParameterId : std::int32_t {
  kPageSwitch = 0,  // which face of the pedal the editor shows
  kGain,
  kBass,
  kMiddle,
  kTreble,
  kLevel,
  kCabSim,
  kBypass,
  kLed,  // the status lamp: reads as Bypass
  kNumParameters,
};

enum class ParameterKind {
  editorOnly,  // the editor's own state; the pedal stores nothing
  stored,      // a value of the pedal, saved and restored by the host
  mirror,      // reads as the parameter it mirrors; setting it stores nothing
};

enum class ValueReading {
  knob,    // a position, used as given (the designs limit it to 0..1)
  toggle,  // on for any value but exactly 0; NaN counts as on
};

struct ParameterInfo {
  ParameterId id;
  std::string_view name;   // as hosts show it; the page switch has none
  std::string_view about;  // what it does, in a few words for help texts
  ParameterKind kind;
  ValueReading reading;
  float defaultValue;
  float minimum;
  float maximum;
  ParameterId mirrored;  // whose value it reads: itself, or for a mirror the original
};

inline constexpr std::array<ParameterInfo, kNumParameters> kParameters{{
    {kPageSwitch, "", "the face of the pedal the editor shows", ParameterKind::editorOnly,
     ValueReading::toggle, 0.0f, 0.0f, 1.0f, kPageSwitch},
    {kGain, "Gain", "how hard the guitar drives the clipping stages", ParameterKind::stored,
     ValueReading::knob, 0.5f, 0.0f, 1.0f, kGain},
    {kBass, "Bass", "the lows of the tone stack", ParameterKind::stored, ValueReading::knob, 0.5f,
     0.0f, 1.0f, kBass},
    {kMiddle, "Middle", "the mids of the tone stack", ParameterKind::stored, ValueReading::knob,
     0.5f, 0.0f, 1.0f, kMiddle},
    {kTreble, "Treble", "the highs of the tone stack", ParameterKind::stored, ValueReading::knob,
     0.5f, 0.0f, 1.0f, kTreble},
    {kLevel, "Level", "the output volume", ParameterKind::stored, ValueReading::knob, 0.5f, 0.0f,
     1.0f, kLevel},
    {kCabSim, "CabSim", "1 = speaker cabinet on, 0 = off", ParameterKind::stored,
     ValueReading::toggle, 1.0f, 0.0f, 1.0f, kCabSim},
    {kBypass, "Bypass", "1 = footswitch off: the guitar passes through", ParameterKind::stored,
     ValueReading::toggle, 0.0f, 0.0f, 1.0f, kBypass},
    {kLed, "Led", "the status lamp, lit while bypassed", ParameterKind::mirror,
     ValueReading::toggle, 0.0f, 0.0f, 1.0f, kBypass},
}};

constexpr bool isParameter(std::int32_t index) { return index >= 0 && index < kNumParameters; }

constexpr bool isStored(std::int32_t index) {
  return isParameter(index) && kParameters[index].kind == ParameterKind::stored;
}

constexpr bool isOn(float toggleValue) { return toggleValue != 0.0f; }

// The parameter whose name matches, ignoring case; the page switch has no name.
std::optional<ParameterId> parameterNamed(std::string_view name);

}  // namespace murkfell
