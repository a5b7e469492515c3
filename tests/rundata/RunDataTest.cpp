#include "RunData.h"

#include <gtest/gtest.h>

TEST(RunData, ChannelOrdinalsCountSameType) {
  TRunData run;
  EXPECT_EQ(run.AddChannel(ctTime, 1, "Time"), 0u);
  run.AddChannel(ctPower, 9, "Power");
  run.AddChannel(ctSpeed, 2, "Speed");
  run.AddChannel(ctPower, 9, "Power");
  EXPECT_EQ(run.FChannels[1]->FID, 13u);
  EXPECT_EQ(run.FChannels[3]->FID, 65549u);
  EXPECT_EQ(run.FChannels[3]->FUnitKind, 9u);
  EXPECT_EQ(run.FChannels[3]->FName, "Power");
}

TEST(RunData, ConstructionDefaults) {
  TRunData run;
  EXPECT_EQ(run.FCleanRPM, 1);
  EXPECT_EQ(run.FCF, 1.0);
  EXPECT_EQ(run.FFlags, 0u);
  EXPECT_EQ(run.ChannelCount(), 0u);
  for (auto* shown : run.FShown) EXPECT_EQ(shown, nullptr);
}

TEST(RunData, SharedGearsOutliveTheirChannels) {
  // Y channels share their X channel's segments; dropping the channels in any order must free the
  // segments exactly once (checked by the sanitizer build).
  auto run = std::make_unique<TRunData>();
  run->AddChannel(ctRPM, 5, "RPM");
  run->AddChannel(ctPower, 9, "Power");
  run->ResetGears(*run->FChannels[0], 2);
  run->FChannels[1]->FGears = run->FChannels[0]->FGears;
  EXPECT_EQ(run->FChannels[1]->FGears->Count(), 2u);
  EXPECT_EQ(run->FChannels[1]->FGears->FRatio[1], 1.0f);
  run->SetChannelCount(0);
  EXPECT_EQ(run->ChannelCount(), 0u);
  run.reset();
}

TEST(RunData, SeriesAppendWithRoom) {
  TRunData run;
  EXPECT_EQ(run.AddDrum(5), 0u);
  EXPECT_EQ(run.AddDrum(0), 1u);
  EXPECT_EQ(run.FDrums[0]->Count(), 5u);
  EXPECT_EQ(run.FDrums[0]->FRaw.size(), 5u);
  EXPECT_EQ(run.FDrums[1]->Count(), 0u);
  EXPECT_EQ(run.AddRPM(3), 0u);
  EXPECT_EQ(run.FRPMs[0]->FValue.size(), 3u);
  EXPECT_EQ(run.AddInt(7), 0u);
  EXPECT_EQ(run.FInts[0]->Count(), 7u);
}
