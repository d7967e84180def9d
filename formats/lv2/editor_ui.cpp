#include "formats/lv2/editor_ui.h"

#include <cstdint>

#include "toolkit/c_frame.h"

namespace murkfell::lv2 {

EditorUi::EditorUi(const UiHost& host, ImageLookup images) : host(host), editor(*this, images) {
  for (const PortInfo& port : kPorts) {
    portValues[port.index] = defaultOf(port);
  }
}

bool EditorUi::open(void* parentWindow) {
  if (parentWindow == nullptr || !editor.open(parentWindow) || widget() == nullptr) {
    return false;
  }
  if (host.resize != nullptr) {
    const CRect& size = MurkfellEditor::kSize;
    host.resize->ui_resize(host.resize->handle, static_cast<int>(size.width()),
                           static_cast<int>(size.height()));
  }
  return true;
}

LV2UI_Widget EditorUi::widget() const {
  const CFrame* frame = editor.getFrame();
  const std::uintptr_t window = frame != nullptr ? frame->getWindowId() : 0;
  return reinterpret_cast<LV2UI_Widget>(window);
}

void EditorUi::portEvent(std::uint32_t port, std::uint32_t size, std::uint32_t format,
                         const void* buffer) {
  if (port >= kNumPorts || format != 0 || size != sizeof(float) || buffer == nullptr) {
    return;
  }
  const float value = *static_cast<const float*>(buffer);
  portValues[port] = value;
  const PortInfo& info = kPorts[port];
  if (info.parameter) {
    editor.parameterChanged(*info.parameter, value);
  }
  if (port == kBypassPort || port == kEnabledPort) {
    editor.parameterChanged(kLed, parameter(kLed));
  }
}

int EditorUi::idle() {
  editor.idle();
  return widget() == nullptr ? 1 : 0;
}

float EditorUi::parameter(std::int32_t index) {
  if (index == kLed) {
    return footswitch(portValues[kBypassPort], portValues[kEnabledPort]);
  }
  const auto port = portOf(index);
  return port ? portValues[*port] : 0.0f;
}

void EditorUi::setParameterFromEditor(std::int32_t index, float value) {
  const auto port = portOf(index);
  if (!port) {
    return;  // the page switch and the lamp live in the editor alone
  }
  portValues[*port] = value;
  host.write(host.controller, *port, sizeof(float), 0, &value);
  if (index == kBypass) {
    editor.parameterChanged(kLed, parameter(kLed));
  }
}

bool EditorUi::touch(std::int32_t index, bool grabbed) {
  const auto port = portOf(index);
  if (!port || host.touch == nullptr) {
    return false;
  }
  host.touch->touch(host.touch->handle, *port, grabbed);
  return true;
}

bool EditorUi::beginEdit(std::int32_t index) { return touch(index, true); }

bool EditorUi::endEdit(std::int32_t index) { return touch(index, false); }

}  // namespace murkfell::lv2
