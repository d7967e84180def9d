#include "toolkit/x11_window.h"

#include <X11/Xatom.h>
#include <X11/Xutil.h>
#include <cairo-xlib.h>

#include <cstdint>

#include "toolkit/c_view.h"
#include "toolkit/flag_bits.h"

namespace {

bool errorTrapped = false;

int recordError(Display* /*display*/, XErrorEvent* /*error*/) {
  errorTrapped = true;
  return 0;
}

// Routes X errors of the calls made during its lifetime to a flag instead of
// the default handler, which would exit the process.
class ErrorTrap {
 public:
  explicit ErrorTrap(Display* display) : display(display) {
    XSync(display, False);
    errorTrapped = false;
    previous = XSetErrorHandler(recordError);
  }
  ~ErrorTrap() { XSetErrorHandler(previous); }
  ErrorTrap(const ErrorTrap&) = delete;
  ErrorTrap& operator=(const ErrorTrap&) = delete;

  // Waits for the server to answer everything sent so far.
  bool failed() {
    XSync(display, False);
    return errorTrapped;
  }

 private:
  Display* display;
  int (*previous)(Display*, XErrorEvent*);
};

long buttonBit(unsigned int button) {
  switch (button) {
    case Button1:
      return kLButton;
    case Button2:
      return kMButton;
    case Button3:
      return kRButton;
    default:
      return 0;
  }
}

// X11 reports the vertical wheel as presses of buttons 4 (away from the
// user) and 5 (towards); 0 for every other button.
float wheelNotches(unsigned int button) {
  switch (button) {
    case Button4:
      return 1.0f;
    case Button5:
      return -1.0f;
    default:
      return 0.0f;
  }
}

long modifierBits(unsigned int state) {
  return toolkitBits(state, {{ShiftMask, kShift}, {ControlMask, kControl}, {Mod1Mask, kAlt}});
}

long heldButtons(unsigned int state) {
  return toolkitBits(state,
                     {{Button1Mask, kLButton}, {Button2Mask, kMButton}, {Button3Mask, kRButton}});
}

// Tells XEmbed-aware hosts that the client wants to be shown.
void announceXEmbed(Display* display, Window window) {
  const Atom info = XInternAtom(display, "_XEMBED_INFO", False);
  constexpr long kXEmbedVersion = 0;
  constexpr long kXEmbedMapped = 1;
  const long data[2] = {kXEmbedVersion, kXEmbedMapped};
  XChangeProperty(display, window, info, info, 32, PropModeReplace,
                  reinterpret_cast<const unsigned char*>(data), 2);
}

}  // namespace

X11Window::X11Window(void* parentId, int width, int height) {
  const auto parent = static_cast<Window>(reinterpret_cast<std::uintptr_t>(parentId));
  display = XOpenDisplay(nullptr);
  if (display == nullptr) {
    return;
  }
  ErrorTrap trap(display);
  XSetWindowAttributes attributes{};
  attributes.event_mask = ExposureMask | ButtonPressMask | ButtonReleaseMask | PointerMotionMask |
                          EnterWindowMask | LeaveWindowMask | StructureNotifyMask;
  window = XCreateWindow(display, parent, 0, 0, static_cast<unsigned>(width),
                         static_cast<unsigned>(height), 0, CopyFromParent, InputOutput,
                         CopyFromParent, CWEventMask, &attributes);
  announceXEmbed(display, window);
  XMapWindow(display, window);
  XWindowAttributes actual{};
  if (trap.failed() || XGetWindowAttributes(display, window, &actual) == 0) {
    lost = true;
    return;
  }
  surface = cairo_xlib_surface_create(display, window, actual.visual, width, height);
}

X11Window::~X11Window() {
  if (display == nullptr) {
    return;
  }
  {
    // Freeing the surface's server-side picture fails too once the window is gone.
    ErrorTrap trap(display);
    if (surface != nullptr) {
      cairo_surface_destroy(surface);
    }
    if (window != 0) {
      XDestroyWindow(display, window);
    }
    trap.failed();
  }
  XCloseDisplay(display);
}

void X11Window::pump(const std::function<void(const WindowEvent&)>& handle) {
  if (!isOpen()) {
    return;
  }
  ErrorTrap trap(display);
  while (XPending(display) > 0 && !lost) {
    XEvent event;
    XNextEvent(display, &event);
    switch (event.type) {
      case Expose: {
        const XExposeEvent& e = event.xexpose;
        handle({WindowEvent::kExpose, CRect(e.x, e.y, e.x + e.width, e.y + e.height), {}, 0});
        break;
      }
      case ButtonPress:
      case ButtonRelease: {
        const XButtonEvent& e = event.xbutton;
        const long bits = buttonBit(e.button);
        const float notches = wheelNotches(e.button);
        if (bits != 0) {
          const auto kind =
              event.type == ButtonPress ? WindowEvent::kButtonPress : WindowEvent::kButtonRelease;
          handle({kind, {}, CPoint(e.x, e.y), bits | modifierBits(e.state)});
        } else if (notches != 0.0f && event.type == ButtonPress) {
          // One press per notch; its release means nothing.
          handle({WindowEvent::kWheel, {}, CPoint(e.x, e.y), modifierBits(e.state), notches});
        }
        break;
      }
      case MotionNotify: {
        const XMotionEvent& e = event.xmotion;
        handle({WindowEvent::kMotion,
                {},
                CPoint(e.x, e.y),
                heldButtons(e.state) | modifierBits(e.state)});
        break;
      }
      // Grabs move the pointer's focus without moving the pointer: only
      // normal crossings say where it is.
      case EnterNotify:
      case LeaveNotify: {
        const XCrossingEvent& e = event.xcrossing;
        if (e.mode == NotifyNormal) {
          const auto kind = event.type == EnterNotify ? WindowEvent::kMotion : WindowEvent::kLeave;
          handle({kind, {}, CPoint(e.x, e.y), heldButtons(e.state) | modifierBits(e.state)});
        }
        break;
      }
      case DestroyNotify:
        if (event.xdestroywindow.window == window) {
          lost = true;
        }
        break;
      default:
        break;
    }
  }
  if (trap.failed()) {
    lost = true;
  }
}

void X11Window::present(cairo_surface_t* image, const CRect& area) {
  if (!isOpen() || surface == nullptr || area.isEmpty()) {
    return;
  }
  ErrorTrap trap(display);
  cairo_t* cr = cairo_create(surface);
  cairo_rectangle(cr, area.left, area.top, area.width(), area.height());
  cairo_clip(cr);
  cairo_set_source_surface(cr, image, 0, 0);
  cairo_set_operator(cr, CAIRO_OPERATOR_SOURCE);
  cairo_paint(cr);
  cairo_destroy(cr);
  cairo_surface_flush(surface);
  if (trap.failed()) {
    lost = true;
  }
}
