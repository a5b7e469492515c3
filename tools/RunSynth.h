#pragma once

// Run-file synthesizer, layer 1: the raw content of a run file of any of the three variants,
// field by field as the reader sees it, and writers that lay it out byte for byte. Nothing here
// checks that the content makes physical sense; that is the pull model's job (PullModel.h). The
// writer only refuses what the format cannot hold (a u16 count above 65535, more than 4095 M301
// drum words, a timer count above 24 bits), by throwing std::invalid_argument.

#include <array>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <variant>
#include <vector>

enum class TSynthVariant { M301, MH100, MH703 };

// ---- MH100 / MH703 records. Each starts with its type byte in the file. ----

// Type 1. With more than 6 samples (and rate and full scale not 0) it is a series; with fewer it
// sets a condition by its identifier: 256 temperature °C, 257 humidity %, 258 pressure inHg.
// Identifiers 260 and 1028 are air/fuel.
struct TSynthAnalog {
  uint16_t FSensorID = 260;
  std::vector<double> FCoeff{0.0, 1.0};  // calibration a0..aK-1 over r = sample / full scale
  uint16_t FFullScale = 4095;            // S; samples at or above it are invalid
  double FRate = 50;                     // Hz
  std::vector<uint16_t> FSamples;
};

// Type 2: engine-speed pulse intervals. Each raw interval spans FCrankAngle x FCycles crank
// degrees (the reader groups 720 / FCrankAngle of them into one engine cycle).
struct TSynthEngine {
  uint16_t FSensorID = 259;
  uint16_t FCrankAngle = 180;  // c, degrees per pulse
  uint16_t FCycles = 1;        // k
  double FTick = 1e-6;         // seconds per timer count
  // Timer counts. Word 0 holds the timer at the SECOND pulse and word 1 the first interval: the
  // reader takes word 1 off word 0 to get the first pulse's time (see PulseWords()).
  std::vector<uint32_t> FIntervals;
};

// The fields of the drum block the reader uses. The block is 106 bytes in MH100 files and 110 in
// MH703 files (the serial number is only in the latter).
struct TSynthDrumBlock {
  int32_t FSerial = 0;            // MH703 only; becomes the drum's name
  uint16_t FWindow = 4;           // pulse intervals per speed measurement
  double FMass = 75;              // equivalent mass, slugs
  double FDistance = 4;           // surface distance of FWindow intervals, feet
  double FAddedMass = 0;          // slugs
  std::array<double, 3> FLoss{};  // c2, c1, c0: loss force lbf = c2 v² + c1 v + c0, v in ft/s
  double FTorqueRating = 1e9;     // the reader multiplies by 14.005635
  double FPowerRating = 1e9;      // ft·lbf/s; the reader divides by 550 to get hp
};

// Type 3: one drum (roller).
struct TSynthDrum {
  uint16_t FSensorID = 261;
  TSynthDrumBlock FBlock;
  double FTick = 1e-6;
  std::vector<uint32_t> FIntervals;  // same convention for words 0 and 1 as TSynthEngine
};

// Type 4: a record the viewer skips: 92 bytes and FBlocks.size() blocks of 4 bytes.
struct TSynthOther {
  std::vector<uint32_t> FBlocks;
};

// A bare type byte outside 1..4 (the reader consumes it alone). A value in 1..4 writes a record
// that holds nothing but its type byte: a broken record on purpose.
struct TSynthUnknown {
  uint8_t FType = 9;
};

using TSynthRecord =
    std::variant<TSynthAnalog, TSynthEngine, TSynthDrum, TSynthOther, TSynthUnknown>;

// ---- M301 ----

inline constexpr uint8_t kM301EngineFlag = 0x40;       // an engine word belongs to this pulse
inline constexpr uint8_t kM301TemperatureFlag = 0x80;  // a temperature byte belongs to this pulse
inline constexpr uint32_t kM301MaxDrumWords = 4095;    // 12 bits of the count in b0, b1

struct TSynthM301Word {
  uint32_t FCount = 0;  // 24-bit timer count at the pulse, microseconds
  uint8_t FFlags = 0;   // kM301EngineFlag, kM301TemperatureFlag
};

struct TSynthM301 {
  // The eleven parameters after "<PARAMETERS>", one per line. Floats are written with 9
  // significant digits and doubles with 17, so the reader gets exactly these values back.
  float FMass = 60;                    // p1, slugs (also selects the loss coefficients)
  float FDistance = 4;                 // p2, feet per window
  int32_t FAltitude = 0;               // p3, feet, written as a decimal integer
  float FAddedMass = 0;                // p4, slugs
  float FBaro = 29.92f;                // p5, inHg
  double FDryBulbF = 68;               // p6, °F
  double FWetBulbF = 60;               // p7, °F
  float FPulseDivisor = 3;             // p8: engine pulses per revolution = (p8 + 1) / 2
  int32_t FP9 = 0;                     // p9, not used by the viewer
  double FP10 = 0;                     // p10, not used by the viewer
  std::optional<int32_t> FWindow = 4;  // p11, nullopt = not written
  // Replaces the text of parameter i+1 when set; an empty text leaves the parameter out.
  std::array<std::optional<std::string>, 11> FParamText;

  bool FParametersMarker = true;  // write "<PARAMETERS>\r\n"
  bool FNotesMarker = true;       // write "<NOTES>\r\n"
  bool FRunDataMarker = true;     // write "<RUN_DATA>\r\n"
  // The five note lines as written between "<" and ">". Unset: M301NoteLines(TSynthRun::FNotes).
  std::optional<std::array<std::string, 5>> FNoteLines;

  std::vector<TSynthM301Word> FDrumWords;
  // Written as they stand, whatever the number of engine flags: bits 0..23 the period in timer
  // counts, bits 24..31 the number of engine pulses counted in it.
  std::vector<uint32_t> FEngineWords;
  std::optional<std::array<uint8_t, 4>>
      FExtra;                              // sets bit 0x40 of b0, written after the engine words
  std::vector<uint8_t> FTemperatureBytes;  // 0.3135 °C per count
};

// ---- A whole file ----

struct TSynthRun {
  TSynthVariant FVariant = TSynthVariant::MH703;
  // Windows-1252 bytes. Cut to their fields where the layout has fields (M301 title 38 and type
  // 2 columns, blank-padded; MH100 title 40, type 4, notes 376 bytes, zero-padded, no terminator
  // when full; MH703 type 4 bytes). Notes lines are separated by CR LF.
  std::string FTitle;
  std::string FType;
  std::string FNotes;
  int16_t FAltitude = 0;  // feet (MH variants; M301 uses FM301.FAltitude)

  // MH100 / MH703
  std::vector<TSynthRecord> FRecords;
  std::vector<std::array<uint8_t, 36>> FBlocks36;  // MH703: the M blocks after the 52-byte block
  std::optional<uint16_t> FRecordCount;            // written instead of FRecords.size()
  std::optional<uint32_t> FTitleLength;            // MH703: written instead of FTitle.size()
  std::optional<uint32_t> FNotesLength;            // MH703: written instead of FNotes.size()

  TSynthM301 FM301;

  // Awkward cases.
  bool FBadChecksum = false;               // MH703: store a checksum that does not match
  std::optional<std::size_t> FTruncateAt;  // cut the file to this many bytes (after the checksum)
};

// Where things landed in the written bytes.
struct TSynthLayout {
  std::size_t FSize = 0;
  std::size_t FHeaderSize = 0;              // MH100 454; MH703 50 + title + notes; M301 up to b0
  std::size_t FRecordsStart = 0;            // MH: offset of the first record's type byte
  std::vector<std::size_t> FRecordOffsets;  // MH: offset of each record's type byte
  std::size_t FRunDataStart = 0;            // M301: offset of b0
};

// The file's bytes. Throws std::invalid_argument for content the format cannot hold.
std::vector<uint8_t> WriteRunBytes(const TSynthRun& run, TSynthLayout* layout = nullptr);
// Writes the file; throws std::invalid_argument as above or std::runtime_error when it cannot
// be written.
void WriteRunFile(const TSynthRun& run, const std::filesystem::path& path);

// The MH703 checksum of a whole file: CRC-32 with bytes 46..49 taken as zero.
uint32_t MH703Checksum(std::span<const uint8_t> file);

// The interval words of a drum or engine record for pulses at these absolute timer counts
// (ascending, the first above 0): word 0 the count at the second pulse, then the intervals.
// Throws std::invalid_argument when a count or interval does not fit 32 bits.
std::vector<uint32_t> PulseWords(std::span<const uint64_t> counts);

// An analog record with 3 samples that makes the reader set a condition: 256 temperature °C
// (-40..125), 257 relative humidity % (0..100), 258 pressure inHg (15..32). The value is
// quantised by a 12-bit converter, to about a third of 1/4095 of the span.
TSynthAnalog ConditionRecord(uint16_t sensorID, double value);

// The five M301 note lines of a text: its first five CR LF lines, each cut to 73 bytes and
// blank-padded to 74 columns, the layout the header update overwrites in place.
std::array<std::string, 5> M301NoteLines(const std::string& notes);
