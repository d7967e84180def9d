// A minimal VST 2.4 plug-in for the renderer's tests. Output pin k carries
// input pin k times Scale times (k + 1), so every pin is told apart. When
// MURKFELL_FAKE_LOG names a file, each host call it receives is appended there
// as one line, prefixed with the instance's number. When MURKFELL_FAKE_DELAY_US
// is set, each process call takes that many microseconds, as a slow plug-in's.
// Build switches: FAKE_PINS (inputs = outputs), FAKE_REFUSES (the entry point
// gives null), FAKE_ENTRY (the entry point's exported name).
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>

#include "formats/vst2/aeffect.h"

#ifndef FAKE_PINS
#define FAKE_PINS 1
#endif
#ifndef FAKE_ENTRY
#define FAKE_ENTRY VSTPluginMain
#endif
#ifdef FAKE_REFUSES
constexpr bool kRefuses = true;
#else
constexpr bool kRefuses = false;
#endif

namespace {

constexpr VstInt32 kGetSampleRate = 16;

struct FakeEffect {
  AEffect record{};
  int number = 0;
  float scale = 1.0f;
  long delayMicroseconds = 0;
};

int instancesMade = 0;

void log(const FakeEffect* fake, const char* format, ...) {
  const char* path = std::getenv("MURKFELL_FAKE_LOG");
  if (path == nullptr) {
    return;
  }
  std::FILE* file = std::fopen(path, "a");
  std::fprintf(file, "%d ", fake == nullptr ? 0 : fake->number);
  va_list arguments;
  va_start(arguments, format);
  std::vfprintf(file, format, arguments);
  va_end(arguments);
  std::fputc('\n', file);
  std::fclose(file);
}

FakeEffect* fakeOf(AEffect* effect) { return static_cast<FakeEffect*>(effect->object); }

VstIntPtr dispatch(AEffect* effect, VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr,
                   float opt) {
  FakeEffect* fake = fakeOf(effect);
  switch (opcode) {
    case effOpen:
      log(fake, "open");
      return 0;
    case effClose:
      log(fake, "close");
      delete fake;
      return 1;
    case effSetSampleRate:
      log(fake, "rate %g", opt);
      return 0;
    case effSetBlockSize:
      log(fake, "block %ld", static_cast<long>(value));
      return 0;
    case effMainsChanged:
      log(fake, "mains %ld", static_cast<long>(value));
      return 0;
    case effGetParamName:
      if (index == 0) {
        std::strcpy(static_cast<char*>(ptr), "Scale");
      }
      return 0;
    default:
      return 0;
  }
}

void setParameter(AEffect* effect, VstInt32 index, float value) {
  log(fakeOf(effect), "set %d %g", index, value);
  if (index == 0) {
    fakeOf(effect)->scale = value;
  }
}

float getParameter(AEffect* effect, VstInt32 index) {
  return index == 0 ? fakeOf(effect)->scale : 0.0f;
}

void processReplacing(AEffect* effect, float** inputs, float** outputs, VstInt32 frames) {
  FakeEffect* fake = fakeOf(effect);
  log(fake, "process %d", frames);
  if (fake->delayMicroseconds > 0) {
    const timespec delay{0, fake->delayMicroseconds * 1000};
    nanosleep(&delay, nullptr);
  }
  for (int pin = 0; pin < FAKE_PINS; ++pin) {
    for (VstInt32 frame = 0; frame < frames; ++frame) {
      outputs[pin][frame] = inputs[pin][frame] * fake->scale * static_cast<float>(pin + 1);
    }
  }
}

}  // namespace

extern "C" __attribute__((visibility("default"))) AEffect* FAKE_ENTRY(audioMasterCallback host) {
  log(nullptr, "version %ld",
      static_cast<long>(host(nullptr, audioMasterVersion, 0, 0, nullptr, 0)));
  log(nullptr, "asked rate %ld",
      static_cast<long>(host(nullptr, kGetSampleRate, 0, 0, nullptr, 0)));
  if (kRefuses) {
    return nullptr;
  }
  auto* fake = new FakeEffect;
  fake->number = ++instancesMade;
  if (const char* delay = std::getenv("MURKFELL_FAKE_DELAY_US")) {
    fake->delayMicroseconds = std::atol(delay);
  }
  AEffect& record = fake->record;
  record.magic = kEffectMagic;
  record.dispatcher = dispatch;
  record.setParameter = setParameter;
  record.getParameter = getParameter;
  record.numParams = 1;
  record.numInputs = FAKE_PINS;
  record.numOutputs = FAKE_PINS;
  record.flags = effFlagsCanReplacing;
  record.object = fake;
  record.processReplacing = processReplacing;
  return &record;
}
