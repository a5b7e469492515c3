#include "Interpolation.h"

#include <algorithm>

TSeriesCursor::TSeriesCursor(const std::vector<double>& time, const std::vector<double>& value,
                             double floor)
    : FTime(time.data()),
      FValue(value.data()),
      FCount(std::min(time.size(), value.size())),
      FFloor(floor) {}

TDrumForce::TDrumForce(const TDrumData& drum)
    : FDrum(drum), FSpeed(drum.FMidTime, drum.FSpeed), FAccel(drum.FTime, drum.FAccel) {}

double TDrumForce::Force(double t, double& speed) {
  speed = FSpeed.At(t);
  const double accel = FAccel.At(t);
  if (std::isnan(speed) || std::isnan(accel)) return std::numeric_limits<double>::quiet_NaN();
  const float mass = FDrum.FMass + FDrum.FAddedMass;
  return mass * accel + FDrum.FLoss[0] * speed * speed + FDrum.FLoss[1] * speed + FDrum.FLoss[2];
}

double TDrumForce::Power(double t, double cf) {
  double speed = 0;
  const double force = Force(t, speed);
  return force * cf * speed / 550;
}

const TRPMData* EngineSeriesFor(const TRunData& run, uint32_t ordinal) {
  if (run.FRPMs.empty()) return nullptr;
  return ordinal < run.FRPMs.size() ? run.FRPMs[ordinal].get() : run.FRPMs[0].get();
}
