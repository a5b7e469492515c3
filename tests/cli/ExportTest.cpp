// tracewell-cli export against the data set computed directly: the same columns, names and
// values, for the axes, units, correction factors, smoothing levels and gear choice.

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <memory>

#include "CliTestSupport.h"
#include "GphData.h"
#include "RunFile.h"
#include "TestSupport.h"

namespace {

using namespace tw_test;

struct TExportCase {
  const char* FLabel;
  const char* FSample;
  std::vector<std::string> FArgs;  // besides the file
  // The same request as the window's data set holds it.
  TUnitSet FUnits;
  int32_t FX;
  std::vector<int32_t> FY;
  int32_t FCF;
  int32_t FSmoothing;
  bool FClutchPower;
  int FGear;  // 0 = every point
};

// Names the case in test output; the default printer would dump the bytes, pointers included.
void PrintTo(const TExportCase& c, std::ostream* out) { *out << c.FLabel; }

struct TExpectedColumn {
  std::string FTitle;
  std::vector<float> FValues;
};

// The run computed by the data set itself, and the columns the export must write.
class TDirectRun {
 public:
  explicit TDirectRun(const TExportCase& c) {
    FData.FUnits = BuildUnitSet(c.FUnits);
    FData.BuildUnitNames();
    FData.FCFs = LoadCorrectionFactors();
    FData.FCFIndex = c.FCF;
    FData.FSmoothing = c.FSmoothing;
    // A window whose registry the acquisition program has not written yet.
    FData.FOptions = {0.0075, 0.75, 0.125, c.FClutchPower};
    FData.FXChannel = c.FX;
    for (size_t s = 0; s < c.FY.size(); ++s)
      FData.FYChannel[s] = c.FY[s];
    auto run = std::make_unique<TRunData>();
    FLoadCode = LoadFileData(SamplePath(c.FSample), *run, FData.FUnits, FData.FOptions);
    FData.AddRun(std::move(run));
    FData.CalculateData();
    FData.BuildChannelTable();
    FData.BuildChannelNames();
  }

  std::string Title(uint32_t id) const {
    for (size_t k = 0; k < FData.FChannelIDs.size(); ++k)
      if (static_cast<uint32_t>(FData.FChannelIDs[k]) == id)
        return FData.FChannelTitles[k] +
               (ChannelOrdinal(id) ? " [" + std::to_string(ChannelOrdinal(id) + 1) + "]" : "");
    return "?";
  }

  std::vector<TExpectedColumn> Columns() const {
    const TRunData& run = *FData.Run(0);
    std::vector<TExpectedColumn> columns;
    TExpectedColumn time{Title(ctTime), {}};
    for (uint32_t k = 0; k < run.FNumPoints; ++k)
      time.FValues.push_back(static_cast<float>(k * run.FDT));
    columns.push_back(time);
    if (FData.FXChannel != ctTime)
      for (const TChannel* x : run.FXChannels)
        columns.push_back({Title(x->FID), x->FY});
    for (int s = 0; s < kLineSlots; ++s)
      if (const TChannel* y = run.FShown[s]) columns.push_back({Title(y->FID), y->FY});
    return columns;
  }

  TGphData FData;
  uint16_t FLoadCode = 0;
};

class Export : public ::testing::TestWithParam<TExportCase> {};

TEST_P(Export, WritesTheDataSetsChannels) {
  const TExportCase& c = GetParam();
  TDirectRun direct(c);
  ASSERT_EQ(direct.FLoadCode, 0);
  const TRunData& run = *direct.FData.Run(0);
  uint32_t first = 0, end = run.FNumPoints;
  if (c.FGear > 0) {
    ASSERT_EQ(run.FXChannels.size(), 1u);
    const TGears& gears = *run.FXChannels[0]->FGears;
    ASSERT_GE(gears.Count(), static_cast<uint32_t>(c.FGear));
    first = gears.FStart[c.FGear - 1];
    end = gears.FEnd[c.FGear - 1] + 1;
  }
  const std::vector<TExpectedColumn> columns = direct.Columns();
  const size_t xColumns = c.FX == ctTime ? 0 : run.FXChannels.size();
  ASSERT_EQ(columns.size(), 1 + xColumns + c.FY.size());

  std::vector<std::string> args = {"export"};
  args.insert(args.end(), c.FArgs.begin(), c.FArgs.end());
  args.push_back(SamplePath(c.FSample));
  const TCliResult result = RunCli(args);
  ASSERT_EQ(result.FCode, 0) << result.FErr;
  EXPECT_EQ(result.FErr, "");
  const auto rows = ParseCsv(result.FOut);
  ASSERT_EQ(rows.size(), 1 + end - first);
  for (size_t col = 0; col < columns.size(); ++col) {
    SCOPED_TRACE(columns[col].FTitle);
    ASSERT_EQ(rows[0].size(), columns.size());
    EXPECT_EQ(rows[0][col], columns[col].FTitle);
    const std::vector<float>& values = columns[col].FValues;
    ASSERT_EQ(values.size(), run.FNumPoints);
    int finite = 0;
    for (uint32_t k = first; k < end; ++k) {
      const std::string& cell = rows[1 + k - first][col];
      if (!std::isfinite(values[k])) {
        EXPECT_EQ(cell, "") << "point " << k;
        continue;
      }
      ++finite;
      // The text must read back as the very same float.
      EXPECT_EQ(std::strtof(cell.c_str(), nullptr), values[k]) << "point " << k << ": " << cell;
    }
    EXPECT_GT(finite, 0) << "a column without values proves nothing";
  }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Export,
    ::testing::Values(
        TExportCase{
            "defaults", "mh703_pull.DRF", {}, TUnitSet::SAE, ctTime, {13, 21}, 1, 5, false, 0},
        TExportCase{"every_single_drum_channel",
                    "mh703_pull.DRF",
                    {"--y", "power,torque,af,speed,rpm,gear"},
                    TUnitSet::SAE,
                    ctTime,
                    {13, 21, 4, 2, 3, 5},
                    1,
                    5,
                    false,
                    0},
        TExportCase{"m301_din_unsmoothed_metric",
                    "m301_pull.DRF",
                    {"--cf", "din", "--smoothing", "0", "--units", "metric"},
                    TUnitSet::Metric,
                    ctTime,
                    {13, 21},
                    2,
                    0,
                    false,
                    0},
        TExportCase{"two_rollers_over_speed",
                    "mh703_two_rollers.DRF",
                    {"--x", "speed", "--y", "total-power, power:2,total-torque", "--cf", "none"},
                    TUnitSet::SAE,
                    ctSpeed,
                    {12, 65549, 20},
                    0,
                    5,
                    false,
                    0},
        TExportCase{"two_rollers_over_engine_speed",
                    "mh703_two_rollers.DRF",
                    {"--x", "rpm", "--y", "power:2,power", "--smoothing", "2"},
                    TUnitSet::SAE,
                    ctRPM,
                    {65549, 13},
                    1,
                    2,
                    false,
                    0},
        TExportCase{
            "clutch_power_japanese_jis",
            "mh100_pull.DRF",
            {"--clutch-power", "--y", "clutch-power,power", "--units", "japanese", "--cf", "jis"},
            TUnitSet::Japanese,
            ctTime,
            {16, 13},
            5,
            5,
            true,
            0},
        TExportCase{"second_gear",
                    "mh703_two_gears.DRF",
                    {"--x", "rpm", "--gear", "2", "--y", "power,gear", "--cf", "std"},
                    TUnitSet::SAE,
                    ctRPM,
                    {13, 5},
                    4,
                    5,
                    false,
                    2}),
    [](const auto& info) { return std::string(info.param.FLabel); });

// A units file as the window stores it selects the units like a preset.
TEST(ExportUnits, UnitsFileActsAsItsSet) {
  TTempDir dir;
  const auto file = dir / "SelectedUnits.cfg";
  ASSERT_TRUE(WriteSelectedUnits(file.string(), BuildUnitSet(TUnitSet::Metric)));
  const std::string sample = SamplePath("mh100_pull.DRF");
  const TCliResult fromFile = RunCli({"export", "--units", file.string(), sample});
  const TCliResult preset = RunCli({"export", "--units", "METRIC", sample});
  ASSERT_EQ(fromFile.FCode, 0) << fromFile.FErr;
  EXPECT_EQ(fromFile.FOut, preset.FOut);
  EXPECT_EQ(ParseCsv(preset.FOut)[0][1], "Power (kW)");
}

// With several runs each gets a block headed by its name; a run that fails is left out, reported,
// and fails the exit status, while the others are still written.
TEST(ExportBlocks, SeveralRunsWithOneMissing) {
  const std::string a = SamplePath("mh703_pull.DRF"), b = SamplePath("m301_pull.DRF");
  const TCliResult result = RunCli({"export", a, "missing.DRF", b});
  EXPECT_EQ(result.FCode, 1);
  EXPECT_NE(result.FErr.find("missing.DRF: cannot open (load code 1)"), std::string::npos)
      << result.FErr;
  const auto rows = ParseCsv(result.FOut);
  const std::string alone = RunCli({"export", a}).FOut;
  const size_t rowsA = ParseCsv(alone).size();
  ASSERT_GT(rows.size(), rowsA + 3);
  EXPECT_EQ(rows[0], std::vector<std::string>{a});
  EXPECT_EQ(rows[rowsA + 1], std::vector<std::string>{""});  // the empty line between blocks
  EXPECT_EQ(rows[rowsA + 2], std::vector<std::string>{b});
  EXPECT_EQ(result.FOut.substr(a.size() + 1, alone.size()), alone);
}

// --out-dir writes one file per run; runs of the same name get distinct files, and an input
// file is never the target of an output.
TEST(ExportOutDir, OneFilePerRunWithoutClobbering) {
  TTempDir dir;
  const auto sub = dir / "other";
  std::filesystem::create_directories(sub);
  const auto sample = SamplePath("mh703_pull.DRF");
  std::filesystem::copy_file(sample, dir / "mh703_pull.DRF");
  std::filesystem::copy_file(sample, sub / "mh703_pull.DRF");
  // An input named like the first output must survive.
  std::filesystem::create_directories(dir / "out");
  std::filesystem::copy_file(sample, dir / "out" / "mh703_pull.DRF.json");
  const TCliResult result =
      RunCli({"export", "--format", "json", "--out-dir", (dir / "out").string(),
              (dir / "mh703_pull.DRF").string(), (sub / "mh703_pull.DRF").string(),
              (dir / "out" / "mh703_pull.DRF.json").string()});
  EXPECT_EQ(result.FCode, 0) << result.FErr;
  EXPECT_EQ(result.FOut, "");
  EXPECT_EQ(ReadFile(dir / "out" / "mh703_pull.DRF.json"), ReadFile(sample));
  const std::string expected = RunCli({"export", "--format", "json", sample}).FOut;
  const auto withoutPath = [](std::string text) {
    const size_t at = text.find("\"path\"");
    return at == std::string::npos ? text : text.erase(at, text.find('\n', at) - at);
  };
  for (const char* name : {"mh703_pull.DRF-2.json", "mh703_pull.DRF-3.json"})
    EXPECT_EQ(withoutPath(ReadFile(dir / "out" / name)), withoutPath(expected)) << name;
  EXPECT_TRUE(std::filesystem::exists(dir / "out" / "mh703_pull.DRF.json.json"));
}

}  // namespace
