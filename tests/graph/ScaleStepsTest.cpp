#include "ScaleSteps.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include "NumberFormat.h"

TEST(ScaleSteps, TableRisesAndItsFormatsShowTheStep) {
  for (int k = 0; k < kNumSteps; ++k) {
    const TScaleStep& s = StepTable[k];
    if (k > 0) {
      EXPECT_GT(s.FStep, StepTable[k - 1].FStep) << k;
    }
    // A scale label must be able to show a whole step: its format prints the step exactly.
    EXPECT_FLOAT_EQ(std::stof(FormatFloat(s.FScaleFmt, s.FStep)), s.FStep) << k;
    EXPECT_EQ(MinorParts(k), s.FStep == 2.0f || s.FStep == 20.0f ? 4 : 5) << k;
  }
  EXPECT_EQ(&StepEntry(-1), &StepTable[0]);
  EXPECT_EQ(&StepEntry(99), &StepTable[25]);
}

TEST(ScaleSteps, RoundIsHalfAwayFromZeroAndSaturates) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const struct {
    double x;
    int expected;
  } cases[] = {{2.5, 3},
               {-2.5, -3},
               {0.49, 0},
               {-0.5, -1},
               {97.5, 98},
               {0.0, 0},
               {nan, 0},
               {1e300, std::numeric_limits<int>::max()},
               {-1e300, std::numeric_limits<int>::min()}};
  for (const auto& c : cases)
    EXPECT_EQ(Round(c.x), c.expected) << c.x;
  EXPECT_EQ(TruncInt(-2.7), -2);
  EXPECT_EQ(TruncInt(2.7), 2);
}

TEST(ScaleSteps, RoundNumberComparesTheFractionWithHalfOfP) {
  const struct {
    double x, p, expected;
  } cases[] = {
      {2.0, 0.0001, 2.0},
      {2.00002, 0.0001, 2.0001},   // quotient 0.2 above a whole number: up
      {2.000000001, 0.0001, 2.0},  // only 0.00001 above: down
      {-0.2, 0.0001, -0.2},
      {7.3, 0, 7.3},  // no grid to round to
  };
  for (const auto& c : cases)
    EXPECT_NEAR(RoundNumber(c.x, c.p), c.expected, 1e-12) << c.x;
  // Label indices must not move off whole numbers: ceil and floor of a rounded integer keep it.
  for (int n = -2000; n <= 2000; ++n) {
    EXPECT_EQ(std::ceil(RoundNumber(n, 0.0001)), n);
    EXPECT_EQ(std::floor(RoundNumber(n, 0.0001)), n);
  }
}

TEST(ScaleSteps, Lbl2StrShowsTheFirstDigitOfTheStep) {
  const float nan = std::numeric_limits<float>::quiet_NaN();
  const struct {
    float value, step;
    const char* expected;
  } cases[] = {
      {12.5f, 0.25f, "12.5"},       {3, 1, "3"},          {0.1234f, 0.001f, "0.123"},
      {5, 0.0000001f, "5.0000000"}, {1234, 2500, "1234"}, {-2.5f, -0.5f, "-2.5"},
      {0.3f, 0.1f, "0.3"},          {7, 0, "7"},          {7, nan, "7"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(Lbl2Str(c.value, c.step), c.expected) << c.step;
}

TEST(ScaleSteps, RndDivCompareFloatValidFloat) {
  EXPECT_EQ(rnd_div(10, 3), 4);
  EXPECT_EQ(rnd_div(-10, 3), -4);
  EXPECT_EQ(rnd_div(9, 3), 3);
  EXPECT_EQ(rnd_div(9.00001, 3), 3);  // within 0.00001 of a whole quotient
  EXPECT_EQ(rnd_div(5, 0), 5);
  EXPECT_EQ(rnd_div(1e300, 1), std::numeric_limits<int>::max());

  EXPECT_TRUE(CompareFloat(0, 0));
  EXPECT_FALSE(CompareFloat(0, 1e-30));
  EXPECT_TRUE(CompareFloat(1, 1 + 1e-7));
  EXPECT_FALSE(CompareFloat(1, 1 + 2e-7));
  EXPECT_TRUE(CompareFloat(-3, -3));

  EXPECT_TRUE(ValidFloat(-1.7976931348623157e308));
  EXPECT_FALSE(ValidFloat(std::numeric_limits<double>::infinity()));
  EXPECT_FALSE(ValidFloat(std::numeric_limits<double>::quiet_NaN()));
}
