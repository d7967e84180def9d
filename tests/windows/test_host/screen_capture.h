// Screenshots of a window's client area as 24-bit BMP files.
#pragma once

#include <windows.h>

#include <string>

// What the screen shows where the window's client area is; throws
// std::runtime_error when it cannot be read or written.
void captureClientArea(HWND window, const std::string& path);
