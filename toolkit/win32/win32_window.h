// The frame's child window inside a host's window on Windows. The host's
// message loop delivers the window's messages; input is queued there and
// handed to the frame at the next idle, as the X11 window does with its
// connection, while painting answers at once from the frame's last image.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <vector>

#include "toolkit/c_rect.h"
#include "toolkit/native_types.h"
#include "toolkit/window_event.h"

class Win32Window {
 public:
  // `parent` is the HWND the host passes to effEditOpen.
  Win32Window(void* parent, int width, int height);
  ~Win32Window();
  Win32Window(const Win32Window&) = delete;
  Win32Window& operator=(const Win32Window&) = delete;

  // False when the window could not be made or was destroyed with its parent.
  bool isOpen() const { return window != nullptr; }
  std::uintptr_t getWindow() const { return reinterpret_cast<std::uintptr_t>(window); }

  // Hands every event queued since the last call to `handle`.
  void pump(const std::function<void(const WindowEvent&)>& handle);
  // Copies `area` of the image onto the window; the window repaints from the
  // same image whenever Windows asks it to.
  void present(NativeImage* image, const CRect& area);

 private:
  static LRESULT CALLBACK windowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam);
  void queueButton(WindowEvent::Kind kind, long button, WPARAM wParam, LPARAM lParam);
  void copyToDevice(HDC device, const CRect& area);

  HWND window = nullptr;
  NativeImage* shown = nullptr;
  std::vector<WindowEvent> pending;
  long heldButtons = 0;
  CPoint lastPointer;
  bool leaveTracked = false;
  bool holdsClass = false;
};
