// What views ask of the editor that owns their frame: the knob mode and the
// bracketing of user edits.
#pragma once

#include <atomic>

class CFrame;

enum CKnobMode : long {
  kCircularMode = 0,
  kRelativCircularMode = 1,  // handled like kCircularMode
  kLinearMode = 2,
};

class VSTGUIEditorInterface {
 public:
  virtual ~VSTGUIEditorInterface() = default;

  // The knob mode is shared by every editor of the process; hosts set it.
  static void setKnobMode(long mode) { knobMode.store(mode, std::memory_order_relaxed); }

  virtual void doIdleStuff() {}
  virtual long getKnobMode() const { return knobMode.load(std::memory_order_relaxed); }
  virtual bool beginEdit(long /*index*/) { return false; }
  virtual bool endEdit(long /*index*/) { return false; }

  CFrame* getFrame() const { return frame; }

 protected:
  CFrame* frame = nullptr;

 private:
  static inline std::atomic<long> knobMode{kCircularMode};
};
