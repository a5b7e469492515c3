#pragma once

// Units of measure: 13 unit kinds, a catalogue of 32 units, the SAE / Metric / Japanese sets and
// the "SelectedUnits.cfg" file. Values are computed in base units (ft/s, hp, °C, inHg, ...) and
// shown as base x FMultiplier + FOffset.

#include <cstdint>
#include <string>
#include <vector>

// Unit kinds; the selected-unit table holds one unit per kind, in kind order.
enum TUnitKind : int32_t {
  ukNone = 0,
  ukTime = 1,
  ukSpeed = 2,
  ukShortLength = 3,
  ukLongLength = 4,
  ukEngineSpeed = 5,
  ukAirFuel = 6,
  ukGearRatio = 7,
  ukForce = 8,
  ukPower = 9,
  ukTorque = 10,
  ukTemperature = 11,
  ukPressure = 12,
};
inline constexpr int kUnitKindCount = 13;
inline constexpr int kCatalogueSize = 32;

class TUnit {
 public:
  std::string FQuantityName;  // UnitString(FID, 0), set by BuildUnitNames
  std::string FSymbol;        // UnitString(FID, 1), set by BuildUnitNames
  int32_t FKind = 0;          // unit kind 0..12
  int32_t FID = 0;            // catalogue identifier 0..31
  double FMultiplier = 1.0;
  double FOffset = 0;
  std::string FName;  // catalogue name, at most 31 characters

  // base x FMultiplier + FOffset in double precision (run conditions).
  double Convert(double base) const { return base * FMultiplier + FOffset; }
  // The same for channel values: rounded to single precision after each step (multiply, add).
  float ConvertFloat(float base) const {
    const float scaled = static_cast<float>(base * FMultiplier);
    return static_cast<float>(scaled + FOffset);
  }
};

using TUnitTable = std::vector<TUnit>;

enum class TUnitSet { SAE, Metric, Japanese };

// The 32 catalogue entries in catalogue order.
TUnitTable BuildAllUnits();
// Catalogue entries 0..12, one per kind: the SAE set.
TUnitTable BuildDefaultUnits();
// The selected table (13 units, kind order) of a predefined set.
TUnitTable BuildUnitSet(TUnitSet set);
// The set whose twelve selections (kinds 1..12) equal the table's, if any.
bool MatchUnitSet(const TUnitTable& table, TUnitSet& set);

// Reads "SelectedUnits.cfg" (or the given file). Returns false, leaving the table empty, on any
// failure: missing file, short count, short record, or an implausible count.
bool ReadSelectedUnits(const std::string& fileName, TUnitTable& table);
// Creates or truncates the file and writes the count and one 56-byte record per unit.
bool WriteSelectedUnits(const std::string& fileName, const TUnitTable& table);
