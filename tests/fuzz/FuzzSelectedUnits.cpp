// libFuzzer target for the "SelectedUnits.cfg" reader. The file reader reads at most 732 bytes
// and hands them to ParseSelectedUnits, so fuzzing the parser covers every decision it makes.

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "Units.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  TUnitTable table;
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  if (!ParseSelectedUnits(bytes, table)) {
    if (!table.empty()) std::abort();  // a failed read leaves nothing behind
    return 0;
  }
  // Whatever was accepted is a usable selection that writes back and reads back the same.
  if (!IsValidUnitSelection(table)) std::abort();
  std::string written;
  if (!FormatSelectedUnits(table, written)) std::abort();
  TUnitTable again;
  if (!ParseSelectedUnits(written, again) || again.size() != table.size()) std::abort();
  for (std::size_t i = 0; i < table.size(); ++i) {
    if (again[i].FID != table[i].FID || again[i].FName != table[i].FName) std::abort();
    if (!std::isfinite(table[i].Convert(1.0))) std::abort();
  }
  return 0;
}
