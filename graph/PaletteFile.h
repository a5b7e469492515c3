#pragma once

// The colour table of the graph for palette displays: a RIFF palette file ("PAL " form with a
// "data" chunk of version 0x0300) when a valid one is there, else a 3-3-2 colour cube. Standard
// library only, so the file rules can be fuzzed on their own.

#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <vector>

struct TPaletteEntry {
  uint8_t Red = 0;
  uint8_t Green = 0;
  uint8_t Blue = 0;
  uint8_t Flags = 0;
  bool operator==(const TPaletteEntry&) const = default;
};

// The file the graph looks for, in the current folder.
inline constexpr const char* kDefaultPaletteFile = "benchlog95.pal";
// Header (24 bytes) and 256 entries of 4 bytes: no more of a file is read.
inline constexpr std::size_t kMaxPaletteFileBytes = 1048;

// The entries of a palette file's first bytes: "RIFF", "PAL " at 8, "data" at 12, version
// 0x0300 at 20 and an entry count of 1..256 at 22 (16-bit little-endian), all the entries
// present from offset 24. Nothing for anything else.
std::optional<std::vector<TPaletteEntry>> ParsePalette(std::span<const uint8_t> bytes);

// ParsePalette of the first kMaxPaletteFileBytes of a regular file; nothing when the file is
// missing, not a regular file or unreadable.
std::optional<std::vector<TPaletteEntry>> ReadPaletteFile(const std::filesystem::path& file);

// 256 entries: red (i >> 5) & 7, green (i >> 2) & 7 and blue i & 3, each spread over 0..255.
std::vector<TPaletteEntry> ColorCubePalette();
