// Writes the bundle's manifest.ttl and plug-in description at build time:
//   murkfell-lv2-data BUNDLE_DIR DSP_BINARY UI_BINARY MINOR MICRO
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "formats/lv2/bundle_data.h"

namespace {

constexpr const char* kPluginDataName = "murkfell.ttl";

template <typename Write>
bool writeFile(const std::filesystem::path& path, Write write) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  write(out);
  out.close();
  if (!out) {
    std::fprintf(stderr, "murkfell-lv2-data: cannot write %s\n", path.c_str());
    return false;
  }
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 6) {
    std::fprintf(stderr, "usage: %s BUNDLE_DIR DSP_BINARY UI_BINARY MINOR MICRO\n", argv[0]);
    return 2;
  }
  const std::filesystem::path bundle = argv[1];
  const murkfell::lv2::BundleFiles files{argv[2], argv[3], kPluginDataName};
  const murkfell::lv2::PluginVersion version{std::atoi(argv[4]), std::atoi(argv[5])};
  std::filesystem::create_directories(bundle);
  const bool written =
      writeFile(bundle / "manifest.ttl",
                [&](std::ostream& out) { murkfell::lv2::writeManifest(out, files); }) &&
      writeFile(bundle / kPluginDataName,
                [&](std::ostream& out) { murkfell::lv2::writePluginData(out, version); });
  return written ? 0 : 1;
}
