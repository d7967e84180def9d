// The --list report: a plug-in's identity and its parameters with their values.
#pragma once

#include <ostream>
#include <string>

#include "tools/render/plugin_instance.h"

namespace render {

void printListing(std::ostream& out, const std::string& pluginPath, const PluginInstance& plugin);

}  // namespace render
