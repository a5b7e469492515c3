#pragma once

// Running tracewell-cli in the test process, reading its CSV, and the bundled samples.

#include <filesystem>
#include <string>
#include <vector>

namespace tw_test {

struct TCliResult {
  int FCode = -1;
  std::string FOut, FErr;
};

// Runs the program's info and export commands with these arguments (without the program name).
TCliResult RunCli(const std::vector<std::string>& args);

// The rows of a CSV text, fields unquoted.
std::vector<std::vector<std::string>> ParseCsv(const std::string& text);

// A bundled sample run by file name.
std::string SamplePath(const std::string& name);

// The whole content of a file.
std::string ReadFile(const std::filesystem::path& path);

}  // namespace tw_test
