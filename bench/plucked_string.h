#pragma once

#include <cstdint>
#include <vector>

namespace murkfell {

// A deterministic guitar-like test signal: a Karplus–Strong string re-plucked
// every half second at a cycling pitch. Pure integer and double arithmetic, so
// the same samples come out on every machine.
class PluckedString {
 public:
  explicit PluckedString(double sampleRate, float amplitude = 0.3f)
      : sampleRate_(sampleRate), amplitude_(amplitude) {}

  float next() {
    if (untilPluck_ == 0) pluck();
    --untilPluck_;
    const std::size_t following = (position_ + 1) % line_.size();
    const double value = line_[position_];
    line_[position_] = 0.4985 * (value + line_[following]);  // lossy averaging
    position_ = following;
    return static_cast<float>(amplitude_ * value);
  }

 private:
  void pluck() {
    static constexpr double pitches[] = {82.41, 110.0, 146.83, 196.0, 246.94, 329.63};
    const double pitch = pitches[plucks_++ % 6];
    line_.assign(static_cast<std::size_t>(sampleRate_ / pitch), 0.0);
    for (double& value : line_) value = noise();
    position_ = 0;
    untilPluck_ = static_cast<long>(sampleRate_ / 2);
  }

  double noise() {  // uniform in [−1, 1) from a 64-bit linear congruential generator
    seed_ = seed_ * 6364136223846793005ULL + 1442695040888963407ULL;
    return static_cast<double>(seed_ >> 11) * 0x1.0p-52 - 1.0;
  }

  double sampleRate_;
  double amplitude_;
  std::vector<double> line_;
  std::size_t position_ = 0;
  long untilPluck_ = 0;
  unsigned plucks_ = 0;
  std::uint64_t seed_ = 0x5eed;
};

}  // namespace murkfell
