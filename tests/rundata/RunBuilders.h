#pragma once

// Hand-made runs for the computation tests: series built directly from functions of time, so
// each test states the physics it expects.

#include <cmath>
#include <functional>

#include "RunData.h"
#include "Units.h"

namespace tw_test {

using TTimeFunction = std::function<double(double)>;

// One unit per kind, multiplier 1 and offset 0: channels come out in base units.
inline TUnitTable BaseUnits() {
  TUnitTable units(13);
  for (int kind = 0; kind < 13; ++kind) {
    units[kind].FKind = kind;
    units[kind].FID = kind;
  }
  return units;
}

// A drum sampled every `dt` from `start`: speed and mid time at each sample, acceleration
// between samples (from the exact derivative at the mid point between them).
inline TDrumData& AddTestDrum(TRunData& run, size_t samples, double dt, TTimeFunction speed,
                              TTimeFunction accel, double start = 0) {
  TDrumData& drum = *run.FDrums[run.AddDrum(static_cast<uint32_t>(samples))];
  for (size_t i = 0; i < samples; ++i) {
    const double t = start + i * dt;
    drum.FTime[i] = t;
    drum.FMidTime[i] = t;
    drum.FSpeed[i] = speed(t);
    drum.FAccel[i] = accel(t);
  }
  drum.FMass = 50;
  drum.FAddedMass = 10;
  drum.FLoss = {0.001, 0.1, 5};
  return drum;
}

inline TRPMData& AddTestEngine(TRunData& run, size_t samples, double dt, TTimeFunction rpm) {
  TRPMData& engine = *run.FRPMs[run.AddRPM(static_cast<uint32_t>(samples))];
  for (size_t i = 0; i < samples; ++i) {
    engine.FTime[i] = i * dt;
    engine.FValue[i] = rpm(i * dt);
  }
  return engine;
}

inline TIntData& AddTestAnalog(TRunData& run, int32_t sensorID, size_t samples, double dt,
                               TTimeFunction value) {
  TIntData& series = *run.FInts[run.AddInt(static_cast<uint32_t>(samples))];
  series.FSensorID = sensorID;
  for (size_t i = 0; i < samples; ++i) {
    series.FTime[i] = i * dt;
    series.FValue[i] = value(i * dt);
  }
  return series;
}

// The time base of a run: FDT 0.02 s and the given number of points.
inline void SetTimeBase(TRunData& run, uint32_t points, double dt = 0.02) {
  run.FDT = dt;
  run.FNumPoints = points;
}

}  // namespace tw_test
