// No exception crosses into the host: an operation that throws is answered
// as a failure by the functions the host calls, and the instance stays
// usable once the operation works again.
#include <gtest/gtest.h>

#include <stdexcept>

#include "host/audioeffectx.h"
#include "host/text_services.h"

namespace {

bool gThrow = false;
bool gDestroyed = false;

void maybeThrow() {
  if (gThrow) throw std::runtime_error("operation failed");
}

class ThrowingEditor : public AEffEditor {
 public:
  using AEffEditor::AEffEditor;
  bool open(void* ptr) override {
    maybeThrow();
    return AEffEditor::open(ptr), true;
  }
};

class ThrowingEffect : public AudioEffectX {
 public:
  explicit ThrowingEffect(audioMasterCallback host) : AudioEffectX(host, 1, 2) {
    setEditor(new ThrowingEditor(this));
  }
  ~ThrowingEffect() override { gDestroyed = true; }
  void close() override { maybeThrow(); }
  void setParameter(VstInt32 index, float value) override {
    maybeThrow();
    values[index] = value;
  }
  float getParameter(VstInt32 index) override {
    maybeThrow();
    return values[index];
  }
  void getParameterName(VstInt32, char* text) override {
    maybeThrow();
    vst_strncpy(text, "Gain", kVstMaxParamStrLen);
  }
  void processReplacing(float** inputs, float** outputs, VstInt32 frames) override {
    maybeThrow();
    for (VstInt32 i = 0; i < frames; ++i) outputs[0][i] = 2.0f * inputs[0][i];
  }
  void process(float**, float**, VstInt32) override { maybeThrow(); }
  void processDoubleReplacing(double**, double**, VstInt32) override { maybeThrow(); }
  float values[2] = {0.5f, 0.5f};
};

VstIntPtr silentHost(AEffect*, VstInt32 opcode, VstInt32, VstIntPtr, void*, float) {
  return opcode == audioMasterVersion ? kVstVersion : 0;
}

class ExceptionBarrier : public ::testing::Test {
 protected:
  void SetUp() override {
    gThrow = false;
    record = (new ThrowingEffect(silentHost))->getAeffect();
  }
  void TearDown() override {
    gThrow = false;
    record->dispatcher(record, effClose, 0, 0, nullptr, 0.0f);
  }
  VstIntPtr dispatch(VstInt32 opcode, VstInt32 index = 0, void* ptr = nullptr) {
    return record->dispatcher(record, opcode, index, 0, ptr, 0.0f);
  }
  AEffect* record = nullptr;
};

TEST_F(ExceptionBarrier, DispatcherAnswersZeroForAThrowingOperation) {
  char name[kVstMaxParamStrLen + 1] = {};
  gThrow = true;
  EXPECT_EQ(dispatch(effEditOpen), 0);
  EXPECT_NO_THROW(dispatch(effGetParamName, 0, name));
  gThrow = false;
  EXPECT_EQ(dispatch(effEditOpen), 1);
  dispatch(effEditClose);
  dispatch(effGetParamName, 0, name);
  EXPECT_STREQ(name, "Gain");
}

TEST_F(ExceptionBarrier, ParameterCallbacksSwallowTheException) {
  gThrow = true;
  EXPECT_EQ(record->getParameter(record, 1), 0.0f);
  EXPECT_NO_THROW(record->setParameter(record, 1, 0.9f));
  gThrow = false;
  EXPECT_EQ(record->getParameter(record, 1), 0.5f);  // the failed set changed nothing
  record->setParameter(record, 1, 0.9f);
  EXPECT_EQ(record->getParameter(record, 1), 0.9f);
}

TEST_F(ExceptionBarrier, ProcessCallbacksSwallowTheException) {
  float in[4] = {1, 2, 3, 4}, out[4] = {};
  float* inputs[1] = {in};
  float* outputs[1] = {out};
  gThrow = true;
  EXPECT_NO_THROW(record->processReplacing(record, inputs, outputs, 4));
  EXPECT_NO_THROW(record->process(record, inputs, outputs, 4));
  EXPECT_NO_THROW(record->processDoubleReplacing(record, nullptr, nullptr, 0));
  gThrow = false;
  record->processReplacing(record, inputs, outputs, 4);
  EXPECT_EQ(out[3], 8.0f);
}

TEST_F(ExceptionBarrier, AThrowingCloseStillDestroysTheEffect) {
  gThrow = true;
  gDestroyed = false;
  EXPECT_EQ(dispatch(effClose), 1);
  EXPECT_TRUE(gDestroyed);
  record = (new ThrowingEffect(silentHost))->getAeffect();  // for TearDown
}

}  // namespace
