#include "AxisGeometry.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <limits>
#include <set>
#include <vector>

#include "GraphFakes.h"

namespace {

// Graph 0 of one: X 0..100 by 25, left 0..200 by 50, right 0..10 by 2, snapped to the steps.
TAxisState SnappedState() {
  TAxisState s;
  const auto set = [&s](int i, float min, float max, float step, float divs, int fmt) {
    s.FAxisMin[i] = s.FFirstLabel[i] = min;
    s.FAxisMax[i] = s.FLastLabel[i] = max;
    s.FAxisStep[i] = step;
    s.FNumDivs[i] = s.FNumDivsShown[i] = divs;
    s.FFmtIndex[i] = fmt;
  };
  set(0, 0, 100, 25, 4, 17);
  set(1, 0, 200, 50, 4, 18);
  set(2, 0, 10, 2, 5, 13);
  s.FPixPerUnit.fill(7);
  return s;
}

// A 400 x 200 plot at (50, 20).
TAxesInput Input(bool left, bool right) {
  TAxesInput in;
  in.Plot = TRect{50, 20, 450, 220};
  in.LabelHeight = 14;
  in.LeftInUse = left;
  in.RightInUse = right;
  return in;
}

std::vector<const TScaleNumber*> NumbersOf(const TAxesPlan& plan, int axis) {
  std::vector<const TScaleNumber*> out;
  for (const TScaleNumber& n : plan.Numbers) {
    if (n.Axis == axis) out.push_back(&n);
  }
  return out;
}

// Rows of the horizontal grid lines and columns of the vertical ones.
std::set<int> GridRows(const TAxesPlan& plan) {
  std::set<int> rows;
  for (const TDash& d : plan.Grid) {
    if (d.From.Y == d.To.Y) rows.insert(d.From.Y);
  }
  return rows;
}
std::set<int> GridColumns(const TAxesPlan& plan) {
  std::set<int> columns;
  for (const TDash& d : plan.Grid) {
    if (d.From.X == d.To.X) columns.insert(d.From.X);
  }
  return columns;
}

int TicksAt(const TAxesPlan& plan, int fromX) {
  return static_cast<int>(std::count_if(plan.Ticks.begin(), plan.Ticks.end(),
                                        [fromX](const TDash& d) { return d.From.X == fromX; }));
}

}  // namespace

TEST(AxisGeometry, FiveNumbersAndFourGridLinesForZeroTo200By50) {
  const TAxesPlan plan = PlanAxes(SnappedState(), Input(true, false), TFixedMetrics());
  ASSERT_EQ(plan.Outcome, TAxesOutcome::Drawn);
  EXPECT_EQ(plan.PlotWidth, 400);
  EXPECT_EQ(plan.PlotHeight, 200);
  EXPECT_EQ(plan.Primary, 1);

  // From bottom to top, right-aligned 5 pixels left of the plot, centred on their rows.
  const auto left = NumbersOf(plan, 1);
  ASSERT_EQ(left.size(), 5u);
  const char* texts[] = {"0", "50", "100", "150", "200"};
  for (int k = 0; k < 5; ++k) {
    EXPECT_EQ(left[k]->Text, texts[k]);
    EXPECT_EQ(left[k]->Pos,
              (TPoint{50 - 6 * static_cast<int>(left[k]->Text.size()) - 5, 220 - 50 * k - 6}));
    EXPECT_EQ(left[k]->Align, TTextAlign::Right);
  }
  EXPECT_EQ(plan.LabelHeight, 12);  // the height of "8"

  // Grid lines at the top edge and at 1/4, 2/4, 3/4 of the height, and through the X labels.
  EXPECT_EQ(GridRows(plan), (std::set<int>{0, 50, 100, 150}));
  EXPECT_EQ(GridColumns(plan), (std::set<int>{0, 100, 200, 300}));
  // Dots 3 pixels long, about a tick length apart: the first of the top line covers 3..5.
  EXPECT_EQ(plan.Grid.front(), (TDash{{6, 0}, {3, 0}}));

  // X numbers centred below the plot, 5 pixels lower for the shadow.
  const auto bottom = NumbersOf(plan, 0);
  ASSERT_EQ(bottom.size(), 5u);
  EXPECT_EQ(bottom.front()->Pos, (TPoint{50 - 3, 225}));
  EXPECT_EQ(bottom.back()->Text, "100");
  EXPECT_EQ(bottom.back()->Pos, (TPoint{450 - 9, 225}));

  EXPECT_EQ(plan.PixPerUnit[0], 4);
  EXPECT_EQ(plan.PixPerUnit[1], 1);
  EXPECT_EQ(plan.PixPerUnit[2], 7);  // no right axis: untouched
  EXPECT_TRUE(NumbersOf(plan, 2).empty());
}

TEST(AxisGeometry, RightOnlyAxisCarriesTheGrid) {
  const TAxesPlan plan = PlanAxes(SnappedState(), Input(false, true), TFixedMetrics());
  ASSERT_EQ(plan.Outcome, TAxesOutcome::Drawn);
  EXPECT_FALSE(plan.ShowLeft);
  EXPECT_EQ(plan.Primary, 2);
  EXPECT_EQ(GridRows(plan), (std::set<int>{0, 40, 80, 120, 160}));
  EXPECT_TRUE(NumbersOf(plan, 1).empty());
  EXPECT_EQ(TicksAt(plan, 50 - 3), 0);
  const auto right = NumbersOf(plan, 2);
  ASSERT_EQ(right.size(), 6u);
  EXPECT_EQ(right.front()->Text, "0");
  // Left-aligned beside the plot; the label height is still the control's.
  EXPECT_EQ(right.front()->Pos, (TPoint{450 + 6, 220 - 7}));
  EXPECT_EQ(right.back()->Text, "10");
  EXPECT_EQ(plan.PixPerUnit[1], 1);  // the left factor is still set
  EXPECT_EQ(plan.PixPerUnit[2], 20);
}

TEST(AxisGeometry, TickMarksAndShadowOnlyMoveWhatTheyShould) {
  const TAxisState state = SnappedState();
  TAxesInput in = Input(true, true);
  const TAxesPlan full = PlanAxes(state, in, TFixedMetrics());
  in.ShowTickarks = false;
  const TAxesPlan noTicks = PlanAxes(state, in, TFixedMetrics());
  in.ShowShadow = false;
  const TAxesPlan flat = PlanAxes(state, in, TFixedMetrics());

  EXPECT_FALSE(full.Ticks.empty());
  EXPECT_TRUE(noTicks.Ticks.empty());
  ASSERT_EQ(full.Numbers.size(), flat.Numbers.size());
  for (std::size_t i = 0; i < full.Numbers.size(); ++i) {
    const TScaleNumber& a = full.Numbers[i];
    EXPECT_EQ(a.Pos, noTicks.Numbers[i].Pos);
    EXPECT_EQ(a.Text, flat.Numbers[i].Text);
    const TPoint shift{a.Pos.X - flat.Numbers[i].Pos.X, a.Pos.Y - flat.Numbers[i].Pos.Y};
    const TPoint expected = a.Axis == 2 ? TPoint{4, 0} : a.Axis == 0 ? TPoint{0, 5} : TPoint{};
    EXPECT_EQ(shift, expected) << a.Text;
  }
}

TEST(AxisGeometry, TicksCloserToACornerThanHalfTheRadiusAreDropped) {
  const struct {
    int radius, left, right, bottom;
  } cases[] = {{0, 19, 19, 19}, {10, 19, 19, 19}, {50, 15, 15, 17}};
  for (const auto& c : cases) {
    TAxesInput in = Input(true, true);
    in.Radius = c.radius;
    const TAxesPlan plan = PlanAxes(SnappedState(), in, TFixedMetrics());
    // Left ticks from L - 3 to L + 3, right ones from R - 2 to R + 2, X ones from B - 2 to B + 2.
    EXPECT_EQ(TicksAt(plan, 47), c.left) << c.radius;
    EXPECT_EQ(TicksAt(plan, 448), c.right) << c.radius;
    int bottom = 0;
    for (const TDash& d : plan.Ticks) {
      if (d.From.X == 47) {
        EXPECT_EQ(d.To.X, 54);
      }
      if (d.From.X == 448) {
        EXPECT_EQ(d.To.X, 453);
      }
      if (d.From.X == d.To.X) {
        EXPECT_EQ(d.From.Y, 218);
        EXPECT_EQ(d.To.Y, 223);
        ++bottom;
      }
    }
    EXPECT_EQ(bottom, c.bottom) << c.radius;
  }
}

TEST(AxisGeometry, ExactRangeShowsInnerLabelsOrGivesUp) {
  // X 3..97 by 10 with labels 10..90; left 0..200 as before.
  TAxisState state = SnappedState();
  state.FAxisMin[0] = 3;
  state.FAxisMax[0] = 97;
  state.FAxisStep[0] = 10;
  state.FFmtIndex[0] = 15;
  state.FFirstLabel[0] = 10;
  state.FLastLabel[0] = 90;
  state.FNumDivs[0] = 10;
  state.FNumDivsShown[0] = 8;
  TAxesInput in = Input(true, false);
  in.SnapToScale = false;

  const TAxesPlan plan = PlanAxes(state, in, TFixedMetrics());
  ASSERT_EQ(plan.Outcome, TAxesOutcome::Drawn);
  const auto bottom = NumbersOf(plan, 0);
  ASSERT_EQ(bottom.size(), 9u);
  EXPECT_EQ(bottom.front()->Text, "10");
  // Offset trunc(400 * 7 / 94) = 29, half the width of "10" is 6.
  EXPECT_EQ(bottom.front()->Pos.X, 50 + 29 - 6);
  EXPECT_EQ(bottom.back()->Text, "90");
  EXPECT_EQ(plan.LabelHeight, 14);  // the height of "M" with an exact range
  EXPECT_FALSE(plan.Grid.empty());
  EXPECT_FLOAT_EQ(plan.PixPerUnit[0], 400.0f / 94);

  // Dots closer than the data set's smallest span: give up and leave the factors alone.
  in.MinXStep = 1000;
  const TAxesPlan given = PlanAxes(state, in, TFixedMetrics());
  EXPECT_EQ(given.Outcome, TAxesOutcome::GiveUp);
  EXPECT_TRUE(given.Numbers.empty());
  EXPECT_EQ(given.PixPerUnit, state.FPixPerUnit);
}

TEST(AxisGeometry, EmptyPlotOrCollapsedRange) {
  TAxisState state = SnappedState();
  TAxesInput in = Input(true, false);
  EXPECT_FALSE(AxesNeedScaleReset(state, in));
  state.FAxisMax[2] = state.FAxisMin[2];  // the right axis is checked even when not shown
  EXPECT_TRUE(AxesNeedScaleReset(state, in));

  in.Plot.Right = in.Plot.Left;
  EXPECT_FALSE(AxesNeedScaleReset(state, in));
  const TAxesPlan plan = PlanAxes(state, in, TFixedMetrics());
  EXPECT_EQ(plan.Outcome, TAxesOutcome::NoArea);
  EXPECT_TRUE(plan.Grid.empty() && plan.Ticks.empty() && plan.Numbers.empty());
  EXPECT_EQ(plan.PixPerUnit, state.FPixPerUnit);

  in = Input(true, false);
  in.Graph = 3;
  EXPECT_EQ(PlanAxes(state, in, TFixedMetrics()).Outcome, TAxesOutcome::NoArea);
}

TEST(AxisGeometry, AbsurdStatesFinishWithBoundedOutput) {
  const float nan = std::numeric_limits<float>::quiet_NaN();
  const float inf = std::numeric_limits<float>::infinity();
  const struct {
    float divs, min, max, step;
  } cases[] = {
      {2e9f, 0, 2e13f, 10000},  // data of absurd magnitude: millions of divisions
      {nan, nan, nan, nan},    {4, -inf, inf, 50}, {4, 0, 200, 0}, {-5, 0, 200, 50},
  };
  for (const auto& c : cases) {
    for (bool snap : {true, false}) {
      TAxisState state = SnappedState();
      for (int i : {0, 1, 2}) {
        state.FNumDivs[i] = state.FNumDivsShown[i] = c.divs;
        state.FAxisMin[i] = state.FFirstLabel[i] = c.min;
        state.FAxisMax[i] = c.max;
        state.FAxisStep[i] = c.step;
      }
      TAxesInput in = Input(true, true);
      in.SnapToScale = snap;
      in.MinXStep = 0;
      const TAxesPlan plan = PlanAxes(state, in, TFixedMetrics());
      EXPECT_LE(plan.Grid.size() + plan.Ticks.size() + plan.Numbers.size(), 1u << 19);
    }
  }
}
