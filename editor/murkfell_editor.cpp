#include "editor/murkfell_editor.h"

#include "editor/murkfell_label.h"
#include "editor/panel_geometry.h"
#include "toolkit/c_anim_knob.h"
#include "toolkit/c_bitmap.h"
#include "toolkit/c_frame.h"
#include "toolkit/c_movie_bitmap.h"
#include "toolkit/c_on_off_button.h"

using namespace murkfell;

namespace {

constexpr long kKnobFrames = 61;
constexpr CCoord kKnobFrameHeight = 58;

// Where the maker's logo is painted on the front face: the spot that turns
// the pedal over.
constexpr CRect kLogoArea{40, 320, 150, 370};
constexpr CRect kLampRect{162, 192, 178, 208};
constexpr CRect kInfoPanelRect{70, 80, 270, 300};

struct KnobSpot {
  ParameterId tag;
  CPoint centre;
};
constexpr KnobSpot kKnobs[] = {{kGain, CPoint(72, 143)},
                               {kLevel, CPoint(267, 143)},
                               {kBass, CPoint(100, 71)},
                               {kMiddle, CPoint(170, 71)},
                               {kTreble, CPoint(239, 71)}};

struct SwitchSpot {
  ParameterId tag;
  const char* image;
  CPoint centre;
};
constexpr SwitchSpot kSwitches[] = {{kCabSim, "CabSimBitmap.png", CPoint(170, 153)},
                                    {kBypass, "BypassBitmap.png", CPoint(170, 295)}};

// The front face's views from the bottom up: the page switch is the panel's
// background, the lamp lies on top.
constexpr ParameterId kFrontOrder[] = {kPageSwitch, kGain,   kLevel,  kBass, kMiddle,
                                       kTreble,     kCabSim, kBypass, kLed};

}  // namespace

MurkfellEditor::MurkfellEditor(EditorController& controller, ImageLookup images)
    : controller(controller), images(images) {}

MurkfellEditor::~MurkfellEditor() { close(); }

bool MurkfellEditor::open(void* parentWindow) {
  close();               // a host that opens twice gets one window, not two
  pendingMask.store(0);  // the views are built from the current values now
  auto* newFrame = new CFrame(kSize, parentWindow, this);
  createViews();
  showFrontPanel(newFrame);
  frame = newFrame;
  return true;
}

CBitmap* MurkfellEditor::loadImage(const char* resourceName) const {
  return new CBitmap(images(resourceName));
}

void MurkfellEditor::createViews() {
  CBitmap* background = loadImage("BackgroundBitmap.png");
  CBitmap* knobImage = loadImage("knobAnimBitmap.png");
  CBitmap* lampImage = loadImage("LedBitmap.png");

  controls[kPageSwitch] = new COnOffButton(kSize, this, kPageSwitch, background);
  for (const KnobSpot& knob : kKnobs) {
    controls[knob.tag] = new CAnimKnob(knobRect(knob.centre, knobImage->getWidth()), this, knob.tag,
                                       kKnobFrames, kKnobFrameHeight, knobImage);
  }
  for (const SwitchSpot& spot : kSwitches) {
    CBitmap* image = loadImage(spot.image);
    controls[spot.tag] = new COnOffButton(
        switchRect(spot.centre, image->getWidth(), image->getHeight()), this, spot.tag, image);
    image->forget();
  }
  controls[kLed] = new CMovieBitmap(kLampRect, this, kLed, 2, 16, lampImage);
  for (std::int32_t tag = kGain; tag < kNumParameters; ++tag) {
    controls[tag]->setValue(controller.parameter(tag));
  }
  infoPanel = new MurkfellLabel(kInfoPanelRect, images);

  // The controls hold their own references to their images.
  knobImage->forget();
  lampImage->forget();
  background->forget();
}

void MurkfellEditor::showFrontPanel(CFrame* target) {
  target->removeAll(false);
  controls[kPageSwitch]->setMouseableArea(kLogoArea);
  for (ParameterId tag : kFrontOrder) {
    target->addView(controls[tag]);
  }
}

void MurkfellEditor::showInfoView(CFrame* target) {
  target->removeAll(false);
  controls[kPageSwitch]->setMouseableArea(kSize);
  target->addView(controls[kPageSwitch]);
  infoPanel->setMouseEnabled(false);
  target->addView(infoPanel);
}

// The back face for any page value but exactly 0; the page switch follows,
// so the background shows the face in view.
void MurkfellEditor::showFace(float pageValue) {
  if (isOn(pageValue)) {
    showInfoView(frame);
  } else {
    showFrontPanel(frame);
  }
  controls[kPageSwitch]->setValue(isOn(pageValue) ? 1.0f : 0.0f);
  frame->setDirty(true);
}

void MurkfellEditor::close() {
  releaseDetachedViews();
  destroyFrame();  // the frame disposes of the views it holds
  controls.fill(nullptr);
  infoPanel = nullptr;
}

// The face not in view is not held by the frame: release it here.
void MurkfellEditor::releaseDetachedViews() {
  if (frame == nullptr) {
    return;
  }
  for (CView* view : controls) {
    if (view != nullptr && !view->isAttached()) {
      view->forget();
    }
  }
  if (infoPanel != nullptr && !infoPanel->isAttached()) {
    infoPanel->forget();
  }
}

// Takes the frame out of `frame` before destroying it, so nothing reaches a
// frame that is going away.
void MurkfellEditor::destroyFrame() {
  CFrame* closing = frame;
  frame = nullptr;
  if (closing != nullptr) {
    closing->forget();
  }
}

void MurkfellEditor::idle() {
  // A view may call back into idle while it is drawn.
  if (inIdle || frame == nullptr) {
    return;
  }
  inIdle = true;
  applyPendingParameters();
  frame->idle();
  inIdle = false;
}

void MurkfellEditor::parameterChanged(std::int32_t index, float value) {
  if (!isParameter(index)) {
    return;
  }
  pendingValues[index].store(value, std::memory_order_relaxed);
  pendingMask.fetch_or(1u << index, std::memory_order_release);
}

void MurkfellEditor::applyPendingParameters() {
  const std::uint32_t pending = pendingMask.exchange(0, std::memory_order_acquire);
  for (std::int32_t index = 0; index < kNumParameters; ++index) {
    if ((pending & (1u << index)) != 0) {
      applyParameter(index);
    }
  }
}

void MurkfellEditor::applyParameter(std::int32_t index) {
  if (kParameters[index].kind == ParameterKind::editorOnly) {
    showFace(pendingValues[index].load(std::memory_order_relaxed));
  } else {
    controls[index]->setValue(controller.parameter(index));
  }
}

bool MurkfellEditor::onKeyDown(CKeyCode& key) {
  return frame != nullptr && frame->onKeyDown(key) == kKeyEventHandled;
}

bool MurkfellEditor::onKeyUp(CKeyCode& key) {
  return frame != nullptr && frame->onKeyUp(key) == kKeyEventHandled;
}

void MurkfellEditor::valueChanged(CControl* control) {
  const auto tag = static_cast<std::int32_t>(control->getTag());
  const float value = control->getValue();
  // The editor's own state follows at once, whether or not the host keeps it.
  if (isParameter(tag) && kParameters[tag].kind == ParameterKind::editorOnly) {
    parameterChanged(tag, value);
  }
  controller.setParameterFromEditor(tag, value);
}

bool MurkfellEditor::beginEdit(long index) {
  return controller.beginEdit(static_cast<std::int32_t>(index));
}

bool MurkfellEditor::endEdit(long index) {
  return controller.endEdit(static_cast<std::int32_t>(index));
}
