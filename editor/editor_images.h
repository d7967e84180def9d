// Where the editor's PNG images come from: the format shell that owns them
// (bytes embedded in the program, or the resources of a Windows module).
#pragma once

#include <span>
#include <string_view>

// The bytes of the image with that resource name (matched ignoring case);
// empty when there is none, which gives an empty bitmap.
using ImageLookup = std::span<const unsigned char> (*)(std::string_view resourceName);
