#include "tools/render/editor_snapshot.h"

#include <strings.h>

#include <cstdio>
#include <optional>

#include "editor/murkfell_editor.h"
#include "formats/vst2/murkfell_effect.h"
#include "toolkit/c_frame.h"
#include "tools/render/render_error.h"

namespace render {
namespace {

std::optional<VstInt32> controlNamed(MurkfellEffect& effect, const std::string& name) {
  for (VstInt32 index = 0; index < kNumParameters; ++index) {
    char reported[kVstMaxParamStrLen] = {};
    effect.getParameterName(index, reported);
    if (reported[0] != '\0' && strcasecmp(reported, name.c_str()) == 0) {
      return index;
    }
  }
  return std::nullopt;
}

}  // namespace

void writeEditorSnapshot(const std::string& path, const std::vector<ParameterSetting>& settings,
                         bool backFace) {
  MurkfellEffect effect{nullptr};
  for (const ParameterSetting& setting : settings) {
    const std::optional<VstInt32> index = controlNamed(effect, setting.name);
    if (!index) {
      throw RenderError("the pedal has no control named \"" + setting.name + "\"");
    }
    effect.setParameter(*index, setting.value);
  }
  // Without a parent window the editor draws off-screen.
  effect.dispatcher(effEditOpen, 0, 0, nullptr, 0.0f);
  if (backFace) {
    effect.setParameter(kPageSwitch, 1.0f);
  }
  CFrame* frame = dynamic_cast<AEffGUIEditor*>(effect.getEditor())->getFrame();
  const std::string partial = path + ".partial";
  if (!frame->writePng(partial.c_str()) || std::rename(partial.c_str(), path.c_str()) != 0) {
    std::remove(partial.c_str());
    throw RenderError("cannot write the snapshot " + path);
  }
}

}  // namespace render
