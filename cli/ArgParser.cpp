#include "ArgParser.h"

#include <algorithm>

const std::string* TParsedArgs::Value(std::string_view name) const {
  const auto found = FOptions.find(name);
  return found == FOptions.end() ? nullptr : &found->second;
}

bool ParseArgs(std::span<const std::string> args, std::span<const TOptionSpec> specs,
               TParsedArgs& parsed, std::string& error) {
  bool optionsEnded = false;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (optionsEnded || arg.size() < 2 || arg[0] != '-') {
      parsed.FFiles.push_back(arg);
      continue;
    }
    if (arg == "--") {
      optionsEnded = true;
      continue;
    }
    const std::string_view text = arg == "-h" ? std::string_view("--help") : arg;
    const size_t equals = text.find('=');
    const std::string_view name = text.substr(0, equals);
    const auto spec = std::find_if(specs.begin(), specs.end(),
                                   [&](const TOptionSpec& s) { return s.FName == name; });
    if (spec == specs.end()) {
      error = "unknown option '" + std::string(name) + "'";
      return false;
    }
    std::string value;
    if (equals != std::string_view::npos) {
      if (!spec->FTakesValue) {
        error = "option '" + std::string(name) + "' takes no value";
        return false;
      }
      value = text.substr(equals + 1);
    } else if (spec->FTakesValue) {
      if (i + 1 >= args.size()) {
        error = "option '" + std::string(name) + "' needs a value";
        return false;
      }
      value = args[++i];
    }
    parsed.FOptions[std::string(name)] = std::move(value);
  }
  return true;
}
