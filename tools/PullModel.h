#pragma once

// Run-file synthesizer, layer 2: a small physical model of a dyno pull. It integrates the pull in
// time and turns it into the pulse timer counts and analog samples of a run file (RunSynth.h),
// and it answers what really happened at any time, so tests can hold the reader and the channel
// computation against it.
//
// The pull: a lead-in at steady speed, a wide-open-throttle pull through one or more gears from
// FStartRPM to FEndRPM (clutch in for FShiftTime at each change), then a coast-down with an
// optional brake. Engine torque through the gearing and the driveline efficiency gives the force
// at the roller surface; minus the roller losses it accelerates the equivalent masses:
//     (sum of mass + added mass) dv/dt = F_wheel(v) - sum of loss_i(v).
// With two rollers both are held at one surface speed (a locked driveline on coupled rollers), so
// each roller carries the force it needs: F_i = (mass_i + added_i) a + loss_i(v); the forces add
// up to the wheel force. Times are seconds from the start of recording.

#include <cstdint>
#include <string>
#include <vector>

#include "RunSynth.h"

struct TTorquePoint {
  double FRPM = 0;
  double FTorque = 0;  // lbf·ft at the crank
};

struct TRollerSpec {
  double FMass = 75;      // equivalent mass at the surface, slugs
  double FAddedMass = 0;  // slugs
  uint16_t FWindow = 4;   // pulse intervals per speed measurement
  double FDistance = 4;   // feet of surface per window; a pulse every FDistance / FWindow feet
  std::array<double, 3> FLoss{6.9669e-05, 0.003580803, 1.312142606};  // c2, c1, c0 (lbf, ft/s)
  int32_t FSerial = 0;                                                // MH703 drum serial number
  double FMaxPower = 1500;   // hp, written as the power rating of MH files
  double FMaxTorque = 2000;  // written as the torque rating of MH files
};

struct TWeather {
  double FTempC = 22;       // air temperature, °C
  double FHumidity = 45;    // relative humidity, %
  double FBaro = 29.35;     // barometric pressure, inHg
  int16_t FAltitude = 650;  // feet
};

struct TAirFuelSpec {
  bool FPresent = true;  // MH variants only: M301 files carry no analog series
  uint16_t FSensorID = 260;
  double FRate = 50;                          // samples per second
  double FCruise = 14.6;                      // lead-in
  double FRichStart = 13.4, FRichEnd = 12.8;  // over the pull, from start to end rpm
  double FCoast = 16.5;
  double FNoise = 0.03;  // peak of the seeded noise added to each sample
  double FLag = 0.175;   // s; the sensor reports the mixture this much later
};

struct TPullSpec {
  TSynthVariant FVariant = TSynthVariant::MH703;
  std::vector<TTorquePoint> FTorqueCurve;  // ascending rpm; empty = a 370 hp default
  std::vector<double> FGearRatios{40};     // engine rpm per ft/s of roller surface, per gear
  double FStartRPM = 2500;
  double FEndRPM = 7000;     // also the shift point of every gear but the last
  double FShiftTime = 0.35;  // s with the clutch in at a gear change
  double FIdleRPM = 900;
  double FEfficiency = 0.85;  // engine to roller surface
  double FLeadTime = 1.0;     // s at steady speed before the pull
  double FCoastTime = 2.0;    // s after the pull
  double FCoastBrake = 400;   // lbf braking the rollers during the coast-down
  std::vector<TRollerSpec> FRollers{TRollerSpec{}};  // 1 or 2 (M301: 1)
  TWeather FWeather;
  TAirFuelSpec FAirFuel;
  std::string FTitle, FType, FNotes;

  // Engine pickup. MH: a raw interval per FCrankAngle x FCycles degrees. M301: FPulsesPerRev
  // pulses per revolution; an engine word on the first drum pulse after FM301EnginePulses
  // engine pulses.
  uint16_t FCrankAngle = 180;
  uint16_t FCycles = 1;
  int FPulsesPerRev = 2;
  int FM301EnginePulses = 6;
  int FM301TemperatureBytes = 8;
  double FTick = 1e-6;                   // MH timer tick, s (M301 is always 1e-6)
  uint64_t FTimerStart = 0;              // timer count at t = 0; near 2^24 or 2^32 to force wraps
  std::vector<double> FEngineSpikes;     // times of spurious engine pulses (ignition noise)
  int FOtherRecords = 0;                 // MH: type-4 records to add (the viewer skips them)
  std::vector<uint8_t> FUnknownRecords;  // MH: bare unknown type bytes appended
  int FBlocks36 = 1;                     // MH703: 36-byte blocks in the header
  uint32_t FSeed = 1;                    // noise of the analog samples
  double FStep = 1e-3;                   // integration step, s (0.1 to 10 ms)
};

class TPullModel {
 public:
  // Integrates the pull. Throws std::invalid_argument for a spec that cannot make a run.
  explicit TPullModel(TPullSpec spec);

  const TPullSpec& Spec() const { return FSpec; }
  double Duration() const;                         // s of recording
  double PullStart() const { return FPullStart; }  // s, throttle opens
  double PullEnd() const { return FPullEnd; }      // s, end rpm reached
  // Start and end of each gear's stretch at full throttle (s), in gear order.
  const std::vector<std::pair<double, double>>& GearStretches() const { return FGearStretches; }
  // Times at which the acceleration jumps: throttle open, clutch in and out, coast-down. A speed
  // averaged over a window that holds one of them is off by up to (jump x window) / 8.
  const std::vector<double>& PhaseChanges() const { return FPhaseChanges; }

  // What happened at time t (clamped into the recording).
  double SpeedAt(double t) const;       // roller surface speed, ft/s
  double AccelAt(double t) const;       // ft/s²
  double RPMAt(double t) const;         // engine speed, rev/min
  double WheelForceAt(double t) const;  // lbf at the roller surfaces, all rollers
  double RollerForceAt(std::size_t roller, double t) const;  // lbf, (mass + added) a + loss
  double WheelPowerAt(double t) const;                       // hp, all rollers
  double WheelTorqueAt(double t) const;  // lbf·ft at the crank: wheel power over engine speed
  double AirFuelAt(double t) const;      // mixture without sensor noise or lag
  // The losses the reader will use for roller i (M301: its table by mass, else the spec's).
  std::array<double, 3> RollerLoss(std::size_t roller) const;

  // The pulse times, s from the start of recording (before timer quantisation).
  std::vector<double> DrumPulseTimes() const;  // one roller's pulses; both share one speed
  std::vector<double> DrumPulseTimes(std::size_t roller) const;
  std::vector<double> EnginePulseTimes() const;  // including the spurious ones

  // The time the reader will give to model time t: t + FTimerStart x tick (without the count the
  // reader loses per timer wrap).
  double ReaderTime(double t) const;

  // The file content for the spec's variant.
  TSynthRun Run() const;

 private:
  // The state at one step. FA is the acceleration at the start of the step that follows, FAEnd
  // the same step's acceleration at its end (they differ where the phase changes).
  struct TState {
    double FT = 0, FX = 0, FV = 0, FA = 0, FAEnd = 0, FAngle = 0, FRPM = 0;
  };
  void Integrate();
  std::size_t StepIndex(double t) const;
  double LossForce(double v) const;  // all rollers, lbf
  double TotalMass() const;
  std::vector<double> Crossings(bool angle, double first, double every) const;
  uint64_t Count(double t) const;
  TSynthRun MHRun() const;
  TSynthRun M301Run() const;

  TPullSpec FSpec;
  std::vector<TState> FStates;  // every FStep
  double FPullStart = 0, FPullEnd = 0;
  std::vector<std::pair<double, double>> FGearStretches;
  std::vector<double> FPhaseChanges;
};

// The model keeps its own copies of the reader's tables and formulas on purpose: the round trips
// compare the reader's results with the model, so a slip in one copy shows up as a mismatch
// instead of cancelling out.

// The M301 drum loss coefficients (c2, c1, c0) the reader picks by equivalent mass.
std::array<double, 3> M301LossForMass(double mass);

// Saturation vapour pressure over water in inHg at t °C (the formula the reader uses).
double SynthSaturationVaporPressure(double celsius);

// The spec with all roller masses scaled so that the full-throttle pull lasts about `seconds`.
TPullSpec FitPullTime(TPullSpec spec, double seconds);

// The pull files of samples/: name (with extension) and spec of each.
std::vector<std::pair<std::string, TPullSpec>> SampleSpecs();
