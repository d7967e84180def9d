// A VST 2.4 plug-in library loaded into the process, from which instances are
// created through its entry point as a host does.
#pragma once

#include <string>

#include "formats/vst2/aeffect.h"

namespace render {

class PluginLibrary {
 public:
  // Throws RenderError when the file does not load or has no VSTPluginMain.
  explicit PluginLibrary(const std::string& path);
  ~PluginLibrary();
  PluginLibrary(const PluginLibrary&) = delete;
  PluginLibrary& operator=(const PluginLibrary&) = delete;

  // A new instance's effect record; throws RenderError when the entry point
  // refuses (null) or hands back something that is not an effect record.
  AEffect* createEffect() const;
  const std::string& path() const { return libraryPath; }

 private:
  using EntryPoint = AEffect* (*)(audioMasterCallback);

  std::string libraryPath;
  void* handle;
  EntryPoint entry;
};

}  // namespace render
