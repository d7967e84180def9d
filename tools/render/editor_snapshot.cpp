#include "tools/render/editor_snapshot.h"

#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <optional>

#include "core/parameter_store.h"
#include "editor/murkfell_editor.h"
#include "resources/resource_table.h"
#include "toolkit/c_frame.h"
#include "tools/render/pending_file.h"
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

struct PngDestination {
  int descriptor;
  int error = 0;  // errno of a failed write
};

cairo_status_t writeToDescriptor(void* closure, const unsigned char* data, unsigned int length) {
  auto* destination = static_cast<PngDestination*>(closure);
  while (length > 0) {
    const ssize_t written = write(destination->descriptor, data, length);
    if (written < 0 && errno == EINTR) {
      continue;
    }
    if (written <= 0) {
      destination->error = written < 0 ? errno : EIO;
      return CAIRO_STATUS_WRITE_ERROR;
    }
    data += written;
    length -= static_cast<unsigned int>(written);
  }
  return CAIRO_STATUS_SUCCESS;
}

// The file appears only once the whole picture is in it.
void writePng(cairo_surface_t* image, const std::string& path) {
  PendingFile file(path);
  PngDestination destination{file.descriptor()};
  const cairo_status_t status =
      cairo_surface_write_to_png_stream(image, writeToDescriptor, &destination);
  if (status != CAIRO_STATUS_SUCCESS) {
    throw RenderError("cannot write the snapshot " + path + ": " +
                      (destination.error != 0 ? std::strerror(destination.error)
                                              : cairo_status_to_string(status)));
  }
  file.commit();
}

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
  // Everything drawn afresh, with the settings above.
  editor.getFrame()->setDirty(true);
  editor.idle();
  writePng(editor.getFrame()->getImage(), path);
}

}  // namespace render
