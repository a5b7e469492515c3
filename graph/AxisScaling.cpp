#include "AxisScaling.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <string>

#include "NumberFormat.h"
#include "RunData.h"
#include "ScaleSteps.h"

namespace {

constexpr float kInf = std::numeric_limits<float>::infinity();

bool ValidAxis(int axis) {
  return axis >= 0 && axis < kNumAxes;
}

// A value kept in single precision that stays finite: sums of extreme data must not turn into
// infinities that the drawing would later convert to pixels.
float ToFloat(double v) {
  constexpr double kMax = std::numeric_limits<float>::max();
  return static_cast<float>(std::clamp(v, -kMax, kMax));
}

bool InUse(const TScaleData& data, int axis) {
  return ValidAxis(axis) && data.AxisInUse(axis);
}

// Adds the margin of Buffer percent of the range on both sides.
void AddMargin(double& max, double& min, int buffer) {
  const double r = max - min;
  max += buffer * r * 0.01;
  min -= buffer * r * 0.01;
}

std::string ScaleLabel(float value, int fmtIndex) {
  return FormatFloat(StepEntry(fmtIndex).FScaleFmt, value);
}

}  // namespace

bool ShowsAirFuel(const TScaleData& data, int axis) {
  return axis > 0 && axis < kNumAxes && data.AxisChannel(axis) == kAirFuelChannelID;
}

TScaleRange SelectScale(TAxisState& state, const TScaleContext& ctx, int axis) {
  if (!ValidAxis(axis)) return {};
  const TScaleData& data = ctx.Data;
  const TScaleSwitches& sw = ctx.Switches;
  const int i = axis;
  const int a = 2 * ((i + 1) / 2);  // the right axis of the graph of i (0 for the X axis)
  const int b = a - 1;              // its left axis
  const bool bothInUse = i > 0 && InUse(data, a) && InUse(data, b);

  double max = 100;
  double min = 0;
  if (data.NumRuns() < 1 || !data.AxisInUse(i)) {
    if (!sw.AutoScaling) {
      max = ValidFloat(state.FManMax[i]) ? state.FManMax[i] : 100.0;
      min = ValidFloat(state.FManMin[i]) ? state.FManMin[i] : 0.0;
    }
  } else if (sw.AutoScaling) {
    if (sw.ForceScale && bothInUse) {
      max = data.GetDataMax(a);
      if (data.GetDataMax(b) > max) max = data.GetDataMax(b);
      min = data.GetDataMin(a);
      if (data.GetDataMin(b) < min) min = data.GetDataMin(b);
    } else {
      max = data.GetDataMax(i);
      min = data.GetDataMin(i);
    }
    AddMargin(max, min, sw.Buffer);
    if (!sw.ShowNegative) min = min > 0 ? min : 0;
  } else {
    if (sw.ForceScale && bothInUse && !ShowsAirFuel(data, a) && !ShowsAirFuel(data, b)) {
      max = state.FManMax[a];
      if (state.FManMax[b] > max) max = state.FManMax[b];
      min = state.FManMin[a];
      if (state.FManMin[b] < min) min = state.FManMin[b];
    } else {
      max = state.FManMax[i];
      min = state.FManMin[i];
    }
  }
  // A missing or infinite bound (a broken zoom record, an overflowing margin) falls back to the
  // empty-axis range rather than reaching the step arithmetic.
  if (!ValidFloat(max)) max = 100;
  if (!ValidFloat(min)) min = 0;

  double s = data.MinXStep();
  if (!ValidFloat(s) || s < 0) s = 0;
  if (max - min < s) {
    const double c = (max + min) * 0.5;
    max = c + s * 0.5;
    min = c - s * 0.5;
  }
  if (sw.AutoScaling && ShowsAirFuel(data, i)) {
    max = 18;
    min = 10;
  }
  state.FManMax[i] = ToFloat(max);
  state.FManMin[i] = ToFloat(min);

  if (sw.ForceScale && i > 0) {
    const int partner = i % 2 == 0 ? i - 1 : i + 1;
    if (!ShowsAirFuel(data, partner) && !ShowsAirFuel(data, i)) {
      state.FManMax[partner] = state.FManMax[i];
      state.FManMin[partner] = state.FManMin[i];
    }
  }
  return {state.FManMax[i], state.FManMin[i]};
}

TLabelSpan Scale_Axis(TAxisState& state, const TScaleContext& ctx, int axis,
                      const std::array<TRect, kMaxGraphs>& graphRects) {
  if (!ValidAxis(axis)) return {};
  const int i = axis;
  const TScaleRange range = SelectScale(state, ctx, i);
  const double max = range.Max;
  const double min = range.Min;
  const double r = max - min;

  // Extent of the axis in pixels.
  const TRect& rect = graphRects[static_cast<std::size_t>(i == 0 ? 0 : (i - 1) / 2)];
  const int extent = i == 0 ? rect.Width() : rect.Height();
  const bool across = i == 0 || rect.Width() > 0;
  if (extent > 0 && r > 0 && across) {
    // The data span of three quarters of an inch.
    const double raw = r * (0.75 * ctx.PixelsPerInch / extent);
    if (!std::isnan(raw)) state.FAxisStep[i] = ToFloat(raw);
  }

  float& step = state.FAxisStep[i];
  if (step == 0) {
    step = 10;
  } else {
    if (r > 0 && extent > 0) {
      int k = 1;
      while (k < kNumSteps && StepTable[k].FStep <= step)
        ++k;
      if (k < kNumSteps) {
        // Distances truncated to whole units: below about 1 both are 0 and the larger step wins.
        const int64_t c = TruncInt(static_cast<double>(StepTable[k].FStep) - step);
        const int64_t d = TruncInt(static_cast<double>(StepTable[k - 1].FStep) - step);
        if (std::llabs(c) > std::llabs(d)) --k;
      }
      k = std::min(k, kNumSteps - 1);
      if (ShowsAirFuel(ctx.Data, i)) {
        k = std::max(k - 1, 0);
        if (ctx.Data.NumRuns() >= 1 && StepTable[k].FStep <= 2.0f) k = 13;
      }
      step = StepTable[k].FStep;
      state.FFmtIndex[i] = k;
    }
    if (ctx.Switches.Designing) step = 10;
  }

  TLabelSpan span;
  if (ValidFloat(max)) {
    span.Hi = TruncInt(std::ceil(RoundNumber(max / step, 0.0001)));
    span.Lo = ValidFloat(min) ? TruncInt(std::floor(RoundNumber(min / step, 0.0001))) : 0;
  } else {
    span.Hi = Round(100 / step);
    span.Lo = 0;
  }
  return span;
}

bool CalculateAxes(TAxisState& state, const TScaleContext& ctx, TAxesLayout& layout,
                   const TTextMetrics& metrics) {
  TScaleData& data = ctx.Data;
  if (ctx.Switches.AutoScaling) data.CalcDataRanges();
  layout.LabelHeight = metrics.TextHeight("8");
  const int numGraphs = std::clamp(layout.NumGraphs, 0, kMaxGraphs);

  for (int i = 0; i <= 2 * numGraphs; ++i) {
    // An empty graph keeps a left scale; a right axis without data and a left one whose right
    // partner has data are skipped.
    if (i > 0 && !data.AxisInUse(i) && (i % 2 == 0 || data.AxisInUse(i + 1))) {
      state.FLabelWidth[i] = 0;
      continue;
    }
    const TLabelSpan span = Scale_Axis(state, ctx, i, layout.GraphRects);
    state.FNumDivs[i] = static_cast<float>(static_cast<int64_t>(span.Hi) - span.Lo);
    const double step = state.FAxisStep[i];
    const float first = ToFloat(span.Lo * step);
    const float last = ToFloat(span.Hi * step);
    state.FFirstLabel[i] = first;
    state.FLastLabel[i] = last;
    if (ctx.Switches.SnapToScale) {
      state.FAxisMin[i] = state.FManMin[i] = first;
      state.FAxisMax[i] = state.FManMax[i] = last;
    } else {
      state.FAxisMin[i] = state.FManMin[i];
      state.FAxisMax[i] = state.FManMax[i];
      state.FNumDivsShown[i] = state.FNumDivs[i];
      // Only labels inside the exact range are shown.
      if (state.FFirstLabel[i] < state.FAxisMin[i]) {
        state.FFirstLabel[i] = ToFloat(state.FFirstLabel[i] + step);
        state.FNumDivsShown[i] -= 1;
      }
      if (state.FLastLabel[i] > state.FAxisMax[i]) {
        state.FLastLabel[i] = ToFloat(state.FLastLabel[i] - step);
        state.FNumDivsShown[i] -= 1;
      }
    }
    const int fmt = state.FFmtIndex[i];
    state.FLabelWidth[i] = std::max(metrics.TextWidth(ScaleLabel(state.FFirstLabel[i], fmt)),
                                    metrics.TextWidth(ScaleLabel(state.FLastLabel[i], fmt)));
    if (state.FNumDivs[i] == 0) state.FNumDivs[i] = 1;
    if (state.FAxisStep[i] == 0) state.FAxisStep[i] = 1;
  }

  // All graphs share the label zones so their plot rectangles line up.
  int left = state.FLabelWidth[1];
  int right = state.FLabelWidth[2];
  for (int g = 1; g < numGraphs; ++g) {
    left = std::max(left, state.FLabelWidth[static_cast<std::size_t>(2 * g + 1)]);
    right = std::max(right, state.FLabelWidth[static_cast<std::size_t>(2 * g + 2)]);
  }
  bool dirty = false;
  for (int g = 0; g < numGraphs; ++g) {
    TRect& rect = layout.GraphRects[static_cast<std::size_t>(g)];
    const int newLeft = layout.FrameRect.Left + layout.LabelHeight + left - 5;
    const int newRight = layout.FrameRect.Right - layout.LabelHeight - right + 5;
    if (newLeft != rect.Left || newRight != rect.Right) dirty = true;
    rect.Left = newLeft;
    rect.Right = newRight;
  }
  return dirty;
}

void ResetScale(TAxisState& state, const TScaleContext& ctx) {
  TScaleData& data = ctx.Data;
  const TScaleSwitches& sw = ctx.Switches;
  state.FAxisMax.fill(-kInf);
  state.FAxisMin.fill(kInf);

  data.ForEachChannel([&state](TChannel& c) {
    c.FXOffset = 0;
    c.FYOffset = 0;
    c.FScaleYMax = c.FYMax;
    c.FScaleYMin = c.FYMin;
    c.FScaleXMax = c.FXMax;
    c.FScaleXMin = c.FXMin;
    if (c.FAxis >= 1 && c.FAxis < kNumAxes) {
      const auto s = static_cast<std::size_t>(c.FAxis);
      // Written as comparisons so a NaN extreme is passed over.
      if (c.FYMax > state.FAxisMax[s]) state.FAxisMax[s] = c.FYMax;
      if (c.FYMin < state.FAxisMin[s]) state.FAxisMin[s] = c.FYMin;
      if (c.FXMax > state.FAxisMax[0]) state.FAxisMax[0] = c.FXMax;
      if (c.FXMin < state.FAxisMin[0]) state.FAxisMin[0] = c.FXMin;
    }
  });

  for (int j = 0; j < kNumAxes; ++j) {
    if (j > 0 && ShowsAirFuel(data, j) && !sw.ForceScale) {
      state.FAxisMax[j] = 18;
      state.FAxisMin[j] = 10;
    }
    if (!ValidFloat(state.FAxisMax[j])) {
      state.FAxisMax[j] = 100;
      if (!sw.AutoScaling) state.FManMax[j] = 100;
    }
    if (!ValidFloat(state.FAxisMin[j])) {
      state.FAxisMin[j] = 0;
      if (!sw.AutoScaling) state.FManMin[j] = 0;
    }
  }
  for (int j = 0; j < kNumAxes; ++j) {
    if (j > 0 && !ShowsAirFuel(data, j)) {
      double max = state.FAxisMax[j];
      double min = state.FAxisMin[j];
      AddMargin(max, min, sw.Buffer);
      if (!sw.ShowNegative && min <= 0) min = 0;
      state.FAxisMax[j] = ToFloat(max);
      state.FAxisMin[j] = ToFloat(min);
    }
    state.FManMin[j] = state.FAxisMin[j];
    state.FManMax[j] = state.FAxisMax[j];
  }
  // The X axis gets its margin on the displayed range only.
  double max = state.FAxisMax[0];
  double min = state.FAxisMin[0];
  AddMargin(max, min, sw.Buffer);
  state.FAxisMax[0] = ToFloat(max);
  state.FAxisMin[0] = ToFloat(min);

  if (ctx.UpdateZoom) ctx.UpdateZoom();
}

void manScale(TAxisState& state, const TScaleContext& ctx, int axis, float min, float max) {
  if (!ValidAxis(axis)) return;
  const auto i = static_cast<std::size_t>(axis);
  state.FManMin[i] = min;
  state.FManMax[i] = max;
  if (!ctx.Switches.AutoScaling) {
    state.FAxisMin[i] = min;
    state.FAxisMax[i] = max;
  }
  if (ctx.UpdateZoom) ctx.UpdateZoom();
}

int GetMin_Plt(const TAxisState& state, int axis) {
  return ValidAxis(axis) ? TruncInt(state.FAxisMin[static_cast<std::size_t>(axis)]) : 0;
}
