#include "CliTestSupport.h"

#include <fstream>
#include <iterator>
#include <sstream>

#include "Commands.h"
#include "TestSupport.h"

namespace tw_test {

TCliResult RunCli(const std::vector<std::string>& args) {
  static const TCliCommand* const kCommands[] = {&kInfoCommand, &kExportCommand};
  std::ostringstream out, err;
  TCliIO io{out, err};
  TCliResult result;
  result.FCode = ::RunCli(kCommands, args, io);
  result.FOut = out.str();
  result.FErr = err.str();
  return result;
}

std::vector<std::vector<std::string>> ParseCsv(const std::string& text) {
  std::vector<std::vector<std::string>> rows;
  std::vector<std::string> row;
  std::string field;
  bool quoted = false, rowStarted = false;
  for (size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (quoted) {
      if (c == '"' && i + 1 < text.size() && text[i + 1] == '"') {
        field += '"';
        ++i;
      } else if (c == '"') {
        quoted = false;
      } else {
        field += c;
      }
      continue;
    }
    rowStarted = true;
    if (c == '"') {
      quoted = true;
    } else if (c == ',') {
      row.push_back(std::move(field));
      field.clear();
    } else if (c == '\n') {
      row.push_back(std::move(field));
      field.clear();
      rows.push_back(std::move(row));
      row.clear();
      rowStarted = false;
    } else {
      field += c;
    }
  }
  if (rowStarted) {
    row.push_back(std::move(field));
    rows.push_back(std::move(row));
  }
  return rows;
}

std::string SamplePath(const std::string& name) {
  return (SourceDir() / "samples" / name).string();
}

std::string ReadFile(const std::filesystem::path& path) {
  std::ifstream file(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

}  // namespace tw_test
