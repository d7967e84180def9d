// The host side of the plug-in interface: the function a plug-in calls to ask
// the host something.
#pragma once

#include "formats/vst2/aeffect.h"

namespace render {

// What the host tells plug-ins that ask; some ask while they are being created,
// before any dispatcher call could tell them.
struct HostSettings {
  float sampleRate = 44100.0f;
  int blockSize = 512;
};

void setHostSettings(const HostSettings& settings);

// Answers the version query with 2400 and the sample-rate and block-size
// queries with the current settings; every other request answers 0.
VstIntPtr hostCallback(AEffect* effect, VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr,
                       float opt);

}  // namespace render
