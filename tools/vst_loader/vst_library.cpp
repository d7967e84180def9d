#include "tools/vst_loader/vst_library.h"

#include <dlfcn.h>

#include <stdexcept>

namespace {

std::string asFilePath(const std::string& path) {
  return path.find('/') == std::string::npos ? "./" + path : path;
}

}  // namespace

VstLibrary::VstLibrary(const std::string& path)
    : handle(dlopen(asFilePath(path).c_str(), RTLD_NOW | RTLD_LOCAL)) {
  if (handle == nullptr) {
    throw std::runtime_error(dlerror());
  }
}

VstLibrary::~VstLibrary() { dlclose(handle); }

VstLibrary::EntryPoint VstLibrary::entry(const char* name) const {
  return reinterpret_cast<EntryPoint>(dlsym(handle, name));
}

VstLibrary::EntryPoint VstLibrary::mainEntry() const {
  const EntryPoint current = entry("VSTPluginMain");
  return current != nullptr ? current : entry("main");
}
