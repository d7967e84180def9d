#include "tools/render/editor_snapshot.h"

#include <cstdio>
#include <optional>

#include "core/parameter_store.h"
#include "editor/murkfell_editor.h"
#include "resources/resource_table.h"
#include "toolkit/c_frame.h"
#include "tools/render/render_error.h"

namespace render {
namespace {

// The editor's host here: the chosen values, and no host to tell of edits.
class SnapshotController : public EditorController {
 public:
  float parameter(std::int32_t index) override { return values.get(index); }
  void setParameterFromEditor(std::int32_t index, float value) override {
    values.set(index, value);
  }
  bool beginEdit(std::int32_t) override { return false; }
  bool endEdit(std::int32_t) override { return false; }

  murkfell::ParameterStore values;
};

}  // namespace

void writeEditorSnapshot(const std::string& path, const std::vector<ParameterSetting>& settings,
                         bool backFace) {
  SnapshotController controller;
  for (const ParameterSetting& setting : settings) {
    const std::optional<murkfell::ParameterId> index = murkfell::parameterNamed(setting.name);
    if (!index) {
      throw RenderError("the pedal has no control named \"" + setting.name + "\"");
    }
    controller.values.set(*index, setting.value);
  }
  MurkfellEditor editor(controller, murkfell::findImage);
  // Without a parent window the editor draws off-screen.
  editor.open(nullptr);
  if (backFace) {
    editor.parameterChanged(murkfell::kPageSwitch, 1.0f);
  }
  editor.idle();
  const std::string partial = path + ".partial";
  if (!editor.getFrame()->writePng(partial.c_str()) ||
      std::rename(partial.c_str(), path.c_str()) != 0) {
    std::remove(partial.c_str());
    throw RenderError("cannot write the snapshot " + path);
  }
}

}  // namespace render
