#include "tests/windows/test_host/screen_capture.h"

#include <cstdint>
#include <fstream>
#include <stdexcept>
#include <vector>

namespace {

void putLittle(std::ofstream& file, std::uint32_t value, int count) {
  for (int i = 0; i < count; ++i, value >>= 8) file.put(static_cast<char>(value & 0xFF));
}

// `pixels` holds top-down BGRA rows; BMP wants bottom-up BGR rows padded to
// four bytes.
void writeBmp(const std::string& path, int width, int height, const std::uint8_t* pixels) {
  std::ofstream file(path, std::ios::binary);
  const int rowBytes = (width * 3 + 3) & ~3;
  const auto imageBytes = static_cast<std::uint32_t>(rowBytes * height);
  file.write("BM", 2);
  putLittle(file, 54 + imageBytes, 4);
  putLittle(file, 0, 4);
  putLittle(file, 54, 4);  // where the pixels start
  putLittle(file, 40, 4);  // BITMAPINFOHEADER
  putLittle(file, static_cast<std::uint32_t>(width), 4);
  putLittle(file, static_cast<std::uint32_t>(height), 4);
  putLittle(file, 1, 2);
  putLittle(file, 24, 2);
  putLittle(file, 0, 4);  // uncompressed
  putLittle(file, imageBytes, 4);
  putLittle(file, 2835, 4);  // 72 dpi
  putLittle(file, 2835, 4);
  putLittle(file, 0, 4);
  putLittle(file, 0, 4);
  std::vector<char> row(static_cast<std::size_t>(rowBytes), 0);
  for (int y = height - 1; y >= 0; --y) {
    const std::uint8_t* source = pixels + static_cast<std::ptrdiff_t>(y) * width * 4;
    for (int x = 0; x < width; ++x) {
      row[3 * x] = static_cast<char>(source[4 * x]);
      row[3 * x + 1] = static_cast<char>(source[4 * x + 1]);
      row[3 * x + 2] = static_cast<char>(source[4 * x + 2]);
    }
    file.write(row.data(), rowBytes);
  }
  if (!file) throw std::runtime_error("cannot write " + path);
}

}  // namespace

void captureClientArea(HWND window, const std::string& path) {
  RECT client;
  GetClientRect(window, &client);
  POINT origin{0, 0};
  ClientToScreen(window, &origin);
  const int width = client.right;
  const int height = client.bottom;

  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;  // top-down
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HBITMAP target = CreateDIBSection(memory, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  const bool copied = target != nullptr && SelectObject(memory, target) != nullptr &&
                      BitBlt(memory, 0, 0, width, height, screen, origin.x, origin.y, SRCCOPY);
  GdiFlush();
  std::vector<std::uint8_t> pixels;
  if (copied) {
    const auto* first = static_cast<const std::uint8_t*>(bits);
    pixels.assign(first, first + static_cast<std::ptrdiff_t>(width) * height * 4);
  }
  DeleteDC(memory);
  if (target != nullptr) DeleteObject(target);
  ReleaseDC(nullptr, screen);
  if (!copied) throw std::runtime_error("cannot read the screen");
  writeBmp(path, width, height, pixels.data());
}
