// murkfell-test-host: a small Windows VST 2.4 host for the tests under Wine.
// It loads a plug-in DLL by path and drives it through the effect record only.
//
//   murkfell-test-host PLUGIN.dll render IN OUT [--rate HZ] [--block N]
//                      [--set NAME=VALUE]...
//   murkfell-test-host PLUGIN.dll editor ACTION...
//
// render plays IN (mono WAV, or raw 32-bit float at --rate, default 44100)
// through the plug-in in blocks of N (default 512) and writes OUT as 32-bit
// float (WAV when it ends in .wav, raw otherwise). editor runs the actions of
// editor_session.h.
#include <cstdio>
#include <exception>
#include <stdexcept>
#include <string>
#include <vector>

#include "tests/windows/test_host/editor_session.h"
#include "tests/windows/test_host/render.h"

namespace {

RenderRequest renderRequest(const std::vector<std::string>& words) {
  RenderRequest request;
  std::vector<std::string> files;
  for (std::size_t at = 0; at < words.size(); ++at) {
    const std::string& word = words[at];
    const bool hasValue = at + 1 < words.size();
    if (word == "--rate" && hasValue) {
      request.rawRate = std::stof(words[++at]);
    } else if (word == "--block" && hasValue) {
      request.blockSize = std::stoi(words[++at]);
    } else if (word == "--set" && hasValue) {
      const std::string& setting = words[++at];
      const auto equals = setting.find('=');
      if (equals == std::string::npos) throw std::invalid_argument("--set needs NAME=VALUE");
      request.settings.emplace_back(setting.substr(0, equals),
                                    std::stof(setting.substr(equals + 1)));
    } else if (word.starts_with("--")) {
      throw std::invalid_argument("unknown option " + word);
    } else {
      files.push_back(word);
    }
  }
  if (files.size() != 2 || request.blockSize < 1) {
    throw std::invalid_argument("render needs IN, OUT and a block size of at least 1");
  }
  request.input = files[0];
  request.output = files[1];
  return request;
}

}  // namespace

int main(int argc, char** argv) {
  const std::vector<std::string> words(argv + 1, argv + argc);
  if (words.size() < 2) {
    std::fprintf(stderr, "usage: murkfell-test-host PLUGIN.dll render|editor ...\n");
    return 2;
  }
  const std::vector<std::string> rest(words.begin() + 2, words.end());
  try {
    if (words[1] == "render") {
      render(words[0], renderRequest(rest));
    } else if (words[1] == "editor") {
      runEditorSession(words[0], rest);
    } else {
      std::fprintf(stderr, "unknown command %s\n", words[1].c_str());
      return 2;
    }
  } catch (const std::exception& error) {
    std::fprintf(stderr, "murkfell-test-host: %s\n", error.what());
    return 1;
  }
  return 0;
}
