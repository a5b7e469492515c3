#include "Crc32.h"

#include <gtest/gtest.h>

#include <numeric>
#include <vector>

TEST(Crc32, KnownValuesAndChunking) {
  uint32_t crc = 1;
  EXPECT_EQ(TheCrc32().Compute("123456789", 9, crc), 0);
  EXPECT_EQ(crc, 0xCBF43926u);

  EXPECT_EQ(TheCrc32().Compute("", 0, crc), 0);
  EXPECT_EQ(crc, 0u);

  // 256 bytes go through the 255-byte buffer in two chunks; the result must equal the CRC built
  // up byte by byte with the reference bitwise algorithm.
  std::vector<uint8_t> bytes(256);
  std::iota(bytes.begin(), bytes.end(), 0);
  uint32_t reference = 0xFFFFFFFFu;
  for (uint8_t b : bytes) {
    reference ^= b;
    for (int bit = 0; bit < 8; ++bit) reference = (reference & 1) ? (reference >> 1) ^ 0xEDB88320u : reference >> 1;
  }
  TheCrc32().Compute(bytes.data(), bytes.size(), crc);
  EXPECT_EQ(crc, ~reference);
}

TEST(Crc32, WithoutTableThrows) {
  CCrc32Dynamic crc32;
  uint32_t crc = 0;
  EXPECT_THROW(crc32.Compute("x", 1, crc), int);
  crc32.Init();
  EXPECT_NO_THROW(crc32.Compute("x", 1, crc));
  crc32.Free();
  EXPECT_THROW(crc32.Compute("x", 1, crc), int);
}
