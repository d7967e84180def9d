// Images and other files compiled into the library, found by name.
#pragma once

#include <cstddef>
#include <span>
#include <string_view>

namespace murkfell {

struct ResourceEntry {
  const char* name;  // upper case, as the resource directory stores it
  const char* type;
  int language;
  const unsigned char* data;
  std::size_t size;
};

// Provided by the resource library linked into the program (the plug-in's own
// images, or a test's); ends with an entry whose name is null. Windows builds
// have no table: there the images are resources of the library's module.
extern const ResourceEntry resourceTable[];

// The bytes of the resource of that type whose name matches ignoring case;
// empty when there is none. The language is not asked for.
std::span<const unsigned char> findResource(std::string_view name, std::string_view type = "DATA");

// An image of the editor: the resource of type "DATA" with that name.
inline std::span<const unsigned char> findImage(std::string_view name) {
  return findResource(name, "DATA");
}

}  // namespace murkfell
