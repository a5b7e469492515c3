#include "GphScaleData.h"

#include <gtest/gtest.h>

#include <memory>

TEST(GphScaleData, ReadsTheDataSetAndResetsItsChannels) {
  TGphData data;
  data.FXChannel = 1;
  data.FYChannel[0] = 13;
  data.FYChannel[1] = kAirFuelChannelID;
  auto run = std::make_unique<TRunData>();
  run->AddChannel(ctPower, 9, "Power");
  run->AddChannel(ctTorque, 10, "Torque");
  TChannel& power = *run->FChannels[0];
  power.FAxis = 1;
  power.FYMax = 250;
  power.FYMin = 20;
  power.FXMax = 12;
  power.FXMin = 2;
  power.FXOffset = 1.5f;
  data.AddRun(std::move(run));

  TGphScaleData scaleData(data, 1);
  EXPECT_EQ(scaleData.NumRuns(), 1);
  EXPECT_TRUE(scaleData.AxisInUse(1));
  EXPECT_FALSE(scaleData.AxisInUse(2));
  EXPECT_FALSE(scaleData.AxisInUse(9));
  EXPECT_EQ(scaleData.AxisChannel(0), 1);
  EXPECT_EQ(scaleData.AxisChannel(1), 13);
  EXPECT_TRUE(ShowsAirFuel(scaleData, 2));
  EXPECT_EQ(scaleData.AxisChannel(7), 0);

  int visited = 0;
  scaleData.ForEachChannel([&visited](TChannel&) { ++visited; });
  EXPECT_EQ(visited, 2);

  TAxisState state;
  ResetScale(state, TScaleContext(scaleData));
  EXPECT_EQ(state.FAxisMax[1], 250);
  EXPECT_EQ(state.FAxisMin[1], 20);
  EXPECT_EQ(state.FAxisMax[0], 12);
  EXPECT_EQ(power.FXOffset, 0);
}
