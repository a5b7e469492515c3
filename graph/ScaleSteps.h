#pragma once

// The step table of the axis scaling and the number helpers that the scaling, the axis drawing,
// the cursor read-out and the tool windows share.

#include <array>
#include <cstdint>
#include <string>

// One major step an axis may use, with the formats of its numbers.
struct TScaleStep {
  float FStep;              // single precision, as the scaling compares it
  const char* FScaleFmt;    // scale labels
  const char* FReadoutFmt;  // cursor read-out, mostly one decimal more
  int FMinorMarks;          // minor ticks between two major ones
};

inline constexpr int kNumSteps = 26;
// The step index of a fresh axis (step 1, "%.0f").
inline constexpr int kInitialFmtIndex = 12;

// Steps in rising order; the index is an axis's FFmtIndex.
extern const std::array<TScaleStep, kNumSteps> StepTable;

// The entry of a format index, clamped into the table so a stray index never reads past it.
const TScaleStep& StepEntry(int fmtIndex);

// A major interval of the step is divided into this many parts by the minor marks.
inline int MinorParts(int fmtIndex) {
  return StepEntry(fmtIndex).FMinorMarks + 1;
}

// Half away from zero to a 32-bit integer. Out-of-range values saturate and NaN gives 0.
int Round(double x);

// Truncation toward zero to a 32-bit integer, saturating like Round.
int TruncInt(double x);

// x to a multiple of p: up when the quotient lies more than half of p itself above a whole
// number (the scaling relies on that narrow band). p = 0 returns x unchanged.
double RoundNumber(double x, double p);

// True when x is neither NaN nor infinite.
bool ValidFloat(double x);

// The value with as many decimals as the step needs to show its first significant digit.
std::string Lbl2Str(float value, float step);

// a / b rounded away from zero unless it lies within 0.00001 of a whole number; b = 0 counts as 1.
int rnd_div(double a, double b);

// Equality within single-precision epsilon relative to a (exact when a is 0).
bool CompareFloat(double a, double b);
