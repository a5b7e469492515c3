#include "Smoothing.h"

#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <numbers>
#include <vector>

#include "RunData.h"

namespace {

// A smooth curve plus a deterministic high-frequency ripple.
std::vector<float> Noisy(size_t n, float ripple = 2.0f) {
  std::vector<float> values(n);
  for (size_t i = 0; i < n; ++i)
    values[i] = 100 + 30 * std::sin(0.02f * i) + ripple * ((i * 7919 % 13) / 6.0f - 1.0f);
  return values;
}

double MaxAbsDifference(const std::vector<float>& a, const std::vector<float>& b) {
  double worst = 0;
  for (size_t i = 0; i < a.size(); ++i)
    worst = std::max(worst, std::fabs(double(a[i]) - b[i]));
  return worst;
}

TEST(FourierTransform, MatchesDirectTransform) {
  for (const int nn : {1, 2, 8, 64}) {
    std::vector<float> data(2 * nn);
    std::vector<std::complex<double>> input(nn);
    for (int k = 0; k < nn; ++k) {
      input[k] = {std::cos(1.3 * k) + 0.25 * k, std::sin(0.7 * k * k)};
      data[2 * k] = float(input[k].real());
      data[2 * k + 1] = float(input[k].imag());
    }
    for (const int isign : {1, -1}) {
      std::vector<float> work = data;
      ASSERT_TRUE(FourierTransform(work, nn, isign));
      for (int f = 0; f < nn; ++f) {
        std::complex<double> expected = 0;
        for (int k = 0; k < nn; ++k)
          expected += input[k] * std::polar(1.0, isign * 2 * std::numbers::pi * f * k / nn);
        EXPECT_NEAR(work[2 * f], expected.real(), 1e-4 * nn) << "nn " << nn << " f " << f;
        EXPECT_NEAR(work[2 * f + 1], expected.imag(), 1e-4 * nn) << "nn " << nn << " f " << f;
      }
    }
  }
}

TEST(RealFourierTransform, PacksAndInvertsScaledByN) {
  const int n = 16;  // 32 real values
  std::vector<float> data(2 * n);
  for (int k = 0; k < 2 * n; ++k)
    data[k] = float(std::cos(0.4 * k) + 0.1 * k);
  std::vector<float> work = data;
  ASSERT_TRUE(RealFourierTransform(work, n, 1));
  double sum = 0, alternating = 0;
  for (int k = 0; k < 2 * n; ++k) {
    sum += data[k];
    alternating += (k % 2 ? -1.0 : 1.0) * data[k];
  }
  EXPECT_NEAR(work[0], sum, 1e-4);          // frequency 0
  EXPECT_NEAR(work[1], alternating, 1e-4);  // the highest frequency
  ASSERT_TRUE(RealFourierTransform(work, n, -1));
  for (int k = 0; k < 2 * n; ++k)
    EXPECT_NEAR(work[k], n * data[k], 1e-3) << k;
}

TEST(FourierTransform, RejectsBadSizes) {
  std::vector<float> data(24, 1.0f);
  const std::vector<float> before = data;
  EXPECT_FALSE(FourierTransform(data, 12, 1));  // not a power of two
  EXPECT_FALSE(FourierTransform(data, 16, 1));  // data too short
  EXPECT_FALSE(FourierTransform(data, 0, 1));
  EXPECT_FALSE(RealFourierTransform(data, 1, 1));  // fewer than 4 reals
  EXPECT_FALSE(RealFourierTransform(data, 8, 0));  // no direction
  std::vector<float> small(4);
  EXPECT_FALSE(SmoothFFT(small, 4, 3.6f));  // needs 8
  EXPECT_FALSE(SmoothFFT(small, 1, 0));     // a single value has no line
  EXPECT_EQ(data, before);
}

TEST(SmoothChannel, LevelZeroKeepsValues) {
  std::vector<float> values = Noisy(300);
  const std::vector<float> before = values;
  EXPECT_EQ(SmoothChannel(values, 0), 0);
  EXPECT_LT(MaxAbsDifference(values, before), 1e-3);
}

TEST(SmoothChannel, ConstantAndStraightStretchesStayAtEveryLevel) {
  for (int level = 0; level <= 5; ++level) {
    std::vector<float> constant(200, 42.5f);
    EXPECT_EQ(SmoothChannel(constant, level), 0);
    for (const float v : constant)
      ASSERT_NEAR(v, 42.5f, 1e-4) << "level " << level;
    std::vector<float> line(200);
    for (size_t i = 0; i < line.size(); ++i)
      line[i] = 3.0f + 0.5f * i;
    const std::vector<float> before = line;
    SmoothChannel(line, level);
    EXPECT_LT(MaxAbsDifference(line, before), 1e-3) << "level " << level;
  }
}

TEST(SmoothChannel, RemovesRippleKeepsShape) {
  std::vector<float> values = Noisy(1000);
  const std::vector<float> clean = Noisy(1000, 0);
  const double before = MaxAbsDifference(values, clean);
  SmoothChannel(values, 5);
  // Index 0 is never smoothed; compare the rest.
  values[0] = clean[0];
  EXPECT_LT(MaxAbsDifference(values, clean), before / 4);
}

TEST(SmoothChannel, StretchShorterThanWindowStays) {
  // Level 3 is a window of 5.4 points: 5 values stay, 6 are smoothed.
  for (const size_t length : {5u, 6u}) {
    std::vector<float> values{kNoValue};
    for (size_t i = 0; i < length; ++i)
      values.push_back(i % 2 ? 10.0f : 20.0f);
    const std::vector<float> before = values;
    EXPECT_EQ(SmoothChannel(values, 3), 0);
    EXPECT_EQ(values == before, length == 5) << length;
  }
}

TEST(SmoothChannel, GapsSplitStretches) {
  std::vector<float> first = Noisy(120), second = Noisy(80, 5);
  std::vector<float> values{7.0f};  // index 0, never smoothed
  values.insert(values.end(), first.begin(), first.end());
  values.push_back(kNoValue);
  values.push_back(kNoValue);
  values.insert(values.end(), second.begin(), second.end());
  values.push_back(kNoValue);
  EXPECT_EQ(SmoothChannel(values, 4), 0);

  // Each stretch comes out as if smoothed alone.
  std::vector<float> alone1{0.0f}, alone2{0.0f};
  alone1.insert(alone1.end(), first.begin(), first.end());
  alone2.insert(alone2.end(), second.begin(), second.end());
  SmoothChannel(alone1, 4);
  SmoothChannel(alone2, 4);
  EXPECT_EQ(values[0], 7.0f);
  EXPECT_TRUE(std::equal(alone1.begin() + 1, alone1.end(), values.begin() + 1));
  EXPECT_EQ(values[121], kNoValue);
  EXPECT_EQ(values[122], kNoValue);
  EXPECT_TRUE(std::equal(alone2.begin() + 1, alone2.end(), values.begin() + 123));
  EXPECT_EQ(values.back(), kNoValue);
  EXPECT_NE(std::vector<float>(values.begin() + 1, values.begin() + 121), first);
}

TEST(SmoothChannel, TooLongStretchIsReportedAndKept) {
  // A stretch (from index 1) plus 2 x 9 window points must stay below the largest transform
  // of 16384: 16375 values do not fit, nor does 16366; 16365 does.
  for (const size_t length : {16375u, 16366u}) {
    std::vector<float> values = Noisy(length + 1);
    const std::vector<float> before = values;
    EXPECT_EQ(SmoothChannel(values, 5), kSmoothTooLong) << length;
    EXPECT_EQ(values, before);
  }
  std::vector<float> values = Noisy(16366);
  const std::vector<float> before = values;
  EXPECT_EQ(SmoothChannel(values, 5), 0);
  EXPECT_NE(values, before);
}

TEST(SmoothChannel, LevelOutsideRangeIsClamped) {
  std::vector<float> high = Noisy(200), five = high, low = Noisy(200), zero = low;
  SmoothChannel(high, 99);
  SmoothChannel(five, 5);
  SmoothChannel(low, -3);
  SmoothChannel(zero, 0);
  EXPECT_EQ(high, five);
  EXPECT_EQ(low, zero);
}

}  // namespace
