#include "AxisScaling.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "GraphFakes.h"
#include "ScaleSteps.h"

namespace {

// One graph whose plot is `width` wide and `height` high.
std::array<TRect, kMaxGraphs> OneGraph(int width, int height) {
  return {TRect{40, 30, 40 + width, 30 + height}, TRect{}, TRect{}};
}

}  // namespace

TEST(AxisScaling, WorkedExamplesAt96PixelsPerInch) {
  const struct {
    int axis;
    float min, max;
    int extent;
    int k;
    float step;
    int lo, hi;
    const char* fmt;
  } cases[] = {
      {0, 0, 5000, 600, 21, 500, 0, 10, "%.0f"},  {1, 0, 149.6f, 200, 18, 50, 0, 3, "%.0f"},
      {1, 0, 1.3f, 300, 11, 0.5f, 0, 3, "%.1f"},  {1, 12.1f, 14.7f, 150, 13, 2, 6, 8, "%.0f"},
      {1, -20, 350, 250, 19, 100, -1, 4, "%.0f"}, {1, 0, 0.3f, 200, 10, 0.25f, 0, 2, "%.2f"},
  };
  for (const auto& c : cases) {
    TFakeScaleData data;
    data.Plot(c.axis == 0 ? 1 : c.axis, c.min, c.max);
    data.DataMin[0] = c.min;
    data.DataMax[0] = c.max;
    TScaleContext ctx{data, {}, 96};
    TAxisState state;
    const auto rects = c.axis == 0 ? OneGraph(c.extent, 100) : OneGraph(400, c.extent);
    const TLabelSpan span = Scale_Axis(state, ctx, c.axis, rects);
    EXPECT_EQ(state.FFmtIndex[c.axis], c.k) << c.max;
    EXPECT_EQ(state.FAxisStep[c.axis], c.step) << c.max;
    EXPECT_EQ(span.Lo, c.lo) << c.max;
    EXPECT_EQ(span.Hi, c.hi) << c.max;
    EXPECT_STREQ(StepEntry(c.k).FScaleFmt, c.fmt);
  }
}

TEST(AxisScaling, MaximumJustAboveAStepAddsOne) {
  // 100 over 144 pixels is a raw step of exactly 50.
  for (const auto& [max, top] : {std::pair{100.001f, 150.0f}, std::pair{100.0f, 100.0f}}) {
    TFakeScaleData data;
    data.Plot(1, 0, max);
    TScaleContext ctx{data, {}, 96};
    TAxisState state;
    const TLabelSpan span = Scale_Axis(state, ctx, 1, OneGraph(400, 144));
    EXPECT_EQ(state.FAxisStep[1], 50);
    EXPECT_EQ(span.Hi * state.FAxisStep[1], top) << max;
  }
}

TEST(AxisScaling, SelectScaleRanges) {
  TScaleSwitches noNegative;
  noNegative.ShowNegative = false;
  noNegative.Buffer = 10;
  {
    // The margin widens both ends, then the minimum is raised to zero.
    TFakeScaleData data;
    data.Plot(1, -5, 100);
    TScaleContext ctx{data, noNegative};
    TAxisState state;
    const TScaleRange range = SelectScale(state, ctx, 1);
    EXPECT_FLOAT_EQ(range.Max, 110.5f);
    EXPECT_EQ(range.Min, 0);
    EXPECT_EQ(state.FManMax[1], range.Max);
  }
  {
    // ForceScale gives both Y axes of a graph their common range, also as requested range.
    TFakeScaleData data;
    data.Plot(1, 0, 80);
    data.Plot(2, 0, 200);
    TScaleContext ctx{data, {}};
    TAxisState state;
    for (int axis : {1, 2}) {
      const TScaleRange range = SelectScale(state, ctx, axis);
      EXPECT_EQ(range.Max, 200) << axis;
      EXPECT_EQ(range.Min, 0) << axis;
    }
    EXPECT_EQ(state.FManMax[1], 200);
  }
  {
    // Without runs every axis shows 0..100, whatever the data set says.
    TFakeScaleData data;
    data.Plot(3, 40, 50);
    data.Runs = 0;
    TScaleContext ctx{data, {}};
    TAxisState state;
    for (int axis = 0; axis < kNumAxes; ++axis) {
      const TScaleRange range = SelectScale(state, ctx, axis);
      EXPECT_EQ(range.Max, 100);
      EXPECT_EQ(range.Min, 0);
    }
  }
  {
    // A range narrower than the smallest span is widened about its centre.
    TFakeScaleData data;
    data.Plot(1, 5, 5);
    TScaleContext ctx{data, {}};
    TAxisState state;
    const TScaleRange range = SelectScale(state, ctx, 1);
    EXPECT_FLOAT_EQ(range.Max, 5.005f);
    EXPECT_FLOAT_EQ(range.Min, 4.995f);
  }
}

TEST(AxisScaling, AirFuelAxisIsFixedWithASmallerStepOfAtLeastTwo) {
  const struct {
    int height;
    float normalStep, airFuelStep;
  } cases[] = {{50, 10, 5}, {100, 5, 2}, {200, 2, 2}};
  for (const auto& c : cases) {
    float steps[2];
    for (int airFuel = 0; airFuel < 2; ++airFuel) {
      TFakeScaleData data;
      // The air/fuel data are ignored: its automatic range is always 10..18.
      data.Plot(1, airFuel ? 12.5f : 10, airFuel ? 13.1f : 18, airFuel ? kAirFuelChannelID : 13);
      TScaleContext ctx{data, {}, 96};
      TAxisState state;
      const TLabelSpan span = Scale_Axis(state, ctx, 1, OneGraph(400, c.height));
      EXPECT_EQ(state.FManMax[1], 18);
      EXPECT_EQ(state.FManMin[1], 10);
      steps[airFuel] = state.FAxisStep[1];
      EXPECT_EQ(span.Lo, TruncInt(std::floor(10 / steps[airFuel])));
    }
    EXPECT_EQ(steps[0], c.normalStep) << c.height;
    EXPECT_EQ(steps[1], c.airFuelStep) << c.height;
  }
}

TEST(AxisScaling, SnapOffKeepsTheExactRangeAndShowsInnerLabels) {
  TFakeScaleData data;
  data.InUse[0] = true;
  data.Plot(1, 0, 100);
  TScaleSwitches sw;
  sw.AutoScaling = false;
  sw.SnapToScale = false;
  TScaleContext ctx{data, sw, 96};
  TAxisState state;
  state.FManMin[0] = 3;
  state.FManMax[0] = 97;
  // 94 over 677 pixels is a raw step of just below 10.
  TAxesLayout layout{1, TRect{1, 1, 799, 599}, OneGraph(677, 300)};
  CalculateAxes(state, ctx, layout, TFixedMetrics());
  EXPECT_EQ(state.FAxisStep[0], 10);
  EXPECT_EQ(state.FFirstLabel[0], 10);
  EXPECT_EQ(state.FLastLabel[0], 90);
  EXPECT_EQ(state.FNumDivs[0], 10);
  EXPECT_EQ(state.FNumDivsShown[0], 8);
  EXPECT_EQ(state.FAxisMin[0], 3);
  EXPECT_EQ(state.FAxisMax[0], 97);
  EXPECT_EQ(data.CalcCalls, 0);  // requested ranges need no data ranges
}

TEST(AxisScaling, CalculateAxesLaysOutLabelZones) {
  TFakeScaleData data;
  data.Plot(1, 0, 1450);  // left labels "0".."1500": 4 characters, 24 pixels
  TScaleContext ctx{data, {}, 96};
  TAxisState state;
  state.FLabelWidth[2] = 99;
  TAxesLayout layout{1, TRect{10, 1, 790, 590}, OneGraph(600, 400)};
  EXPECT_TRUE(CalculateAxes(state, ctx, layout, TFixedMetrics()));
  EXPECT_EQ(data.CalcCalls, 1);
  EXPECT_EQ(layout.LabelHeight, 12);
  // The right axis has no data: skipped, its zone is 0 wide.
  EXPECT_EQ(state.FLabelWidth[2], 0);
  EXPECT_EQ(state.FLabelWidth[1], 24);
  EXPECT_EQ(layout.GraphRects[0].Left, 10 + 12 + 24 - 5);
  EXPECT_EQ(layout.GraphRects[0].Right, 790 - 12 - 0 + 5);
  EXPECT_EQ(state.FAxisMin[1], 0);
  EXPECT_EQ(state.FAxisMax[1], state.FLastLabel[1]);
  EXPECT_EQ(state.FManMax[1], state.FAxisMax[1]);
  // Nothing moves the second time.
  EXPECT_FALSE(CalculateAxes(state, ctx, layout, TFixedMetrics()));
}

TEST(AxisScaling, EmptyGraphsKeepALeftScaleOfZeroToHundred) {
  TFakeScaleData data;
  data.Runs = 0;
  TScaleContext ctx{data, {}, 96};
  TAxisState state;
  TAxesLayout layout{3,
                     TRect{5, 1, 785, 590},
                     {TRect{40, 30, 700, 200}, TRect{40, 210, 700, 380}, TRect{40, 390, 700, 560}}};
  CalculateAxes(state, ctx, layout, TFixedMetrics());
  for (int axis : {0, 1, 3, 5}) {
    EXPECT_EQ(state.FAxisMin[axis], 0) << axis;
    EXPECT_EQ(state.FAxisMax[axis], 100) << axis;
    EXPECT_GT(state.FLabelWidth[axis], 0) << axis;
  }
  for (int axis : {2, 4, 6})
    EXPECT_EQ(state.FLabelWidth[axis], 0) << axis;
}

TEST(AxisScaling, HostileValuesStayFinite) {
  const float inf = std::numeric_limits<float>::infinity();
  const float nan = std::numeric_limits<float>::quiet_NaN();
  const struct {
    float dataMin, dataMax, manMin, manMax;
    int buffer;
    double ppi;
    bool autoScaling;
  } cases[] = {
      {0, 100, nan, inf, 0, 96, false},            // broken requested range
      {-3e38f, 3e38f, 0, 100, 1000000, 96, true},  // margin beyond the float range
      {0, 100, 0, 100, 0, std::nan(""), true},     // no screen resolution
      {0, 3e38f, 0, 100, 0, 96, true},             // more steps than an int holds
      {0, 100, 0, 100, -300, 96, true},            // negative margin turns the range over
  };
  for (const auto& c : cases) {
    TFakeScaleData data;
    data.Plot(1, c.dataMin, c.dataMax);
    TScaleSwitches sw;
    sw.AutoScaling = c.autoScaling;
    sw.Buffer = c.buffer;
    TScaleContext ctx{data, sw, c.ppi};
    TAxisState state;
    state.FManMin[1] = c.manMin;
    state.FManMax[1] = c.manMax;
    TAxesLayout layout{1, TRect{5, 1, 785, 590}, OneGraph(600, 400)};
    CalculateAxes(state, ctx, layout, TFixedMetrics());
    for (int axis : {0, 1}) {
      EXPECT_TRUE(ValidFloat(state.FAxisMin[axis])) << c.dataMax;
      EXPECT_TRUE(ValidFloat(state.FAxisMax[axis])) << c.dataMax;
      EXPECT_TRUE(ValidFloat(state.FAxisStep[axis])) << c.dataMax;
      EXPECT_GT(state.FAxisStep[axis], 0) << c.dataMax;
      EXPECT_NE(state.FNumDivs[axis], 0) << c.dataMax;
    }
  }
}

TEST(AxisScaling, ResetScaleTakesTheChannelExtremes) {
  TChannel power, airFuel, unplotted;
  power.FAxis = 1;
  power.FYMax = 80;
  power.FYMin = -5;
  power.FXMax = 5000;
  power.FXMin = 0;
  power.FXOffset = 3;
  power.FYOffset = 4;
  airFuel.FAxis = 2;
  airFuel.FYMax = 14;
  airFuel.FYMin = 12;
  airFuel.FXMax = 5000;
  airFuel.FXMin = 0;
  unplotted.FYMax = 1e6f;
  unplotted.FXMax = 1e6f;
  TFakeScaleData data;
  data.Channels = {&power, &airFuel, &unplotted};
  data.Channel[2] = kAirFuelChannelID;
  TScaleSwitches sw;
  sw.Buffer = 10;
  sw.ShowNegative = false;
  sw.ForceScale = false;
  int zoomRecords = 0;
  TScaleContext ctx{data, sw, 96, [&zoomRecords] { ++zoomRecords; }};
  TAxisState state;
  ResetScale(state, ctx);

  EXPECT_FLOAT_EQ(state.FAxisMax[1], 88.5f);  // 80 + 10 % of 85
  EXPECT_EQ(state.FAxisMin[1], 0);            // -13.5 raised to zero
  EXPECT_EQ(state.FAxisMax[2], 18);           // air/fuel: fixed, no margin
  EXPECT_EQ(state.FAxisMin[2], 10);
  EXPECT_FLOAT_EQ(state.FAxisMax[3], 110);  // no channel: 0..100 with margin
  EXPECT_EQ(state.FAxisMin[3], 0);
  // The X margin goes on the displayed range only.
  EXPECT_EQ(state.FAxisMax[0], 5500);
  EXPECT_EQ(state.FAxisMin[0], -500);
  EXPECT_EQ(state.FManMax[0], 5000);
  EXPECT_EQ(state.FManMin[0], 0);
  EXPECT_EQ(state.FManMax[1], state.FAxisMax[1]);
  EXPECT_EQ(power.FXOffset, 0);
  EXPECT_EQ(power.FYOffset, 0);
  EXPECT_EQ(power.FScaleYMax, 80);
  EXPECT_EQ(power.FScaleXMin, 0);
  EXPECT_EQ(zoomRecords, 1);
}

TEST(AxisScaling, ManScaleAndGetMinPlt) {
  TFakeScaleData data;
  int zoomRecords = 0;
  TScaleSwitches manual;
  manual.AutoScaling = false;
  for (bool autoScaling : {true, false}) {
    TScaleContext ctx{data, autoScaling ? TScaleSwitches{} : manual, 96,
                      [&zoomRecords] { ++zoomRecords; }};
    TAxisState state;
    manScale(state, ctx, 3, -2.7f, 40);
    manScale(state, ctx, 7, 1, 2);  // no such axis: ignored
    EXPECT_EQ(state.FManMin[3], -2.7f);
    EXPECT_EQ(state.FManMax[3], 40);
    EXPECT_EQ(state.FAxisMin[3], autoScaling ? 0 : -2.7f);
    EXPECT_EQ(GetMin_Plt(state, 3), autoScaling ? 0 : -2);
    EXPECT_EQ(GetMin_Plt(state, -1), 0);
  }
  EXPECT_EQ(zoomRecords, 2);
}
