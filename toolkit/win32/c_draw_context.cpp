#include "toolkit/c_draw_context.h"

#include <windows.h>
// GDI+ builds on the Windows headers.
#include <gdiplus.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <string>

namespace {

Gdiplus::Color gdiplusColor(const CColor& color) {
  return Gdiplus::Color(color.alpha, color.red, color.green, color.blue);
}

Gdiplus::Rect gdiplusRect(const CRect& rect) {
  return Gdiplus::Rect(static_cast<INT>(rect.left), static_cast<INT>(rect.top),
                       static_cast<INT>(rect.width()), static_cast<INT>(rect.height()));
}

std::wstring wide(const std::string& text) {
  const int length = MultiByteToWideChar(CP_UTF8, 0, text.c_str(), -1, nullptr, 0);
  if (length <= 1) {
    return {};
  }
  std::wstring result(static_cast<std::size_t>(length), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, text.c_str(), -1, result.data(), length);
  result.pop_back();  // the terminator
  return result;
}

INT gdiplusStyle(long style) {
  INT result = Gdiplus::FontStyleRegular;
  if (style & kBoldFace) result |= Gdiplus::FontStyleBold;
  if (style & kItalicFace) result |= Gdiplus::FontStyleItalic;
  return result;
}

struct ChosenFamily {
  std::unique_ptr<Gdiplus::FontFamily> family;  // null when no font is installed at all
  bool ownMetrics = false;  // the family asked for, or a metric-compatible stand-in
};

// The family by name; where it is not installed, a stand-in: for Arial its
// metric-compatible Liberation Sans or Arimo, for any other family the first
// of a few sans serifs that Windows (or Wine) has.
ChosenFamily fontFamily(const std::string& name) {
  const std::wstring requested = wide(name);
  const bool arial = _wcsicmp(requested.c_str(), L"Arial") == 0;
  const struct {
    std::wstring name;
    bool ownMetrics;
  } candidates[] = {{requested, true},  {L"Liberation Sans", arial},
                    {L"Arimo", arial},  {L"Arial", false},
                    {L"Tahoma", false}, {L"Microsoft Sans Serif", false}};
  for (const auto& candidate : candidates) {
    auto family = std::make_unique<Gdiplus::FontFamily>(candidate.name.c_str());
    if (family->GetLastStatus() == Gdiplus::Ok && family->IsAvailable()) {
      return {std::move(family), candidate.ownMetrics};
    }
  }
  return {};
}

// The width the line advances by, without the padding GDI+ adds at its sides.
Gdiplus::REAL advanceOf(Gdiplus::Graphics& graphics, const std::wstring& line,
                        const Gdiplus::Font& font) {
  Gdiplus::StringFormat format(Gdiplus::StringFormatFlagsNoWrap |
                               Gdiplus::StringFormatFlagsMeasureTrailingSpaces);
  const Gdiplus::CharacterRange whole(0, static_cast<INT>(line.size()));
  format.SetMeasurableCharacterRanges(1, &whole);
  Gdiplus::Region region;
  graphics.MeasureCharacterRanges(line.c_str(), static_cast<INT>(line.size()), &font,
                                  Gdiplus::RectF(0.0f, 0.0f, 1e6f, 1e3f), &format, 1, &region);
  Gdiplus::RectF bounds;
  region.GetBounds(&bounds, &graphics);
  return bounds.Width;
}

}  // namespace

CDrawContext::CDrawContext(NativeImage* surface)
    : graphics(Gdiplus::Graphics::FromImage(surface)),
      fontName(kSystemFont->getName()),
      fontSize(kSystemFont->getSize()),
      fontStyle(kSystemFont->getStyle()) {
  // Images are copied pixel for pixel: no smoothing, pixel centres on
  // half-integers as in the images themselves.
  graphics->SetInterpolationMode(Gdiplus::InterpolationModeNearestNeighbor);
  graphics->SetPixelOffsetMode(Gdiplus::PixelOffsetModeHalf);
  graphics->SetCompositingQuality(Gdiplus::CompositingQualityHighSpeed);
  graphics->SetTextRenderingHint(Gdiplus::TextRenderingHintAntiAlias);
}

CDrawContext::~CDrawContext() { delete graphics; }

void CDrawContext::drawString(const char* text, const CRect& rect, bool /*opaque*/,
                              CHoriTxtAlign align) {
  const std::wstring line = wide(text);
  const ChosenFamily chosen = fontFamily(fontName);
  if (line.empty() || chosen.family == nullptr) {
    return;
  }
  const Gdiplus::FontFamily& family = *chosen.family;
  const INT style = gdiplusStyle(fontStyle);
  // Sizes are pixels, as on every other platform of the toolkit.
  auto size = static_cast<Gdiplus::REAL>(fontSize);
  // A stand-in without the font's metrics may set the line wider: a line too
  // wide for its rectangle is then drawn just small enough to keep two pixels
  // free at either side, as on Linux. In the font's own metrics it is cut.
  constexpr Gdiplus::REAL kSpare = 4.0f;
  const auto width = static_cast<Gdiplus::REAL>(rect.width());
  if (!chosen.ownMetrics && width > kSpare) {
    const Gdiplus::Font probe(&family, size, style, Gdiplus::UnitPixel);
    const Gdiplus::REAL advance = advanceOf(*graphics, line, probe);
    // Whole pixels: Wine draws GDI+ text at whole pixel sizes, and a size
    // rounded up would not fit.
    if (advance > width) size = std::max(1.0f, std::floor(size * (width - kSpare) / advance));
  }
  const Gdiplus::Font font(&family, size, style, Gdiplus::UnitPixel);
  // GDI+ lays a line out from the top of its cell; the baseline lies one
  // ascent below. The line is laid out in a span wider than any line, starting
  // at the rectangle's left or centred on its middle (GDI+'s side padding is
  // the same left and right), and cut at the rectangle by the clip.
  const CCoord baseline = rect.bottom - (rect.height() / 2 - fontSize / 2 + 1);
  const Gdiplus::REAL ascent = size * family.GetCellAscent(style) / family.GetEmHeight(style);
  constexpr Gdiplus::REAL kSpan = 1 << 16;
  const auto left = static_cast<Gdiplus::REAL>(rect.left);
  const Gdiplus::RectF layout(align == kCenterText ? left + width / 2 - kSpan / 2 : left,
                              static_cast<Gdiplus::REAL>(baseline) - ascent, kSpan,
                              static_cast<Gdiplus::REAL>(2 * fontSize));
  Gdiplus::StringFormat format(Gdiplus::StringFormatFlagsNoWrap | Gdiplus::StringFormatFlagsNoClip);
  format.SetAlignment(align == kCenterText ? Gdiplus::StringAlignmentCenter
                                           : Gdiplus::StringAlignmentNear);
  format.SetTrimming(Gdiplus::StringTrimmingNone);

  Gdiplus::Region previousClip;
  graphics->GetClip(&previousClip);
  graphics->SetClip(gdiplusRect(rect), Gdiplus::CombineModeIntersect);
  const Gdiplus::SolidBrush brush(gdiplusColor(fontColor));
  graphics->DrawString(line.c_str(), static_cast<INT>(line.size()), &font, layout, &format, &brush);
  graphics->SetClip(&previousClip);
}

void CDrawContext::fillRect(const CRect& rect, const CColor& color) {
  const Gdiplus::SolidBrush brush(gdiplusColor(color));
  graphics->SetCompositingMode(Gdiplus::CompositingModeSourceCopy);
  graphics->FillRectangle(&brush, gdiplusRect(rect));
  graphics->SetCompositingMode(Gdiplus::CompositingModeSourceOver);
}

void CDrawContext::setClip(const CRect& rect) { graphics->SetClip(gdiplusRect(rect)); }
