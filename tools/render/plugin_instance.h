// One running instance of a plug-in, driven through its effect record in the
// order a host uses: open, set up, resume, process, suspend, close.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "formats/vst2/aeffect.h"
#include "tools/render/plugin_library.h"

namespace render {

class PluginInstance {
 public:
  // Creates the instance through the entry point and opens it.
  explicit PluginInstance(const PluginLibrary& library);
  // Suspends the instance if it is running, then closes it.
  ~PluginInstance();
  PluginInstance(const PluginInstance&) = delete;
  PluginInstance& operator=(const PluginInstance&) = delete;

  int inputCount() const { return effect->numInputs; }
  int outputCount() const { return effect->numOutputs; }
  int parameterCount() const { return effect->numParams; }
  VstInt32 uniqueId() const { return effect->uniqueID; }
  VstIntPtr vendorVersion() const;
  // A text the plug-in reports, such as effGetEffectName; empty if it has none.
  std::string text(VstInt32 opcode, VstInt32 index = 0) const;

  std::string parameterName(int index) const;
  // The plug-in's own text for the value, with its unit; often empty.
  std::string parameterDisplay(int index) const;
  float parameter(int index) const;
  void setParameter(int index, float value);
  // The first parameter whose reported name equals the given one, ignoring case.
  std::optional<int> findParameter(std::string_view name) const;

  // Sample rate and block size; only while suspended.
  void prepare(float sampleRate, int blockSize);
  void resume();
  void suspend();
  void process(float** inputs, float** outputs, int frames);

 private:
  VstIntPtr dispatch(VstInt32 opcode, VstInt32 index = 0, VstIntPtr value = 0, void* ptr = nullptr,
                     float opt = 0.0f) const;

  AEffect* effect;
  bool running = false;
};

}  // namespace render
