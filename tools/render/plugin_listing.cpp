#include "tools/render/plugin_listing.h"

#include <algorithm>
#include <cstdio>
#include <iomanip>

namespace render {
namespace {

// A unique ID is four characters by convention; shown as such when printable.
std::string uniqueIdText(VstInt32 id) {
  std::string code;
  for (const int shift : {24, 16, 8, 0}) {
    code += static_cast<char>((static_cast<std::uint32_t>(id) >> shift) & 0xFF);
  }
  char hex[16];
  std::snprintf(hex, sizeof(hex), "0x%08X", static_cast<std::uint32_t>(id));
  const bool printable =
      std::all_of(code.begin(), code.end(), [](unsigned char c) { return c >= 0x20 && c < 0x7F; });
  return printable ? code + " (" + hex + ")" : std::string(hex);
}

std::string plural(int count, const char* noun) {
  return std::to_string(count) + " " + noun + (count == 1 ? "" : "s");
}

}  // namespace

void printListing(std::ostream& out, const std::string& pluginPath, const PluginInstance& plugin) {
  out << "plug-in:    " << pluginPath << '\n'
      << "effect:     " << plugin.text(effGetEffectName) << '\n'
      << "vendor:     " << plugin.text(effGetVendorString) << '\n'
      << "product:    " << plugin.text(effGetProductString) << '\n'
      << "version:    " << plugin.vendorVersion() << '\n'
      << "unique ID:  " << uniqueIdText(plugin.uniqueId()) << '\n'
      << "audio:      " << plural(plugin.inputCount(), "input") << ", "
      << plural(plugin.outputCount(), "output") << '\n'
      << "parameters (name, value from 0 to 1, the plug-in's own reading):\n";
  std::size_t nameWidth = 0;
  for (int index = 0; index < plugin.parameterCount(); ++index) {
    nameWidth = std::max(nameWidth, plugin.parameterName(index).size());
  }
  for (int index = 0; index < plugin.parameterCount(); ++index) {
    const std::string name = plugin.parameterName(index);
    out << std::setw(5) << index << "  " << std::left << std::setw(static_cast<int>(nameWidth))
        << (name.empty() ? "-" : name) << std::right << "  " << std::fixed << std::setprecision(4)
        << plugin.parameter(index);
    if (const std::string display = plugin.parameterDisplay(index); !display.empty()) {
      out << "  " << display;
    }
    out << '\n';
  }
}

}  // namespace render
