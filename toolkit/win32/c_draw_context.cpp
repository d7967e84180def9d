#include "toolkit/c_draw_context.h"

#include <windows.h>
// GDI+ builds on the Windows headers.
#include <gdiplus.h>

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

// The family by name; where it is not installed, the first sans serif of a
// few that Windows (or Wine) has. Null when there is none at all.
std::unique_ptr<Gdiplus::FontFamily> fontFamily(const std::string& name) {
  for (const std::wstring& candidate :
       {wide(name), std::wstring(L"Arial"), std::wstring(L"Liberation Sans"),
        std::wstring(L"Tahoma"), std::wstring(L"Microsoft Sans Serif")}) {
    auto family = std::make_unique<Gdiplus::FontFamily>(candidate.c_str());
    if (family->GetLastStatus() == Gdiplus::Ok && family->IsAvailable()) {
      return family;
    }
  }
  return nullptr;
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
  const std::unique_ptr<Gdiplus::FontFamily> family = fontFamily(fontName);
  if (line.empty() || family == nullptr) {
    return;
  }
  const INT style = gdiplusStyle(fontStyle);
  // Sizes are pixels, as on every other platform of the toolkit.
  const Gdiplus::Font font(family.get(), static_cast<Gdiplus::REAL>(fontSize), style,
                           Gdiplus::UnitPixel);
  // GDI+ lays a line out from the top of its cell; the baseline lies one
  // ascent below. Its side padding is the same left and right, so centring
  // in the rectangle's width centres the text itself.
  const CCoord baseline = rect.bottom - (rect.height() / 2 - fontSize / 2 + 1);
  const Gdiplus::REAL ascent = static_cast<Gdiplus::REAL>(fontSize) * family->GetCellAscent(style) /
                               family->GetEmHeight(style);
  const Gdiplus::RectF layout(
      static_cast<Gdiplus::REAL>(rect.left), static_cast<Gdiplus::REAL>(baseline) - ascent,
      static_cast<Gdiplus::REAL>(rect.width()), static_cast<Gdiplus::REAL>(2 * fontSize));
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
