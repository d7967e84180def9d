// The plug-in the renderer plays through, from which instances are created
// through its entry point as a host does.
#pragma once

#include <string>

#include "tools/vst_loader/vst_library.h"

namespace render {

class PluginLibrary {
 public:
  // Throws RenderError when the file does not load or has no entry point.
  explicit PluginLibrary(const std::string& path);

  // A new instance's effect record; throws RenderError when the entry point
  // refuses (null) or hands back something that is not an effect record.
  AEffect* createEffect() const;
  const std::string& path() const { return libraryPath; }

 private:
  std::string libraryPath;
  VstLibrary library;
  VstLibrary::EntryPoint entry;
};

}  // namespace render
