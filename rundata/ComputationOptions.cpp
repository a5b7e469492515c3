#include "ComputationOptions.h"

#include <cmath>
#include <string_view>

#include "RegistryTable.h"

namespace {

// The acquisition program's data options; its defaults are written when a value is absent.
namespace DataKey {
inline constexpr std::string_view Path = "\\Software\\Halvorn Research Inc.\\Benchlog7\\Data32";
inline constexpr TRegSetting<double> MaxDriftRate{"Max Drift Rate", 0.75};  // percent per point
inline constexpr TRegSetting<double> MinGearTime{"Min Gear Time", 0.75};    // seconds
inline constexpr TRegSetting<double> MaxRPMFillTime{"Max RPM Fill Time", 0.125};  // seconds
}  // namespace DataKey

// The company-wide switch of the clutch-power channel; no default is written.
namespace CompanyDataKey {
inline constexpr std::string_view Path = "\\Software\\Halvorn Research Inc.\\Data32";
inline constexpr TRegSetting<std::int32_t> ClutchPower{"Clutch Power"};
}  // namespace CompanyDataKey

// Writes the default when absent, then reads; `target` changes only for a usable number.
void ReadOption(TRegistry& registry, const TRegSetting<double>& setting, double scale,
                double& target) {
  WriteDefaultIfMissing(registry, setting);
  const TRegRead<double> read = ReadSetting(registry, setting);
  if (read && std::isfinite(*read) && *read >= 0) target = scale * *read;
}

}  // namespace

TComputationOptions AcquisitionDefaultComputationOptions() {
  TComputationOptions options;
  options.FDriftTolerance = 0.01 * *DataKey::MaxDriftRate.Default;
  options.FMinGearTime = *DataKey::MinGearTime.Default;
  options.FGapFillTime = *DataKey::MaxRPMFillTime.Default;
  return options;
}

void LoadComputationOptions(TRegistry& registry, TComputationOptions& options) {
  {
    TRegKeyScope key(registry, DataKey::Path);
    if (key) {
      ReadOption(registry, DataKey::MaxDriftRate, 0.01, options.FDriftTolerance);
      ReadOption(registry, DataKey::MinGearTime, 1, options.FMinGearTime);
      ReadOption(registry, DataKey::MaxRPMFillTime, 1, options.FGapFillTime);
    }
  }
  TRegKeyScope key(registry, CompanyDataKey::Path);
  if (key) {
    const TRegRead<std::int32_t> read = ReadSetting(registry, CompanyDataKey::ClutchPower);
    options.FClutchPower = read && *read == 1;
  }
}
