// The LV2 entry of the pedal's editor: an X11 UI embedded in the window the
// host lends it (ui:parent), driven by the host's idle calls.
#include <lv2/core/lv2.h>
#include <lv2/ui/ui.h>

#include <cstring>
#include <new>

#include "formats/lv2/bundle_identity.h"
#include "formats/lv2/editor_ui.h"
#include "resources/resource_table.h"

using murkfell::lv2::EditorUi;

namespace {

EditorUi* editorUi(LV2UI_Handle handle) { return static_cast<EditorUi*>(handle); }

const void* feature(const LV2_Feature* const* features, const char* uri) {
  for (; features != nullptr && *features != nullptr; ++features) {
    if (std::strcmp((*features)->URI, uri) == 0) {
      return (*features)->data;
    }
  }
  return nullptr;
}

LV2UI_Handle instantiate(const LV2UI_Descriptor* /*descriptor*/, const char* pluginUri,
                         const char* /*bundlePath*/, LV2UI_Write_Function write,
                         LV2UI_Controller controller, LV2UI_Widget* widget,
                         const LV2_Feature* const* features) {
  void* parent = const_cast<void*>(feature(features, LV2_UI__parent));
  if (pluginUri == nullptr || std::strcmp(pluginUri, murkfell::lv2::kPluginUri) != 0 ||
      write == nullptr || widget == nullptr || parent == nullptr) {
    return nullptr;
  }
  const murkfell::lv2::UiHost host{
      write, controller, static_cast<const LV2UI_Touch*>(feature(features, LV2_UI__touch)),
      static_cast<const LV2UI_Resize*>(feature(features, LV2_UI__resize))};
  auto* ui = new (std::nothrow) EditorUi(host, murkfell::findImage);
  if (ui == nullptr) {
    return nullptr;
  }
  if (!ui->open(parent)) {
    delete ui;
    return nullptr;
  }
  *widget = ui->widget();
  return ui;
}

void cleanup(LV2UI_Handle handle) { delete editorUi(handle); }

void portEvent(LV2UI_Handle handle, uint32_t port, uint32_t size, uint32_t format,
               const void* buffer) {
  editorUi(handle)->portEvent(port, size, format, buffer);
}

int idle(LV2UI_Handle handle) { return editorUi(handle)->idle(); }

const LV2UI_Idle_Interface kIdleInterface{idle};

const void* extensionData(const char* uri) {
  if (uri != nullptr && std::strcmp(uri, LV2_UI__idleInterface) == 0) {
    return &kIdleInterface;
  }
  return nullptr;
}

const LV2UI_Descriptor kDescriptor{murkfell::lv2::kUiUri, instantiate, cleanup, portEvent,
                                   extensionData};

}  // namespace

extern "C" LV2_SYMBOL_EXPORT const LV2UI_Descriptor* lv2ui_descriptor(uint32_t index) {
  return index == 0 ? &kDescriptor : nullptr;
}
