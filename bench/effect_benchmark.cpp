// Speed of the whole effect as a host drives it: MurkfellEffect::processReplacing
// on a plucked-string signal with the default parameters, at every common
// rate, host block size and vector unit, in one run. Run from the build
// directory:
//   bench/murkfell_effect_bench [rounds]
// prints ns per host sample, the minimum over `rounds` (default 25). The
// cells are measured round-robin, each round visiting all of them, so a
// busy machine slows every cell alike and the minimum keeps the undisturbed
// runs; the last column is the per-sample cost of 64-sample blocks relative
// to 512-sample blocks. The rows marked "turning" are the widest unit while
// the host automates Treble and Gain with a new value every block, so the
// knobs glide all the time.
//   bench/murkfell_effect_bench --only RATE BLOCK UNIT [SECONDS]
// processes SECONDS (default 1) of audio in one cell and nothing else, for
// instruction counts: run it under valgrind --tool=callgrind
// --collect-atstart=no --toggle-collect='MurkfellEffect::processReplacing*'
// and divide the instructions by the host samples it prints.

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "core/circuit/vector_unit.h"
#include "formats/vst2/murkfell_effect.h"
#include "tests/support/thread_seconds.h"
#include "tools/guitar/repeated_plucks.h"

namespace {

using murkfell::VectorUnit;

constexpr int rates[] = {44100, 48000, 88200, 96000, 192000};
constexpr int blockSizes[] = {16, 64, 256, 512, 4096};
constexpr int samplesPerMeasurement = 8192;  // a whole number of blocks of every size

// One effect fed a looped two-second plucked string in blocks of one size.
class Cell {
 public:
  Cell(int rate, int blockSize, VectorUnit unit, bool turning = false)
      : rate(rate),
        blockSize(blockSize),
        unit(unit),
        turning(turning),
        effect(std::make_unique<MurkfellEffect>(nullptr)) {
    effect->setSampleRate(static_cast<float>(rate));
    guitar::RepeatedPlucks source(rate);
    input.resize(static_cast<std::size_t>(rate) * 2 / blockSize * blockSize);
    for (float& sample : input) sample = source.next();
    output.resize(blockSize);
  }

  // Processor seconds for `samples` host samples.
  double run(int samples) {
    murkfell::forceVectorUnit(unit);
    const double start = threadSeconds();
    for (int done = 0; done < samples; done += blockSize) {
      if (position == input.size()) position = 0;
      if (turning) turnKnobs();
      float* inputs[] = {input.data() + position};
      float* outputs[] = {output.data()};
      effect->processReplacing(inputs, outputs, blockSize);
      position += blockSize;
    }
    return threadSeconds() - start;
  }

  const int rate, blockSize;
  const VectorUnit unit;
  const bool turning;
  double best = 1e30;

 private:
  void turnKnobs() {
    const float knob = static_cast<float>(turns++ % 100) / 100.0f;
    effect->setParameter(murkfell::kTreble, knob);
    effect->setParameter(murkfell::kGain, 1.0f - knob);
  }

  long turns = 0;
  std::unique_ptr<MurkfellEffect> effect;
  std::vector<float> input, output;
  std::size_t position = 0;
};

std::vector<VectorUnit> availableUnits() {
  std::vector<VectorUnit> units;
  for (VectorUnit unit : murkfell::allVectorUnits)
    if (murkfell::isAvailable(unit)) units.push_back(unit);
  return units;
}

void printTable(const std::vector<Cell>& cells, int rounds) {
  std::printf("processReplacing, ns per host sample (minimum of %d rounds)\n", rounds);
  std::printf("%7s %-12s", "rate", "unit");
  for (int blockSize : blockSizes) std::printf(" %7d", blockSize);
  std::printf("  64/512\n");
  for (std::size_t row = 0; row < cells.size(); row += std::size(blockSizes)) {
    const std::string unit =
        std::string(murkfell::nameOf(cells[row].unit)) + (cells[row].turning ? " turning" : "");
    std::printf("%7d %-12s", cells[row].rate, unit.c_str());
    double at64 = 0, at512 = 0;
    for (std::size_t column = 0; column < std::size(blockSizes); ++column) {
      const Cell& cell = cells[row + column];
      const double ns = 1e9 * cell.best / samplesPerMeasurement;
      if (cell.blockSize == 64) at64 = ns;
      if (cell.blockSize == 512) at512 = ns;
      std::printf(" %7.1f", ns);
    }
    std::printf("  %6.3f\n", at64 / at512);
  }
  std::string skipped;
  for (VectorUnit unit : murkfell::allVectorUnits)
    if (!murkfell::isAvailable(unit)) skipped += std::string(" ") + murkfell::nameOf(unit);
  std::printf("vector units not available here:%s\n", skipped.empty() ? " none" : skipped.c_str());
}

int runTable(int rounds) {
  std::vector<Cell> cells;
  const std::vector<VectorUnit> units = availableUnits();
  for (int rate : rates) {
    for (VectorUnit unit : units)
      for (int blockSize : blockSizes) cells.emplace_back(rate, blockSize, unit);
    for (int blockSize : blockSizes) cells.emplace_back(rate, blockSize, units.back(), true);
  }
  for (Cell& cell : cells) cell.run(samplesPerMeasurement);  // warm up
  for (int round = 0; round < rounds; ++round)
    for (Cell& cell : cells) cell.best = std::min(cell.best, cell.run(samplesPerMeasurement));
  printTable(cells, rounds);
  return 0;
}

int runOnly(int rate, int blockSize, const char* unitName, double seconds) {
  for (VectorUnit unit : murkfell::allVectorUnits) {
    if (std::strcmp(murkfell::nameOf(unit), unitName) != 0) continue;
    if (!murkfell::isAvailable(unit)) break;
    Cell cell(rate, blockSize, unit);
    const int samples = static_cast<int>(rate * seconds) / blockSize * blockSize;
    std::printf("%d host samples in blocks of %d at %d Hz on %s: %.1f ns per sample\n", samples,
                blockSize, rate, unitName, 1e9 * cell.run(samples) / samples);
    return 0;
  }
  std::fprintf(stderr, "no available vector unit named %s\n", unitName);
  return 1;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc >= 5 && std::strcmp(argv[1], "--only") == 0)
    return runOnly(std::atoi(argv[2]), std::atoi(argv[3]), argv[4],
                   argc >= 6 ? std::atof(argv[5]) : 1.0);
  return runTable(argc >= 2 ? std::max(1, std::atoi(argv[1])) : 25);
}
