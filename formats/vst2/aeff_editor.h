// The editor as the effect and the dispatcher see it. Every operation has a
// harmless default; a concrete editor overrides what it supports.
#pragma once

#include "formats/vst2/aeffect.h"

class AudioEffect;

class AEffEditor {
 public:
  explicit AEffEditor(AudioEffect* effect) : effect(effect) {}
  virtual ~AEffEditor() = default;
  AEffEditor(const AEffEditor&) = delete;
  AEffEditor& operator=(const AEffEditor&) = delete;

  virtual AudioEffect* getEffect() { return effect; }
  virtual bool getRect(ERect** rect) {
    *rect = nullptr;
    return false;
  }
  virtual bool open(void* parentWindow) {
    systemWindow = parentWindow;
    return false;
  }
  virtual void close() { systemWindow = nullptr; }
  virtual bool isOpen() { return systemWindow != nullptr; }
  virtual void idle() {}
  virtual bool onKeyDown(VstKeyCode&) { return false; }
  virtual bool onKeyUp(VstKeyCode&) { return false; }
  virtual bool onWheel(float) { return false; }
  virtual bool setKnobMode(VstInt32) { return false; }
  // Every parameter change of the effect, whatever its source and thread,
  // arrives here so the editor can follow it.
  virtual void setParameter(VstInt32, float) {}

 protected:
  AudioEffect* effect;
  void* systemWindow = nullptr;
};
