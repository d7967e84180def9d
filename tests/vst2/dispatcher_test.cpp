// Every request a host can send through the dispatcher, and what it answers.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <set>
#include <string>

#include "tests/support/dispatch.h"
#include "tests/support/recording_host.h"
#include "tools/vst_loader/vst_library.h"

namespace {

class Dispatcher : public ::testing::Test {
 protected:
  void SetUp() override {
    RecordingHost::instance().reset();
    effect = library.mainEntry()(RecordingHost::callback);
    ASSERT_NE(effect, nullptr);
  }
  void TearDown() override {
    if (effect != nullptr) {
      EXPECT_EQ(dispatch(effect, effClose), 1);
    }
  }

  // Fills a buffer with a marker, lets the plug-in write into it and returns
  // the text; `untouched` reports whether it wrote nothing at all.
  std::string textFrom(VstInt32 opcode, VstInt32 index, bool* untouched = nullptr) {
    char buffer[256];
    std::memset(buffer, 'x', sizeof buffer);
    dispatch(effect, opcode, index, 0, buffer);
    if (untouched != nullptr) {
      *untouched = buffer[0] == 'x';
    }
    const void* end = std::memchr(buffer, '\0', sizeof buffer);
    return end == nullptr
               ? std::string(buffer, sizeof buffer)
               : std::string(static_cast<const char*>(buffer), static_cast<const char*>(end));
  }

  VstLibrary library{MURKFELL_PLUGIN_PATH};
  AEffect* effect = nullptr;
};

TEST_F(Dispatcher, IdentityAnswers) {
  EXPECT_EQ(dispatch(effect, effGetVstVersion), 2400);
  EXPECT_EQ(dispatch(effect, effGetVendorVersion), 1030);
  EXPECT_EQ(dispatch(effect, effGetPlugCategory), 1);
  EXPECT_EQ(dispatch(effect, effIdentify), 0x4E764566);
  EXPECT_EQ(dispatch(effect, effGetCurrentMidiProgram), -1);
  EXPECT_EQ(dispatch(effect, effGetTailSize), 0);
  EXPECT_EQ(dispatch(effect, effSetTotalSampleToProcess, 0, 4096), 4096);
}

TEST_F(Dispatcher, NamesFitThePublishedBuffers) {
  char name[kVstMaxEffectNameLen];
  EXPECT_EQ(dispatch(effect, effGetEffectName, 0, 0, name), 1);
  EXPECT_STREQ(name, "Orveton Murkfell");
  char vendor[kVstMaxVendorStrLen];
  EXPECT_EQ(dispatch(effect, effGetVendorString, 0, 0, vendor), 1);
  EXPECT_STREQ(vendor, "Orveton");
  char product[kVstMaxProductStrLen];
  EXPECT_EQ(dispatch(effect, effGetProductString, 0, 0, product), 1);
  EXPECT_STREQ(product, "Orveton Murkfell");
}

TEST_F(Dispatcher, ParameterNamesAndEmptyValueTexts) {
  const char* names[] = {"Gain", "Bass", "Middle", "Treble", "Level", "CabSim", "Bypass", "Led"};
  for (VstInt32 index = 1; index <= 8; ++index) {
    const std::string name = textFrom(effGetParamName, index);
    EXPECT_EQ(name, names[index - 1]);
    EXPECT_LT(name.size(), static_cast<size_t>(kVstMaxParamStrLen));
  }
  for (VstInt32 index : {0, 9, -1, 1000}) {
    bool untouched = false;
    textFrom(effGetParamName, index, &untouched);
    EXPECT_TRUE(untouched) << "index " << index;
  }
  for (VstInt32 index : {-1, 0, 1, 5, 8, 9}) {
    EXPECT_EQ(textFrom(effGetParamDisplay, index), "");
    EXPECT_EQ(textFrom(effGetParamLabel, index), "");
  }
  effect->setParameter(effect, 1, 0.8f);
  EXPECT_EQ(textFrom(effGetParamDisplay, 1), "");
}

TEST_F(Dispatcher, OneProgramWithAnEmptyName) {
  EXPECT_EQ(textFrom(effGetProgramName, 0), "");
  char newName[] = "Crunch";
  dispatch(effect, effSetProgramName, 0, 0, newName);
  EXPECT_EQ(textFrom(effGetProgramName, 0), "");
  for (VstIntPtr program : {0, 1, 5, -1, -100}) {
    EXPECT_EQ(dispatch(effect, effSetProgram, 0, program), 0);
    EXPECT_EQ(dispatch(effect, effGetProgram), 0) << "after setting " << program;
  }
}

TEST_F(Dispatcher, CapabilitiesAndHostBypassAreRefused) {
  for (const char* capability :
       {"receiveVstMidiEvent", "sendVstEvents", "bypass", "plugAsChannelInsert", ""}) {
    EXPECT_EQ(dispatch(effect, effCanDo, 0, 0, const_cast<char*>(capability)), 0) << capability;
  }
  EXPECT_EQ(dispatch(effect, effSetBypass, 0, 1), 0);
  EXPECT_EQ(effect->getParameter(effect, 7), 0.0f);
}

TEST_F(Dispatcher, EveryIndexCanBeAutomated) {
  for (VstInt32 index : {0, 1, 8, 100, -3}) {
    EXPECT_EQ(dispatch(effect, effCanBeAutomated, index), 1) << index;
  }
}

TEST_F(Dispatcher, SpeakerArrangementClearsTheLocationsItIsGiven) {
  int placeholder = 0;
  void* input = &placeholder;
  void* output = &placeholder;
  EXPECT_EQ(
      dispatch(effect, effGetSpeakerArrangement, 0, reinterpret_cast<VstIntPtr>(&input), &output),
      0);
  EXPECT_EQ(input, nullptr);
  EXPECT_EQ(output, nullptr);
  output = &placeholder;
  EXPECT_EQ(dispatch(effect, effGetSpeakerArrangement, 0, 0, &output), 0);
  EXPECT_EQ(output, nullptr);
  input = &placeholder;
  EXPECT_EQ(
      dispatch(effect, effGetSpeakerArrangement, 0, reinterpret_cast<VstIntPtr>(&input), nullptr),
      0);
  EXPECT_EQ(input, nullptr);
}

TEST_F(Dispatcher, SetupRequestsAnswerZero) {
  EXPECT_EQ(dispatch(effect, effSetBlockSizeAndSampleRate, 0, 512, nullptr, 96000.0f), 0);
  EXPECT_EQ(dispatch(effect, effSetBlockSize, 0, 256), 0);
  EXPECT_EQ(dispatch(effect, effSetSampleRate, 0, 0, nullptr, 48000.0f), 0);
  EXPECT_EQ(dispatch(effect, effMainsChanged, 0, 1), 0);
  EXPECT_EQ(dispatch(effect, effMainsChanged, 0, 0), 0);
  EXPECT_EQ(dispatch(effect, effOpen), 0);
}

TEST_F(Dispatcher, NullBuffersAreAnsweredWithZero) {
  for (VstInt32 opcode : {effGetProgramName, effGetParamLabel, effGetParamDisplay, effGetParamName,
                          effEditGetRect, effGetEffectName, effGetVendorString, effGetProductString,
                          effCanDo, effSetProgramName, effGetChunk}) {
    EXPECT_EQ(dispatch(effect, opcode, 1, 0, nullptr), 0) << "opcode " << opcode;
  }
}

// Whatever a host sends, only the requests with something to say answer non-zero.
TEST_F(Dispatcher, AllOtherOpcodesAnswerZero) {
  const std::set<VstInt32> telling = {effGetProgram,
                                      effEditGetRect,
                                      effEditOpen,
                                      effIdentify,
                                      effCanBeAutomated,
                                      effGetPlugCategory,
                                      effGetEffectName,
                                      effGetVendorString,
                                      effGetProductString,
                                      effGetVendorVersion,
                                      effGetVstVersion,
                                      effGetCurrentMidiProgram,
                                      effSetTotalSampleToProcess,
                                      effEditKeyDown,
                                      effEditKeyUp,
                                      effSetEditKnobMode};
  for (VstInt32 opcode = -5; opcode <= 200; ++opcode) {
    if (opcode == effClose || opcode == effEditOpen || telling.count(opcode) != 0) {
      continue;
    }
    char buffer[512] = {};
    EXPECT_EQ(dispatch(effect, opcode, 0, 0, buffer, 0.0f), 0) << "opcode " << opcode;
  }
  for (VstInt32 opcode : {-1, 80, 81, 1000, std::numeric_limits<VstInt32>::min(),
                          std::numeric_limits<VstInt32>::max()}) {
    EXPECT_EQ(dispatch(effect, opcode, 3, 7, nullptr, 1.0f), 0) << "opcode " << opcode;
  }
}

TEST_F(Dispatcher, KeyRequestsSurviveAnyModifierValue) {
  for (float opt : {0.0f, 255.9f, -3.5f, 1e30f, std::nanf(""), INFINITY}) {
    const VstIntPtr down = dispatch(effect, effEditKeyDown, 'a', 0x141, nullptr, opt);
    const VstIntPtr up = dispatch(effect, effEditKeyUp, 'a', 0x141, nullptr, opt);
    EXPECT_TRUE(down == 0 || down == 1);
    EXPECT_TRUE(up == 0 || up == 1);
  }
}

}  // namespace
