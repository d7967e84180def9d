#include "tests/windows/test_host/plugin.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cstdio>
#include <stdexcept>

namespace {

// Answers the version query and reports the requests a host would record.
VstIntPtr hostCallback(AEffect* /*effect*/, VstInt32 opcode, VstInt32 index, VstIntPtr /*value*/,
                       void* /*ptr*/, float opt) {
  switch (opcode) {
    case audioMasterVersion:
      return kVstVersion;
    case audioMasterAutomate:
      std::printf("automate %d %g\n", static_cast<int>(index), static_cast<double>(opt));
      return 1;
    case audioMasterBeginEdit:
      std::printf("beginEdit %d\n", static_cast<int>(index));
      return 1;
    case audioMasterEndEdit:
      std::printf("endEdit %d\n", static_cast<int>(index));
      return 1;
    default:
      return 0;
  }
}

bool equalIgnoringCase(std::string_view a, std::string_view b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](unsigned char x, unsigned char y) {
    return std::tolower(x) == std::tolower(y);
  });
}

}  // namespace

Plugin::Plugin(const std::string& path) : library(path) {
  const VstLibrary::EntryPoint entry = library.mainEntry();
  effect = entry != nullptr ? entry(hostCallback) : nullptr;
  if (effect == nullptr || effect->magic != kEffectMagic) {
    throw std::runtime_error(path + " gives no VST 2.4 effect");
  }
  dispatch(effOpen);
}

Plugin::~Plugin() { dispatch(effClose); }

VstIntPtr Plugin::dispatch(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr,
                           float opt) const {
  return effect->dispatcher(effect, opcode, index, value, ptr, opt);
}

std::string Plugin::parameterName(VstInt32 index) const {
  std::array<char, 256> name{};  // roomier than the published limit
  dispatch(effGetParamName, index, 0, name.data());
  name.back() = '\0';
  return name.data();
}

std::optional<VstInt32> Plugin::findParameter(std::string_view name) const {
  for (VstInt32 index = 0; index < effect->numParams; ++index) {
    if (equalIgnoringCase(parameterName(index), name)) {
      return index;
    }
  }
  return std::nullopt;
}
