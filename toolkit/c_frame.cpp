#include "toolkit/c_frame.h"

#include <algorithm>

#include "toolkit/c_draw_context.h"
#include "toolkit/native_image.h"
#include "toolkit/native_window.h"
#include "toolkit/vstgui_editor_interface.h"

CFrame::CFrame(const CRect& size, void* systemWindow, VSTGUIEditorInterface* editor)
    : CView(size),
      editor(editor),
      image(createNativeImage(static_cast<int>(size.width()), static_cast<int>(size.height()))) {
  if (systemWindow != nullptr) {
    window = std::make_unique<NativeWindow>(systemWindow, static_cast<int>(size.width()),
                                            static_cast<int>(size.height()));
  }
  CView::setDirty(true);
}

CFrame::~CFrame() {
  removeAll(true);
  window.reset();
  destroyNativeImage(image);
}

bool CFrame::addView(CView* view) {
  if (view == nullptr || isChild(view)) {
    return false;
  }
  views.push_back(view);
  view->attached(this);
  view->setDirty(true);  // shown at the next idle
  return true;
}

bool CFrame::removeAll(bool withForget) {
  mouseCapture = nullptr;
  // Taken out first, so a view that reacts to its removal sees a consistent frame.
  std::vector<CView*> removedViews;
  removedViews.swap(views);
  for (CView* view : removedViews) {
    view->removed(this);
    if (withForget) {
      view->forget();
    }
  }
  return true;
}

CView* CFrame::getView(long index) const {
  if (index < 0 || index >= getNbViews()) {
    return nullptr;
  }
  return views[static_cast<std::size_t>(index)];
}

bool CFrame::isChild(const CView* view) const {
  return std::find(views.begin(), views.end(), view) != views.end();
}

CMouseEventResult CFrame::onMouseDown(CPoint& where, const long& buttons) {
  mouseCapture = nullptr;
  for (auto it = views.rbegin(); it != views.rend(); ++it) {
    CView* view = *it;
    CRect area;
    if (!view->isVisible() || !view->getMouseEnabled() ||
        !view->getMouseableArea(area).pointInside(where)) {
      continue;
    }
    // The handler may take the view out of the frame; keep it alive meanwhile.
    view->remember();
    const CMouseEventResult result = view->onMouseDown(where, buttons);
    if (result == kMouseEventHandled && isChild(view)) {
      mouseCapture = view;
    }
    view->forget();
    return result;
  }
  return kMouseEventNotHandled;
}

CMouseEventResult CFrame::onMouseMoved(CPoint& where, const long& buttons) {
  if (mouseCapture == nullptr) {
    return kMouseEventNotHandled;
  }
  CView* view = mouseCapture;
  view->remember();
  const CMouseEventResult result = view->onMouseMoved(where, buttons);
  view->forget();
  return result;
}

CMouseEventResult CFrame::onMouseUp(CPoint& where, const long& buttons) {
  if (mouseCapture == nullptr) {
    return kMouseEventNotHandled;
  }
  CView* view = mouseCapture;
  mouseCapture = nullptr;
  view->remember();
  const CMouseEventResult result = view->onMouseUp(where, buttons);
  view->forget();
  return result;
}

void CFrame::idle() {
  if (window) {
    window->pump([this](const WindowEvent& event) { handleWindowEvent(event); });
  }
  redrawDirtyViews();
}

void CFrame::handleWindowEvent(const WindowEvent& event) {
  CPoint where = event.where;
  switch (event.kind) {
    case WindowEvent::kExpose:
      window->present(image, event.area);
      break;
    case WindowEvent::kButtonPress:
      onMouseDown(where, event.buttons);
      break;
    case WindowEvent::kMotion:
      onMouseMoved(where, event.buttons);
      break;
    case WindowEvent::kButtonRelease:
      onMouseUp(where, event.buttons);
      break;
    case WindowEvent::kWheel:
    case WindowEvent::kLeave:
      // Reported by the window; no view reacts to them.
      break;
  }
}

void CFrame::redrawDirtyViews() {
  if (CView::isDirty()) {
    drawArea(size);
    CView::setDirty(false);
    return;
  }
  // Each dirty view's area is repainted from the bottom view up, so what
  // shows through its transparent pixels is current too.
  std::vector<CRect> areas;
  for (const CView* view : views) {
    if (view->isVisible() && view->isDirty()) {
      areas.push_back(view->getViewSize());
    }
  }
  for (const CRect& area : areas) {
    drawArea(area);
  }
}

void CFrame::drawArea(const CRect& area) {
  {
    CDrawContext context(image);
    context.setClip(area);
    // Parts no view covers show black, as the window's own background would.
    context.fillRect(area, kBlackCColor);
    for (CView* view : views) {
      if (view->isVisible() && view->getViewSize().rectOverlap(area)) {
        view->draw(&context);
      }
    }
  }
  if (window) {
    window->present(image, area);
  }
}

void CFrame::draw(CDrawContext* context) {
  for (CView* view : views) {
    if (view->isVisible()) {
      view->draw(context);
    }
  }
}

long CFrame::getKnobMode() const {
  return editor != nullptr ? editor->getKnobMode() : kCircularMode;
}

void CFrame::beginEdit(long tag) {
  if (editor != nullptr) {
    editor->beginEdit(tag);
  }
}

void CFrame::endEdit(long tag) {
  if (editor != nullptr) {
    editor->endEdit(tag);
  }
}

std::uintptr_t CFrame::getWindowId() const {
  return window && window->isOpen() ? window->getWindow() : 0;
}
