// Reading and writing "SelectedUnits.cfg". Every field is encoded byte by byte in little-endian
// order, so the file is the same whatever the host's byte order or struct layout.

#include <algorithm>
#include <bit>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <system_error>

#include "Units.h"

namespace {

constexpr std::size_t kCountSize = 4;
constexpr std::size_t kMaxFileBytes = kCountSize + kUnitKindCount * kSelectedUnitsRecordSize;

uint32_t GetU32(const unsigned char* p) {
  return uint32_t{p[0]} | uint32_t{p[1]} << 8 | uint32_t{p[2]} << 16 | uint32_t{p[3]} << 24;
}

uint64_t GetU64(const unsigned char* p) {
  return uint64_t{GetU32(p)} | uint64_t{GetU32(p + 4)} << 32;
}

void PutU32(std::string& out, uint32_t v) {
  for (int i = 0; i < 4; ++i)
    out += static_cast<char>((v >> (8 * i)) & 0xFF);
}

void PutU64(std::string& out, uint64_t v) {
  PutU32(out, static_cast<uint32_t>(v));
  PutU32(out, static_cast<uint32_t>(v >> 32));
}

std::string FileNameOrDefault(const std::string& fileName) {
  return fileName.empty() ? std::string(kSelectedUnitsFileName) : fileName;
}

}  // namespace

bool ParseSelectedUnits(std::string_view bytes, TUnitTable& table) {
  table.clear();
  if (bytes.size() < kCountSize) return false;
  const auto* data = reinterpret_cast<const unsigned char*>(bytes.data());
  const uint32_t count = GetU32(data);
  // Bound the count before any arithmetic with it: at most one unit per kind.
  if (count == 0 || count > static_cast<uint32_t>(kUnitKindCount)) return false;
  if (bytes.size() < kCountSize + count * kSelectedUnitsRecordSize) return false;

  TUnitTable units;
  units.reserve(count);
  for (uint32_t i = 0; i < count; ++i) {
    const unsigned char* record = data + kCountSize + i * kSelectedUnitsRecordSize;
    const auto kind = static_cast<int32_t>(GetU32(record));
    const auto fid = static_cast<int32_t>(GetU32(record + 4));
    const auto multiplier = std::bit_cast<double>(GetU64(record + 8));
    const auto offset = std::bit_cast<double>(GetU64(record + 16));
    if (!std::isfinite(multiplier) || !std::isfinite(offset)) return false;
    if (fid < 0 || fid >= kCatalogueSize) return false;
    TUnit unit = CatalogueUnit(fid);
    if (unit.FKind != kind || kind != static_cast<int32_t>(i)) return false;
    // The stored name is kept as its bytes: up to 31 of them, ending at the first zero.
    const char* name = reinterpret_cast<const char*>(record + 24);
    unit.FName.assign(name, std::find(name, name + kUnitNameSize - 1, '\0'));
    units.push_back(std::move(unit));
  }
  table = std::move(units);
  return true;
}

bool FormatSelectedUnits(const TUnitTable& table, std::string& bytes) {
  bytes.clear();
  if (!IsValidUnitSelection(table)) return false;
  bytes.reserve(kCountSize + table.size() * kSelectedUnitsRecordSize);
  PutU32(bytes, static_cast<uint32_t>(table.size()));
  for (const TUnit& unit : table) {
    PutU32(bytes, static_cast<uint32_t>(unit.FKind));
    PutU32(bytes, static_cast<uint32_t>(unit.FID));
    PutU64(bytes, std::bit_cast<uint64_t>(unit.FMultiplier));
    PutU64(bytes, std::bit_cast<uint64_t>(unit.FOffset));
    std::string name = unit.FName.substr(0, kUnitNameSize - 1);
    name.resize(kUnitNameSize, '\0');  // zero-padded; the last byte is always 0
    bytes += name;
  }
  return true;
}

bool ReadSelectedUnits(const std::string& fileName, TUnitTable& table) {
  table.clear();
  std::ifstream in(FileNameOrDefault(fileName), std::ios::binary);
  if (!in) return false;
  // Nothing past the largest valid file matters, so no more than that is ever read.
  std::string bytes(kMaxFileBytes, '\0');
  in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  if (in.bad()) return false;
  bytes.resize(static_cast<std::size_t>(in.gcount()));
  return ParseSelectedUnits(bytes, table);
}

bool WriteSelectedUnits(const std::string& fileName, const TUnitTable& table) {
  std::string bytes;
  if (!FormatSelectedUnits(table, bytes)) return false;
  const std::filesystem::path target(FileNameOrDefault(fileName));
  std::filesystem::path temp = target;
  temp += ".tmp";
  std::ofstream out(temp, std::ios::binary | std::ios::trunc);
  if (!out) return false;
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  out.close();  // sets failbit when the last bytes cannot be flushed
  if (out.fail()) {
    std::error_code ignored;
    std::filesystem::remove(temp, ignored);
    return false;
  }
  std::error_code error;
  std::filesystem::rename(temp, target, error);
  if (error) {
    std::error_code ignored;
    std::filesystem::remove(temp, ignored);
    return false;
  }
  return true;
}
