// CalculateData over the most a user can load: 12 runs of 16383 points, two rollers with engine
// speed and air/fuel, every channel shown, smoothing 5.

#include <benchmark/benchmark.h>

#include <cmath>
#include <memory>

#include "GphData.h"

namespace {

constexpr uint32_t kPoints = 16383;  // the most points a channel has
constexpr double kDT = 0.02;
constexpr double kSampleStep = 0.01;  // one drum and engine sample every 10 ms
constexpr size_t kSamples = 32768;    // 327.68 s
constexpr double kPeriod = 81.9;      // four pulls fill the run

// One pull, repeated: steady in first gear, through first gear, a shift, through second gear,
// a coast-down with the engine at idle. Road speed (ft/s), its derivative and engine rpm.
struct TPullPoint {
  double speed, accel, rpm;
};

TPullPoint PullAt(double t) {
  const double tau = std::fmod(t, kPeriod);
  if (tau < 2) return {20, 0, 1600};
  if (tau < 32) return {20 + 2 * (tau - 2), 2, 80 * (20 + 2 * (tau - 2))};
  if (tau < 32.5) return {80, 0, 6400 - 6400 * (tau - 32)};
  if (tau < 70) return {80 + 2 * (tau - 32.5), 2, 40 * (80 + 2 * (tau - 32.5))};
  return {155 - 5 * (tau - 70), -5, 1000};
}

std::unique_ptr<TRunData> MakeRun(int seed) {
  auto run = std::make_unique<TRunData>();
  for (int roller = 0; roller < 2; ++roller) {
    TDrumData& drum = *run->FDrums[run->AddDrum(kSamples)];
    TRPMData& engine = *run->FRPMs[run->AddRPM(kSamples)];
    drum.FMass = roller == 0 ? 75.0f : 60.0f;
    drum.FLoss = {6.9669e-05, 0.003580803, 1.312142606};
    for (size_t i = 0; i < kSamples; ++i) {
      const double t = i * kSampleStep;
      const TPullPoint p = PullAt(t);
      // A little deterministic scatter, different per run, as measured data has.
      const double scatter = 1 + 1e-3 * (((i * 7919 + seed * 104729) % 13) / 6.0 - 1);
      drum.FTime[i] = drum.FMidTime[i] = t;
      drum.FSpeed[i] = p.speed * scatter;
      drum.FAccel[i] = p.accel * scatter;
      engine.FTime[i] = t;
      engine.FValue[i] = p.rpm * scatter;
    }
  }
  TIntData& mixture = *run->FInts[run->AddInt(kSamples / 2)];
  mixture.FSensorID = 260;
  for (size_t i = 0; i < kSamples / 2; ++i) {
    mixture.FTime[i] = i * kDT;
    mixture.FValue[i] = 12.8 + 0.4 * std::sin(i * 0.01 + seed);
  }
  run->FDT = kDT;
  run->FNumPoints = kPoints;
  run->FBaro = 29.4;
  run->FVapor = 0.4;
  run->FTemp = 24;
  run->AddChannel(ctTime, ukTime, "Time");
  run->AddChannel(ctTotalPower, ukPower, "Total Power");
  run->AddChannel(ctTotalTorque, ukTorque, "Total Torque");
  for (int roller = 0; roller < 2; ++roller) {
    run->AddChannel(ctPower, ukPower, "Power");
    run->AddChannel(ctTorque, ukTorque, "Torque");
  }
  for (int roller = 0; roller < 2; ++roller)
    run->AddChannel(ctSpeed, ukSpeed, "Speed");
  for (int roller = 0; roller < 2; ++roller)
    run->AddChannel(ctRPM, ukEngineSpeed, "RPM");
  for (int roller = 0; roller < 2; ++roller)
    run->AddChannel(ctGear, ukGearRatio, "Gear");
  run->AddChannel(ctAirFuel, ukAirFuel, "Air/Fuel");
  return run;
}

// The data set with 12 such runs and all twelve line slots used: every channel a Y axis may
// show (the second roller's engine speed may not).
void Prepare(TGphData& data, int32_t xChannel) {
  data.FUnits = BuildDefaultUnits();
  data.FCFs = LoadCorrectionFactors();
  data.FCFIndex = 1;
  data.FSmoothing = 5;
  data.FXChannel = xChannel;
  const uint32_t shown[kLineSlots] = {ctTotalPower,
                                      ctTotalTorque,
                                      ctPower,
                                      ChannelID(1, ctPower),
                                      ctTorque,
                                      ChannelID(1, ctTorque),
                                      ctSpeed,
                                      ChannelID(1, ctSpeed),
                                      ctRPM,
                                      ctGear,
                                      ChannelID(1, ctGear),
                                      ctAirFuel};
  for (int slot = 0; slot < kLineSlots; ++slot)
    data.FYChannel[slot] = static_cast<int32_t>(shown[slot]);
  for (int run = 0; run < static_cast<int>(kMaxRuns); ++run)
    data.AddRun(MakeRun(run));
}

void BM_CalculateData(benchmark::State& state) {
  TGphData data;
  Prepare(data, static_cast<int32_t>(state.range(0)));
  uint16_t code = 0;
  for (auto _ : state) {
    code = data.CalculateData();
    benchmark::DoNotOptimize(code);
  }
  // 0x1000 says some stretch was too long to smooth (on a time axis nothing cuts them).
  state.counters["code"] = code;
}

}  // namespace

// Argument: the X axis channel, 3 engine speed (gear segments cut the curves), 1 time.
BENCHMARK(BM_CalculateData)->Arg(ctRPM)->Arg(ctTime)->Unit(benchmark::kMillisecond);
