// The MH100 and MH703 readers: binary headers, the checksum, and the typed records.

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "RunReaderFixtures.h"
#include "TestSupport.h"

using namespace reader_test;

namespace {

constexpr TSynthVariant kBothMH[] = {TSynthVariant::MH100, TSynthVariant::MH703};

// An engine record with constant intervals: word 0 is the count at the second pulse.
TSynthEngine EvenEngine(std::size_t intervals, uint32_t period, uint16_t crankAngle,
                        uint16_t cycles) {
  TSynthEngine engine;
  engine.FCrankAngle = crankAngle;
  engine.FCycles = cycles;
  engine.FIntervals.assign(intervals, period);
  engine.FIntervals[0] = 1000 + period;
  return engine;
}

TSynthAnalog AirFuel(std::vector<uint16_t> samples, uint16_t sensor = 260) {
  TSynthAnalog analog;
  analog.FSensorID = sensor;
  analog.FCoeff = {10, 10};
  analog.FFullScale = 4095;
  analog.FRate = 50;
  analog.FSamples = std::move(samples);
  return analog;
}

}  // namespace

TEST(MHReader, MH100HeaderTrimsTitleAndNotes) {
  TSynthRun spec = MHRun({EvenDrum(20, 5000)}, TSynthVariant::MH100);
  spec.FTitle = "Pull 3   \r\n";
  spec.FType = "ABC";
  spec.FNotes = "a\nb\r\nc  \n";
  spec.FAltitude = -120;
  TRunData run;
  ASSERT_EQ(Load(spec, run), 0);
  EXPECT_EQ(run.FSignature, "MH100\r\n");
  EXPECT_EQ(run.FTitle, "Pull 3");
  EXPECT_EQ(run.FType, "ABC");
  EXPECT_EQ(run.FNotes, "a\r\nb\r\nc");
  EXPECT_EQ(run.FAltitude, -120);

  // A title filling all 40 bytes has no terminator and must not run into the type.
  spec.FTitle = std::string(40, 'T');
  TRunData full;
  ASSERT_EQ(Load(spec, full), 0);
  EXPECT_EQ(full.FTitle, std::string(40, 'T'));
}

TEST(MHReader, MH703HeaderTextsAndLengths) {
  TSynthRun spec = MHRun({EvenDrum(20, 5000)});
  spec.FTitle = "Turbo \xE9t\xE9";  // Windows-1252 bytes stay bytes
  spec.FType = "DYN";
  spec.FNotes = "line 1\r\nline 2  ";
  spec.FAltitude = 2300;
  spec.FBlocks36.resize(3);
  TRunData run;
  ASSERT_EQ(Load(spec, run), 0);
  EXPECT_EQ(run.FTitle, "Turbo \xE9t\xE9");
  EXPECT_EQ(run.FType, "DYN");
  EXPECT_EQ(run.FNotes, "line 1\r\nline 2  ");
  EXPECT_EQ(run.FAltitude, 2300);
  EXPECT_EQ(run.FDrums.size(), 1u);

  // Lengths beyond the file are refused before anything is allocated.
  for (auto length : {&TSynthRun::FTitleLength, &TSynthRun::FNotesLength}) {
    TSynthRun bad = spec;
    bad.*length = 0xFFFFFFF0u;
    TRunData header, loaded;
    EXPECT_EQ(Header(bad, header), kLoadBadData);
    EXPECT_EQ(Load(bad, loaded), kLoadBadData);
  }
}

TEST(MHReader, ChecksumMismatchMarksTheRunAndLoadingGoesOn) {
  TSynthRun spec = MHRun({EvenDrum(20, 5000)});
  TRunData good;
  EXPECT_EQ(Load(spec, good), 0);
  EXPECT_EQ(good.FFlags & kFlagChecksumMismatch, 0u);

  spec.FBadChecksum = true;
  TRunData bad;
  EXPECT_EQ(Load(spec, bad), kLoadChecksumMismatch);
  EXPECT_TRUE(bad.FFlags & kFlagChecksumMismatch);
  EXPECT_GT(bad.ChannelCount(), 0u);
}

TEST(MHReader, DrumRecord) {
  for (TSynthVariant variant : kBothMH) {
    TSynthDrum record = EvenDrum(20, 5000);
    record.FBlock = {-5, 4, 75, 4, 2.5, {1e-4, 2e-2, 3}, 100, 55000};
    TRunData run;
    ASSERT_EQ(Load(MHRun({record}, variant), run), 0);
    ASSERT_EQ(run.FDrums.size(), 1u);
    const TDrumData& drum = *run.FDrums[0];
    EXPECT_EQ(drum.FName, variant == TSynthVariant::MH703 ? "-5" : "N/A");
    EXPECT_EQ(drum.FWindow, 4u);
    EXPECT_EQ(drum.FMass, 75);
    EXPECT_EQ(drum.FAddedMass, 2.5f);
    EXPECT_EQ(drum.FLoss, (std::array<double, 3>{1e-4, 2e-2, 3}));
    EXPECT_EQ(drum.FMaxTorque, static_cast<float>(100 * double{14.005635f}));
    EXPECT_EQ(drum.FMaxPower, 100);
    // Word 0 held the second pulse; the first interval taken off gives the first pulse.
    ASSERT_EQ(drum.Count(), 20u);
    EXPECT_DOUBLE_EQ(drum.FTime[0], 1000e-6);
    EXPECT_DOUBLE_EQ(drum.FTime[19], (1000 + 19 * 5000) * 1e-6);
    EXPECT_EQ(drum.FSpeed[4], kInvalidMarker);
    EXPECT_DOUBLE_EQ(drum.FSpeed[5], 200);
  }
}

TEST(MHReader, DrumSecondSampleNotSmallerIsDropped) {
  TSynthDrum record;
  record.FIntervals.assign(20, 5000);
  record.FIntervals[0] = 100;  // no start count: the second word is a repeat
  TRunData run;
  ASSERT_EQ(Load(MHRun({record}), run), 0);
  const TDrumData& drum = *run.FDrums[0];
  ASSERT_EQ(drum.Count(), 19u);
  EXPECT_DOUBLE_EQ(drum.FTime[0], 100e-6);
  EXPECT_DOUBLE_EQ(drum.FTime[1], 5100e-6);
}

TEST(MHReader, DrumTimerWrapCountsTwoToTheThirtyTwoMinusOne) {
  constexpr uint64_t first = 4294967296u - 12000;
  TSynthDrum record;
  record.FIntervals = EvenPulses(20, 5000, first);
  TRunData run;
  ASSERT_EQ(Load(MHRun({record}), run), 0);
  const TDrumData& drum = *run.FDrums[0];
  EXPECT_DOUBLE_EQ(drum.FTime[2], (first + 10000) * 1e-6);
  EXPECT_DOUBLE_EQ(drum.FTime[3], (first + 15000 - 1) * 1e-6);
  EXPECT_DOUBLE_EQ(drum.FTime[19], (first + 95000 - 1) * 1e-6);
}

TEST(MHReader, ShortSeriesAreSkippedInStep) {
  for (TSynthVariant variant : kBothMH) {
    TSynthEngine engine = EvenEngine(9, 2500, 720, 2);
    TRunData run;
    ASSERT_EQ(
        Load(MHRun({EvenDrum(9, 5000), engine, AirFuel(std::vector<uint16_t>(10, 100))}, variant),
             run),
        0);
    EXPECT_TRUE(run.FDrums.empty());
    EXPECT_TRUE(run.FRPMs.empty());
    EXPECT_EQ(run.FInts.size(), 1u);  // the record after them is found where it is
  }
}

TEST(MHReader, EngineSpeedGrouping) {
  const struct {
    uint16_t FCrankAngle, FCycles;
    uint32_t FCount;  // values after grouping
    double FValue;    // rpm at index 1
  } cases[] = {
      {720, 2, 41, 240 / 2500e-6},   // one pulse per cycle: no summing
      {180, 2, 10, 240 / 10000e-6},  // four intervals become one
      {180, 1, 5, 240 / 20000e-6},   // an odd cycle count pairs them, k = 2
      {720, 1, 20, 240 / 5000e-6},
      {240, 2, 13, 240 / 7500e-6},    // three per cycle
      {7, 2, 0, 0},                   // 102.9 intervals per cycle: fewer than one cycle
      {8000, 2, 41, kInvalidMarker},  // a fraction of a pulse per cycle below 0.1
  };
  for (const auto& c : cases) {
    TRunData run;
    ASSERT_EQ(
        Load(MHRun({EvenDrum(20, 5000), EvenEngine(41, 2500, c.FCrankAngle, c.FCycles)}), run), 0)
        << "c = " << c.FCrankAngle;
    ASSERT_EQ(run.FRPMs.size(), 1u);
    const TRPMData& rpm = *run.FRPMs[0];
    ASSERT_EQ(rpm.Count(), c.FCount) << "c = " << c.FCrankAngle << ", k = " << c.FCycles;
    if (c.FCount < 2) continue;
    EXPECT_EQ(rpm.FValue[0], kInvalidMarker);
    EXPECT_EQ(rpm.FTime[0], kInvalidMarker);
    EXPECT_DOUBLE_EQ(rpm.FValue[1], c.FValue) << "c = " << c.FCrankAngle << ", k = " << c.FCycles;
  }
  // Times lie midway between the pulses that bound each interval.
  TRunData run;
  ASSERT_EQ(Load(MHRun({EvenEngine(41, 2500, 720, 2)}), run), 0);
  EXPECT_DOUBLE_EQ(run.FRPMs[0]->FTime[1], 2250e-6);
}

TEST(MHReader, EngineSpeedWithoutCrankAngleFailsWithSixteen) {
  TRunData run;
  EXPECT_EQ(Load(MHRun({EvenDrum(20, 5000), EvenEngine(41, 2500, 0, 2)}), run), kLoadBadCrankAngle);
  EXPECT_EQ(run.ChannelCount(), 0u);
}

TEST(MHReader, EngineSpeedSpikesAreCleaned) {
  TSynthEngine engine = EvenEngine(41, 2500, 720, 2);  // 96000 "rpm" by the formula
  engine.FIntervals[20] = 2000;                        // +25 %: a spike
  engine.FIntervals[30] = 2400;                        // +4.2 %: kept
  for (uint8_t clean : {1, 0}) {
    TRunData run;
    run.FCleanRPM = clean;
    ASSERT_EQ(Load(MHRun({engine}), run), 0);
    const auto& value = run.FRPMs[0]->FValue;
    EXPECT_DOUBLE_EQ(value[20], clean ? 96000 : 120000);
    EXPECT_DOUBLE_EQ(value[30], 100000);
    // The median window does not reach the last four values.
    for (std::size_t i = 37; i < 41; ++i)
      EXPECT_EQ(value[i] == kInvalidMarker, clean != 0) << i;
    EXPECT_DOUBLE_EQ(value[36], 96000);
  }
}

TEST(MHReader, AnalogSeries) {
  TSynthAnalog analog = AirFuel({0, 4095, 2047, 100, 100, 100, 100, 100});
  TRunData run;
  ASSERT_EQ(
      Load(MHRun({EvenDrum(20, 5000), analog, AirFuel(std::vector<uint16_t>(8, 1), 1028)}), run),
      0);
  ASSERT_EQ(run.FInts.size(), 2u);
  const TIntData& series = *run.FInts[0];
  EXPECT_EQ(series.FSensorID, 260);
  EXPECT_EQ(series.FCoeff, (std::vector<double>{10, 10}));
  ASSERT_EQ(series.Count(), 8u);
  EXPECT_DOUBLE_EQ(series.FValue[0], 10);
  EXPECT_EQ(series.FValue[1], kInvalidMarker);  // at full scale: overloaded
  EXPECT_DOUBLE_EQ(series.FValue[2], 10 + 10 * (2047 / 4095.0));
  EXPECT_DOUBLE_EQ(series.FTime[3], 3 * (1 / 50.0));
  // Each air/fuel series is a channel of its own.
  std::vector<uint32_t> airFuel;
  for (const auto& channel : run.FChannels)
    if (ChannelType(channel->FID) == ctAirFuel) airFuel.push_back(channel->FID);
  EXPECT_EQ(airFuel, (std::vector<uint32_t>{4, 65540}));
}

TEST(MHReader, FewAnalogSamplesSetConditions) {
  TRunData run;
  ASSERT_EQ(Load(MHRun({EvenDrum(20, 5000), ConditionRecord(256, 25), ConditionRecord(257, 40),
                        ConditionRecord(258, 29.5)}),
                 run),
            0);
  EXPECT_TRUE(run.FInts.empty());
  EXPECT_NEAR(run.FTemp, 25, 0.02);
  EXPECT_NEAR(run.FHumidity, 40, 0.02);
  EXPECT_NEAR(run.FBaro, 29.5, 0.002);
  EXPECT_DOUBLE_EQ(run.FVapor,
                   SaturationVaporPressure(static_cast<float>(run.FTemp)) * run.FHumidity * 0.01);
  for (const auto& channel : run.FChannels)
    EXPECT_NE(ChannelType(channel->FID), ctAirFuel);
}

TEST(MHReader, AnalogRecordEdges) {
  const auto analog = [](uint16_t fullScale, double rate, std::size_t samples,
                         std::size_t coefficients) {
    TSynthAnalog record = AirFuel(std::vector<uint16_t>(samples, 100));
    record.FFullScale = fullScale;
    record.FRate = rate;
    record.FCoeff.assign(coefficients, 0.5);
    return record;
  };
  const struct {
    const char* FName;
    TSynthAnalog FRecord;
    uint16_t FCode;
    std::size_t FSeries;
  } cases[] = {
      {"full scale 0", analog(0, 50, 10, 2), kLoadBadData, 0},
      {"full scale 0, no samples", analog(0, 50, 0, 2), kLoadBadData, 0},
      {"rate 0: a condition", analog(4095, 0, 10, 2), 0, 0},
      {"no samples: r = 0", analog(4095, 50, 0, 2), 0, 0},
      {"64 coefficients", analog(4095, 50, 10, 64), 0, 1},
      {"65 coefficients in a series", analog(4095, 50, 10, 65), kLoadBadData, 0},
      {"65 coefficients, one reading", analog(4095, 50, 3, 65), 0, 0},
  };
  for (const auto& c : cases) {
    TRunData run;
    EXPECT_EQ(Load(MHRun({EvenDrum(20, 5000), c.FRecord}), run), c.FCode) << c.FName;
    EXPECT_EQ(run.FInts.size(), c.FSeries) << c.FName;
  }
}

TEST(MHReader, RecordsTheViewerSkips) {
  TSynthOther other;
  other.FBlocks.assign(5, 0xFFFFFFFF);
  TRunData run;
  ASSERT_EQ(Load(MHRun({TSynthUnknown{9}, other, TSynthUnknown{0}, EvenDrum(20, 5000)}), run), 0);
  EXPECT_EQ(run.FDrums.size(), 1u);

  // A record count beyond the records: the file was cut at a record boundary. It is reported as
  // damaged rather than loaded as a run whose later series are silently missing.
  TSynthRun spec = MHRun({EvenDrum(20, 5000)});
  spec.FRecordCount = 60000;
  TRunData counted;
  EXPECT_EQ(Load(spec, counted), kLoadBadData);
  EXPECT_EQ(counted.ChannelCount(), 0u);
}

TEST(MHReader, RecordsCutShort) {
  const auto endingWith = [](uint8_t type) {
    return MHRun({EvenDrum(20, 5000), TSynthUnknown{type}});
  };
  TSynthRun cutInSamples = MHRun({EvenDrum(20, 5000), EvenDrum(20, 5000)});
  TSynthLayout layout;
  WriteRunBytes(cutInSamples, &layout);
  cutInSamples.FTruncateAt = layout.FRecordOffsets[1] + 200;
  TSynthRun cutInPreamble = MHRun({EvenDrum(20, 5000)});
  cutInPreamble.FTruncateAt = 50 + 52 + 36 + 50;
  TSynthRun cutAtRecord = MHRun({EvenDrum(20, 5000), EvenDrum(20, 5000)});
  cutAtRecord.FTruncateAt = layout.FRecordOffsets[1];
  TSynthRun cutInDrumTail = MHRun({EvenDrum(20, 5000)});
  cutInDrumTail.FTruncateAt = WriteRunBytes(cutInDrumTail).size() - 50;

  const struct {
    const char* FName;
    TSynthRun FSpec;
    uint16_t FHeaderCode, FLoadCode;
    std::size_t FDrums;
  } cases[] = {
      // A type byte of a record with a body, then the end. The header reader reports it for
      // all kinds but analog, and a header error ends the load before any data.
      {"analog at the end", endingWith(1), 0, kLoadBadData, 1},
      {"engine at the end", endingWith(2), kLoadBadData, kLoadBadData, 0},
      {"drum at the end", endingWith(3), kLoadBadData, kLoadBadData, 0},
      {"other at the end", endingWith(4), kLoadBadData, kLoadBadData, 0},
      // The second drum loses its samples: it is there, without data.
      {"inside drum samples", cutInSamples, 0, kLoadBadData, 2},
      {"inside the preamble", cutInPreamble, 0, kLoadBadData, 0},
      // Cut where the next record would start, or inside the bytes the reader skips: still a
      // damaged file, never a complete-looking run.
      {"at a record boundary", cutAtRecord, 0, kLoadBadData, 1},
      {"inside the drum tail", cutInDrumTail, 0, kLoadBadData, 1},
  };
  for (const auto& c : cases) {
    TRunData header, run;
    EXPECT_EQ(Header(c.FSpec, header), c.FHeaderCode) << c.FName;
    EXPECT_EQ(Load(c.FSpec, run) & 0xFF, c.FLoadCode) << c.FName;
    EXPECT_EQ(run.FDrums.size(), c.FDrums) << c.FName;
    if (c.FDrums == 2) {
      EXPECT_EQ(run.FDrums[1]->Count(), 0u);
    }
    EXPECT_EQ(run.ChannelCount(), 0u) << c.FName;
  }
}
