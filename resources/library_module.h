// The module (DLL) the plug-in was loaded as, stored by its load notification
// on Windows: its images are resources of that module, and the toolkit
// registers its window class for it. Null elsewhere and before the load.
#pragma once

namespace murkfell {

inline void* libraryModule = nullptr;

}  // namespace murkfell
