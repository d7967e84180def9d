// A host callback that records every request a plug-in sends, and answers the
// version query with a configurable value.
#pragma once

#include <vector>

#include "formats/vst2/aeffect.h"

struct HostRequest {
  AEffect* effect;
  VstInt32 opcode;
  VstInt32 index;
  VstIntPtr value;
  void* ptr;
  float opt;
};

class RecordingHost {
 public:
  // The callback is a plain function, so one recorder serves the process.
  static RecordingHost& instance();
  static VstIntPtr callback(AEffect* effect, VstInt32 opcode, VstInt32 index, VstIntPtr value,
                            void* ptr, float opt);

  void reset(VstIntPtr versionAnswer = 2400);
  const std::vector<HostRequest>& requests() const { return recorded; }
  std::vector<HostRequest> requestsWith(VstInt32 opcode) const;

 private:
  std::vector<HostRequest> recorded;
  VstIntPtr version = 2400;
};
