// The display names of the data set: unit names and the names of the channel table's entries.

#include <string>

#include "DllData.h"
#include "Language.h"

namespace {

// Identifiers with this bit come from no channel type the string table knows; they are shown
// by their number.
constexpr uint32_t kUnnamedChannelBit = 0x8000;

}  // namespace

bool TDllData::BuildUnitNames() {
  for (TUnit& unit : FUnits) {
    unit.FQuantityName = UnitString(unit.FID, 0);
    unit.FSymbol = UnitString(unit.FID, 1);
  }
  return !FUnits.empty();
}

bool TDllData::BuildChannelNames() {
  const size_t count = FChannelIDs.size();
  FChannelNames.assign(count, {});
  FChannelTitles.assign(count, {});
  FChannelUnitNames.assign(count, {});
  for (size_t k = 0; k < count; ++k) {
    const uint32_t id = static_cast<uint32_t>(FChannelIDs[k]);
    const int type = static_cast<int>(ChannelType(id));
    if (id & kUnnamedChannelBit) {
      FChannelNames[k] = FChannelTitles[k] = FChannelUnitNames[k] = std::to_string(type);
      continue;
    }
    const TUnit* unit = ChannelUnit(static_cast<uint32_t>(k));
    const std::string symbol = unit ? unit->FSymbol : std::string();
    FChannelUnitNames[k] = symbol;
    FChannelNames[k] = ChannelString(type, 0);
    FChannelTitles[k] = ChannelString(type, 1);
    // No unit to show for a dimensionless channel, entry 0 or a kind the unit table lacks.
    const bool withUnit = unit && unit != Unit(0) && symbol != " " && !symbol.empty();
    if (withUnit) FChannelTitles[k] += " (" + symbol + ")";
  }
  return count > 0;
}
