// What views ask of the editor that owns their frame: the knob mode and the
// bracketing of user edits.
#pragma once

class CFrame;

enum CKnobMode : long {
  kCircularMode = 0,
  kRelativCircularMode = 1,  // handled like kCircularMode
  kLinearMode = 2,
};

class VSTGUIEditorInterface {
 public:
  virtual ~VSTGUIEditorInterface() = default;

  virtual void doIdleStuff() {}
  virtual long getKnobMode() const { return kCircularMode; }
  virtual bool beginEdit(long /*index*/) { return false; }
  virtual bool endEdit(long /*index*/) { return false; }

  CFrame* getFrame() const { return frame; }

 protected:
  CFrame* frame = nullptr;
};
