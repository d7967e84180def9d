#include "tests/resources/png_file.h"

#include <png.h>

#include <cmath>
#include <csetjmp>
#include <cstdio>

namespace {

// Kept free of objects with destructors between setjmp and the libpng calls
// that may jump back to it.
bool decode(std::FILE* file, PngFile& image) {
  png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  if (png == nullptr) return false;
  png_infop info = png_create_info_struct(png);
  if (info == nullptr || setjmp(png_jmpbuf(png))) {
    png_destroy_read_struct(&png, &info, nullptr);
    return false;
  }
  png_init_io(png, file);
  png_read_info(png, info);
  png_uint_32 width = 0;
  png_uint_32 height = 0;
  png_get_IHDR(png, info, &width, &height, &image.bitDepth, &image.colorType, &image.interlace,
               nullptr, nullptr);
  image.width = static_cast<int>(width);
  image.height = static_cast<int>(height);
  image.channels = png_get_channels(png, info);

  png_color_16p key = nullptr;
  if (image.colorType == PNG_COLOR_TYPE_RGB &&
      png_get_tRNS(png, info, nullptr, nullptr, &key) != 0 && key != nullptr) {
    image.keyColour = std::array<int, 3>{key->red, key->green, key->blue};
  }

  // Samples are kept as bytes whatever the stored depth; the header fields
  // above still tell the depth the file really has.
  png_set_strip_16(png);
  png_set_packing(png);
  png_set_interlace_handling(png);
  png_read_update_info(png, info);
  const png_size_t rowBytes = png_get_rowbytes(png, info);
  image.samples.resize(rowBytes * height);
  for (png_uint_32 y = 0; y < height; ++y) {
    png_read_row(png, image.samples.data() + y * rowBytes, nullptr);
  }
  png_read_end(png, nullptr);
  png_destroy_read_struct(&png, &info, nullptr);
  return true;
}

}  // namespace

Rgba PngFile::stored(int x, int y) const {
  const std::uint8_t* p = samples.data() + (static_cast<size_t>(y) * width + x) * channels;
  if (channels < 3) return Rgba{p[0], p[0], p[0], channels == 2 ? p[1] : 255};  // grey or index
  return Rgba{p[0], p[1], p[2], channels == 4 ? p[3] : 255};
}

bool PngFile::isKey(int x, int y) const {
  if (!keyColour) return false;
  const Rgba c = stored(x, y);
  return c.r == (*keyColour)[0] && c.g == (*keyColour)[1] && c.b == (*keyColour)[2];
}

Rgba PngFile::drawn(int x, int y) const {
  Rgba c = stored(x, y);
  if (isKey(x, y)) c.a = 0;
  return c;
}

std::optional<PngFile> readPng(const std::string& path) {
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (file == nullptr) return std::nullopt;
  PngFile image;
  const bool ok = decode(file, image);
  std::fclose(file);
  if (!ok) return std::nullopt;
  return image;
}

std::optional<PngFile> readResource(const std::string& name) {
  return readPng(std::string(MURKFELL_RESOURCE_DIR) + "/" + name);
}

double luminance(const Rgba& colour) {
  auto linear = [](int channel) {
    const double v = channel / 255.0;
    return v <= 0.04045 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
  };
  return 0.2126 * linear(colour.r) + 0.7152 * linear(colour.g) + 0.0722 * linear(colour.b);
}
