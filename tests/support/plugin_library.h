// Loads the built plug-in the way a host does: dlopen and the exported entry.
#pragma once

#include <dlfcn.h>

#include <stdexcept>
#include <string>

#include "formats/vst2/aeffect.h"

class PluginLibrary {
 public:
  using EntryPoint = AEffect* (*)(audioMasterCallback);

  explicit PluginLibrary(const std::string& path = MURKFELL_PLUGIN_PATH)
      : handle(dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL)) {
    if (handle == nullptr) {
      throw std::runtime_error(dlerror());
    }
  }
  ~PluginLibrary() { dlclose(handle); }
  PluginLibrary(const PluginLibrary&) = delete;
  PluginLibrary& operator=(const PluginLibrary&) = delete;

  EntryPoint entry(const char* name = "VSTPluginMain") const {
    return reinterpret_cast<EntryPoint>(dlsym(handle, name));
  }

 private:
  void* handle;
};

inline VstIntPtr dispatch(AEffect* effect, VstInt32 opcode, VstInt32 index = 0, VstIntPtr value = 0,
                          void* ptr = nullptr, float opt = 0.0f) {
  return effect->dispatcher(effect, opcode, index, value, ptr, opt);
}
