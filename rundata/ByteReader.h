#pragma once

// A bounds-checked cursor over the bytes of a run file held in memory. It offers what the run
// readers need from a buffered file: little-endian numbers, blocks, line reads with a length limit
// and formatted number parsing. No read ever goes past the end: a short read consumes what is
// left and reports failure.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

class TByteReader {
 public:
  explicit TByteReader(std::span<const uint8_t> bytes) : FBytes(bytes) {}

  std::size_t Position() const { return FPos; }
  std::size_t Size() const { return FBytes.size(); }
  std::size_t Remaining() const { return FBytes.size() - FPos; }
  bool AtEnd() const { return FPos >= FBytes.size(); }
  // Moves to pos, or to the end when pos lies beyond it.
  void Seek(std::size_t pos) { FPos = pos < FBytes.size() ? pos : FBytes.size(); }

  // Skips n bytes; false (and at the end) when fewer are left.
  bool Skip(std::size_t n);
  // The next n bytes; false (consuming the rest, out left empty) when fewer are left.
  bool Read(std::size_t n, std::span<const uint8_t>& out);

  bool ReadU8(uint8_t& value);
  bool ReadU16(uint16_t& value);
  bool ReadI16(int16_t& value);
  bool ReadU32(uint32_t& value);
  bool ReadI32(int32_t& value);
  bool ReadDouble(double& value);

  // Reads like a C line read: at most maxChars bytes, stopping after '\n'. Returns false when
  // nothing was left to read. hitEnd tells whether the end was met before the line was complete.
  bool ReadLine(std::size_t maxChars, std::string& line, bool* hitEnd = nullptr);
  // Reads lines in pieces of at most maxChars bytes until a piece equals marker. False at the end.
  bool SkipToLine(std::size_t maxChars, const std::string& marker);

  // Formatted reads in the manner of "%f", "%lf" and "%hi": skip white space, then parse the
  // longest number there. Always the C locale's '.' as decimal point, whatever the process
  // locale. On failure only the white space has been consumed.
  bool ScanFloat(float& value);
  bool ScanDouble(double& value);
  // "%hi": decimal, 0x hexadecimal or 0 octal; the value is cut to 16 bits as a C conversion to
  // short would store it.
  bool ScanShort(int16_t& value);

 private:
  void SkipWhiteSpace();
  template <typename T>
  bool ReadLE(T& value);

  std::span<const uint8_t> FBytes;
  std::size_t FPos = 0;
};

// The bytes up to the first zero byte: texts inside run files are zero-terminated.
std::string CText(std::span<const uint8_t> bytes);
std::string CText(const std::string& bytes);
