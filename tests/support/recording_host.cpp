#include "tests/support/recording_host.h"

RecordingHost& RecordingHost::instance() {
  static RecordingHost host;
  return host;
}

VstIntPtr RecordingHost::callback(AEffect* effect, VstInt32 opcode, VstInt32 index, VstIntPtr value,
                                  void* ptr, float opt) {
  RecordingHost& host = instance();
  host.recorded.push_back({effect, opcode, index, value, ptr, opt});
  return opcode == audioMasterVersion ? host.version : 0;
}

void RecordingHost::reset(VstIntPtr versionAnswer) {
  recorded.clear();
  version = versionAnswer;
}

std::vector<HostRequest> RecordingHost::requestsWith(VstInt32 opcode) const {
  std::vector<HostRequest> matching;
  for (const HostRequest& request : recorded) {
    if (request.opcode == opcode) {
      matching.push_back(request);
    }
  }
  return matching;
}
