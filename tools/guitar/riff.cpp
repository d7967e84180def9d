#include "tools/guitar/riff.h"

#include <algorithm>
#include <cmath>

#include "tools/guitar/plucked_string.h"

namespace guitar {
namespace {

struct Note {
  double start;   // seconds
  int pitch;      // MIDI note number
  double length;  // seconds until the string is muted
  double strength;
};

constexpr double kStrumGap = 0.014;  // seconds between strings of the chord
constexpr double kChordStart = 2.5;
constexpr double kPeak = 0.5;
constexpr double kTotalSeconds = 4.8;

// An eighth-note figure on the low strings at 120 beats a minute, then an open
// E major chord left to ring.
std::vector<Note> riffNotes() {
  std::vector<Note> notes = {
      {0.00, 40, 0.22, 0.90}, {0.25, 40, 0.20, 0.65}, {0.50, 43, 0.22, 0.85},
      {0.75, 45, 0.45, 0.90}, {1.25, 40, 0.22, 0.80}, {1.50, 47, 0.22, 0.85},
      {1.75, 50, 0.22, 0.85}, {2.00, 52, 0.45, 0.95},
  };
  const int chord[] = {40, 47, 52, 56, 59, 64};
  double start = kChordStart;
  for (const int pitch : chord) {
    notes.push_back({start, pitch, kTotalSeconds - start, 0.8});
    start += kStrumGap;
  }
  return notes;
}

double frequencyOf(int pitch) { return 440.0 * std::pow(2.0, (pitch - 69) / 12.0); }

}  // namespace

std::vector<float> synthesizeRiff(int sampleRate) {
  const auto total = static_cast<std::size_t>(kTotalSeconds * sampleRate);
  std::vector<double> mix(total, 0.0);
  const std::vector<Note> notes = riffNotes();
  for (std::size_t index = 0; index < notes.size(); ++index) {
    const Note& note = notes[index];
    // Low strings ring longer than high ones.
    const double ring = 1.5 + 2.0 * (64 - note.pitch) / 24.0;
    PluckedString string({frequencyOf(note.pitch), static_cast<double>(sampleRate), note.strength,
                          ring, static_cast<std::uint32_t>(index + 1)});
    const auto first = static_cast<std::size_t>(note.start * sampleRate);
    const auto muteAt = first + static_cast<std::size_t>(note.length * sampleRate);
    for (std::size_t at = first; at < total; ++at) {
      if (at == muteAt) {
        string.mute();
      }
      mix[at] += string.next();
    }
  }
  double peak = 0.0;
  for (const double sample : mix) {
    peak = std::max(peak, std::abs(sample));
  }
  std::vector<float> samples(total);
  std::transform(mix.begin(), mix.end(), samples.begin(),
                 [&](double sample) { return static_cast<float>(sample * kPeak / peak); });
  return samples;
}

}  // namespace guitar
