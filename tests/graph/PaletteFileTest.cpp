// The RIFF palette file rules.

#include <gtest/gtest.h>

#include <cstdint>
#include <initializer_list>
#include <optional>
#include <string>
#include <vector>

#include "PaletteFile.h"

namespace {

// A palette file declaring `count` entries (version `version`) and holding `held` of them,
// entry i being (i, 2i, 3i, 0).
std::vector<uint8_t> PaletteBytes(int count, int held, uint16_t version = 0x0300,
                                  const std::string& form = "PAL ") {
  std::vector<uint8_t> bytes;
  const auto add = [&bytes](std::initializer_list<int> values) {
    for (int v : values)
      bytes.push_back(static_cast<uint8_t>(v));
  };
  add({'R', 'I', 'F', 'F', 0, 0, 0, 0});
  for (char c : form)
    bytes.push_back(static_cast<uint8_t>(c));
  add({'d', 'a', 't', 'a', 0, 0, 0, 0});
  add({version & 0xFF, version >> 8, count & 0xFF, (count >> 8) & 0xFF});
  for (int i = 0; i < held; ++i)
    add({i, 2 * i, 3 * i, 0});
  return bytes;
}

TEST(PaletteFile, AcceptsOnlyAVersion3PaletteWithAllItsEntries) {
  struct Case {
    const char* Name;
    std::vector<uint8_t> Bytes;
    std::optional<size_t> Entries;  // nothing: rejected
  };
  const std::vector<Case> cases = {
      {"one entry", PaletteBytes(1, 1), 1},
      {"256 entries", PaletteBytes(256, 256), 256},
      {"300 entries", PaletteBytes(300, 256), std::nullopt},
      {"no entries", PaletteBytes(0, 0), std::nullopt},
      {"version 0x0200", PaletteBytes(2, 2, 0x0200), std::nullopt},
      {"not a palette form", PaletteBytes(2, 2, 0x0300, "WAVE"), std::nullopt},
      {"entries missing", PaletteBytes(4, 3), std::nullopt},
      {"header cut short",
       [] {
         std::vector<uint8_t> bytes = PaletteBytes(1, 1);
         bytes.resize(23);
         return bytes;
       }(),
       std::nullopt},
      {"empty", {}, std::nullopt},
  };
  for (const Case& c : cases) {
    const auto entries = ParsePalette(c.Bytes);
    ASSERT_EQ(entries.has_value(), c.Entries.has_value()) << c.Name;
    if (entries) {
      EXPECT_EQ(entries->size(), *c.Entries) << c.Name;
    }
  }
  const auto entries = ParsePalette(PaletteBytes(3, 3));
  ASSERT_TRUE(entries);
  EXPECT_EQ((*entries)[2], (TPaletteEntry{2, 4, 6, 0}));
}

}  // namespace
