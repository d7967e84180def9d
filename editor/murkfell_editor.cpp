#include "editor/murkfell_editor.h"

#include "editor/murkfell_label.h"
#include "editor/panel_geometry.h"
#include "formats/vst2/audio_effect.h"
#include "toolkit/c_anim_knob.h"
#include "toolkit/c_bitmap.h"
#include "toolkit/c_frame.h"
#include "toolkit/c_movie_bitmap.h"
#include "toolkit/c_on_off_button.h"

namespace {

constexpr CCoord kPanelWidth = 340;
constexpr CCoord kPanelHeight = 400;
constexpr long kKnobFrames = 61;
constexpr CCoord kKnobFrameHeight = 58;

// Where the maker's logo is painted on the front face: the spot that turns
// the pedal over.
constexpr CRect kLogoArea{40, 320, 150, 370};
constexpr CRect kWholePanel{0, 0, kPanelWidth, kPanelHeight};
constexpr CRect kLampRect{162, 192, 178, 208};
constexpr CRect kInfoPanelRect{70, 80, 270, 300};

bool isParameter(VstInt32 index) { return index >= kPageSwitch && index < kNumParameters; }

}  // namespace

MurkfellEditor::MurkfellEditor(AudioEffect* effect) : AEffGUIEditor(effect) {
  rect.top = 0;
  rect.left = 0;
  rect.bottom = kPanelHeight;
  rect.right = kPanelWidth;
}

MurkfellEditor::~MurkfellEditor() { close(); }

bool MurkfellEditor::open(void* parentWindow) {
  close();  // a host that opens twice gets one window, not two
  AEffGUIEditor::open(parentWindow);
  windowThread.store(std::this_thread::get_id());
  pendingMask.store(0);  // the views are built from the effect's values now
  auto* newFrame = new CFrame(kWholePanel, parentWindow, this);
  createViews();
  showFrontPanel(newFrame);
  frame = newFrame;
  return true;
}

void MurkfellEditor::createViews() {
  auto* background = new CBitmap(CResourceDescription("BackgroundBitmap.png"));
  auto* knobImage = new CBitmap(CResourceDescription("knobAnimBitmap.png"));
  auto* cabSimImage = new CBitmap(CResourceDescription("CabSimBitmap.png"));
  auto* bypassImage = new CBitmap(CResourceDescription("BypassBitmap.png"));
  auto* lampImage = new CBitmap(CResourceDescription("LedBitmap.png"));

  pageSwitch = new COnOffButton(kWholePanel, this, kPageSwitch, background);

  gainKnob = createKnob(knobImage, CPoint(72, 143), kGain);
  levelKnob = createKnob(knobImage, CPoint(267, 143), kLevel);
  bassKnob = createKnob(knobImage, CPoint(100, 71), kBass);
  middleKnob = createKnob(knobImage, CPoint(170, 71), kMiddle);
  trebleKnob = createKnob(knobImage, CPoint(239, 71), kTreble);
  gainKnob->setValue(effect->getParameter(kGain));
  levelKnob->setValue(effect->getParameter(kLevel));
  bassKnob->setValue(effect->getParameter(kBass));
  middleKnob->setValue(effect->getParameter(kMiddle));
  trebleKnob->setValue(effect->getParameter(kTreble));

  cabSimSwitch = createSwitch(cabSimImage, CPoint(170, 153), kCabSim);
  bypassSwitch = createSwitch(bypassImage, CPoint(170, 295), kBypass);
  cabSimSwitch->setValue(effect->getParameter(kCabSim));
  bypassSwitch->setValue(effect->getParameter(kBypass));

  statusLamp = new CMovieBitmap(kLampRect, this, kLed, 2, 16, lampImage);
  statusLamp->setValue(effect->getParameter(kBypass));

  infoPanel = new MurkfellLabel(kInfoPanelRect);

  // The controls hold their own references to their images.
  knobImage->forget();
  cabSimImage->forget();
  bypassImage->forget();
  lampImage->forget();
  background->forget();
}

CAnimKnob* MurkfellEditor::createKnob(CBitmap* image, const CPoint& centre, ParameterId tag) {
  return new CAnimKnob(knobRect(centre, image->getWidth()), this, tag, kKnobFrames,
                       kKnobFrameHeight, image);
}

COnOffButton* MurkfellEditor::createSwitch(CBitmap* image, const CPoint& centre, ParameterId tag) {
  return new COnOffButton(switchRect(centre, image->getWidth(), image->getHeight()), this, tag,
                          image);
}

void MurkfellEditor::showFrontPanel(CFrame* target) {
  target->removeAll(false);
  pageSwitch->setMouseableArea(kLogoArea);
  for (CView* view :
       std::initializer_list<CView*>{pageSwitch, gainKnob, levelKnob, bassKnob, middleKnob,
                                     trebleKnob, cabSimSwitch, bypassSwitch, statusLamp}) {
    target->addView(view);
  }
}

void MurkfellEditor::showInfoView(CFrame* target) {
  target->removeAll(false);
  pageSwitch->setMouseableArea(kWholePanel);
  target->addView(pageSwitch);
  infoPanel->setMouseEnabled(false);
  target->addView(infoPanel);
}

// The back face for any page value but exactly 0; the page switch follows,
// so the background shows the face in view.
void MurkfellEditor::showFace(float pageValue) {
  if (pageValue == 0.0f) {
    showFrontPanel(frame);
  } else {
    showInfoView(frame);
  }
  pageSwitch->setValue(pageValue == 0.0f ? 0.0f : 1.0f);
  frame->setDirty(true);
}

void MurkfellEditor::close() {
  releaseDetachedViews();
  AEffGUIEditor::close();  // the frame disposes of the views it holds
  bassKnob = middleKnob = trebleKnob = gainKnob = levelKnob = nullptr;
  cabSimSwitch = bypassSwitch = pageSwitch = nullptr;
  statusLamp = nullptr;
  infoPanel = nullptr;
}

// The face not in view is not held by the frame: release it here.
void MurkfellEditor::releaseDetachedViews() {
  if (frame == nullptr) {
    return;
  }
  for (CView* view : std::initializer_list<CView*>{pageSwitch, gainKnob, levelKnob, bassKnob,
                                                   middleKnob, trebleKnob, cabSimSwitch,
                                                   bypassSwitch, statusLamp, infoPanel}) {
    if (view != nullptr && !view->isAttached()) {
      view->forget();
    }
  }
}

void MurkfellEditor::idle() {
  applyPendingParameters();
  AEffGUIEditor::idle();
}

bool MurkfellEditor::onWindowThread() const {
  return windowThread.load() == std::this_thread::get_id();
}

void MurkfellEditor::setParameter(VstInt32 index, float value) {
  if (!isParameter(index)) {
    return;
  }
  if (onWindowThread()) {
    applyParameter(index, value);
    return;
  }
  pendingValues[index].store(value, std::memory_order_relaxed);
  pendingMask.fetch_or(1u << index, std::memory_order_release);
}

void MurkfellEditor::applyPendingParameters() {
  const std::uint32_t pending = pendingMask.exchange(0, std::memory_order_acquire);
  for (VstInt32 index = kPageSwitch; index < kNumParameters; ++index) {
    if ((pending & (1u << index)) != 0) {
      applyParameter(index, pendingValues[index].load(std::memory_order_relaxed));
    }
  }
}

void MurkfellEditor::applyParameter(VstInt32 index, float value) {
  if (frame == nullptr) {
    return;  // the next open reads every value afresh
  }
  switch (index) {
    case kPageSwitch:
      showFace(value);
      return;
    case kGain:
      gainKnob->setValue(value);
      return;
    case kBass:
      bassKnob->setValue(value);
      return;
    case kMiddle:
      middleKnob->setValue(value);
      return;
    case kTreble:
      trebleKnob->setValue(value);
      return;
    case kLevel:
      levelKnob->setValue(value);
      return;
    case kCabSim:
      cabSimSwitch->setValue(value);
      return;
    case kBypass:
      bypassSwitch->setValue(value);
      return;
    case kLed:
      statusLamp->setValue(value);
      return;
    default:
      return;
  }
}

void MurkfellEditor::valueChanged(CControl* control) {
  effect->setParameterAutomated(static_cast<VstInt32>(control->getTag()), control->getValue());
}
