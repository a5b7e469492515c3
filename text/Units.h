#pragma once

// Units of measure: 13 unit kinds, a catalogue of 32 units, the SAE / Metric / Japanese sets and
// the "SelectedUnits.cfg" file. Values are computed in base units (ft/s, hp, °C, inHg, ...) and
// shown as base x FMultiplier + FOffset.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
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
  std::string FQuantityName;  // UnitString(FID, 0), set by BuildUnitNames / BuildUnitTexts
  std::string FSymbol;        // UnitString(FID, 1), set by BuildUnitNames / BuildUnitTexts
  int32_t FKind = 0;          // unit kind 0..12
  int32_t FID = 0;            // catalogue identifier 0..31
  double FMultiplier = 1.0;
  double FOffset = 0;
  std::string FName;  // catalogue name: at most 31 bytes, Windows-1252, kept as stored

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

// "SelectedUnits.cfg": a u32 count, then one 56-byte record per unit (FKind i32, FID i32,
// FMultiplier f64, FOffset f64, FName 32 bytes zero-padded), all little-endian.
inline constexpr char kSelectedUnitsFileName[] = "SelectedUnits.cfg";
inline constexpr std::size_t kSelectedUnitsRecordSize = 56;
inline constexpr std::size_t kUnitNameSize = 32;  // FName: at most 31 bytes and a terminator

// Catalogue entry fid (0..31) as a unit without texts; a default unit for any other fid.
TUnit CatalogueUnit(int32_t fid);
// The 32 catalogue entries in catalogue order.
TUnitTable BuildAllUnits();
// Catalogue entries 0..12, one per kind: the SAE set.
TUnitTable BuildDefaultUnits();
// The selected table (13 units, kind order) of a predefined set.
TUnitTable BuildUnitSet(TUnitSet set);
// The set whose twelve selections (kinds 1..12) equal the table's, if any.
bool MatchUnitSet(const TUnitTable& table, TUnitSet& set);
// Sets each unit's FQuantityName and FSymbol from the unit strings of its FID (current language).
void BuildUnitTexts(TUnitTable& table);

// True when the table is a selection the program can use and store: 1 to 13 units, unit i of
// kind i, each FID naming a catalogue entry of that kind, finite factors.
bool IsValidUnitSelection(const TUnitTable& table);

// Reads "SelectedUnits.cfg" (or the given file; an empty name means kSelectedUnitsFileName in the
// current folder). Returns false, leaving the table empty, on any failure; see ParseSelectedUnits.
bool ReadSelectedUnits(const std::string& fileName, TUnitTable& table);
// Parses the file's bytes. Fails on a short count or record and rejects what no selection of
// this program can hold: a count of 0 or above 13, a record whose kind is not its index, an FID
// outside the catalogue or of another kind, a multiplier or offset that is not finite. Bytes
// after the last record are ignored. A unit's factors are the catalogue's, whatever the record
// says, so a damaged or hand-made file cannot make the display lie.
bool ParseSelectedUnits(std::string_view bytes, TUnitTable& table);
// The file's bytes for a valid selection; false (bytes empty) for an invalid one.
bool FormatSelectedUnits(const TUnitTable& table, std::string& bytes);
// Writes the count and one record per unit through a temporary file that replaces the old one
// only when complete, so a failed write never destroys the stored selection. False on any
// failure and for an invalid selection (nothing is written then).
bool WriteSelectedUnits(const std::string& fileName, const TUnitTable& table);
