#include "GphData.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "RunBuilders.h"
#include "TestSupport.h"

namespace {

using namespace tw_test;

double Speed(double t) {
  return 10 + 2 * t;
}
double Accel(double) {
  return 2;
}

// A run of `drums` drums at 10 + 2t ft/s, each with an engine-speed series, and the channel list
// the reader makes for it.
std::unique_ptr<TRunData> MakeRun(uint32_t drums, bool engine = true) {
  auto run = std::make_unique<TRunData>();
  for (uint32_t d = 0; d < drums; ++d) {
    AddTestDrum(*run, 600, 0.01, Speed, Accel);
    if (engine) AddTestEngine(*run, 600, 0.01, [](double t) { return 100 * Speed(t); });
  }
  SetTimeBase(*run, 280);
  run->AddChannel(ctTime, ukTime, "Time");
  if (drums > 1) {
    run->AddChannel(ctTotalPower, ukPower, "Total Power");
    if (engine) run->AddChannel(ctTotalTorque, ukTorque, "Total Torque");
  }
  for (uint32_t d = 0; d < drums; ++d) {
    run->AddChannel(ctPower, ukPower, "Power");
    if (engine) run->AddChannel(ctTorque, ukTorque, "Torque");
  }
  for (uint32_t d = 0; d < drums; ++d)
    run->AddChannel(ctSpeed, ukSpeed, "Speed");
  if (engine)
    for (uint32_t d = 0; d < drums; ++d)
      run->AddChannel(ctRPM, ukEngineSpeed, "RPM");
  if (engine)
    for (uint32_t d = 0; d < drums; ++d)
      run->AddChannel(ctGear, ukGearRatio, "Gear");
  return run;
}

TChannel* FindChannel(TRunData& run, uint32_t id) {
  for (auto& channel : run.FChannels)
    if (channel->FID == id) return channel.get();
  return nullptr;
}

class GphData : public ::testing::Test {
 protected:
  void SetUp() override {
    data.FUnits = BuildDefaultUnits();
    data.FCFs = LoadCorrectionFactors();
    data.FCFIndex = 0;
    data.FXChannel = ctTime;
    data.BuildUnitNames();
  }

  // The channel-table entries that axis `axis` allows, by identifier.
  std::vector<int32_t> Allowed(int axis) const {
    std::vector<int32_t> ids;
    for (size_t k = 0; k < data.ChannelCount(); ++k)
      if (data.FAxisAllowed[axis][k]) ids.push_back(data.FChannelIDs[k]);
    return ids;
  }

  TGphData data;
};

TEST_F(GphData, ChannelTableWithoutRuns) {
  EXPECT_FALSE(data.BuildChannelNames());  // nothing built yet
  EXPECT_EQ(data.BuildChannelTable(), 0);
  ASSERT_EQ(data.ChannelCount(), 1u);
  EXPECT_EQ(data.FChannelIDs[0], 0);
  EXPECT_EQ(data.ChannelUnit(0), &data.FUnits[0]);
  for (int axis = 0; axis < kAxisCount; ++axis)
    EXPECT_EQ(Allowed(axis), std::vector<int32_t>{0});
  ASSERT_TRUE(data.BuildChannelNames());
  EXPECT_EQ(data.FChannelNames[0], "None");
  EXPECT_EQ(data.FChannelTitles[0], "None");
}

TEST_F(GphData, ChannelTableCollectsIdentifiersOverRuns) {
  data.AddRun(MakeRun(1));
  data.AddRun(MakeRun(2));
  data.BuildChannelTable();
  const std::vector<int32_t> expected{0,  1,  13,    21,    2,     3,     5,
                                      12, 20, 65549, 65557, 65538, 65539, 65541};
  EXPECT_EQ(data.FChannelIDs, expected);
  // The X axis takes time, speed and the first engine speed; a Y axis anything but time. The
  // engine speed of the second drum is on no list.
  EXPECT_EQ(Allowed(0), (std::vector<int32_t>{1, 2, 3, 65538}));
  for (int axis = 1; axis < kAxisCount; ++axis)
    EXPECT_EQ(Allowed(axis),
              (std::vector<int32_t>{0, 13, 21, 2, 3, 5, 12, 20, 65549, 65557, 65538, 65541}));
  EXPECT_EQ(data.ChannelUnit(2)->FKind, ukPower);
}

TEST_F(GphData, ChannelNamesCarryTheUnit) {
  auto run = MakeRun(1);
  run->AddChannel(ctAirFuel, ukAirFuel, "Air/Fuel");
  run->AddChannel(ctPower, 40, "Power");     // a unit kind the table lacks
  run->FChannels.back()->FID = 0x8000 | 77;  // a type with no name
  data.AddRun(std::move(run));
  data.FUnits[ukPower] = BuildAllUnits()[25];  // kW
  data.BuildUnitNames();
  data.BuildChannelTable();
  ASSERT_TRUE(data.BuildChannelNames());
  const auto entry = [&](int32_t id) {
    return std::find(data.FChannelIDs.begin(), data.FChannelIDs.end(), id) -
           data.FChannelIDs.begin();
  };
  EXPECT_EQ(data.FChannelNames[entry(13)], "Power");
  EXPECT_EQ(data.FChannelTitles[entry(13)], "Power (kW)");
  EXPECT_EQ(data.FChannelUnitNames[entry(13)], "kW");
  EXPECT_EQ(data.FChannelTitles[entry(3)], "Engine Speed (RPM x1000)");
  EXPECT_EQ(data.FChannelTitles[entry(4)], "Air/Fuel Ratio (Air/Fuel)");
  EXPECT_EQ(data.FChannelTitles[entry(0x8000 | 77)], "32845");
  EXPECT_EQ(data.FChannelNames[entry(0x8000 | 77)], "32845");
  EXPECT_EQ(data.ChannelUnit(entry(0x8000 | 77)), nullptr);
  EXPECT_EQ(data.FUnits[ukTemperature].FSymbol, "°F");
}

TEST_F(GphData, CalculateDataShowsSlotsAndConvertsConditions) {
  auto run = MakeRun(1);
  run->FTemp = 100;
  run->FBaro = 29.92;
  run->FVapor = 0.5;
  run->FHumidity = 40;
  run->FAltitude = 1000;
  data.AddRun(std::move(run));
  data.FUnits[ukShortLength] = BuildAllUnits()[17];  // m
  data.FUnits[ukPressure] = BuildAllUnits()[29];     // mbar
  data.FYChannel[0] = ctPower;
  data.FYChannel[7] = ctTorque;
  data.FRecalcAll = true;
  EXPECT_EQ(data.CalculateData(), 0);
  EXPECT_FALSE(data.FRecalcAll);

  TRunData& r = *data.Run(0);
  EXPECT_DOUBLE_EQ(r.FTempDisplay, 212);
  EXPECT_NEAR(r.FBaroDisplay, 1013.207, 1e-3);
  EXPECT_EQ(r.FAltitudeDisplay, 305);  // 304.8 m
  EXPECT_EQ(r.FHumidityDisplay, 40);
  EXPECT_EQ(r.FCF, 1.0);
  EXPECT_TRUE(r.FFlags & kFlagCorrected);

  TChannel* power = FindChannel(r, ctPower);
  TChannel* torque = FindChannel(r, ctTorque);
  TChannel* time = FindChannel(r, ctTime);
  EXPECT_EQ(r.FShown[0], power);
  EXPECT_EQ(r.FShown[7], torque);
  EXPECT_EQ(power->FAxis, 1);
  EXPECT_EQ(torque->FAxis, 2);
  EXPECT_EQ(FindChannel(r, ctSpeed)->FAxis, -1);
  EXPECT_EQ(FindChannel(r, ctSpeed)->NumPoints(), 0u);
  ASSERT_EQ(r.FXChannels, std::vector<TChannel*>{time});
  EXPECT_EQ(power->FX, &time->FY);
  EXPECT_EQ(power->NumPoints(), 280u);
  EXPECT_TRUE(data.AxisInUse(0));
  EXPECT_TRUE(data.AxisInUse(2));
  EXPECT_FALSE(data.AxisInUse(3));
  EXPECT_FALSE(data.AxisInUse(-1));
  EXPECT_EQ(data.GetChannelAxis(0, 3), r.FChannels[3]->FAxis);

  // Switching to the SAE factor scales the power.
  const float before = power->FY[100];
  data.FCFIndex = 1;
  data.CalculateData();
  EXPECT_REL_NEAR(power->FY[100], before * r.FCF, 1e-5);
  EXPECT_NE(r.FCF, 1.0);
}

TEST_F(GphData, EngineSpeedAxisTakesTheShownDrums) {
  // Two drums, only the second drum's power shown: its engine speed is the only X channel.
  data.AddRun(MakeRun(2));
  data.FXChannel = ctRPM;
  data.FYChannel[0] = ChannelID(1, ctPower);
  EXPECT_EQ(data.CalculateData(), 0);
  TRunData& two = *data.Run(0);
  TChannel* rpm1 = FindChannel(two, ChannelID(1, ctRPM));
  ASSERT_EQ(two.FXChannels, std::vector<TChannel*>{rpm1});
  EXPECT_EQ(FindChannel(two, ChannelID(1, ctPower))->FX, &rpm1->FY);

  // Three drums with the second and third shown: each drawn over its own drum's engine speed.
  data.ClearRuns();
  data.AddRun(MakeRun(3));
  data.FYChannel[1] = ChannelID(2, ctPower);
  EXPECT_EQ(data.CalculateData(), 0);
  TRunData& three = *data.Run(0);
  TChannel* rpm2 = FindChannel(three, ChannelID(2, ctRPM));
  rpm1 = FindChannel(three, ChannelID(1, ctRPM));
  ASSERT_EQ(three.FXChannels, (std::vector<TChannel*>{rpm1, rpm2}));
  EXPECT_EQ(FindChannel(three, ChannelID(1, ctPower))->FX, &rpm1->FY);
  EXPECT_EQ(FindChannel(three, ChannelID(2, ctPower))->FX, &rpm2->FY);
}

TEST_F(GphData, CalculateDataOrsCodesOverManyRuns) {
  // More runs than the window loads, one of them without engine speed for its torque slot.
  for (int i = 0; i < 14; ++i)
    data.AddRun(MakeRun(1 + i % 2));
  data.AddRun(MakeRun(1, false));
  data.FYChannel[0] = ctPower;
  data.FYChannel[1] = ctTorque;
  data.FUnits.resize(9);  // no power unit: values stay in hp
  EXPECT_EQ(data.CalculateData(), kCalcUnitOutsideTable);
  // The run without engine speed has no torque channel: nothing is missing, only not shown.
  EXPECT_EQ(data.Run(14)->FShown[1], nullptr);
  for (uint32_t r = 0; r < data.NumRuns(); ++r)
    EXPECT_EQ(data.Run(r)->FShown[0]->NumPoints(), 280u) << r;
  // A torque channel whose engine series is gone reports its missing source.
  data.Run(0)->FRPMs.clear();
  EXPECT_EQ(data.CalculateData(), kCalcUnitOutsideTable | kCalcMissingSource);
}

TEST_F(GphData, RunRangesWithinTheSelectedSegment) {
  auto run = MakeRun(1);
  data.AddRun(std::move(run));
  data.FYChannel[0] = ctPower;
  data.FMarginPercent = 10;
  data.CalculateData();
  TRunData& r = *data.Run(0);
  TChannel* power = r.FShown[0];
  for (size_t k = 0; k < power->FY.size(); ++k)
    if (std::isfinite(power->FY[k])) power->FY[k] = k < 100 ? -50.0f : float(k);

  data.CalcRunRanges(0, false);
  EXPECT_EQ(power->FYMax, 279);  // the last point of the segment counts
  EXPECT_EQ(power->FYMin, 100);  // negatives ignored
  EXPECT_FLOAT_EQ(power->FScaleYMax, 279 + 17.9f);
  EXPECT_FLOAT_EQ(power->FScaleYMin, 100 - 17.9f);
  EXPECT_FLOAT_EQ(power->FXMax, 279 * 0.02f);

  data.CalcRunRanges(0, true);
  EXPECT_EQ(power->FYMin, -50);
  EXPECT_FLOAT_EQ(power->FScaleYMin, 100 - 17.9f);  // fixed scales are set once

  // A segment reaching past the data, a stale selection, an unknown run: no reads outside.
  power->FGears->FEnd[0] = 100000;
  data.CalcRunRanges(0, true);
  EXPECT_EQ(power->FYMax, 279);
  power->FGears->FSelected = 5;
  power->FYMax = 1;
  data.CalcRunRanges(0, true);
  EXPECT_EQ(power->FYMax, 1);
  data.CalcRunRanges(7, true);
}

TEST_F(GphData, RunRangesDefaultsAndFixedAirFuel) {
  auto run = MakeRun(1);
  AddTestAnalog(*run, 260, 300, 0.02, [](double) { return 13.0; });
  run->AddChannel(ctAirFuel, ukAirFuel, "Air/Fuel");
  data.AddRun(std::move(run));
  data.FYChannel[0] = ctPower;
  data.FYChannel[1] = ctAirFuel;
  data.CalculateData();
  TRunData& r = *data.Run(0);
  for (float& v : r.FShown[0]->FY)
    v = kNoValue;
  for (float& v : r.FShown[1]->FY)
    v = 15;
  data.CalcRunRanges(0, false);
  EXPECT_EQ(r.FShown[0]->FYMax, 100);
  EXPECT_EQ(r.FShown[0]->FYMin, 0);
  EXPECT_EQ(r.FShown[0]->FXMax, r.FXChannels[0]->FYMax);
  // The first air/fuel channel keeps its computed range and its fixed scale.
  EXPECT_EQ(r.FShown[1]->FYMax, 13);
  EXPECT_EQ(r.FShown[1]->FYMin, 13);
  EXPECT_EQ(r.FShown[1]->FScaleYMax, 18);
  EXPECT_EQ(r.FShown[1]->FScaleYMin, 10);
  EXPECT_EQ(r.FShown[1]->FXMax, r.FXChannels[0]->FYMax);
}

TEST_F(GphData, DataRanges) {
  data.CalcDataRanges();
  for (int axis = 0; axis < kAxisCount; ++axis) {
    EXPECT_EQ(data.GetDataMin(axis), 0);
    EXPECT_EQ(data.GetDataMax(axis), 100);
  }
  EXPECT_FLOAT_EQ(data.FMinXStep, 0.01f);

  data.AddRun(MakeRun(1));
  data.AddRun(MakeRun(1));
  data.FYChannel[0] = ctPower;
  data.FYChannel[8] = ctSpeed;  // axis 3
  data.CalculateData();
  for (uint32_t r = 0; r < 2; ++r)
    data.CalcRunRanges(r, false);
  data.Run(1)->FShown[0]->FYMax = 1000;
  data.CalcDataRanges();
  EXPECT_EQ(data.GetDataMax(1), 1000);
  EXPECT_EQ(data.GetDataMax(3), data.Run(0)->FShown[8]->FYMax);
  EXPECT_FLOAT_EQ(data.GetDataMax(0), 279 * 0.02f);
  EXPECT_EQ(data.GetDataMax(2), 100);  // nothing on axis 2
  EXPECT_EQ(data.GetDataMax(7), 0);
  EXPECT_EQ(data.GetDataMin(-1), 0);
}

TEST_F(GphData, RunListOperations) {
  int cleared = 0;
  data.OnClearRuns = [&](TGphData& sender) {
    EXPECT_EQ(&sender, &data);
    EXPECT_EQ(sender.NumRuns(), 3u);  // raised before the runs go
    ++cleared;
  };
  EXPECT_FALSE(data.DeleteRun(0));
  for (int i = 0; i < 3; ++i)
    data.AddRun(MakeRun(1 + i));
  const TRunData* last = data.Run(2);
  EXPECT_EQ(data.NumChan(1), data.Run(1)->ChannelCount());
  EXPECT_EQ(data.NumChan(3), 0u);
  EXPECT_EQ(data.NumPoints(0, 99), 0u);
  EXPECT_NE(data.GetRunPen(0, 5), nullptr);
  EXPECT_EQ(data.GetRunPen(0, 6), nullptr);
  EXPECT_EQ(data.GetRunPen(3, 0), nullptr);
  EXPECT_EQ(data.GetChannelAxis(5, 0), -1);
  EXPECT_FALSE(data.DeleteRun(3));
  EXPECT_TRUE(data.DeleteRun(1));
  EXPECT_EQ(data.NumRuns(), 2u);
  EXPECT_EQ(data.Run(1), last);
  data.AddRun(MakeRun(1));
  data.ClearRuns();
  EXPECT_EQ(cleared, 1);
  EXPECT_EQ(data.NumRuns(), 0u);
  EXPECT_FALSE(data.AxisInUse(0));
}

}  // namespace
