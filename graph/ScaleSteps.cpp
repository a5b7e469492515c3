#include "ScaleSteps.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "NumberFormat.h"

const std::array<TScaleStep, kNumSteps> StepTable = {{
    {0.0000001f, "%.7f", "%.8f", 4}, {0.000001f, "%.6f", "%.7f", 4}, {0.00001f, "%.5f", "%.6f", 4},
    {0.0001f, "%.4f", "%.5f", 4},    {0.001f, "%.3f", "%.4f", 4},    {0.002f, "%.3f", "%.3f", 4},
    {0.01f, "%.2f", "%.3f", 4},      {0.025f, "%.3f", "%.4f", 4},    {0.05f, "%.2f", "%.3f", 4},
    {0.1f, "%.1f", "%.2f", 4},       {0.25f, "%.2f", "%.3f", 4},     {0.5f, "%.1f", "%.3f", 4},
    {1.0f, "%.0f", "%.1f", 4},       {2.0f, "%.0f", "%.2f", 3},      {5.0f, "%.0f", "%.1f", 4},
    {10.0f, "%.0f", "%.1f", 4},      {20.0f, "%.0f", "%.1f", 3},     {25.0f, "%.0f", "%.0f", 4},
    {50.0f, "%.0f", "%.0f", 4},      {100.0f, "%.0f", "%.0f", 4},    {250.0f, "%.0f", "%.0f", 4},
    {500.0f, "%.0f", "%.0f", 4},     {1000.0f, "%.0f", "%.0f", 4},   {2500.0f, "%.0f", "%.0f", 4},
    {5000.0f, "%.0f", "%.0f", 4},    {10000.0f, "%.0f", "%.0f", 4},
}};

const TScaleStep& StepEntry(int fmtIndex) {
  return StepTable[static_cast<std::size_t>(std::clamp(fmtIndex, 0, kNumSteps - 1))];
}

int TruncInt(double x) {
  if (std::isnan(x)) return 0;
  if (x >= 2147483647.0) return std::numeric_limits<int>::max();
  if (x <= -2147483648.0) return std::numeric_limits<int>::min();
  return static_cast<int>(x);
}

int Round(double x) {
  return x > 0 ? TruncInt(x + 0.5) : TruncInt(x - 0.5);
}

double RoundNumber(double x, double p) {
  if (p == 0 || !ValidFloat(p)) return x;
  const double q = x / p;
  const double f = std::floor(q);
  double result = f * p;
  if (q - f > 0.5 * p) result += p;
  return result;
}

bool ValidFloat(double x) {
  return !std::isnan(x) && !std::isinf(x);
}

std::string Lbl2Str(float value, float step) {
  // A float reaches a whole number after at most 45 decimal shifts; the cap only stops a step of
  // 0 or NaN, which then prints without decimals.
  constexpr int kMaxDecimals = 45;
  int n = 0;
  float s = std::fabs(step);
  if (s != 0 && ValidFloat(s)) {
    while (n < kMaxDecimals && std::trunc(s + 0.00001) == 0) {
      s *= 10.0f;
      ++n;
    }
  }
  return FormatFixed(value, n);
}

int rnd_div(double a, double b) {
  if (b == 0) b = 1;
  const double q = a / b;
  const int n = TruncInt(q);
  if (std::fabs(q - n) <= 0.00001) return n;
  if (a >= 0) return n == std::numeric_limits<int>::max() ? n : n + 1;
  return n == std::numeric_limits<int>::min() ? n : n - 1;
}

bool CompareFloat(double a, double b) {
  if (a == 0) return b == 0;
  return std::fabs(a - b) / std::fabs(a) <= 1.1920928955078125e-7;
}
