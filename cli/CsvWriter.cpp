#include "CsvWriter.h"

std::string CsvField(std::string_view text) {
  const bool quote = text.find_first_of(",\"\r\n") != std::string_view::npos ||
                     (!text.empty() && (text.front() == ' ' || text.back() == ' ' ||
                                        text.front() == '\t' || text.back() == '\t'));
  if (!quote) return std::string(text);
  std::string field = "\"";
  for (const char c : text) {
    if (c == '"') field += '"';
    field += c;
  }
  field += '"';
  return field;
}

void WriteCsvRow(std::ostream& out, std::span<const std::string> fields) {
  bool first = true;
  for (const std::string& field : fields) {
    if (!first) out << ',';
    first = false;
    out << CsvField(field);
  }
  out << '\n';
}
