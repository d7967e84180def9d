// Binds the pedal's editor to a VST 2.4 effect: it becomes the effect's editor,
// answers the host's editor requests, and turns the editor's edits into
// automated parameter changes bracketed by begin and end of edit.
#pragma once

#include "editor/editor_controller.h"
#include "editor/murkfell_editor.h"
#include "formats/vst2/aeff_editor.h"

class AudioEffectX;

class AEffGUIEditor : public AEffEditor, private EditorController {
 public:
  // Attaches itself to the effect, which owns it from then on.
  explicit AEffGUIEditor(AudioEffectX* effect);

  bool getRect(ERect** rect) override;
  bool open(void* parentWindow) override;
  void close() override;
  bool isOpen() override { return editor.isOpen(); }
  void idle() override { editor.idle(); }
  bool onKeyDown(VstKeyCode& key) override;
  bool onKeyUp(VstKeyCode& key) override;
  // The knob mode is shared by every editor of the process.
  bool setKnobMode(VstInt32 mode) override;
  void setParameter(VstInt32 index, float value) override;

  MurkfellEditor& pedalEditor() { return editor; }

 private:
  float parameter(std::int32_t index) override;
  void setParameterFromEditor(std::int32_t index, float value) override;
  bool beginEdit(std::int32_t index) override;
  bool endEdit(std::int32_t index) override;
  void hostIdle() override;

  AudioEffectX* effectX;
  ERect rect;
  MurkfellEditor editor;
};
