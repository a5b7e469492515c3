#include "GphData.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

constexpr float kInf = std::numeric_limits<float>::infinity();
// Ranges used when no value is there to measure.
constexpr float kDefaultMax = 100;
constexpr float kDefaultMin = 0;

bool ValidAxis(int axis) {
  return axis >= 0 && axis < kAxisCount;
}

// The scale pair widened by the margin, when it is still unset (both 0).
void SetScaleIfUnset(float& scaleMax, float& scaleMin, float high, float low, float margin) {
  if (scaleMax != 0 || scaleMin != 0) return;
  const float extra = (high - low) * margin * 0.01f;
  scaleMax = high + extra;
  scaleMin = low - extra;
}

}  // namespace

float TGphData::GetDataMax(int axis) const {
  return ValidAxis(axis) ? FDataMax[axis] : 0;
}
float TGphData::GetDataMin(int axis) const {
  return ValidAxis(axis) ? FDataMin[axis] : 0;
}

bool TGphData::IsValidNumber(float x) {
  return std::isfinite(x);
}

void TGphData::ClearRuns() {
  if (OnClearRuns) OnClearRuns(*this);
  FRuns.clear();
}

void TGphData::CalcRunRanges(uint32_t runIndex, bool showNegative) {
  TRunData* run = Run(runIndex);
  if (!run) return;
  const TChannel* firstX = run->FXChannels.empty() ? nullptr : run->FXChannels[0];
  for (TChannel* channel : run->FShown) {
    if (!channel || !channel->FGears || channel->FY.empty() || !channel->FX) continue;
    const TGears& gears = *channel->FGears;
    if (gears.FSelected < 0 || static_cast<uint32_t>(gears.FSelected) >= gears.Count()) continue;
    const size_t selected = static_cast<size_t>(gears.FSelected);
    const std::vector<float>& ys = channel->FY;
    const std::vector<float>& xs = *channel->FX;
    // Segments are inclusive; the points must exist in both arrays.
    const size_t end =
        std::min<size_t>({gears.FEnd[selected], ys.size() - 1, xs.empty() ? 0 : xs.size() - 1});
    float ymax = -kInf, ymin = kInf, xmax = -kInf, xmin = kInf;
    bool found = false;
    for (size_t i = gears.FStart[selected]; !xs.empty() && i <= end; ++i) {
      const float y = ys[i], x = xs[i];
      if (!IsValidNumber(y) || !IsValidNumber(x) || (!showNegative && y < 0)) continue;
      found = true;
      ymax = std::max(ymax, y);
      ymin = std::min(ymin, y);
      xmax = std::max(xmax, x);
      xmin = std::min(xmin, x);
    }
    if (!found) {
      ymax = kDefaultMax;
      ymin = kDefaultMin;
      xmax = firstX && IsValidNumber(firstX->FYMax) ? firstX->FYMax : kDefaultMax;
      xmin = firstX && IsValidNumber(firstX->FYMin) ? firstX->FYMin : kDefaultMin;
    }
    // The first air/fuel channel keeps the fixed range its computation gave it.
    if (channel->FID != ChannelID(0, ctAirFuel)) {
      channel->FYMax = ymax;
      channel->FYMin = ymin;
      SetScaleIfUnset(channel->FScaleYMax, channel->FScaleYMin, ymax, ymin, FMarginPercent);
    }
    channel->FXMax = xmax;
    channel->FXMin = xmin;
    SetScaleIfUnset(channel->FScaleXMax, channel->FScaleXMin, xmax, xmin, FMarginPercent);
  }
}

void TGphData::CalcDataRanges() {
  FMinXStep = kInf;
  FDataMax.fill(-kInf);
  FDataMin.fill(kInf);
  for (const auto& run : FRuns) {
    if (!run) continue;
    for (int slot = 0; slot < kLineSlots; ++slot) {
      const TChannel* channel = run->FShown[slot];
      if (!channel || !channel->FX) continue;
      FDataMax[0] = std::max(FDataMax[0], channel->FXMax);
      FDataMin[0] = std::min(FDataMin[0], channel->FXMin);
      const int axis = SlotAxis(slot);
      FDataMax[axis] = std::max(FDataMax[axis], channel->FYMax);
      FDataMin[axis] = std::min(FDataMin[axis], channel->FYMin);
    }
  }
  FMinXStep = 0.01f;
  for (int axis = 0; axis < kAxisCount; ++axis) {
    if (!IsValidNumber(FDataMin[axis])) FDataMin[axis] = kDefaultMin;
    if (!IsValidNumber(FDataMax[axis])) FDataMax[axis] = kDefaultMax;
    if (FDataMin[axis] == 0 && FDataMax[axis] == 0) FDataMax[axis] = kDefaultMax;
  }
}
