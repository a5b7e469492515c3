// tracewell-cli info: what a run file holds.

#include <memory>

#include "Commands.h"
#include "JsonWriter.h"
#include "RunInfo.h"
#include "RunSettings.h"

namespace {

constexpr std::string_view kPrefix = "tracewell-cli info: ";

constexpr TOptionSpec kSpecs[] = {
    {"--help", false}, {"--json", false}, kUnitsOption, kClutchPowerOption, kRegistryOption,
};

void PrintHelp(std::ostream& out) {
  out << "Usage: tracewell-cli info [OPTIONS] FILE...\n"
         "\n"
         "Shows what each run file holds: variant, header texts, file times, conditions as\n"
         "recorded and in the chosen units, drums, series sizes, time base, channels with their\n"
         "identifiers, checksum state, load code and the factor of each correction standard.\n"
         "\n"
         "Options:\n"
         "  --json            one JSON document {\"runs\": [...]} for machine use\n"
      << kRunSettingsHelp
      << "  -h, --help        this help\n"
         "\n"
         "Texts of the run files are shown as UTF-8. The text report rounds numbers to 6\n"
         "significant digits; --json gives the shortest text that reads back exactly. A file\n"
         "that cannot be loaded is reported on standard error (and in JSON as an entry with\n"
         "\"ok\": false) and makes the exit status 1; a checksum mismatch is only a warning.\n";
}

void WriteFailureJson(TJsonWriter& json, const std::string& path, uint16_t code) {
  json.BeginObject();
  json.Member("path", path);
  json.Member("ok", false);
  json.Member("load_code", code);
  json.Key("errors");
  json.BeginArray(true);
  for (const std::string& word : LoadErrorWords(code))
    json.String(word);
  json.EndArray();
  json.EndObject();
}

int RunInfoCommand(std::span<const std::string> argv, TCliIO& io) {
  TParsedArgs args;
  if (const auto done = StartCommand("info", argv, kSpecs, PrintHelp, io, args)) return *done;
  std::string error;
  TRunSettings settings;
  if (!ApplyRunSettings(args, settings, error)) {
    io.FErr << kPrefix << error << '\n';
    return kExitUsage;
  }
  if (args.FFiles.empty()) return NoRunFileGiven("info", io);

  const bool asJson = args.Has("--json");
  TJsonWriter json(io.FOut);
  if (asJson) {
    json.BeginObject();
    json.Key("runs");
    json.BeginArray();
  }
  bool failed = false, first = true;
  for (const std::string& path : args.FFiles) {
    // One data set per file, as the window would hold the run alone.
    TGphData data;
    ConfigureDataSet(data, settings);
    const uint16_t code = LoadRun(data, path);
    if (IsLoadError(code)) {
      io.FErr << kPrefix << path << ": " << JoinWords(LoadErrorWords(code)) << " (load code "
              << code << ")\n";
      if (asJson) WriteFailureJson(json, path, code);
      failed = true;
      continue;
    }
    for (const std::string& warning : LoadWarningWords(code))
      io.FErr << kPrefix << "warning: " << path << ": " << warning << '\n';
    TRunInfo info;
    info.FPath = path;
    info.FLoadCode = code;
    info.FCalcCode = CalculateDataSet(data);
    info.FData = &data;
    info.FRun = data.Run(0);
    GatherRunInfo(info, *data.Run(0));
    if (asJson) {
      WriteRunInfoJson(json, info);
    } else {
      if (!first) io.FOut << '\n';
      WriteRunInfoText(io.FOut, info);
    }
    first = false;
  }
  if (asJson) {
    json.EndArray();
    json.EndObject();
    json.Finish();
  }
  return failed ? kExitFailed : kExitOk;
}

}  // namespace

const TCliCommand kInfoCommand{"info", "show what run files hold", RunInfoCommand};
