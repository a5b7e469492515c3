// tracewell-cli info: the JSON report parses and carries the run's facts; texts from the run file
// come out as UTF-8.

#include <gtest/gtest.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include "CliTestSupport.h"
#include "PullModel.h"
#include "RunSynth.h"
#include "TestSupport.h"

namespace {

using namespace tw_test;

QJsonObject ParseJson(const std::string& text) {
  QJsonParseError error;
  const QJsonDocument document = QJsonDocument::fromJson(QByteArray::fromStdString(text), &error);
  EXPECT_EQ(error.error, QJsonParseError::NoError) << error.errorString().toStdString();
  return document.object();
}

TEST(InfoJson, ReportsTheRunsAndTheFailures) {
  const TCliResult result = RunCli(
      {"info", "--json", "--units", "metric", SamplePath("mh703_two_rollers.DRF"), "absent.DRF"});
  EXPECT_EQ(result.FCode, 1);
  const QJsonArray runs = ParseJson(result.FOut)["runs"].toArray();
  ASSERT_EQ(runs.size(), 2);
  const QJsonObject run = runs[0].toObject();
  EXPECT_EQ(run["variant"].toString(), "MH703");
  EXPECT_EQ(run["checksum"].toString(), "ok");
  EXPECT_EQ(run["drums"].toArray().size(), 2);
  EXPECT_EQ(run["drums"].toArray()[1].toObject()["name"].toString(), "40212");
  const QJsonObject altitude = run["conditions"].toObject()["altitude"].toObject();
  EXPECT_EQ(altitude["value"].toDouble(), 640);
  EXPECT_EQ(altitude["display"].toDouble(), 195);  // 640 ft in metres, rounded
  EXPECT_EQ(altitude["display_unit"].toString(), "m");
  bool secondPower = false;
  for (const QJsonValue channel : run["channels"].toArray())
    secondPower |= channel.toObject()["id"].toInt() == 65549 &&
                   channel.toObject()["title"].toString() == "Power (kW)";
  EXPECT_TRUE(secondPower);
  const QJsonArray factors = run["correction_factors"].toArray();
  ASSERT_EQ(factors.size(), 6);
  EXPECT_EQ(factors[0].toObject()["factor"].toDouble(), 1.0);
  EXPECT_EQ(factors[1].toObject()["name"].toString(), "SAE");

  const QJsonObject failed = runs[1].toObject();
  EXPECT_FALSE(failed["ok"].toBool());
  EXPECT_EQ(failed["load_code"].toInt(), 1);
  EXPECT_EQ(failed["errors"].toArray()[0].toString(), "cannot open");
}

// Windows-1252 bytes in the header become UTF-8, in JSON and in text; quotes and control
// characters cannot break the JSON, nor reach a terminal raw.
TEST(InfoTexts, Windows1252TitleAndNotes) {
  TPullSpec spec;
  spec.FTitle = "Caf\xE9 \"r\xF6ller\" \x1B[2J";
  spec.FNotes = "Line 1\r\n\x80 5 gain";
  TTempDir dir;
  const auto path = (dir / "texts.DRF").string();
  WriteRunFile(TPullModel(FitPullTime(spec, 3)).Run(), path);

  const TCliResult json = RunCli({"info", "--json", path});
  ASSERT_EQ(json.FCode, 0) << json.FErr;
  const QJsonObject run = ParseJson(json.FOut)["runs"].toArray()[0].toObject();
  EXPECT_EQ(run["title"].toString(), QString::fromUtf8("Caf\u00E9 \"r\u00F6ller\" \x1B[2J"));
  EXPECT_EQ(run["notes"].toString(), QString::fromUtf8("Line 1\r\n\u20AC 5 gain"));

  const TCliResult text = RunCli({"info", path});
  ASSERT_EQ(text.FCode, 0) << text.FErr;
  EXPECT_NE(text.FOut.find("Caf\u00E9 \"r\u00F6ller\" ?[2J\n"), std::string::npos) << text.FOut;
  EXPECT_NE(text.FOut.find("\u20AC 5 gain\n"), std::string::npos);
}

}  // namespace
