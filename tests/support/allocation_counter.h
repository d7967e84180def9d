// Counts heap allocations made on a thread while it stands in for the host's
// audio thread. Linking this replaces the global allocator of the program.
#pragma once

long audioPathAllocations();
void resetAudioPathAllocations();

// Marks the calls a host would make on its audio thread, for its lifetime.
class AudioPath {
 public:
  AudioPath();
  ~AudioPath();
  AudioPath(const AudioPath&) = delete;
  AudioPath& operator=(const AudioPath&) = delete;
};
