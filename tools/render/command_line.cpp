#include "tools/render/command_line.h"

#include <strings.h>

#include <charconv>
#include <cmath>
#include <filesystem>
#include <functional>
#include <iomanip>
#include <map>
#include <sstream>

#include "core/parameters.h"
#include "tools/render/render_error.h"

namespace render {
namespace {

constexpr int kLargestBlock = 65536;
// Telephone quality up to the fastest rate recording programs offer.
constexpr int kLowestRiffRate = 8000;
constexpr int kHighestRiffRate = 384000;

struct OptionRule {
  bool takesValue;
  std::function<void(RenderOptions&, const std::string&)> apply;
};

// A whole number from lowest to highest, written as nothing else.
std::optional<int> wholeNumberWithin(const std::string& text, int lowest, int highest) {
  int number = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), number);
  if (error != std::errc() || end != text.data() + text.size() || number < lowest ||
      number > highest) {
    return std::nullopt;
  }
  return number;
}

int parseBlockSize(const std::string& text) {
  if (const auto blockSize = wholeNumberWithin(text, 1, kLargestBlock)) {
    return *blockSize;
  }
  throw UsageError("--block needs a whole number of samples from 1 to " +
                   std::to_string(kLargestBlock) + ", not \"" + text + "\"");
}

int parseRiffRate(const std::string& text) {
  if (const auto rate = wholeNumberWithin(text, kLowestRiffRate, kHighestRiffRate)) {
    return *rate;
  }
  throw UsageError("--rate needs a whole number of samples a second from " +
                   std::to_string(kLowestRiffRate) + " to " + std::to_string(kHighestRiffRate) +
                   ", not \"" + text + "\"");
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
      {"--float", {false, [](RenderOptions& o, const std::string&) { o.floatSamples = true; }}},
      {"--block",
       {true, [](RenderOptions& o, const std::string& v) { o.blockSize = parseBlockSize(v); }}},
      {"--rate",
       {true, [](RenderOptions& o, const std::string& v) { o.riffRate = parseRiffRate(v); }}},
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

bool endsInPng(const std::string& path) {
  const std::string ending = std::filesystem::path(path).extension().string();
  return strcasecmp(ending.c_str(), ".png") == 0;
}

// A snapshot plays nothing, so options and files for playing have no place
// beside it, and --info has no place without it. A recording plays at its own
// rate, so --rate belongs to the built-in riff.
void requireFittingOptions(const RenderOptions& options) {
  if (options.riffRate && options.input) {
    throw UsageError("--rate belongs to the built-in riff: \"" + *options.input +
                     "\" plays at its own rate");
  }
  if (!options.snapshot) {
    if (options.backFace) {
      throw UsageError(
          "--info belongs to --snapshot: it shows the back of the pedal in the picture");
    }
    return;
  }
  if (!endsInPng(*options.snapshot)) {
    throw UsageError("the snapshot is a PNG picture: name it FILE.png, not \"" + *options.snapshot +
                     "\"");
  }
  if (options.input) {
    throw UsageError("--snapshot draws a picture and plays nothing: leave out \"" + *options.input +
                     "\"");
  }
  if (options.riffRate) {
    throw UsageError("--snapshot draws a picture and plays nothing: leave out --rate");
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
  if (!options.help) {
    requireFittingOptions(options);
  }
  return options;
}

// One line per control the host keeps, from the pedal's parameter table.
std::string controlsHelp() {
  std::ostringstream lines;
  for (const murkfell::ParameterInfo& info : murkfell::kParameters) {
    if (info.kind == murkfell::ParameterKind::stored) {
      lines << "                      " << std::left << std::setw(7) << info.name << std::setw(4)
            << info.defaultValue << info.about << '\n';
    }
  }
  return lines.str();
}

std::string helpText() {
  return R"(murkfell-render: play a recording through the Murkfell overdrive pedal.

Usage:
  murkfell-render [--rate HZ]          play the built-in guitar riff
  murkfell-render IN [OUT] [options]   play your own recording
  murkfell-render --snapshot FILE.png  draw the pedal into a picture

With no recording given, the renderer plays a short built-in guitar riff
(single notes and a chord, as a guitar sounds straight from its jack) and
leaves two files in the current folder: murkfell-clean.wav, the riff as it
went in, and murkfell-processed.wav, the riff through the pedal. The riff
is sampled 44100 times a second, or at the rate --rate HZ asks for.

IN is a WAV, FLAC, AIFF or OGG file (anything libsndfile reads). The result
keeps its sample rate, channels and format; name OUT with another ending
(.wav, .flac, .aiff, .ogg) to get another kind of file. An ending that names
no kind of sound file, such as .xyz, is refused; no ending, or IN's own
ending, keeps IN's kind. Without OUT the result goes to the current folder as
IN's name with "-murkfell" added. Each channel of a stereo file goes through
its own pedal. An empty recording gives an empty OUT.

OUT is never IN itself: naming the recording (or a link to it) as OUT is
refused, so the recording is kept. When OUT is a symbolic link, the file it
points to gets the result and the link stays. The result appears only once it
is complete; an error or Ctrl-C leaves any earlier OUT as it was.

A recording that ends before its header says (a file cut off while it was
being recorded or copied) is an error: the message gives the length promised
and the length found, nothing is written and the exit status is 1.

Files of whole-number samples (16 or 24 bits, FLAC) stop at full scale, so
louder samples are clipped. The renderer then warns at the end with the
number of clipped samples and the loudest peak in dBFS; the file is still
written and the exit status stays 0. --float keeps every sample instead.

Options:
  --set NAME=VALUE  turn a knob or flip a switch before playing; VALUE is from
                    0 to 1, the knob's travel from fully left to fully right.
                    Murkfell's controls, with their values to start with:
)" + controlsHelp() +
         R"(                    Repeat for more:
                      --set Gain=0.8 --set CabSim=0
                    Names are not case-sensitive.
  --float           write 32-bit floating-point samples, which do not clip
                    (WAV, AIFF and CAF files hold them; FLAC does not)
  --list            show the pedal's name and every control with its value
                    (after any --set), and stop
  --rate HZ         play the built-in riff sampled HZ times a second (8000 to
                    384000) instead of 44100; both riff files then have that
                    rate. A recording of your own keeps its rate.
  --block N         hand the audio over in blocks of N samples, as a
                    recording program would (default 512)
  --plugin PATH     use another VST 2.4 plug-in (.so) instead of Murkfell
  --snapshot FILE.png
                    draw the pedal's own window, with the controls as --set
                    puts them, into a PNG picture instead of playing anything;
                    the name must end in .png, and no IN or OUT goes with it
  --info            with --snapshot only: show the back of the pedal with its
                    information panel
  --help            show this text

A progress bar appears on long renders, as wide as the terminal allows
(the terminal's own width, else $COLUMNS); Ctrl-C stops the render at once and
ends the bar's line. The last line says how much audio was rendered and how
many times faster than real time that went.

Exit status: 0 when the result was written (clipping warnings included),
1 when it could not be (nothing is written then), 2 for a mistake on the
command line, 128 + the signal's number after Ctrl-C (130) or termination.
)";
}

}  // namespace render
