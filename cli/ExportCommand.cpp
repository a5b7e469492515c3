// tracewell-cli export: the computed channels of run files as CSV or JSON.

#include <algorithm>
#include <charconv>
#include <filesystem>
#include <fstream>
#include <optional>
#include <set>
#include <sstream>

#include "ChannelChoice.h"
#include "Commands.h"
#include "CorrectionFactor.h"
#include "ExportTable.h"
#include "ExportWriters.h"
#include "JsonWriter.h"
#include "RunSettings.h"

namespace fs = std::filesystem;

namespace {

constexpr std::string_view kPrefix = "tracewell-cli export: ";

constexpr TOptionSpec kSpecs[] = {
    {"--help", false},     {"--x", true},      {"--y", true},      {"--cf", true},
    {"--smoothing", true}, {"--gear", true},   {"--format", true}, {"--out-dir", true},
    kUnitsOption,          kClutchPowerOption, kRegistryOption,
};

constexpr std::string_view kCFNames[] = {"none", "sae", "din", "eec", "std", "jis"};

enum class TFormat { Csv, Json };

struct TExportRequest {
  TRunSettings FSettings;
  int FGear = 0;  // 0 = every point
  TFormat FFormat = TFormat::Csv;
  std::string FOutDir;  // empty = standard output
};

void PrintHelp(std::ostream& out) {
  out << "Usage: tracewell-cli export [OPTIONS] FILE...\n"
         "\n"
         "Computes the channels of each run as the viewer does and writes them, one row per\n"
         "point of the run's time base, with a header naming each channel and its unit.\n"
         "\n"
         "Options:\n"
         "  --x time|speed|rpm\n"
         "                    X axis (default time); the first column is always the time,\n"
         "                    the X channel follows when it is not time\n"
         "  --y LIST          channels of the line slots, comma-separated, at most 12:\n"
         "                    power, torque, speed, rpm, af, gear, total-power,\n"
         "                    total-torque, clutch-power (default power,torque);\n"
         "                    NAME:N takes the channel of drum N (the N-th of its kind),\n"
         "                    e.g. power:2\n"
         "  --cf none|sae|din|eec|std|jis\n"
         "                    weather correction of power and torque (default sae)\n"
         "  --smoothing 0-5   smoothing level (default 5)\n"
         "  --gear N          with --x rpm: keep only gear segment N of the engine speed,\n"
         "                    counted from 1 in the order of the run; the rows span the\n"
         "                    segment\n"
         "  --format csv|json output format (default csv)\n"
         "  --out-dir DIR     one file per run in DIR, named after the run file plus .csv or\n"
         "                    .json, instead of standard output\n"
      << kRunSettingsHelp
      << "  -h, --help        this help\n"
         "\n"
         "CSV: empty cells where a channel has no value. With several runs on standard output\n"
         "each run is a block: a row with the run's file name, the header, the rows; blocks\n"
         "are separated by an empty line. JSON: {\"runs\": [...]}, null where there is no\n"
         "value. Numbers are the shortest text that reads back as the same single-precision\n"
         "value (at most 9 significant digits).\n";
}

bool ParseInteger(const std::string& text, int low, int high, int& value) {
  const auto result = std::from_chars(text.data(), text.data() + text.size(), value);
  return !text.empty() && result.ec == std::errc() && result.ptr == text.data() + text.size() &&
         value >= low && value <= high;
}

std::string Lower(std::string text) {
  for (char& c : text)
    if (c >= 'A' && c <= 'Z') c = char(c - 'A' + 'a');
  return text;
}

std::string Trim(std::string_view text) {
  const size_t first = text.find_first_not_of(" \t");
  if (first == std::string_view::npos) return {};
  const size_t last = text.find_last_not_of(" \t");
  return std::string(text.substr(first, last - first + 1));
}

bool ParseRequest(const TParsedArgs& args, TExportRequest& request, std::string& error) {
  TRunSettings& settings = request.FSettings;
  if (!ApplyRunSettings(args, settings, error)) return false;

  if (const std::string* x = args.Value("--x")) {
    uint32_t id = 0;
    if (x->find(':') != std::string::npos || !ParseChannelChoice(*x, XChoices(), id, error)) {
      error = "bad --x '" + *x + "' (choose from " + ChoiceNames(XChoices(), ", ") + ")";
      return false;
    }
    settings.FXChannel = static_cast<int32_t>(id);
  }

  const std::string* y = args.Value("--y");
  const std::string list = y ? *y : "power,torque";
  std::vector<uint32_t> ids;
  std::istringstream items(list);
  for (std::string item; std::getline(items, item, ',');) {
    uint32_t id = 0;
    if (!ParseChannelChoice(Trim(item), YChoices(), id, error)) return false;
    ids.push_back(id);
  }
  if (ids.empty()) {
    error = "--y names no channel";
    return false;
  }
  if (ids.size() > static_cast<size_t>(kLineSlots)) {
    error = "--y names " + std::to_string(ids.size()) + " channels; there are " +
            std::to_string(kLineSlots) + " line slots";
    return false;
  }
  settings.FYChannel.fill(0);
  for (size_t s = 0; s < ids.size(); ++s)
    settings.FYChannel[s] = static_cast<int32_t>(ids[s]);

  if (const std::string* cf = args.Value("--cf")) {
    const auto found = std::find(std::begin(kCFNames), std::end(kCFNames), Lower(*cf));
    if (found == std::end(kCFNames)) {
      error = "bad --cf '" + *cf + "' (choose from none, sae, din, eec, std, jis)";
      return false;
    }
    settings.FCFIndex = static_cast<int32_t>(found - std::begin(kCFNames));
  }
  if (const std::string* level = args.Value("--smoothing")) {
    int value = 0;
    if (!ParseInteger(*level, 0, 5, value)) {
      error = "bad --smoothing '" + *level + "' (a level from 0 to 5)";
      return false;
    }
    settings.FSmoothing = value;
  }
  if (const std::string* gear = args.Value("--gear")) {
    if (!ParseInteger(*gear, 1, 65535, request.FGear)) {
      error = "bad --gear '" + *gear + "' (a gear segment from 1)";
      return false;
    }
    if (settings.FXChannel != ctRPM) {
      error = "--gear needs --x rpm: only the engine-speed axis is cut into gears";
      return false;
    }
  }
  if (const std::string* format = args.Value("--format")) {
    const std::string name = Lower(*format);
    if (name != "csv" && name != "json") {
      error = "bad --format '" + *format + "' (csv or json)";
      return false;
    }
    request.FFormat = name == "csv" ? TFormat::Csv : TFormat::Json;
  }
  if (const std::string* dir = args.Value("--out-dir")) {
    if (dir->empty()) {
      error = "--out-dir needs a folder";
      return false;
    }
    request.FOutDir = *dir;
  }
  return true;
}

// One loaded and computed run, ready to write.
struct TComputedRun {
  TGphData FData;
  TExportTable FTable;
};

// Loads and computes one file; false (after the message) when it cannot be exported.
bool ComputeRun(const std::string& path, const TExportRequest& request, TComputedRun& computed,
                std::ostream& err) {
  ConfigureDataSet(computed.FData, request.FSettings);
  const uint16_t code = LoadRun(computed.FData, path);
  if (IsLoadError(code)) {
    err << kPrefix << path << ": " << JoinWords(LoadErrorWords(code)) << " (load code " << code
        << ")\n";
    return false;
  }
  for (const std::string& warning : LoadWarningWords(code))
    err << kPrefix << "warning: " << path << ": " << warning << '\n';
  const uint16_t calc = CalculateDataSet(computed.FData);
  if (calc != 0)
    err << kPrefix << "warning: " << path << ": " << JoinWords(CalcWords(calc))
        << " (calculation code " << calc << ")\n";
  std::string error;
  if (!BuildExportTable(computed.FData, 0, request.FGear, computed.FTable, error)) {
    err << kPrefix << path << ": " << error << '\n';
    return false;
  }
  for (const std::string& warning : computed.FTable.FWarnings)
    err << kPrefix << "warning: " << path << ": " << warning << '\n';
  return true;
}

void WriteRun(std::ostream& out, TFormat format, const TComputedRun& computed, int gear,
              const std::string& blockName) {
  const TRunData& run = *computed.FData.Run(0);
  if (format == TFormat::Csv) {
    WriteCsvTable(out, computed.FTable, blockName);
    return;
  }
  TJsonWriter json(out);
  json.BeginObject();
  json.Key("runs");
  json.BeginArray();
  WriteJsonTable(json, computed.FData, run, computed.FTable, gear);
  json.EndArray();
  json.EndObject();
  json.Finish();
}

// A name in `dir` for the output of `path` that no earlier output of this call took and that is
// none of the input files.
fs::path OutputPath(const fs::path& dir, const std::string& path, TFormat format,
                    const std::vector<fs::path>& inputs, std::set<fs::path>& taken) {
  const std::string base = fs::path(path).filename().string();
  const std::string extension = format == TFormat::Csv ? ".csv" : ".json";
  for (int n = 1;; ++n) {
    const fs::path candidate =
        dir / (base + (n == 1 ? std::string() : "-" + std::to_string(n)) + extension);
    std::error_code ec;
    const fs::path canonical = fs::weakly_canonical(candidate, ec);
    const fs::path key = ec ? candidate : canonical;
    if (taken.count(key)) continue;
    if (std::find(inputs.begin(), inputs.end(), key) != inputs.end()) continue;
    taken.insert(key);
    return candidate;
  }
}

// Writes through a temporary file that replaces the target only when complete. The temporary
// file is a name nothing has yet, so no file of the user's is truncated on the way.
bool WriteFileAtomically(const fs::path& target, const std::string& content, std::string& error) {
  fs::path temporary;
  for (int n = 0;; ++n) {
    temporary = target;
    temporary += ".part" + (n == 0 ? std::string() : std::to_string(n));
    std::error_code ec;
    if (fs::symlink_status(temporary, ec).type() == fs::file_type::not_found) break;
    if (n == 1000) {
      error = "cannot find a free temporary name beside " + target.string();
      return false;
    }
  }
  {
    std::ofstream file(temporary, std::ios::binary | std::ios::trunc);
    file << content;
    file.close();
    if (!file) {
      std::error_code ignored;
      fs::remove(temporary, ignored);
      error = "cannot write " + temporary.string();
      return false;
    }
  }
  std::error_code ec;
  fs::rename(temporary, target, ec);
  if (ec) {
    fs::remove(temporary, ec);
    error = "cannot write " + target.string();
    return false;
  }
  return true;
}

int RunExport(std::span<const std::string> argv, TCliIO& io) {
  TParsedArgs args;
  if (const auto done = StartCommand("export", argv, kSpecs, PrintHelp, io, args)) return *done;
  std::string error;
  TExportRequest request;
  if (!ParseRequest(args, request, error)) {
    io.FErr << kPrefix << error << '\n';
    return kExitUsage;
  }
  if (args.FFiles.empty()) return NoRunFileGiven("export", io);

  bool failed = false;
  if (!request.FOutDir.empty()) {
    const fs::path dir(request.FOutDir);
    std::error_code ec;
    fs::create_directories(dir, ec);
    if (!fs::is_directory(dir, ec)) {
      io.FErr << kPrefix << "cannot use the folder " << request.FOutDir << '\n';
      return kExitFailed;
    }
    std::vector<fs::path> inputs;
    for (const std::string& path : args.FFiles)
      inputs.push_back(fs::weakly_canonical(path, ec));
    std::set<fs::path> taken;
    for (const std::string& path : args.FFiles) {
      TComputedRun computed;
      if (!ComputeRun(path, request, computed, io.FErr)) {
        failed = true;
        continue;
      }
      std::ostringstream content;
      WriteRun(content, request.FFormat, computed, request.FGear, {});
      const fs::path target = OutputPath(dir, path, request.FFormat, inputs, taken);
      if (!WriteFileAtomically(target, content.str(), error)) {
        io.FErr << kPrefix << error << '\n';
        failed = true;
      }
    }
    return failed ? kExitFailed : kExitOk;
  }

  const bool blocks = args.FFiles.size() > 1;
  bool firstBlock = true;
  std::optional<TJsonWriter> json;
  if (request.FFormat == TFormat::Json) {
    json.emplace(io.FOut);
    json->BeginObject();
    json->Key("runs");
    json->BeginArray();
  }
  for (const std::string& path : args.FFiles) {
    TComputedRun computed;
    if (!ComputeRun(path, request, computed, io.FErr)) {
      failed = true;
      continue;
    }
    if (json) {
      WriteJsonTable(*json, computed.FData, *computed.FData.Run(0), computed.FTable, request.FGear);
      continue;
    }
    if (!firstBlock) io.FOut << '\n';
    firstBlock = false;
    WriteCsvTable(io.FOut, computed.FTable, blocks ? path : "");
  }
  if (json) {
    json->EndArray();
    json->EndObject();
    json->Finish();
  }
  return failed ? kExitFailed : kExitOk;
}

}  // namespace

const TCliCommand kExportCommand{"export", "write the computed channels as CSV or JSON", RunExport};
