// libFuzzer target for the palette file rules: an accepted file yields exactly the entries it
// declares, all of them inside the bytes given.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>

#include "PaletteFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  const auto entries = ParsePalette(std::span<const uint8_t>(data, size));
  if (!entries) return 0;
  if (entries->empty() || entries->size() > 256) std::abort();
  if (24 + entries->size() * 4 > size) std::abort();
  return 0;
}
