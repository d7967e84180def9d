#include "editor/murkfell_label.h"

#include "toolkit/c_bitmap.h"
#include "toolkit/c_draw_context.h"

namespace {

constexpr CRect kLogoRect{100, 80, 240, 150};

struct TextLine {
  const char* text;
  CRect rect;
};

constexpr TextLine kTagline{"Hand-wired tone from the high moor", {70, 180, 270, 200}};
constexpr TextLine kDetails[] = {
    {"ORVETON VIRTUAL MURKFELL", {70, 220, 270, 240}},
    {"V1.03", {70, 240, 270, 260}},
    {"Updates on the Orveton web site", {70, 260, 270, 280}},
    {"\xC2\xA9 2026 Orveton. All rights reserved.", {70, 280, 270, 300}},
};

}  // namespace

// The logo is decoded afresh for every draw and released at its end, so the
// panel holds nothing while it is not shown.
void MurkfellLabel::draw(CDrawContext* context) {
  auto* logo = new CBitmap(images("OrvetonLogoBitmap.png"));
  logo->draw(context, kLogoRect, CPoint(0, 0));

  context->setFontColor(kWhiteCColor);
  context->setFont(kSystemFont, 11, -1);
  context->drawString(kTagline.text, kTagline.rect, false, kCenterText);
  context->setFont(kSystemFont, 10, -1);
  for (const TextLine& line : kDetails) {
    context->drawString(line.text, line.rect, false, kCenterText);
  }
  logo->forget();
  setDirty(false);
}
