#include "Units.h"

#include <array>
#include <cmath>

#include "Language.h"

namespace {

struct TCatalogueEntry {
  int32_t FKind;
  const char* FName;
  double FMultiplier;
  double FOffset;
};

// The catalogue, indexed by FID. The factors are the literal constants the stored files and the
// companion program use (0.68181818 is kept as written, not 15/22).
constexpr std::array<TCatalogueEntry, kCatalogueSize> kCatalogue{{
    {ukNone, "NONE", 1.0, 0},
    {ukTime, "Time in secs", 1.0, 0},
    {ukSpeed, "Speed in MPH", 0.68181818, 0},
    {ukShortLength, "Length in ft", 1.0, 0},
    {ukLongLength, "Length in mi", 5280.0, 0},
    {ukEngineSpeed, "RPM", 1.0, 0},
    {ukAirFuel, "Air/Fuel", 1.0, 0},
    {ukGearRatio, "Gear Ratio in RPM/MPH", 1.4666667, 0},
    {ukForce, "Force in lbs", 1.0, 0},
    {ukPower, "Power in HP", 1.0, 0},
    {ukTorque, "Torque in ft-lbs", 1.0, 0},
    {ukTemperature, "Temp in F", 1.8, 32.0},
    {ukPressure, "Pressure in In.Hg.", 1.0, 0},
    // Time is in seconds: an hour is 3600 of them. (Older files carry 1/60 here, which showed
    // minutes under "hrs"; reading takes the factor from this table, which mends them.)
    {ukTime, "Time in hours", 1.0 / 3600.0, 0},
    {ukSpeed, "Speed in ft/sec", 1.0, 0},
    {ukSpeed, "Speed in km/hr", 1.09728, 0},
    {ukSpeed, "Speed in m/sec", 0.3048, 0},
    {ukShortLength, "Length in m", 0.3048, 0},
    {ukLongLength, "Length in km", 1.60934, 0},
    {ukEngineSpeed, "RPM x100", 10.0, 0},
    {ukEngineSpeed, "RPM x10", 100.0, 0},
    {ukEngineSpeed, "RPM x1", 1000.0, 0},
    {ukEngineSpeed, "Revolutions per Second", 60.0, 0},
    {ukGearRatio, "Gear Ratio in RPM/kph", 0.91134, 0},
    {ukForce, "Force in Newtons", 4.44822, 0},
    {ukPower, "Power in kWatts", 0.7457, 0},
    {ukTorque, "Torque in N-M", 1.35582, 0},
    {ukTemperature, "Temp in C", 1.0, 0},
    {ukTemperature, "Temp in K", 1.0, 273.15},
    {ukPressure, "Pressure in mbars", 33.8638833, 0},
    {ukPower, "Pferdestarke (PS)", 1.01387005, 0},
    {ukTorque, "Torque in Kg-M", 0.138255, 0},
}};

// FIDs chosen for kinds 1..12 by each predefined set.
constexpr std::array<int32_t, kUnitKindCount - 1> kSetSAE{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12};
constexpr std::array<int32_t, kUnitKindCount - 1> kSetMetric{1,  15, 17, 18, 5,  6,
                                                             23, 24, 25, 26, 27, 29};
constexpr std::array<int32_t, kUnitKindCount - 1> kSetJapanese{1,  15, 17, 18, 5,  6,
                                                               23, 24, 30, 31, 27, 29};

const std::array<int32_t, kUnitKindCount - 1>& SetIds(TUnitSet set) {
  switch (set) {
    case TUnitSet::Metric:
      return kSetMetric;
    case TUnitSet::Japanese:
      return kSetJapanese;
    case TUnitSet::SAE:
      break;
  }
  return kSetSAE;
}

}  // namespace

TUnit CatalogueUnit(int32_t fid) {
  TUnit unit;
  if (fid < 0 || fid >= kCatalogueSize) return unit;
  const TCatalogueEntry& entry = kCatalogue[static_cast<std::size_t>(fid)];
  unit.FKind = entry.FKind;
  unit.FID = fid;
  unit.FMultiplier = entry.FMultiplier;
  unit.FOffset = entry.FOffset;
  unit.FName = entry.FName;
  return unit;
}

TUnitTable BuildAllUnits() {
  TUnitTable table;
  table.reserve(kCatalogueSize);
  for (int32_t fid = 0; fid < kCatalogueSize; ++fid)
    table.push_back(CatalogueUnit(fid));
  return table;
}

TUnitTable BuildDefaultUnits() {
  return BuildUnitSet(TUnitSet::SAE);
}

TUnitTable BuildUnitSet(TUnitSet set) {
  TUnitTable table;
  table.reserve(kUnitKindCount);
  table.push_back(CatalogueUnit(0));
  for (const int32_t fid : SetIds(set))
    table.push_back(CatalogueUnit(fid));
  return table;
}

bool MatchUnitSet(const TUnitTable& table, TUnitSet& set) {
  if (table.size() < static_cast<std::size_t>(kUnitKindCount)) return false;
  for (const TUnitSet candidate : {TUnitSet::SAE, TUnitSet::Metric, TUnitSet::Japanese}) {
    const auto& ids = SetIds(candidate);
    bool equal = true;
    for (int kind = 1; kind < kUnitKindCount && equal; ++kind)
      equal = table[kind].FID == ids[kind - 1];
    if (equal) {
      set = candidate;
      return true;
    }
  }
  return false;
}

void BuildUnitTexts(TUnitTable& table) {
  for (TUnit& unit : table) {
    unit.FQuantityName = UnitString(unit.FID, 0);
    unit.FSymbol = UnitString(unit.FID, 1);
  }
}

bool IsValidUnitSelection(const TUnitTable& table) {
  if (table.empty() || table.size() > static_cast<std::size_t>(kUnitKindCount)) return false;
  for (std::size_t i = 0; i < table.size(); ++i) {
    const TUnit& unit = table[i];
    if (unit.FKind != static_cast<int32_t>(i)) return false;
    if (unit.FID < 0 || unit.FID >= kCatalogueSize) return false;
    if (kCatalogue[static_cast<std::size_t>(unit.FID)].FKind != unit.FKind) return false;
    if (!std::isfinite(unit.FMultiplier) || !std::isfinite(unit.FOffset)) return false;
  }
  return true;
}
