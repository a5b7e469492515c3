#include "PaletteFile.h"

#include <cstring>
#include <fstream>
#include <system_error>

namespace {

constexpr std::size_t kHeaderBytes = 24;
constexpr uint16_t kPaletteVersion = 0x0300;
constexpr int kMaxEntries = 256;

uint16_t Word(std::span<const uint8_t> bytes, std::size_t offset) {
  return static_cast<uint16_t>(bytes[offset] | (bytes[offset + 1] << 8));
}

bool Tag(std::span<const uint8_t> bytes, std::size_t offset, const char* tag) {
  return std::memcmp(bytes.data() + offset, tag, 4) == 0;
}

}  // namespace

std::optional<std::vector<TPaletteEntry>> ParsePalette(std::span<const uint8_t> bytes) {
  if (bytes.size() < kHeaderBytes) return std::nullopt;
  if (!Tag(bytes, 0, "RIFF") || !Tag(bytes, 8, "PAL ") || !Tag(bytes, 12, "data"))
    return std::nullopt;
  if (Word(bytes, 20) != kPaletteVersion) return std::nullopt;
  const int count = Word(bytes, 22);
  if (count < 1 || count > kMaxEntries) return std::nullopt;
  // A file that declares more entries than it holds is malformed: no entry is made up.
  if (bytes.size() < kHeaderBytes + 4 * static_cast<std::size_t>(count)) return std::nullopt;
  std::vector<TPaletteEntry> entries(static_cast<std::size_t>(count));
  for (std::size_t i = 0; i < entries.size(); ++i) {
    const uint8_t* e = bytes.data() + kHeaderBytes + 4 * i;
    entries[i] = {e[0], e[1], e[2], e[3]};
  }
  return entries;
}

std::optional<std::vector<TPaletteEntry>> ReadPaletteFile(const std::filesystem::path& file) {
  // Only regular files: a pipe or device of that name must not block or stream forever.
  std::error_code error;
  if (!std::filesystem::is_regular_file(file, error)) return std::nullopt;
  std::ifstream in(file, std::ios::binary);
  if (!in) return std::nullopt;
  std::vector<uint8_t> bytes(kMaxPaletteFileBytes);
  in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  if (in.bad()) return std::nullopt;
  bytes.resize(static_cast<std::size_t>(in.gcount()));
  return ParsePalette(bytes);
}

std::vector<TPaletteEntry> ColorCubePalette() {
  std::vector<TPaletteEntry> entries(kMaxEntries);
  for (int i = 0; i < kMaxEntries; ++i) {
    entries[static_cast<std::size_t>(i)] = {static_cast<uint8_t>(((i >> 5) & 7) * 255 / 7),
                                            static_cast<uint8_t>(((i >> 2) & 7) * 255 / 7),
                                            static_cast<uint8_t>((i & 3) * 255 / 3), 0};
  }
  return entries;
}
