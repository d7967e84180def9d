// Receives the edits a user makes with a control.
#pragma once

class CControl;

class CControlListener {
 public:
  virtual ~CControlListener() = default;
  virtual void valueChanged(CControl* control) = 0;
  virtual long controlModifierClicked(CControl* /*control*/, long /*buttons*/) { return 0; }
  virtual void controlBeginEdit(CControl* /*control*/) {}
  virtual void controlEndEdit(CControl* /*control*/) {}
};
