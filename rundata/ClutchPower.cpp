// Whether a run holds a pull followed by a coast-down, which clutch power needs: the engine's own
// losses are measured while the drum slows down after the pull.

#include <cmath>

#include "RunFile.h"

namespace {

// Speeds must change by at least this much (ft/s) over the pull and over the coast-down.
constexpr double kMinSpeedChange = 5;
// A falling stretch of at most this many samples is noise, not a coast-down.
constexpr std::size_t kMinCoastSamples = 5;

}  // namespace

bool ClutchPowerAvailable(const TRunData& run) {
  if (run.FDrums.size() != 1) return false;
  const TDrumData& drum = *run.FDrums[0];
  const std::size_t count = drum.Count();
  if (count < 3) return false;
  // Accelerations exist at indices 1 .. count-2; index i lies between speeds i and i+1.
  const std::size_t last = count - 2;
  const auto& accel = drum.FAccel;
  const auto speedAround = [&](std::size_t i) { return (drum.FSpeed[i] + drum.FSpeed[i + 1]) / 2; };

  // The longest rise; the first of equal length wins.
  std::size_t riseStart = 0, riseLength = 0;
  for (std::size_t i = 1; i <= last;) {
    std::size_t length = 0;
    while (i + length <= last && accel[i + length] > 0)
      ++length;
    if (length > riseLength) {
      riseStart = i;
      riseLength = length;
    }
    i += length > 0 ? length : 1;
  }
  if (riseLength == 0) return false;
  const double a1 = speedAround(riseStart);
  const double a2 = speedAround(riseStart + riseLength - 1);
  if (std::fabs(a2 - a1) < kMinSpeedChange) return false;

  // A long enough fall after the rise that leaves its speed range.
  std::size_t i = riseStart + riseLength;
  while (i <= last) {
    if (accel[i] >= 0) {
      ++i;
      continue;
    }
    std::size_t length = 0;
    while (i + length <= last && IsPresent(accel[i + length]) && accel[i + length] < 0)
      ++length;
    if (length == 0) {
      ++i;  // an absent value
      continue;
    }
    if (length > kMinCoastSamples) {
      const double e1 = speedAround(i);
      const double e2 = speedAround(i + length - 1);
      if (std::fabs(e2 - e1) < kMinSpeedChange) return false;
      if (e1 > a1 || e2 < a2) return true;
    }
    i += length;
  }
  return false;
}
