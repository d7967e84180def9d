// A PNG as stored on disk: its header fields, the tRNS key colour and the raw
// 8-bit samples, without the conversions a display decoder would apply, so the
// tests can check the file format itself as well as the pixels.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

struct Rgba {
  int r, g, b, a;
};

struct PngFile {
  int width = 0;
  int height = 0;
  int bitDepth = 0;
  int colorType = 0;
  int interlace = 0;
  int channels = 0;
  std::optional<std::array<int, 3>> keyColour;  // tRNS of a truecolour image
  std::vector<std::uint8_t> samples;            // 8-bit rows, top to bottom

  // The stored colour; alpha is 255 for images without an alpha channel.
  Rgba stored(int x, int y) const;
  // The pixel as the editor draws it: key-coloured pixels become transparent.
  Rgba drawn(int x, int y) const;
  bool isKey(int x, int y) const;
};

// Reads a file; nothing when it is missing or not a readable PNG.
std::optional<PngFile> readPng(const std::string& path);

// The committed image of that name in the source tree's resources folder.
std::optional<PngFile> readResource(const std::string& name);

// Relative luminance (0 to 1) of an sRGB colour, as used for contrast ratios.
double luminance(const Rgba& colour);
