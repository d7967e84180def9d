#include "toolkit/win32/win32_window.h"

#include <gdiplus.h>
#include <windowsx.h>

#include <algorithm>

#include "resources/library_module.h"
#include "toolkit/c_view.h"
#include "toolkit/flag_bits.h"

namespace {

constexpr wchar_t kClassName[] = L"MurkfellFrameWindow";

// The class is registered with the library's module while any window of it
// exists, so that nothing of the library stays registered once it can be
// unloaded. Windows of one process are made on the host's window thread.
int openWindows = 0;

HINSTANCE classModule() {
  // Outside a DLL (a test program) the module is the program itself.
  return murkfell::libraryModule != nullptr ? static_cast<HINSTANCE>(murkfell::libraryModule)
                                            : GetModuleHandleW(nullptr);
}

bool registerClassOnce(WNDPROC procedure) {
  if (openWindows++ > 0) {
    return true;
  }
  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof windowClass;
  windowClass.lpfnWndProc = procedure;
  windowClass.hInstance = classModule();
  windowClass.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
  windowClass.lpszClassName = kClassName;
  // No background brush: every pixel comes from the frame's image.
  return RegisterClassExW(&windowClass) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

void unregisterClassAfterLast() {
  if (--openWindows == 0) {
    UnregisterClassW(kClassName, classModule());
  }
}

long modifierBits(WPARAM keyState) {
  long bits = toolkitBits(keyState, {{MK_SHIFT, kShift}, {MK_CONTROL, kControl}});
  // Windows keeps Alt out of the mouse messages' key state.
  if (GetKeyState(VK_MENU) < 0) bits |= kAlt;
  return bits;
}

long buttonBits(WPARAM keyState) {
  return toolkitBits(keyState,
                     {{MK_LBUTTON, kLButton}, {MK_MBUTTON, kMButton}, {MK_RBUTTON, kRButton}});
}

CPoint pointOf(LPARAM lParam) { return CPoint(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)); }

}  // namespace

Win32Window::Win32Window(void* parent, int width, int height) {
  if (!registerClassOnce(windowProcedure)) {
    unregisterClassAfterLast();
    return;
  }
  // A parent that is not a window (a confused host) leaves the frame without one.
  CreateWindowExW(0, kClassName, L"", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, 0, 0, width, height,
                  static_cast<HWND>(parent), nullptr, classModule(), this);
  if (window == nullptr) {
    unregisterClassAfterLast();
    return;
  }
  holdsClass = true;
}

Win32Window::~Win32Window() {
  if (window != nullptr) {
    DestroyWindow(window);  // clears `window` through WM_NCDESTROY
  }
  if (holdsClass) {
    unregisterClassAfterLast();
  }
}

void Win32Window::pump(const std::function<void(const WindowEvent&)>& handleEvent) {
  std::vector<WindowEvent> events;
  events.swap(pending);
  for (const WindowEvent& event : events) {
    handleEvent(event);
  }
}

void Win32Window::present(NativeImage* image, const CRect& area) {
  shown = image;
  if (window == nullptr || shown == nullptr || area.isEmpty()) {
    return;
  }
  HDC device = GetDC(window);
  if (device != nullptr) {
    copyToDevice(device, area);
    ReleaseDC(window, device);
  }
}

// The image is premultiplied and the frame paints it opaque, so its bytes are
// a top-down 32-bit DIB as they are.
void Win32Window::copyToDevice(HDC device, const CRect& wanted) {
  const CRect area(std::max<CCoord>(wanted.left, 0), std::max<CCoord>(wanted.top, 0),
                   std::min<CCoord>(wanted.right, shown->GetWidth()),
                   std::min<CCoord>(wanted.bottom, shown->GetHeight()));
  if (area.isEmpty()) {
    return;
  }
  const Gdiplus::Rect lockArea(static_cast<INT>(area.left), static_cast<INT>(area.top),
                               static_cast<INT>(area.width()), static_cast<INT>(area.height()));
  Gdiplus::BitmapData pixels{};
  if (shown->LockBits(&lockArea, Gdiplus::ImageLockModeRead, PixelFormat32bppPARGB, &pixels) !=
      Gdiplus::Ok) {
    return;
  }
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = pixels.Stride / 4;
  info.bmiHeader.biHeight = -static_cast<LONG>(pixels.Height);  // top-down rows
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  SetDIBitsToDevice(device, static_cast<int>(area.left), static_cast<int>(area.top), pixels.Width,
                    pixels.Height, 0, 0, 0, pixels.Height, pixels.Scan0, &info, DIB_RGB_COLORS);
  shown->UnlockBits(&pixels);
}

LRESULT CALLBACK Win32Window::windowProcedure(HWND hwnd, UINT message, WPARAM wParam,
                                              LPARAM lParam) {
  if (message == WM_NCCREATE) {
    const auto* creation = reinterpret_cast<const CREATESTRUCTW*>(lParam);
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(creation->lpCreateParams));
  }
  auto* self = reinterpret_cast<Win32Window*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (self == nullptr) {
    return DefWindowProcW(hwnd, message, wParam, lParam);
  }
  if (message == WM_NCCREATE) {
    self->window = hwnd;  // messages sent during CreateWindowExW come before it returns
  }
  return self->handle(message, wParam, lParam);
}

void Win32Window::queueButton(WindowEvent::Kind kind, long button, WPARAM wParam, LPARAM lParam) {
  lastPointer = pointOf(lParam);
  pending.push_back({kind, {}, lastPointer, button | modifierBits(wParam)});
}

LRESULT Win32Window::handle(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_PAINT: {
      PAINTSTRUCT paint;
      HDC device = BeginPaint(window, &paint);
      const RECT& r = paint.rcPaint;
      const CRect area(r.left, r.top, r.right, r.bottom);
      if (shown != nullptr) {
        copyToDevice(device, area);
      } else {
        pending.push_back({WindowEvent::kExpose, area, {}, 0});
      }
      EndPaint(window, &paint);
      return 0;
    }
    case WM_ERASEBKGND:
      return 1;  // painting covers everything: erasing first would only flicker
    case WM_LBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_RBUTTONDOWN: {
      const long button = message == WM_LBUTTONDOWN   ? kLButton
                          : message == WM_MBUTTONDOWN ? kMButton
                                                      : kRButton;
      // Drags keep reporting to this window wherever the pointer goes.
      SetCapture(window);
      heldButtons |= button;
      queueButton(WindowEvent::kButtonPress, button, wParam, lParam);
      return 0;
    }
    case WM_LBUTTONUP:
    case WM_MBUTTONUP:
    case WM_RBUTTONUP: {
      const long button = message == WM_LBUTTONUP   ? kLButton
                          : message == WM_MBUTTONUP ? kMButton
                                                    : kRButton;
      heldButtons &= ~button;
      queueButton(WindowEvent::kButtonRelease, button, wParam, lParam);
      if (heldButtons == 0 && GetCapture() == window) {
        ReleaseCapture();
      }
      return 0;
    }
    case WM_CAPTURECHANGED:
      // Capture taken away mid-drag (another window grabbed the mouse): end
      // the drag as a release where the pointer was last seen, so every edit
      // that began also ends.
      if (reinterpret_cast<HWND>(lParam) != window) {
        for (long button : {kLButton, kMButton, kRButton}) {
          if (heldButtons & button) {
            pending.push_back({WindowEvent::kButtonRelease, {}, lastPointer, button});
          }
        }
        heldButtons = 0;
      }
      return 0;
    case WM_MOUSEMOVE: {
      if (!leaveTracked) {
        TRACKMOUSEEVENT tracking{sizeof tracking, TME_LEAVE, window, 0};
        leaveTracked = TrackMouseEvent(&tracking) != FALSE;
      }
      lastPointer = pointOf(lParam);
      const WindowEvent motion{
          WindowEvent::kMotion, {}, lastPointer, buttonBits(wParam) | modifierBits(wParam)};
      // Moves that pile up between two idles count as the last one, so a host
      // that idles rarely does not leave a growing queue behind.
      if (!pending.empty() && pending.back().kind == WindowEvent::kMotion &&
          pending.back().buttons == motion.buttons) {
        pending.back() = motion;
      } else {
        pending.push_back(motion);
      }
      return 0;
    }
    case WM_MOUSELEAVE:
      leaveTracked = false;
      pending.push_back({WindowEvent::kLeave, {}, lastPointer, 0});
      return 0;
    case WM_MOUSEWHEEL: {
      POINT where{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};  // screen pixels
      ScreenToClient(window, &where);
      const float notches =
          static_cast<float>(GET_WHEEL_DELTA_WPARAM(wParam)) / static_cast<float>(WHEEL_DELTA);
      pending.push_back({WindowEvent::kWheel,
                         {},
                         CPoint(where.x, where.y),
                         modifierBits(GET_KEYSTATE_WPARAM(wParam)),
                         notches});
      return 0;
    }
    case WM_NCDESTROY: {
      // Destroyed by us, or with the host's window: either way it is gone.
      SetWindowLongPtrW(window, GWLP_USERDATA, 0);
      const HWND gone = window;
      window = nullptr;
      pending.clear();
      return DefWindowProcW(gone, message, wParam, lParam);
    }
    default:
      return DefWindowProcW(window, message, wParam, lParam);
  }
}
