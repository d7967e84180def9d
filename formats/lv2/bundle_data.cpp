#include "formats/lv2/bundle_data.h"

#include <charconv>
#include <string>

#include "core/identity.h"
#include "formats/lv2/bundle_identity.h"
#include "formats/lv2/port_table.h"

namespace murkfell::lv2 {

namespace {

constexpr std::string_view kPrefixes =
    "@prefix doap: <http://usefulinc.com/ns/doap#> .\n"
    "@prefix foaf: <http://xmlns.com/foaf/0.1/> .\n"
    "@prefix lv2:  <http://lv2plug.in/ns/lv2core#> .\n"
    "@prefix rdfs: <http://www.w3.org/2000/01/rdf-schema#> .\n"
    "@prefix ui:   <http://lv2plug.in/ns/extensions/ui#> .\n\n";

// The shortest text that reads back as the same float, always with a point,
// so that Turtle takes it for a number with a fraction.
std::string number(float value) {
  char text[32];
  const auto end = std::to_chars(text, text + sizeof text, value).ptr;
  std::string result(text, end);
  if (result.find_first_of(".e") == std::string::npos) {
    result += ".0";
  }
  return result;
}

// A resource named by its URI, as Turtle writes it.
struct Uri {
  std::string_view name;
};

std::ostream& operator<<(std::ostream& out, const Uri& uri) {
  return out << '<' << uri.name << '>';
}

void writePort(std::ostream& out, const PortInfo& port) {
  switch (port.role) {
    case PortRole::audioInput:
      out << "a lv2:AudioPort , lv2:InputPort ;\n";
      break;
    case PortRole::audioOutput:
      out << "a lv2:AudioPort , lv2:OutputPort ;\n";
      break;
    case PortRole::control:
    case PortRole::enabled:
      out << "a lv2:ControlPort , lv2:InputPort ;\n";
      break;
  }
  out << "\t\tlv2:index " << port.index << " ;\n"
      << "\t\tlv2:symbol \"" << port.symbol << "\" ;\n"
      << "\t\tlv2:name \"" << port.name << "\"";
  if (port.role == PortRole::audioInput || port.role == PortRole::audioOutput) {
    return;
  }
  float minimum = 0.0f;
  float maximum = 1.0f;
  bool toggle = true;
  if (port.parameter) {
    const ParameterInfo& info = kParameters[*port.parameter];
    minimum = info.minimum;
    maximum = info.maximum;
    toggle = info.reading == ValueReading::toggle;
  } else {
    out << " ;\n\t\tlv2:designation lv2:enabled";
  }
  out << " ;\n\t\tlv2:default " << number(defaultOf(port)) << " ;\n"
      << "\t\tlv2:minimum " << number(minimum) << " ;\n"
      << "\t\tlv2:maximum " << number(maximum);
  if (toggle) {
    out << " ;\n\t\tlv2:portProperty lv2:toggled";
  }
}

}  // namespace

void writeManifest(std::ostream& out, const BundleFiles& files) {
  out << kPrefixes;
  out << Uri{kPluginUri} << "\n"
      << "\ta lv2:Plugin ;\n"
      << "\tlv2:binary " << Uri{files.dspBinary} << " ;\n"
      << "\trdfs:seeAlso " << Uri{files.pluginData} << " .\n\n";
  out << Uri{kUiUri} << "\n"
      << "\ta ui:X11UI ;\n"
      << "\tui:binary " << Uri{files.uiBinary} << " ;\n"
      << "\trdfs:seeAlso " << Uri{files.pluginData} << " .\n";
}

void writePluginData(std::ostream& out, const PluginVersion& version) {
  out << kPrefixes;
  out << Uri{kPluginUri} << "\n"
      << "\ta lv2:Plugin , lv2:DistortionPlugin , doap:Project ;\n"
      << "\tdoap:name \"" << kProductName << "\" ;\n"
      << "\tdoap:license " << Uri{kLicenseUri} << " ;\n"
      << "\tdoap:maintainer [\n\t\tfoaf:name \"" << kVendorName << "\"\n\t] ;\n"
      << "\tlv2:minorVersion " << version.minor << " ;\n"
      << "\tlv2:microVersion " << version.micro << " ;\n"
      << "\tlv2:optionalFeature lv2:hardRTCapable ;\n"
      << "\tui:ui " << Uri{kUiUri} << " ;\n"
      << "\tlv2:port [\n\t\t";
  for (const PortInfo& port : kPorts) {
    if (port.index != 0) {
      out << "\n\t] , [\n\t\t";
    }
    writePort(out, port);
  }
  out << "\n\t] .\n\n";
  // The editor lives in the host's window and is driven by the host's idle calls.
  out << Uri{kUiUri} << "\n"
      << "\ta ui:X11UI ;\n"
      << "\tlv2:requiredFeature ui:idleInterface , ui:parent ;\n"
      << "\tlv2:optionalFeature ui:resize , ui:touch ;\n"
      << "\tlv2:extensionData ui:idleInterface .\n";
}

}  // namespace murkfell::lv2
