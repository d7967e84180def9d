// The images as resources of the library's module, looked up the way Windows
// does: FindResource upper-cases string names, so any case finds them, and it
// takes the resource in whatever language the module stores it.
#include <windows.h>

#include <string>

#include "resources/library_module.h"
#include "resources/resource_table.h"

namespace murkfell {

std::span<const unsigned char> findResource(std::string_view name, std::string_view type) {
  const auto module = static_cast<HMODULE>(libraryModule);
  if (module == nullptr) {
    return {};
  }
  const std::string nameText(name);
  const std::string typeText(type);
  HRSRC found = FindResourceA(module, nameText.c_str(), typeText.c_str());
  if (found == nullptr) {
    return {};
  }
  HGLOBAL loaded = LoadResource(module, found);
  const DWORD size = SizeofResource(module, found);
  const void* bytes = loaded != nullptr ? LockResource(loaded) : nullptr;
  if (bytes == nullptr || size == 0) {
    return {};
  }
  return {static_cast<const unsigned char*>(bytes), size};
}

}  // namespace murkfell
