#include "Crc32.h"

#include <algorithm>
#include <cstring>

namespace {
constexpr uint32_t kPolynomial = 0xEDB88320u;
constexpr std::size_t kChunk = 255;
}  // namespace

void CCrc32Dynamic::Init() {
  auto table = std::make_unique<std::array<uint32_t, 256>>();
  for (uint32_t i = 0; i < 256; ++i) {
    uint32_t entry = i;
    for (int bit = 0; bit < 8; ++bit)
      entry = (entry & 1) ? (entry >> 1) ^ kPolynomial : entry >> 1;
    (*table)[i] = entry;
  }
  FTable = std::move(table);
}

void CCrc32Dynamic::Free() {
  FTable.reset();
}

int CCrc32Dynamic::Compute(const void* data, std::size_t length, uint32_t& crc) const {
  crc = Extend(0, data, length);
  return 0;
}

uint32_t CCrc32Dynamic::Extend(uint32_t crc, const void* data, std::size_t length) const {
  if (!FTable) throw 1;
  const auto& table = *FTable;
  const auto* bytes = static_cast<const uint8_t*>(data);
  uint32_t value = ~crc;
  // Work through a small local buffer in chunks, as the original calculator does; the chunking
  // does not change the result.
  uint8_t buffer[kChunk];
  while (length > 0) {
    const std::size_t count = std::min(length, kChunk);
    std::memcpy(buffer, bytes, count);
    for (std::size_t i = 0; i < count; ++i)
      value = (value >> 8) ^ table[(value ^ buffer[i]) & 0xFF];
    bytes += count;
    length -= count;
  }
  return ~value;
}

CCrc32Dynamic& TheCrc32() {
  static CCrc32Dynamic instance;
  static const bool built = (instance.Init(), true);
  (void)built;
  return instance;
}
