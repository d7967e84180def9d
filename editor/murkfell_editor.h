// The pedal's editor window: the front panel with its knobs, switches and
// lamp, and the back face with the information panel. Every control edits the
// parameter whose index is its tag.
#pragma once

#include <array>
#include <atomic>
#include <cstdint>
#include <thread>

#include "core/parameter_ids.h"
#include "formats/vst2/aeff_gui_editor.h"
#include "toolkit/c_control_listener.h"

class CAnimKnob;
class CBitmap;
class CControl;
class COnOffButton;
class CMovieBitmap;
class CPoint;
class MurkfellLabel;

class MurkfellEditor : public AEffGUIEditor, public CControlListener {
 public:
  explicit MurkfellEditor(AudioEffect* effect);
  // Closes a window the host left open.
  ~MurkfellEditor() override;

  // Without a parent window the panel is built off-screen (for snapshots).
  bool open(void* parentWindow) override;
  void close() override;
  void idle() override;

  // Follows a parameter change from any thread: on the window's thread at
  // once, from any other at the window's next idle.
  void setParameter(VstInt32 index, float value) override;
  void valueChanged(CControl* control) override;

 private:
  void createViews();
  CAnimKnob* createKnob(CBitmap* image, const CPoint& centre, ParameterId tag);
  COnOffButton* createSwitch(CBitmap* image, const CPoint& centre, ParameterId tag);
  void showFrontPanel(CFrame* frame);
  void showInfoView(CFrame* frame);
  void showFace(float pageValue);
  void applyParameter(VstInt32 index, float value);
  void applyPendingParameters();
  void releaseDetachedViews();
  bool onWindowThread() const;

  CAnimKnob* bassKnob = nullptr;
  CAnimKnob* middleKnob = nullptr;
  CAnimKnob* trebleKnob = nullptr;
  CAnimKnob* gainKnob = nullptr;
  CAnimKnob* levelKnob = nullptr;
  COnOffButton* cabSimSwitch = nullptr;
  COnOffButton* bypassSwitch = nullptr;
  COnOffButton* pageSwitch = nullptr;
  CMovieBitmap* statusLamp = nullptr;
  MurkfellLabel* infoPanel = nullptr;

  // Changes that arrived on other threads, applied at the next idle: one bit
  // per parameter index in the mask, the latest value beside it.
  std::atomic<std::thread::id> windowThread;
  std::atomic<std::uint32_t> pendingMask{0};
  std::array<std::atomic<float>, kNumParameters> pendingValues{};
};
