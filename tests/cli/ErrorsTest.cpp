// Bad run files and bad command lines: a clear message, a non-zero exit status, no output for
// what could not be read.

#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdlib>
#include <functional>
#include <variant>

#include "CliTestSupport.h"
#include "PullModel.h"
#include "RunSynth.h"
#include "TestSupport.h"

namespace {

using namespace tw_test;

TSynthRun SmallPull() {
  TPullSpec spec;
  spec.FVariant = TSynthVariant::MH703;
  return TPullModel(FitPullTime(spec, 3)).Run();
}

struct TBadFileCase {
  const char* FLabel;
  std::function<void(TSynthRun&)> FDamage;
  int FExit;
  const char* FMessage;
};

void PrintTo(const TBadFileCase& c, std::ostream* out) { *out << c.FLabel; }

class BadRunFile : public ::testing::TestWithParam<TBadFileCase> {};

TEST_P(BadRunFile, IsReportedInWords) {
  const TBadFileCase& c = GetParam();
  TSynthRun run = SmallPull();
  c.FDamage(run);
  TTempDir dir;
  const auto path = (dir / "damaged.DRF").string();
  WriteRunFile(run, path);
  for (const char* command : {"info", "export"}) {
    SCOPED_TRACE(command);
    const TCliResult result = RunCli({command, path});
    EXPECT_EQ(result.FCode, c.FExit);
    EXPECT_NE(result.FErr.find(path + ": " + c.FMessage), std::string::npos) << result.FErr;
    EXPECT_EQ(result.FOut.empty(), c.FExit != 0);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, BadRunFile,
    ::testing::Values(TBadFileCase{"truncated",
                                   [](TSynthRun& run) {
                                     // Cut inside the drum's samples.
                                     TSynthLayout layout;
                                     WriteRunBytes(run, &layout);
                                     for (size_t r = 0; r < run.FRecords.size(); ++r)
                                       if (std::holds_alternative<TSynthDrum>(run.FRecords[r]))
                                         run.FTruncateAt = layout.FRecordOffsets[r] + 500;
                                   },
                                   1, "bad or truncated data"},
                      TBadFileCase{"crank_angle_0",
                                   [](TSynthRun& run) {
                                     for (TSynthRecord& record : run.FRecords)
                                       if (auto* engine = std::get_if<TSynthEngine>(&record))
                                         engine->FCrankAngle = 0;
                                   },
                                   1, "engine-speed record with crank angle 0 (load code 16)"},
                      TBadFileCase{"unknown_signature",
                                   [](TSynthRun& run) {
                                     run.FVariant = TSynthVariant::MH100;
                                     run.FTruncateAt = 5;  // "MH100" without its line end
                                   },
                                   1, "not a run file (load code 2)"},
                      TBadFileCase{"checksum_mismatch",
                                   [](TSynthRun& run) { run.FBadChecksum = true; }, 0,
                                   "checksum mismatch"}),
    [](const auto& info) { return std::string(info.param.FLabel); });

struct TBadOptionCase {
  std::vector<std::string> FArgs;
  const char* FMessage;
};

TEST(BadOptions, AreUsageErrors) {
  const std::string sample = SamplePath("mh703_pull.DRF");
  const TBadOptionCase cases[] = {
      {{}, "Usage: tracewell-cli COMMAND"},
      {{"frobnicate"}, "unknown command 'frobnicate'"},
      {{"export"}, "no run file given"},
      {{"info", "--x", "rpm", sample}, "unknown option '--x'"},
      {{"export", sample, "--x"}, "option '--x' needs a value"},
      {{"export", "--x", "gear", sample}, "bad --x 'gear'"},
      {{"export", "--y", "power,boost", sample}, "unknown channel 'boost'"},
      {{"export", "--y", "power:0", sample}, "bad number in channel 'power:0'"},
      {{"export", "--y", ",", sample}, "unknown channel ''"},
      {{"export", "--y",
        "power,torque,speed,rpm,af,gear,power:2,torque:2,speed:2,rpm:2,af:2,gear:2,power:3",
        sample},
       "--y names 13 channels; there are 12 line slots"},
      {{"export", "--cf", "iso", sample}, "bad --cf 'iso'"},
      {{"export", "--smoothing", "6", sample}, "bad --smoothing '6'"},
      {{"export", "--smoothing", "2.5", sample}, "bad --smoothing '2.5'"},
      {{"export", "--gear", "1", sample}, "--gear needs --x rpm"},
      {{"export", "--x", "rpm", "--gear", "0", sample}, "bad --gear '0'"},
      {{"export", "--format", "xml", sample}, "bad --format 'xml'"},
      {{"export", "--units", "imperial", sample}, "cannot use the units file 'imperial'"},
      {{"info", "--json=yes", sample}, "option '--json' takes no value"},
  };
  for (const TBadOptionCase& c : cases) {
    const TCliResult result = RunCli(c.FArgs);
    EXPECT_EQ(result.FCode, 2) << c.FMessage;
    EXPECT_NE(result.FErr.find(c.FMessage), std::string::npos) << result.FErr;
    EXPECT_EQ(result.FOut, "") << c.FMessage;
  }
}

// A gear the run does not have fails that run only.
TEST(BadOptions, GearTheRunDoesNotHave) {
  TSynthRun noEngine = SmallPull();
  std::erase_if(noEngine.FRecords, [](const TSynthRecord& record) {
    return std::holds_alternative<TSynthEngine>(record);
  });
  TTempDir dir;
  const auto path = (dir / "no_engine.DRF").string();
  WriteRunFile(noEngine, path);
  const std::pair<std::string, std::string> cases[] = {
      {SamplePath("mh703_two_gears.DRF"),
       "gear 3 asked for, but the engine speed has 2 gear segments"},
      {path, "gear 3 asked for, but the run has no engine speed"},
  };
  for (const auto& [file, message] : cases) {
    const TCliResult result = RunCli({"export", "--x", "rpm", "--gear", "3", file});
    EXPECT_EQ(result.FCode, 1);
    EXPECT_NE(result.FErr.find(file + ": " + message), std::string::npos) << result.FErr;
    EXPECT_EQ(result.FOut, "");
  }
}

TEST(Help, ForTheProgramAndEachCommand) {
  EXPECT_NE(RunCli({"--help"}).FOut.find("export"), std::string::npos);
  const TCliResult exportHelp = RunCli({"export", "--help"});
  EXPECT_EQ(exportHelp.FCode, 0);
  EXPECT_NE(exportHelp.FOut.find("counted from 1"), std::string::npos);
  EXPECT_NE(RunCli({"info", "-h"}).FOut.find("--json"), std::string::npos);
}

// The program itself: its version, and its exit status and streams for a file it cannot read.
TEST(Program, VersionAndExitStatus) {
  TTempDir dir;
  const auto out = dir / "out.txt", err = dir / "err.txt";
  const auto run = [&](const std::string& args) {
    const std::string command = std::string("'") + TRACEWELL_CLI_PROGRAM + "' " + args + " >'" +
                                out.string() + "' 2>'" + err.string() + "'";
    const int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  };
  EXPECT_EQ(run("--version"), 0);
  EXPECT_EQ(ReadFile(out).rfind("tracewell-cli ", 0), 0u) << ReadFile(out);
  EXPECT_EQ(run("export '" + (dir / "absent.DRF").string() + "'"), 1);
  EXPECT_EQ(ReadFile(out), "");
  EXPECT_NE(ReadFile(err).find("absent.DRF: cannot open"), std::string::npos);
}

}  // namespace
