// A test double of a VST 2.4 plug-in that reports what its host told it.
// Built in several variants (see CMakeLists.txt):
//   default          'HPrb', 3 host programs selected through effSetProgram
//   PROBE_CHUNK_PROGRAMS  'Hldn'-style: one host program, 17 internal ones
//                    switched only through a 1736-byte state chunk whose
//                    little-endian word at byte 12 is the current program
//   PROBE_ENTRY_RETURNS_NULL  the entry point refuses to create an instance
//
// Audio: out = in * 2 * gain (gain is parameter 0, so 0.5 is unity). The
// very first frame the instance ever processes gets kFirstFrameMarker added,
// so a test can tell whether pre-rolled output was dropped.
// effVendorSpecific index 1 writes a report of the host's answers into ptr;
// index 2 performs one automation gesture on parameter 0.
#include <cstdio>
#include <cstring>

#include "host/vst2_abi.h"

namespace {

constexpr int kNumParams = 2;  // 0 gain, 1 spare
constexpr float kFirstFrameMarker = 0.75f;
constexpr float kGestureValue = 0.25f;
constexpr VstInt32 kReportIndex = 1;
constexpr VstInt32 kGestureIndex = 2;
constexpr size_t kReportBytes = 256;
constexpr size_t kProgramNameChars = 24;
constexpr VstIntPtr kTimeMask = kVstPpqPosValid | kVstTempoValid;

#ifdef PROBE_CHUNK_PROGRAMS
constexpr VstInt32 kUniqueID = fourCharCode('H', 'l', 'd', 'n');
constexpr int kHostPrograms = 1;
constexpr int kInternalPrograms = 17;
constexpr size_t kChunkBytes = 1736;
constexpr size_t kCurrentProgramOffset = 12;
constexpr size_t kGainTableOffset = 32;
const char* programName(int index) {
  static char names[kInternalPrograms][24];
  if (index == 0) return "default";
  if (index == 1) return "wow tape";
  std::snprintf(names[index], sizeof names[index], "program %d", index);
  return names[index];
}
#else
constexpr VstInt32 kUniqueID = fourCharCode('H', 'P', 'r', 'b');
constexpr int kHostPrograms = 3;
constexpr int kInternalPrograms = 3;
const char* programName(int index) {
  static const char* const names[] = {"Alpha", "Beta", "Gamma"};
  return names[index];
}
#endif

struct Probe {
  AEffect effect{};
  audioMasterCallback host = nullptr;
  float gains[kInternalPrograms] = {};
  char names[kInternalPrograms][25] = {};
  int current = 0;
  float spare = 0.0f;
  bool processedAny = false;
  // What the host said during processing and event delivery.
  bool timeSeen = false;
  bool timeWasNull = false;
  double tempo = 0.0;
  double ppq = 0.0;
  double samplePos = 0.0;
  int midiEvents = 0;
  unsigned char lastMidi[3] = {0, 0, 0};
#ifdef PROBE_CHUNK_PROGRAMS
  unsigned char chunk[kChunkBytes] = {};
#endif
};

Probe* probeOf(AEffect* effect) { return static_cast<Probe*>(effect->object); }

VstIntPtr callHost(Probe* p, VstInt32 opcode, VstInt32 index = 0, VstIntPtr value = 0,
                   void* ptr = nullptr, float opt = 0.0f) {
  return p->host(&p->effect, opcode, index, value, ptr, opt);
}

void writeReport(Probe* p, char* out) {
  char vendor[64] = {};
  char product[64] = {};
  callHost(p, audioMasterGetVendorString, 0, 0, vendor);
  callHost(p, audioMasterGetProductString, 0, 0, product);
  char time[96];
  if (!p->timeSeen) {
    std::snprintf(time, sizeof time, "unseen");
  } else if (p->timeWasNull) {
    std::snprintf(time, sizeof time, "none");
  } else {
    std::snprintf(time, sizeof time, "%.6f:%.6f:%.0f", p->tempo, p->ppq, p->samplePos);
  }
  std::snprintf(out, kReportBytes,
                "version=%ld midicando=%ld unknowncando=%ld pin=%ld rate=%ld block=%ld vendor=%s "
                "product=%s time=%s midi=%d last=%d,%d,%d",
                static_cast<long>(callHost(p, audioMasterVersion)),
                static_cast<long>(callHost(p, audioMasterCanDo, 0, 0, const_cast<char*>("sendVstMidiEvent"))),
                static_cast<long>(callHost(p, audioMasterCanDo, 0, 0, const_cast<char*>("flyToTheMoon"))),
                static_cast<long>(callHost(p, audioMasterPinConnected, 1, 0)),
                static_cast<long>(callHost(p, audioMasterGetSampleRate)),
                static_cast<long>(callHost(p, audioMasterGetBlockSize)), vendor, product, time,
                p->midiEvents, p->lastMidi[0], p->lastMidi[1], p->lastMidi[2]);
}

#ifdef PROBE_CHUNK_PROGRAMS
void putWord(unsigned char* at, unsigned value) {
  for (int b = 0; b < 4; ++b) at[b] = static_cast<unsigned char>(value >> (8 * b));
}
unsigned getWord(const unsigned char* at) {
  unsigned value = 0;
  for (int b = 0; b < 4; ++b) value |= static_cast<unsigned>(at[b]) << (8 * b);
  return value;
}
#endif

VstIntPtr dispatcher(AEffect* effect, VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr,
                     float /*opt*/) {
  Probe* p = probeOf(effect);
  switch (opcode) {
    case effClose:
      delete p;
      return 1;
    case effSetProgram:
#ifndef PROBE_CHUNK_PROGRAMS
      if (value >= 0 && value < kHostPrograms) p->current = static_cast<int>(value);
#endif
      return 0;
    case effGetProgram:
      return kHostPrograms == 1 ? 0 : p->current;
    case effSetProgramName:
      if (ptr != nullptr) std::snprintf(p->names[p->current], 25, "%s", static_cast<char*>(ptr));
      return 0;
    case effGetProgramName:
      if (ptr != nullptr) std::snprintf(static_cast<char*>(ptr), 25, "%s", p->names[p->current]);
      return 0;
    case effGetProgramNameIndexed:
      if (ptr == nullptr || index < 0 || index >= kInternalPrograms) return 0;
      std::snprintf(static_cast<char*>(ptr), 25, "%s", p->names[index]);
      return 1;
    case effGetParamName:
      std::snprintf(static_cast<char*>(ptr), 9, "%s", index == 0 ? "Gain" : "Spare");
      return 0;
    case effGetParamLabel:
      std::snprintf(static_cast<char*>(ptr), 9, "%s", index == 0 ? "x" : "");
      return 0;
    case effGetParamDisplay:
      std::snprintf(static_cast<char*>(ptr), 9, "%.3f", index == 0 ? 2.0 * p->gains[p->current] : p->spare);
      return 0;
    case effGetEffectName:
      std::snprintf(static_cast<char*>(ptr), 32, "Host Probe");
      return 1;
    case effGetVendorString:
      std::snprintf(static_cast<char*>(ptr), 64, "Probe Works");
      return 1;
#ifdef PROBE_CHUNK_PROGRAMS
    case effGetChunk: {
      std::memset(p->chunk, 0, sizeof p->chunk);
      putWord(p->chunk + 8, kInternalPrograms);
      putWord(p->chunk + kCurrentProgramOffset, static_cast<unsigned>(p->current));
      std::memcpy(p->chunk + kGainTableOffset, p->gains, sizeof p->gains);
      *static_cast<void**>(ptr) = p->chunk;
      return kChunkBytes;
    }
    case effSetChunk: {
      if (ptr == nullptr || value != static_cast<VstIntPtr>(kChunkBytes)) return -1;
      const unsigned char* data = static_cast<const unsigned char*>(ptr);
      std::memcpy(p->gains, data + kGainTableOffset, sizeof p->gains);
      const unsigned program = getWord(data + kCurrentProgramOffset);
      if (program < static_cast<unsigned>(kInternalPrograms)) p->current = static_cast<int>(program);
      return 0;
    }
#endif
    case effProcessEvents: {
      const VstEvents* events = static_cast<const VstEvents*>(ptr);
      if (events == nullptr) return 0;
      for (VstInt32 i = 0; i < events->numEvents; ++i) {
        const VstEvent* event = events->events[i];
        if (event == nullptr || event->type != kVstMidiType) continue;
        const VstMidiEvent* midi = reinterpret_cast<const VstMidiEvent*>(event);
        ++p->midiEvents;
        for (int b = 0; b < 3; ++b) p->lastMidi[b] = static_cast<unsigned char>(midi->midiData[b]);
      }
      return 1;
    }
    case effVendorSpecific:
      if (index == kReportIndex && ptr != nullptr) {
        writeReport(p, static_cast<char*>(ptr));
        return 1;
      }
      if (index == kGestureIndex) {
        callHost(p, audioMasterBeginEdit, 0);
        p->gains[p->current] = kGestureValue;
        callHost(p, audioMasterAutomate, 0, 0, nullptr, kGestureValue);
        callHost(p, audioMasterEndEdit, 0);
        callHost(p, audioMasterUpdateDisplay);
        return 1;
      }
      return 0;
    case effGetVstVersion:
      return kVstVersion;
    default:
      return 0;
  }
}

void setParameter(AEffect* effect, VstInt32 index, float value) {
  Probe* p = probeOf(effect);
  if (index == 0) p->gains[p->current] = value;
  if (index == 1) p->spare = value;
}

float getParameter(AEffect* effect, VstInt32 index) {
  Probe* p = probeOf(effect);
  return index == 0 ? p->gains[p->current] : p->spare;
}

void processReplacing(AEffect* effect, float** inputs, float** outputs, VstInt32 frames) {
  Probe* p = probeOf(effect);
  const VstTimeInfo* time =
      reinterpret_cast<const VstTimeInfo*>(callHost(p, audioMasterGetTime, 0, kTimeMask));
  p->timeSeen = true;
  p->timeWasNull = time == nullptr;
  if (time != nullptr) {
    p->tempo = time->tempo;
    p->ppq = time->ppqPos;
    p->samplePos = time->samplePos;
  }
  const float gain = 2.0f * p->gains[p->current];
  for (int c = 0; c < 2; ++c) {
    for (VstInt32 n = 0; n < frames; ++n) outputs[c][n] = inputs[c][n] * gain;
  }
  if (!p->processedAny && frames > 0) {
    outputs[0][0] += kFirstFrameMarker;
    outputs[1][0] += kFirstFrameMarker;
    p->processedAny = true;
  }
}

void processAccumulating(AEffect*, float**, float**, VstInt32) {}

void copyName(char* to, const char* from) {
  size_t n = 0;
  for (; n < kProgramNameChars && from[n] != 0; ++n) to[n] = from[n];
  to[n] = 0;
}

}  // namespace

extern "C" __attribute__((visibility("default"))) AEffect* VSTPluginMain(audioMasterCallback host) {
  if (host(nullptr, audioMasterVersion, 0, 0, nullptr, 0.0f) == 0) return nullptr;
  Probe* p = new Probe;
  p->host = host;
  for (int i = 0; i < kInternalPrograms; ++i) {
    p->gains[i] = static_cast<float>(i + 1) / (2.0f * kInternalPrograms);
    copyName(p->names[i], programName(i));
  }
  p->gains[0] = 0.5f;  // program 0 passes audio through unchanged
  AEffect& e = p->effect;
  e.magic = kEffectMagic;
  e.dispatcher = dispatcher;
  e.process = processAccumulating;
  e.setParameter = setParameter;
  e.getParameter = getParameter;
  e.numPrograms = kHostPrograms;
  e.numParams = kNumParams;
  e.numInputs = 2;
  e.numOutputs = 2;
  e.flags = effFlagsCanReplacing;
#ifdef PROBE_CHUNK_PROGRAMS
  e.flags |= effFlagsProgramChunks;
#endif
  e.ioRatio = 1.0f;
  e.object = p;
  e.uniqueID = kUniqueID;
  e.version = 1;
  e.processReplacing = processReplacing;
#ifdef PROBE_ENTRY_RETURNS_NULL
  delete p;
  return nullptr;
#else
  return &e;
#endif
}
