// Saturation vapour pressure over water, the fit the acquisition program uses for its weather
// correction.

#include <array>
#include <cmath>

#include "RunFile.h"

namespace {

// s = C10 / (T - C11) + C0 + C1 T + ... + C9 T^9, T in kelvin.
constexpr std::array<double, 12> kC = {
    10.4592,     -0.00404897, -4.1752e-05, 3.6851e-07,  -1.0152e-09, 8.6531e-13,
    9.03668e-16, -1.9969e-18, 7.79287e-22, 1.91482e-25, -3968.06,    39.5735,
};
constexpr double kToInchesOfMercury = 295.2997144451761;

}  // namespace

double SaturationVaporPressure(float celsius) {
  const double t = double{celsius} + 273.16;
  double s = kC[10] / (t - kC[11]) + kC[0];
  double power = 1;
  for (int i = 1; i <= 9; ++i) {
    power *= t;
    s += kC[i] * power;
  }
  return std::exp(s) * kToInchesOfMercury;
}
