// The pedal's editor as an LV2 UI: it shows the ports' values, which reach it
// through port events, and writes the user's edits back through the host's
// write function, bracketed by touch gestures where the host offers them.
// Everything here runs on the host's UI thread.
#pragma once

#include <lv2/ui/ui.h>

#include <array>
#include <cstdint>

#include "editor/editor_controller.h"
#include "editor/murkfell_editor.h"
#include "formats/lv2/port_table.h"

namespace murkfell::lv2 {

// What the host lent the UI at instantiation.
struct UiHost {
  LV2UI_Write_Function write = nullptr;
  LV2UI_Controller controller = nullptr;
  const LV2UI_Touch* touch = nullptr;    // optional
  const LV2UI_Resize* resize = nullptr;  // optional
};

class EditorUi : private EditorController {
 public:
  EditorUi(const UiHost& host, ImageLookup images);

  // Opens the editor's window inside the host's; false when no window could
  // be made there. Tells the host the editor's size where it asks to know.
  bool open(void* parentWindow);
  // The X11 window the host embeds.
  LV2UI_Widget widget() const;

  // A control port's value, from the host; anything but a float is ignored.
  void portEvent(std::uint32_t port, std::uint32_t size, std::uint32_t format, const void* buffer);
  // Runs the window's events and redraws; non-zero once the window is gone.
  int idle();

  MurkfellEditor& pedalEditor() { return editor; }

 private:
  float parameter(std::int32_t index) override;
  void setParameterFromEditor(std::int32_t index, float value) override;
  bool beginEdit(std::int32_t index) override;
  bool endEdit(std::int32_t index) override;
  bool touch(std::int32_t index, bool grabbed);

  UiHost host;
  // The last value of every port as the host or the editor set it.
  std::array<float, kNumPorts> portValues{};
  MurkfellEditor editor;
};

}  // namespace murkfell::lv2
