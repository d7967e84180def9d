// Copies text into a host-owned buffer of a published maximum size, always
// terminated, never past the buffer.
#pragma once

#include <cstddef>
#include <cstring>
#include <string_view>

inline void copyString(char* destination, std::string_view text, std::size_t capacity) {
  const std::size_t length = text.size() < capacity ? text.size() : capacity - 1;
  std::memcpy(destination, text.data(), length);
  destination[length] = '\0';
}
