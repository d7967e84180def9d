// Binds a toolkit editor to a VST effect: it becomes the effect's editor,
// answers the host's editor requests and forwards edit bracketing to it.
#pragma once

#include "formats/vst2/aeff_editor.h"
#include "toolkit/vstgui_editor_interface.h"

class AEffGUIEditor : public AEffEditor, public VSTGUIEditorInterface {
 public:
  explicit AEffGUIEditor(AudioEffect* effect);
  // Closes a window the host left open.
  ~AEffGUIEditor() override;

  bool getRect(ERect** rect) override;
  bool open(void* ptr) override;
  // Takes the frame out of `frame` before destroying it, so nothing reaches a
  // frame that is going away.
  void close() override;
  bool isOpen() override { return frame != nullptr; }
  void idle() override;
  // No view takes keys.
  bool onKeyDown(VstKeyCode&) override { return false; }
  bool onKeyUp(VstKeyCode&) override { return false; }
  // The knob mode is shared by every editor of the process.
  bool setKnobMode(VstInt32 mode) override;

  void doIdleStuff() override;
  long getKnobMode() const override { return knobMode; }
  bool beginEdit(long index) override;
  bool endEdit(long index) override;

 protected:
  ERect rect{};

 private:
  void destroyFrame();

  bool inIdleStuff = false;
  static inline long knobMode = kCircularMode;
};
