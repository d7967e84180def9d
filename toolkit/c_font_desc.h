// A font by family name, size in points and style.
#pragma once

#include <string>

enum CTxtFace { kNormalFace = 0, kBoldFace = 1 << 1, kItalicFace = 1 << 2 };

class CFontDesc {
 public:
  CFontDesc(std::string name, long size, long style = kNormalFace)
      : fontName(std::move(name)), fontSize(size), fontStyle(style) {}

  const std::string& getName() const { return fontName; }
  long getSize() const { return fontSize; }
  long getStyle() const { return fontStyle; }

 private:
  std::string fontName;
  long fontSize;
  long fontStyle;
};

using CFontRef = const CFontDesc*;

// "Arial", 12 points, normal style.
extern const CFontRef kSystemFont;
