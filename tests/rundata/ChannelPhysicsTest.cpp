// The channel computation against the synthesizer's pull model: a run file written from a
// known torque curve, read back and computed, must give the model's own wheel power and torque.

#include <gtest/gtest.h>

#include <cmath>

#include "GphData.h"
#include "PullModel.h"
#include "RunFile.h"
#include "RunSynth.h"
#include "TestSupport.h"

namespace {

// Largest relative error of block means: each block of points is averaged in the computed
// channel and in the model, then the two means compared.
class TBlockError {
 public:
  explicit TBlockError(int points) : FPoints(points) {}
  void Add(double computed, double truth, double t) {
    FComputed += computed;
    FTruth += truth;
    if (++FCount < FPoints) return;
    const double relative = std::fabs(FComputed - FTruth) / std::fabs(FTruth);
    if (relative > FWorst) {
      FWorst = relative;
      FAt = t;
    }
    FComputed = FTruth = 0;
    FCount = 0;
  }
  double Worst() const { return FWorst; }
  double At() const { return FAt; }

 private:
  int FPoints;
  int FCount = 0;
  double FComputed = 0, FTruth = 0, FWorst = 0, FAt = 0;
};

class ChannelPhysics : public ::testing::TestWithParam<TSynthVariant> {};

TEST_P(ChannelPhysics, PullGivesTheModelsPowerAndTorque) {
  TPullSpec spec;
  spec.FVariant = GetParam();
  // A curve with a real shape: torque rises to a peak at 4500 rpm and falls away.
  spec.FTorqueCurve = {{2000, 260}, {3000, 300}, {4500, 340}, {6000, 310}, {7500, 250}};
  spec.FAirFuel.FPresent = spec.FVariant != TSynthVariant::M301;
  const TPullModel model(spec);
  tw_test::TTempDir dir;
  const auto path = dir / "pull.DRF";
  WriteRunFile(model.Run(), path);

  TGphData data;
  data.FUnits = BuildDefaultUnits();
  data.FUnits[ukSpeed] = BuildAllUnits()[14];  // ft/s, the model's unit
  data.FCFs = LoadCorrectionFactors();
  data.FCFIndex = 0;  // no correction
  data.FSmoothing = 0;
  data.FXChannel = ctTime;
  data.FYChannel[0] = ctPower;
  data.FYChannel[1] = ctTorque;
  data.FYChannel[2] = ctSpeed;
  auto run = std::make_unique<TRunData>();
  ASSERT_EQ(LoadFileData(path.string(), *run, data.FUnits), 0);
  data.AddRun(std::move(run));
  ASSERT_EQ(data.CalculateData(), 0);
  const TRunData& loaded = *data.Run(0);
  ASSERT_EQ(loaded.FCF, 1.0);
  const TChannel& power = *loaded.FShown[0];
  const TChannel& torque = *loaded.FShown[1];
  const TChannel& speed = *loaded.FShown[2];

  // Compare over the full-throttle pull, away from its ends where the throttle steps. Speed is
  // compared point by point, power and torque by means over blocks of 1 s (50 points, below).
  TBlockError powerError(50), torqueError(50), speedError(1);
  int points = 0;
  for (uint32_t k = 0; k < loaded.FNumPoints; ++k) {
    const double t = k * loaded.FDT;
    if (t < model.PullStart() + 0.5 || t > model.PullEnd() - 0.5) continue;
    ASSERT_TRUE(std::isfinite(power.FY[k]) && std::isfinite(torque.FY[k])) << t;
    powerError.Add(power.FY[k], model.WheelPowerAt(t), t);
    torqueError.Add(torque.FY[k], model.WheelTorqueAt(t), t);
    speedError.Add(speed.FY[k], model.SpeedAt(t), t);
    ++points;
  }
  EXPECT_GT(points, 100);
  // The speed of a window of pulses is the true speed at the window's middle time for a
  // steady acceleration; only the microsecond timer quantises it (1 us on a window of 25 to
  // 60 ms), far below 0.1 %.
  EXPECT_LT(speedError.Worst(), 0.001) << "at " << speedError.At() << " s";
  // Power and torque rest on the acceleration: the difference of two such speeds one pulse
  // (6 to 16 ms) apart, placed at the later sample's time. There the same 1 us of the timer is
  // several per cent of the acceleration near top speed, so single unsmoothed points scatter
  // by up to 10 % (what the smoothing is for). That scatter has no bias: over 50 points it
  // falls to some 0.5 % at worst, and placing the acceleration 1.5 pulses late costs at most
  // 0.2 % where the torque curve bends. So block means agree within 1 %; a wrong mass, loss
  // term, unit, correction or time base is off by more.
  EXPECT_LT(powerError.Worst(), 0.01) << "at " << powerError.At() << " s";
  EXPECT_LT(torqueError.Worst(), 0.01) << "at " << torqueError.At() << " s";
}

INSTANTIATE_TEST_SUITE_P(Variants, ChannelPhysics,
                         ::testing::Values(TSynthVariant::M301, TSynthVariant::MH100,
                                           TSynthVariant::MH703));

}  // namespace
