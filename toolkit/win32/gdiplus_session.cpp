#include "toolkit/win32/gdiplus_session.h"

#include <windows.h>
// GDI+ builds on the Windows headers.
#include <gdiplus.h>

#include <mutex>

namespace {

std::mutex sessionMutex;
int holders = 0;
ULONG_PTR sessionToken = 0;

}  // namespace

void holdGdiplus() {
  const std::lock_guard lock(sessionMutex);
  if (holders++ == 0) {
    const Gdiplus::GdiplusStartupInput input;
    if (Gdiplus::GdiplusStartup(&sessionToken, &input, nullptr) != Gdiplus::Ok) {
      sessionToken = 0;
    }
  }
}

void releaseGdiplus() {
  const std::lock_guard lock(sessionMutex);
  if (--holders == 0 && sessionToken != 0) {
    Gdiplus::GdiplusShutdown(sessionToken);
    sessionToken = 0;
  }
}
