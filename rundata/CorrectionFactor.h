#pragma once

// Weather correction factors: one formula scaling the measured force to standard conditions,
// with six sets of constants (none, SAE, DIN, EEC, STD, JIS).

#include <cstdint>
#include <string>
#include <vector>

class TRunData;

class TCorrectionFactor {
 public:
  int32_t FIndex = 0;            // position in the table, 0..5
  double FStdPressure = 1.0;     // reference pressure, inHg
  double FStdTemp = 1.0;         // reference temperature, kelvin
  double FMultiplier = 1.0;      // a
  double FSubtract = 0;          // b
  double FTempExponent = 0;      // exponent of the temperature ratio
  double FPressureExponent = 0;  // exponent of the pressure ratio
  double FAddend = 0;            // c
  uint8_t FUseDryPressure = 1;   // 1: subtract the vapour pressure from the barometric pressure
  std::string FName;             // at most 31 characters

  // a x (FStdPressure / P)^FPressureExponent x ((T + 273) / FStdTemp)^FTempExponent - b + c,
  // with P in inHg and T in °C; no check of P or T.
  double Formula(double pressure, double celsius) const;
};

using TCorrectionFactorTable = std::vector<TCorrectionFactor>;

// The six entries in table order: "Uncorrected", "SAE", "DIN", "EEC", "STD", "JIS".
TCorrectionFactorTable LoadCorrectionFactors();

// The factor of the table's entry `index` for the run's conditions; sets kFlagCorrected in the
// run's FFlags when it was computed, clears it when the conditions allow none (1.0 returned).
// An index outside the table returns 1.0 and leaves the flags alone.
double ComputeCF(const TCorrectionFactorTable& table, int32_t index, TRunData& run);
