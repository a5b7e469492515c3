#include "ComputationOptions.h"

#include <gtest/gtest.h>

#include <limits>

#include "Registry.h"
#include "TestSupport.h"

namespace {

constexpr char kDataKey[] = "\\Software\\Halvorn Research Inc.\\Benchlog7\\Data32";
constexpr char kCompanyKey[] = "\\Software\\Halvorn Research Inc.\\Data32";

TEST(ComputationOptions, AbsentValuesGetTheAcquisitionDefaults) {
  tw_test::TTempDir dir;
  TRegistry registry(dir.Path());
  TComputationOptions options;
  LoadComputationOptions(registry, options);
  EXPECT_DOUBLE_EQ(options.FDriftTolerance, 0.0075);
  EXPECT_DOUBLE_EQ(options.FMinGearTime, 0.75);
  EXPECT_DOUBLE_EQ(options.FGapFillTime, 0.125);
  EXPECT_FALSE(options.FClutchPower);
  // The defaults were written for the acquisition program; the clutch switch was not.
  ASSERT_TRUE(registry.OpenKey(kDataKey, false));
  EXPECT_DOUBLE_EQ(*registry.ReadFloat("Max Drift Rate"), 0.75);
  EXPECT_DOUBLE_EQ(*registry.ReadFloat("Min Gear Time"), 0.75);
  EXPECT_DOUBLE_EQ(*registry.ReadFloat("Max RPM Fill Time"), 0.125);
  ASSERT_TRUE(registry.OpenKey(kCompanyKey, false));
  EXPECT_FALSE(registry.ValueExists("Clutch Power"));
}

TEST(ComputationOptions, StoredValuesAndTheClutchSwitch) {
  struct TCase {
    int32_t clutch;
    bool on;
  };
  for (const TCase c : {TCase{1, true}, TCase{0, false}, TCase{2, false}}) {
    tw_test::TTempDir dir;
    TRegistry registry(dir.Path());
    ASSERT_TRUE(registry.OpenKey(kDataKey, true));
    registry.WriteFloat("Max Drift Rate", 2.0);
    registry.WriteFloat("Min Gear Time", 1.5);
    ASSERT_TRUE(registry.OpenKey(kCompanyKey, true));
    registry.WriteInteger("Clutch Power", c.clutch);
    registry.CloseKey();
    TComputationOptions options;
    LoadComputationOptions(registry, options);
    EXPECT_DOUBLE_EQ(options.FDriftTolerance, 0.02);
    EXPECT_DOUBLE_EQ(options.FMinGearTime, 1.5);
    EXPECT_DOUBLE_EQ(options.FGapFillTime, 0.125);
    EXPECT_EQ(options.FClutchPower, c.on) << c.clutch;
  }
}

TEST(ComputationOptions, UnusableValuesKeepThePreviousOption) {
  tw_test::TTempDir dir;
  TRegistry registry(dir.Path());
  ASSERT_TRUE(registry.OpenKey(kDataKey, true));
  registry.WriteString("Max Drift Rate", "0.75");  // a text, not a float
  registry.WriteFloat("Min Gear Time", std::numeric_limits<double>::quiet_NaN());
  registry.WriteFloat("Max RPM Fill Time", -3);
  ASSERT_TRUE(registry.OpenKey(kCompanyKey, true));
  registry.WriteString("Clutch Power", "1");
  registry.CloseKey();
  TComputationOptions options;
  LoadComputationOptions(registry, options);
  const TComputationOptions before;
  EXPECT_EQ(options.FDriftTolerance, before.FDriftTolerance);
  EXPECT_EQ(options.FMinGearTime, before.FMinGearTime);
  EXPECT_EQ(options.FGapFillTime, before.FGapFillTime);
  EXPECT_FALSE(options.FClutchPower);
}

}  // namespace
