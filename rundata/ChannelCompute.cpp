#include "ChannelCompute.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

#include "ClutchPowerChannel.h"
#include "DllData.h"
#include "Interpolation.h"

namespace {

constexpr double kTwoPi = 6.283185307179586;
// The air/fuel sensor reads the exhaust this many seconds after the engine made it.
constexpr double kAirFuelDelay = 0.175;
// Below this road speed (ft/s) the gear value, engine speed over road speed, is meaningless.
constexpr double kMinGearSpeed = 0.1;
// Fixed range of the air/fuel ratio: leaner or richer readings are sensor limits, not data.
constexpr float kAirFuelMax = 18;
constexpr float kAirFuelMin = 10;
constexpr double kNone = std::numeric_limits<double>::quiet_NaN();

const TDrumData* DrumAt(const TRunData& run, uint32_t index) {
  return index < run.FDrums.size() ? run.FDrums[index].get() : nullptr;
}

// The air/fuel series of ordinal `ordinal`: the last series with the wide-band identifier, else
// the last with the narrow-band one.
const TIntData* AirFuelSeries(const TRunData& run, uint32_t ordinal) {
  const int64_t base = static_cast<int64_t>(ordinal) * 65536;
  for (const int64_t id : {base + 260, base + 1028}) {
    const TIntData* found = nullptr;
    for (const auto& series : run.FInts)
      if (series->FSensorID == id) found = series.get();
    if (found) return found;
  }
  return nullptr;
}

// Fills every point with f(t_k), converted to the unit.
template <class F>
void Fill(std::vector<float>& values, double dt, const TUnit* unit, F f) {
  for (size_t k = 0; k < values.size(); ++k)
    values[k] = ConvertValue(unit, f(k * dt));
}

// Clamp limits of a power or torque channel from the drum's rating: +-rating in the unit. A
// rating that is infinite, zero or negative is no rating (a zero would flatten every curve).
void SetRatingLimits(TChannel& channel, float rating, const TUnit* unit) {
  if (std::isfinite(rating) && rating > 0) {
    channel.FLimitMax = ConvertValue(unit, rating);
    channel.FLimitMin = ConvertValue(unit, -static_cast<double>(rating));
  } else {
    channel.FLimitMax = std::numeric_limits<float>::infinity();
    channel.FLimitMin = -std::numeric_limits<float>::infinity();
  }
}

// Torque in ft-lbf from drum force (lbf), road speed (ft/s) and engine speed (rpm).
double Torque(double force, double cf, double speed, double rpm) {
  if (!(rpm != 0)) return kNone;
  return force * cf * speed * 60 / (kTwoPi * rpm);
}

// The values of one channel by type, converted; returns kCalcMissingSource when a source series
// is missing (values then undefined).
uint16_t ComputeValues(const TRunData& run, TChannel& channel, const TUnit* unit,
                       std::vector<float>& y) {
  const uint32_t ordinal = ChannelOrdinal(channel.FID);
  const double dt = run.FDT;
  const double cf = run.FCF;
  switch (ChannelType(channel.FID)) {
    case ctTime:
      Fill(y, dt, unit, [](double t) { return t; });
      return 0;
    case ctSpeed: {
      const TDrumData* drum = DrumAt(run, ordinal);
      if (!drum) return kCalcMissingSource;
      TSeriesCursor speed(drum->FMidTime, drum->FSpeed);
      Fill(y, dt, unit, [&](double t) { return speed.At(t); });
      return 0;
    }
    case ctRPM: {
      const TRPMData* engine = EngineSeriesFor(run, ordinal);
      if (!engine) return kCalcMissingSource;
      TSeriesCursor rpm(engine->FTime, engine->FValue);
      Fill(y, dt, unit, [&](double t) { return rpm.At(t) * 0.001; });
      return 0;
    }
    case ctAirFuel: {
      const TIntData* series = AirFuelSeries(run, ordinal);
      if (!series) return kCalcMissingSource;
      channel.FLimitMax = channel.FScaleYMax = kAirFuelMax;
      channel.FLimitMin = channel.FScaleYMin = kAirFuelMin;
      TSeriesCursor ratio(series->FTime, series->FValue, kAnalogFloor);
      Fill(y, dt, unit, [&](double t) { return ratio.At(t + kAirFuelDelay); });
      return 0;
    }
    case ctGear: {
      const TDrumData* drum = DrumAt(run, ordinal);
      const TRPMData* engine = EngineSeriesFor(run, ordinal);
      if (!drum || !engine) return kCalcMissingSource;
      TSeriesCursor speed(drum->FMidTime, drum->FSpeed);
      TSeriesCursor rpm(engine->FTime, engine->FValue);
      Fill(y, dt, unit, [&](double t) {
        const double n = rpm.At(t);
        const double v = speed.At(t);
        return v > kMinGearSpeed ? n / v : kNone;
      });
      return 0;
    }
    case ctPower: {
      const TDrumData* drum = DrumAt(run, ordinal);
      if (!drum) return kCalcMissingSource;
      SetRatingLimits(channel, drum->FMaxPower, unit);
      TDrumForce force(*drum);
      Fill(y, dt, unit, [&](double t) { return force.Power(t, cf); });
      return 0;
    }
    case ctTorque: {
      const TDrumData* drum = DrumAt(run, ordinal);
      const TRPMData* engine = EngineSeriesFor(run, ordinal);
      if (!drum || !engine) return kCalcMissingSource;
      SetRatingLimits(channel, drum->FMaxTorque, unit);
      TDrumForce force(*drum);
      TSeriesCursor rpm(engine->FTime, engine->FValue);
      Fill(y, dt, unit, [&](double t) {
        double speed = 0;
        const double f = force.Force(t, speed);
        return Torque(f, cf, speed, rpm.At(t));
      });
      return 0;
    }
    case ctTotalPower: {
      if (run.FDrums.empty()) return kCalcMissingSource;
      SetRatingLimits(channel, run.FDrums.back()->FMaxPower, unit);
      std::vector<TDrumForce> forces;
      for (const auto& drum : run.FDrums)
        forces.emplace_back(*drum);
      for (size_t k = 0; k < y.size(); ++k) {
        // The drums that have a value at this point.
        double sum = 0;
        bool any = false;
        for (TDrumForce& force : forces) {
          const float power = ConvertValue(unit, force.Power(k * dt, cf));
          if (power == kNoValue) continue;
          sum += power;
          any = true;
        }
        y[k] = any ? ChannelValue(sum) : kNoValue;
      }
      return 0;
    }
    case ctTotalTorque: {
      if (run.FDrums.empty() || run.FRPMs.empty()) return kCalcMissingSource;
      SetRatingLimits(channel, run.FDrums.back()->FMaxTorque, unit);
      std::vector<TDrumForce> forces;
      std::vector<TSeriesCursor> engines;
      for (size_t d = 0; d < run.FDrums.size(); ++d) {
        forces.emplace_back(*run.FDrums[d]);
        const TRPMData* engine = EngineSeriesFor(run, static_cast<uint32_t>(d));
        engines.emplace_back(engine->FTime, engine->FValue);
      }
      for (size_t k = 0; k < y.size(); ++k) {
        // Every drum must have a value: a part of the total is no total.
        double sum = 0;
        bool all = true;
        for (size_t d = 0; d < forces.size(); ++d) {
          double speed = 0;
          const double f = forces[d].Force(k * dt, speed);
          const float torque = ConvertValue(unit, Torque(f, cf, speed, engines[d].At(k * dt)));
          if (torque == kNoValue) all = false;
          sum += torque;
        }
        y[k] = all ? ChannelValue(sum) : kNoValue;
      }
      return 0;
    }
    case ctClutchPower:
      return ComputeClutchPowerValues(run, unit, y);
    default:
      // Float series carry types this version cannot compute.
      return kCalcMissingSource;
  }
}

// Channels are computed only on a usable time base.
bool ValidTimeBase(const TRunData& run) {
  return std::isfinite(run.FDT) && run.FDT > 0;
}

// Widens FYMax and FYMin to the finite values.
void UpdateRange(TChannel& channel) {
  // Locals: the channel's own fields could alias its values for all the compiler knows.
  float high = channel.FYMax, low = channel.FYMin;
  for (const float v : channel.FY) {
    if (!std::isfinite(v)) continue;
    high = v > high ? v : high;
    low = v < low ? v : low;
  }
  channel.FYMax = high;
  channel.FYMin = low;
}

// Values whose point lies in no gear segment have none.
void MaskOutsideSegments(const TGears& gears, std::vector<float>& values) {
  std::vector<std::pair<uint32_t, uint32_t>> segments;
  for (uint32_t s = 0; s < gears.Count(); ++s)
    segments.emplace_back(gears.FStart[s], gears.FEnd[s]);
  std::sort(segments.begin(), segments.end());
  const size_t n = values.size();
  size_t covered = 0;  // every point before this one is in a segment or already masked
  for (const auto& [start, end] : segments) {
    if (start > end) continue;
    for (size_t i = covered; i < std::min<size_t>(start, n); ++i)
      values[i] = kNoValue;
    covered = std::max<size_t>(covered, size_t{end} + 1);
  }
  for (size_t i = covered; i < n; ++i)
    values[i] = kNoValue;
}

bool IsXChannel(const TRunData& run, const TChannel& channel) {
  return std::find(run.FXChannels.begin(), run.FXChannels.end(), &channel) != run.FXChannels.end();
}

// The X channel a shown channel is drawn over. With engine speed on the X axis each drum has
// its own X channel: the one of the channel's drum, else the first.
TChannel* XChannelFor(const TDllData& data, const TRunData& run, const TChannel& channel) {
  if (run.FXChannels.empty()) return nullptr;
  if (data.FXChannel == ctRPM && run.FXChannels.size() > 1) {
    // Matched by drum, not by position: drums without a shown channel have no X channel, so
    // the positions need not be the drum numbers.
    const uint32_t ordinal = ChannelOrdinal(channel.FID);
    for (TChannel* x : run.FXChannels)
      if (x && ChannelOrdinal(x->FID) == ordinal) return x;
  }
  return run.FXChannels[0];
}

}  // namespace

bool InGearSegment(const TGears& gears, uint32_t i) {
  for (uint32_t s = 0; s < gears.Count(); ++s)
    if (gears.FStart[s] <= i && i <= gears.FEnd[s]) return true;
  return false;
}

uint16_t ComputeChannel(const TDllData& data, const TRunData& run, TChannel& channel) {
  channel.FY.clear();
  channel.FYMax = -std::numeric_limits<float>::infinity();
  channel.FYMin = std::numeric_limits<float>::infinity();
  if (!ValidTimeBase(run)) return kCalcMissingSource;
  uint16_t code = 0;
  const TUnit* unit = data.Unit(channel.FUnitKind);
  if (!unit) code |= kCalcUnitOutsideTable;
  std::vector<float> values(run.FNumPoints, kNoValue);
  if (ComputeValues(run, channel, unit, values) != 0) return code | kCalcMissingSource;
  channel.FY = std::move(values);
  UpdateRange(channel);
  if (!std::isfinite(channel.FYMax) || !std::isfinite(channel.FYMin)) channel.FY.clear();
  return code;
}

uint16_t ComputeYChannel(const TDllData& data, TRunData& run, TChannel& channel) {
  const bool isX = IsXChannel(run, channel);
  channel.FX = nullptr;
  channel.FXMax = -std::numeric_limits<float>::infinity();
  channel.FXMin = std::numeric_limits<float>::infinity();
  const uint16_t code = ComputeChannel(data, run, channel);
  // An X channel keeps its own segments; any other channel has only what it links below.
  if (!isX) channel.FGears.reset();
  if ((code & 0xFF) != 0) return code;
  TChannel* x = XChannelFor(data, run, channel);
  if (!x) return code;
  channel.FX = &x->FY;
  channel.FGears = x->FGears;
  channel.FXMax = x->FYMax;
  channel.FXMin = x->FYMin;
  if (channel.FGears) MaskOutsideSegments(*channel.FGears, channel.FY);
  return code;
}

uint16_t FinishChannel(const TDllData& data, TChannel& channel) {
  if (channel.FY.empty()) return 0;
  if (channel.FGears) MaskOutsideSegments(*channel.FGears, channel.FY);
  uint16_t code = 0;
  const uint32_t type = ChannelType(channel.FID);
  if (type != ctTime && type != ctSpeed) code = SmoothChannel(channel.FY, data.FSmoothing);
  const float high = channel.FLimitMax, low = channel.FLimitMin;
  for (float& v : channel.FY) {
    if (!std::isfinite(v)) continue;
    if (std::isfinite(high) && v > high) v = high;
    if (std::isfinite(low) && v < low) v = low;
  }
  UpdateRange(channel);
  return code;
}

uint16_t ComputeChannels(const TDllData& data, TRunData& run) {
  uint16_t code = 0;
  for (TChannel* x : run.FXChannels) {
    if (!x) continue;
    code |= ComputeChannel(data, run, *x);
    code |= SegmentGears(data, run, *x);
    code |= FinishChannel(data, *x);
  }
  for (size_t s = 0; s < run.FShown.size(); ++s) {
    TChannel* channel = run.FShown[s];
    if (!channel) continue;
    // A channel in two slots is computed once; the second pass would give the same values.
    if (std::find(run.FShown.begin(), run.FShown.begin() + s, channel) != run.FShown.begin() + s)
      continue;
    code |= ComputeYChannel(data, run, *channel);
    code |= FinishChannel(data, *channel);
  }
  return code;
}
