#include "tools/render/command_line.h"

#include <charconv>
#include <cmath>
#include <functional>
#include <map>

#include "tools/render/render_error.h"

namespace render {
namespace {

constexpr int kLargestBlock = 65536;

struct OptionRule {
  bool takesValue;
  std::function<void(RenderOptions&, const std::string&)> apply;
};

int parseBlockSize(const std::string& text) {
  int blockSize = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), blockSize);
  if (error != std::errc() || end != text.data() + text.size() || blockSize < 1 ||
      blockSize > kLargestBlock) {
    throw UsageError("--block needs a whole number of samples from 1 to " +
                     std::to_string(kLargestBlock) + ", not \"" + text + "\"");
  }
  return blockSize;
}

// Parameter values cross the plug-in interface as 0 to 1, whatever the control
// shows; anything else is a typing slip.
ParameterSetting parseSetting(const std::string& text) {
  const auto equals = text.rfind('=');
  if (equals == std::string::npos || equals == 0) {
    throw UsageError("--set needs NAME=VALUE, for example --set Gain=0.8, not \"" + text + "\"");
  }
  const std::string name = text.substr(0, equals);
  const std::string number = text.substr(equals + 1);
  float value = 0.0f;
  const auto [end, error] = std::from_chars(number.data(), number.data() + number.size(), value);
  if (number.empty() || error != std::errc() || end != number.data() + number.size() ||
      !std::isfinite(value)) {
    throw UsageError("the value for " + name + " is not a number: \"" + number + "\"");
  }
  if (value < 0.0f || value > 1.0f) {
    throw UsageError("the value for " + name + " must lie between 0 and 1, not " + number);
  }
  return {name, value};
}

const std::map<std::string, OptionRule>& optionRules() {
  static const std::map<std::string, OptionRule> rules = {
      {"--help", {false, [](RenderOptions& o, const std::string&) { o.help = true; }}},
      {"-h", {false, [](RenderOptions& o, const std::string&) { o.help = true; }}},
      {"--list", {false, [](RenderOptions& o, const std::string&) { o.list = true; }}},
      {"--plugin", {true, [](RenderOptions& o, const std::string& v) { o.plugin = v; }}},
      {"--snapshot", {true, [](RenderOptions& o, const std::string& v) { o.snapshot = v; }}},
      {"--info", {false, [](RenderOptions& o, const std::string&) { o.backFace = true; }}},
      {"--block",
       {true, [](RenderOptions& o, const std::string& v) { o.blockSize = parseBlockSize(v); }}},
      {"--set",
       {true,
        [](RenderOptions& o, const std::string& v) { o.settings.push_back(parseSetting(v)); }}},
  };
  return rules;
}

void addFileName(RenderOptions& options, const std::string& name) {
  if (!options.input) {
    options.input = name;
  } else if (!options.output) {
    options.output = name;
  } else {
    throw UsageError("too many file names: \"" + name + "\" (give IN and OUT only)");
  }
}

}  // namespace

RenderOptions parseCommandLine(const std::vector<std::string>& arguments) {
  RenderOptions options;
  for (std::size_t at = 0; at < arguments.size(); ++at) {
    std::string argument = arguments[at];
    if (argument.size() < 2 || argument[0] != '-') {
      addFileName(options, argument);
      continue;
    }
    // --option=value is the same as --option value.
    std::optional<std::string> attached;
    if (const auto equals = argument.find('=');
        argument.starts_with("--") && equals != std::string::npos) {
      attached = argument.substr(equals + 1);
      argument.resize(equals);
    }
    const auto rule = optionRules().find(argument);
    if (rule == optionRules().end()) {
      throw UsageError("unknown option " + argument);
    }
    std::string value;
    if (rule->second.takesValue) {
      if (attached) {
        value = *attached;
      } else if (at + 1 < arguments.size()) {
        value = arguments[++at];
      } else {
        throw UsageError(argument + " needs a value");
      }
    } else if (attached) {
      throw UsageError(argument + " takes no value");
    }
    rule->second.apply(options, value);
  }
  return options;
}

std::string helpText() {
  return R"(murkfell-render: play a recording through the Murkfell overdrive pedal.

Usage:
  murkfell-render                      play the built-in guitar riff through the pedal
  murkfell-render IN [OUT] [options]   play your own recording through the pedal

With no recording given, the renderer plays a short built-in guitar riff
(single notes and a chord, as a guitar sounds straight from its jack) and
leaves two files in the current folder: murkfell-clean.wav, the riff as it
went in, and murkfell-processed.wav, the riff through the pedal.

IN is a WAV, FLAC, AIFF or OGG file (anything libsndfile reads). The result
keeps its sample rate, channels and format; name OUT with another ending
(.wav, .flac, .aiff, .ogg) to get another kind of file. Without OUT the result
goes to the current folder as IN's name with "-murkfell" added. Each channel
of a stereo file goes through its own pedal.

Options:
  --set NAME=VALUE  turn a knob or flip a switch before playing; VALUE is from
                    0 to 1, as the knob's travel from fully left to fully right.
                    Murkfell's controls: Gain, Bass, Middle, Treble, Level
                    (0.5 each to start with), CabSim (1 = speaker cabinet on,
                    0 = off) and Bypass (1 = footswitch off: the guitar passes
                    through untouched). Repeat for more:
                      --set Gain=0.8 --set CabSim=0
                    Names are not case-sensitive.
  --list            show the pedal's name and every control with its value
                    (after any --set), and stop
  --block N         hand the audio over in blocks of N samples, as a
                    recording program would (default 512)
  --plugin PATH     use another VST 2.4 plug-in (.so) instead of Murkfell
  --snapshot FILE.png
                    draw the pedal's own window, with the controls as --set
                    puts them, into a picture instead of playing anything
  --info            with --snapshot: show the back of the pedal with its
                    information panel
  --help            show this text

A progress bar appears on long renders; the last line says how much audio was
rendered and how many times faster than real time that went.
)";
}

}  // namespace render
