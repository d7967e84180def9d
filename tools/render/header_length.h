// The length a WAV or AIFF file's header promises. libsndfile trims a promise
// the file cannot keep down to what the file holds, which would hide a
// recording that was cut off; the header itself still tells.
#pragma once

#include <optional>
#include <string>

namespace render {

// Frames the header promises; empty for other kinds of file, for encodings
// whose length the header does not give in frames, and for a header whose
// writer never filled the length in.
std::optional<long long> framesPromisedByHeader(const std::string& path);

}  // namespace render
