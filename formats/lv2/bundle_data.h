// The bundle's data files, written from the port table, the parameter table
// and the pedal's identity, so that what hosts read always matches the code.
#pragma once

#include <ostream>
#include <string_view>

namespace murkfell::lv2 {

struct BundleFiles {
  std::string_view dspBinary;  // file names inside the bundle
  std::string_view uiBinary;
  std::string_view pluginData;
};

// LV2 versions a plug-in by minor and micro number; the major one is its URI.
struct PluginVersion {
  int minor;
  int micro;
};

// manifest.ttl: what a host reads to find the plug-in, its UI and their files.
void writeManifest(std::ostream& out, const BundleFiles& files);
// The plug-in's description: identity, ports and the UI's needs.
void writePluginData(std::ostream& out, const PluginVersion& version);

}  // namespace murkfell::lv2
