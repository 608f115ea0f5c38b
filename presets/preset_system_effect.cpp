#include "presets/preset_system_effect.h"

#include <cmath>
#include <cstring>
#include <new>

#include "presets/factory_programs.h"
#include "presets/name_cut.h"
#include "presets/record_formats.h"

namespace {
constexpr VstInt32 kHostPrograms = 1;  // the host sees one program; 17 live inside
}  // namespace

CPresetSystemEffect::CPresetSystemEffect(audioMasterCallback audioMaster)
    : AudioEffectX(audioMaster, kHostPrograms, kNumAllParams) {
  programsAreChunks(true);
  chunkBuffer = new (std::nothrow) uint8_t[kChunkSize];
  currentProgram = 0;
  programs = new (std::nothrow) ProgramRecord[kNumPrograms];
  if (programs) initFactoryPrograms();
  for (auto& value : assignmentValues) value.store(notAssignedValue(), std::memory_order_relaxed);
  controllerOfParameter = new (std::nothrow) std::atomic<VstInt32>[kNumParams];
  parameterOfController = new (std::nothrow) std::atomic<VstInt32>[kNumControllers];
  resetControllerMap();
  learnActive = false;
  learnTarget = kNotAssigned;
  clearActive = false;

  // Writes each value of the current program back into it, through this
  // class's own program-store path (not the effect's override).
  loadingProgram = true;
  if (programs) {
    const ProgramRecord& program = programs[currentProgram.load()];
    for (VstInt32 i = 0; i < kNumParams; ++i)
      CPresetSystemEffect::setParameter(i, loadValueRelaxed(program.values[i]));
  }
  loadingProgram = false;
}

CPresetSystemEffect::~CPresetSystemEffect() {
  // The base effect destroys the editor after this class is gone, so the
  // listener learns now that there is nothing left to unregister from.
  if (PresetSystemListener* window = listener.exchange(nullptr)) window->presetSystemClosing();
  delete[] programs;
  delete[] chunkBuffer;
  delete[] controllerOfParameter;
  delete[] parameterOfController;
}

void CPresetSystemEffect::addListener(PresetSystemListener* newListener) {
  listener.store(newListener, std::memory_order_relaxed);
}

void CPresetSystemEffect::removeListener(PresetSystemListener* oldListener) {
  PresetSystemListener* expected = oldListener;
  listener.compare_exchange_strong(expected, nullptr, std::memory_order_relaxed);
}

void CPresetSystemEffect::resume() { wantEvents(1); }

// Values from outside: a non-finite one is ignored, a finite one is brought
// into 0 … 1 before it is stored.
void CPresetSystemEffect::setParameter(VstInt32 index, float value) {
  if (!std::isfinite(value)) return;
  storeParameter(index, clampToNormalised(value));
}

void CPresetSystemEffect::storeParameter(VstInt32 index, float value) {
  if (!programs || !controllerOfParameter) return;
  if (index >= 0 && index < kNumParams) {
    storeValueRelaxed(programs[currentProgram.load(std::memory_order_relaxed)].values[index],
                      value);
    if (learnActive.load(std::memory_order_relaxed)) learnTarget = index;
    if (clearActive.load(std::memory_order_relaxed)) {
      unassignParameter(index);
      stopClear();
    }
  } else if (index >= kCCFirst && index < kNumAllParams) {
    setAssignmentParameter(index - kCCFirst, value);
  }
}

float CPresetSystemEffect::getParameter(VstInt32 index) {
  if (!programs || !controllerOfParameter) return -1.0f;
  if (index >= kCCFirst && index < kNumAllParams)
    return assignmentValues[index - kCCFirst].load(std::memory_order_relaxed);
  return 0.0f;
}

VstInt32 CPresetSystemEffect::getProgram() { return 0; }

void CPresetSystemEffect::setProgram(VstInt32 program) { (void)program; }

void CPresetSystemEffect::getProgramName(char* name) {
  if (!programs) {
    *name = 0;
    return;
  }
  readProgramName(programs[currentProgram.load()], name);
}

void CPresetSystemEffect::setProgramName(char* name) {
  char scratch[kProgramNameLength + 1] = {};
  cutUtf8(scratch, name, kProgramNameLength);
  if (programs) storeProgramName(programs[currentProgram.load()], scratch);
  if (PresetSystemListener* window = getListener()) window->programNameChanged(scratch);
}

bool CPresetSystemEffect::getProgramNameIndexed(VstInt32 category, VstInt32 index, char* text) {
  (void)category;
  if (!programs || index < 0 || index >= kNumPrograms) return false;
  readProgramName(programs[index], text);
  return true;
}

VstInt32 CPresetSystemEffect::getCurrentProgramIndex() { return currentProgram.load(); }

void CPresetSystemEffect::selectProgram(VstInt32 index) {
  if (!programs || index < 0 || index >= kNumPrograms) return;
  loadingProgram = true;
  currentProgram = index;
  for (VstInt32 i = 0; i < kNumParams; ++i)
    setParameter(i, loadValueRelaxed(programs[index].values[i]));
  updateDisplay();
  loadingProgram = false;
}

void CPresetSystemEffect::renameCurrentProgram(const char* name) {
  if (name && programs) storeProgramName(programs[currentProgram.load()], name);
  updateDisplay();
}

VstInt32 CPresetSystemEffect::getUniqueID() { return cEffect.uniqueID; }

void CPresetSystemEffect::loadDefaults() {
  if (PresetSystemListener* window = getListener()) window->loadStartupDefaults();
}

void CPresetSystemEffect::initFactoryPrograms() {
  if (!programs) return;
  for (VstInt32 k = 0; k < kNumPrograms; ++k) {
    storeProgramName(programs[k], kFactoryPrograms[k].name);
    for (VstInt32 i = 0; i < kNumParams; ++i)
      storeValueRelaxed(programs[k].values[i], kFactoryPrograms[k].values[i]);
  }
}
