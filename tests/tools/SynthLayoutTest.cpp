// The synthesizer's writers lay out the three variants byte for byte as the reader expects them.

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <stdexcept>
#include <string>

#include "RunSynth.h"

namespace {

template <typename T>
T Get(const std::vector<uint8_t>& bytes, std::size_t offset) {
  T v{};
  EXPECT_LE(offset + sizeof v, bytes.size());
  if (offset + sizeof v <= bytes.size()) std::memcpy(&v, bytes.data() + offset, sizeof v);
  return v;
}

std::string Text(const std::vector<uint8_t>& bytes, std::size_t offset, std::size_t n) {
  return std::string(bytes.begin() + static_cast<std::ptrdiff_t>(offset),
                     bytes.begin() + static_cast<std::ptrdiff_t>(offset + n));
}

// Bit by bit, independent of the table the writer uses.
uint32_t BitwiseCrc32(std::vector<uint8_t> bytes) {
  uint32_t crc = 0xFFFFFFFF;
  for (uint8_t b : bytes) {
    crc ^= b;
    for (int i = 0; i < 8; ++i)
      crc = (crc >> 1) ^ (crc & 1 ? 0xEDB88320u : 0);
  }
  return ~crc;
}

uint32_t ChecksumOf(std::vector<uint8_t> file) {
  for (std::size_t i = 46; i < 50; ++i)
    file[i] = 0;
  return BitwiseCrc32(std::move(file));
}

// One record of every kind, with distinct values so a field at a wrong offset shows.
TSynthRun EveryRecord(TSynthVariant variant) {
  TSynthRun run;
  run.FVariant = variant;
  run.FTitle = "Title";
  run.FType = "AB";
  run.FNotes = "n1\r\nn2";
  run.FAltitude = -120;
  TSynthAnalog analog;
  analog.FSensorID = 1028;
  analog.FCoeff = {1.5, 2.5, 3.5};
  analog.FFullScale = 1000;
  analog.FRate = 20;
  analog.FSamples = {11, 12, 13, 14, 15, 16, 17, 18};
  TSynthEngine engine;
  engine.FSensorID = 259;
  engine.FCrankAngle = 90;
  engine.FCycles = 3;
  engine.FTick = 2e-6;
  engine.FIntervals = {700, 100, 200, 300};
  TSynthDrum drum;
  drum.FSensorID = 261;
  drum.FBlock = {40117, 5, 80.5, 4.25, 10.75, {0.001, 0.02, 3.5}, 123.5, 456.5};
  drum.FTick = 1e-7;
  drum.FIntervals = {9000, 1000, 1100, 1200, 1300};
  run.FRecords = {analog, engine, drum, TSynthOther{{0xAABBCCDD, 7}}, TSynthUnknown{9}};
  run.FBlocks36 = {std::array<uint8_t, 36>{1, 2, 3}, std::array<uint8_t, 36>{4}};
  return run;
}

// Checks the records of EveryRecord() from their recorded offsets.
void ExpectRecords(const std::vector<uint8_t>& f, const TSynthLayout& layout, bool mh703) {
  ASSERT_EQ(layout.FRecordOffsets.size(), 5u);
  const std::size_t a = layout.FRecordOffsets[0];
  EXPECT_EQ(a, layout.FRecordsStart);
  EXPECT_EQ(Get<uint16_t>(f, a - 6), 5);  // record count in the 6-byte block
  EXPECT_EQ(f[a], 1);
  EXPECT_EQ(Get<uint16_t>(f, a + 1), 1028);
  EXPECT_EQ(Get<uint16_t>(f, a + 1 + 70 + 4), 3);  // K
  EXPECT_EQ(Get<double>(f, a + 77), 1.5);
  EXPECT_EQ(Get<double>(f, a + 93), 3.5);
  EXPECT_EQ(Get<uint16_t>(f, a + 101), 1000);  // full scale
  EXPECT_EQ(Get<double>(f, a + 103), 20.0);    // rate
  EXPECT_EQ(Get<uint16_t>(f, a + 111), 8);     // n
  EXPECT_EQ(Get<uint16_t>(f, a + 113), 11);
  EXPECT_EQ(Get<uint16_t>(f, a + 113 + 14), 18);

  const std::size_t e = layout.FRecordOffsets[1];
  EXPECT_EQ(e, a + 113 + 16);
  EXPECT_EQ(f[e], 2);
  EXPECT_EQ(Get<uint16_t>(f, e + 1), 259);
  EXPECT_EQ(Get<uint16_t>(f, e + 73), 90);  // crank angle, first u16 of the 26-byte block
  EXPECT_EQ(Get<uint16_t>(f, e + 99), 3);   // cycles
  EXPECT_EQ(Get<double>(f, e + 101), 2e-6);
  EXPECT_EQ(Get<uint16_t>(f, e + 109), 4);
  EXPECT_EQ(Get<uint32_t>(f, e + 111), 700u);
  EXPECT_EQ(Get<uint32_t>(f, e + 111 + 12), 300u);

  const std::size_t d = layout.FRecordOffsets[2];
  EXPECT_EQ(d, e + 111 + 16);
  EXPECT_EQ(f[d], 3);
  EXPECT_EQ(Get<uint16_t>(f, d + 1), 261);
  const std::size_t block = d + 73, s = mh703 ? 4 : 0;
  if (mh703) {
    EXPECT_EQ(Get<int32_t>(f, block + 8), 40117);
  }
  EXPECT_EQ(Get<uint16_t>(f, block + s + 8), 5);
  EXPECT_EQ(Get<double>(f, block + s + 10), 80.5);
  EXPECT_EQ(Get<double>(f, block + s + 18), 4.25);
  EXPECT_EQ(Get<double>(f, block + s + 26), 10.75);
  EXPECT_EQ(Get<double>(f, block + s + 34), 0.001);
  EXPECT_EQ(Get<double>(f, block + s + 50), 3.5);
  EXPECT_EQ(Get<double>(f, block + s + 66), 123.5);
  EXPECT_EQ(Get<double>(f, block + s + 74), 456.5);
  const std::size_t tail = block + (mh703 ? 110 : 106) + 2;
  EXPECT_EQ(Get<double>(f, tail), 1e-7);
  EXPECT_EQ(Get<uint16_t>(f, tail + 8), 5);
  EXPECT_EQ(Get<uint32_t>(f, tail + 10), 9000u);
  EXPECT_EQ(Get<uint32_t>(f, tail + 10 + 16), 1300u);

  const std::size_t o = layout.FRecordOffsets[3];
  EXPECT_EQ(o, tail + 10 + 20 + (mh703 ? 110 : 0));
  EXPECT_EQ(f[o], 4);
  EXPECT_EQ(Get<uint16_t>(f, o + 91), 2);
  EXPECT_EQ(Get<uint32_t>(f, o + 93), 0xAABBCCDDu);

  const std::size_t u = layout.FRecordOffsets[4];
  EXPECT_EQ(u, o + 93 + 8);
  EXPECT_EQ(f[u], 9);
  EXPECT_EQ(f.size(), u + 1);
  EXPECT_EQ(layout.FSize, f.size());
}

TEST(SynthLayout, MH100HeaderAndRecords) {
  TSynthLayout layout;
  const std::vector<uint8_t> f = WriteRunBytes(EveryRecord(TSynthVariant::MH100), &layout);
  EXPECT_EQ(Text(f, 0, 7), "MH100\r\n");
  EXPECT_EQ(Text(f, 32, 6), std::string("Title\0", 6));
  EXPECT_EQ(Text(f, 72, 4), std::string("AB\0\0", 4));
  EXPECT_EQ(Text(f, 76, 7), std::string("n1\r\nn2\0", 7));
  EXPECT_EQ(Get<int16_t>(f, 452), -120);
  EXPECT_EQ(layout.FHeaderSize, 454u);
  EXPECT_EQ(layout.FRecordsStart, 454u + 114 + 6);
  ExpectRecords(f, layout, false);
}

TEST(SynthLayout, MH703HeaderBlocksAndRecords) {
  TSynthLayout layout;
  const std::vector<uint8_t> f = WriteRunBytes(EveryRecord(TSynthVariant::MH703), &layout);
  EXPECT_EQ(Text(f, 0, 7), "MH703\r\n");
  EXPECT_EQ(Get<uint32_t>(f, 32), 5u);  // title length
  EXPECT_EQ(Get<uint32_t>(f, 36), 6u);  // notes length
  EXPECT_EQ(Text(f, 40, 4), std::string("AB\0\0", 4));
  EXPECT_EQ(Get<int16_t>(f, 44), -120);
  EXPECT_EQ(Text(f, 50, 11), "Titlen1\r\nn2");
  EXPECT_EQ(layout.FHeaderSize, 61u);
  EXPECT_EQ(Get<uint16_t>(f, 61 + 12), 2);  // 36-byte blocks
  EXPECT_EQ(f[61 + 52], 1);
  EXPECT_EQ(f[61 + 52 + 36], 4);
  EXPECT_EQ(layout.FRecordsStart, 61u + 52 + 72 + 114 + 6);
  ExpectRecords(f, layout, true);
}

TEST(SynthLayout, MHTextsAreCutToTheirFields) {
  TSynthRun run = EveryRecord(TSynthVariant::MH100);
  run.FTitle = std::string(45, 'T');
  run.FType = "ABCDE";
  run.FNotes = std::string(400, 'n');
  const std::vector<uint8_t> f = WriteRunBytes(run);
  // A full field has no terminator: the title runs straight into the type.
  EXPECT_EQ(Text(f, 32, 44), std::string(40, 'T') + "ABCD");
  EXPECT_EQ(Text(f, 76, 376), std::string(376, 'n'));
  EXPECT_EQ(Get<int16_t>(f, 452), -120);
}

TEST(SynthLayout, MH703Checksum) {
  TSynthRun run = EveryRecord(TSynthVariant::MH703);
  const std::vector<uint8_t> good = WriteRunBytes(run);
  EXPECT_EQ(Get<uint32_t>(good, 46), ChecksumOf(good));
  EXPECT_EQ(MH703Checksum(good), ChecksumOf(good));

  run.FBadChecksum = true;
  const std::vector<uint8_t> bad = WriteRunBytes(run);
  EXPECT_NE(Get<uint32_t>(bad, 46), ChecksumOf(bad));
  // Only the checksum differs.
  EXPECT_EQ(Text(bad, 50, bad.size() - 50), Text(good, 50, good.size() - 50));

  // A cut file carries the checksum of what is left, so a short read is its only fault.
  run.FBadChecksum = false;
  TSynthLayout layout;
  WriteRunBytes(run, &layout);
  run.FTruncateAt = layout.FRecordOffsets[2] + 40;
  const std::vector<uint8_t> cut = WriteRunBytes(run);
  EXPECT_EQ(cut.size(), layout.FRecordOffsets[2] + 40);
  EXPECT_EQ(Get<uint32_t>(cut, 46), ChecksumOf(cut));
}

TEST(SynthLayout, MHOverriddenCountsAndLengths) {
  TSynthRun run = EveryRecord(TSynthVariant::MH703);
  run.FRecordCount = 9;
  run.FTitleLength = 1000;
  run.FNotesLength = 0;
  TSynthLayout layout;
  const std::vector<uint8_t> f = WriteRunBytes(run, &layout);
  EXPECT_EQ(Get<uint32_t>(f, 32), 1000u);
  EXPECT_EQ(Get<uint32_t>(f, 36), 0u);
  EXPECT_EQ(Get<uint16_t>(f, layout.FRecordsStart - 6), 9);
  EXPECT_EQ(Text(f, 50, 11), "Titlen1\r\nn2");  // the texts themselves are still written
}

TSynthRun SmallM301() {
  TSynthRun run;
  run.FVariant = TSynthVariant::M301;
  run.FTitle = "Pull one";
  run.FType = "WO";
  run.FNotes = "first\r\nsecond";
  TSynthM301& m = run.FM301;
  m.FMass = 62.5f;
  m.FDistance = 4;
  m.FAltitude = -100;
  m.FAddedMass = 1.25f;
  m.FBaro = 29.5f;
  m.FDryBulbF = 70.25;
  m.FWetBulbF = 61.5;
  m.FPulseDivisor = 3;
  m.FP9 = 7;
  m.FP10 = 0.5;
  m.FWindow = 4;
  for (uint32_t i = 0; i < 300; ++i)
    m.FDrumWords.push_back({i * 1000 + 0x120000, 0});
  m.FDrumWords[1] = {0x123456, kM301EngineFlag | kM301TemperatureFlag};
  m.FEngineWords = {0x06012345, 0x07000100};
  m.FTemperatureBytes = {70, 71};
  return run;
}

std::vector<std::string> Lines(const std::vector<uint8_t>& f, std::size_t end) {
  std::vector<std::string> lines;
  const std::string text = Text(f, 0, end);
  std::size_t pos = 0;
  while (pos < end) {
    const std::size_t nl = text.find("\r\n", pos);
    lines.push_back(text.substr(pos, nl + 2 - pos));
    pos = nl + 2;
  }
  return lines;
}

TEST(SynthLayout, M301TextPartAndBinaryTail) {
  TSynthRun run = SmallM301();
  run.FM301.FExtra = std::array<uint8_t, 4>{0xE1, 0xE2, 0xE3, 0xE4};
  TSynthLayout layout;
  const std::vector<uint8_t> f = WriteRunBytes(run, &layout);
  const std::vector<std::string> lines = Lines(f, layout.FRunDataStart);
  ASSERT_EQ(lines.size(), 22u);
  EXPECT_EQ(lines[0], "M301\r\n");
  // The title line keeps the width the header update rewrites in place.
  EXPECT_EQ(lines[1], "<Pull one" + std::string(30, ' ') + "WO>\r\n");
  EXPECT_EQ(lines[3], "<PARAMETERS>\r\n");
  const std::vector<std::string> params = {"62.5", "4", "-100", "1.25", "29.5", "70.25",
                                           "61.5", "3", "7",    "0.5",  "4"};
  for (std::size_t i = 0; i < params.size(); ++i)
    EXPECT_EQ(lines[4 + i], params[i] + "\r\n") << i;
  EXPECT_EQ(lines[15], "<NOTES>\r\n");
  EXPECT_EQ(lines[16], "<first" + std::string(69, ' ') + ">\r\n");
  EXPECT_EQ(lines[17].size(), 78u);
  EXPECT_EQ(lines[20], "<" + std::string(74, ' ') + ">\r\n");
  EXPECT_EQ(lines[21], "<RUN_DATA>\r\n");

  const std::size_t b = layout.FRunDataStart;
  EXPECT_EQ(f[b], 0x40 | 1);  // extra bytes present; 300 = 1 x 256 + 44
  EXPECT_EQ(f[b + 1], 44);
  // Word 1: d1 d2 d3 d4 with count = d3 + 256 d1 + 65536 d4, d2 the flags.
  EXPECT_EQ(f[b + 2 + 4], 0x34);
  EXPECT_EQ(f[b + 2 + 5], 0xC0);
  EXPECT_EQ(f[b + 2 + 6], 0x56);
  EXPECT_EQ(f[b + 2 + 7], 0x12);
  const std::size_t engine = b + 2 + 4 * 300;
  EXPECT_EQ(Get<uint32_t>(f, engine), 0x06012345u);
  EXPECT_EQ(Get<uint32_t>(f, engine + 4), 0x07000100u);
  EXPECT_EQ(Text(f, engine + 8, 6), "\xE1\xE2\xE3\xE4\x46\x47");
  EXPECT_EQ(f.size(), engine + 14);
}

TEST(SynthLayout, M301ParametersAndMarkersCanBeSpoilt) {
  struct TCase {
    const char* FName;
    std::function<void(TSynthM301&)> FSpoil;
    std::string FGone;     // a line that must be missing
    std::string FPresent;  // a line that must be there
  };
  const std::vector<TCase> cases = {
      {"omitted p3", [](TSynthM301& m) { m.FParamText[2] = ""; }, "-100\r\n", "1.25\r\n"},
      {"garbage p5", [](TSynthM301& m) { m.FParamText[4] = "abc"; }, "29.5\r\n", "abc\r\n"},
      {"no p11", [](TSynthM301& m) { m.FWindow.reset(); }, "\r\n4\r\n<NOTES>", "0.5\r\n<NOTES>"},
      {"no parameters marker", [](TSynthM301& m) { m.FParametersMarker = false; }, "<PARAMETERS>",
       "62.5\r\n"},
      {"no notes marker", [](TSynthM301& m) { m.FNotesMarker = false; }, "<NOTES>", "<first"},
      {"no run data marker", [](TSynthM301& m) { m.FRunDataMarker = false; }, "<RUN_DATA>",
       "<NOTES>"},
  };
  for (const TCase& c : cases) {
    TSynthRun run = SmallM301();
    c.FSpoil(run.FM301);
    TSynthLayout layout;
    const std::vector<uint8_t> f = WriteRunBytes(run, &layout);
    const std::string text = Text(f, 0, layout.FRunDataStart);
    EXPECT_EQ(text.find(c.FGone), std::string::npos) << c.FName;
    EXPECT_NE(text.find(c.FPresent), std::string::npos) << c.FName;
    EXPECT_EQ(f.size(), layout.FRunDataStart + 2 + 1200 + 8 + 2) << c.FName;
  }
}

TEST(SynthLayout, RefusesWhatTheFormatCannotHold) {
  const std::vector<std::pair<const char*, std::function<void(TSynthRun&)>>> cases = {
      {"65536 analog samples",
       [](TSynthRun& r) { std::get<TSynthAnalog>(r.FRecords[0]).FSamples.resize(65536); }},
      {"65536 drum intervals",
       [](TSynthRun& r) { std::get<TSynthDrum>(r.FRecords[2]).FIntervals.resize(65536); }},
      {"4096 M301 drum words",
       [](TSynthRun& r) {
         r = SmallM301();
         r.FM301.FDrumWords.resize(4096);
       }},
      {"M301 count above 24 bits",
       [](TSynthRun& r) {
         r = SmallM301();
         r.FM301.FDrumWords[3].FCount = 0x1000000;
       }},
  };
  for (const auto& [name, spoil] : cases) {
    TSynthRun run = EveryRecord(TSynthVariant::MH703);
    spoil(run);
    EXPECT_THROW(WriteRunBytes(run), std::invalid_argument) << name;
  }
  TSynthRun edge = SmallM301();
  edge.FM301.FDrumWords.resize(kM301MaxDrumWords);
  const std::vector<uint8_t> f = WriteRunBytes(edge);
  EXPECT_EQ(std::string(f.end() - 4 * 4095 - 12, f.end() - 4 * 4095 - 10), "\x0F\xFF");
}

TEST(SynthLayout, PulseWords) {
  // Word 0 is the count at the second pulse; the reader takes word 1 off it to get the first.
  const std::vector<uint64_t> counts = {5, 8, 20, 4294967300ull};
  EXPECT_EQ(PulseWords(counts), (std::vector<uint32_t>{8, 3, 12, 4294967280u}));
  EXPECT_EQ(PulseWords(std::vector<uint64_t>{}), std::vector<uint32_t>{});
  const std::vector<std::vector<uint64_t>> bad = {
      {0, 5}, {5, 5}, {5, 9, 7}, {1, 4294967296ull}, {1, 2, 4294967300ull}};
  for (const auto& c : bad)
    EXPECT_THROW(PulseWords(c), std::invalid_argument) << c.back();
}

TEST(SynthLayout, ConditionRecordsDecodeToTheirValue) {
  struct TCase {
    uint16_t FID;
    double FValue, FExpected;
  };
  const TCase cases[] = {{256, 22.3, 22.3}, {256, -55, -40},     {257, 45.5, 45.5},
                         {257, 100, 100},   {258, 29.35, 29.35}, {258, 40, 32}};
  for (const TCase& c : cases) {
    const TSynthAnalog r = ConditionRecord(c.FID, c.FValue);
    ASSERT_EQ(r.FSamples.size(), 3u);  // at most 6: a condition, not a series
    ASSERT_EQ(r.FCoeff.size(), 2u);
    double sum = 0;
    for (uint16_t x : r.FSamples)
      sum += x;
    const double value = r.FCoeff[0] + r.FCoeff[1] * sum / (3.0 * r.FFullScale);
    EXPECT_NEAR(value, c.FExpected, r.FCoeff[1] / (3.0 * r.FFullScale)) << c.FID << " " << c.FValue;
  }
  EXPECT_THROW(ConditionRecord(260, 1), std::invalid_argument);
}

TEST(SynthLayout, M301NoteLines) {
  const std::string pad74(74, ' ');
  auto line = [&](const std::string& s) { return s + pad74.substr(s.size()); };
  struct TCase {
    std::string FNotes;
    std::array<std::string, 5> FLines;
  };
  const TCase cases[] = {
      {"", {pad74, pad74, pad74, pad74, pad74}},
      {"a\r\n\r\nb", {line("a"), pad74, line("b"), pad74, pad74}},
      {"1\r\n2\r\n3\r\n4\r\n5\r\n6", {line("1"), line("2"), line("3"), line("4"), line("5")}},
      {std::string(100, 'x'), {line(std::string(73, 'x')), pad74, pad74, pad74, pad74}},
  };
  for (const TCase& c : cases)
    EXPECT_EQ(M301NoteLines(c.FNotes), c.FLines) << c.FNotes;
}

}  // namespace
