// Host-facing texts and properties of the sound parameters, built from the
// parameter table and the engine state in use.
#pragma once

#include <cstdint>

#include "host/vst2_abi.h"

class DelayEngine;

// Longest display text handed to the host, as the text services take it.
constexpr VstInt32 kDisplayTextLength = 12;
// "CC# " + name: up to 12 characters and the terminator.
constexpr VstInt32 kAssignmentNameLength = 12;

// Sound parameter i (0 … 17): its name, at most 8 characters.
void writeParameterName(int32_t i, char* text);
// The controller-assignment parameter of sound parameter i: "CC# " + name.
void writeAssignmentName(int32_t i, char* text);
// The label of sound parameter i; " " for everything else.
void writeParameterLabel(int32_t index, char* text);
// The display text of sound parameter i from the engine state in use;
// nothing is written for other indices.
void writeParameterDisplay(const DelayEngine& engine, int32_t index, char* text);
// Step and range hints for the delay time, the switches and Num/Den.
bool fillParameterProperties(int32_t index, VstParameterProperties* p);
