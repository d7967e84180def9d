#include "resources/resource_table.h"

#include <algorithm>
#include <cctype>

namespace murkfell {
namespace {

bool sameIgnoringCase(std::string_view a, std::string_view b) {
  return std::ranges::equal(
      a, b, [](unsigned char x, unsigned char y) { return std::toupper(x) == std::toupper(y); });
}

}  // namespace

std::span<const unsigned char> findResource(std::string_view name, std::string_view type) {
  for (const ResourceEntry* entry = resourceTable; entry->name != nullptr; ++entry) {
    if (sameIgnoringCase(entry->name, name) && sameIgnoringCase(entry->type, type)) {
      return {entry->data, entry->size};
    }
  }
  return {};
}

}  // namespace murkfell
