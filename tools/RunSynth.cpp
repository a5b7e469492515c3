#include "RunSynth.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <stdexcept>

#include "Crc32.h"

namespace {

// Little-endian appends to a byte buffer.
class TBytes {
 public:
  std::vector<uint8_t> FData;

  std::size_t Size() const { return FData.size(); }
  void U8(uint8_t v) { FData.push_back(v); }
  void U16(uint16_t v) { Raw(&v, 2); }
  void I16(int16_t v) { Raw(&v, 2); }
  void U32(uint32_t v) { Raw(&v, 4); }
  void I32(int32_t v) { Raw(&v, 4); }
  void F64(double v) { Raw(&v, 8); }
  void Zeros(std::size_t n) { FData.insert(FData.end(), n, 0); }
  void Text(const std::string& s) { FData.insert(FData.end(), s.begin(), s.end()); }
  // s cut to the field, zero-padded to it.
  void Field(const std::string& s, std::size_t size) {
    const std::size_t n = std::min(s.size(), size);
    FData.insert(FData.end(), s.begin(), s.begin() + static_cast<std::ptrdiff_t>(n));
    Zeros(size - n);
  }
  // Writes v at an offset already written.
  template <typename T>
  void Put(std::size_t offset, T v) {
    std::memcpy(FData.data() + offset, &v, sizeof v);
  }

 private:
  // The machines we build for are little-endian, as the file format is.
  void Raw(const void* p, std::size_t n) {
    const auto* b = static_cast<const uint8_t*>(p);
    FData.insert(FData.end(), b, b + n);
  }
};

uint16_t Count16(std::size_t n, const char* what) {
  if (n > 0xFFFF)
    throw std::invalid_argument(std::string(what) + ": " + std::to_string(n) +
                                " is more than a 16-bit count can hold");
  return static_cast<uint16_t>(n);
}

// The 70-byte channel header that starts analog, engine and drum records.
void ChannelHeader(TBytes& out, uint16_t sensorID) {
  const std::size_t start = out.Size();
  out.Zeros(70);
  out.Put(start, sensorID);
}

void WriteRecord(TBytes& out, const TSynthAnalog& r, bool) {
  out.U8(1);
  ChannelHeader(out, r.FSensorID);
  const std::size_t block = out.Size();
  out.Zeros(6);
  out.Put(block + 4, Count16(r.FCoeff.size(), "analog coefficients"));
  for (double a : r.FCoeff)
    out.F64(a);
  out.U16(r.FFullScale);
  out.F64(r.FRate);
  out.U16(Count16(r.FSamples.size(), "analog samples"));
  for (uint16_t x : r.FSamples)
    out.U16(x);
}

void WriteRecord(TBytes& out, const TSynthEngine& r, bool) {
  out.U8(2);
  ChannelHeader(out, r.FSensorID);
  out.Zeros(2);
  const std::size_t block = out.Size();
  out.Zeros(26);
  out.Put(block, r.FCrankAngle);
  out.U16(r.FCycles);
  out.F64(r.FTick);
  out.U16(Count16(r.FIntervals.size(), "engine intervals"));
  for (uint32_t x : r.FIntervals)
    out.U32(x);
}

void WriteRecord(TBytes& out, const TSynthDrum& r, bool mh703) {
  out.U8(3);
  ChannelHeader(out, r.FSensorID);
  out.Zeros(2);
  // MH703 blocks have the serial number at 8 and every later field 4 bytes further on.
  const std::size_t block = out.Size();
  const std::size_t shift = mh703 ? 4 : 0;
  out.Zeros(mh703 ? 110 : 106);
  const TSynthDrumBlock& b = r.FBlock;
  if (mh703) out.Put(block + 8, b.FSerial);
  out.Put(block + shift + 8, b.FWindow);
  out.Put(block + shift + 10, b.FMass);
  out.Put(block + shift + 18, b.FDistance);
  out.Put(block + shift + 26, b.FAddedMass);
  for (std::size_t i = 0; i < 3; ++i)
    out.Put(block + shift + 34 + 8 * i, b.FLoss[i]);
  out.Put(block + shift + 66, b.FTorqueRating);
  out.Put(block + shift + 74, b.FPowerRating);
  out.Zeros(2);
  out.F64(r.FTick);
  out.U16(Count16(r.FIntervals.size(), "drum intervals"));
  for (uint32_t x : r.FIntervals)
    out.U32(x);
  if (mh703) out.Zeros(110);
}

void WriteRecord(TBytes& out, const TSynthOther& r, bool) {
  out.U8(4);
  const std::size_t start = out.Size();
  out.Zeros(92);
  out.Put(start + 90, Count16(r.FBlocks.size(), "type-4 blocks"));
  for (uint32_t x : r.FBlocks)
    out.U32(x);
}

void WriteRecord(TBytes& out, const TSynthUnknown& r, bool) {
  out.U8(r.FType);
}

// The part shared by both MH variants after their own header: 114 bytes, the record count in a
// 6-byte block, the records.
void WriteRecords(TBytes& out, const TSynthRun& run, TSynthLayout& layout) {
  const bool mh703 = run.FVariant == TSynthVariant::MH703;
  out.Zeros(114);
  const std::size_t countAt = out.Size();
  out.Zeros(6);
  out.Put(countAt, run.FRecordCount ? *run.FRecordCount : Count16(run.FRecords.size(), "records"));
  layout.FRecordsStart = out.Size();
  for (const TSynthRecord& record : run.FRecords) {
    layout.FRecordOffsets.push_back(out.Size());
    std::visit([&](const auto& r) { WriteRecord(out, r, mh703); }, record);
  }
}

void WriteMH100(TBytes& out, const TSynthRun& run, TSynthLayout& layout) {
  out.Text("MH100\r\n");
  out.Zeros(25);
  out.Field(run.FTitle, 40);
  out.Field(run.FType, 4);
  out.Field(run.FNotes, 376);
  out.I16(run.FAltitude);
  layout.FHeaderSize = out.Size();
  WriteRecords(out, run, layout);
}

void WriteMH703(TBytes& out, const TSynthRun& run, TSynthLayout& layout) {
  out.Text("MH703\r\n");
  out.Zeros(25);
  out.U32(run.FTitleLength ? *run.FTitleLength : static_cast<uint32_t>(run.FTitle.size()));
  out.U32(run.FNotesLength ? *run.FNotesLength : static_cast<uint32_t>(run.FNotes.size()));
  out.Field(run.FType, 4);
  out.I16(run.FAltitude);
  out.U32(0);  // checksum, filled in last
  out.Text(run.FTitle);
  out.Text(run.FNotes);
  layout.FHeaderSize = out.Size();
  const std::size_t block = out.Size();
  out.Zeros(52);
  out.Put(block + 12, Count16(run.FBlocks36.size(), "36-byte blocks"));
  for (const auto& b : run.FBlocks36)
    out.FData.insert(out.FData.end(), b.begin(), b.end());
  WriteRecords(out, run, layout);
}

std::string FloatText(float v) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "%.9g", static_cast<double>(v));
  return buf;
}

std::string DoubleText(double v) {
  char buf[40];
  std::snprintf(buf, sizeof buf, "%.17g", v);
  return buf;
}

std::string Padded(const std::string& s, std::size_t width) {
  std::string r = s.substr(0, width);
  r.resize(width, ' ');
  return r;
}

void WriteM301(TBytes& out, const TSynthRun& run, TSynthLayout& layout) {
  const TSynthM301& m = run.FM301;
  out.Text("M301\r\n");
  out.Text("<" + Padded(run.FTitle, 38) + Padded(run.FType, 2) + ">\r\n");
  out.Text("<HEADER>\r\n");
  if (m.FParametersMarker) out.Text("<PARAMETERS>\r\n");
  const std::array<std::string, 11> values = {
      FloatText(m.FMass),
      FloatText(m.FDistance),
      std::to_string(m.FAltitude),
      FloatText(m.FAddedMass),
      FloatText(m.FBaro),
      DoubleText(m.FDryBulbF),
      DoubleText(m.FWetBulbF),
      FloatText(m.FPulseDivisor),
      std::to_string(m.FP9),
      DoubleText(m.FP10),
      m.FWindow ? std::to_string(*m.FWindow) : std::string()};
  for (std::size_t i = 0; i < values.size(); ++i) {
    const std::string& text = m.FParamText[i] ? *m.FParamText[i] : values[i];
    if (!text.empty()) out.Text(text + "\r\n");
  }
  if (m.FNotesMarker) out.Text("<NOTES>\r\n");
  const std::array<std::string, 5> notes = m.FNoteLines ? *m.FNoteLines : M301NoteLines(run.FNotes);
  for (const std::string& line : notes)
    out.Text("<" + line + ">\r\n");
  if (m.FRunDataMarker) out.Text("<RUN_DATA>\r\n");
  layout.FHeaderSize = out.Size();
  layout.FRunDataStart = out.Size();

  const std::size_t n = m.FDrumWords.size();
  if (n > kM301MaxDrumWords)
    throw std::invalid_argument("M301: " + std::to_string(n) + " drum words, at most " +
                                std::to_string(kM301MaxDrumWords) + " fit");
  out.U8(static_cast<uint8_t>((n >> 8) | (m.FExtra ? 0x40 : 0)));
  out.U8(static_cast<uint8_t>(n & 0xFF));
  for (const TSynthM301Word& w : m.FDrumWords) {
    if (w.FCount > 0xFFFFFF) throw std::invalid_argument("M301: drum count above 24 bits");
    // Bytes d1 d2 d3 d4 with count = d3 + 256 d1 + 65536 d4 and d2 the flags.
    out.U8(static_cast<uint8_t>(w.FCount >> 8));
    out.U8(w.FFlags);
    out.U8(static_cast<uint8_t>(w.FCount));
    out.U8(static_cast<uint8_t>(w.FCount >> 16));
  }
  for (uint32_t w : m.FEngineWords)
    out.U32(w);
  if (m.FExtra) out.FData.insert(out.FData.end(), m.FExtra->begin(), m.FExtra->end());
  out.FData.insert(out.FData.end(), m.FTemperatureBytes.begin(), m.FTemperatureBytes.end());
}

}  // namespace

std::vector<uint8_t> WriteRunBytes(const TSynthRun& run, TSynthLayout* layoutOut) {
  TBytes out;
  TSynthLayout layout;
  switch (run.FVariant) {
    case TSynthVariant::M301:
      WriteM301(out, run, layout);
      break;
    case TSynthVariant::MH100:
      WriteMH100(out, run, layout);
      break;
    case TSynthVariant::MH703:
      WriteMH703(out, run, layout);
      break;
  }
  if (run.FTruncateAt && *run.FTruncateAt < out.Size()) out.FData.resize(*run.FTruncateAt);
  if (run.FVariant == TSynthVariant::MH703 && out.Size() >= 50) {
    uint32_t crc = MH703Checksum(out.FData);
    if (run.FBadChecksum) crc ^= 0x5A5A5A5A;
    out.Put(46, crc);
  }
  layout.FSize = out.Size();
  if (layoutOut) *layoutOut = std::move(layout);
  return std::move(out.FData);
}

void WriteRunFile(const TSynthRun& run, const std::filesystem::path& path) {
  const std::vector<uint8_t> bytes = WriteRunBytes(run);
  std::ofstream file(path, std::ios::binary | std::ios::trunc);
  if (file)
    file.write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
  if (!file) throw std::runtime_error("cannot write " + path.string());
}

uint32_t MH703Checksum(std::span<const uint8_t> file) {
  std::vector<uint8_t> copy(file.begin(), file.end());
  for (std::size_t i = 46; i < 50 && i < copy.size(); ++i)
    copy[i] = 0;
  uint32_t crc = 0;
  TheCrc32().Compute(copy.data(), copy.size(), crc);
  return crc;
}

std::vector<uint32_t> PulseWords(std::span<const uint64_t> counts) {
  std::vector<uint32_t> words;
  if (counts.empty()) return words;
  words.reserve(counts.size());
  auto fit = [](uint64_t v, const char* what) {
    if (v > 0xFFFFFFFFu)
      throw std::invalid_argument(std::string("pulse words: ") + what + " does not fit 32 bits");
    return static_cast<uint32_t>(v);
  };
  if (counts[0] == 0)
    throw std::invalid_argument("pulse words: the first pulse must come after count 0");
  if (counts.size() == 1) {
    words.push_back(fit(counts[0], "first count"));
    return words;
  }
  if (counts[1] <= counts[0]) throw std::invalid_argument("pulse words: counts must ascend");
  // Word 0 is the count at the second pulse: the reader takes the first interval (word 1) off it.
  words.push_back(fit(counts[1], "second count"));
  for (std::size_t i = 1; i < counts.size(); ++i) {
    if (counts[i] <= counts[i - 1]) throw std::invalid_argument("pulse words: counts must ascend");
    words.push_back(fit(counts[i] - counts[i - 1], "interval"));
  }
  return words;
}

TSynthAnalog ConditionRecord(uint16_t sensorID, double value) {
  struct TSpan {
    double FLow, FHigh;
  };
  TSpan span{0, 1};
  switch (sensorID) {
    case 256:
      span = {-40, 125};
      break;
    case 257:
      span = {0, 100};
      break;
    case 258:
      span = {15, 32};
      break;
    default:
      throw std::invalid_argument("condition record: identifier must be 256, 257 or 258");
  }
  TSynthAnalog r;
  r.FSensorID = sensorID;
  r.FFullScale = 4095;
  r.FRate = 1;
  r.FCoeff = {span.FLow, span.FHigh - span.FLow};
  // Three samples whose sum carries a third of a converter step: the reader averages them.
  const double total =
      std::clamp((value - span.FLow) / (span.FHigh - span.FLow), 0.0, 1.0) * 3 * 4095;
  const long sum = std::lround(total);
  for (int i = 0; i < 3; ++i)
    r.FSamples.push_back(static_cast<uint16_t>((sum + i) / 3));
  return r;
}

std::array<std::string, 5> M301NoteLines(const std::string& notes) {
  std::array<std::string, 5> lines;
  lines.fill(std::string(74, ' '));
  std::size_t line = 0, pos = 0;
  while (line < lines.size() && pos <= notes.size()) {
    std::size_t end = notes.find("\r\n", pos);
    if (end == std::string::npos) end = notes.size();
    // 73 characters padded to 74 columns: the width the header update writes in place.
    lines[line++] = Padded(notes.substr(pos, std::min<std::size_t>(end - pos, 73)), 74);
    pos = end + 2;
  }
  return lines;
}
