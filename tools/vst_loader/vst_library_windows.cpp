#include <windows.h>

#include <stdexcept>

#include "tools/vst_loader/vst_library.h"

namespace {

std::string asFilePath(const std::string& path) {
  return path.find_first_of("/\\") == std::string::npos ? ".\\" + path : path;
}

HMODULE module(void* handle) { return static_cast<HMODULE>(handle); }

}  // namespace

VstLibrary::VstLibrary(const std::string& path) : handle(LoadLibraryA(asFilePath(path).c_str())) {
  if (handle == nullptr) {
    throw std::runtime_error("cannot load " + path + " (error " + std::to_string(GetLastError()) +
                             ")");
  }
}

VstLibrary::~VstLibrary() { FreeLibrary(module(handle)); }

VstLibrary::EntryPoint VstLibrary::entry(const char* name) const {
  return reinterpret_cast<EntryPoint>(
      reinterpret_cast<void*>(GetProcAddress(module(handle), name)));
}

VstLibrary::EntryPoint VstLibrary::mainEntry() const {
  const EntryPoint current = entry("VSTPluginMain");
  return current != nullptr ? current : entry("main");
}
