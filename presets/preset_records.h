// Encoders and decoders of the preset, bank and MIDI-settings records: what
// files and the settings store hold. Encoders fill a record the caller has
// zero-filled; decoders check identifier, kind and values before touching
// anything, and a rejected record changes nothing (except that a bank of
// another identifier or kind still selects program 0). Decoders answer
// whether the record was accepted; a record holding any value that is not
// finite and within 0 … 1 is rejected whole.
#pragma once

#include <cstdint>

class CPresetSystemEffect;

// The current program: name and values into the current program's slot,
// then the listener shows the name and the program is selected again.
void encodePresetRecord(CPresetSystemEffect& fx, uint8_t* record);
bool decodePresetRecord(CPresetSystemEffect& fx, const uint8_t* record, bool byteReversed);

// All 17 programs; the decoder ends with program 0 selected.
void encodeBankRecord(CPresetSystemEffect& fx, uint8_t* record);
bool decodeBankRecord(CPresetSystemEffect& fx, const uint8_t* record, bool byteReversed);

// The 18 controller-assignment values, applied through setParameter so both
// controller maps follow them.
void encodeMidiRecord(CPresetSystemEffect& fx, uint8_t* record);
bool decodeMidiRecord(CPresetSystemEffect& fx, const uint8_t* record, bool byteReversed);

// Shows a name through the listener, then renames the current program.
void applyProgramName(CPresetSystemEffect& fx, const char* name);
