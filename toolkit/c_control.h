// A view with a value (default range 0..1), a tag naming what it edits, a
// listener told of user edits and an optional bitmap it holds a reference to.
#pragma once

#include "toolkit/c_view.h"

class CBitmap;
class CControlListener;

class CControl : public CView {
 public:
  CControl(const CRect& size, CControlListener* listener = nullptr, long tag = 0,
           CBitmap* background = nullptr);
  ~CControl() override;

  // Stores the value as given; drawing decides how to show values outside
  // the range.
  virtual void setValue(float newValue) { value = newValue; }
  float getValue() const { return value; }
  long getTag() const { return tag; }

  // Dirty while the value differs from the one last drawn.
  void setDirty(bool dirty = true) override;
  bool isDirty() const override;

  // Brackets a user edit: tells the listener and, through the frame, the
  // editor (which tells the host).
  void beginEdit();
  void endEdit();

 protected:
  void bounceValue();
  // Control + left click: sets the default value inside begin and end of an
  // edit, telling the listener only when the value changes.
  bool checkDefaultValue(long buttons);
  void notifyValueChanged();
  // A value the user set in one gesture (a click, a wheel notch, a key):
  // begin, valueChanged, end, then idle time for the host.
  void reportSingleEdit();
  // Lets the host run its own idle work during a user interaction.
  void doIdleStuff();

  float value = 0.0f;
  float vmin = 0.0f;
  float vmax = 1.0f;
  float defaultValue = 0.5f;
  CBitmap* background;

 private:
  CControlListener* listener;
  long tag;
  float drawnValue = 0.0f;
};
