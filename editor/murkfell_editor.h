// The pedal's editor window: the front panel with its knobs, switches and
// lamp, and the back face with the information panel. Every control edits the
// parameter whose index is its tag. It knows no plug-in format: a shell hands
// it a controller and the images, and forwards its host's window requests.
#pragma once

#include <array>
#include <atomic>
#include <cstdint>

#include "core/parameters.h"
#include "editor/editor_controller.h"
#include "editor/editor_images.h"
#include "toolkit/c_control_listener.h"
#include "toolkit/c_key_code.h"
#include "toolkit/c_rect.h"
#include "toolkit/vstgui_editor_interface.h"

class CBitmap;
class CControl;
class MurkfellLabel;

class MurkfellEditor : public VSTGUIEditorInterface, public CControlListener {
 public:
  static constexpr CRect kSize{0, 0, 340, 400};

  MurkfellEditor(EditorController& controller, ImageLookup images);
  // Closes a window the host left open.
  ~MurkfellEditor() override;
  MurkfellEditor(const MurkfellEditor&) = delete;
  MurkfellEditor& operator=(const MurkfellEditor&) = delete;

  // Opens the window inside the host's parent window; without a parent the
  // panel is built off-screen (for snapshots). Opening again replaces the
  // window. Window thread only, like close and idle.
  bool open(void* parentWindow);
  void close();
  bool isOpen() const { return frame != nullptr; }
  // Applies the parameter changes that arrived since the last idle, handles
  // window events and redraws what changed.
  void idle();

  // A parameter changed, from any thread: the control follows at the next
  // idle, showing the controller's value then (the page switch: this value).
  void parameterChanged(std::int32_t index, float value);

  // A key the host passes on, on the window thread: the arrow keys step the
  // knob under the pointer, or else the control touched last. True when a
  // control took the key; the host keeps every other key for itself.
  bool onKeyDown(CKeyCode& key);
  bool onKeyUp(CKeyCode& key);

  void valueChanged(CControl* control) override;
  void doIdleStuff() override { controller.hostIdle(); }
  bool beginEdit(long index) override;
  bool endEdit(long index) override;

 private:
  CBitmap* loadImage(const char* resourceName) const;
  void createViews();
  void showFrontPanel(CFrame* target);
  void showInfoView(CFrame* target);
  void showFace(float pageValue);
  void applyPendingParameters();
  void applyParameter(std::int32_t index);
  void releaseDetachedViews();
  void destroyFrame();

  EditorController& controller;
  ImageLookup images;

  // The controls by tag (the page switch at 0) and the back face's panel;
  // the views of the face not in view are held here, not by the frame.
  std::array<CControl*, murkfell::kNumParameters> controls{};
  MurkfellLabel* infoPanel = nullptr;
  bool inIdle = false;

  // Changes waiting for the next idle: one bit per index, and the latest
  // value beside it for the editor's own page switch.
  std::atomic<std::uint32_t> pendingMask{0};
  std::array<std::atomic<float>, murkfell::kNumParameters> pendingValues{};
};
