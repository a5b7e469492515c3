#pragma once

// Reading source series on the channels' time base, and turning computed doubles into channel
// values. Used by the channel computation only.

#include <cmath>
#include <cstddef>
#include <limits>
#include <vector>

#include "RunData.h"
#include "Units.h"

// Analog series count a value as present when it is above the most negative finite float.
inline constexpr double kAnalogFloor = -static_cast<double>(std::numeric_limits<float>::max());

// Reads one series (values over times) at times that never decrease: the index only moves
// forward, so a whole channel costs time linear in points plus samples.
class TSeriesCursor {
 public:
  // `floor`: a value counts only when it is greater. Both vectors must outlive the cursor.
  TSeriesCursor(const std::vector<double>& time, const std::vector<double>& value,
                double floor = kInvalidMarker);

  // The value at t by linear interpolation between the two samples around it, or NaN when the
  // samples are missing: before the third sample, at or past the last one, or either sample's
  // value or time absent. t must not be smaller than in the previous call.
  double At(double t) {
    while (FIndex < FCount && FTime[FIndex] < t)
      ++FIndex;
    const std::size_t j = FIndex;
    if (j < 2 || j + 1 >= FCount) return std::numeric_limits<double>::quiet_NaN();
    const double v0 = FValue[j - 1], v1 = FValue[j];
    const double t0 = FTime[j - 1], t1 = FTime[j];
    // Interpolating toward a marker would give a huge negative value that looks like data.
    if (!(v0 > FFloor) || !(v1 > FFloor) || !IsPresent(t0) || !IsPresent(t1))
      return std::numeric_limits<double>::quiet_NaN();
    const double value = v0 + (v1 - v0) * (t - t0) / (t1 - t0);
    return std::isfinite(value) ? value : std::numeric_limits<double>::quiet_NaN();
  }

 private:
  const double* FTime;
  const double* FValue;
  std::size_t FCount;
  std::size_t FIndex = 0;
  double FFloor;
};

// A double as a channel value: kNoValue when it is not finite or beyond the float range.
inline float ChannelValue(double value) {
  if (!(std::fabs(value) <= static_cast<double>(std::numeric_limits<float>::max())))
    return kNoValue;
  return static_cast<float>(value);
}

// A base value in the display unit (single precision per step, as the units define), or the
// base value itself when there is no unit. kNoValue when the result is not a finite float.
inline float ConvertValue(const TUnit* unit, double base) {
  const float value = ChannelValue(base);
  if (unit == nullptr || value == kNoValue) return value;
  const float scaled = ChannelValue(static_cast<double>(value) * unit->FMultiplier);
  if (scaled == kNoValue) return kNoValue;
  return ChannelValue(static_cast<double>(scaled) + unit->FOffset);
}

// Force and power of one drum at increasing times.
class TDrumForce {
 public:
  explicit TDrumForce(const TDrumData& drum);

  // Force at the drum surface in lbf: equivalent mass times acceleration plus the drum's own
  // loss force; NaN where speed or acceleration has no value. `speed` gets v(t) in ft/s.
  double Force(double t, double& speed);
  // Wheel power in hp with the correction factor applied, NaN where there is none.
  double Power(double t, double cf);

 private:
  const TDrumData& FDrum;
  TSeriesCursor FSpeed;
  TSeriesCursor FAccel;
};

// The engine-speed series used with drum `ordinal`: that one, or the first when there are fewer
// series; null when the run has none.
const TRPMData* EngineSeriesFor(const TRunData& run, uint32_t ordinal);
