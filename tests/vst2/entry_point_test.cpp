// The plug-in as a host first meets it: the exported entry, the record it
// returns, and the close request that ends it.
#include <gtest/gtest.h>

#include "tests/support/dispatch.h"
#include "tests/support/recording_host.h"
#include "tools/vst_loader/vst_library.h"

namespace {

class EntryPoint : public ::testing::Test {
 protected:
  void SetUp() override { RecordingHost::instance().reset(); }
  VstLibrary library{MURKFELL_PLUGIN_PATH};
};

TEST_F(EntryPoint, MainIsTheSameFunctionAsVstPluginMain) {
  ASSERT_NE(library.entry("VSTPluginMain"), nullptr);
  EXPECT_EQ(library.entry("main"), library.entry("VSTPluginMain"));
}

TEST_F(EntryPoint, HostAnsweringVersionZeroGetsNothing) {
  RecordingHost::instance().reset(0);
  EXPECT_EQ(library.mainEntry()(RecordingHost::callback), nullptr);
  const auto& requests = RecordingHost::instance().requests();
  ASSERT_EQ(requests.size(), 1u);
  EXPECT_EQ(requests[0].opcode, audioMasterVersion);
  EXPECT_EQ(requests[0].effect, nullptr);
}

TEST_F(EntryPoint, NullCallbackGetsNothing) { EXPECT_EQ(library.mainEntry()(nullptr), nullptr); }

TEST_F(EntryPoint, RecordDescribesAMonoEffectWithNineParameters) {
  AEffect* effect = library.mainEntry()(RecordingHost::callback);
  ASSERT_NE(effect, nullptr);
  EXPECT_EQ(effect->magic, 0x56737450);
  EXPECT_EQ(effect->numPrograms, 1);
  EXPECT_EQ(effect->numParams, 9);
  EXPECT_EQ(effect->numInputs, 1);
  EXPECT_EQ(effect->numOutputs, 1);
  EXPECT_EQ(effect->flags & ~effFlagsHasEditor, effFlagsCanReplacing);
  EXPECT_EQ(effect->uniqueID, 0x71326F39);
  EXPECT_EQ(effect->version, 1);
  EXPECT_EQ(effect->initialDelay, 0);
  EXPECT_EQ(effect->ioRatio, 1.0f);
  EXPECT_NE(effect->object, nullptr);
  EXPECT_EQ(effect->user, nullptr);
  EXPECT_NE(effect->processReplacing, nullptr);
  EXPECT_NE(effect->processDoubleReplacing, nullptr);
  EXPECT_EQ(dispatch(effect, effClose), 1);
}

TEST_F(EntryPoint, EveryCallMakesAnIndependentInstance) {
  AEffect* first = library.mainEntry()(RecordingHost::callback);
  AEffect* second = library.mainEntry()(RecordingHost::callback);
  ASSERT_NE(first, nullptr);
  ASSERT_NE(second, nullptr);
  EXPECT_NE(first, second);
  first->setParameter(first, 1, 0.9f);
  EXPECT_EQ(second->getParameter(second, 1), 0.5f);
  EXPECT_EQ(dispatch(first, effClose), 1);
  EXPECT_EQ(second->getParameter(second, 1), 0.5f);
  EXPECT_EQ(dispatch(second, effClose), 1);
}

TEST_F(EntryPoint, OldProcessFunctionsLeaveTheOutputAlone) {
  AEffect* effect = library.mainEntry()(RecordingHost::callback);
  ASSERT_NE(effect, nullptr);
  float input[4] = {0.1f, 0.2f, 0.3f, 0.4f};
  float output[4] = {7.0f, 7.0f, 7.0f, 7.0f};
  float* inputs[] = {input};
  float* outputs[] = {output};
  effect->process(effect, inputs, outputs, 4);
  double dInput[4] = {0.1, 0.2, 0.3, 0.4};
  double dOutput[4] = {7.0, 7.0, 7.0, 7.0};
  double* dInputs[] = {dInput};
  double* dOutputs[] = {dOutput};
  effect->processDoubleReplacing(effect, dInputs, dOutputs, 4);
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(output[i], 7.0f);
    EXPECT_EQ(dOutput[i], 7.0);
  }
  EXPECT_EQ(dispatch(effect, effClose), 1);
}

TEST_F(EntryPoint, ProcessingWithMissingBuffersReturnsAtOnce) {
  AEffect* effect = library.mainEntry()(RecordingHost::callback);
  ASSERT_NE(effect, nullptr);
  float buffer[8] = {0.25f, 0.25f, 0.25f, 0.25f, 0.25f, 0.25f, 0.25f, 0.25f};
  float* valid[] = {buffer};
  float* missing[] = {nullptr};
  effect->processReplacing(effect, nullptr, valid, 8);
  effect->processReplacing(effect, valid, nullptr, 8);
  effect->processReplacing(effect, missing, valid, 8);
  effect->processReplacing(effect, valid, missing, 8);
  effect->processReplacing(effect, valid, valid, 0);
  effect->processReplacing(effect, valid, valid, -5);
  for (float sample : buffer) {
    EXPECT_EQ(sample, 0.25f);
  }
  EXPECT_EQ(dispatch(effect, effClose), 1);
}

}  // namespace
