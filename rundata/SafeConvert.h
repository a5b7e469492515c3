#pragma once

// Conversions of numbers read from files whose values may be anything: out-of-range conversions
// are undefined in C++, so these saturate instead.

#include <cmath>
#include <cstdint>
#include <limits>

// A double in single precision; beyond the float range it becomes the infinity of its sign.
inline float ToFloat(double value) {
  constexpr double kMax = std::numeric_limits<float>::max();
  if (value > kMax) return std::numeric_limits<float>::infinity();
  if (value < -kMax) return -std::numeric_limits<float>::infinity();
  return static_cast<float>(value);
}

// Truncation toward zero into 0..2^32-1; NaN and negative values give 0, larger ones the maximum.
inline uint32_t TruncToU32(double value) {
  if (!(value > 0)) return 0;
  if (value >= 4294967295.0) return std::numeric_limits<uint32_t>::max();
  return static_cast<uint32_t>(value);
}
