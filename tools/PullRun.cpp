// Turns an integrated pull into the content of a run file: pulse timer counts, engine words,
// analog samples, conditions and texts, in the layout of the spec's variant.

#include <algorithm>
#include <cmath>
#include <stdexcept>

#include "PullModel.h"

namespace {

// The wet-bulb temperature (°C) that makes the psychrometer formula of M301 files give the
// vapour pressure of air at dryC and relative humidity rh: es(tw) - 0.00066 P (td - tw) = e.
double WetBulbC(double dryC, double rh, double baro) {
  const double target = rh / 100 * SynthSaturationVaporPressure(dryC);
  double lo = dryC - 60, hi = dryC;
  for (int i = 0; i < 80; ++i) {
    const double mid = 0.5 * (lo + hi);
    const double e = SynthSaturationVaporPressure(mid) - 0.00066 * baro * (dryC - mid);
    (e < target ? lo : hi) = mid;
  }
  return 0.5 * (lo + hi);
}

std::vector<uint64_t> Counts(const std::vector<double>& times, auto&& count) {
  std::vector<uint64_t> counts;
  counts.reserve(times.size());
  for (double t : times)
    counts.push_back(count(t));
  // A spurious pulse may land on the count of a real one; the timer cannot show both.
  counts.erase(std::unique(counts.begin(), counts.end()), counts.end());
  return counts;
}

// A small deterministic generator: the same seed gives the same samples on every machine.
class TNoise {
 public:
  explicit TNoise(uint32_t seed) : FState(seed ? seed : 1) {}
  // Uniform in -1..1.
  double Next() {
    FState ^= FState << 13;
    FState ^= FState >> 17;
    FState ^= FState << 5;
    return FState / 2147483647.5 - 1.0;
  }

 private:
  uint32_t FState;
};

// Air/fuel converter: 9..19 over a 12-bit full scale.
constexpr double kAirFuelLow = 9, kAirFuelSpan = 10;
constexpr uint16_t kAirFuelFullScale = 4095;

}  // namespace

TSynthRun TPullModel::MHRun() const {
  const TPullSpec& s = FSpec;
  TSynthRun run;
  run.FVariant = s.FVariant;
  run.FTitle = s.FTitle;
  run.FType = s.FType;
  run.FNotes = s.FNotes;
  run.FAltitude = s.FWeather.FAltitude;
  run.FRecords.push_back(ConditionRecord(256, s.FWeather.FTempC));
  run.FRecords.push_back(ConditionRecord(257, s.FWeather.FHumidity));
  run.FRecords.push_back(ConditionRecord(258, s.FWeather.FBaro));

  auto count = [this](double t) { return Count(t); };
  for (std::size_t i = 0; i < s.FRollers.size(); ++i) {
    const TRollerSpec& r = s.FRollers[i];
    TSynthDrum drum;
    drum.FSensorID = static_cast<uint16_t>(261 + i);
    drum.FTick = s.FTick;
    drum.FBlock.FSerial = r.FSerial;
    drum.FBlock.FWindow = r.FWindow;
    drum.FBlock.FMass = r.FMass;
    drum.FBlock.FDistance = r.FDistance;
    drum.FBlock.FAddedMass = r.FAddedMass;
    drum.FBlock.FLoss = r.FLoss;
    drum.FBlock.FTorqueRating = r.FMaxTorque / 14.005635;
    drum.FBlock.FPowerRating = r.FMaxPower * 550;
    const std::vector<uint64_t> counts = Counts(DrumPulseTimes(i), count);
    drum.FIntervals = PulseWords(counts);
    run.FRecords.push_back(std::move(drum));
  }

  TSynthEngine engine;
  engine.FCrankAngle = s.FCrankAngle;
  engine.FCycles = s.FCycles;
  engine.FTick = s.FTick;
  const std::vector<uint64_t> engineCounts = Counts(EnginePulseTimes(), count);
  engine.FIntervals = PulseWords(engineCounts);
  run.FRecords.push_back(std::move(engine));

  if (s.FAirFuel.FPresent) {
    const TAirFuelSpec& af = s.FAirFuel;
    TSynthAnalog sensor;
    sensor.FSensorID = af.FSensorID;
    sensor.FRate = af.FRate;
    sensor.FFullScale = kAirFuelFullScale;
    sensor.FCoeff = {kAirFuelLow, kAirFuelSpan};
    TNoise noise(s.FSeed);
    const auto n = static_cast<std::size_t>(Duration() * af.FRate) + 1;
    for (std::size_t i = 0; i < n; ++i) {
      // The sensor shows now the mixture of FLag seconds ago.
      const double value = AirFuelAt(i / af.FRate - af.FLag) + af.FNoise * noise.Next();
      const double x = std::round((value - kAirFuelLow) / kAirFuelSpan * kAirFuelFullScale);
      sensor.FSamples.push_back(static_cast<uint16_t>(std::clamp(x, 0.0, kAirFuelFullScale - 1.0)));
    }
    run.FRecords.push_back(std::move(sensor));
  }

  for (int i = 0; i < s.FOtherRecords; ++i)
    run.FRecords.push_back(TSynthOther{{0x01020304u + static_cast<uint32_t>(i), 0xA5A5A5A5u, 0}});
  for (uint8_t type : s.FUnknownRecords)
    run.FRecords.push_back(TSynthUnknown{type});
  for (int b = 0; b < s.FBlocks36; ++b) {
    std::array<uint8_t, 36> block{};
    for (std::size_t j = 0; j < block.size(); ++j)
      block[j] = static_cast<uint8_t>((b * 36 + j) * 7);
    run.FBlocks36.push_back(block);
  }
  return run;
}

TSynthRun TPullModel::M301Run() const {
  const TPullSpec& s = FSpec;
  const TRollerSpec& r = s.FRollers.front();
  TSynthRun run;
  run.FVariant = TSynthVariant::M301;
  run.FTitle = s.FTitle;
  run.FType = s.FType;
  run.FNotes = s.FNotes;
  run.FAltitude = s.FWeather.FAltitude;

  TSynthM301& m = run.FM301;
  m.FMass = static_cast<float>(r.FMass);
  m.FDistance = static_cast<float>(r.FDistance);
  m.FAltitude = s.FWeather.FAltitude;
  m.FAddedMass = static_cast<float>(r.FAddedMass);
  m.FBaro = static_cast<float>(s.FWeather.FBaro);
  m.FDryBulbF = s.FWeather.FTempC * 1.8 + 32;
  m.FWetBulbF = WetBulbC(s.FWeather.FTempC, s.FWeather.FHumidity, m.FBaro) * 1.8 + 32;
  m.FPulseDivisor = static_cast<float>(2 * s.FPulsesPerRev - 1);
  m.FWindow = r.FWindow;

  auto count = [this](double t) { return Count(t); };
  const std::vector<uint64_t> drum = Counts(DrumPulseTimes(0), count);
  const std::vector<uint64_t> engine = Counts(EnginePulseTimes(), count);
  if (drum.size() > kM301MaxDrumWords)
    throw std::invalid_argument("M301: " + std::to_string(drum.size()) +
                                " drum pulses; shorten the run or lengthen the distance per pulse");
  for (uint64_t c : drum)
    m.FDrumWords.push_back({static_cast<uint32_t>(c & 0xFFFFFF), 0});

  // An engine word goes with the first drum pulse after enough engine pulses: the count of
  // pulses since the previous word's drum pulse, and the time from the first to the last.
  std::size_t from = 0, to = 0;
  for (std::size_t i = 1; i < drum.size(); ++i) {
    while (to < engine.size() && engine[to] <= drum[i])
      ++to;
    const std::size_t pulses = to - from;
    if (pulses < static_cast<std::size_t>(s.FM301EnginePulses)) continue;
    if (pulses > 255)
      throw std::invalid_argument("M301: more than 255 engine pulses per drum pulse");
    const uint64_t period = engine[to - 1] - engine[from];
    if (period > 0xFFFFFF) throw std::invalid_argument("M301: an engine period above 24 bits");
    m.FDrumWords[i].FFlags |= kM301EngineFlag;
    m.FEngineWords.push_back(static_cast<uint32_t>(pulses << 24 | period));
    from = to;
  }

  // Temperature bytes on evenly spread pulses; their mean carries the air temperature.
  const std::size_t t = std::min<std::size_t>(s.FM301TemperatureBytes, drum.size() / 2);
  const long total = std::lround(t * s.FWeather.FTempC / 0.31349998712539673);
  for (std::size_t j = 0; j < t; ++j) {
    m.FDrumWords[(j + 1) * drum.size() / (t + 1)].FFlags |= kM301TemperatureFlag;
    m.FTemperatureBytes.push_back(static_cast<uint8_t>(
        std::clamp<long>((total + static_cast<long>(j)) / static_cast<long>(t), 1, 254)));
  }
  return run;
}
