#include "GearSegments.h"

#include <cmath>
#include <limits>

#include "ChannelCompute.h"
#include "DllData.h"

namespace {

// Neighbouring segments closer than this (relative gear value) are one gear interrupted by a
// shift hesitation or a dropout, not two gears.
constexpr double kMergeTolerance = 0.1;

// Relative change of g from a to b; infinite or NaN where a is 0 or a value is missing.
double RelativeChange(float from, float to) {
  return std::fabs(1.0 - static_cast<double>(to) / static_cast<double>(from));
}

// The pair test of a segment start: both values present, the first not 0, the change small.
bool Steady(std::span<const float> g, size_t j, double drift) {
  return std::isfinite(g[j]) && std::isfinite(g[j - 1]) && g[j - 1] != 0 &&
         RelativeChange(g[j - 1], g[j]) < drift;
}

// Where a segment that started at `start` can begin looking for its end: the points up to
// start + minPoints + 1 already passed the pair test.
bool SteadyFrom(std::span<const float> g, size_t start, uint32_t minPoints, double drift) {
  if (!std::isfinite(g[start])) return false;
  const size_t last = start + minPoints + 1;
  if (last >= g.size()) return false;
  for (size_t j = start + 1; j <= last; ++j)
    if (!Steady(g, j, drift)) return false;
  return true;
}

// A choice made for an earlier segmentation must still name a segment.
void KeepSelectionInRange(TGears& gears) {
  if (gears.FSelected < 0 || static_cast<uint32_t>(gears.FSelected) >= gears.Count())
    gears.FSelected = 0;
}

// Gives the X channel one segment over all the run's points.
void SingleSegment(TRunData& run, TChannel& xChannel) {
  run.ResetGears(xChannel, 1);
  xChannel.FGears->FStart[0] = 0;
  xChannel.FGears->FEnd[0] = run.FNumPoints > 0 ? run.FNumPoints - 1 : 0;
  KeepSelectionInRange(*xChannel.FGears);
}

}  // namespace

std::vector<TGearSegment> ScanGearSegments(std::span<const float> g, uint32_t minPoints,
                                           double drift) {
  std::vector<TGearSegment> segments;
  const size_t n = g.size();
  if (minPoints == 0) return segments;
  const size_t room = n / minPoints;
  size_t i = 0;
  while (i < n && segments.size() < room) {
    if (!SteadyFrom(g, i, minPoints, drift)) {
      ++i;
      continue;
    }
    const size_t start = i;
    i = start + minPoints + 3;
    if (i >= n) break;  // the end search never began: the segment does not count
    size_t j = i + 1;
    while (j < n && !(g[j] != g[j - 1] && RelativeChange(g[j - 1], g[j]) > drift))
      ++j;
    if (j >= n) {
      // Held to the end of the data.
      segments.push_back({static_cast<uint32_t>(start), static_cast<uint32_t>(n - 2)});
      break;
    }
    segments.push_back({static_cast<uint32_t>(start), static_cast<uint32_t>(j - 1)});
    i = j;
  }
  return segments;
}

std::vector<TGearSegment> MergeGearSegments(std::span<const float> g,
                                            const std::vector<TGearSegment>& segments,
                                            std::vector<TGearSegment>& gaps) {
  std::vector<TGearSegment> merged;
  if (segments.empty()) return merged;
  TGearSegment current = segments[0];
  for (size_t s = 1; s < segments.size(); ++s) {
    const TGearSegment& next = segments[s];
    const bool inRange = current.FEnd < g.size() && next.FStart < g.size();
    if (inRange && RelativeChange(g[next.FStart], g[current.FEnd]) < kMergeTolerance) {
      if (next.FStart > current.FEnd + 1) gaps.push_back({current.FEnd + 1, next.FStart - 1});
      current.FEnd = next.FEnd;
    } else {
      merged.push_back(current);
      current = next;
    }
  }
  merged.push_back(current);
  return merged;
}

float SegmentRatio(std::span<const float> g, const TGearSegment& segment) {
  if (segment.FStart > segment.FEnd || segment.FEnd >= g.size()) return 0;
  double mean = 0;
  uint32_t count = 0;
  for (size_t i = segment.FStart; i <= segment.FEnd; ++i) {
    if (!std::isfinite(g[i])) continue;
    ++count;
    mean += (g[i] - mean) / count;
  }
  return static_cast<float>(mean);
}

uint16_t SegmentGears(const TDllData& data, TRunData& run, TChannel& xChannel) {
  if (ChannelType(xChannel.FID) != ctRPM || !(run.FDT > 0)) {
    SingleSegment(run, xChannel);
    return 0;
  }
  TChannel gear;
  gear.FID = ChannelID(ChannelOrdinal(xChannel.FID), ctGear);
  gear.FUnitKind = ukGearRatio;
  const uint16_t code = ComputeChannel(data, run, gear);
  const double minPoints = data.FOptions.FMinGearTime / run.FDT;
  const size_t n = gear.FY.size();
  // Also keeps a damaged "Min Gear Time" from asking for more points than the run has.
  if (code != 0 || n == 0 || !(minPoints >= 1) || minPoints > static_cast<double>(n)) {
    SingleSegment(run, xChannel);
    return 0;
  }
  const std::span<const float> g(gear.FY);
  const auto found =
      ScanGearSegments(g, static_cast<uint32_t>(minPoints), data.FOptions.FDriftTolerance);
  std::vector<TGearSegment> gaps;
  const auto merged = MergeGearSegments(g, found, gaps);
  // The gap fill time is read but any gap, short or long, between merged segments is left
  // without values: a line across it would show speeds the engine never ran at.
  for (const TGearSegment& gap : gaps)
    for (size_t i = gap.FStart; i <= gap.FEnd && i < xChannel.FY.size(); ++i)
      xChannel.FY[i] = kNoValue;

  run.ResetGears(xChannel, static_cast<uint32_t>(merged.size()));
  TGears& gears = *xChannel.FGears;
  for (size_t s = 0; s < merged.size(); ++s) {
    gears.FStart[s] = merged[s].FStart;
    gears.FEnd[s] = merged[s].FEnd;
    gears.FRatio[s] = SegmentRatio(g, merged[s]);
  }
  KeepSelectionInRange(gears);
  return 0;
}
