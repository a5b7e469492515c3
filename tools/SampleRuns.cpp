// The runs bundled in samples/: realistic pulls of about 370 crank hp from 2500 to 7000 rpm, one
// per variant, two rollers, and two gears. Everything here is fixed, so the files come out the
// same byte for byte every time (the noise is seeded).

#include "PullModel.h"

namespace {

TPullSpec Base(TSynthVariant variant) {
  TPullSpec s;
  s.FVariant = variant;
  s.FGearRatios = {40};  // fourth gear: 7000 rpm at 175 ft/s (119 mph)
  s.FRollers = {TRollerSpec{}};
  s.FRollers[0].FMass = 70;
  s.FRollers[0].FWindow = 4;
  s.FRollers[0].FDistance = 4;
  s.FRollers[0].FLoss = {0.000343035, 0.022526031, 2.743781049};
  return s;
}

}  // namespace

std::vector<std::pair<std::string, TPullSpec>> SampleSpecs() {
  std::vector<std::pair<std::string, TPullSpec>> samples;

  TPullSpec m301 = Base(TSynthVariant::M301);
  m301.FTitle = "Stage 2 cams, 93 octane";
  m301.FType = "WO";
  m301.FNotes = "Pull 3 of 4, fourth gear\r\nTiming 32 deg, fuel 43 psi\r\nFan on, hood open";
  m301.FWeather = {24.5, 38, 29.21, 820};
  m301.FSeed = 301;
  samples.emplace_back("m301_pull.DRF", FitPullTime(m301, 9));

  TPullSpec mh100 = Base(TSynthVariant::MH100);
  mh100.FTitle = "Baseline, stock exhaust";
  mh100.FType = "BL";
  mh100.FNotes = "Fourth gear, 2500 to 7000 rpm\r\nTyres 32 psi, straps checked";
  mh100.FWeather = {18.0, 62, 29.87, 120};
  mh100.FSeed = 100;
  samples.emplace_back("mh100_pull.DRF", FitPullTime(mh100, 11));

  TPullSpec mh703 = Base(TSynthVariant::MH703);
  mh703.FTitle = "Header and tune, 91 octane";
  mh703.FType = "TUN";
  mh703.FNotes = "Pull 2\r\nAFR target 12.8 at redline\r\nIntake temp 31 C after pull";
  mh703.FWeather = {27.0, 55, 29.02, 1450};
  mh703.FRollers[0].FSerial = 40117;
  mh703.FOtherRecords = 1;
  mh703.FSeed = 703;
  samples.emplace_back("mh703_pull.DRF", FitPullTime(mh703, 12));

  TPullSpec awd = Base(TSynthVariant::MH703);
  awd.FTitle = "AWD baseline, centre locked";
  awd.FType = "AWD";
  awd.FNotes = "Front and rear rollers coupled\r\nFourth gear";
  awd.FWeather = {21.5, 47, 29.55, 640};
  awd.FRollers = {awd.FRollers[0], awd.FRollers[0]};
  awd.FRollers[0].FSerial = 40211;
  awd.FRollers[1].FSerial = 40212;
  awd.FRollers[1].FWindow = 3;
  awd.FRollers[1].FDistance = 3.6;
  awd.FRollers[1].FLoss = {0.00029, 0.0195, 2.41};
  awd.FSeed = 2;
  samples.emplace_back("mh703_two_rollers.DRF", FitPullTime(awd, 10));

  TPullSpec gears = Base(TSynthVariant::MH703);
  gears.FTitle = "Third and fourth gear";
  gears.FType = "3-4";
  gears.FNotes = "Shift at 7000 rpm\r\nClutch in about 0.35 s";
  gears.FWeather = {23.0, 41, 29.40, 700};
  gears.FGearRatios = {52, 40};
  gears.FRollers[0].FSerial = 40117;
  gears.FSeed = 34;
  samples.emplace_back("mh703_two_gears.DRF", FitPullTime(gears, 13));

  return samples;
}
