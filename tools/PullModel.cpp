#include "PullModel.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <stdexcept>

namespace {

constexpr double kMaxRecording = 120;  // s; a spec that never reaches its end rpm stops here
constexpr std::size_t kMaxPulses = 1000000;

// Engine torque, lbf·ft, linear between the curve's points and held beyond its ends.
double TorqueAt(const std::vector<TTorquePoint>& curve, double rpm) {
  if (rpm <= curve.front().FRPM) return curve.front().FTorque;
  if (rpm >= curve.back().FRPM) return curve.back().FTorque;
  auto hi = std::lower_bound(curve.begin(), curve.end(), rpm,
                             [](const TTorquePoint& p, double r) { return p.FRPM < r; });
  auto lo = hi - 1;
  return lo->FTorque + (hi->FTorque - lo->FTorque) * (rpm - lo->FRPM) / (hi->FRPM - lo->FRPM);
}

// About 370 hp at the crank near 6800 rpm.
std::vector<TTorquePoint> DefaultTorqueCurve() {
  return {{1500, 220}, {2500, 275}, {3500, 315}, {4500, 340},
          {5200, 342}, {6000, 325}, {6800, 295}, {7500, 260}};
}

// Cubic Hermite on one step: value and derivative at both ends, s in 0..1, h the step.
double Hermite(double p0, double p1, double m0, double m1, double h, double s) {
  const double s2 = s * s, s3 = s2 * s;
  return (2 * s3 - 3 * s2 + 1) * p0 + (s3 - 2 * s2 + s) * h * m0 + (-2 * s3 + 3 * s2) * p1 +
         (s3 - s2) * h * m1;
}

// A double rounded to single precision. Out of line on purpose: GCC 12 at -O2 vectorizes the
// rounding of two neighbouring double fields and drops it, so optimised and sanitizer builds
// would write different samples.
[[gnu::noinline]] double SinglePrecision(double v) {
  return static_cast<float>(v);
}

enum class TPhase { Lead, Pull, Shift, Coast };

}  // namespace

std::array<double, 3> M301LossForMass(double mass) {
  if (mass < 15) return {6.9669e-05, 0.003580803, 1.312142606};
  if (mass < 18.5) return {2.2646e-05, 0.042055143, 1.54575811};
  if (mass < 23) return {6.9669e-05, 0.003580803, 1.312142606};
  if (mass < 50) return {0, 0, 0};
  if (mass < 90) return {0.000343035, 0.022526031, 2.743781049};
  return {0, 0, 0};
}

double SynthSaturationVaporPressure(double celsius) {
  static constexpr double c[12] = {10.4592,     -0.00404897, -4.1752e-05, 3.6851e-07,
                                   -1.0152e-09, 8.6531e-13,  9.03668e-16, -1.9969e-18,
                                   7.79287e-22, 1.91482e-25, -3968.06,    39.5735};
  const double T = celsius + 273.16;
  double s = c[10] / (T - c[11]) + c[0];
  double power = 1;
  for (int i = 1; i <= 9; ++i) {
    power *= T;
    s += c[i] * power;
  }
  return std::exp(s) * 295.2997144451761;
}

TPullModel::TPullModel(TPullSpec spec) : FSpec(std::move(spec)) {
  auto require = [](bool ok, const char* what) {
    if (!ok) throw std::invalid_argument(std::string("pull model: ") + what);
  };
  TPullSpec& s = FSpec;
  if (s.FTorqueCurve.empty()) s.FTorqueCurve = DefaultTorqueCurve();
  require(std::adjacent_find(s.FTorqueCurve.begin(), s.FTorqueCurve.end(),
                             [](const TTorquePoint& a, const TTorquePoint& b) {
                               return !(a.FRPM < b.FRPM);
                             }) == s.FTorqueCurve.end(),
          "the torque curve needs strictly ascending rpm");
  require(!s.FGearRatios.empty(), "at least one gear ratio");
  for (double g : s.FGearRatios)
    require(g > 0 && std::isfinite(g), "gear ratios must be positive");
  require(s.FStartRPM > 0 && s.FStartRPM < s.FEndRPM, "0 < start rpm < end rpm");
  require(s.FRollers.size() == 1 || (s.FRollers.size() == 2 && s.FVariant != TSynthVariant::M301),
          "one roller, or two in the MH variants");
  require(s.FStep >= 1e-4 && s.FStep <= 0.01, "integration step in [0.1 ms, 10 ms]");
  require(s.FTick > 0 && s.FTick <= 1e-3, "timer tick in (0, 1 ms]");
  require(s.FShiftTime >= 0 && s.FLeadTime >= 0 && s.FCoastTime >= 0,
          "phase times must not be negative");
  require(s.FEfficiency > 0 && s.FEfficiency <= 1, "driveline efficiency in (0, 1]");
  require(s.FIdleRPM > 0, "idle rpm must be positive");
  require(s.FPulsesPerRev >= 1 && s.FM301EnginePulses >= 2 && s.FM301EnginePulses <= 255,
          "engine pickup: pulses per revolution >= 1, engine pulses per M301 word 2..255");
  require(s.FM301TemperatureBytes >= 0 && s.FOtherRecords >= 0 && s.FBlocks36 >= 0 &&
              s.FM301TemperatureBytes <= 4095 && s.FOtherRecords <= 65535 && s.FBlocks36 <= 65535,
          "counts in 0..65535 (temperature bytes 0..4095)");
  require(!s.FAirFuel.FPresent || (s.FAirFuel.FRate > 0 && s.FAirFuel.FRate <= 1000),
          "air/fuel rate in (0, 1000] Hz");
  // The reader groups 720 / c raw intervals into an engine cycle; only whole groups come out right.
  require(
      s.FCrankAngle > 0 && s.FCycles > 0 && (720 % s.FCrankAngle == 0 || s.FCrankAngle % 720 == 0),
      "crank angle per pulse must divide 720 or be a multiple of it");
  for (TRollerSpec& r : s.FRollers) {
    require(r.FMass > 0 && r.FAddedMass >= 0, "roller mass > 0, added mass >= 0");
    require(r.FWindow >= 1 && r.FDistance > 0, "roller window >= 1, distance > 0");
    if (s.FVariant == TSynthVariant::M301) {
      require(r.FWindow <= 5, "M301 windows are 1..5");
      // The file holds these as floats; the model uses what the reader will get.
      r.FMass = SinglePrecision(r.FMass);
      r.FAddedMass = SinglePrecision(r.FAddedMass);
      r.FDistance = SinglePrecision(r.FDistance);
    }
  }
  Integrate();
}

std::array<double, 3> TPullModel::RollerLoss(std::size_t roller) const {
  const TRollerSpec& r = FSpec.FRollers.at(roller);
  return FSpec.FVariant == TSynthVariant::M301 ? M301LossForMass(r.FMass) : r.FLoss;
}

double TPullModel::LossForce(double v) const {
  double f = 0;
  for (std::size_t i = 0; i < FSpec.FRollers.size(); ++i) {
    const auto c = RollerLoss(i);
    f += c[0] * v * v + c[1] * v + c[2];
  }
  return f;
}

double TPullModel::TotalMass() const {
  double m = 0;
  for (const TRollerSpec& r : FSpec.FRollers)
    m += r.FMass + r.FAddedMass;
  return m;
}

void TPullModel::Integrate() {
  const TPullSpec& s = FSpec;
  const double h = s.FStep;
  const double mass = TotalMass();
  const double v0 = s.FStartRPM / s.FGearRatios.front();
  const double forcePerTorque = s.FEfficiency * 2 * std::numbers::pi / 60;  // × torque × ratio

  TPhase phase = s.FLeadTime > 0 ? TPhase::Lead : TPhase::Pull;
  std::size_t gear = 0;
  double phaseStart = 0;  // s
  double coastRPM = 0;    // engine speed when the coast-down began

  // Acceleration and engine speed in the current phase.
  auto accel = [&](double t, double v) {
    (void)t;
    switch (phase) {
      case TPhase::Lead:
        return 0.0;
      case TPhase::Pull: {
        const double g = s.FGearRatios[gear];
        return (forcePerTorque * TorqueAt(s.FTorqueCurve, g * v) * g - LossForce(v)) / mass;
      }
      case TPhase::Shift:
        return -LossForce(v) / mass;
      case TPhase::Coast:
        return (-s.FCoastBrake - LossForce(v)) / mass;
    }
    return 0.0;
  };
  auto rpm = [&](double t, double v) {
    switch (phase) {
      case TPhase::Lead:
        return s.FStartRPM;
      case TPhase::Pull:
        return s.FGearRatios[gear] * v;
      case TPhase::Shift: {
        // The engine is pulled down from the old gear's speed to the new one while the clutch
        // slips.
        const double f =
            s.FShiftTime > 0 ? std::clamp((t - phaseStart) / s.FShiftTime, 0.0, 1.0) : 1.0;
        return (s.FGearRatios[gear] * (1 - f) + s.FGearRatios[gear + 1] * f) * v;
      }
      case TPhase::Coast:
        return s.FIdleRPM + (coastRPM - s.FIdleRPM) * std::exp(-(t - phaseStart) / 0.5);
    }
    return 0.0;
  };

  FStates.clear();
  FGearStretches.clear();
  FPhaseChanges.clear();
  TState st;
  st.FV = v0;
  st.FRPM = rpm(0, v0);
  st.FA = accel(0, v0);
  FPullStart = phase == TPhase::Pull ? 0 : s.FLeadTime;
  double gearStart = FPullStart;
  FPullEnd = 0;
  const std::size_t maxSteps = static_cast<std::size_t>(kMaxRecording / h);
  FStates.reserve(std::min<std::size_t>(maxSteps, static_cast<std::size_t>(30 / h)));
  for (std::size_t k = 0;; ++k) {
    if (k >= maxSteps)
      throw std::invalid_argument(
          "pull model: the run would last over 120 s (does the engine reach the end rpm?)");
    // Classic RK4 on (x, v, crank angle in degrees).
    const double t = st.FT, x = st.FX, v = st.FV;
    const double a1 = accel(t, v), r1 = rpm(t, v);
    const double v2 = v + 0.5 * h * a1;
    const double a2 = accel(t + 0.5 * h, v2), r2 = rpm(t + 0.5 * h, v2);
    const double v3 = v + 0.5 * h * a2;
    const double a3 = accel(t + 0.5 * h, v3), r3 = rpm(t + 0.5 * h, v3);
    const double v4 = v + h * a3;
    const double a4 = accel(t + h, v4), r4 = rpm(t + h, v4);
    TState next;
    next.FT = (k + 1) * h;
    next.FX = x + h / 6 * (v + 2 * v2 + 2 * v3 + v4);
    next.FV = v + h / 6 * (a1 + 2 * a2 + 2 * a3 + a4);
    next.FAngle = st.FAngle + h / 6 * 6 * (r1 + 2 * r2 + 2 * r3 + r4);
    st.FA = a1;
    st.FAEnd = accel(next.FT, next.FV);
    FStates.push_back(st);
    next.FRPM = rpm(next.FT, next.FV);

    // Phase changes fall on step boundaries.
    bool done = false;
    const double tn = next.FT;
    const TPhase before = phase;
    switch (phase) {
      case TPhase::Lead:
        if (tn >= s.FLeadTime - 0.5 * h) {
          phase = TPhase::Pull;
          FPullStart = gearStart = tn;
        }
        break;
      case TPhase::Pull:
        if (next.FRPM >= s.FEndRPM) {
          FGearStretches.emplace_back(gearStart, tn);
          if (gear + 1 < s.FGearRatios.size()) {
            phase = TPhase::Shift;
          } else {
            phase = TPhase::Coast;
            FPullEnd = tn;
            coastRPM = next.FRPM;
          }
          phaseStart = tn;
        }
        break;
      case TPhase::Shift:
        if (tn - phaseStart >= s.FShiftTime - 0.5 * h) {
          phase = TPhase::Pull;
          ++gear;
          gearStart = tn;
        }
        break;
      case TPhase::Coast:
        done = tn - phaseStart >= s.FCoastTime - 0.5 * h || next.FV < 0.3 * v0;
        break;
    }
    if (phase != before) FPhaseChanges.push_back(tn);
    next.FRPM = rpm(tn, next.FV);
    next.FA = accel(tn, next.FV);
    st = next;
    if (done) break;
  }
  st.FAEnd = st.FA;
  FStates.push_back(st);
}

double TPullModel::Duration() const {
  return FStates.back().FT;
}

std::size_t TPullModel::StepIndex(double t) const {
  if (!(t > 0)) return 0;
  const std::size_t k = static_cast<std::size_t>(t / FSpec.FStep);
  return std::min(k, FStates.size() - 2);
}

double TPullModel::SpeedAt(double t) const {
  t = std::clamp(t, 0.0, Duration());
  const std::size_t k = StepIndex(t);
  const TState& a = FStates[k];
  const TState& b = FStates[k + 1];
  return Hermite(a.FV, b.FV, a.FA, a.FAEnd, FSpec.FStep, (t - a.FT) / FSpec.FStep);
}

double TPullModel::AccelAt(double t) const {
  t = std::clamp(t, 0.0, Duration());
  const std::size_t k = StepIndex(t);
  const TState& a = FStates[k];
  const double f = (t - a.FT) / FSpec.FStep;
  return a.FA + (a.FAEnd - a.FA) * f;
}

double TPullModel::RPMAt(double t) const {
  t = std::clamp(t, 0.0, Duration());
  const std::size_t k = StepIndex(t);
  const TState& a = FStates[k];
  const TState& b = FStates[k + 1];
  return a.FRPM + (b.FRPM - a.FRPM) * (t - a.FT) / FSpec.FStep;
}

double TPullModel::WheelForceAt(double t) const {
  return TotalMass() * AccelAt(t) + LossForce(SpeedAt(t));
}

double TPullModel::RollerForceAt(std::size_t roller, double t) const {
  const TRollerSpec& r = FSpec.FRollers.at(roller);
  const auto c = RollerLoss(roller);
  const double v = SpeedAt(t);
  return (r.FMass + r.FAddedMass) * AccelAt(t) + c[0] * v * v + c[1] * v + c[2];
}

double TPullModel::WheelPowerAt(double t) const {
  return WheelForceAt(t) * SpeedAt(t) / 550;
}

double TPullModel::WheelTorqueAt(double t) const {
  return WheelForceAt(t) * SpeedAt(t) * 60 / (2 * std::numbers::pi * RPMAt(t));
}

double TPullModel::AirFuelAt(double t) const {
  const TAirFuelSpec& af = FSpec.FAirFuel;
  if (t < FPullStart) return af.FCruise;
  if (t <= FPullEnd) {
    const double f =
        std::clamp((RPMAt(t) - FSpec.FStartRPM) / (FSpec.FEndRPM - FSpec.FStartRPM), 0.0, 1.0);
    return af.FRichStart + (af.FRichEnd - af.FRichStart) * f;
  }
  // The mixture leans out over a third of a second once the throttle closes.
  const double f = std::min((t - FPullEnd) / 0.3, 1.0);
  return af.FRichEnd + (af.FCoast - af.FRichEnd) * f;
}

// Times at which the surface travel (or the crank angle) passes first, first + every, ...
std::vector<double> TPullModel::Crossings(bool angle, double first, double every) const {
  std::vector<double> times;
  const double h = FSpec.FStep;
  double target = first;
  for (std::size_t k = 0; k + 1 < FStates.size(); ++k) {
    const TState& a = FStates[k];
    const TState& b = FStates[k + 1];
    const double p0 = angle ? a.FAngle : a.FX, p1 = angle ? b.FAngle : b.FX;
    const double m0 = angle ? 6 * a.FRPM : a.FV, m1 = angle ? 6 * b.FRPM : b.FV;
    while (target <= p1) {
      // No record holds more than 65535 pulses; far beyond that the spec is a mistake.
      if (times.size() >= kMaxPulses)
        throw std::invalid_argument(
            "pull model: over a million pulses; lengthen the pulse spacing");
      if (target >= p0) {
        // Travel and angle only grow, so bisection finds the one crossing in the step.
        double lo = 0, hi = 1;
        for (int i = 0; i < 48; ++i) {
          const double mid = 0.5 * (lo + hi);
          (Hermite(p0, p1, m0, m1, h, mid) < target ? lo : hi) = mid;
        }
        times.push_back(a.FT + 0.5 * (lo + hi) * h);
      }
      target += every;
    }
  }
  return times;
}

std::vector<double> TPullModel::DrumPulseTimes(std::size_t roller) const {
  const TRollerSpec& r = FSpec.FRollers.at(roller);
  const double d = r.FDistance / r.FWindow;
  // Half a pulse distance in, so the first pulse never falls on count 0.
  return Crossings(false, 0.5 * d, d);
}

std::vector<double> TPullModel::DrumPulseTimes() const {
  return DrumPulseTimes(0);
}

std::vector<double> TPullModel::EnginePulseTimes() const {
  const double every = FSpec.FVariant == TSynthVariant::M301
                           ? 360.0 / FSpec.FPulsesPerRev
                           : static_cast<double>(FSpec.FCrankAngle) * FSpec.FCycles;
  std::vector<double> times = Crossings(true, 0.3 * every, every);
  for (double t : FSpec.FEngineSpikes)
    if (t > 0 && t < Duration()) times.push_back(t);
  std::sort(times.begin(), times.end());
  return times;
}

double TPullModel::ReaderTime(double t) const {
  const double tick = FSpec.FVariant == TSynthVariant::M301 ? 1e-6 : FSpec.FTick;
  return t + static_cast<double>(FSpec.FTimerStart) * tick;
}

uint64_t TPullModel::Count(double t) const {
  const double tick = FSpec.FVariant == TSynthVariant::M301 ? 1e-6 : FSpec.FTick;
  return FSpec.FTimerStart + static_cast<uint64_t>(std::llround(t / tick));
}

TSynthRun TPullModel::Run() const {
  return FSpec.FVariant == TSynthVariant::M301 ? M301Run() : MHRun();
}

TPullSpec FitPullTime(TPullSpec spec, double seconds) {
  if (!(seconds > 0)) throw std::invalid_argument("pull time must be positive");
  // The pull time grows almost in proportion to the mass; a few corrections settle it.
  for (int i = 0; i < 6; ++i) {
    const TPullModel model(spec);
    double pull = 0;
    for (const auto& [from, to] : model.GearStretches())
      pull += to - from;
    const double scale = seconds / pull;
    if (std::abs(scale - 1) < 0.002) break;
    for (TRollerSpec& r : spec.FRollers) {
      r.FMass *= scale;
      r.FAddedMass *= scale;
    }
  }
  return spec;
}
