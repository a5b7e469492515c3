// The M301 reader: text header, parameters, drum words, engine words and temperature bytes.

#include <gtest/gtest.h>

#include <cmath>

#include "RunReaderFixtures.h"
#include "TestSupport.h"

using namespace reader_test;

namespace {

constexpr uint8_t kEngine = kM301EngineFlag;
constexpr uint8_t kTemperature = kM301TemperatureFlag;

double Celsius(double f) {
  return (f - 32) * 0.5555555555555556;
}

}  // namespace

TEST(M301Reader, HeaderTextsKeepTheirColumnsAndNotesLoseEmptyLines) {
  TSynthRun spec = M301Run(20);
  spec.FTitle = "Dyno day";
  spec.FType = "W";
  spec.FM301.FNoteLines = std::array<std::string, 5>{"", "first line", "", "second  ", "  "};
  TRunData run;
  ASSERT_EQ(Load(spec, run), 0);
  EXPECT_EQ(run.FSignature, "M301\r\n");
  EXPECT_EQ(run.FFileName, "pull.DRF");
  EXPECT_EQ(run.FPath, "/runs/pull.DRF");
  EXPECT_EQ(run.FTitle, "Dyno day" + std::string(30, ' '));  // the M301 title is not trimmed
  EXPECT_EQ(run.FType, "W ");
  EXPECT_EQ(run.FNotes, "first line\r\nsecond");
  EXPECT_EQ(run.FHumidity, 0);  // M301 files have no humidity
}

TEST(M301Reader, Parameters) {
  const struct {
    int FIndex;  // parameter 1..11
    std::string FText;
    uint16_t FCode;
    int32_t FAltitude;
    uint32_t FWindow;
  } cases[] = {
      {3, "-100", 0, 65436, 4},  // the altitude is read signed and kept unsigned
      {3, "0x10", 0, 16, 4},     // "%hi" reads a C integer with its base prefix
      {11, "", 0, 0, 1},         // no averaging window: 1
      {11, "0", 0, 0, 1},
      {11, "9", 0, 0, 1},
      {11, "-2", 0, 0, 1},
      {11, "x", 0, 0, 1},
      {11, "5", 0, 0, 5},
      {5, "abc", kLoadBadData, 0, 0},   // an unreadable parameter
      {8, "12,5", kLoadBadData, 0, 0},  // a decimal comma leaves ",5" for the next number
  };
  for (const auto& c : cases) {
    TSynthRun spec = M301Run(20);
    spec.FM301.FParamText[c.FIndex - 1] = c.FText;
    TRunData run;
    ASSERT_EQ(Load(spec, run), c.FCode) << "p" << c.FIndex << " = '" << c.FText << "'";
    if (c.FCode != 0) continue;
    EXPECT_EQ(run.FAltitude, c.FAltitude) << "p" << c.FIndex << " = '" << c.FText << "'";
    EXPECT_EQ(run.FDrums[0]->FWindow, c.FWindow) << "p" << c.FIndex << " = '" << c.FText << "'";
  }
}

TEST(M301Reader, MissingMarkerLines) {
  const struct {
    bool TSynthM301::*FMarker;
    uint16_t FHeaderCode, FLoadCode;
  } cases[] = {
      // Without parameters the header still gives title and type, but there are no data.
      {&TSynthM301::FParametersMarker, 0, kLoadBadData},
      {&TSynthM301::FNotesMarker, kLoadBadData, kLoadBadData},
      {&TSynthM301::FRunDataMarker, 0, kLoadBadData},
  };
  for (const auto& c : cases) {
    TSynthRun spec = M301Run(20);
    spec.FM301.FBaro = 30.5f;
    spec.FM301.*c.FMarker = false;
    TRunData header, run;
    EXPECT_EQ(Header(spec, header), c.FHeaderCode);
    EXPECT_EQ(header.FTitle.substr(0, 8), "Baseline");
    EXPECT_EQ(header.FType, "WO");
    EXPECT_EQ(header.FBaro, c.FMarker == &TSynthM301::FParametersMarker ? 0 : 30.5f);
    EXPECT_EQ(Load(spec, run), c.FLoadCode);
    EXPECT_EQ(run.ChannelCount(), 0u);
  }
}

TEST(M301Reader, DrumSeries) {
  TSynthRun spec = M301Run(30, 5000, 1000);  // a pulse every 5 ms
  spec.FM301.FMass = 60;
  spec.FM301.FAddedMass = 1.5f;
  TRunData run;
  ASSERT_EQ(Load(spec, run), 0);
  ASSERT_EQ(run.FDrums.size(), 1u);
  const TDrumData& drum = *run.FDrums[0];
  EXPECT_EQ(drum.Count(), 30u);
  EXPECT_EQ(drum.FName, "N/A");
  EXPECT_TRUE(std::isinf(drum.FMaxPower) && std::isinf(drum.FMaxTorque));
  EXPECT_EQ(drum.FMass, 60);
  EXPECT_EQ(drum.FAddedMass, 1.5f);
  EXPECT_EQ(drum.FLoss, (std::array<double, 3>{0.000343035, 0.022526031, 2.743781049}));
  EXPECT_EQ(drum.FRaw[3], 16000u);
  EXPECT_DOUBLE_EQ(drum.FTime[3], 0.016);
  // Window 4, 4 ft: no speed before a full window plus one pulse, then 4 ft per 20 ms.
  for (std::size_t i = 0; i <= 4; ++i) {
    EXPECT_EQ(drum.FSpeed[i], kInvalidMarker) << i;
    EXPECT_EQ(drum.FMidTime[i], kInvalidMarker) << i;
  }
  EXPECT_DOUBLE_EQ(drum.FSpeed[5], 200);
  EXPECT_DOUBLE_EQ(drum.FMidTime[5], 0.016);
  EXPECT_EQ(drum.FAccel[4], kInvalidMarker);  // speed 4 is not measured
  EXPECT_NEAR(drum.FAccel[5], 0, 1e-9);
}

TEST(M301Reader, TimerWrapAddsFullCounter) {
  TSynthRun spec = M301Run(0);
  for (uint32_t count : {16777000u, 16777100u, 16777200u, 16u, 116u, 216u})
    spec.FM301.FDrumWords.push_back({count, 0});
  TRunData run;
  ASSERT_EQ(Load(spec, run), 0);
  const TDrumData& drum = *run.FDrums[0];
  EXPECT_DOUBLE_EQ(drum.FTime[2], 16777200e-6);
  // The wrap counts 0xFFFFFF, so 16777200 -> 16 is 31 counts, not 32.
  EXPECT_DOUBLE_EQ(drum.FTime[3], (16 + 16777215) * 1e-6);
  EXPECT_DOUBLE_EQ(drum.FTime[5], (216 + 16777215) * 1e-6);
}

TEST(M301Reader, EngineWordsAndTemperatureBytes) {
  TSynthRun spec = M301Run(20);
  auto& words = spec.FM301.FDrumWords;
  for (std::size_t i : {2, 5, 8, 11, 14, 17, 19})
    words[i].FFlags |= kEngine;
  for (std::size_t i : {0, 9, 18})
    words[i].FFlags |= kTemperature;
  // 5 pulses counted over 30000 us with divisor 3: (5 - 1) x 2 / (0.03 x 4) x 60 = 4000 rpm.
  spec.FM301.FEngineWords.assign(7, 5u << 24 | 30000);
  spec.FM301.FEngineWords[3] = 30000;                      // no pulse counted: negative
  spec.FM301.FExtra = std::array<uint8_t, 4>{0, 0, 0, 0};  // skipped after the engine words
  spec.FM301.FTemperatureBytes = {100, 102, 104};
  spec.FM301.FBaro = 29.5f;
  TRunData run;
  ASSERT_EQ(Load(spec, run), 0);

  ASSERT_EQ(run.FRPMs.size(), 1u);
  const TRPMData& rpm = *run.FRPMs[0];
  const TDrumData& drum = *run.FDrums[0];
  ASSERT_EQ(rpm.Count(), 7u);
  EXPECT_EQ(rpm.FPulseDivisor, 3u);
  EXPECT_DOUBLE_EQ(rpm.FValue[0], 4000);
  EXPECT_DOUBLE_EQ(rpm.FValue[3], -1000);
  // Each value lies midway between its drum pulse and the previous marked one.
  EXPECT_EQ(rpm.FTime[0], kInvalidMarker);
  EXPECT_DOUBLE_EQ(rpm.FTime[1], (drum.FTime[2] + drum.FTime[5]) / 2);
  EXPECT_DOUBLE_EQ(rpm.FTime[6], (drum.FTime[17] + drum.FTime[19]) / 2);

  EXPECT_DOUBLE_EQ(run.FTemp, 102 * double{0.3135f});
  const double dry = Celsius(68), wet = Celsius(60);
  EXPECT_DOUBLE_EQ(run.FVapor, SaturationVaporPressure(static_cast<float>(wet)) -
                                   double{0.00066f} * double{29.5f} * (dry - wet));
  EXPECT_TRUE(run.FFlags & kFlagCorrected);  // left set by the successful check
}

TEST(M301Reader, TemperatureBytes) {
  const struct {
    std::vector<uint8_t> FBytes;
    double FTemp;
    bool FFlag;
  } cases[] = {
      {{1, 254}, 127.5 * double{0.3135f}, true},
      {{100, 0, 100}, 0, false},  // 0 and 255 mean no reading
      {{255}, 0, false},
  };
  for (const auto& c : cases) {
    TSynthRun spec = M301Run(10);
    for (std::size_t i = 0; i < c.FBytes.size(); ++i)
      spec.FM301.FDrumWords[i].FFlags |= kTemperature;
    spec.FM301.FTemperatureBytes = c.FBytes;
    TRunData run;
    ASSERT_EQ(Load(spec, run), 0);
    EXPECT_DOUBLE_EQ(run.FTemp, c.FTemp);
    EXPECT_EQ((run.FFlags & kFlagCorrected) != 0, c.FFlag);
    if (!c.FFlag) {
      EXPECT_EQ(run.FVapor, 0);
    }
  }
}

TEST(M301Reader, FewEngineMarkersLeaveTheirBytesToTheTemperature) {
  TSynthRun spec = M301Run(10);
  for (std::size_t i : {1, 2, 3})
    spec.FM301.FDrumWords[i].FFlags |= kEngine;
  for (std::size_t i : {4, 5})
    spec.FM301.FDrumWords[i].FFlags |= kTemperature;
  // Three engine words in the file: with fewer than 7 they are not read as engine speed, and
  // the temperature bytes are taken from where they stand.
  spec.FM301.FEngineWords.assign(3, 0x64646464);
  TRunData run;
  ASSERT_EQ(Load(spec, run), 0);
  EXPECT_TRUE(run.FRPMs.empty());
  EXPECT_DOUBLE_EQ(run.FTemp, 100 * double{0.3135f});
}

TEST(M301Reader, CutFilesFailWithFour) {
  TSynthRun spec = M301Run(20);
  for (std::size_t i = 0; i < 7; ++i)
    spec.FM301.FDrumWords[i].FFlags |= kEngine;
  spec.FM301.FDrumWords[9].FFlags |= kTemperature;
  spec.FM301.FEngineWords.assign(7, 5u << 24 | 30000);
  spec.FM301.FTemperatureBytes = {100};
  TSynthLayout layout;
  const std::vector<uint8_t> whole = WriteRunBytes(spec, &layout);
  const std::size_t data = layout.FRunDataStart;
  // Inside b0 b1, the drum words, the engine words, the temperature byte.
  for (std::size_t cut :
       {data + 1, data + 2 + 20 * 4 - 1, data + 2 + 20 * 4 + 27, whole.size() - 1}) {
    TRunData run;
    EXPECT_EQ(Load(std::vector<uint8_t>(whole.begin(), whole.begin() + cut), run), kLoadBadData)
        << "cut at " << cut;
    EXPECT_EQ(run.ChannelCount(), 0u);
  }
  TRunData run;
  EXPECT_EQ(Load(whole, run), 0);
}
