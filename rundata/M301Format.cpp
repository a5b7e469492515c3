#include "M301Format.h"

bool ReadM301Parameters(TByteReader& in, TM301Parameters& p) {
  int16_t unusedShort = 0;
  double unusedDouble = 0;
  return in.ScanFloat(p.FMass) && in.ScanFloat(p.FDistance) && in.ScanShort(p.FAltitude) &&
         in.ScanFloat(p.FAddedMass) && in.ScanFloat(p.FBaro) && in.ScanDouble(p.FDryBulb) &&
         in.ScanDouble(p.FWetBulb) && in.ScanFloat(p.FPulseDivisor) && in.ScanShort(unusedShort) &&
         in.ScanDouble(unusedDouble);
}

void ReadM301Window(TByteReader& in, TM301Parameters& p) {
  int16_t window = 0;
  // Older files end the numbers after p10; a window beyond 5 was never recorded.
  p.FWindow =
      in.ScanShort(window) && window >= 1 && window <= 5 ? static_cast<uint32_t>(window) : 1;
}

std::array<double, 3> M301LossCoefficients(float mass) {
  // The roller models of the M301 dynos, told apart by their equivalent mass in slugs.
  if (mass < 15) return {6.9669e-05, 0.003580803, 1.312142606};
  if (mass < 18.5) return {2.2646e-05, 0.042055143, 1.54575811};
  if (mass < 23) return {6.9669e-05, 0.003580803, 1.312142606};
  if (mass < 50) return {0, 0, 0};
  if (mass < 90) return {0.000343035, 0.022526031, 2.743781049};
  return {0, 0, 0};
}

double FahrenheitToCelsius(double fahrenheit) {
  return (fahrenheit - 32) * 0.5555555555555556;
}
