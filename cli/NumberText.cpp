#include "NumberText.h"

#include <charconv>
#include <cmath>

namespace {

template <class T>
std::string ShortestText(T value) {
  if (!std::isfinite(value)) return {};
  char buffer[64];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
  return std::string(buffer, result.ptr);
}

}  // namespace

std::string FloatText(float value) {
  return ShortestText(value);
}

std::string DoubleText(double value) {
  return ShortestText(value);
}
