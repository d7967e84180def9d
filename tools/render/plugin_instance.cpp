#include "tools/render/plugin_instance.h"

#include <algorithm>
#include <array>
#include <cctype>

#include "tools/render/render_error.h"

namespace render {
namespace {

// Plug-ins often write more than the published text limits; a generous,
// zeroed buffer keeps that harmless.
constexpr std::size_t kTextBufferSize = 256;

std::string trimmed(std::string text) {
  const auto notSpace = [](unsigned char c) { return !std::isspace(c); };
  text.erase(std::find_if(text.rbegin(), text.rend(), notSpace).base(), text.end());
  text.erase(text.begin(), std::find_if(text.begin(), text.end(), notSpace));
  return text;
}

bool equalIgnoringCase(std::string_view a, std::string_view b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](unsigned char x, unsigned char y) {
    return std::tolower(x) == std::tolower(y);
  });
}

}  // namespace

PluginInstance::PluginInstance(const PluginLibrary& library) : effect(library.createEffect()) {
  if (effect->processReplacing == nullptr) {
    dispatch(effClose);
    throw RenderError("the plug-in " + library.path() +
                      " cannot process audio (no processReplacing)");
  }
  dispatch(effOpen);
}

PluginInstance::~PluginInstance() {
  suspend();
  dispatch(effClose);
}

VstIntPtr PluginInstance::dispatch(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr,
                                   float opt) const {
  return effect->dispatcher(effect, opcode, index, value, ptr, opt);
}

VstIntPtr PluginInstance::vendorVersion() const { return dispatch(effGetVendorVersion); }

std::string PluginInstance::text(VstInt32 opcode, VstInt32 index) const {
  std::array<char, kTextBufferSize> buffer{};
  dispatch(opcode, index, 0, buffer.data());
  buffer.back() = '\0';
  return trimmed(buffer.data());
}

std::string PluginInstance::parameterName(int index) const { return text(effGetParamName, index); }

std::string PluginInstance::parameterDisplay(int index) const {
  const std::string display = text(effGetParamDisplay, index);
  const std::string label = text(effGetParamLabel, index);
  return display.empty() || label.empty() ? display : display + " " + label;
}

float PluginInstance::parameter(int index) const { return effect->getParameter(effect, index); }

void PluginInstance::setParameter(int index, float value) {
  effect->setParameter(effect, index, value);
}

std::optional<int> PluginInstance::findParameter(std::string_view name) const {
  for (int index = 0; index < parameterCount(); ++index) {
    if (equalIgnoringCase(parameterName(index), trimmed(std::string(name)))) {
      return index;
    }
  }
  return std::nullopt;
}

void PluginInstance::prepare(float sampleRate, int blockSize) {
  dispatch(effSetSampleRate, 0, 0, nullptr, sampleRate);
  dispatch(effSetBlockSize, 0, blockSize);
}

void PluginInstance::resume() {
  if (!running) {
    dispatch(effMainsChanged, 0, 1);
    running = true;
  }
}

void PluginInstance::suspend() {
  if (running) {
    dispatch(effMainsChanged, 0, 0);
    running = false;
  }
}

void PluginInstance::process(float** inputs, float** outputs, int frames) {
  effect->processReplacing(effect, inputs, outputs, frames);
}

}  // namespace render
