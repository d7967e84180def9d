// Stands in for the editor behind a frame: records listener calls, edit
// brackets and idle requests in the order they arrive, and answers a chosen
// knob mode.
#pragma once

#include <string>
#include <vector>

#include "toolkit/c_control.h"
#include "toolkit/c_control_listener.h"
#include "toolkit/vstgui_editor_interface.h"

class EditLog : public CControlListener, public VSTGUIEditorInterface {
 public:
  void valueChanged(CControl* control) override {
    events.push_back("changed " + std::to_string(control->getTag()));
    values.push_back(control->getValue());
  }
  bool beginEdit(long index) override {
    events.push_back("begin " + std::to_string(index));
    return true;
  }
  bool endEdit(long index) override {
    events.push_back("end " + std::to_string(index));
    return true;
  }
  long getKnobMode() const override { return knobMode; }
  void doIdleStuff() override { events.push_back("idle"); }

  void clear() {
    events.clear();
    values.clear();
  }

  long knobMode = kCircularMode;
  std::vector<std::string> events;
  std::vector<float> values;  // the control's value at each valueChanged
};
