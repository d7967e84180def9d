#include "formats/vst2/audio_effect.h"

#include "formats/vst2/aeff_editor.h"

namespace {

AudioEffect* owner(AEffect* block) { return static_cast<AudioEffect*>(block->object); }

VstIntPtr dispatchToEffect(AEffect* block, VstInt32 opcode, VstInt32 index, VstIntPtr value,
                           void* ptr, float opt) {
  AudioEffect* effect = owner(block);
  const VstIntPtr result = effect->dispatcher(opcode, index, value, ptr, opt);
  if (opcode == effClose) {
    delete effect;  // the block lives inside the effect: invalid from here on
    return 1;
  }
  return result;
}

void processAccumulating(AEffect* block, float** inputs, float** outputs, VstInt32 frames) {
  owner(block)->process(inputs, outputs, frames);
}

void processReplacing(AEffect* block, float** inputs, float** outputs, VstInt32 frames) {
  owner(block)->processReplacing(inputs, outputs, frames);
}

void processDoubleReplacing(AEffect* block, double** inputs, double** outputs, VstInt32 frames) {
  owner(block)->processDoubleReplacing(inputs, outputs, frames);
}

void setParameterOf(AEffect* block, VstInt32 index, float value) {
  owner(block)->setParameter(index, value);
}

float getParameterOf(AEffect* block, VstInt32 index) { return owner(block)->getParameter(index); }

// Requests that hand the effect a buffer to write into answer 0 without one.
bool writesThroughPointer(VstInt32 opcode) {
  switch (opcode) {
    case effGetProgramName:
    case effGetParamLabel:
    case effGetParamDisplay:
    case effGetParamName:
    case effEditGetRect:
      return true;
    default:
      return false;
  }
}

}  // namespace

AudioEffect::AudioEffect(audioMasterCallback audioMaster, VstInt32 numPrograms, VstInt32 numParams)
    : audioMaster(audioMaster), numPrograms(numPrograms), numParams(numParams) {
  cEffect.magic = kEffectMagic;
  cEffect.dispatcher = dispatchToEffect;
  cEffect.process = processAccumulating;
  cEffect.setParameter = setParameterOf;
  cEffect.getParameter = getParameterOf;
  cEffect.numPrograms = numPrograms;
  cEffect.numParams = numParams;
  cEffect.numInputs = 1;
  cEffect.numOutputs = 2;
  cEffect.ioRatio = 1.0f;
  cEffect.object = this;
  cEffect.version = 1;
  cEffect.processReplacing = ::processReplacing;
  cEffect.processDoubleReplacing = ::processDoubleReplacing;
}

AudioEffect::~AudioEffect() { delete editor; }

void AudioEffect::canProcessReplacing(bool state) {
  if (state) {
    cEffect.flags |= effFlagsCanReplacing;
  } else {
    cEffect.flags &= ~effFlagsCanReplacing;
  }
}

void AudioEffect::setEditor(AEffEditor* newEditor) {
  if (editor != newEditor) {
    delete editor;  // the effect owns its editor, so a replaced one goes
  }
  editor = newEditor;
  if (editor != nullptr) {
    cEffect.flags |= effFlagsHasEditor;
  } else {
    cEffect.flags &= ~effFlagsHasEditor;
  }
}

VstIntPtr AudioEffect::callHost(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr,
                                float opt) {
  if (audioMaster == nullptr) {
    return 0;
  }
  return audioMaster(&cEffect, opcode, index, value, ptr, opt);
}

VstInt32 AudioEffect::getMasterVersion() {
  return static_cast<VstInt32>(callHost(audioMasterVersion));
}

void AudioEffect::masterIdle() { callHost(audioMasterIdle); }

void AudioEffect::setParameterAutomated(VstInt32 index, float value) {
  setParameter(index, value);
  callHost(audioMasterAutomate, index, 0, nullptr, value);
}

VstIntPtr AudioEffect::dispatcher(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr,
                                  float opt) {
  if (ptr == nullptr && writesThroughPointer(opcode)) {
    return 0;
  }
  switch (opcode) {
    case effOpen:
      open();
      return 0;
    case effClose:
      close();
      return 0;
    case effSetProgram:
      // Only existing programs; a negative number would name none.
      if (value >= 0 && value < numPrograms) {
        setProgram(static_cast<VstInt32>(value));
      }
      return 0;
    case effGetProgram:
      return getProgram();
    case effSetProgramName:
      if (ptr != nullptr) {
        setProgramName(static_cast<char*>(ptr));
      }
      return 0;
    case effGetProgramName:
      getProgramName(static_cast<char*>(ptr));
      return 0;
    case effGetParamLabel:
      getParameterLabel(index, static_cast<char*>(ptr));
      return 0;
    case effGetParamDisplay:
      getParameterDisplay(index, static_cast<char*>(ptr));
      return 0;
    case effGetParamName:
      getParameterName(index, static_cast<char*>(ptr));
      return 0;
    case effSetSampleRate:
      setSampleRate(opt);
      return 0;
    case effSetBlockSize:
      setBlockSize(static_cast<VstInt32>(value));
      return 0;
    case effMainsChanged:
      if (value == 0) {
        suspend();
      } else {
        resume();
      }
      return 0;
    case effEditGetRect:
      return editor != nullptr && editor->getRect(static_cast<ERect**>(ptr)) ? 1 : 0;
    case effEditOpen:
      return editor != nullptr && editor->open(ptr) ? 1 : 0;
    case effEditClose:
      if (editor != nullptr) {
        editor->close();
      }
      return 0;
    case effEditIdle:
      if (editor != nullptr) {
        editor->idle();
      }
      return 0;
    case effIdentify:
      return fourCharCode('N', 'v', 'E', 'f');
    case effGetChunk:
      return ptr != nullptr ? getChunk(static_cast<void**>(ptr), index != 0) : 0;
    case effSetChunk:
      return setChunk(ptr, static_cast<VstInt32>(value), index != 0);
    default:
      return 0;
  }
}
