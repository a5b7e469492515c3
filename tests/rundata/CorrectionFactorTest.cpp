#include "CorrectionFactor.h"

#include <gtest/gtest.h>

#include "RunData.h"

namespace {

TEST(CorrectionFactor, TableHoldsTheSixStandards) {
  const TCorrectionFactorTable table = LoadCorrectionFactors();
  ASSERT_EQ(table.size(), 6u);
  const char* names[] = {"Uncorrected", "SAE", "DIN", "EEC", "STD", "JIS"};
  for (int i = 0; i < 6; ++i) {
    EXPECT_EQ(table[i].FIndex, i);
    EXPECT_EQ(table[i].FName, names[i]);
    EXPECT_EQ(table[i].FAddend, 0);
  }
  EXPECT_EQ(table[2].FUseDryPressure, 0);  // DIN works on the barometric pressure
  EXPECT_EQ(table[3].FPressureExponent, 1.2);
}

struct TCFCase {
  const char* name;
  int32_t index;
  double baro, vapor, celsius;
  double expected;
  bool corrected;  // kFlagCorrected afterwards
};

TEST(CorrectionFactor, ComputeCFByConditions) {
  const TCorrectionFactorTable table = LoadCorrectionFactors();
  const TCFCase cases[] = {
      // SAE at its own reference: 29.235 inHg dry air at 25 °C.
      {"SAE reference", 1, 29.735, 0.5, 25, 1.0, true},
      {"SAE warm, humid", 1, 29.0, 0.6, 35, 1.054906258526714, true},
      // An M301 run without temperature bytes has 0 °C.
      {"SAE at 0 C", 1, 29.235, 0, 0, 0.9494192841735469, true},
      // DIN ignores the vapour pressure.
      {"DIN without vapour", 2, 29.0, 5.0, 20, 1.0315137931034484, true},
      {"EEC", 3, 28.0, 0, 30, 1.0637263044240577, true},
      // "Uncorrected" is 1.0 yet marks the run as corrected.
      {"none", 0, 29.5, 0.4, 20, 1.0, true},
      {"no pressure recorded", 1, 0, 0, 25, 1.0, false},
      {"dry pressure at the limit", 1, 19.5, 0.5, 25, 1.0, false},
      // Damaged conditions must not turn into NaN or a sign flip of every power curve.
      {"below absolute zero", 1, 29.235, 0, -300, 1.0, false},
      {"absurd pressure", 1, 1e6, 0, 25, 1.0, false},
  };
  for (const TCFCase& c : cases) {
    SCOPED_TRACE(c.name);
    TRunData run;
    run.FBaro = c.baro;
    run.FVapor = c.vapor;
    run.FTemp = c.celsius;
    run.FFlags = c.corrected ? 0 : kFlagCorrected | kFlagChecksumMismatch;
    EXPECT_NEAR(ComputeCF(table, c.index, run), c.expected, 1e-12);
    EXPECT_EQ((run.FFlags & kFlagCorrected) != 0, c.corrected);
  }
}

TEST(CorrectionFactor, IndexOutsideTableLeavesFlags) {
  const TCorrectionFactorTable table = LoadCorrectionFactors();
  for (const int32_t index : {-1, 6, 1000}) {
    TRunData run;
    run.FBaro = 29.9;
    run.FFlags = kFlagCorrected;
    EXPECT_EQ(ComputeCF(table, index, run), 1.0);
    EXPECT_EQ(run.FFlags, kFlagCorrected);
  }
  TRunData run;
  run.FBaro = 29.9;
  EXPECT_EQ(ComputeCF(TCorrectionFactorTable{}, 0, run), 1.0);
  EXPECT_EQ(run.FFlags, 0u);
}

}  // namespace
