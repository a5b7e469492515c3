#include "CorrectionFactor.h"

#include <cmath>

#include "RunData.h"

namespace {

// Below this barometric pressure (inHg) the run has no usable pressure reading.
constexpr double kMinPressure = 19;

TCorrectionFactor MakeFactor(int32_t index, const char* name, double stdPressure, double stdTemp,
                             double multiplier, double subtract, double tempExponent,
                             double pressureExponent, uint8_t useDryPressure) {
  TCorrectionFactor factor;
  factor.FIndex = index;
  factor.FName = name;
  factor.FStdPressure = stdPressure;
  factor.FStdTemp = stdTemp;
  factor.FMultiplier = multiplier;
  factor.FSubtract = subtract;
  factor.FTempExponent = tempExponent;
  factor.FPressureExponent = pressureExponent;
  factor.FAddend = 0;
  factor.FUseDryPressure = useDryPressure;
  return factor;
}

}  // namespace

double TCorrectionFactor::Formula(double pressure, double celsius) const {
  // 273, not 273.15: the reference temperatures of the standards are given to the kelvin.
  return FMultiplier * std::pow(FStdPressure / pressure, FPressureExponent) *
             std::pow((celsius + 273) / FStdTemp, FTempExponent) -
         FSubtract + FAddend;
}

TCorrectionFactorTable LoadCorrectionFactors() {
  return {
      MakeFactor(0, "Uncorrected", 1.0, 1.0, 1.0, 0, 0, 0, 1),
      MakeFactor(1, "SAE", 29.235, 298.0, 1.18, 0.18, 0.5, 1.0, 1),
      MakeFactor(2, "DIN", 29.9139, 293.0, 1.0, 0, 0.5, 1.0, 0),
      MakeFactor(3, "EEC", 29.235, 298.0, 1.0, 0, 0.6, 1.2, 1),
      MakeFactor(4, "STD", 29.92, 298.0, 1.0, 0, 0.5, 1.0, 1),
      MakeFactor(5, "JIS", 29.31, 298.0, 1.0, 0, 0.6, 1.2, 1),
  };
}

double ComputeCF(const TCorrectionFactorTable& table, int32_t index, TRunData& run) {
  if (index < 0 || static_cast<size_t>(index) >= table.size()) return 1.0;
  const TCorrectionFactor& factor = table[static_cast<size_t>(index)];
  const double pressure = factor.FUseDryPressure == 1 ? run.FBaro - run.FVapor : run.FBaro;
  if (pressure > kMinPressure && factor.FStdTemp > 0) {
    const double cf = factor.Formula(pressure, run.FTemp);
    // Conditions from a damaged file (a temperature below absolute zero, an absurd pressure)
    // would give NaN or a factor that flips or erases every power curve: treat them as none.
    if (std::isfinite(cf) && cf > 0) {
      run.FFlags |= kFlagCorrected;
      return cf;
    }
  }
  run.FFlags &= ~kFlagCorrected;
  return 1.0;
}
