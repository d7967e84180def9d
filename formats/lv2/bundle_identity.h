// The names hosts know the LV2 plug-in and its editor by. Sessions store the
// plug-in's URI, so neither URI ever changes.
#pragma once

namespace murkfell::lv2 {

inline constexpr char kPluginUri[] = "urn:orveton:murkfell";
inline constexpr char kUiUri[] = "urn:orveton:murkfell:ui";

// All rights reserved by the vendor, as the editor's back face says; there is
// no public licence text to point at, so the licence is named by the vendor.
inline constexpr char kLicenseUri[] = "urn:orveton:license:all-rights-reserved";

}  // namespace murkfell::lv2
