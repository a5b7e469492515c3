#include "RunSettings.h"

#include <algorithm>

#include "Registry.h"
#include "RunFile.h"

namespace {

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
    const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; };
    return lower(x) == lower(y);
  });
}

}  // namespace

const char kRunSettingsHelp[] =
    "  --units SET|FILE  display units: sae (default), metric, japanese, or a units file\n"
    "                    as the viewer stores it (SelectedUnits.cfg); write ./sae for a\n"
    "                    file named like a set\n"
    "  --clutch-power    compute the \"Clutch Power\" channel (off unless --registry turns\n"
    "                    it on)\n"
    "  --registry        use the computation options stored in the user's settings, as the\n"
    "                    viewer does (it writes the acquisition program's defaults where\n"
    "                    they are missing); without it the settings are neither read nor\n"
    "                    written and those defaults are used: drift 0.75 %, minimum gear\n"
    "                    time 0.75 s, gap fill time 0.125 s\n";

bool ApplyRunSettings(const TParsedArgs& args, TRunSettings& settings, std::string& error) {
  settings.FOptions = AcquisitionDefaultComputationOptions();
  if (const std::string* units = args.Value(kUnitsOption.FName)) {
    if (EqualsIgnoringCase(*units, "sae")) {
      settings.FUnits = BuildUnitSet(TUnitSet::SAE);
    } else if (EqualsIgnoringCase(*units, "metric")) {
      settings.FUnits = BuildUnitSet(TUnitSet::Metric);
    } else if (EqualsIgnoringCase(*units, "japanese")) {
      settings.FUnits = BuildUnitSet(TUnitSet::Japanese);
    } else if (units->empty() || !ReadSelectedUnits(*units, settings.FUnits)) {
      // An empty name would make the reader look for the file in the current folder.
      error = "cannot use the units file '" + *units +
              "': it is missing, unreadable or not a unit selection";
      return false;
    }
  }
  if (args.Has(kRegistryOption.FName)) {
    TRegistry registry;
    LoadComputationOptions(registry, settings.FOptions);
  }
  if (args.Has(kClutchPowerOption.FName)) settings.FOptions.FClutchPower = true;
  return true;
}

void ConfigureDataSet(TGphData& data, const TRunSettings& settings) {
  data.FUnits = settings.FUnits;
  data.BuildUnitNames();
  data.FCFs = LoadCorrectionFactors();
  data.FCFIndex = settings.FCFIndex;
  data.FSmoothing = settings.FSmoothing;
  data.FOptions = settings.FOptions;
  data.FXChannel = settings.FXChannel;
  data.FYChannel = settings.FYChannel;
  data.BuildChannelTable();
  data.BuildChannelNames();
}

uint16_t LoadRun(TGphData& data, const std::string& path, std::unique_ptr<TRunData>* failedRun) {
  auto run = std::make_unique<TRunData>();
  const uint16_t code = LoadFileData(path, *run, data.FUnits, data.FOptions);
  if (IsLoadError(code)) {
    if (failedRun) *failedRun = std::move(run);
    return code;
  }
  data.AddRun(std::move(run));
  return code;
}

uint16_t CalculateDataSet(TGphData& data) {
  const uint16_t code = data.CalculateData();
  data.BuildChannelTable();
  data.BuildChannelNames();
  data.BuildUnitNames();
  for (uint32_t run = 0; run < data.NumRuns(); ++run)
    data.CalcRunRanges(run, false);
  return code;
}

std::vector<std::string> LoadErrorWords(uint16_t code) {
  std::vector<std::string> words;
  if (code & kLoadCannotOpen) words.emplace_back("cannot open");
  if (code & kLoadNotRunFile) words.emplace_back("not a run file");
  if (code & kLoadBadData) words.emplace_back("bad or truncated data");
  if (code & kLoadBadCrankAngle) words.emplace_back("engine-speed record with crank angle 0");
  const uint16_t known = kLoadCannotOpen | kLoadNotRunFile | kLoadBadData | kLoadBadCrankAngle;
  if (code & 0xFF & ~known) words.emplace_back("unknown load error");
  return words;
}

std::vector<std::string> LoadWarningWords(uint16_t code) {
  std::vector<std::string> words;
  if (code & kLoadChecksumMismatch) words.emplace_back("checksum mismatch");
  return words;
}

std::vector<std::string> CalcWords(uint16_t code) {
  std::vector<std::string> words;
  if (code & kCalcMissingSource) words.emplace_back("a channel's source series is missing");
  if (code & kCalcUnitOutsideTable)
    words.emplace_back("a channel's unit kind has no selected unit, its values stay in base units");
  if (code & kCalcTooLongToSmooth) words.emplace_back("a stretch was too long to smooth");
  return words;
}

std::string JoinWords(const std::vector<std::string>& words) {
  std::string text;
  for (const std::string& word : words) {
    if (!text.empty()) text += "; ";
    text += word;
  }
  return text;
}

std::string VariantName(const TRunData& run) {
  for (const char* signature : {kSignatureM301, kSignatureMH100, kSignatureMH703}) {
    const std::string_view line(signature);
    if (run.FSignature == line) return std::string(line.substr(0, line.size() - 2));
  }
  return {};
}
