// The pull model is a sound yardstick: its pulses match its own speed, its forces match the engine
// through the gearing, and the bundled samples are realistic and come out byte for byte the same.

#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <functional>
#include <iterator>
#include <numbers>
#include <stdexcept>

#include "PullModel.h"
#include "TestSupport.h"

namespace {

TPullSpec Spec(TSynthVariant variant, std::vector<double> gears, int rollers) {
  TPullSpec s;
  s.FVariant = variant;
  s.FGearRatios = std::move(gears);
  s.FRollers.assign(static_cast<std::size_t>(rollers), TRollerSpec{});
  if (rollers == 2) {
    s.FRollers[1].FMass = 40;
    s.FRollers[1].FWindow = 3;
    s.FRollers[1].FDistance = 3.6;
    s.FRollers[1].FLoss = {0.0003, 0.02, 2.5};
  }
  return s;
}

struct TNamedSpec {
  const char* FName;
  TPullSpec FSpec;
};

std::vector<TNamedSpec> Specs() {
  return {{"m301_one_gear", Spec(TSynthVariant::M301, {40}, 1)},
          {"mh703_two_gears_52_40", Spec(TSynthVariant::MH703, {52, 40}, 1)},
          {"mh100_two_rollers", Spec(TSynthVariant::MH100, {40}, 2)}};
}

// True when [from, to] holds a jump of the acceleration.
bool HoldsPhaseChange(const TPullModel& model, double from, double to) {
  for (double t : model.PhaseChanges())
    if (t >= from && t <= to) return true;
  return false;
}

// Pulses W intervals apart cover the roller's window distance; the mean speed over them is the
// model's speed at their mid time up to the curvature of v(t), far below 1e-4 here. Windows over
// a jump of the acceleration are left out: there the mean is off by up to jump x window / 8.
TEST(PullModel, PulsesFollowTheModelSpeed) {
  for (const TNamedSpec& c : Specs()) {
    const TPullModel model(c.FSpec);
    for (std::size_t r = 0; r < c.FSpec.FRollers.size(); ++r) {
      const TRollerSpec& roller = c.FSpec.FRollers[r];
      const std::vector<double> t = model.DrumPulseTimes(r);
      ASSERT_GT(t.size(), 500u) << c.FName;
      EXPECT_GT(t.front(), 0) << c.FName;
      const std::size_t w = roller.FWindow;
      double worst = 0;
      for (std::size_t i = w; i < t.size(); ++i) {
        if (HoldsPhaseChange(model, t[i - w], t[i])) continue;
        const double mean = roller.FDistance / (t[i] - t[i - w]);
        worst = std::max(worst, std::abs(mean / model.SpeedAt(0.5 * (t[i] + t[i - w])) - 1));
      }
      EXPECT_LT(worst, 1e-4) << c.FName << " roller " << r;
    }
    // Engine pulses every 180 degrees (MH) or half a turn (M301: two per revolution), up to the
    // coast-down, where the engine falls to idle along a curve.
    const std::vector<double> e = model.EnginePulseTimes();
    double worst = 0;
    for (std::size_t i = 4; i < e.size() && e[i] < model.PullEnd(); ++i) {
      if (HoldsPhaseChange(model, e[i - 4], e[i])) continue;
      const double rpm = 2 * 60 / (e[i] - e[i - 4]);
      worst = std::max(worst, std::abs(rpm / model.RPMAt(0.5 * (e[i] + e[i - 4])) - 1));
    }
    EXPECT_LT(worst, 1e-4) << c.FName;
  }
}

TEST(PullModel, ForcesFollowTheEngineThroughTheGearing) {
  for (const TNamedSpec& c : Specs()) {
    const TPullModel model(c.FSpec);
    const TPullSpec& s = model.Spec();
    ASSERT_EQ(model.GearStretches().size(), s.FGearRatios.size()) << c.FName;
    for (std::size_t g = 0; g < s.FGearRatios.size(); ++g) {
      const auto [from, to] = model.GearStretches()[g];
      EXPECT_NEAR(model.RPMAt(to), s.FEndRPM, 20) << c.FName;
      for (double t = from + 0.01; t < to - 0.01; t += 0.25) {
        const double rpm = model.RPMAt(t);
        EXPECT_REL_NEAR(rpm / model.SpeedAt(t), s.FGearRatios[g], 1e-6) << c.FName;
        // Below the first point of the default curve the torque is held at 275 lbf·ft at 2500.
        const double torque = 275 + (315 - 275) * std::clamp((rpm - 2500) / 1000, 0.0, 1.0);
        if (rpm < 3500) {
          EXPECT_REL_NEAR(model.WheelTorqueAt(t), s.FEfficiency * torque, 1e-4) << c.FName << t;
        }
        EXPECT_REL_NEAR(model.WheelPowerAt(t), model.WheelTorqueAt(t) * rpm / 5252.113, 1e-5);
      }
    }
    // The rollers' own forces add up to the wheel force.
    for (double t = 0.5; t < model.Duration(); t += 0.5) {
      double sum = 0;
      for (std::size_t r = 0; r < s.FRollers.size(); ++r)
        sum += model.RollerForceAt(r, t);
      EXPECT_REL_NEAR(sum, model.WheelForceAt(t), 1e-9) << c.FName;
    }
    // Lead-in at steady speed, coast-down with the brake on.
    EXPECT_NEAR(model.AccelAt(0.5), 0, 1e-12);
    EXPECT_LT(model.AccelAt(model.Duration() - 0.1), 0);
  }
}

TEST(PullModel, FitPullTime) {
  for (double seconds : {6.0, 12.0}) {
    const TPullModel model(FitPullTime(Spec(TSynthVariant::MH703, {52, 40}, 2), seconds));
    double pull = 0;
    for (const auto& [from, to] : model.GearStretches())
      pull += to - from;
    EXPECT_REL_NEAR(pull, seconds, 0.01);
  }
}

TEST(PullModel, RefusesSpecsThatCannotMakeARun) {
  const std::vector<std::pair<const char*, std::function<void(TPullSpec&)>>> cases = {
      {"no gears", [](TPullSpec& s) { s.FGearRatios.clear(); }},
      {"negative ratio", [](TPullSpec& s) { s.FGearRatios = {-3}; }},
      {"start above end", [](TPullSpec& s) { s.FStartRPM = 8000; }},
      {"three rollers", [](TPullSpec& s) { s.FRollers.resize(3); }},
      {"two M301 rollers",
       [](TPullSpec& s) {
         s.FVariant = TSynthVariant::M301;
         s.FRollers.resize(2);
       }},
      {"M301 window 6",
       [](TPullSpec& s) {
         s.FVariant = TSynthVariant::M301;
         s.FRollers[0].FWindow = 6;
       }},
      {"crank angle 270", [](TPullSpec& s) { s.FCrankAngle = 270; }},
      {"zero mass", [](TPullSpec& s) { s.FRollers[0].FMass = 0; }},
      {"torque below the losses",
       [](TPullSpec& s) {
         s.FTorqueCurve = {{1000, 0.1}, {8000, 0.1}};
       }},
      {"torque curve out of order",
       [](TPullSpec& s) {
         s.FTorqueCurve = {{3000, 200}, {2000, 250}};
       }},
  };
  for (const auto& [name, spoil] : cases) {
    TPullSpec s = Spec(TSynthVariant::MH703, {40}, 1);
    spoil(s);
    EXPECT_THROW(TPullModel{s}, std::invalid_argument) << name;
  }
  // A pull too long for the 4095 drum words of an M301 file.
  TPullSpec longM301 = Spec(TSynthVariant::M301, {40}, 1);
  longM301.FRollers[0].FDistance = 1;
  EXPECT_THROW(TPullModel(longM301).Run(), std::invalid_argument);
}

std::vector<uint8_t> ReadFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The bundled samples are what the synthesizer makes today: `cmake --build <dir> --target
// samples` rewrites them when the model changes on purpose.
TEST(PullModel, SamplesAreRealisticAndReproducible) {
  const auto samples = SampleSpecs();
  ASSERT_EQ(samples.size(), 5u);
  for (const auto& [name, spec] : samples) {
    const TPullModel model(spec);
    double pull = 0, peakPower = 0;
    for (const auto& [from, to] : model.GearStretches()) {
      pull += to - from;
      for (double t = from; t < to; t += 0.01) {
        peakPower = std::max(peakPower, model.WheelPowerAt(t));
        EXPECT_GE(model.AirFuelAt(t), 12.5) << name;
        EXPECT_LE(model.AirFuelAt(t), 13.5) << name;
      }
    }
    EXPECT_GE(pull, 8) << name;
    EXPECT_LE(pull, 15) << name;
    EXPECT_GE(peakPower, 250) << name;
    EXPECT_LE(peakPower, 400) << name;
    const std::vector<uint8_t> bytes = WriteRunBytes(model.Run());
    EXPECT_TRUE(bytes == ReadFile(tw_test::SourceDir() / "samples" / name))
        << name << " differs from the synthesizer's output";
  }
}

}  // namespace
