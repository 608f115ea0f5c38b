// The dispatcher table of the base effect classes, checked with an effect
// that records every virtual call it receives.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "host/audioeffectx.h"

namespace {

std::vector<std::string>* gCalls = nullptr;
bool gDestroyed = false;

void note(const std::string& call) {
  if (gCalls) gCalls->push_back(call);
}

class RecordingEditor : public AEffEditor {
 public:
  using AEffEditor::AEffEditor;
  bool getRect(ERect** rect) override {
    note("getRect");
    static ERect r{0, 0, 101, 870};
    *rect = &r;
    return true;
  }
  bool open(void* ptr) override {
    note("open:" + std::to_string(reinterpret_cast<intptr_t>(ptr)));
    return true;
  }
  void close() override { note("editorClose"); }
  void idle() override { note("idle"); }
  bool onKeyDown(VstKeyCode& key) override {
    note("keyDown:" + std::to_string(key.character) + "," + std::to_string(key.virt) + "," +
         std::to_string(key.modifier));
    return true;
  }
  bool onKeyUp(VstKeyCode& key) override {
    note("keyUp:" + std::to_string(key.character) + "," + std::to_string(key.virt) + "," +
         std::to_string(key.modifier));
    return false;
  }
  bool setKnobMode(VstInt32 mode) override {
    note("knobMode:" + std::to_string(mode));
    return true;
  }
};

class RecordingEffect : public AudioEffectX {
 public:
  explicit RecordingEffect(audioMasterCallback host) : AudioEffectX(host, 3, 5) {}
  ~RecordingEffect() override { gDestroyed = true; }

  void open() override { note("open"); }
  void close() override { note("close"); }
  void suspend() override { note("suspend"); }
  void resume() override { note("resume"); }
  void setSampleRate(float rate) override {
    note("setSampleRate:" + std::to_string(rate));
    AudioEffectX::setSampleRate(rate);
  }
  void setBlockSize(VstInt32 size) override {
    note("setBlockSize:" + std::to_string(size));
    AudioEffectX::setBlockSize(size);
  }
  void processReplacing(float**, float**, VstInt32) override { note("processReplacing"); }
  void setProgram(VstInt32 program) override { note("setProgram:" + std::to_string(program)); }
  VstInt32 getProgram() override {
    note("getProgram");
    return 2;
  }
  void setProgramName(char* name) override { note(std::string("setProgramName:") + name); }
  void getProgramName(char* name) override {
    note("getProgramName");
    std::strcpy(name, "prog");
  }
  void getParameterLabel(VstInt32 index, char* text) override {
    note("label:" + std::to_string(index));
    std::strcpy(text, "dB");
  }
  void getParameterDisplay(VstInt32 index, char* text) override {
    note("display:" + std::to_string(index));
    std::strcpy(text, "1.0");
  }
  void getParameterName(VstInt32 index, char* text) override {
    note("name:" + std::to_string(index));
    std::strcpy(text, "Gain");
  }
  VstInt32 getChunk(void** data, bool isPreset) override {
    note(std::string("getChunk:") + (isPreset ? "preset" : "bank"));
    *data = chunk;
    return sizeof(chunk);
  }
  VstInt32 setChunk(void*, VstInt32 size, bool isPreset) override {
    note("setChunk:" + std::to_string(size) + (isPreset ? ":preset" : ":bank"));
    return -1;
  }
  VstInt32 processEvents(VstEvents* events) override {
    note("processEvents:" + std::to_string(events->numEvents));
    return 1;
  }
  bool getProgramNameIndexed(VstInt32 category, VstInt32 index, char* text) override {
    note("indexed:" + std::to_string(category) + "," + std::to_string(index));
    std::strcpy(text, "p");
    return true;
  }
  bool getParameterProperties(VstInt32 index, VstParameterProperties*) override {
    note("properties:" + std::to_string(index));
    return true;
  }
  bool getEffectName(char* name) override {
    note("effectName");
    std::strcpy(name, "E");
    return true;
  }
  VstInt32 canDo(char* text) override {
    note(std::string("canDo:") + text);
    return 1;
  }
  VstIntPtr vendorSpecific(VstInt32 a, VstIntPtr b, void*, float c) override {
    note("vendorSpecific:" + std::to_string(a) + "," + std::to_string(b) + "," +
         std::to_string(c));
    return 7;
  }
  VstInt32 setTotalSampleToProcess(VstInt32 value) override {
    note("setTotal:" + std::to_string(value));
    return AudioEffectX::setTotalSampleToProcess(value);
  }
  bool setBypass(bool on) override {
    note(std::string("setBypass:") + (on ? "1" : "0"));
    return false;
  }

  void attachEditor() { setEditor(new RecordingEditor(this)); }
  unsigned char chunk[12] = {};
};

VstIntPtr silentHost(AEffect*, VstInt32 opcode, VstInt32, VstIntPtr, void*, float) {
  return opcode == audioMasterVersion ? kVstVersion : 0;
}

class Dispatcher : public ::testing::Test {
 protected:
  void SetUp() override {
    gCalls = &calls;
    gDestroyed = false;
    effect = new RecordingEffect(silentHost);
    record = effect->getAeffect();
  }
  void TearDown() override {
    if (!gDestroyed) record->dispatcher(record, effClose, 0, 0, nullptr, 0.0f);
    gCalls = nullptr;
  }
  VstIntPtr dispatch(VstInt32 opcode, VstInt32 index = 0, VstIntPtr value = 0,
                     void* ptr = nullptr, float opt = 0.0f) {
    calls.clear();
    return record->dispatcher(record, opcode, index, value, ptr, opt);
  }

  std::vector<std::string> calls;
  RecordingEffect* effect = nullptr;
  AEffect* record = nullptr;
};

using Calls = std::vector<std::string>;

TEST_F(Dispatcher, RecordFieldsOfTheBaseLayer) {
  EXPECT_EQ(record->magic, 0x56737450);
  EXPECT_EQ(record->numPrograms, 3);
  EXPECT_EQ(record->numParams, 5);
  EXPECT_EQ(record->numInputs, 1);
  EXPECT_EQ(record->numOutputs, 2);
  EXPECT_EQ(record->flags, effFlagsCanReplacing);
  EXPECT_EQ(record->uniqueID, 0x4E6F4566);
  EXPECT_EQ(record->version, 1);
  EXPECT_FLOAT_EQ(record->ioRatio, 1.0f);
  EXPECT_EQ(record->object, effect);
  EXPECT_EQ(record->user, nullptr);
  for (char c : record->future) EXPECT_EQ(c, 0);
  ASSERT_NE(record->process, nullptr);
  ASSERT_NE(record->processDoubleReplacing, nullptr);
  record->process(record, nullptr, nullptr, 0);  // the deprecated entries do nothing
  record->processDoubleReplacing(record, nullptr, nullptr, 0);
  EXPECT_TRUE(calls.empty());
}

TEST_F(Dispatcher, UnlistedOpcodesAnswerZeroWithoutAnyCall) {
  const VstInt32 unlisted[] = {-1, -1000, 9,  16, 17, 18, 20, 21, 28, 30, 31, 32, 36, 37,
                               43, 46,    53, 54, 55, 57, 80, 81, 30514, 0x7fffffff};
  effect->attachEditor();
  char buffer[256] = {};
  for (VstInt32 opcode : unlisted) {
    EXPECT_EQ(dispatch(opcode, 1, 1, buffer, 1.0f), 0) << "opcode " << opcode;
    EXPECT_TRUE(calls.empty()) << "opcode " << opcode;
  }
}

TEST_F(Dispatcher, BasicOpcodesCallTheirOperations) {
  char text[256] = {};
  EXPECT_EQ(dispatch(effOpen), 0);
  EXPECT_EQ(calls, Calls{"open"});
  EXPECT_EQ(dispatch(effSetProgram, 0, 2), 0);
  EXPECT_EQ(calls, Calls{"setProgram:2"});
  EXPECT_EQ(dispatch(effSetProgram, 0, 3), 0);  // not below numPrograms
  EXPECT_TRUE(calls.empty());
  EXPECT_EQ(dispatch(effGetProgram), 2);
  char name[] = "new name";
  dispatch(effSetProgramName, 0, 0, name);
  EXPECT_EQ(calls, Calls{"setProgramName:new name"});
  dispatch(effGetProgramName, 0, 0, text);
  EXPECT_STREQ(text, "prog");
  dispatch(effGetParamLabel, 4, 0, text);
  EXPECT_EQ(calls, Calls{"label:4"});
  dispatch(effGetParamDisplay, 3, 0, text);
  EXPECT_EQ(calls, Calls{"display:3"});
  dispatch(effGetParamName, 2, 0, text);
  EXPECT_EQ(calls, Calls{"name:2"});
  EXPECT_STREQ(text, "Gain");
  dispatch(effSetSampleRate, 0, 0, nullptr, 48000.0f);
  EXPECT_EQ(calls, Calls{"setSampleRate:48000.000000"});
  EXPECT_FLOAT_EQ(effect->getSampleRate(), 48000.0f);
  dispatch(effSetBlockSize, 0, 256);
  EXPECT_EQ(effect->getBlockSize(), 256);
  dispatch(effMainsChanged, 0, 1);
  EXPECT_EQ(calls, Calls{"resume"});
  dispatch(effMainsChanged, 0, 0);
  EXPECT_EQ(calls, Calls{"suspend"});
  EXPECT_EQ(dispatch(effIdentify, 5, 6, text, 7.0f), 0x4E764566);
  EXPECT_TRUE(calls.empty());
}

TEST_F(Dispatcher, ChunkOpcodesPassTheBankOrProgramFlag) {
  void* data = nullptr;
  EXPECT_EQ(dispatch(effGetChunk, 0, 0, &data), 12);
  EXPECT_EQ(calls, Calls{"getChunk:bank"});
  EXPECT_EQ(data, effect->chunk);
  EXPECT_EQ(dispatch(effGetChunk, 1, 0, &data), 12);
  EXPECT_EQ(calls, Calls{"getChunk:preset"});
  EXPECT_EQ(dispatch(effSetChunk, 0, 12, effect->chunk), -1);
  EXPECT_EQ(calls, Calls{"setChunk:12:bank"});
  EXPECT_EQ(dispatch(effSetChunk, 7, 12, effect->chunk), -1);
  EXPECT_EQ(calls, Calls{"setChunk:12:preset"});
}

TEST_F(Dispatcher, EditorOpcodesNeedAnEditor) {
  ERect* rect = nullptr;
  EXPECT_EQ(dispatch(effEditGetRect, 0, 0, &rect), 0);
  EXPECT_EQ(dispatch(effEditOpen, 0, 0, reinterpret_cast<void*>(42)), 0);
  EXPECT_EQ(dispatch(effEditKeyDown, 'a', 3, nullptr, 1.0f), 0);
  EXPECT_EQ(dispatch(effEditKeyUp, 'a', 3, nullptr, 1.0f), 0);
  EXPECT_EQ(dispatch(effSetEditKnobMode, 0, 2), 0);
  EXPECT_EQ(dispatch(effEditClose), 0);
  EXPECT_EQ(dispatch(effEditIdle), 0);
  EXPECT_TRUE(calls.empty());

  effect->attachEditor();
  EXPECT_EQ(record->flags & effFlagsHasEditor, effFlagsHasEditor);
  EXPECT_EQ(dispatch(effEditGetRect, 0, 0, &rect), 1);
  ASSERT_NE(rect, nullptr);
  EXPECT_EQ(rect->right, 870);
  EXPECT_EQ(dispatch(effEditOpen, 0, 0, reinterpret_cast<void*>(42)), 1);
  EXPECT_EQ(calls, Calls{"open:42"});
  EXPECT_EQ(dispatch(effEditIdle), 0);
  EXPECT_EQ(calls, Calls{"idle"});
  EXPECT_EQ(dispatch(effEditClose), 0);
  EXPECT_EQ(calls, Calls{"editorClose"});
  EXPECT_EQ(dispatch(effSetEditKnobMode, 0, 2), 1);
  EXPECT_EQ(calls, Calls{"knobMode:2"});
}

TEST_F(Dispatcher, KeyOpcodesBuildTheKeyRecord) {
  effect->attachEditor();
  // Character from index, virtual key from the lowest byte of value, modifier
  // from opt truncated toward zero.
  EXPECT_EQ(dispatch(effEditKeyDown, 'q', 0x1204, nullptr, 9.9f), 1);
  EXPECT_EQ(calls, Calls{"keyDown:113,4,9"});
  EXPECT_EQ(dispatch(effEditKeyUp, 0, 6, nullptr, 8.0f), 0);
  EXPECT_EQ(calls, Calls{"keyUp:0,6,8"});
  EXPECT_EQ(dispatch(effEditKeyDown, 0, 6, nullptr, std::numeric_limits<float>::quiet_NaN()), 1);
  EXPECT_EQ(calls, Calls{"keyDown:0,6,0"});
}

TEST_F(Dispatcher, ExtendedOpcodesAndTheirDefaults) {
  char text[256] = {};
  EXPECT_EQ(dispatch(effCanBeAutomated, 99), 1);
  EXPECT_EQ(dispatch(effString2Parameter, 0, 0, text), 0);
  EXPECT_EQ(dispatch(effGetProgramNameIndexed, 5, -1, text), 1);
  EXPECT_EQ(calls, Calls{"indexed:-1,5"});
  VstPinProperties pin{};
  EXPECT_EQ(dispatch(effGetInputProperties, 0, 0, &pin), 0);
  EXPECT_EQ(dispatch(effGetOutputProperties, 0, 0, &pin), 0);
  EXPECT_EQ(dispatch(effGetPlugCategory), kPlugCategUnknown);
  EXPECT_EQ(dispatch(effOfflineNotify), 0);
  EXPECT_EQ(dispatch(effOfflinePrepare), 0);
  EXPECT_EQ(dispatch(effOfflineRun), 0);
  EXPECT_EQ(dispatch(effProcessVarIo), 0);
  EXPECT_EQ(dispatch(effSetSpeakerArrangement), 0);
  EXPECT_EQ(dispatch(effSetBypass, 0, 1), 0);
  EXPECT_EQ(calls, Calls{"setBypass:1"});
  EXPECT_EQ(dispatch(effGetEffectName, 0, 0, text), 1);
  EXPECT_EQ(dispatch(effGetVendorString, 0, 0, text), 0);
  EXPECT_EQ(dispatch(effGetProductString, 0, 0, text), 0);
  EXPECT_EQ(dispatch(effGetVendorVersion), 0);
  EXPECT_EQ(dispatch(effVendorSpecific, 3, 4, nullptr, 0.5f), 7);
  EXPECT_EQ(calls, Calls{"vendorSpecific:3,4,0.500000"});
  char capability[] = "bypass";
  EXPECT_EQ(dispatch(effCanDo, 0, 0, capability), 1);
  EXPECT_EQ(dispatch(effGetTailSize), 0);
  VstParameterProperties properties{};
  EXPECT_EQ(dispatch(effGetParameterProperties, 4, 0, &properties), 1);
  EXPECT_EQ(calls, Calls{"properties:4"});
  EXPECT_EQ(dispatch(effGetVstVersion), 2400);
  EXPECT_EQ(dispatch(effGetMidiProgramName), 0);
  EXPECT_EQ(dispatch(effGetCurrentMidiProgram), -1);
  EXPECT_EQ(dispatch(effGetMidiProgramCategory), 0);
  EXPECT_EQ(dispatch(effHasMidiProgramsChanged), 0);
  EXPECT_EQ(dispatch(effGetMidiKeyName), 0);
  EXPECT_EQ(dispatch(effBeginSetProgram), 0);
  EXPECT_EQ(dispatch(effEndSetProgram), 0);
  VstSpeakerArrangement dummy{};
  VstSpeakerArrangement* in = &dummy;
  VstSpeakerArrangement* out = &dummy;
  EXPECT_EQ(dispatch(effGetSpeakerArrangement, 0, reinterpret_cast<VstIntPtr>(&in), &out), 0);
  EXPECT_EQ(in, nullptr);
  EXPECT_EQ(out, nullptr);
  EXPECT_EQ(dispatch(effShellGetNextPlugin, 0, 0, text), 0);
  EXPECT_EQ(dispatch(effStartProcess), 0);
  EXPECT_EQ(dispatch(effStopProcess), 0);
  EXPECT_EQ(dispatch(effSetTotalSampleToProcess, 0, 4321), 4321);
  EXPECT_EQ(dispatch(effSetPanLaw, 0, 1, nullptr, 0.7f), 0);
  EXPECT_EQ(dispatch(effBeginLoadBank), 0);
  EXPECT_EQ(dispatch(effBeginLoadProgram), 0);
  EXPECT_EQ(dispatch(effSetProcessPrecision, 0, 1), 0);
  EXPECT_EQ(dispatch(effGetNumMidiInputChannels), 0);
  EXPECT_EQ(dispatch(effGetNumMidiOutputChannels), 0);
}

TEST_F(Dispatcher, EventsReachProcessEvents) {
  VstMidiEvent midi{};
  midi.type = kVstMidiType;
  VstEvents events{};
  events.numEvents = 1;
  events.events[0] = reinterpret_cast<VstEvent*>(&midi);
  EXPECT_EQ(dispatch(effProcessEvents, 0, 0, &events), 1);
  EXPECT_EQ(calls, Calls{"processEvents:1"});
}

TEST_F(Dispatcher, NullPointersFromTheHostAnswerZero) {
  effect->attachEditor();
  const VstInt32 pointerOpcodes[] = {effSetProgramName,    effGetProgramName,
                                     effGetParamLabel,     effGetParamDisplay,
                                     effGetParamName,      effEditGetRect,
                                     effGetChunk,          effProcessEvents,
                                     effGetProgramNameIndexed, effGetInputProperties,
                                     effGetOutputProperties,   effGetEffectName,
                                     effGetVendorString,   effGetProductString,
                                     effCanDo,             effGetParameterProperties};
  for (VstInt32 opcode : pointerOpcodes) {
    EXPECT_EQ(dispatch(opcode, 0, 0, nullptr), 0) << "opcode " << opcode;
    EXPECT_TRUE(calls.empty()) << "opcode " << opcode;
  }
}

TEST_F(Dispatcher, CloseCallsCloseDestroysAndAnswersOne) {
  effect->attachEditor();
  EXPECT_EQ(dispatch(effClose), 1);
  EXPECT_EQ(calls, Calls{"close"});
  EXPECT_TRUE(gDestroyed);  // the editor goes with it (checked by the address sanitizer)
}

TEST_F(Dispatcher, ParameterAndProcessEntriesForward) {
  float left[4] = {}, right[4] = {};
  float* buffers[2] = {left, right};
  calls.clear();
  record->processReplacing(record, buffers, buffers, 4);
  EXPECT_EQ(calls, Calls{"processReplacing"});
  record->setParameter(record, 0, 0.5f);  // base default stores nothing
  EXPECT_EQ(record->getParameter(record, 0), 0.0f);
}

}  // namespace
