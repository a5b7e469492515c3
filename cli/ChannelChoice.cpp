#include "ChannelChoice.h"

#include <algorithm>
#include <charconv>

#include "Language.h"

namespace {

constexpr TChannelChoice kXChoices[] = {
    {"time", ctTime, ukTime},
    {"speed", ctSpeed, ukSpeed},
    {"rpm", ctRPM, ukEngineSpeed},
};

constexpr TChannelChoice kYChoices[] = {
    {"power", ctPower, ukPower},
    {"torque", ctTorque, ukTorque},
    {"speed", ctSpeed, ukSpeed},
    {"rpm", ctRPM, ukEngineSpeed},
    {"af", ctAirFuel, ukAirFuel},
    {"gear", ctGear, ukGearRatio},
    {"total-power", ctTotalPower, ukPower},
    {"total-torque", ctTotalTorque, ukTorque},
    {"clutch-power", ctClutchPower, ukPower},
};

// Ordinals stay below the channel type bits; no run has that many channels of one kind.
constexpr uint32_t kMaxOrdinal = 0x7FFF;

std::string Lower(std::string_view text) {
  std::string lower(text);
  for (char& c : lower)
    if (c >= 'A' && c <= 'Z') c = char(c - 'A' + 'a');
  return lower;
}

}  // namespace

std::span<const TChannelChoice> XChoices() {
  return kXChoices;
}

std::span<const TChannelChoice> YChoices() {
  return kYChoices;
}

namespace {

int32_t UnitKindOfType(uint32_t type) {
  for (const std::span<const TChannelChoice> list : {XChoices(), YChoices()})
    for (const TChannelChoice& choice : list)
      if (choice.FType == type) return choice.FUnitKind;
  return ukNone;
}

}  // namespace

std::string ChoiceNames(std::span<const TChannelChoice> choices, std::string_view separator) {
  std::string names;
  for (const TChannelChoice& choice : choices) {
    if (!names.empty()) names += separator;
    names += choice.FName;
  }
  return names;
}

bool ParseChannelChoice(std::string_view text, std::span<const TChannelChoice> choices,
                        uint32_t& id, std::string& error) {
  const size_t colon = text.find(':');
  const std::string name = Lower(text.substr(0, colon));
  const auto choice = std::find_if(choices.begin(), choices.end(),
                                   [&](const TChannelChoice& c) { return c.FName == name; });
  if (choice == choices.end()) {
    error = "unknown channel '" + std::string(text) + "' (choose from " +
            ChoiceNames(choices, ", ") + ")";
    return false;
  }
  uint32_t number = 1;
  if (colon != std::string_view::npos) {
    const std::string_view digits = text.substr(colon + 1);
    const auto result = std::from_chars(digits.data(), digits.data() + digits.size(), number);
    if (digits.empty() || result.ec != std::errc() || result.ptr != digits.data() + digits.size() ||
        number < 1 || number > kMaxOrdinal + 1) {
      error = "bad number in channel '" + std::string(text) + "' (1 for the first drum)";
      return false;
    }
  }
  id = ChannelID(number - 1, choice->FType);
  return true;
}

TChannelTitle ChannelTitle(const TGphData& data, uint32_t id) {
  TChannelTitle title;
  const auto entry =
      std::find(data.FChannelIDs.begin(), data.FChannelIDs.end(), static_cast<int32_t>(id));
  if (id != 0 && entry != data.FChannelIDs.end() &&
      data.FChannelTitles.size() == data.FChannelIDs.size()) {
    const size_t k = static_cast<size_t>(entry - data.FChannelIDs.begin());
    title = {data.FChannelNames[k], data.FChannelTitles[k], data.FChannelUnitNames[k]};
  } else {
    // No run has the channel: named the way the channel table would name it.
    const uint32_t type = ChannelType(id);
    const TUnit* unit = data.Unit(static_cast<uint32_t>(UnitKindOfType(type)));
    title.FName = ChannelString(static_cast<int>(type), 0);
    title.FTitle = ChannelString(static_cast<int>(type), 1);
    if (unit && unit != data.Unit(0)) {
      title.FUnit = unit->FSymbol;
      if (!title.FUnit.empty() && title.FUnit != " ") title.FTitle += " (" + title.FUnit + ")";
    }
  }
  if (ChannelOrdinal(id) > 0) title.FTitle += " [" + std::to_string(ChannelOrdinal(id) + 1) + "]";
  return title;
}
