#include "ClutchPowerChannel.h"

#include <algorithm>
#include <cmath>
#include <cstddef>

#include "Interpolation.h"
#include "RunFile.h"

namespace {

// A coast-down power that jumps by more than this (relative) within three points is a spike of
// the acceleration data, not losses.
constexpr double kSpikeTolerance = 0.6;

bool AllFinite(float a, float b, float c, float d) {
  return std::isfinite(a) && std::isfinite(b) && std::isfinite(c) && std::isfinite(d);
}

}  // namespace

uint16_t ComputeClutchPowerValues(const TRunData& run, const TUnit* unit, std::vector<float>& p) {
  const double dt = run.FDT;
  if (run.FDrums.empty() || !(dt > 0) || !ClutchPowerAvailable(run)) {
    p.clear();
    return 0;
  }
  const TDrumData& drum = *run.FDrums[0];
  TDrumForce force(drum);
  for (size_t k = 0; k < p.size(); ++k)
    p[k] = ConvertValue(unit, force.Power(k * dt, run.FCF));

  const auto& speeds = drum.FSpeed;
  const auto& times = drum.FMidTime;
  const std::ptrdiff_t count = static_cast<std::ptrdiff_t>(std::min(speeds.size(), times.size()));
  const size_t n = p.size();
  TSeriesCursor speedAt(times, speeds);
  // The coast-down index walks down from the end as the pull's speed rises, never up again.
  std::ptrdiff_t e = count - 1;
  for (size_t k = 0; k < n; ++k) {
    if (!std::isfinite(p[k]) || p[k] <= 0) {
      p[k] = kNoValue;
      continue;
    }
    const double v = speedAt.At(k * dt);
    while (e >= 0 && !(speeds[e] >= v))
      --e;
    if (std::isnan(v) || e < 2 || e >= count - 1 || !IsPresent(speeds[e - 1]) ||
        !IsPresent(speeds[e + 1]) || !IsPresent(times[e]) || !IsPresent(times[e + 1])) {
      p[k] = kNoValue;
      continue;
    }
    // speeds[e + 1] < v <= speeds[e]: the denominator is negative, never 0.
    const double tc =
        times[e] + (times[e + 1] - times[e]) * (v - speeds[e]) / (speeds[e + 1] - speeds[e]);
    const double point = tc / dt;
    if (!(point >= 0) || point + 1 >= static_cast<double>(n)) {
      p[k] = kNoValue;
      continue;
    }
    const size_t u = static_cast<size_t>(point);
    if (!std::isfinite(p[u]) || !std::isfinite(p[u + 1])) {
      p[k] = kNoValue;
      continue;
    }
    double coast = p[u] + (static_cast<double>(p[u + 1]) - p[u]) * (tc - u * dt) / dt;
    if (u > 2 && u + 3 < n && AllFinite(p[u - 2], p[u], p[u + 1], p[u + 3]) &&
        (std::fabs(1.0 - static_cast<double>(p[u]) / p[u - 2]) > kSpikeTolerance ||
         std::fabs(1.0 - static_cast<double>(p[u + 3]) / p[u + 1]) > kSpikeTolerance))
      coast = 1;
    p[k] = coast >= 0 ? kNoValue : ChannelValue(p[k] - coast);
  }
  return 0;
}
