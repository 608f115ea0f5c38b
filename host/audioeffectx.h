// Extended base effect: opcodes 25..79 and the further host callbacks.
#pragma once

#include "host/audioeffect.h"

struct VstVariableIo;
struct VstAudioFile;
struct VstOfflineTask;
struct VstFileSelect;
struct VstPatchChunkInfo;
struct MidiProgramName;
struct MidiProgramCategory;
struct MidiKeyName;

class AudioEffectX : public AudioEffect {
 public:
  AudioEffectX(audioMasterCallback audioMaster, VstInt32 numPrograms, VstInt32 numParams);

  VstIntPtr dispatcher(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr,
                       float opt) override;
  void resume() override;

  virtual bool canParameterBeAutomated(VstInt32 index) {
    (void)index;
    return true;
  }
  virtual bool string2parameter(VstInt32 index, char* text) {
    (void)index, (void)text;
    return false;
  }
  virtual bool getParameterProperties(VstInt32 index, VstParameterProperties* p) {
    (void)index, (void)p;
    return false;
  }
  virtual bool beginEdit(VstInt32 index);
  virtual bool endEdit(VstInt32 index);
  virtual bool getProgramNameIndexed(VstInt32 category, VstInt32 index, char* text) {
    (void)category, (void)index, (void)text;
    return false;
  }
  virtual bool beginSetProgram() { return false; }
  virtual bool endSetProgram() { return false; }
  virtual VstInt32 beginLoadBank(VstPatchChunkInfo* ptr) {
    (void)ptr;
    return 0;
  }
  virtual VstInt32 beginLoadProgram(VstPatchChunkInfo* ptr) {
    (void)ptr;
    return 0;
  }
  virtual bool ioChanged();
  virtual double updateSampleRate();
  virtual VstInt32 updateBlockSize();
  virtual VstInt32 getInputLatency();
  virtual VstInt32 getOutputLatency();
  virtual bool getInputProperties(VstInt32 index, VstPinProperties* properties) {
    (void)index, (void)properties;
    return false;
  }
  virtual bool getOutputProperties(VstInt32 index, VstPinProperties* properties) {
    (void)index, (void)properties;
    return false;
  }
  virtual bool setSpeakerArrangement(VstSpeakerArrangement* pluginInput,
                                     VstSpeakerArrangement* pluginOutput) {
    (void)pluginInput, (void)pluginOutput;
    return false;
  }
  virtual bool getSpeakerArrangement(VstSpeakerArrangement** pluginInput,
                                     VstSpeakerArrangement** pluginOutput);
  virtual bool setBypass(bool onOff) {
    (void)onOff;
    return false;
  }
  virtual bool setPanLaw(VstInt32 type, float val) {
    (void)type, (void)val;
    return false;
  }
  virtual bool setProcessPrecision(VstInt32 precision) {
    (void)precision;
    return false;
  }
  virtual VstInt32 getNumMidiInputChannels() { return 0; }
  virtual VstInt32 getNumMidiOutputChannels() { return 0; }
  virtual VstTimeInfo* getTimeInfo(VstInt32 filter);
  virtual VstInt32 getCurrentProcessLevel();
  virtual VstInt32 getAutomationState();
  virtual VstInt32 processEvents(VstEvents* events) {
    (void)events;
    return 0;
  }
  virtual VstInt32 startProcess() { return 0; }
  virtual VstInt32 stopProcess() { return 0; }
  virtual bool processVariableIo(VstVariableIo* varIo) {
    (void)varIo;
    return false;
  }
  virtual VstInt32 setTotalSampleToProcess(VstInt32 value) { return value; }
  virtual bool getHostVendorString(char* text);
  virtual bool getHostProductString(char* text);
  virtual VstInt32 getHostVendorVersion();
  virtual VstIntPtr hostVendorSpecific(VstInt32 lArg1, VstIntPtr lArg2, void* ptrArg,
                                       float floatArg);
  virtual VstInt32 canHostDo(char* text);
  virtual VstInt32 getHostLanguage();
  virtual void isSynth(bool state = true) { setFlag(effFlagsIsSynth, state); }
  virtual void noTail(bool state = true) { setFlag(effFlagsNoSoundInStop, state); }
  virtual VstInt32 getGetTailSize() { return 0; }
  virtual void* getDirectory();
  virtual bool getEffectName(char* name) {
    (void)name;
    return false;
  }
  virtual bool getVendorString(char* text) {
    (void)text;
    return false;
  }
  virtual bool getProductString(char* text) {
    (void)text;
    return false;
  }
  virtual VstInt32 getVendorVersion() { return 0; }
  virtual VstIntPtr vendorSpecific(VstInt32 lArg, VstIntPtr lArg2, void* ptrArg,
                                   float floatArg) {
    (void)lArg, (void)lArg2, (void)ptrArg, (void)floatArg;
    return 0;
  }
  virtual VstInt32 canDo(char* text) {
    (void)text;
    return 0;
  }
  virtual VstInt32 getVstVersion() { return kVstVersion; }
  virtual VstPlugCategory getPlugCategory();
  virtual VstInt32 getMidiProgramName(VstInt32 channel, MidiProgramName* midiProgramName) {
    (void)channel, (void)midiProgramName;
    return 0;
  }
  virtual VstInt32 getCurrentMidiProgram(VstInt32 channel, MidiProgramName* currentProgram) {
    (void)channel, (void)currentProgram;
    return -1;
  }
  virtual VstInt32 getMidiProgramCategory(VstInt32 channel, MidiProgramCategory* category) {
    (void)channel, (void)category;
    return 0;
  }
  virtual bool hasMidiProgramsChanged(VstInt32 channel) {
    (void)channel;
    return false;
  }
  virtual bool getMidiKeyName(VstInt32 channel, MidiKeyName* keyName) {
    (void)channel, (void)keyName;
    return false;
  }
  virtual bool updateDisplay();
  virtual bool sizeWindow(VstInt32 width, VstInt32 height);
  virtual bool openFileSelector(VstFileSelect* ptr);
  virtual bool closeFileSelector(VstFileSelect* ptr);
  virtual VstInt32 getNextShellPlugin(char* name) {
    (void)name;
    return 0;
  }
  virtual bool allocateArrangement(VstSpeakerArrangement** arrangement, VstInt32 nbChannels);
  virtual bool deallocateArrangement(VstSpeakerArrangement** arrangement);
  virtual bool copySpeaker(VstSpeakerProperties* to, VstSpeakerProperties* from);
  virtual bool matchArrangement(VstSpeakerArrangement** to, VstSpeakerArrangement* from);

  // Deprecated 2.x operations, in the published order.
  virtual bool offlineRead(VstOfflineTask* offline, VstInt32 option, bool readSource = true) {
    (void)offline, (void)option, (void)readSource;
    return false;
  }
  virtual bool offlineWrite(VstOfflineTask* offline, VstInt32 option) {
    (void)offline, (void)option;
    return false;
  }
  virtual bool offlineStart(VstAudioFile* ptr, VstInt32 numAudioFiles, VstInt32 numNewAudioFiles) {
    (void)ptr, (void)numAudioFiles, (void)numNewAudioFiles;
    return false;
  }
  virtual VstInt32 offlineGetCurrentPass() { return 0; }
  virtual VstInt32 offlineGetCurrentMetaPass() { return 0; }
  virtual bool offlineNotify(VstAudioFile* ptr, VstInt32 numAudioFiles, bool start) {
    (void)ptr, (void)numAudioFiles, (void)start;
    return false;
  }
  virtual bool offlinePrepare(VstOfflineTask* offline, VstInt32 count) {
    (void)offline, (void)count;
    return false;
  }
  virtual bool offlineRun(VstOfflineTask* offline, VstInt32 count) {
    (void)offline, (void)count;
    return false;
  }
  virtual VstInt32 offlineGetNumPasses() { return 0; }
  virtual VstInt32 offlineGetNumMetaPasses() { return 0; }
  virtual void wantEvents(VstInt32 filter = 1);
  virtual VstInt32 tempoAt(VstInt32 pos);
  virtual VstInt32 getNumAutomatableParameters();
  virtual VstInt32 getParameterQuantization();
  virtual VstInt32 getNumCategories() { return 1; }
  virtual bool copyProgram(VstInt32 destination) {
    (void)destination;
    return false;
  }
  virtual bool needIdle();
  virtual AEffect* getPreviousPlug(VstInt32 input);
  virtual AEffect* getNextPlug(VstInt32 output);
  virtual void inputConnected(VstInt32 index, bool state) { (void)index, (void)state; }
  virtual void outputConnected(VstInt32 index, bool state) { (void)index, (void)state; }
  virtual VstInt32 willProcessReplacing();
  virtual void wantAsyncOperation(bool state = true) { setFlag(effFlagsExtIsAsync, state); }
  virtual void hasExternalBuffer(bool state = true) { setFlag(effFlagsExtHasBuffer, state); }
  virtual VstInt32 reportCurrentPosition() { return 0; }
  virtual float* reportDestinationBuffer() { return nullptr; }
  virtual void setOutputSamplerate(float samplerate);
  virtual VstSpeakerArrangement* getInputSpeakerArrangement();
  virtual VstSpeakerArrangement* getOutputSpeakerArrangement();
  virtual void* openWindow(void* window);
  virtual bool closeWindow(void* window);
  virtual void setBlockSizeAndSampleRate(VstInt32 newBlockSize, float newSampleRate) {
    blockSize = newBlockSize;
    sampleRate = newSampleRate;
  }
  virtual bool getErrorText(char* text) {
    (void)text;
    return false;
  }
  virtual void* getIcon() { return nullptr; }
  virtual bool setViewPosition(VstInt32 x, VstInt32 y) {
    (void)x, (void)y;
    return false;
  }
  virtual VstInt32 fxIdle() { return 0; }
  virtual bool keysRequired() { return false; }
  virtual bool getChunkFile(void* nativePath);
};
