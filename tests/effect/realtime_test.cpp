// The audio thread never allocates: neither while processing nor when a
// host automates parameters from it.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <new>

#include "tests/effect/effect_fixture.h"

namespace {

thread_local bool counting = false;
std::atomic<int> allocations{0};

void* allocate(std::size_t size) {
  if (counting) {
    allocations.fetch_add(1, std::memory_order_relaxed);
  }
  if (void* memory = std::malloc(size == 0 ? 1 : size)) {
    return memory;
  }
  throw std::bad_alloc();
}

}  // namespace

void* operator new(std::size_t size) { return allocate(size); }
void* operator new[](std::size_t size) { return allocate(size); }
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
  try {
    return allocate(size);
  } catch (const std::bad_alloc&) {
    return nullptr;
  }
}
void operator delete(void* memory) noexcept { std::free(memory); }
void operator delete[](void* memory) noexcept { std::free(memory); }
void operator delete(void* memory, std::size_t) noexcept { std::free(memory); }
void operator delete[](void* memory, std::size_t) noexcept { std::free(memory); }

namespace {

TEST(RealTime, ProcessingAndAutomationDoNotAllocate) {
  MurkfellEffect effect{nullptr};
  std::vector<float> input = guitarLikeSignal(512);
  std::vector<float> output(input.size());
  float* inputs[] = {input.data()};
  float* outputs[] = {output.data()};
  effect.setSampleRate(48000.0f);

  allocations = 0;
  counting = true;
  for (int block = 0; block < 64; ++block) {
    effect.setParameter(kGain, 0.01f * block);
    effect.setParameter(kTreble, 1.0f - 0.01f * block);
    effect.setParameter(kLevel, 0.3f);
    effect.setParameter(kBypass, block % 8 == 7 ? 1.0f : 0.0f);
    effect.setParameter(kCabSim, block % 2);
    effect.processReplacing(inputs, outputs, 512);
  }
  counting = false;
  EXPECT_EQ(allocations.load(), 0);
}

TEST(RealTime, TheCounterSeesAllocations) {
  allocations = 0;
  counting = true;
  auto* probe = new int(3);
  counting = false;
  delete probe;
  EXPECT_EQ(allocations.load(), 1);
}

}  // namespace
