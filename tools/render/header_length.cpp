#include "tools/render/header_length.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <fstream>
#include <optional>

namespace render {
namespace {

// WAV encodings with one block per frame: integer, float, A-law, mu-law and
// the extensible form recordings with more channels or bits use.
constexpr std::array<std::uint16_t, 5> kFramePerBlockEncodings = {1, 3, 6, 7, 0xFFFE};
// What a writer puts in a length it has not filled in yet.
constexpr std::uint32_t kOpenLength = 0xFFFFFFFF;

class ChunkReader {
 public:
  explicit ChunkReader(const std::string& path) : stream(path, std::ios::binary) {}

  bool good() const { return static_cast<bool>(stream); }
  std::string id() { return bytes(4); }
  std::uint32_t littleEndian(int size) { return number(size, false); }
  std::uint32_t bigEndian(int size) { return number(size, true); }
  // Chunks start on even offsets.
  void skip(std::uint32_t size) { stream.seekg(size + (size & 1u), std::ios::cur); }

  struct Chunk {
    std::string id;
    std::uint32_t size;
  };
  // The next chunk's id and length (in the container's byte order), or
  // nothing at the end of the file.
  std::optional<Chunk> nextChunk(bool bigEndianSize) {
    Chunk chunk{id(), number(4, bigEndianSize)};
    if (!good()) {
      return std::nullopt;
    }
    return chunk;
  }

 private:
  std::string bytes(int count) {
    std::string text(count, '\0');
    stream.read(text.data(), count);
    return text;
  }
  std::uint32_t number(int size, bool bigEndian) {
    const std::string raw = bytes(size);
    std::uint32_t value = 0;
    for (int at = 0; at < size; ++at) {
      const auto byte = static_cast<unsigned char>(raw[bigEndian ? at : size - 1 - at]);
      value = value << 8 | byte;
    }
    return value;
  }

  std::ifstream stream;
};

std::optional<long long> wavFrames(ChunkReader& file) {
  std::uint32_t encoding = 0;
  std::uint32_t blockAlign = 0;
  while (const auto chunk = file.nextChunk(false)) {
    const auto& [id, size] = *chunk;
    if (id == "fmt " && size >= 14) {
      encoding = file.littleEndian(2);
      file.skip(10);  // channels, sample rate, bytes per second
      blockAlign = file.littleEndian(2);
      file.skip(size - 14);
    } else if (id == "data") {
      const bool countsFrames =
          std::find(kFramePerBlockEncodings.begin(), kFramePerBlockEncodings.end(), encoding) !=
          kFramePerBlockEncodings.end();
      if (!countsFrames || blockAlign == 0 || size == 0 || size == kOpenLength) {
        break;
      }
      return size / blockAlign;
    } else {
      file.skip(size);
    }
  }
  return std::nullopt;
}

std::optional<long long> aiffFrames(ChunkReader& file) {
  while (const auto chunk = file.nextChunk(true)) {
    const auto& [id, size] = *chunk;
    if (id == "COMM" && size >= 6) {
      file.skip(2);  // channels
      const std::uint32_t frames = file.bigEndian(4);
      if (!file.good() || frames == 0 || frames == kOpenLength) {
        break;
      }
      return frames;
    }
    file.skip(size);
  }
  return std::nullopt;
}

}  // namespace

std::optional<long long> framesPromisedByHeader(const std::string& path) {
  ChunkReader file(path);
  const std::string container = file.id();
  file.skip(4);  // the container's own length, often wrong in cut-off files
  const std::string kind = file.id();
  if (!file.good()) {
    return std::nullopt;
  }
  if (container == "RIFF" && kind == "WAVE") {
    return wavFrames(file);
  }
  if (container == "FORM" && (kind == "AIFF" || kind == "AIFC")) {
    return aiffFrames(file);
  }
  return std::nullopt;
}

}  // namespace render
