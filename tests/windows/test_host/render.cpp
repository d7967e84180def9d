#include "tests/windows/test_host/render.h"

#include <algorithm>
#include <stdexcept>

#include "tests/windows/test_host/audio_file.h"
#include "tests/windows/test_host/plugin.h"

void render(const std::string& pluginPath, const RenderRequest& request) {
  const MonoSound input = readSound(request.input, request.rawRate);
  Plugin plugin(pluginPath);
  if (plugin.record().numInputs != 1 || plugin.record().numOutputs != 1) {
    throw std::runtime_error("the test host plays mono plug-ins only");
  }
  plugin.dispatch(effSetSampleRate, 0, 0, nullptr, input.sampleRate);
  plugin.dispatch(effSetBlockSize, 0, request.blockSize);
  for (const auto& [name, value] : request.settings) {
    const auto index = plugin.findParameter(name);
    if (!index) throw std::runtime_error("the plug-in has no parameter " + name);
    plugin.setParameter(*index, value);
  }
  plugin.dispatch(effMainsChanged, 0, 1);

  MonoSound output{std::vector<float>(input.samples.size()), input.sampleRate};
  std::vector<float> in(static_cast<std::size_t>(request.blockSize));
  std::vector<float> out(in.size());
  for (std::size_t done = 0; done < input.samples.size();) {
    const std::size_t frames = std::min(in.size(), input.samples.size() - done);
    std::copy_n(input.samples.begin() + static_cast<std::ptrdiff_t>(done), frames, in.begin());
    float* inputs[] = {in.data()};
    float* outputs[] = {out.data()};
    plugin.record().processReplacing(&plugin.record(), inputs, outputs,
                                     static_cast<VstInt32>(frames));
    std::copy_n(out.begin(), frames, output.samples.begin() + static_cast<std::ptrdiff_t>(done));
    done += frames;
  }
  plugin.dispatch(effMainsChanged, 0, 0);
  writeSound(request.output, output);
}
