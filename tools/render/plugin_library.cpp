#include "tools/render/plugin_library.h"

#include <dlfcn.h>

#include "tools/render/host_callback.h"
#include "tools/render/render_error.h"

namespace render {
namespace {

// dlopen searches the system's library folders for a bare name; a plug-in
// named on the command line is a file, so it is looked up as one.
std::string asFilePath(const std::string& path) {
  return path.find('/') == std::string::npos ? "./" + path : path;
}

}  // namespace

PluginLibrary::PluginLibrary(const std::string& path)
    : libraryPath(path), handle(dlopen(asFilePath(path).c_str(), RTLD_NOW | RTLD_LOCAL)) {
  if (handle == nullptr) {
    throw RenderError("cannot load the plug-in " + path + ": " + dlerror());
  }
  // Plug-ins built before VST 2.4 export their entry point as `main` only;
  // hosts accept either name, and so does this one.
  entry = reinterpret_cast<EntryPoint>(dlsym(handle, "VSTPluginMain"));
  if (entry == nullptr) {
    entry = reinterpret_cast<EntryPoint>(dlsym(handle, "main"));
  }
  if (entry == nullptr) {
    dlclose(handle);
    throw RenderError(path + " is not a VST 2.4 plug-in: it has no VSTPluginMain entry point");
  }
}

PluginLibrary::~PluginLibrary() { dlclose(handle); }

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
