// The base of everything a frame shows: a rectangle that draws itself and may
// take the mouse within its mouseable area.
#pragma once

#include "toolkit/c_base_object.h"
#include "toolkit/c_key_code.h"
#include "toolkit/c_rect.h"

class CDrawContext;
class CFrame;

// Mouse buttons and modifier keys held during a mouse event.
enum CButton : long {
  kLButton = 1 << 1,
  kMButton = 1 << 2,
  kRButton = 1 << 3,
  kShift = 1 << 4,
  kControl = 1 << 5,
  kAlt = 1 << 6,
};

enum CMouseEventResult {
  kMouseEventNotHandled = 0,
  kMouseEventHandled,  // the view captures the mouse until the release
  kMouseDownEventHandledButDontNeedMovedOrUpEvents,
};

class CView : public CBaseObject {
 public:
  explicit CView(const CRect& size);

  virtual void draw(CDrawContext* context);

  virtual CMouseEventResult onMouseDown(CPoint& where, const long& buttons);
  virtual CMouseEventResult onMouseUp(CPoint& where, const long& buttons);
  virtual CMouseEventResult onMouseMoved(CPoint& where, const long& buttons);
  // The wheel turned over the view by `distance` notches, positive away from
  // the user, with the modifier keys in `buttons`; true when the view used it.
  virtual bool onWheel(const CPoint& where, const float& distance, const long& buttons);
  // A key while the view is under the pointer or was the one the mouse
  // touched last; answers kKeyEventHandled when the view took it.
  virtual long onKeyDown(CKeyCode& key);
  virtual long onKeyUp(CKeyCode& key);

  virtual void setDirty(bool dirty = true) { viewDirty = dirty; }
  virtual bool isDirty() const { return viewDirty; }

  void setMouseEnabled(bool enabled = true) { mouseEnabled = enabled; }
  bool getMouseEnabled() const { return mouseEnabled; }
  void setMouseableArea(const CRect& area) { mouseableArea = area; }
  CRect& getMouseableArea(CRect& area) const;
  void setVisible(bool visible) { viewVisible = visible; }
  bool isVisible() const { return viewVisible; }

  const CRect& getViewSize() const { return size; }

  // Called by the frame when the view is added to it or taken out of it.
  virtual void attached(CFrame* frame);
  virtual void removed(CFrame* frame);
  bool isAttached() const { return parentFrame != nullptr; }
  CFrame* getFrame() const { return parentFrame; }

 protected:
  CRect size;
  CRect mouseableArea;

 private:
  CFrame* parentFrame = nullptr;
  bool mouseEnabled = true;
  bool viewVisible = true;
  bool viewDirty = false;
};
