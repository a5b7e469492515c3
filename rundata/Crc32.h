#pragma once

// CRC-32 of ISO-HDLC / IEEE 802.3 (reflected polynomial 0xEDB88320), the checksum of MH703 files.

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>

class CCrc32Dynamic {
 public:
  CCrc32Dynamic() = default;
  virtual ~CCrc32Dynamic() = default;

  // Frees any table and builds it.
  void Init();
  void Free();
  bool HasTable() const { return FTable != nullptr; }

  // crc = CRC-32 of the length bytes at data; returns 0. Throws an int without a table.
  int Compute(const void* data, std::size_t length, uint32_t& crc) const;
  // The CRC-32 of earlier bytes whose CRC-32 is crc followed by these: Compute of a whole buffer
  // equals Extend over its pieces starting from 0. Throws an int without a table.
  uint32_t Extend(uint32_t crc, const void* data, std::size_t length) const;

 private:
  std::unique_ptr<std::array<uint32_t, 256>> FTable;
};

// The program-wide calculator. Its table is built on first use, so reading a checksummed file
// never depends on some start-up routine having run first.
CCrc32Dynamic& TheCrc32();
