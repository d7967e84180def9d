#include "tools/render/host_callback.h"

namespace render {
namespace {

// Published numbers of the two host queries beyond those the plug-in side uses.
constexpr VstInt32 kGetSampleRate = 16;
constexpr VstInt32 kGetBlockSize = 17;

HostSettings current;

}  // namespace

void setHostSettings(const HostSettings& settings) { current = settings; }

VstIntPtr hostCallback(AEffect*, VstInt32 opcode, VstInt32, VstIntPtr, void*, float) {
  switch (opcode) {
    case audioMasterVersion:
      return kVstVersion;
    case kGetSampleRate:
      return static_cast<VstIntPtr>(current.sampleRate);
    case kGetBlockSize:
      return current.blockSize;
    default:
      return 0;
  }
}

}  // namespace render
