// The data reader of MH100 and MH703 files: typed records of drum, engine-speed and analog data.

#include <algorithm>
#include <array>
#include <cmath>
#include <string>
#include <vector>

#include "DrumMotion.h"
#include "MHRecords.h"
#include "RunFile.h"
#include "RunFileBytes.h"
#include "SafeConvert.h"

namespace {

// The 32-bit tick sums wrap; the acquisition counts 2^32 - 1 per wrap.
constexpr int64_t kMHTimerWrap = 4294967295;
constexpr float kTorqueRatingScale = 14.005635f;  // rating in the file to the torque unit
constexpr double kHorsepower = 550;               // ft·lbf/s per hp
constexpr std::size_t kMedianWindow = 9;
constexpr double kMedianThreshold = 0.085;  // relative deviation that marks an outlier
constexpr float kMinPulseFraction = 0.1f;
// A sensor calibration is a polynomial of a few terms. A longer one is no calibration, and
// evaluating it for every sample would cost coefficients × samples, so such a series is refused.
constexpr std::size_t kMaxSeriesCoefficients = 64;

// Analog sensor identifiers whose single averaged value is a run condition.
constexpr uint16_t kSensorTemperature = 256;  // °C
constexpr uint16_t kSensorHumidity = 257;     // %
constexpr uint16_t kSensorBaro = 258;         // inHg

std::vector<uint32_t> U32Samples(std::span<const uint8_t> bytes) {
  std::vector<uint32_t> samples(bytes.size() / 4);
  for (std::size_t i = 0; i < samples.size(); ++i)
    samples[i] = U32At(bytes, i * 4);
  return samples;
}

// The first sample is a start count: when the second interval is smaller it holds the first
// interval plus the second, else the second is a repeat that is dropped.
void AdjustFirstSamples(std::vector<uint32_t>& samples) {
  if (samples.size() < 2) return;
  if (samples[1] < samples[0])
    samples[0] -= samples[1];
  else
    samples.erase(samples.begin() + 1);
}

// Turns intervals into running sums of ticks in place (wrapping like the 32-bit counter) and hands
// each unwrapped sum to emit(i, sum).
template <typename Emit>
void RunningSums(std::vector<uint32_t>& samples, Emit&& emit) {
  int64_t wraps = 0;
  for (std::size_t i = 0; i < samples.size(); ++i) {
    if (i > 0) {
      const uint32_t sum = samples[i - 1] + samples[i];
      if (sum < samples[i - 1]) ++wraps;
      samples[i] = sum;
    }
    emit(i, samples[i] + wraps * kMHTimerWrap);
  }
}

uint16_t AddDrum(const TMHRecord& record, bool mh703, TRunData& run) {
  if (record.FCount < kMinSeriesSamples) return 0;
  TDrumData& drum = *run.FDrums[run.AddDrum(0)];
  const std::span<const uint8_t> block = record.FDrumBlock;
  const std::size_t at = mh703 ? 4 : 0;  // the MH703 block has the serial number in front
  drum.FName = mh703 ? std::to_string(I32At(block, 8)) : "N/A";
  drum.FWindow = U16At(block, at + 8);
  drum.FMass = ToFloat(DoubleAt(block, at + 10));
  drum.FDistance = ToFloat(DoubleAt(block, at + 18));
  drum.FAddedMass = ToFloat(DoubleAt(block, at + 26));
  for (std::size_t c = 0; c < 3; ++c)
    drum.FLoss[c] = DoubleAt(block, at + 34 + c * 8);
  drum.FMaxTorque = ToFloat(DoubleAt(block, at + 66) * double{kTorqueRatingScale});
  drum.FMaxPower = ToFloat(DoubleAt(block, at + 74) / kHorsepower);
  drum.FTick = record.FTick;

  // FRaw is the working array: after reading it holds the running tick sums.
  drum.FRaw = U32Samples(record.FSamples);
  AdjustFirstSamples(drum.FRaw);
  drum.Resize(static_cast<uint32_t>(drum.FRaw.size()));
  RunningSums(drum.FRaw, [&](std::size_t i, int64_t sum) {
    drum.FTime[i] = static_cast<double>(sum) * drum.FTick;
  });
  ComputeDrumMotion(drum, false);
  return 0;
}

// Sorting that stays well defined when a value is NaN: NaN counts as the largest.
bool Before(double a, double b) {
  return a < b || (!std::isnan(a) && std::isnan(b));
}

// Replaces single-sample spikes by the median of their 9-sample window. Spikes come from missed
// or doubled engine pulses; only a value at the edge of its window's distribution counts as one.
void CleanEngineSpeed(std::vector<double>& values) {
  const std::ptrdiff_t n = static_cast<std::ptrdiff_t>(values.size());
  constexpr std::ptrdiff_t half = kMedianWindow / 2;
  for (std::ptrdiff_t i = half; i < n - half; ++i) {
    std::array<double, kMedianWindow> window;
    std::copy(values.begin() + (i - half), values.begin() + (i + half + 1), window.begin());
    std::sort(window.begin(), window.end(), Before);
    const double value = values[i];
    const double median = window[half];
    if (std::isfinite(value) && std::isfinite(median) &&
        std::fabs(1 - value / median) > kMedianThreshold &&
        (value <= window[1] || value >= window[kMedianWindow - 2]))
      values[i] = median;  // in place: later windows see the cleaned value
  }
  // The window does not reach the last values, so they cannot be trusted.
  for (std::ptrdiff_t i = std::max(half, n - half); i < n; ++i)
    values[i] = kInvalidMarker;
}

uint16_t AddEngineSpeed(const TMHRecord& record, TRunData& run) {
  if (record.FCount < kMinSeriesSamples) return 0;
  TRPMData& rpm = *run.FRPMs[run.AddRPM(0)];
  rpm.FTick = record.FTick;
  std::vector<uint32_t> samples = U32Samples(record.FSamples);
  if (record.FCrankAngle == 0) {
    rpm.FRaw = std::move(samples);
    return kLoadBadCrankAngle;
  }
  float pulsesPerCycle = 720.0f / static_cast<float>(record.FCrankAngle);  // f
  int cycles = record.FCycles;                                             // k

  AdjustFirstSamples(samples);
  // More than one pulse per cycle: sum the intervals of each cycle into one. In place: the sum
  // for i is stored after its sources are read, and later sums read from (i + 1) x F > i on.
  if (pulsesPerCycle > 1) {
    const auto whole = static_cast<std::size_t>(pulsesPerCycle);
    const auto cycleCount =
        static_cast<std::size_t>(static_cast<float>(samples.size()) / pulsesPerCycle);
    for (std::size_t i = 0; i < cycleCount; ++i) {
      uint32_t sum = 0;
      for (std::size_t j = 0; static_cast<float>(j) < pulsesPerCycle; ++j)
        if (i * whole + j < samples.size()) sum += samples[i * whole + j];
      samples[i] = sum;
    }
    samples.resize(cycleCount);
    pulsesPerCycle = 1;
  }
  // An odd cycle count: pair the intervals.
  if (cycles % 2 != 0) {
    const std::size_t pairs = samples.size() / 2;
    for (std::size_t i = 0; i < pairs; ++i)
      samples[i] = samples[2 * i] + samples[2 * i + 1];
    samples.resize(pairs);
    cycles *= 2;
  }

  rpm.Resize(static_cast<uint32_t>(samples.size()));
  const float revolutions = static_cast<float>(120 * cycles) / pulsesPerCycle;
  int64_t previous = 0;
  RunningSums(samples, [&](std::size_t i, int64_t sum) {
    if (i == 0) {
      rpm.FTime[0] = rpm.FValue[0] = kInvalidMarker;
    } else {
      rpm.FTime[i] = static_cast<double>(sum + previous) * 0.5 * rpm.FTick;
      const double period = static_cast<double>(sum - previous) * rpm.FTick;
      rpm.FValue[i] = pulsesPerCycle >= kMinPulseFraction && period != 0 ? revolutions / period
                                                                         : kInvalidMarker;
    }
    previous = sum;
  });
  rpm.FRaw = std::move(samples);  // the running tick sums
  if (run.FCleanRPM) CleanEngineSpeed(rpm.FValue);
  return 0;
}

// The calibration polynomial sum a_j r^j, the powers built by repeated multiplication.
double Calibrate(const std::vector<double>& coefficients, double r) {
  double sum = 0, power = 1;
  for (double a : coefficients) {
    sum += a * power;
    power *= r;
  }
  return sum;
}

uint16_t AddAnalog(const TMHRecord& record, TRunData& run) {
  std::vector<double> coefficients(record.FCoefficients.size() / sizeof(double));
  for (std::size_t j = 0; j < coefficients.size(); ++j)
    coefficients[j] = DoubleAt(record.FCoefficients, j * sizeof(double));
  const uint16_t n = record.FCount;
  const double fullScale = record.FFullScale;
  const auto sample = [&](std::size_t i) { return U16At(record.FSamples, i * 2); };

  if (n > 6 && record.FRate != 0 && record.FFullScale != 0) {
    if (coefficients.size() > kMaxSeriesCoefficients) return kLoadBadData;
    TIntData& series = *run.FInts[run.AddInt(n)];
    series.FSensorID = record.FSensorID;
    series.FCoeff = coefficients;
    const double interval = 1 / record.FRate;
    for (std::size_t i = 0; i < n; ++i) {
      const uint16_t x = sample(i);
      // A sample at or beyond full scale is an overloaded input.
      series.FValue[i] =
          x < record.FFullScale ? Calibrate(coefficients, x / fullScale) : kInvalidMarker;
      series.FTime[i] = static_cast<double>(i) * interval;
    }
    return 0;
  }
  if (record.FFullScale == 0) return kLoadBadData;
  // Too few samples for a series: their mean is one reading of a run condition.
  double sum = 0;
  for (std::size_t i = 0; i < n; ++i)
    sum += sample(i);
  const double value = Calibrate(coefficients, n > 0 ? sum / (n * fullScale) : 0);
  switch (record.FSensorID) {
    case kSensorTemperature:
      run.FTemp = value;
      break;
    case kSensorHumidity:
      run.FHumidity = value;
      break;
    case kSensorBaro:
      run.FBaro = value;
      break;
    default:
      break;
  }
  return 0;
}

}  // namespace

uint16_t ReadMHData(std::span<const uint8_t> bytes, bool mh703, TRunData& run) {
  TByteReader in(bytes);
  std::span<const uint8_t> header;
  if (!mh703) {
    if (!in.Read(kMH100HeaderSize, header)) return kLoadBadData;
  } else {
    if (!in.Read(kMH703HeaderSize, header)) return kLoadBadData;
    const std::size_t texts = std::size_t{U32At(header, 32)} + U32At(header, 36);
    if (!in.Skip(texts)) return kLoadBadData;
  }
  uint16_t recordCount = 0;
  if (!ReadMHPreamble(in, mh703, recordCount)) return kLoadBadData;

  uint16_t code = 0;
  TMHRecord record;
  for (uint32_t i = 0; i < recordCount; ++i) {
    const TRecordRead result = ReadMHRecord(in, mh703, record);
    if (result == TRecordRead::NoRecord) {
      // The file ends before the records its header announces: a truncated file must not load
      // as a complete run with some of its series silently missing.
      code |= kLoadBadData;
      break;
    }
    if (result == TRecordRead::Short) {
      // A drum or engine-speed record cut inside its samples leaves a series without data.
      if (record.FType == rtDrum && record.FCount >= kMinSeriesSamples) run.AddDrum(0);
      if (record.FType == rtEngineSpeed && record.FCount >= kMinSeriesSamples) run.AddRPM(0);
      code |= kLoadBadData;
      break;
    }
    switch (record.FType) {
      case rtAnalog:
        code |= AddAnalog(record, run);
        break;
      case rtEngineSpeed:
        code |= AddEngineSpeed(record, run);
        break;
      case rtDrum:
        code |= AddDrum(record, mh703, run);
        break;
      default:
        break;
    }
  }
  run.FVapor = SaturationVaporPressure(ToFloat(run.FTemp)) * run.FHumidity * 0.01;
  return code;
}
