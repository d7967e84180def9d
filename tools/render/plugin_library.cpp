#include "tools/render/plugin_library.h"

#include <stdexcept>

#include "tools/render/host_callback.h"
#include "tools/render/render_error.h"

namespace render {
namespace {

VstLibrary load(const std::string& path) {
  try {
    return VstLibrary(path);
  } catch (const std::runtime_error& error) {
    throw RenderError("cannot load the plug-in " + path + ": " + error.what());
  }
}

}  // namespace

PluginLibrary::PluginLibrary(const std::string& path)
    : libraryPath(path), library(load(path)), entry(library.mainEntry()) {
  if (entry == nullptr) {
    throw RenderError(path + " is not a VST 2.4 plug-in: it has no VSTPluginMain entry point");
  }
}

AEffect* PluginLibrary::createEffect() const {
  AEffect* effect = entry(hostCallback);
  if (effect == nullptr) {
    throw RenderError("the plug-in " + libraryPath + " refused to start (VSTPluginMain gave null)");
  }
  if (effect->magic != kEffectMagic || effect->dispatcher == nullptr) {
    throw RenderError("the plug-in " + libraryPath + " did not return a VST effect record");
  }
  return effect;
}

}  // namespace render
