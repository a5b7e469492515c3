#pragma once

// The binary layout of MH100 and MH703 files after the texts: the preamble before the records and
// the typed records themselves. Shared by the header reader (which only walks them) and the data
// reader. Parsing keeps views into the file's bytes; nothing is allocated from counts in the file.

#include <cstddef>
#include <cstdint>
#include <span>

#include "ByteReader.h"

inline constexpr std::size_t kMH100HeaderSize = 454;
inline constexpr std::size_t kMH703HeaderSize = 50;
inline constexpr std::size_t kMH703ChecksumOffset = 46;

enum TMHRecordType : uint8_t {
  rtAnalog = 1,
  rtEngineSpeed = 2,
  rtDrum = 3,
  rtOther = 4,
};

// Records with fewer samples carry no usable drum or engine-speed series; their samples are
// skipped.
inline constexpr uint16_t kMinSeriesSamples = 10;

struct TMHRecord {
  uint8_t FType = 0;
  bool FBodyAtEnd = false;  // the file ended right after the type byte
  uint16_t FSensorID = 0;   // channel header, offset 0
  // Analog: calibration coefficients (K little-endian doubles), full-scale count, rate in Hz.
  std::span<const uint8_t> FCoefficients;
  uint16_t FFullScale = 0;
  double FRate = 0;
  // Engine speed: crank angle per pulse in degrees, cycle count.
  uint16_t FCrankAngle = 0;
  uint16_t FCycles = 0;
  // Drum: the drum block (106 bytes in MH100 files, 110 in MH703 files).
  std::span<const uint8_t> FDrumBlock;
  double FTick = 0;  // engine speed and drum: seconds per timer count
  // Samples: u16 each (analog) or u32 each; empty when they were skipped.
  uint16_t FCount = 0;
  std::span<const uint8_t> FSamples;
};

enum class TRecordRead {
  Ok,
  NoRecord,  // no type byte left
  Short,     // the file ended inside the record
};

// Parses the record at the reader's position. Reads the layout strictly; only the parts the
// format skips (samples of short series, type-4 blocks, the MH703 drum tail) may lie past the end.
TRecordRead ReadMHRecord(TByteReader& in, bool mh703, TMHRecord& record);

// Reads from the position after the MH703 texts (or the MH100 header) to the first record:
// in MH703 files the 52-byte block and its 36-byte blocks, then 114 bytes and the record count.
bool ReadMHPreamble(TByteReader& in, bool mh703, uint16_t& recordCount);

// Little-endian numbers at an offset of a block the caller has checked to be long enough.
uint16_t U16At(std::span<const uint8_t> block, std::size_t offset);
int32_t I32At(std::span<const uint8_t> block, std::size_t offset);
uint32_t U32At(std::span<const uint8_t> block, std::size_t offset);
double DoubleAt(std::span<const uint8_t> block, std::size_t offset);
