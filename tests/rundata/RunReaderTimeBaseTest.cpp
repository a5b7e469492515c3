// After the data readers: the time base, the channel list, clutch-power availability, and the
// saturation vapour pressure the conditions use.

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <memory>
#include <tuple>

#include "RunReaderFixtures.h"
#include "TestSupport.h"

using namespace reader_test;

namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();

void AddSeriesEndingAt(TRunData& run, double end) {
  TIntData& series = *run.FInts[run.AddInt(2)];
  series.FTime = {0, end};
}

// A one-drum run with these speeds; acceleration i is the sign of the step from speed i to i+1.
// Indices in `absent` get no acceleration.
std::unique_ptr<TRunData> DrumWithSpeeds(const std::vector<double>& speeds,
                                         std::vector<std::size_t> absent = {}) {
  auto run = std::make_unique<TRunData>();
  TDrumData& drum = *run->FDrums[run->AddDrum(static_cast<uint32_t>(speeds.size()))];
  drum.FSpeed = speeds;
  for (std::size_t i = 1; i + 1 < speeds.size(); ++i)
    drum.FAccel[i] = speeds[i + 1] - speeds[i];
  for (std::size_t i : absent)
    drum.FAccel[i] = kInvalidMarker;
  return run;
}

// from, from+step, ... up to and including to.
std::vector<double> Ramp(double from, double to, double step) {
  std::vector<double> values;
  for (double v = from; step > 0 ? v <= to : v >= to; v += step)
    values.push_back(v);
  return values;
}

// 400 s of air/fuel at 50 Hz.
TSynthAnalog AirFuel400s() {
  TSynthAnalog analog;
  analog.FSensorID = 260;
  analog.FRate = 50;
  analog.FSamples.assign(20001, 1000);
  return analog;
}

std::vector<double> Join(std::initializer_list<std::vector<double>> parts) {
  std::vector<double> all;
  for (const auto& part : parts)
    all.insert(all.end(), part.begin(), part.end());
  return all;
}

}  // namespace

TEST(TimeBase, IntervalDoublesUntilEverySeriesFits) {
  const struct {
    std::vector<double> FEnds;
    double FDT;
    uint32_t FNumPoints;
  } cases[] = {
      {{}, 0.02, 0},
      {{10, 400, 20}, 0.04, 10000},  // the longest series decides
      {{327.67}, 0.02, 16383},       // the most points a channel can have
      {{327.69}, 0.04, 8192},
      {{-5}, 0.02, 0},
      // Ends that are no time at all (a rate or tick of NaN or infinity in the file) are left
      // out instead of doubling forever or making absurd channels.
      {{std::nan(""), 10}, 0.02, 500},
      {{kInf, -kInf, 10}, 0.02, 500},
  };
  for (const auto& c : cases) {
    TRunData run;
    for (double end : c.FEnds)
      AddSeriesEndingAt(run, end);
    BuildTimeBase(run);
    EXPECT_DOUBLE_EQ(run.FDT, c.FDT) << c.FEnds.size() << " series";
    EXPECT_EQ(run.FNumPoints, c.FNumPoints) << c.FEnds.size() << " series";
  }

  // Even the largest finite time ends in a bounded number of points.
  TRunData huge;
  AddSeriesEndingAt(huge, std::numeric_limits<double>::max());
  BuildTimeBase(huge);
  EXPECT_TRUE(std::isfinite(huge.FDT));
  EXPECT_GE(huge.FNumPoints, 8192u);
  EXPECT_LT(huge.FNumPoints, 16384u);
}

TEST(TimeBase, UntimedDrumAndEngineEndsDoNotCount) {
  TRunData run;
  TDrumData& drum = *run.FDrums[run.AddDrum(3)];
  drum.FMidTime = {kInvalidMarker, 50, kInvalidMarker};
  TRPMData& rpm = *run.FRPMs[run.AddRPM(2)];
  rpm.FTime = {100, -3.5e38};  // below the lowest float
  run.AddDrum(0);              // a drum without samples
  AddSeriesEndingAt(run, 10);
  BuildTimeBase(run);
  EXPECT_EQ(run.FNumPoints, 500u);
}

TEST(TimeBase, LoadedRunsGetTheirTimeBase) {
  // A run of 400 s would need 20000 points at 0.02 s.
  TRunData run;
  ASSERT_EQ(Load(MHRun({EvenDrum(20, 5000), AirFuel400s()}), run), 0);
  EXPECT_DOUBLE_EQ(run.FDT, 0.04);
  EXPECT_EQ(run.FNumPoints, 10000u);
}

TEST(ChannelList, OrderAndIdentifiers) {
  TRunData run;
  run.AddDrum(0);
  run.AddDrum(0);
  run.AddRPM(0);
  for (int32_t sensor : {260, 300, 1028})
    run.FInts[run.AddInt(0)]->FSensorID = sensor;
  auto boost = std::make_unique<TFloatData>();
  boost->FChannelType = 7;
  boost->FName = "Boost";
  run.FFloats.push_back(std::move(boost));
  TComputationOptions options;
  options.FClutchPower = true;  // but two drums never give clutch power
  BuildChannelList(run, options);

  const std::vector<std::tuple<std::string, uint32_t, uint32_t>> expected = {
      {"Time", 1, 1},      {"Total Power", 12, 9}, {"Total Torque", 20, 10}, {"Power", 13, 9},
      {"Torque", 21, 10},  {"Power", 65549, 9},    {"Torque", 65557, 10},    {"Speed", 2, 2},
      {"Speed", 65538, 2}, {"RPM", 3, 5},          {"RPM", 65539, 5},        {"Gear", 5, 7},
      {"Gear", 65541, 7},  {"Air/Fuel", 4, 6},     {"Air/Fuel", 65540, 6},   {"Boost", 7, 0},
  };
  std::vector<std::tuple<std::string, uint32_t, uint32_t>> actual;
  for (const auto& channel : run.FChannels)
    actual.emplace_back(channel->FName, channel->FID, channel->FUnitKind);
  EXPECT_EQ(actual, expected);
}

TEST(ChannelList, SmallRuns) {
  const auto names = [](const TRunData& run) {
    std::vector<std::string> list;
    for (const auto& channel : run.FChannels)
      list.push_back(channel->FName);
    return list;
  };
  // Engine speed without drums still gets its one RPM channel.
  TRunData engineOnly;
  engineOnly.AddRPM(0);
  BuildChannelList(engineOnly, {});
  EXPECT_EQ(names(engineOnly), (std::vector<std::string>{"Time", "RPM"}));

  // Clutch power needs the option and a pull followed by a coast-down.
  const auto pull = DrumWithSpeeds(Join({{10}, Ramp(10, 30, 1), Ramp(29, 10, -1)}));
  TComputationOptions options;
  BuildChannelList(*pull, options);
  EXPECT_EQ(names(*pull), (std::vector<std::string>{"Time", "Power", "Speed"}));
  options.FClutchPower = true;
  BuildChannelList(*pull, options);
  EXPECT_EQ(names(*pull), (std::vector<std::string>{"Time", "Power", "Clutch Power", "Speed"}));
}

TEST(ClutchPowerAvailable, NeedsARiseAndALongFall) {
  const std::vector<double> rise = Ramp(10, 30, 1);
  const struct {
    const char* FName;
    std::unique_ptr<TRunData> FRun;
    bool FExpected;
  } cases[] = {
      {"pull and coast-down", DrumWithSpeeds(Join({{10}, rise, Ramp(29, 10, -1), {10, 10}})), true},
      {"rise too small", DrumWithSpeeds(Join({{10}, Ramp(10, 14, 1), Ramp(13, 0, -1)})), false},
      {"fall of five samples", DrumWithSpeeds(Join({{10}, rise, Ramp(24, 4, -5), {4, 4}})), false},
      {"fall of six samples", DrumWithSpeeds(Join({{10}, rise, Ramp(25, 0, -5), {0, 0}})), true},
      {"fall too small", DrumWithSpeeds(Join({{10}, rise, Ramp(29.6, 26, -0.4)})), false},
      // Absent accelerations cut the fall into stretches too short to count.
      {"fall with gaps",
       DrumWithSpeeds(Join({{10}, rise, Ramp(29, 10, -1), {10}}), {24, 28, 32, 36}), false},
      {"no rise", DrumWithSpeeds(Ramp(30, 0, -1)), false},
      {"single sample", DrumWithSpeeds({10}), false},
  };
  for (const auto& c : cases)
    EXPECT_EQ(ClutchPowerAvailable(*c.FRun), c.FExpected) << c.FName;

  const auto twoDrums = DrumWithSpeeds(Join({{10}, rise, Ramp(29, 10, -1)}));
  twoDrums->AddDrum(0);
  EXPECT_FALSE(ClutchPowerAvailable(*twoDrums));
}

TEST(SaturationVaporPressure, KnownPoints) {
  EXPECT_REL_NEAR(SaturationVaporPressure(20), 0.6918, 1e-4);
  EXPECT_REL_NEAR(SaturationVaporPressure(100), 29.92, 2e-3);  // water boils at one atmosphere
}
