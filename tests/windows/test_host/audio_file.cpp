#include "tests/windows/test_host/audio_file.h"

#include <cstdint>
#include <cstring>
#include <fstream>
#include <iterator>
#include <stdexcept>

namespace {

constexpr std::uint16_t kPcm = 1;
constexpr std::uint16_t kFloat = 3;
constexpr std::uint16_t kExtensible = 0xFFFE;

bool isWav(const std::string& path) {
  return path.size() >= 4 && (path.ends_with(".wav") || path.ends_with(".WAV"));
}

std::uint32_t little(const unsigned char* bytes, int count) {
  std::uint32_t value = 0;
  for (int i = count - 1; i >= 0; --i) value = value << 8 | bytes[i];
  return value;
}

float pcmSample(const unsigned char* bytes, int width) {
  // Sign-extend from the top byte, then scale full scale to 1.
  const std::uint32_t raw = little(bytes, width) << (32 - 8 * width);
  return static_cast<float>(static_cast<std::int32_t>(raw) / 2147483648.0);
}

std::vector<unsigned char> fileBytes(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  if (!file) throw std::runtime_error("cannot open " + path);
  return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

MonoSound readWav(const std::string& path, const std::vector<unsigned char>& bytes) {
  if (bytes.size() < 12 || std::memcmp(bytes.data(), "RIFF", 4) != 0 ||
      std::memcmp(bytes.data() + 8, "WAVE", 4) != 0) {
    throw std::runtime_error(path + " is not a WAV file");
  }
  MonoSound sound;
  std::uint16_t format = 0, channels = 0, bits = 0;
  const unsigned char* data = nullptr;
  std::size_t dataSize = 0;
  for (std::size_t at = 12; at + 8 <= bytes.size();) {
    const unsigned char* chunk = bytes.data() + at;
    const std::size_t size = little(chunk + 4, 4);
    const std::size_t body = std::min(size, bytes.size() - at - 8);
    if (std::memcmp(chunk, "fmt ", 4) == 0 && body >= 16) {
      format = static_cast<std::uint16_t>(little(chunk + 8, 2));
      channels = static_cast<std::uint16_t>(little(chunk + 10, 2));
      sound.sampleRate = static_cast<float>(little(chunk + 12, 4));
      bits = static_cast<std::uint16_t>(little(chunk + 22, 2));
      if (format == kExtensible && body >= 26) {
        format = static_cast<std::uint16_t>(little(chunk + 32, 2));  // the sub-format's tag
      }
    } else if (std::memcmp(chunk, "data", 4) == 0) {
      data = chunk + 8;
      dataSize = body;
    }
    at += 8 + size + (size & 1);
  }
  const bool pcm = format == kPcm && (bits == 16 || bits == 24 || bits == 32);
  const bool floats = format == kFloat && bits == 32;
  if (data == nullptr || channels != 1 || !(pcm || floats)) {
    throw std::runtime_error(path + ": the test host reads mono PCM or 32-bit float WAV only");
  }
  const int width = bits / 8;
  for (std::size_t at = 0; at + width <= dataSize; at += width) {
    float sample;
    if (floats) {
      const std::uint32_t raw = little(data + at, 4);
      std::memcpy(&sample, &raw, sizeof sample);
    } else {
      sample = pcmSample(data + at, width);
    }
    sound.samples.push_back(sample);
  }
  return sound;
}

void putLittle(std::ofstream& file, std::uint32_t value, int count) {
  for (int i = 0; i < count; ++i, value >>= 8) file.put(static_cast<char>(value & 0xFF));
}

}  // namespace

MonoSound readSound(const std::string& path, float rawRate) {
  const std::vector<unsigned char> bytes = fileBytes(path);
  if (isWav(path)) {
    return readWav(path, bytes);
  }
  MonoSound sound;
  sound.sampleRate = rawRate;
  sound.samples.resize(bytes.size() / sizeof(float));
  std::memcpy(sound.samples.data(), bytes.data(), sound.samples.size() * sizeof(float));
  return sound;
}

void writeSound(const std::string& path, const MonoSound& sound) {
  std::ofstream file(path, std::ios::binary);
  if (!file) throw std::runtime_error("cannot write " + path);
  const auto dataSize = static_cast<std::uint32_t>(sound.samples.size() * sizeof(float));
  if (isWav(path)) {
    const auto rate = static_cast<std::uint32_t>(sound.sampleRate);
    file.write("RIFF", 4);
    putLittle(file, 36 + dataSize, 4);
    file.write("WAVEfmt ", 8);
    putLittle(file, 16, 4);
    putLittle(file, kFloat, 2);
    putLittle(file, 1, 2);  // mono
    putLittle(file, rate, 4);
    putLittle(file, rate * 4, 4);  // bytes per second
    putLittle(file, 4, 2);         // bytes per frame
    putLittle(file, 32, 2);
    file.write("data", 4);
    putLittle(file, dataSize, 4);
  }
  file.write(reinterpret_cast<const char*>(sound.samples.data()), dataSize);
  if (!file) throw std::runtime_error("cannot write " + path);
}
