#pragma once

// The options of a subcommand: "--name value", "--name=value" or a bare "--name" for a flag;
// "-h" stands for "--help"; "--" ends the options, so a file may start with a dash.

#include <map>
#include <span>
#include <string>
#include <string_view>
#include <vector>

struct TOptionSpec {
  std::string_view FName;  // with the dashes, e.g. "--units"
  bool FTakesValue = false;
};

struct TParsedArgs {
  // Option name to value ("" for a flag); a repeated option keeps its last value.
  std::map<std::string, std::string, std::less<>> FOptions;
  std::vector<std::string> FFiles;  // the other arguments, in order

  bool Has(std::string_view name) const { return FOptions.find(name) != FOptions.end(); }
  // The option's value, or null when it was not given.
  const std::string* Value(std::string_view name) const;
};

// Splits the arguments by the specs. False, with a message in `error`, for an option that is not
// in the specs, one that lacks its value or a flag given a value.
bool ParseArgs(std::span<const std::string> args, std::span<const TOptionSpec> specs,
               TParsedArgs& parsed, std::string& error);
