#pragma once

// The program's string table: English texts at their plain ids (below 2500) and each
// translation at id + its language offset. The table is generated at build time from
// text/strings/*.txt, so nothing is looked up on disk at run time.

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

struct TStringEntry {
  int32_t FID;
  std::string_view FText;  // UTF-8
};

// Every entry, sorted by id.
std::span<const TStringEntry> StringTable();

// The text stored at exactly this id, or nothing when the id has no text.
std::optional<std::string_view> FindString(int64_t id);
