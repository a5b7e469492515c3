#include "ChannelCompute.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numbers>

#include "DllData.h"
#include "RunBuilders.h"
#include "TestSupport.h"

namespace {

using namespace tw_test;

// A steady pull: road speed 10 + 2t ft/s, engine speed 100 rpm per ft/s, air/fuel 12 + 0.1t.
double Speed(double t) {
  return 10 + 2 * t;
}
double Accel(double) {
  return 2;
}
double EngineRPM(double t) {
  return 100 * Speed(t);
}
double AirFuel(double t) {
  return 12 + 0.1 * t;
}
// The drum force of AddTestDrum's drum: (50 + 10) slugs x a plus its losses.
double Force(double t) {
  const double v = Speed(t);
  return 60 * Accel(t) + 0.001 * v * v + 0.1 * v + 5;
}

class ChannelCompute : public ::testing::Test {
 protected:
  void SetUp() override {
    data.FUnits = BaseUnits();
    data.FCFs = LoadCorrectionFactors();
    AddTestDrum(run, 1001, 0.01, Speed, Accel);
    AddTestEngine(run, 1001, 0.01, EngineRPM);
    AddTestAnalog(run, 260, 501, 0.02, AirFuel);
    SetTimeBase(run, 450);
  }

  // A channel of the run's kind, computed on its own.
  TChannel Compute(uint32_t id, uint32_t unitKind, uint16_t expectedCode = 0) {
    TChannel channel;
    channel.FID = id;
    channel.FUnitKind = unitKind;
    EXPECT_EQ(ComputeChannel(data, run, channel), expectedCode) << "channel " << id;
    return channel;
  }

  TDllData data;
  TRunData run;
};

TEST_F(ChannelCompute, ValuesFollowTheSeries) {
  const double cf = 1.05;
  run.FCF = cf;
  struct TCase {
    uint32_t type;
    uint32_t unitKind;
    double (*expected)(double t, double cf);
  };
  const TCase cases[] = {
      {ctTime, ukTime, [](double t, double) { return t; }},
      {ctSpeed, ukSpeed, [](double t, double) { return Speed(t); }},
      {ctRPM, ukEngineSpeed, [](double t, double) { return EngineRPM(t) * 0.001; }},
      {ctAirFuel, ukAirFuel, [](double t, double) { return AirFuel(t + 0.175); }},
      {ctGear, ukGearRatio, [](double, double) { return 100.0; }},
      {ctPower, ukPower, [](double t, double c) { return Force(t) * c * Speed(t) / 550; }},
      {ctTotalPower, ukPower, [](double t, double c) { return Force(t) * c * Speed(t) / 550; }},
      {ctTorque, ukTorque,
       [](double t, double c) {
         return Force(t) * c * Speed(t) * 60 / (2 * std::numbers::pi * EngineRPM(t));
       }},
      {ctTotalTorque, ukTorque,
       [](double t, double c) {
         return Force(t) * c * Speed(t) * 60 / (2 * std::numbers::pi * EngineRPM(t));
       }},
  };
  for (const TCase& c : cases) {
    const TChannel channel = Compute(c.type, c.unitKind);
    SCOPED_TRACE(c.type);
    ASSERT_EQ(channel.NumPoints(), 450u);
    for (const uint32_t k : {5u, 150u, 440u}) {
      const double t = k * 0.02;
      EXPECT_REL_NEAR(channel.FY[k], c.expected(t, cf), 1e-5) << "t " << t;
    }
    EXPECT_TRUE(std::isfinite(channel.FYMax));
    EXPECT_LE(channel.FYMin, channel.FYMax);
  }
}

TEST_F(ChannelCompute, PointsNeedTwoSamplesBeforeAndOneAfter) {
  // Samples from t = 1 s every 0.01 s up to 2 s: the first value needs two samples before it,
  // the last one a sample after it.
  TRunData late;
  AddTestDrum(late, 101, 0.01, Speed, Accel, 1.0);
  SetTimeBase(late, 200);
  const auto first = [](const TChannel& c) {
    return std::find_if(c.FY.begin(), c.FY.end(), [](float v) { return std::isfinite(v); }) -
           c.FY.begin();
  };
  for (const uint32_t type : {ctSpeed, ctPower}) {
    TChannel channel;
    channel.FID = type;
    channel.FUnitKind = type == ctSpeed ? ukSpeed : ukPower;
    ASSERT_EQ(ComputeChannel(data, late, channel), 0);
    EXPECT_EQ(first(channel), 51) << type;       // t = 1.02 s lies after samples 1.00 and 1.01
    EXPECT_TRUE(std::isfinite(channel.FY[99]));  // 1.98 s: 1.99 is not the last sample
    EXPECT_EQ(channel.FY[100], kNoValue);        // 2.00 s: the last sample has no successor
    EXPECT_EQ(channel.FY[150], kNoValue);
  }
}

TEST_F(ChannelCompute, ShortAndMarkedSeriesGiveNoValues) {
  // Series of 0 to 3 samples, and samples that carry the missing-value marker, must neither be
  // read out of range nor interpolated toward the marker.
  for (const size_t samples : {0u, 1u, 2u, 3u}) {
    TRunData tiny;
    AddTestDrum(tiny, samples, 0.01, Speed, Accel);
    AddTestEngine(tiny, samples, 0.01, EngineRPM);
    SetTimeBase(tiny, 10);
    for (const uint32_t type : {ctSpeed, ctRPM, ctGear, ctPower, ctTorque, ctTotalTorque}) {
      TChannel channel;
      channel.FID = type;
      EXPECT_EQ(ComputeChannel(data, tiny, channel), 0) << samples << " " << type;
      EXPECT_EQ(channel.NumPoints(), 0u) << samples << " " << type;
    }
  }
  run.FDrums[0]->FSpeed[300] = kInvalidMarker;
  run.FDrums[0]->FMidTime[300] = kInvalidMarker;
  run.FRPMs[0]->FValue[500] = kInvalidMarker;
  const TChannel speed = Compute(ctSpeed, ukSpeed);
  const TChannel rpm = Compute(ctRPM, ukEngineSpeed);
  EXPECT_EQ(speed.FY[150], kNoValue);  // 3.00 s lies between samples 2.99 and 3.00
  EXPECT_EQ(rpm.FY[250], kNoValue);
  EXPECT_GT(speed.FYMin, 0);  // nothing huge and negative slipped through
  EXPECT_GT(rpm.FYMin, 0);
}

TEST_F(ChannelCompute, EngineSpeedInEachUnit) {
  // 6500 rpm is 6.5 thousands in the base unit.
  TRunData steady;
  AddTestEngine(steady, 200, 0.01, [](double) { return 6500.0; });
  SetTimeBase(steady, 50);
  const struct {
    double multiplier;
    float shown;
  } cases[] = {{1.0, 6.5f}, {10.0, 65}, {100.0, 650}, {1000.0, 6500}, {60.0, 390}};
  for (const auto& c : cases) {
    data.FUnits[ukEngineSpeed].FMultiplier = c.multiplier;
    TChannel channel;
    channel.FID = ctRPM;
    channel.FUnitKind = ukEngineSpeed;
    ASSERT_EQ(ComputeChannel(data, steady, channel), 0);
    EXPECT_FLOAT_EQ(channel.FY[20], c.shown) << c.multiplier;
  }
}

TEST_F(ChannelCompute, AirFuelIsHeldBetweenItsLimits) {
  TRunData mixture;
  AddTestAnalog(mixture, 260, 300, 0.02, [](double t) {
    return t < 2 ? 9.0 : t < 4 ? 13.0 : 20.0;
  });
  SetTimeBase(mixture, 280);
  TChannel af;
  af.FID = ctAirFuel;
  af.FUnitKind = ukAirFuel;
  ASSERT_EQ(ComputeChannel(data, mixture, af), 0);
  EXPECT_EQ(af.FLimitMax, 18);
  EXPECT_EQ(af.FLimitMin, 10);
  EXPECT_EQ(af.FScaleYMax, 18);
  EXPECT_EQ(af.FScaleYMin, 10);
  ASSERT_EQ(FinishChannel(data, af), 0);
  EXPECT_FLOAT_EQ(af.FY[50], 10);   // 9 read at 1.175 s
  EXPECT_FLOAT_EQ(af.FY[150], 13);  // 3.175 s
  EXPECT_FLOAT_EQ(af.FY[250], 18);  // 20
}

TEST_F(ChannelCompute, GearNeedsRoadSpeed) {
  TRunData slow;
  AddTestDrum(
      slow, 500, 0.01, [](double t) { return t < 2   ? 0.05
                                             : t < 3 ? 0.1
                                                     : 5.0; }, Accel);
  AddTestEngine(slow, 500, 0.01, [](double) { return 1000.0; });
  SetTimeBase(slow, 240);
  TChannel gear;
  gear.FID = ctGear;
  gear.FUnitKind = ukGearRatio;
  ASSERT_EQ(ComputeChannel(data, slow, gear), 0);
  EXPECT_EQ(gear.FY[50], kNoValue);   // 0.05 ft/s
  EXPECT_EQ(gear.FY[125], kNoValue);  // 0.1 ft/s exactly
  EXPECT_FLOAT_EQ(gear.FY[200], 200);
}

TEST_F(ChannelCompute, ResultCodes) {
  // The second air/fuel channel finds no series: identifiers in the file are 16-bit.
  AddTestAnalog(run, 1028, 100, 0.02, AirFuel);
  Compute(ChannelID(1, ctAirFuel), ukAirFuel, kCalcMissingSource);
  Compute(ChannelID(1, ctSpeed), ukSpeed, kCalcMissingSource);  // no second drum
  Compute(ChannelID(0, 99), 0, kCalcMissingSource);             // a type nobody computes
  // Narrow-band air/fuel is found when there is no wide-band series.
  run.FInts[0]->FSensorID = 7;
  EXPECT_EQ(Compute(ctAirFuel, ukAirFuel).NumPoints(), 450u);

  // A unit table of 5 units (a short units file): power stays in hp and says so.
  data.FUnits.resize(5);
  const TChannel power = Compute(ctPower, ukPower, kCalcUnitOutsideTable);
  EXPECT_REL_NEAR(power.FY[150], Force(3) * Speed(3) / 550, 1e-5);
  Compute(ChannelID(1, ctPower), ukPower, kCalcUnitOutsideTable | kCalcMissingSource);

  // No usable time base.
  run.FDT = 0;
  Compute(ctTime, ukTime, kCalcMissingSource);
}

TEST_F(ChannelCompute, RatingsClampPowerAndTorque) {
  data.FUnits[ukPower].FMultiplier = 0.7457;  // kW
  run.FDrums[0]->FMaxPower = 5;               // hp; the pull reaches about 8
  TChannel power = Compute(ctPower, ukPower);
  EXPECT_FLOAT_EQ(power.FLimitMax, 5 * 0.7457f);
  EXPECT_FLOAT_EQ(power.FLimitMin, -5 * 0.7457f);
  FinishChannel(data, power);
  EXPECT_FLOAT_EQ(*std::max_element(power.FY.begin(), power.FY.end()), 5 * 0.7457f);
  EXPECT_FLOAT_EQ(power.FY[440], 5 * 0.7457f);
  EXPECT_LT(power.FY[5], 5 * 0.7457f);

  // A rating of 0 or less is no rating: it must not flatten the curve.
  for (const float rating : {0.0f, -10.0f}) {
    run.FDrums[0]->FMaxTorque = rating;
    TChannel torque = Compute(ctTorque, ukTorque);
    EXPECT_EQ(torque.FLimitMax, std::numeric_limits<float>::infinity());
    FinishChannel(data, torque);
    EXPECT_GT(torque.FYMax, torque.FYMin);
  }
}

TEST_F(ChannelCompute, TorqueNeedsEngineSpeed) {
  TRunData stalled;
  AddTestDrum(stalled, 500, 0.01, Speed, Accel);
  AddTestEngine(stalled, 500, 0.01, [](double t) { return t < 2 ? 0.0 : 3000.0; });
  SetTimeBase(stalled, 240);
  TChannel torque;
  torque.FID = ctTorque;
  torque.FUnitKind = ukTorque;
  ASSERT_EQ(ComputeChannel(data, stalled, torque), 0);
  EXPECT_EQ(torque.FY[50], kNoValue);
  EXPECT_TRUE(std::isfinite(torque.FY[150]));
}

TEST_F(ChannelCompute, TotalsAddTheDrums) {
  // A second drum at the same speed with half the mass and no losses.
  TDrumData& second = AddTestDrum(run, 800, 0.01, Speed, Accel);
  second.FMass = 25;
  second.FAddedMass = 5;
  second.FLoss = {0, 0, 0};
  AddTestEngine(run, 1001, 0.01, EngineRPM);
  const double t = 3;
  const double p0 = Force(t) * Speed(t) / 550, p1 = 30 * Accel(t) * Speed(t) / 550;
  const TChannel total = Compute(ctTotalPower, ukPower);
  EXPECT_REL_NEAR(total.FY[150], p0 + p1, 1e-5);
  // Past the second drum's samples the total power holds the first drum only; the total
  // torque needs every drum.
  EXPECT_REL_NEAR(total.FY[420], Force(8.4) * Speed(8.4) / 550, 1e-5);
  const TChannel torque = Compute(ctTotalTorque, ukTorque);
  const double n = EngineRPM(t);
  EXPECT_REL_NEAR(torque.FY[150], (p0 + p1) * 550 * 60 / (2 * std::numbers::pi * n), 1e-5);
  EXPECT_EQ(torque.FY[420], kNoValue);
}

TEST(ClutchPower, AddsTheCoastDownLosses) {
  // A pull from 20 to 70 ft/s at 5 ft/s² and a coast-down back to 20 at -2.5 ft/s²; the
  // drum has no losses of its own, so the coast-down power is all driveline loss.
  TDllData data;
  data.FUnits = BaseUnits();
  TRunData run;
  const auto speed = [](double t) { return t < 10 ? 20 + 5 * t : 70 - 2.5 * (t - 10); };
  const auto accel = [](double t) { return t < 10 ? 5.0 : -2.5; };
  TDrumData& drum = AddTestDrum(run, 3000, 0.01, speed, accel);
  drum.FLoss = {0, 0, 0};
  SetTimeBase(run, 1490);
  TChannel clutch;
  clutch.FID = ctClutchPower;
  clutch.FUnitKind = ukPower;
  ASSERT_EQ(ComputeChannel(data, run, clutch), 0);
  ASSERT_EQ(clutch.NumPoints(), 1490u);
  // At t = 4 s (40 ft/s): wheel 60 x 5 x 40 / 550, coast at 40 ft/s -60 x 2.5 x 40 / 550.
  EXPECT_REL_NEAR(clutch.FY[200], 60 * (5 + 2.5) * 40 / 550.0, 1e-3);
  EXPECT_EQ(clutch.FY[700], kNoValue);  // coasting: no positive wheel power
}

}  // namespace
