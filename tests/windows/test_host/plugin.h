// A VST 2.4 plug-in DLL loaded by path and one instance of it, driven through
// the effect record only, as a Windows host drives it. The host's side of the
// conversation (automation, begin and end of edits) is printed to stdout.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "formats/vst2/aeffect.h"
#include "tools/vst_loader/vst_library.h"

class Plugin {
 public:
  // Loads the DLL and creates an instance; throws std::runtime_error when
  // either fails.
  explicit Plugin(const std::string& path);
  ~Plugin();
  Plugin(const Plugin&) = delete;
  Plugin& operator=(const Plugin&) = delete;

  VstIntPtr dispatch(VstInt32 opcode, VstInt32 index = 0, VstIntPtr value = 0, void* ptr = nullptr,
                     float opt = 0.0f) const;
  AEffect& record() const { return *effect; }

  // The parameter whose name matches ignoring case.
  std::optional<VstInt32> findParameter(std::string_view name) const;
  float parameter(VstInt32 index) const { return effect->getParameter(effect, index); }
  void setParameter(VstInt32 index, float value) { effect->setParameter(effect, index, value); }

 private:
  std::string parameterName(VstInt32 index) const;

  VstLibrary library;
  AEffect* effect = nullptr;
};
