#include "ByteReader.h"

#include <locale.h>
#include <algorithm>
#include <bit>
#include <cstdlib>
#include <cstring>

namespace {

// Longest numeral handed to the C parser. A longer one is cut; what is left of it then fails or
// parses as the next number, as garbage may.
constexpr std::size_t kMaxNumeral = 1024;

bool IsCSpace(uint8_t c) {
  return c == ' ' || (c >= '\t' && c <= '\r');
}

// The "C" locale, so that a window running under a locale with a decimal comma still reads the
// files' decimal points.
locale_t CLocale() {
  static const locale_t locale = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
  return locale;
}

int DigitValue(uint8_t c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'z') return c - 'a' + 10;
  if (c >= 'A' && c <= 'Z') return c - 'A' + 10;
  return 99;
}

}  // namespace

bool TByteReader::Skip(std::size_t n) {
  if (n > Remaining()) {
    FPos = FBytes.size();
    return false;
  }
  FPos += n;
  return true;
}

bool TByteReader::Read(std::size_t n, std::span<const uint8_t>& out) {
  if (n > Remaining()) {
    FPos = FBytes.size();
    out = {};
    return false;
  }
  out = FBytes.subspan(FPos, n);
  FPos += n;
  return true;
}

template <typename T>
bool TByteReader::ReadLE(T& value) {
  std::span<const uint8_t> bytes;
  if (!Read(sizeof(T), bytes)) return false;
  // The files are little-endian, like every machine this runs on; memcpy keeps it alignment-safe.
  static_assert(std::endian::native == std::endian::little);
  std::memcpy(&value, bytes.data(), sizeof(T));
  return true;
}

bool TByteReader::ReadU8(uint8_t& value) {
  return ReadLE(value);
}
bool TByteReader::ReadU16(uint16_t& value) {
  return ReadLE(value);
}
bool TByteReader::ReadI16(int16_t& value) {
  return ReadLE(value);
}
bool TByteReader::ReadU32(uint32_t& value) {
  return ReadLE(value);
}
bool TByteReader::ReadI32(int32_t& value) {
  return ReadLE(value);
}
bool TByteReader::ReadDouble(double& value) {
  return ReadLE(value);
}

bool TByteReader::ReadLine(std::size_t maxChars, std::string& line, bool* hitEnd) {
  line.clear();
  bool end = false;
  while (line.size() < maxChars) {
    if (AtEnd()) {
      end = true;
      break;
    }
    const char c = static_cast<char>(FBytes[FPos++]);
    line.push_back(c);
    if (c == '\n') break;
  }
  if (hitEnd) *hitEnd = end;
  return !line.empty();
}

bool TByteReader::SkipToLine(std::size_t maxChars, const std::string& marker) {
  std::string piece;
  while (ReadLine(maxChars, piece)) {
    if (piece == marker) return true;
  }
  return false;
}

void TByteReader::SkipWhiteSpace() {
  while (!AtEnd() && IsCSpace(FBytes[FPos]))
    ++FPos;
}

bool TByteReader::ScanFloat(float& value) {
  SkipWhiteSpace();
  const std::string text(reinterpret_cast<const char*>(FBytes.data() + FPos),
                         std::min(Remaining(), kMaxNumeral));
  char* end = nullptr;
  const float parsed = strtof_l(text.c_str(), &end, CLocale());
  if (end == text.c_str()) return false;
  FPos += static_cast<std::size_t>(end - text.c_str());
  value = parsed;
  return true;
}

bool TByteReader::ScanDouble(double& value) {
  SkipWhiteSpace();
  const std::string text(reinterpret_cast<const char*>(FBytes.data() + FPos),
                         std::min(Remaining(), kMaxNumeral));
  char* end = nullptr;
  const double parsed = strtod_l(text.c_str(), &end, CLocale());
  if (end == text.c_str()) return false;
  FPos += static_cast<std::size_t>(end - text.c_str());
  value = parsed;
  return true;
}

bool TByteReader::ScanShort(int16_t& value) {
  SkipWhiteSpace();
  std::size_t pos = FPos;
  const auto at = [&](std::size_t i) -> int { return i < FBytes.size() ? FBytes[i] : -1; };
  bool negative = false;
  if (at(pos) == '+' || at(pos) == '-') negative = at(pos++) == '-';
  int base = 10;
  if (at(pos) == '0') {
    base = 8;
    if ((at(pos + 1) == 'x' || at(pos + 1) == 'X') && at(pos + 2) >= 0 &&
        DigitValue(static_cast<uint8_t>(at(pos + 2))) < 16) {
      base = 16;
      pos += 2;
    }
  }
  const std::size_t digitsStart = pos;
  // Saturate like strtol; a value beyond the 64-bit range then stores as -1, as C does.
  uint64_t magnitude = 0;
  bool saturated = false;
  while (at(pos) >= 0 && DigitValue(static_cast<uint8_t>(at(pos))) < base) {
    const auto digit = static_cast<uint64_t>(DigitValue(static_cast<uint8_t>(at(pos))));
    if (magnitude > (UINT64_MAX - digit) / static_cast<uint64_t>(base))
      saturated = true;
    else
      magnitude = magnitude * static_cast<uint64_t>(base) + digit;
    ++pos;
  }
  if (pos == digitsStart) return false;
  FPos = pos;
  const uint64_t limit = negative ? uint64_t{1} << 63 : (uint64_t{1} << 63) - 1;
  if (saturated || magnitude > limit) magnitude = limit;
  const uint64_t twos = negative ? ~magnitude + 1 : magnitude;
  value = static_cast<int16_t>(static_cast<uint16_t>(twos & 0xFFFF));
  return true;
}

std::string CText(std::span<const uint8_t> bytes) {
  const auto zero = std::find(bytes.begin(), bytes.end(), uint8_t{0});
  return std::string(bytes.begin(), zero);
}

std::string CText(const std::string& bytes) {
  return bytes.substr(0, bytes.find('\0'));
}
