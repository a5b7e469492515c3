#include "GearSegments.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "ChannelCompute.h"
#include "DllData.h"
#include "RunBuilders.h"

namespace {

using namespace tw_test;

// Gear values from pieces of (count, value); a value of kNoValue makes a gap.
std::vector<float> Gears(std::initializer_list<std::pair<int, float>> pieces) {
  std::vector<float> g;
  for (const auto& [count, value] : pieces)
    g.insert(g.end(), count, value);
  return g;
}

TEST(GearSegments, ScanFindsHeldGears) {
  struct TCase {
    const char* name;
    std::vector<float> g;
    std::vector<TGearSegment> expected;
  };
  std::vector<float> creeping(100);
  for (size_t i = 0; i < creeping.size(); ++i)
    creeping[i] = 30 * std::pow(1.005f, float(i));
  const TCase cases[] = {
      // The end of a segment held to the end of the data is the last point but one.
      {"two gears", Gears({{100, 30}, {100, 20}}), {{0, 99}, {100, 198}}},
      {"short gear in gaps", Gears({{20, kNoValue}, {5, 30}, {20, kNoValue}}), {}},
      {"gap then gear", Gears({{7, kNoValue}, {40, 30}, {3, kNoValue}}), {{7, 46}}},
      // Held for its start test but the data end before the end search could begin.
      {"held too close to the end", Gears({{13, 30}}), {}},
      {"drift within tolerance", creeping, {{0, 98}}},
      {"zero is no gear", Gears({{50, 0}}), {}},
  };
  for (const TCase& c : cases) {
    EXPECT_EQ(ScanGearSegments(c.g, 10, 0.0075), c.expected) << c.name;
  }
  EXPECT_TRUE(ScanGearSegments(Gears({{100, 30}}), 0, 0.0075).empty());
}

TEST(GearSegments, ScanStopsWhenTheTableIsFull) {
  // Room for 60 / 10 = 6 segments; eight alternating gears of 8 points each never hold long
  // enough, while gears of 12 points fill the table.
  std::vector<float> g;
  for (int i = 0; i < 8; ++i)
    g.insert(g.end(), 12, i % 2 ? 20.0f : 30.0f);
  g.resize(60);
  EXPECT_LE(ScanGearSegments(g, 10, 0.0075).size(), 6u);
}

TEST(GearSegments, MergeJoinsCloseGears) {
  // 3.50 and 3.45 are less than 10 % apart: one gear with a dropout between.
  const std::vector<float> close = Gears({{50, 3.50f}, {10, kNoValue}, {50, 3.45f}});
  const auto found = ScanGearSegments(close, 10, 0.0075);
  ASSERT_EQ(found.size(), 2u);
  std::vector<TGearSegment> gaps;
  const auto merged = MergeGearSegments(close, found, gaps);
  ASSERT_EQ(merged.size(), 1u);
  EXPECT_EQ(merged[0], (TGearSegment{0, 108}));
  ASSERT_EQ(gaps.size(), 1u);
  EXPECT_EQ(gaps[0], (TGearSegment{50, 59}));
  EXPECT_NEAR(SegmentRatio(close, merged[0]), (50 * 3.50 + 49 * 3.45) / 99, 1e-5);

  const std::vector<float> apart = Gears({{50, 3.50f}, {10, kNoValue}, {50, 3.0f}});
  gaps.clear();
  EXPECT_EQ(MergeGearSegments(apart, ScanGearSegments(apart, 10, 0.0075), gaps).size(), 2u);
  EXPECT_TRUE(gaps.empty());
  EXPECT_EQ(SegmentRatio(apart, {100, 120}), 0);  // outside the values
}

class GearAxis : public ::testing::Test {
 protected:
  // A pull at 10 + 2t ft/s in gear 100 until 3 s, a 0.3 s gear of 40, gear 70 until 6 s, half a
  // second of a slipping clutch, then gear 69 to the end. Engine speed on the X axis.
  static double Ratio(double t) {
    if (t < 3) return 100;
    if (t < 3.3) return 40;
    if (t < 6) return 70;
    if (t < 6.5) return int(t * 100) % 2 ? 50 : 90;
    return 69;
  }

  void SetUp() override {
    data.FUnits = BaseUnits();
    data.FCFs = LoadCorrectionFactors();
    data.FOptions.FMinGearTime = 0.5;  // 25 points
    data.FOptions.FDriftTolerance = 0.01;
    const auto speed = [](double t) { return 10 + 2 * t; };
    AddTestDrum(run, 1001, 0.01, speed, [](double) { return 2.0; });
    AddTestEngine(run, 1001, 0.01, [&](double t) { return Ratio(t) * speed(t); });
    SetTimeBase(run, 480);
    run.AddChannel(ctRPM, ukEngineSpeed, "RPM");
    run.AddChannel(ctPower, ukPower, "Power");
    rpm = run.FChannels[0].get();
    power = run.FChannels[1].get();
    run.FXChannels = {rpm};
    run.FShown[0] = power;
    data.FXChannel = ctRPM;
  }

  TDllData data;
  TRunData run;
  TChannel* rpm = nullptr;
  TChannel* power = nullptr;
};

TEST_F(GearAxis, SegmentsMaskAndGapTheCurves) {
  EXPECT_EQ(ComputeChannels(data, run), 0);
  ASSERT_TRUE(rpm->FGears);
  const TGears& gears = *rpm->FGears;
  ASSERT_EQ(gears.Count(), 2u);
  EXPECT_NEAR(gears.FRatio[0], 100, 1e-3);  // rpm per ft/s
  EXPECT_LT(gears.FEnd[0], 150u);
  EXPECT_GE(gears.FStart[1], 165u);  // the short gear of 40 (3.0 to 3.3 s) made no segment
  // The mean over the merged segment, slip included.
  EXPECT_GT(gears.FRatio[1], 69);
  EXPECT_LT(gears.FRatio[1], 72);
  EXPECT_EQ(gears.FEnd[1], 478u);

  // The Y channel shares the segments; points of the short gear are not drawn.
  EXPECT_EQ(power->FGears, rpm->FGears);
  EXPECT_EQ(power->FX, &rpm->FY);
  EXPECT_EQ(power->FY[157], kNoValue);  // 3.14 s
  EXPECT_TRUE(std::isfinite(power->FY[100]));
  // The slipping clutch lies inside the merged segment: its power stays, but its engine
  // speeds are no X values, so no line runs across the slip.
  for (uint32_t k = 302; k < 324; ++k) {
    EXPECT_EQ(rpm->FY[k], kNoValue) << k;
    EXPECT_TRUE(std::isfinite(power->FY[k])) << k;
  }
}

TEST_F(GearAxis, OtherXChannelsGetOneSegment) {
  run.AddChannel(ctTime, ukTime, "Time");
  TChannel* time = run.FChannels[2].get();
  run.FXChannels = {time};
  data.FXChannel = ctTime;
  // A choice from an earlier segmentation that names no segment any more.
  run.ResetGears(*time, 3);
  time->FGears->FSelected = 2;
  EXPECT_EQ(ComputeChannels(data, run), 0);
  ASSERT_EQ(time->FGears->Count(), 1u);
  EXPECT_EQ(time->FGears->FStart[0], 0u);
  EXPECT_EQ(time->FGears->FEnd[0], 479u);
  EXPECT_EQ(time->FGears->FRatio[0], 1.0f);
  EXPECT_EQ(time->FGears->FSelected, 0);

  // An engine-speed axis whose options make no sense falls back to one segment, too.
  run.FXChannels = {rpm};
  for (const double minTime : {0.0, -1.0, 1e9, std::nan("")}) {
    data.FOptions.FMinGearTime = minTime;
    EXPECT_EQ(SegmentGears(data, run, *rpm), 0);
    EXPECT_EQ(rpm->FGears->Count(), 1u) << minTime;
  }
  // No points at all: the one segment stays inside the (empty) data.
  run.FNumPoints = 0;
  SegmentGears(data, run, *time);
  EXPECT_EQ(time->FGears->FEnd[0], 0u);
}

}  // namespace
