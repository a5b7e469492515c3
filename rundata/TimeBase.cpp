// The common time base of a run's channels and the list of channels a run offers.

#include <cmath>
#include <limits>
#include <vector>

#include "RunFile.h"
#include "RunFileBytes.h"

namespace {

constexpr double kBaseInterval = 0.02;  // seconds between channel points, before doubling
constexpr double kMaxPoints = 16384;    // every channel has fewer points than this
constexpr double kLowestFloat = -std::numeric_limits<float>::max();

// Unit kinds of the channels (see TUnitKind).
constexpr uint32_t kTimeUnit = 1, kSpeedUnit = 2, kEngineSpeedUnit = 5, kAirFuelUnit = 6,
                   kGearUnit = 7, kPowerUnit = 9, kTorqueUnit = 10;
// Analog sensors whose series is an air/fuel ratio.
constexpr int32_t kAirFuelSensor = 260, kAirFuelSensorWide = 1028;

}  // namespace

void BuildTimeBase(TRunData& run) {
  // The time each series ends at. Drum and engine-speed series end with a marker when their last
  // sample could not be timed; those do not count.
  std::vector<double> ends;
  for (const auto& drum : run.FDrums)
    if (!drum->FMidTime.empty() && drum->FMidTime.back() > kLowestFloat)
      ends.push_back(drum->FMidTime.back());
  for (const auto& rpm : run.FRPMs)
    if (!rpm->FTime.empty() && rpm->FTime.back() > kLowestFloat) ends.push_back(rpm->FTime.back());
  for (const auto& series : run.FInts)
    if (!series->FTime.empty()) ends.push_back(series->FTime.back());
  for (const auto& series : run.FFloats)
    if (!series->FTime.empty()) ends.push_back(series->FTime.back());

  // A time that is not finite (from a rate or tick of NaN or infinity in the file) has no place
  // on a time axis; counting it would make the doubling below endless.
  double dt = kBaseInterval;
  double points = 0;
  for (;;) {
    points = 0;
    for (double end : ends)
      if (std::isfinite(end)) points = std::max(points, std::trunc(end / dt));
    // Even an end near the largest double fits after about a thousand doublings, long before dt
    // itself could overflow.
    if (points < kMaxPoints) break;
    dt *= 2;
  }
  run.FDT = dt;
  run.FNumPoints = static_cast<uint32_t>(points);
}

void BuildChannelList(TRunData& run, const TComputationOptions& options) {
  run.SetChannelCount(0);
  const bool engineSpeed = !run.FRPMs.empty();
  const std::size_t drums = run.FDrums.size();
  run.AddChannel(ctTime, kTimeUnit, "Time");
  if (drums > 1) {
    run.AddChannel(ctTotalPower, kPowerUnit, "Total Power");
    if (engineSpeed) run.AddChannel(ctTotalTorque, kTorqueUnit, "Total Torque");
  }
  const bool clutchPower = options.FClutchPower && ClutchPowerAvailable(run);
  for (std::size_t d = 0; d < drums; ++d) {
    run.AddChannel(ctPower, kPowerUnit, "Power");
    if (clutchPower) run.AddChannel(ctClutchPower, kPowerUnit, "Clutch Power");
    if (engineSpeed) run.AddChannel(ctTorque, kTorqueUnit, "Torque");
  }
  for (std::size_t d = 0; d < drums; ++d)
    run.AddChannel(ctSpeed, kSpeedUnit, "Speed");
  if (engineSpeed) {
    for (std::size_t d = 0; d < std::max<std::size_t>(drums, 1); ++d)
      run.AddChannel(ctRPM, kEngineSpeedUnit, "RPM");
    for (std::size_t d = 0; d < drums; ++d)
      run.AddChannel(ctGear, kGearUnit, "Gear");
  }
  for (const auto& series : run.FInts)
    if (series->FSensorID == kAirFuelSensor || series->FSensorID == kAirFuelSensorWide)
      run.AddChannel(ctAirFuel, kAirFuelUnit, "Air/Fuel");
  for (const auto& series : run.FFloats)
    run.AddChannel(static_cast<uint32_t>(series->FChannelType), 0, series->FName);
}
