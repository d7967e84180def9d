// A hostile host. Each fuzz input is decoded into the life of one plug-in
// instance: created through the entry point, driven by any sequence of
// dispatcher requests, parameter calls, processing calls, sample-rate changes
// and suspend/resume, then closed. Besides the sanitizers' own reports it
// checks what a host relies on:
//   - getParameter answers exactly what setParameter stored for a stored
//     parameter, the mirrored value for the lamp and 0.0 elsewhere;
//   - with Bypass off every output sample is finite, whatever came in (the
//     circuit drops a non-finite result and restarts from rest); with Bypass
//     on the output is the input bit for bit;
//   - a processing call without buffers or frames leaves the output alone;
//   - only finite rates within 1 kHz .. 1 MHz are taken;
//   - texts handed out end inside the host's buffer, sized to the published
//     maximum so that AddressSanitizer sees any write past it.
// The window-opening request (effEditOpen) is left out; the editor tests
// cover it. Every call into the plug-in is counted; the total over the whole
// run is printed at exit.
#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <numbers>
#include <random>
#include <vector>

#include "core/parameters.h"
#include "core/pedal.h"
#include "formats/vst2/aeffect.h"
#include "formats/vst2/audio_effect.h"

extern "C" AEffect* VSTPluginMain(audioMasterCallback audioMaster);

namespace {

std::uint64_t hostCalls = 0;

void reportHostCalls() {
  std::fprintf(stderr, "host calls made: %llu\n", static_cast<unsigned long long>(hostCalls));
}

void require(bool condition, const char* broken) {
  if (!condition) {
    std::fprintf(stderr, "host-call fuzzer: %s\n", broken);
    std::abort();
  }
}

VstIntPtr answerAsHost(AEffect*, VstInt32 opcode, VstInt32, VstIntPtr, void*, float) {
  return opcode == audioMasterVersion ? 2400 : 0;
}

bool sameFloat(float a, float b) {
  return std::bit_cast<std::uint32_t>(a) == std::bit_cast<std::uint32_t>(b) ||
         (std::isnan(a) && std::isnan(b));
}

bool sameBits(const std::vector<float>& a, const std::vector<float>& b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](float x, float y) {
    return std::bit_cast<std::uint32_t>(x) == std::bit_cast<std::uint32_t>(y);
  });
}

using Limits = std::numeric_limits<float>;

// Values that break audio code, chosen far more often than random bit patterns.
constexpr std::array<float, 16> kHostileFloats = {Limits::quiet_NaN(),
                                                  Limits::infinity(),
                                                  -Limits::infinity(),
                                                  1e30f,
                                                  -1e30f,
                                                  Limits::max(),
                                                  Limits::lowest(),
                                                  Limits::denorm_min(),
                                                  -Limits::denorm_min(),
                                                  Limits::min(),
                                                  0.0f,
                                                  -0.0f,
                                                  1.0f,
                                                  0.5f,
                                                  -1.0f,
                                                  2.0f};

constexpr std::array<float, 16> kHostileRates = {0.0f,
                                                 -44100.0f,
                                                 Limits::quiet_NaN(),
                                                 Limits::infinity(),
                                                 1.0f,
                                                 999.99994f,
                                                 1000.0f,
                                                 22050.0f,
                                                 44100.0f,
                                                 48000.0f,
                                                 49999.996f,
                                                 50000.0f,
                                                 96000.0f,
                                                 192000.0f,
                                                 1e6f,
                                                 1000000.06f};

using murkfell::kParameters;
using murkfell::ParameterKind;
using murkfell::Pedal;

// Frames per input: small blocks are the common case, so that a run plays
// many host calls; large ones come now and then, up to one 4096-frame block.
constexpr int kFrameBudget = 4096;
constexpr int kLargestBlock = 4096;
constexpr float kUntouched = 12345.0f;
constexpr unsigned char kFiller = 0x55;
constexpr std::size_t kRequestBufferSize = 512;

// The published size of the host's buffer for requests that write into it;
// 0 for the rest.
std::size_t outputBufferSize(VstInt32 opcode) {
  switch (opcode) {
    case effGetProgramName:
      return kVstMaxProgNameLen;
    case effGetParamLabel:
    case effGetParamDisplay:
    case effGetParamName:
      return kVstMaxParamStrLen;
    case effGetEffectName:
      return kVstMaxEffectNameLen;
    case effGetVendorString:
      return kVstMaxVendorStrLen;
    case effGetProductString:
      return kVstMaxProductStrLen;
    default:
      return 0;
  }
}

// Requests whose pointer designates a location for a pointer.
bool takesPointerLocation(VstInt32 opcode) {
  return opcode == effEditGetRect || opcode == effGetChunk || opcode == effGetSpeakerArrangement;
}

// Requests whose value argument is an address.
bool takesAddressInValue(VstInt32 opcode) {
  return opcode == effSetSpeakerArrangement || opcode == effGetSpeakerArrangement;
}

class HostSession {
 public:
  explicit HostSession(FuzzedDataProvider& data) : data(data) {
    ++hostCalls;
    effect = VSTPluginMain(answerAsHost);
    require(effect != nullptr, "the entry point returned no effect");
    for (const auto& info : kParameters) expected[info.id] = info.defaultValue;
  }

  void play() {
    while (data.remaining_bytes() > 0 && playOneCall()) {
    }
    if (effect != nullptr) close();
  }

 private:
  enum class Call { dispatch, setParameter, getParameter, process, setRate, mains, unusedProcess };

  // Returns false once the host has closed the effect.
  bool playOneCall() {
    switch (static_cast<Call>(data.ConsumeIntegralInRange(0, 6))) {
      case Call::dispatch:
        return dispatchAny();
      case Call::setParameter:
        setParameter(data.ConsumeIntegralInRange(-3, murkfell::kNumParameters + 3), hostileFloat());
        return true;
      case Call::getParameter:
        checkParameter(data.ConsumeIntegralInRange(-3, murkfell::kNumParameters + 3));
        return true;
      case Call::process:
        process();
        return true;
      case Call::setRate:
        setSampleRate(data.ConsumeBool() ? data.PickValueInArray(kHostileRates) : hostileFloat());
        return true;
      case Call::mains:
        dispatch(effMainsChanged, 0, data.ConsumeBool() ? 1 : 0, nullptr, 0.0f);
        return true;
      case Call::unusedProcess:
        unusedProcess();
        return true;
    }
    return true;
  }

  float hostileFloat() {
    const auto kind = data.ConsumeIntegral<std::uint8_t>();
    if (kind < 100) return data.PickValueInArray(kHostileFloats);
    if (kind < 180) return data.ConsumeProbability<float>();
    return std::bit_cast<float>(data.ConsumeIntegral<std::uint32_t>());
  }

  VstIntPtr dispatch(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr, float opt) {
    ++hostCalls;
    return effect->dispatcher(effect, opcode, index, value, ptr, opt);
  }

  bool dispatchAny() {
    const VstInt32 opcode = data.ConsumeIntegralInRange(-5, 90);
    if (opcode == effEditOpen) return true;
    if (opcode == effClose) {
      close();
      return false;
    }
    // Small indices and values (parameters, programs, flags, sizes) half the
    // time, any bits the other half.
    const VstInt32 index = data.ConsumeBool()
                               ? data.ConsumeIntegralInRange(-3, murkfell::kNumParameters + 3)
                               : data.ConsumeIntegral<VstInt32>();
    VstIntPtr value = data.ConsumeBool() ? data.ConsumeIntegralInRange<VstIntPtr>(-2, kLargestBlock)
                                         : data.ConsumeIntegral<VstIntPtr>();
    const float opt = hostileFloat();
    const bool withPointer = data.ConsumeBool();

    void* slot = nullptr;
    if (takesAddressInValue(opcode)) value = withPointer ? reinterpret_cast<VstIntPtr>(&slot) : 0;

    if (opcode == effSetSampleRate) {
      noteRate(opt);
    }
    if (const std::size_t size = outputBufferSize(opcode); size != 0) {
      dispatchTextRequest(opcode, index, value, opt, withPointer, size);
      return true;
    }
    if (takesPointerLocation(opcode)) {
      void* location = &slot;
      const VstIntPtr result =
          dispatch(opcode, index, value, withPointer ? location : nullptr, opt);
      require(withPointer || result == 0, "a request without its pointer answered nonzero");
      return true;
    }
    std::vector<char> request;
    if (withPointer) {
      // Texts the plug-in may read (program names, capability strings) end
      // somewhere inside the buffer.
      request = data.ConsumeBytes<char>(data.ConsumeIntegralInRange<std::size_t>(0, 64));
      request.resize(kRequestBufferSize, '\0');
    }
    dispatch(opcode, index, value, withPointer ? request.data() : nullptr, opt);
    checkRate();
    return true;
  }

  void dispatchTextRequest(VstInt32 opcode, VstInt32 index, VstIntPtr value, float opt,
                           bool withPointer, std::size_t size) {
    if (!withPointer) {
      require(dispatch(opcode, index, value, nullptr, opt) == 0,
              "a text request without a buffer answered nonzero");
      return;
    }
    std::vector<unsigned char> text(size, kFiller);
    dispatch(opcode, index, value, text.data(), opt);
    const bool untouched =
        std::all_of(text.begin(), text.end(), [](auto c) { return c == kFiller; });
    require(untouched || std::find(text.begin(), text.end(), 0) != text.end(),
            "a text was left without its terminating zero");
  }

  void setParameter(VstInt32 index, float value) {
    ++hostCalls;
    effect->setParameter(effect, index, value);
    if (murkfell::isStored(index)) expected[index] = value;
  }

  void checkParameter(VstInt32 index) {
    ++hostCalls;
    const float answer = effect->getParameter(effect, index);
    float wanted = 0.0f;
    if (murkfell::isParameter(index) && kParameters[index].kind != ParameterKind::editorOnly) {
      wanted = expected[kParameters[index].mirrored];
    }
    require(sameFloat(answer, wanted), "getParameter answered other than what was set");
  }

  bool bypassed() const { return murkfell::isOn(expected[murkfell::kBypass]); }

  void setSampleRate(float rate) {
    noteRate(rate);
    dispatch(effSetSampleRate, 0, 0, nullptr, rate);
    checkRate();
  }

  void noteRate(float rate) {
    if (rate >= Pedal::kLowestRate && rate <= Pedal::kHighestRate) expectedRate = rate;
  }

  void checkRate() {
    const float rate = static_cast<AudioEffect*>(effect->object)->getSampleRate();
    require(sameFloat(rate, expectedRate), "the sample rate is not the last acceptable one");
  }

  int blockSize() {
    const auto kind = data.ConsumeIntegral<std::uint8_t>();
    if (kind < 240) return data.ConsumeIntegralInRange(0, 16);
    if (kind < 254) return data.ConsumeIntegralInRange(0, 256);
    if (kind < 255) return data.ConsumeIntegralInRange(0, kLargestBlock);
    return data.ConsumeIntegralInRange(std::numeric_limits<int>::min(), -1);
  }

  void fillSignal(std::vector<float>& signal) {
    const int frames = static_cast<int>(signal.size());
    switch (data.ConsumeIntegralInRange(0, 4)) {
      case 0:
        std::fill(signal.begin(), signal.end(), 0.0f);
        break;
      case 1: {
        const float amplitude = hostileFloat();
        const int period = data.ConsumeIntegralInRange(2, 400);
        for (int i = 0; i < frames; ++i) {
          signal[i] = amplitude * static_cast<float>(std::sin(2.0 * std::numbers::pi * i / period));
        }
        break;
      }
      case 2:
        std::fill(signal.begin(), signal.end(), hostileFloat());
        break;
      case 3: {
        std::vector<float> pattern(data.ConsumeIntegralInRange(1, 16));
        for (float& sample : pattern) sample = hostileFloat();
        for (int i = 0; i < frames; ++i) signal[i] = pattern[i % pattern.size()];
        break;
      }
      case 4: {
        std::minstd_rand noise(data.ConsumeIntegral<std::uint32_t>());
        std::uniform_real_distribution<float> unit(-1.0f, 1.0f);
        const float amplitude = hostileFloat();
        for (float& sample : signal) sample = amplitude * unit(noise);
        break;
      }
    }
    for (int spikes = data.ConsumeIntegralInRange(0, 3); spikes > 0 && frames > 0; --spikes) {
      signal[data.ConsumeIntegralInRange(0, frames - 1)] = hostileFloat();
    }
  }

  void process() {
    enum Layout { separate, inPlace, noInputArray, noOutputArray, noInputChannel, noOutputChannel };
    const auto layout = static_cast<Layout>(data.ConsumeIntegralInRange(0, 7) % 6);
    int frames = blockSize();
    if (frames > 0) {
      frames = std::min(frames, framesLeft);
      framesLeft -= frames;
    }
    const std::size_t length = static_cast<std::size_t>(std::max(frames, 0));
    std::vector<float> input(length), output(length, kUntouched);
    fillSignal(input);
    const std::vector<float> sent = input;

    float* inputChannel = input.data();
    float* outputChannel = layout == inPlace ? input.data() : output.data();
    if (layout == noInputChannel) inputChannel = nullptr;
    if (layout == noOutputChannel) outputChannel = nullptr;
    float* inputs[] = {inputChannel};
    float* outputs[] = {outputChannel};
    ++hostCalls;
    effect->processReplacing(effect, layout == noInputArray ? nullptr : inputs,
                             layout == noOutputArray ? nullptr : outputs, frames);

    const std::vector<float>& result = layout == inPlace ? input : output;
    if (frames <= 0 || (layout != separate && layout != inPlace)) {
      require(sameBits(input, sent) && std::all_of(output.begin(), output.end(),
                                                   [](float s) { return s == kUntouched; }),
              "a processing call that should return at once touched a buffer");
      return;
    }
    if (bypassed()) {
      require(sameBits(result, sent), "bypass did not copy the input bit for bit");
      return;
    }
    require(std::all_of(result.begin(), result.end(), [](float s) { return std::isfinite(s); }),
            "a non-finite output sample with Bypass off");
  }

  // The accumulating and double-precision process functions do nothing.
  void unusedProcess() {
    const int frames = data.ConsumeIntegralInRange(0, 64);
    std::vector<float> input(frames, 0.25f), output(frames, kUntouched);
    std::vector<double> inputDouble(frames, 0.25), outputDouble(frames, kUntouched);
    float* inputs[] = {input.data()};
    float* outputs[] = {output.data()};
    double* inputsDouble[] = {inputDouble.data()};
    double* outputsDouble[] = {outputDouble.data()};
    ++hostCalls;
    if (data.ConsumeBool()) {
      effect->process(effect, inputs, outputs, frames);
    } else {
      effect->processDoubleReplacing(effect, inputsDouble, outputsDouble, frames);
    }
    require(std::all_of(output.begin(), output.end(), [](float s) { return s == kUntouched; }) &&
                std::all_of(outputDouble.begin(), outputDouble.end(),
                            [](double s) { return s == kUntouched; }),
            "an unused process function wrote output");
  }

  void close() {
    for (VstInt32 index = -1; index <= murkfell::kNumParameters; ++index) checkParameter(index);
    checkRate();
    require(dispatch(effClose, 0, 0, nullptr, 0.0f) == 1, "effClose did not answer 1");
    effect = nullptr;
  }

  FuzzedDataProvider& data;
  AEffect* effect = nullptr;
  std::array<float, murkfell::kNumParameters> expected{};
  float expectedRate = 44100.0f;
  int framesLeft = kFrameBudget;
};

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  std::atexit(reportHostCalls);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
  FuzzedDataProvider data(bytes, size);
  HostSession(data).play();
  return 0;
}
