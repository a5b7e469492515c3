#pragma once

// What every subcommand that computes runs shares: the selected units, the computation options
// and the data set configured from them, the loading of one run and its result codes in words.

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "ArgParser.h"
#include "ComputationOptions.h"
#include "GphData.h"
#include "Units.h"

// The settings the window takes from its options and the registry.
struct TRunSettings {
  TUnitTable FUnits = BuildUnitSet(TUnitSet::SAE);
  TComputationOptions FOptions = AcquisitionDefaultComputationOptions();
  int32_t FXChannel = ctTime;
  std::array<int32_t, kLineSlots> FYChannel{};
  int32_t FCFIndex = 1;  // SAE
  int32_t FSmoothing = 5;
};

// The options --units, --clutch-power and --registry, as ArgParser specs.
inline constexpr TOptionSpec kUnitsOption{"--units", true};
inline constexpr TOptionSpec kClutchPowerOption{"--clutch-power", false};
inline constexpr TOptionSpec kRegistryOption{"--registry", false};
// Help lines of the three options.
extern const char kRunSettingsHelp[];

// Applies --units (sae, metric, japanese or the path of a units file), --registry (the user's
// computation options, read as the window reads them) and --clutch-power. False with a message
// for a units file that cannot be used.
bool ApplyRunSettings(const TParsedArgs& args, TRunSettings& settings, std::string& error);

// A data set as the window sets it up: units with their names, correction factors, options and
// the axis choices.
void ConfigureDataSet(TGphData& data, const TRunSettings& settings);

// Loads the file into a new run and appends it to the data set when the load succeeds (no bit in
// the low byte). Returns the load code. `failedRun`, when given, receives the run of a failed
// load with whatever its header gave.
uint16_t LoadRun(TGphData& data, const std::string& path,
                 std::unique_ptr<TRunData>* failedRun = nullptr);
// The window's data request: CalculateData, then the channel table, names and unit names, then
// every run's ranges. Returns the calculation code.
uint16_t CalculateDataSet(TGphData& data);

inline bool IsLoadError(uint16_t code) {
  return (code & 0xFF) != 0;
}
// The error bits of a load code in words, e.g. "cannot open"; empty when there is none.
std::vector<std::string> LoadErrorWords(uint16_t code);
// The warnings of a load code ("checksum mismatch").
std::vector<std::string> LoadWarningWords(uint16_t code);
// The bits of a calculation code in words.
std::vector<std::string> CalcWords(uint16_t code);
// Words joined by "; ".
std::string JoinWords(const std::vector<std::string>& words);

// "M301", "MH100" or "MH703" from the run's signature line; empty when it is none of them.
std::string VariantName(const TRunData& run);
