// Height division, the scale map and the background gradient: the layout arithmetic around the
// axes.

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "GradientBands.h"
#include "HeightDivision.h"
#include "ScaleMap.h"
#include "ScaleSteps.h"

TEST(HeightDivision, RatiosShareTheHeightTenPixelsApart) {
  TGraphRatios ratios;
  ratios.FGraphRatio = {1, 3, 1};
  std::array<TRect, 3> rects{};
  DivideRect(TRect{5, 50, 700, 460}, rects, 1, ratios);
  EXPECT_EQ(rects[0].Top, 50);
  EXPECT_EQ(rects[0].Bottom, 50 + 98);  // Round(410 / 4 - 5) = Round(97.5)
  EXPECT_EQ(rects[1].Top, 50 + 108);
  EXPECT_EQ(rects[1].Bottom, 460);
  EXPECT_EQ(rects[2], TRect{});  // beyond n: untouched
  EXPECT_EQ(ratios.FRatioUsed[1], 3);

  ratios.FGraphRatio = {1, 1, 1};
  DivideRect(TRect{0, 0, 100, 320}, rects, 2, ratios);
  EXPECT_EQ(rects[0].Bottom, Round(320.0 / 3 - 5));
  EXPECT_EQ(rects[2].Top, rects[1].Bottom + 10);
  EXPECT_EQ(rects[2].Bottom, 320);
}

TEST(HeightDivision, TooFlatOrBrokenRatiosFallBack) {
  const float nan = std::numeric_limits<float>::quiet_NaN();
  const struct {
    std::array<float, 3> requested;
    std::array<float, 3> used;
    std::array<float, 3> expected;
  } cases[] = {
      {{0.05f, 1, 1}, {1, 2, 1}, {1, 2, 1}},  // 0.05 / 2.05 is below a tenth
      {{1, 0, 1}, {2, 1, 1}, {2, 1, 1}},
      {{nan, 1, 1}, {1, 1, 2}, {1, 1, 2}},
      {{-1, -1, -1}, {1, 1, 1}, {1, 1, 1}},
      {{0, 0, 0}, {0, 0, 0}, {1, 1, 1}},  // nothing usable at all: equal heights
  };
  for (const auto& c : cases) {
    TGraphRatios ratios{c.requested, c.used};
    std::array<TRect, 3> rects{};
    DivideRect(TRect{0, 0, 100, 410}, rects, 2, ratios);
    EXPECT_EQ(ratios.FGraphRatio, c.expected);
    EXPECT_LT(rects[0].Top, rects[0].Bottom);
    EXPECT_LT(rects[1].Top, rects[1].Bottom);
    EXPECT_LT(rects[2].Top, rects[2].Bottom);
  }
  TGraphRatios ratios;
  std::array<TRect, 3> rects{};
  DivideRect(TRect{0, 0, 100, 410}, rects, 3, ratios);
  DivideRect(TRect{0, 0, 100, 410}, rects, -1, ratios);
  EXPECT_EQ(rects[0], TRect{});
}

TEST(ScaleMap, Graph2ScreenMapsThroughTheGraphOfTheAxis) {
  TAxisState state;
  state.FAxisMin[0] = 1000;
  state.FPixPerUnit[0] = 0.1f;
  state.FAxisMin[4] = 50;
  state.FPixPerUnit[4] = 2;
  const std::array<TRect, kMaxGraphs> rects{TRect{40, 10, 640, 200}, TRect{40, 210, 640, 400},
                                            TRect{}};
  EXPECT_EQ(Graph2Screen(state, rects, 4, 3000, 60), (TPoint{240, 380}));
  EXPECT_EQ(Graph2Screen(state, rects, 4, 999, 50.4), (TPoint{39, 399}));  // truncated
  EXPECT_EQ(Graph2Screen(state, rects, 7, 3000, 60), TPoint{});
  state.FPixPerUnit[4] = std::numeric_limits<float>::infinity();
  EXPECT_EQ(Graph2Screen(state, rects, 4, 3000, 60).Y, std::numeric_limits<int>::min());
}

TEST(GradientBands, BandsCoverTheRectangleWithoutGaps) {
  const TRect rect{3, 0, 803, 600};
  const auto bands = HorzGradBands(rect, 0xFFFFFF, 0x000000);
  ASSERT_EQ(bands.size(), 255u);
  EXPECT_EQ(bands.front().Left, 3);
  EXPECT_EQ(bands.front().FColor, 0xFFFFFFu);
  EXPECT_EQ(bands.back().Right, 803);
  EXPECT_EQ(bands.back().FColor, 0x010101u);
  for (std::size_t i = 1; i < bands.size(); ++i)
    EXPECT_EQ(bands[i].Left, bands[i - 1].Right);

  // The channel that changes most sets the count; the others move proportionally.
  const auto reds = HorzGradBands(TRect{0, 0, 4, 1}, 0x000010, 0x000400);
  ASSERT_EQ(reds.size(), 16u);
  EXPECT_EQ(reds[8].FColor, 0x000208u);  // red 16 - 8 = 8, green 8 * 4 / 16 = 2

  EXPECT_EQ(HorzGradBands(rect, 0x123456, 0x123456),
            (std::vector<TGradientBand>{{3, 803, 0x123456}}));
}
