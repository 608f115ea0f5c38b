#include "host/text_services.h"

#include <cmath>
#include <cstdint>
#include <cstring>

namespace {
const char kHuge[] = "Huge!";
constexpr double kFloatLimit = 99999999.0;          // largest non-negative float2string
constexpr double kNegativeFloatLimit = 9999999.0;   // largest negative magnitude
constexpr int kFloatTextChars = 8;                  // sign, digits, point and fraction
constexpr int64_t kIntLimit = 100000000;            // int2string shows "Huge!" from here

char digitOf(double number) { return static_cast<char>('0' + static_cast<int>(std::fmod(number, 10.0))); }
}  // namespace

char* vst_strncpy(char* dst, const char* src, VstInt32 maxLen) {
  std::strncpy(dst, src, static_cast<size_t>(maxLen));
  dst[maxLen] = 0;
  return dst;
}

char* vst_strncat(char* dst, const char* src, VstInt32 maxLen) {
  size_t length = strnlen(dst, static_cast<size_t>(maxLen));
  while (length < static_cast<size_t>(maxLen) && *src) dst[length++] = *src++;
  dst[length] = 0;
  dst[maxLen] = 0;
  return dst;
}

void float2string(float value, char* text, VstInt32 maxLen) {
  double v = value;
  if (!std::isfinite(v)) {
    vst_strncpy(text, kHuge, maxLen);
    return;
  }
  int count = 0;
  const bool negative = v < 0;
  if (negative) {
    v = -v;
    count = 1;
    if (v > kNegativeFloatLimit) {
      vst_strncpy(text, kHuge, maxLen);
      return;
    }
  } else if (v > kFloatLimit) {
    vst_strncpy(text, kHuge, maxLen);
    return;
  }

  // Integer part right to left; every integer digit is shown, even when the
  // eight-character layout is exceeded (up to eight digits).
  char scratch[32];
  char* s = scratch + 31;
  *s-- = 0;
  *s-- = '.';
  ++count;
  double p = std::floor(v);
  *s-- = digitOf(p);
  ++count;
  p /= 10.0;
  while (p >= 1.0) {
    *s-- = digitOf(p);
    ++count;
    p /= 10.0;
  }
  if (negative) *s-- = '-';
  vst_strncpy(text, s + 1, maxLen);
  if (count >= kFloatTextChars) return;

  // Truncated fraction, right to left.
  const int fractionDigits = kFloatTextChars - count;
  double m = std::fmod(v, 1.0) * std::pow(10.0, fractionDigits);
  s = scratch + 31;
  *s-- = 0;
  for (int i = 0; i < fractionDigits; ++i) {
    if (m > 0) {
      *s-- = digitOf(m);
      m /= 10.0;
    } else {
      *s-- = '0';
    }
  }
  vst_strncat(text, s + 1, maxLen);
}

void int2string(VstInt32 value, char* text, VstInt32 maxLen) {
  int64_t v = value;
  if (v >= kIntLimit || v <= -10 * kIntLimit) {
    vst_strncpy(text, kHuge, maxLen);
    return;
  }
  vst_strncpy(text, v < 0 ? "-" : "", maxLen);
  if (v < 0) v = -v;
  bool started = false;
  for (int64_t divisor = kIntLimit; divisor >= 1; divisor /= 10) {
    const int64_t digit = v / divisor;
    v %= divisor;
    if (started || digit != 0) {
      started = true;
      const char one[2] = {static_cast<char>('0' + digit), 0};
      vst_strncat(text, one, maxLen);
    }
  }
  // Zero has no leading digit; a display must never be empty.
  if (!started) vst_strncat(text, "0", maxLen);
}

void dB2string(float value, char* text, VstInt32 maxLen) {
  if (value <= 0 || std::isnan(value)) {
    vst_strncpy(text, "-oo", maxLen);
    return;
  }
  float2string(20.0f * std::log10(value), text, maxLen);
}

void Hz2string(float samples, float sampleRate, char* text, VstInt32 maxLen) {
  const float hz = samples == 0 ? 0.0f : sampleRate / samples;
  float2string(hz, text, maxLen);
}

void ms2string(float samples, float sampleRate, char* text, VstInt32 maxLen) {
  float2string(samples * 1000.0f / sampleRate, text, maxLen);
}
