// Text services for every text handed to the host.
#pragma once

#include "host/vst2_abi.h"

// Copies at most maxLen characters and always terminates at dst[maxLen].
char* vst_strncpy(char* dst, const char* src, VstInt32 maxLen);
// Appends src, keeping the result to maxLen characters, terminated at dst[maxLen].
char* vst_strncat(char* dst, const char* src, VstInt32 maxLen);

// Fixed eight-character layout with a truncated fraction ("0.500000").
void float2string(float value, char* text, VstInt32 maxLen);
void int2string(VstInt32 value, char* text, VstInt32 maxLen);
// "-oo" at or below 0, else float2string of 20·log10(value).
void dB2string(float value, char* text, VstInt32 maxLen);
void Hz2string(float samples, float sampleRate, char* text, VstInt32 maxLen);
void ms2string(float samples, float sampleRate, char* text, VstInt32 maxLen);
