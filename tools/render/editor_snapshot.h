// A picture of the pedal's editor, drawn off-screen with chosen control
// settings: for documentation, and for checking a build without a host.
#pragma once

#include <string>
#include <vector>

#include "tools/render/command_line.h"

namespace render {

// Throws RenderError for a control name the pedal does not have or a file that
// cannot be written; the file then does not appear.
void writeEditorSnapshot(const std::string& path, const std::vector<ParameterSetting>& settings,
                         bool backFace);

}  // namespace render
