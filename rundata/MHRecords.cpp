#include "MHRecords.h"

#include <cstring>

namespace {

constexpr std::size_t kChannelHeaderSize = 70;
constexpr std::size_t kAnalogPrefixSize = 6;  // u16 at offset 4: coefficient count
constexpr std::size_t kEngineBlockSize = 26;  // u16 at offset 0: crank angle per pulse
constexpr std::size_t kMH100DrumBlockSize = 106;
constexpr std::size_t kMH703DrumBlockSize = 110;
constexpr std::size_t kMH703DrumTailSize = 110;
constexpr std::size_t kOtherBlockSize = 92;      // u16 at offset 90: count of 4-byte blocks
constexpr std::size_t kMH703TextBlockSize = 52;  // u16 at offset 12: count of 36-byte blocks
constexpr std::size_t kMH703SmallBlockSize = 36;
constexpr std::size_t kPreRecordSize = 114;
constexpr std::size_t kRecordCountBlockSize = 6;  // u16 at offset 0: record count

template <typename T>
T ValueAt(std::span<const uint8_t> block, std::size_t offset) {
  T value{};
  std::memcpy(&value, block.data() + offset, sizeof(T));
  return value;
}

// Samples of a series: read when it is long enough to be used, else skipped like the file's
// writer expects its reader to. Either way the bytes must be there: a file that ends inside a
// record is damaged, not complete.
bool ReadSeriesSamples(TByteReader& in, TMHRecord& record, std::size_t sampleSize) {
  const std::size_t bytes = std::size_t{record.FCount} * sampleSize;
  if (record.FCount < kMinSeriesSamples) return in.Skip(bytes);
  return in.Read(bytes, record.FSamples);
}

}  // namespace

uint16_t U16At(std::span<const uint8_t> block, std::size_t offset) {
  return ValueAt<uint16_t>(block, offset);
}
int32_t I32At(std::span<const uint8_t> block, std::size_t offset) {
  return ValueAt<int32_t>(block, offset);
}
uint32_t U32At(std::span<const uint8_t> block, std::size_t offset) {
  return ValueAt<uint32_t>(block, offset);
}
double DoubleAt(std::span<const uint8_t> block, std::size_t offset) {
  return ValueAt<double>(block, offset);
}

TRecordRead ReadMHRecord(TByteReader& in, bool mh703, TMHRecord& record) {
  record = TMHRecord{};
  if (!in.ReadU8(record.FType)) return TRecordRead::NoRecord;
  record.FBodyAtEnd = in.AtEnd();
  std::span<const uint8_t> block;
  const auto readChannelHeader = [&] {
    if (!in.Read(kChannelHeaderSize, block)) return false;
    record.FSensorID = U16At(block, 0);
    return true;
  };

  switch (record.FType) {
    case rtAnalog: {
      if (!readChannelHeader() || !in.Read(kAnalogPrefixSize, block)) return TRecordRead::Short;
      const std::size_t coefficientCount = U16At(block, 4);
      if (!in.Read(coefficientCount * sizeof(double), record.FCoefficients) ||
          !in.ReadU16(record.FFullScale) || !in.ReadDouble(record.FRate) ||
          !in.ReadU16(record.FCount) ||
          !in.Read(std::size_t{record.FCount} * sizeof(uint16_t), record.FSamples))
        return TRecordRead::Short;
      return TRecordRead::Ok;
    }
    case rtEngineSpeed: {
      if (!readChannelHeader() || !in.Skip(2) || !in.Read(kEngineBlockSize, block))
        return TRecordRead::Short;
      record.FCrankAngle = U16At(block, 0);
      if (!in.ReadU16(record.FCycles) || !in.ReadDouble(record.FTick) ||
          !in.ReadU16(record.FCount) || !ReadSeriesSamples(in, record, sizeof(uint32_t)))
        return TRecordRead::Short;
      return TRecordRead::Ok;
    }
    case rtDrum: {
      const std::size_t blockSize = mh703 ? kMH703DrumBlockSize : kMH100DrumBlockSize;
      if (!readChannelHeader() || !in.Skip(2) || !in.Read(blockSize, record.FDrumBlock) ||
          !in.Skip(2) || !in.ReadDouble(record.FTick) || !in.ReadU16(record.FCount) ||
          !ReadSeriesSamples(in, record, sizeof(uint32_t)))
        return TRecordRead::Short;
      if (mh703 && !in.Skip(kMH703DrumTailSize)) return TRecordRead::Short;
      return TRecordRead::Ok;
    }
    case rtOther: {
      if (!in.Read(kOtherBlockSize, block) || !in.Skip(std::size_t{U16At(block, 90)} * 4))
        return TRecordRead::Short;
      return TRecordRead::Ok;
    }
    default:
      // Unknown types are a single byte.
      return TRecordRead::Ok;
  }
}

bool ReadMHPreamble(TByteReader& in, bool mh703, uint16_t& recordCount) {
  recordCount = 0;
  std::span<const uint8_t> block;
  if (mh703) {
    if (!in.Read(kMH703TextBlockSize, block)) return false;
    const std::size_t smallBlocks = U16At(block, 12);
    if (!in.Read(smallBlocks * kMH703SmallBlockSize, block)) return false;
  }
  if (!in.Read(kPreRecordSize, block) || !in.Read(kRecordCountBlockSize, block)) return false;
  recordCount = U16At(block, 0);
  return true;
}
