#include "tools/render/editor_snapshot.h"

#include <strings.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <optional>

#include "editor/murkfell_editor.h"
#include "formats/vst2/murkfell_effect.h"
#include "toolkit/c_frame.h"
#include "tools/render/pending_file.h"
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
  // Everything drawn afresh, with the settings above.
  frame->setDirty(true);
  frame->idle();
  writePng(frame->getImage(), path);
}

}  // namespace render
