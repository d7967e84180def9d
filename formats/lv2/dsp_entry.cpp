// The LV2 entry of the pedal's DSP: one descriptor whose functions map the
// host's calls onto a PedalPorts instance.
#include <lv2/core/lv2.h>

#include <new>

#include "formats/lv2/bundle_identity.h"
#include "formats/lv2/pedal_ports.h"

using murkfell::lv2::PedalPorts;

namespace {

PedalPorts* ports(LV2_Handle instance) { return static_cast<PedalPorts*>(instance); }

// The pedal needs no host feature; the rate comes with the call.
LV2_Handle instantiate(const LV2_Descriptor* /*descriptor*/, double sampleRate,
                       const char* /*bundlePath*/, const LV2_Feature* const* /*features*/) {
  auto* instance = new (std::nothrow) PedalPorts;
  if (instance != nullptr && !instance->setSampleRate(sampleRate)) {
    delete instance;
    return nullptr;
  }
  return instance;
}

void connectPort(LV2_Handle instance, uint32_t port, void* data) {
  ports(instance)->connect(port, data);
}

void activate(LV2_Handle instance) { ports(instance)->activate(); }

void run(LV2_Handle instance, uint32_t frames) { ports(instance)->run(frames); }

void deactivate(LV2_Handle instance) { ports(instance)->deactivate(); }

void cleanup(LV2_Handle instance) { delete ports(instance); }

const void* extensionData(const char* /*uri*/) { return nullptr; }

const LV2_Descriptor kDescriptor{murkfell::lv2::kPluginUri,
                                 instantiate,
                                 connectPort,
                                 activate,
                                 run,
                                 deactivate,
                                 cleanup,
                                 extensionData};

}  // namespace

extern "C" LV2_SYMBOL_EXPORT const LV2_Descriptor* lv2_descriptor(uint32_t index) {
  return index == 0 ? &kDescriptor : nullptr;
}
