#include "tests/tools/direct_host.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "tests/support/dispatch.h"
#include "tests/support/recording_host.h"
#include "tools/vst_loader/vst_library.h"

std::vector<std::vector<float>> playDirectly(const DirectRun& run,
                                             std::vector<std::vector<float>> inputs) {
  VstLibrary library(run.pluginPath);
  AEffect* effect = library.entry(run.entryName.c_str())(RecordingHost::callback);
  EXPECT_NE(effect, nullptr);
  if (effect == nullptr) {
    return {};
  }
  EXPECT_EQ(effect->numInputs, static_cast<VstInt32>(inputs.size()));
  dispatch(effect, effOpen);
  dispatch(effect, effSetSampleRate, 0, 0, nullptr, run.sampleRate);
  dispatch(effect, effSetBlockSize, 0, run.blockSize);
  for (const auto& [index, value] : run.parameters) {
    effect->setParameter(effect, index, value);
  }
  dispatch(effect, effMainsChanged, 0, 1);

  const std::size_t length = inputs.front().size();
  std::vector<std::vector<float>> outputs(effect->numOutputs, std::vector<float>(length));
  std::vector<float*> in(inputs.size());
  std::vector<float*> out(outputs.size());
  for (std::size_t start = 0; start < length; start += run.blockSize) {
    const auto frames = static_cast<VstInt32>(std::min<std::size_t>(run.blockSize, length - start));
    for (std::size_t pin = 0; pin < inputs.size(); ++pin) {
      in[pin] = inputs[pin].data() + start;
    }
    for (std::size_t pin = 0; pin < outputs.size(); ++pin) {
      out[pin] = outputs[pin].data() + start;
    }
    effect->processReplacing(effect, in.data(), out.data(), frames);
  }
  dispatch(effect, effMainsChanged, 0, 0);
  dispatch(effect, effClose);
  return outputs;
}
