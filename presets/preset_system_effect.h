// The preset-system half of the effect: the program store with the factory
// programs, the host state chunk and the MIDI controller maps.
#pragma once

#include <atomic>
#include <cstdint>

#include "effect/parameters.h"
#include "host/audioeffectx.h"
#include "presets/preset_system_listener.h"
#include "presets/program_record.h"

// The assignment value that encodes "no controller".
float notAssignedValue();

constexpr VstInt32 kNumPrograms = 17;
constexpr VstInt32 kNumControllers = 128;  // MIDI controller numbers 0..127
constexpr VstInt32 kNotAssigned = 999;     // no controller, or no parameter

class CPresetSystemEffect : public AudioEffectX {
 public:
  explicit CPresetSystemEffect(audioMasterCallback audioMaster);
  ~CPresetSystemEffect() override;

  void resume() override;
  void setParameter(VstInt32 index, float value) override;
  float getParameter(VstInt32 index) override;
  VstInt32 getProgram() override;
  void setProgram(VstInt32 program) override;
  void setProgramName(char* name) override;
  void getProgramName(char* name) override;
  VstInt32 getChunk(void** data, bool isPreset = false) override;
  VstInt32 setChunk(void* data, VstInt32 byteSize, bool isPreset = false) override;
  bool getProgramNameIndexed(VstInt32 category, VstInt32 index, char* text) override;
  VstInt32 processEvents(VstEvents* events) override;
  VstInt32 canDo(char* text) override;

  virtual VstInt32 getCurrentProgramIndex();
  virtual void selectProgram(VstInt32 index);
  virtual void renameCurrentProgram(const char* name);
  virtual void assignController(VstInt32 parameter, VstInt32 controller);
  virtual void unassignParameter(VstInt32 parameter);
  virtual void unassignController(VstInt32 controller);
  virtual VstInt32 getControllerOfParameter(VstInt32 parameter);
  virtual VstInt32 getParameterOfController(VstInt32 controller);
  virtual void startLearn();
  virtual void stopLearn();
  virtual void setLearnTarget(VstInt32 parameter);
  virtual void startClear();
  virtual void stopClear();
  virtual VstInt32 getUniqueID();
  virtual void loadDefaults();
  virtual void initFactoryPrograms();
  virtual void resetControllerMap();

  // Direct access for the record encoders and decoders; null when the store
  // could not be allocated.
  ProgramRecord* getPrograms() { return programs; }

  // The one window that follows the preset system, or none. Registering
  // replaces the previous listener; removing only forgets the given one.
  void addListener(PresetSystemListener* newListener);
  void removeListener(PresetSystemListener* oldListener);
  PresetSystemListener* getListener() const { return listener.load(std::memory_order_relaxed); }

 protected:
  // The program-store path of setParameter, called by the effect class
  // unless a program is being loaded.
  void storeParameter(VstInt32 index, float value);
  // The controller-assignment path of setParameter for parameter 18 + i.
  void setAssignmentParameter(VstInt32 i, float value);
  // Binds a controller to a sound parameter after removing the old entries
  // of both maps, so one controller drives one parameter; a parameter that
  // loses its controller this way gets the not-assigned value.
  void bindController(VstInt32 parameter, VstInt32 controller);
  // Removes a parameter's binding from both maps; the assignment value is
  // left to the caller.
  void dropBinding(VstInt32 parameter);
  // Takes 18 assignment values and rebuilds both maps from them alone.
  void restoreAssignments(const float* values);

  ProgramRecord* programs = nullptr;
  std::atomic<VstInt32> currentProgram{0};
  uint8_t* chunkBuffer = nullptr;
  std::atomic<VstInt32>* controllerOfParameter = nullptr;
  std::atomic<VstInt32>* parameterOfController = nullptr;
  std::atomic<bool> learnActive{false};
  std::atomic<VstInt32> learnTarget{kNotAssigned};
  std::atomic<bool> clearActive{false};
  std::atomic<bool> loadingProgram{false};
  std::atomic<float> assignmentValues[kNumParams];
  // Read on the event thread when learning ends, set on the user-interface
  // thread.
  std::atomic<PresetSystemListener*> listener{nullptr};
};
