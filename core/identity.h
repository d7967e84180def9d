// Who the pedal is, as every format reports it to its host.
#pragma once

#include <string_view>

namespace murkfell {

inline constexpr std::string_view kProductName = "Orveton Murkfell";
inline constexpr std::string_view kVendorName = "Orveton";
// Version 1.03 as one number: major·1000 + minor·10.
inline constexpr int kVendorVersion = 1030;

}  // namespace murkfell
