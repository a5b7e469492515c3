#pragma once

// Comma-separated values as RFC 4180 has them: a field holding a comma, a double quote, CR or LF,
// or starting or ending with a blank, is quoted, with its quotes doubled. Rows end in LF.

#include <ostream>
#include <span>
#include <string>
#include <string_view>

// The field as it must stand in a row.
std::string CsvField(std::string_view text);
// Writes the fields, escaped and separated by commas, and ends the row.
void WriteCsvRow(std::ostream& out, std::span<const std::string> fields);
