// The frame's child window inside a host's X11 window, on a display
// connection of its own. Every call that may touch a window the host could
// have destroyed runs under an error trap, so a vanished parent cannot abort
// the host; after such an error the window is treated as gone.
#pragma once

#include <X11/Xlib.h>
#include <cairo.h>

#include <functional>

#include "toolkit/c_rect.h"

struct WindowEvent {
  enum Kind { kExpose, kButtonPress, kButtonRelease, kMotion, kWheel, kLeave };
  Kind kind;
  CRect area;             // kExpose: the part to repaint
  CPoint where;           // mouse events: the pointer in window pixels
  long buttons;           // mouse events: CButton bits
  float distance = 0.0f;  // kWheel: notches, positive away from the user
};

class X11Window {
 public:
  X11Window(Window parent, int width, int height);
  ~X11Window();
  X11Window(const X11Window&) = delete;
  X11Window& operator=(const X11Window&) = delete;

  bool isOpen() const { return window != 0 && !lost; }
  Window getWindow() const { return window; }

  // Hands every pending event to `handle` without waiting for more.
  void pump(const std::function<void(const WindowEvent&)>& handle);
  // Copies `area` of the image onto the window.
  void present(cairo_surface_t* image, const CRect& area);

 private:
  Display* display = nullptr;
  Window window = 0;
  cairo_surface_t* surface = nullptr;
  bool lost = false;
};
