#include "StringTable.h"

#include <algorithm>

std::optional<std::string_view> FindString(int64_t id) {
  const auto table = StringTable();
  const auto it = std::lower_bound(table.begin(), table.end(), id,
                                   [](const TStringEntry& e, int64_t key) { return e.FID < key; });
  if (it == table.end() || it->FID != id) return std::nullopt;
  return it->FText;
}
