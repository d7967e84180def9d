#include "toolkit/c_bitmap.h"

#include <windows.h>
// GDI+ and the shell API build on the Windows headers.
#include <gdiplus.h>
#include <shlwapi.h>

#include <algorithm>

#include "toolkit/c_draw_context.h"
#include "toolkit/win32/gdiplus_session.h"

namespace {

// GDI+ decodes from a stream; its PNG decoder turns a tRNS key colour into
// alpha 0, so both kinds of transparency arrive as an alpha channel.
Gdiplus::Bitmap* decodePng(std::span<const unsigned char> png) {
  IStream* stream = SHCreateMemStream(png.data(), static_cast<UINT>(png.size()));
  if (stream == nullptr) {
    return nullptr;
  }
  Gdiplus::Bitmap* decoded = Gdiplus::Bitmap::FromStream(stream);
  Gdiplus::Bitmap* image = nullptr;
  if (decoded != nullptr && decoded->GetLastStatus() == Gdiplus::Ok) {
    // A premultiplied copy decodes everything now (the stream goes away) and
    // is what GDI+ blends fastest.
    const Gdiplus::Rect whole(0, 0, static_cast<INT>(decoded->GetWidth()),
                              static_cast<INT>(decoded->GetHeight()));
    image = decoded->Clone(whole, PixelFormat32bppPARGB);
    if (image != nullptr && image->GetLastStatus() != Gdiplus::Ok) {
      delete image;
      image = nullptr;
    }
  }
  delete decoded;
  stream->Release();
  return image;
}

}  // namespace

CBitmap::CBitmap(std::span<const unsigned char> png) {
  holdGdiplus();
  if (png.empty() || png.size() > MAXDWORD) {
    return;
  }
  image = decodePng(png);
  if (image != nullptr) {
    width = static_cast<CCoord>(image->GetWidth());
    height = static_cast<CCoord>(image->GetHeight());
  }
}

CBitmap::~CBitmap() {
  delete image;
  releaseGdiplus();
}

void CBitmap::draw(CDrawContext* context, const CRect& rect, const CPoint& offset) {
  if (image == nullptr || rect.isEmpty()) {
    return;
  }
  // The part of the image from `offset` that falls into `rect`, pixel for pixel.
  const CCoord sourceLeft = std::max<CCoord>(offset.h, 0);
  const CCoord sourceTop = std::max<CCoord>(offset.v, 0);
  const CCoord sourceRight = std::min(offset.h + rect.width(), width);
  const CCoord sourceBottom = std::min(offset.v + rect.height(), height);
  if (sourceRight <= sourceLeft || sourceBottom <= sourceTop) {
    return;
  }
  const Gdiplus::Rect target(static_cast<INT>(rect.left + sourceLeft - offset.h),
                             static_cast<INT>(rect.top + sourceTop - offset.v),
                             static_cast<INT>(sourceRight - sourceLeft),
                             static_cast<INT>(sourceBottom - sourceTop));
  context->getGraphics()->DrawImage(image, target, static_cast<INT>(sourceLeft),
                                    static_cast<INT>(sourceTop), target.Width, target.Height,
                                    Gdiplus::UnitPixel);
}
