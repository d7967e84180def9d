// The root of the view tree. It holds its views in order (later ones lie on
// top), routes the mouse to them, redraws what is dirty at idle, and paints
// into an image of its own that is copied to its window, or read off-screen
// when the frame has no window.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "toolkit/c_view.h"
#include "toolkit/native_types.h"

class VSTGUIEditorInterface;
struct WindowEvent;

class CFrame : public CView {
 public:
  // With a parent (as the host passes it: an X11 window id on Linux, an HWND
  // on Windows) the frame opens its child window there; with none it renders
  // off-screen only.
  CFrame(const CRect& size, void* systemWindow, VSTGUIEditorInterface* editor);
  ~CFrame() override;

  // Takes over the caller's reference to the view.
  bool addView(CView* view);
  // Detaches every view; with `withForget` also drops the frame's references.
  bool removeAll(bool withForget = true);
  long getNbViews() const { return static_cast<long>(views.size()); }
  CView* getView(long index) const;
  bool isChild(const CView* view) const;

  // Mouse events in frame pixels, offered front-most first.
  CMouseEventResult onMouseDown(CPoint& where, const long& buttons) override;
  CMouseEventResult onMouseUp(CPoint& where, const long& buttons) override;
  CMouseEventResult onMouseMoved(CPoint& where, const long& buttons) override;
  // The pointer left the frame: no view is under it any more.
  void onMouseExited();
  // The wheel goes to the view under the pointer, as a press would.
  bool onWheel(const CPoint& where, const float& distance, const long& buttons) override;
  // A key goes to the view under the pointer and, when that one does not take
  // it, to the view the mouse touched last (by a press or the wheel).
  long onKeyDown(CKeyCode& key) override;
  long onKeyUp(CKeyCode& key) override;

  // Handles pending window events, then redraws the dirty views, or every
  // view after setDirty(true) on the frame itself.
  void idle();
  void draw(CDrawContext* context) override;

  // The frame's image as last drawn (32-bit with alpha, frame-sized).
  NativeImage* getImage() const { return image; }

  long getKnobMode() const;
  void beginEdit(long tag);
  void endEdit(long tag);
  void doIdleStuff();

  // The child window, or 0 when the frame has none (off-screen or failed).
  std::uintptr_t getWindowId() const;

 private:
  void handleWindowEvent(const WindowEvent& event);
  void redrawDirtyViews();
  void drawArea(const CRect& area);
  CView* viewAt(const CPoint& where) const;
  void trackPointer(const CPoint& where);
  template <typename Handler>
  long offerKey(Handler handle);

  std::vector<CView*> views;
  VSTGUIEditorInterface* editor;
  CView* mouseCapture = nullptr;
  CView* lastTouched = nullptr;
  bool pointerInside = false;
  CPoint pointer;
  NativeImage* image;
  std::unique_ptr<NativeWindow> window;
};
