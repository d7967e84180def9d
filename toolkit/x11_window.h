// The frame's child window inside a host's X11 window, on a display
// connection of its own. Every call that may touch a window the host could
// have destroyed runs under an error trap, so a vanished parent cannot abort
// the host; after such an error the window is treated as gone.
#pragma once

#include <X11/Xlib.h>
#include <cairo.h>

#include <functional>

#include "toolkit/c_rect.h"
#include "toolkit/window_event.h"

class X11Window {
 public:
  // Linux hosts pass the parent's X11 window id in the pointer.
  X11Window(void* parent, int width, int height);
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
