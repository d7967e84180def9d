// A VST 2.4 plug-in library loaded into the process the way a host loads it:
// dlopen (LoadLibrary on Windows), then the exported entry point, which
// creates instances.
#pragma once

#include <string>

#include "formats/vst2/aeffect.h"

class VstLibrary {
 public:
  using EntryPoint = AEffect* (*)(audioMasterCallback);

  // Throws std::runtime_error with the loader's reason when the file does not
  // load. A bare file name means the file in the current folder, not a
  // library on the system's search path.
  explicit VstLibrary(const std::string& path);
  ~VstLibrary();
  VstLibrary(const VstLibrary&) = delete;
  VstLibrary& operator=(const VstLibrary&) = delete;

  // The exported function of that name; null when there is none.
  EntryPoint entry(const char* name) const;
  // VSTPluginMain, or `main` as plug-ins from before VST 2.4 export it; null
  // when there is neither.
  EntryPoint mainEntry() const;

 private:
  void* handle;
};
